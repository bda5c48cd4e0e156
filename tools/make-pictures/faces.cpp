#include "faces.h"

#include "shapes.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace pictures {

namespace {

// Signed distance in cell coordinates (pixel centres at +0.5).
using Shape = std::function<double(Point)>;

enum class Ink { Black, White };

// Black outlines around white fills keep every feature readable on the blue skin.
constexpr double kOutline = 1.5;
constexpr double kRim = 1.0;

// Where a face is drawn: a square of size pixels at (left, top) of a picture,
// each pixel judged from samples x samples points (1 draws hard edges).
struct Canvas {
    Picture& picture;
    int left;
    int top;
    int size;
    int samples;
};

// Ink over the pixel by the share of it the shape covers.
void Paint(std::uint8_t* pixel, double level, double cover) {
    const double below = pixel[3] / 255.0 * (1 - cover);
    const double alpha = cover + below;
    for (int c = 0; c < 3; ++c) {
        pixel[c] =
            static_cast<std::uint8_t>(std::lround((level * cover + pixel[c] * below) / alpha));
    }
    pixel[3] = static_cast<std::uint8_t>(std::lround(alpha * 255));
}

// The share of pixel (x, y) inside the shape grown by grow.
double Cover(const Canvas& canvas, const Shape& shape, double grow, int x, int y) {
    const double unit = static_cast<double>(kFaceCell) / canvas.size; // cell units a pixel
    const double centre = shape({(x + 0.5) * unit, (y + 0.5) * unit}) - grow;
    // Far from the edge the whole pixel lies on one side of it: the distances
    // are near enough true ones that two pixels' margin is ample.
    const int n = canvas.samples;
    if (n == 1 || std::abs(centre) > 2 * unit) {
        return centre <= 0 ? 1 : 0;
    }
    int inside = 0;
    for (int sy = 0; sy < n; ++sy) {
        for (int sx = 0; sx < n; ++sx) {
            const Point p{(x + (sx + 0.5) / n) * unit, (y + (sy + 0.5) / n) * unit};
            inside += shape(p) <= grow ? 1 : 0;
        }
    }
    return static_cast<double>(inside) / (n * n);
}

void Fill(const Canvas& canvas, const Shape& shape, double grow, Ink ink) {
    const double level = ink == Ink::White ? 255 : 0;
    for (int y = 0; y < canvas.size; ++y) {
        for (int x = 0; x < canvas.size; ++x) {
            const double cover = Cover(canvas, shape, grow, x, y);
            if (cover > 0) {
                Paint(PixelAt(canvas.picture, canvas.left + x, canvas.top + y), level, cover);
            }
        }
    }
}

// A white shape with a black outline.
void Outlined(const Canvas& canvas, const Shape& shape) {
    Fill(canvas, shape, kOutline, Ink::Black);
    Fill(canvas, shape, 0, Ink::White);
}

// A black stroke of the given half width with a thin white rim.
void Stroke(const Canvas& canvas, const Shape& centreLine, double halfWidth) {
    Fill(canvas, centreLine, halfWidth + kRim, Ink::White);
    Fill(canvas, centreLine, halfWidth, Ink::Black);
}

struct Eye {
    Point centre;
    double radiusX;
    double radiusY;
    double lookX; // pupil offset from the eye's centre
};

void DrawEye(const Canvas& canvas, const Eye& eye) {
    const double innerX = eye.radiusX - kOutline;
    const double innerY = eye.radiusY - kOutline;
    Outlined(canvas, [=](Point p) { return EllipseDistance(p, eye.centre, innerX, innerY); });
    const Point pupil{eye.centre.x + eye.lookX, eye.centre.y + 3};
    const double pupilX = innerX * 0.6;
    const double pupilY = innerY * 0.6;
    Fill(
        canvas, [=](Point p) { return EllipseDistance(p, pupil, pupilX, pupilY); }, 0, Ink::Black);
    const Point shine{pupil.x - pupilX * 0.35, pupil.y - pupilY * 0.45};
    Fill(
        canvas, [=](Point p) { return EllipseDistance(p, shine, 1.6, 2.2); }, 0, Ink::White);
}

void DrawBrow(const Canvas& canvas, Point from, Point via, Point to) {
    Stroke(
        canvas, [=](Point p) { return CurveDistance(p, from, via, to); }, 1.5);
}

void DrawLookingAhead(const Canvas& canvas) {
    DrawBrow(canvas, {16, 9}, {22, 1}, {29, 7});
    DrawBrow(canvas, {35, 7}, {42, 1}, {48, 9});
    DrawEye(canvas, {{22.5, 23}, 8.5, 12.5, 0.5});
    DrawEye(canvas, {{41.5, 23}, 8.5, 12.5, -0.5});
    Stroke(
        canvas,
        [](Point p) {
            return CurveDistance(p, {22, 41}, {32, 56}, {42, 41});
        },
        1.5);
}

// The far eye is narrower, as on a ball turned to the right.
void DrawEyesRight(const Canvas& canvas, double farEyeX) {
    DrawEye(canvas, {{36.5, 24}, 8, 12.5, 2.5});
    DrawEye(canvas, {{farEyeX, 24}, 7, 12, 2});
}

void DrawGrinningRight(const Canvas& canvas) {
    DrawBrow(canvas, {30.5, 9}, {36.5, 3}, {43, 7});
    DrawBrow(canvas, {48, 7}, {54, 3}, {59.5, 8});
    DrawEyesRight(canvas, 54);
    // The open mouth: the lower half of an ellipse under a slightly sagging lip.
    const Shape mouth = [](Point p) {
        const double bowl = EllipseDistance(p, {46, 40}, 11, 10.3);
        const double lip = 38.5 + 0.02 * (p.x - 46) * (p.x - 46) - p.y;
        return std::max(bowl, lip);
    };
    Fill(canvas, mouth, kOutline, Ink::White);
    Fill(canvas, mouth, 0, Ink::Black);
    Fill(
        canvas,
        [&](Point p) {
            return std::max(mouth(p), EllipseDistance(p, {47, 48}, 6, 3.5));
        },
        0, Ink::White);
}

void DrawClenchedRight(const Canvas& canvas) {
    // Brows pulled down towards the nose: effort.
    DrawBrow(canvas, {30.5, 6}, {36.5, 6}, {43, 11});
    DrawBrow(canvas, {49, 11}, {55, 5}, {61, 5});
    DrawEyesRight(canvas, 55);
    const Point centre{46.5, 44};
    const Shape mouth = [=](Point p) { return RoundedBoxDistance(p, centre, 11, 6, 3); };
    Outlined(canvas, mouth);
    Fill(
        canvas, [=](Point p) { return std::max(mouth(p), std::abs(p.y - centre.y) - 0.5); }, 0,
        Ink::Black);
    for (double gap : {-6.0, -1.0, 4.0, 8.5}) {
        Fill(
            canvas,
            [=](Point p) { return std::max(mouth(p), std::abs(p.x - centre.x - gap) - 0.5); }, 0,
            Ink::Black);
    }
}

Canvas Cell(Picture& strip, int cell) {
    return Canvas{strip, cell * kFaceCell, 0, kFaceCell, 1};
}

void Mirror(Picture& strip, int from, int to) {
    for (int y = 0; y < kFaceCell; ++y) {
        for (int x = 0; x < kFaceCell; ++x) {
            const std::uint8_t* source = PixelAt(strip, from * kFaceCell + x, y);
            std::uint8_t* target = PixelAt(strip, to * kFaceCell + kFaceCell - 1 - x, y);
            std::copy(source, source + 4, target);
        }
    }
}

} // namespace

Picture DrawFaces() {
    Picture strip = MakePicture(kFaceCell * kFaceCount, kFaceCell, 4);
    DrawLookingAhead(Cell(strip, 0));
    DrawGrinningRight(Cell(strip, 1));
    DrawClenchedRight(Cell(strip, 3));
    Mirror(strip, 1, 2);
    Mirror(strip, 3, 4);
    return strip;
}

void DrawFaceAhead(Picture& picture, int left, int top, int size) {
    DrawLookingAhead(Canvas{picture, left, top, size, 4});
}

} // namespace pictures
