#include "faces.h"

#include "shapes.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace pictures {

namespace {

// Signed distance in cell coordinates (pixel centres at +0.5).
using Shape = std::function<double(TPoint)>;

enum class TInk { Black, White };

// Black outlines around white fills keep every feature readable on the blue skin.
constexpr double kOutline = 1.5;
constexpr double kRim = 1.0;

void Fill(TPicture& strip, int cell, const Shape& shape, double grow, TInk ink) {
    const std::uint8_t level = ink == TInk::White ? 255 : 0;
    for (int y = 0; y < kFaceCell; ++y) {
        for (int x = 0; x < kFaceCell; ++x) {
            if (shape({x + 0.5, y + 0.5}) <= grow) {
                std::uint8_t* pixel = PixelAt(strip, cell * kFaceCell + x, y);
                pixel[0] = pixel[1] = pixel[2] = level;
                pixel[3] = 255;
            }
        }
    }
}

// A white shape with a black outline.
void Outlined(TPicture& strip, int cell, const Shape& shape) {
    Fill(strip, cell, shape, kOutline, TInk::Black);
    Fill(strip, cell, shape, 0, TInk::White);
}

// A black stroke of the given half width with a thin white rim.
void Stroke(TPicture& strip, int cell, const Shape& centreLine, double halfWidth) {
    Fill(strip, cell, centreLine, halfWidth + kRim, TInk::White);
    Fill(strip, cell, centreLine, halfWidth, TInk::Black);
}

struct TEye {
    TPoint centre;
    double radiusX;
    double radiusY;
    double lookX; // pupil offset from the eye's centre
};

void DrawEye(TPicture& strip, int cell, const TEye& eye) {
    const double innerX = eye.radiusX - kOutline;
    const double innerY = eye.radiusY - kOutline;
    Outlined(strip, cell, [=](TPoint p) { return EllipseDistance(p, eye.centre, innerX, innerY); });
    const TPoint pupil{eye.centre.x + eye.lookX, eye.centre.y + 3};
    const double pupilX = innerX * 0.6;
    const double pupilY = innerY * 0.6;
    Fill(
        strip, cell, [=](TPoint p) { return EllipseDistance(p, pupil, pupilX, pupilY); }, 0,
        TInk::Black);
    const TPoint shine{pupil.x - pupilX * 0.35, pupil.y - pupilY * 0.45};
    Fill(
        strip, cell, [=](TPoint p) { return EllipseDistance(p, shine, 1.6, 2.2); }, 0, TInk::White);
}

void DrawBrow(TPicture& strip, int cell, TPoint from, TPoint via, TPoint to) {
    Stroke(
        strip, cell, [=](TPoint p) { return CurveDistance(p, from, via, to); }, 1.5);
}

void DrawLookingAhead(TPicture& strip) {
    constexpr int kCell = 0;
    DrawBrow(strip, kCell, {16, 9}, {22, 1}, {29, 7});
    DrawBrow(strip, kCell, {35, 7}, {42, 1}, {48, 9});
    DrawEye(strip, kCell, {{22.5, 23}, 8.5, 12.5, 0.5});
    DrawEye(strip, kCell, {{41.5, 23}, 8.5, 12.5, -0.5});
    Stroke(
        strip, kCell,
        [](TPoint p) {
            return CurveDistance(p, {22, 41}, {32, 56}, {42, 41});
        },
        1.5);
}

// The far eye is narrower, as on a ball turned to the right.
void DrawEyesRight(TPicture& strip, int cell, double farEyeX) {
    DrawEye(strip, cell, {{36.5, 24}, 8, 12.5, 2.5});
    DrawEye(strip, cell, {{farEyeX, 24}, 7, 12, 2});
}

void DrawGrinningRight(TPicture& strip) {
    constexpr int kCell = 1;
    DrawBrow(strip, kCell, {30.5, 9}, {36.5, 3}, {43, 7});
    DrawBrow(strip, kCell, {48, 7}, {54, 3}, {59.5, 8});
    DrawEyesRight(strip, kCell, 54);
    // The open mouth: the lower half of an ellipse under a slightly sagging lip.
    const Shape mouth = [](TPoint p) {
        const double bowl = EllipseDistance(p, {46, 40}, 11, 10.3);
        const double lip = 38.5 + 0.02 * (p.x - 46) * (p.x - 46) - p.y;
        return std::max(bowl, lip);
    };
    Fill(strip, kCell, mouth, kOutline, TInk::White);
    Fill(strip, kCell, mouth, 0, TInk::Black);
    Fill(
        strip, kCell,
        [&](TPoint p) {
            return std::max(mouth(p), EllipseDistance(p, {47, 48}, 6, 3.5));
        },
        0, TInk::White);
}

void DrawClenchedRight(TPicture& strip) {
    constexpr int kCell = 3;
    // Brows pulled down towards the nose: effort.
    DrawBrow(strip, kCell, {30.5, 6}, {36.5, 6}, {43, 11});
    DrawBrow(strip, kCell, {49, 11}, {55, 5}, {61, 5});
    DrawEyesRight(strip, kCell, 55);
    const TPoint centre{46.5, 44};
    const Shape mouth = [=](TPoint p) { return RoundedBoxDistance(p, centre, 11, 6, 3); };
    Outlined(strip, kCell, mouth);
    Fill(
        strip, kCell, [=](TPoint p) { return std::max(mouth(p), std::abs(p.y - centre.y) - 0.5); },
        0, TInk::Black);
    for (double gap : {-6.0, -1.0, 4.0, 8.5}) {
        Fill(
            strip, kCell,
            [=](TPoint p) { return std::max(mouth(p), std::abs(p.x - centre.x - gap) - 0.5); }, 0,
            TInk::Black);
    }
}

void Mirror(TPicture& strip, int from, int to) {
    for (int y = 0; y < kFaceCell; ++y) {
        for (int x = 0; x < kFaceCell; ++x) {
            const std::uint8_t* source = PixelAt(strip, from * kFaceCell + x, y);
            std::uint8_t* target = PixelAt(strip, to * kFaceCell + kFaceCell - 1 - x, y);
            std::copy(source, source + 4, target);
        }
    }
}

} // namespace

TPicture DrawFaces() {
    TPicture strip = MakePicture(kFaceCell * kFaceCount, kFaceCell, 4);
    DrawLookingAhead(strip);
    DrawGrinningRight(strip);
    DrawClenchedRight(strip);
    Mirror(strip, 1, 2);
    Mirror(strip, 3, 4);
    return strip;
}

} // namespace pictures
