#include "rasterizer.h"

#include "pixel_blend.h"
#include "texel_sampler.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace present {

namespace {

constexpr int kSubpixelBits = 8;
constexpr std::int64_t kSubpixel = std::int64_t{1} << kSubpixelBits;
constexpr float kLargestCoordinate = 1 << 20;

std::int64_t FloorDiv(std::int64_t n, std::int64_t d) {
    const std::int64_t q = n / d;
    return (n % d != 0 && n < 0) ? q - 1 : q;
}

std::int64_t CeilDiv(std::int64_t n, std::int64_t d) {
    return -FloorDiv(-n, d);
}

// floor and round half away from zero (as std::llround) for |x| < 2^52,
// inline: the library calls cost more than the rest of a short span.
std::int64_t FloorToInt(double x) {
    const auto t = static_cast<std::int64_t>(x);
    return t - (x < static_cast<double>(t) ? 1 : 0);
}

std::int64_t RoundToInt(double x) {
    const auto t = static_cast<std::int64_t>(x);
    const double fraction = x - static_cast<double>(t);
    return t + (fraction >= 0.5 ? 1 : 0) - (fraction <= -0.5 ? 1 : 0);
}

struct TFixedPoint {
    std::int64_t x, y;
};

// Pixel px of row py is covered where a x px + b x py + c >= 0.
struct TEdge {
    std::int64_t a, b, c;
};

// Interior points are on the positive side of every edge of a triangle whose
// corners run so that its doubled area is positive. A centre on the edge
// counts for a left edge (interior to its right) and for a horizontal edge
// with the interior above it: OpenGL's top-left rule in its window
// coordinates, whose y runs upwards.
TEdge MakeEdge(TFixedPoint from, TFixedPoint to) {
    const std::int64_t dx = to.x - from.x;
    const std::int64_t dy = to.y - from.y;
    const bool included = dy < 0 || (dy == 0 && dx < 0);
    const std::int64_t half = kSubpixel / 2;
    return TEdge{-dy * kSubpixel, dx * kSubpixel,
                 -dy * (half - from.x) + dx * (half - from.y) - (included ? 0 : 1)};
}

// An attribute over the triangle: value at (x, y) = at0 + dx (x - x0) + dy (y - y0).
struct TPlane {
    double at0 = 0, dx = 0, dy = 0;
};

TPlane MakePlane(const double (&x)[3], const double (&y)[3], double f0, double f1, double f2) {
    const double det = (x[1] - x[0]) * (y[2] - y[0]) - (x[2] - x[0]) * (y[1] - y[0]);
    TPlane plane;
    plane.at0 = f0;
    plane.dx = ((f1 - f0) * (y[2] - y[0]) - (f2 - f0) * (y[1] - y[0])) / det;
    plane.dy = ((f2 - f0) * (x[1] - x[0]) - (f1 - f0) * (x[2] - x[0])) / det;
    return plane;
}

// The source of every pixel of a draw: the paint's colour, and the way its
// texture is read.
struct TSource {
    int red, green, blue, alpha; // 0..255
    bool tinted;                 // not plain white at full alpha
    int minimumMaskedAlpha;      // smallest texel alpha the masked test lets through
    enum TFilter { Nearest, Bilinear, Trilinear } filter = Nearest;
    const TTexelLevel* level = nullptr;
    const TTexelLevel* nextLevel = nullptr;
    std::uint32_t levelWeight = 0; // 256 parts of nextLevel
};

// Smallest texel alpha a with a / 255 x alpha > 0.5; 256 when there is none.
// The estimate is corrected by the very comparison the alpha test makes, so
// rounding cannot move the cut.
int MinimumMaskedAlpha(float alpha) {
    const auto passes = [alpha](int a) { return static_cast<float>(a) / 255.0f * alpha > 0.5f; };
    if (!passes(255)) {
        return 256;
    }
    int a = std::clamp(static_cast<int>(127.5f / alpha), 0, 255);
    while (a > 0 && passes(a - 1)) {
        --a;
    }
    while (!passes(a)) {
        ++a;
    }
    return a;
}

// The level of detail as OpenGL takes it for a triangle drawn without
// perspective: log2 of the larger of the texel steps along x and y.
void ChooseLevels(TSource& source, const TSoftTexture& texture, TImageFlags imageFlags,
                  const TPlane& u, const TPlane& v) {
    const std::vector<TTexelLevel>& levels = texture.Levels();
    source.level = &levels.front();
    const bool filtered = HasFlag(imageFlags, TImageFlags::Filtered);
    source.filter = filtered ? TSource::Bilinear : TSource::Nearest;
    if (!HasFlag(imageFlags, TImageFlags::Mipmapped) || levels.size() < 2) {
        return;
    }
    const double w = levels.front().width;
    const double h = levels.front().height;
    const double rho = std::max(std::hypot(u.dx * w, v.dx * h), std::hypot(u.dy * w, v.dy * h));
    const double lambda = rho > 0 ? std::log2(rho) : 0;
    if (!(lambda > 0)) {
        return; // magnified: the top level
    }
    const int last = static_cast<int>(levels.size()) - 1;
    if (!filtered) {
        const int nearest = lambda <= 0.5 ? 0 : static_cast<int>(std::ceil(lambda + 0.5)) - 1;
        source.level = &levels[std::min(nearest, last)];
        return;
    }
    const int lower = static_cast<int>(std::floor(lambda));
    if (lower >= last) {
        source.level = &levels.back();
        return;
    }
    source.filter = TSource::Trilinear;
    source.level = &levels[lower];
    source.nextLevel = &levels[lower + 1];
    source.levelWeight = static_cast<std::uint32_t>((lambda - lower) * 256.0);
}

template <TSource::TFilter F> std::uint32_t Sample(const TSource& source, float u, float v) {
    if constexpr (F == TSource::Nearest) {
        return SampleNearest(*source.level, u, v);
    } else if constexpr (F == TSource::Bilinear) {
        return SampleBilinear(*source.level, u, v);
    } else {
        return LerpTexel(SampleBilinear(*source.level, u, v),
                         SampleBilinear(*source.nextLevel, u, v), source.levelWeight);
    }
}

// One texel of a span through the paint into the pixel.
template <TBlendMode Mode>
inline void ShadeTexel(std::uint32_t& pixel, std::uint32_t texel, const TSource& s) {
    int a = static_cast<int>(texel >> 24);
    if constexpr (Mode == TBlendMode::Masked) {
        if (a < s.minimumMaskedAlpha) {
            return;
        }
    }
    if (s.tinted) {
        a = Mul255(a, s.alpha);
    }
    // A transparent source leaves the pixel as it is in these modes: glyphs
    // and cut-outs are mostly transparent.
    if constexpr (Mode == TBlendMode::Alpha || Mode == TBlendMode::Add) {
        if (a == 0) {
            return;
        }
    }
    int r = static_cast<int>(texel & 0xFF);
    int g = static_cast<int>(texel >> 8 & 0xFF);
    int b = static_cast<int>(texel >> 16 & 0xFF);
    if (s.tinted) {
        r = Mul255(r, s.red);
        g = Mul255(g, s.green);
        b = Mul255(b, s.blue);
    }
    BlendPixel<Mode>(pixel, r, g, b, a);
}

// Texel coordinates in fixed point with 32 fraction bits: nearest sampling
// along a span steps them by whole-number adds.
constexpr double kFixedOne = 4294967296.0;
// Spans whose texel coordinates stay within this many texels of the origin
// step in fixed point without overflow; others take the general path.
constexpr double kFixedRange = 1 << 20;

// Pixels [x0, x1) of one row of a textured triangle; u, v at the first
// pixel's centre and their steps along the row.
template <TBlendMode Mode, TSource::TFilter F>
void TexturedSpan(std::uint32_t* row, int x0, int x1, float u, float v, float du, float dv,
                  const TSource& s) {
    if constexpr (F == TSource::Nearest) {
        const TTexelLevel& level = *s.level;
        const double w = level.width;
        const double h = level.height;
        const double last = x1 - x0 - 1;
        const double su = static_cast<double>(u) * w;
        const double sv = static_cast<double>(v) * h;
        const double stepU = static_cast<double>(du) * w;
        const double stepV = static_cast<double>(dv) * h;
        if (std::fabs(su) < kFixedRange && std::fabs(sv) < kFixedRange &&
            std::fabs(su + stepU * last) < kFixedRange &&
            std::fabs(sv + stepV * last) < kFixedRange) {
            auto fu = FloorToInt(su * kFixedOne);
            auto fv = FloorToInt(sv * kFixedOne);
            const auto fdu = FloorToInt(stepU * kFixedOne);
            const auto fdv = FloorToInt(stepV * kFixedOne);
            const std::uint32_t* texels = level.texels.data();
            for (int x = x0; x < x1; ++x, fu += fdu, fv += fdv) {
                const int tx = ClampIndex(static_cast<int>(fu >> 32), level.width);
                const int ty = ClampIndex(static_cast<int>(fv >> 32), level.height);
                ShadeTexel<Mode>(row[x], texels[static_cast<std::size_t>(ty) * level.width + tx],
                                 s);
            }
            return;
        }
    }
    for (int x = x0, i = 0; x < x1; ++x, ++i) {
        const float fi = static_cast<float>(i);
        ShadeTexel<Mode>(row[x], Sample<F>(s, u + du * fi, v + dv * fi), s);
    }
}

template <TBlendMode Mode> void FlatSpan(std::uint32_t* row, int x0, int x1, const TSource& s) {
    if constexpr (Mode == TBlendMode::Masked || Mode == TBlendMode::Solid) {
        std::fill(row + x0, row + x1, PackRGB(s.red, s.green, s.blue));
    } else {
        if (Mode == TBlendMode::Alpha && s.alpha == 255) {
            std::fill(row + x0, row + x1, PackRGB(s.red, s.green, s.blue));
            return;
        }
        for (int x = x0; x < x1; ++x) {
            BlendPixel<Mode>(row[x], s.red, s.green, s.blue, s.alpha);
        }
    }
}

// A triangle, or a convex quadrilateral standing for two triangles that share
// a diagonal: its edges, rows and texture planes.
struct TTriangleSetup {
    TEdge edges[4];
    int edgeCount;
    int firstRow, lastRow;
    TPlane u, v;
};

// floor((b y + c) / d) for one edge, stepped from row to row without dividing:
// the quotient and a remainder in 0..d-1 move by the fixed step b.
struct TEdgeWalk {
    std::int64_t quotient, remainder, divisor;
    std::int64_t stepQuotient, stepRemainder;
    int side; // +1: a left bound at -quotient; -1: a right bound at quotient; 0: horizontal

    TEdgeWalk(const TEdge& e, int y) {
        const std::int64_t k = e.b * y + e.c;
        side = e.a > 0 ? 1 : (e.a < 0 ? -1 : 0);
        divisor = side == 0 ? 1 : std::abs(e.a);
        quotient = FloorDiv(k, divisor);
        remainder = k - quotient * divisor;
        stepQuotient = FloorDiv(e.b, divisor);
        stepRemainder = e.b - stepQuotient * divisor;
    }
    void NextRow() {
        quotient += stepQuotient;
        remainder += stepRemainder;
        if (remainder >= divisor) {
            remainder -= divisor;
            ++quotient;
        }
    }
};

// Calls span(row, y, x0, x1) for every row's covered pixels: a pixel x is
// covered where a x + b y + c >= 0 for every edge, that is x >= ceil(-(b y +
// c) / a) for a > 0 and x <= floor((b y + c) / -a) for a < 0.
template <typename Span>
void ForEachSpan(TFrameBuffer& frame, const TTriangleSetup& t, Span&& span) {
    TEdgeWalk walks[4] = {TEdgeWalk(t.edges[0], t.firstRow), TEdgeWalk(t.edges[1], t.firstRow),
                          TEdgeWalk(t.edges[2], t.firstRow),
                          TEdgeWalk(t.edges[t.edgeCount - 1], t.firstRow)};
    for (int y = t.firstRow; y <= t.lastRow; ++y) {
        std::int64_t lo = 0;
        std::int64_t hi = frame.width - 1;
        for (TEdgeWalk& w : walks) {
            if (w.side > 0) {
                lo = std::max(lo, -w.quotient);
            } else if (w.side < 0) {
                hi = std::min(hi, w.quotient);
            } else if (w.quotient < 0) {
                hi = -1;
            }
            w.NextRow();
        }
        if (lo <= hi) {
            span(frame.Row(y), y, static_cast<int>(lo), static_cast<int>(hi) + 1);
        }
    }
}

template <TBlendMode Mode>
void ShadeTriangle(TFrameBuffer& frame, const TTriangleSetup& t, const TSource& s,
                   const double (&x)[3], const double (&y)[3]) {
    if (s.level == nullptr) {
        ForEachSpan(frame, t, [&](std::uint32_t* row, int, int x0, int x1) {
            FlatSpan<Mode>(row, x0, x1, s);
        });
        return;
    }
    const auto du = static_cast<float>(t.u.dx);
    const auto dv = static_cast<float>(t.v.dx);
    const auto textured = [&](auto filter) {
        constexpr TSource::TFilter kFilter = decltype(filter)::value;
        ForEachSpan(frame, t, [&](std::uint32_t* row, int py, int x0, int x1) {
            const double cx = x0 + 0.5 - x[0];
            const double cy = py + 0.5 - y[0];
            const auto u = static_cast<float>(t.u.at0 + t.u.dx * cx + t.u.dy * cy);
            const auto v = static_cast<float>(t.v.at0 + t.v.dx * cx + t.v.dy * cy);
            TexturedSpan<Mode, kFilter>(row, x0, x1, u, v, du, dv, s);
        });
    };
    switch (s.filter) {
    case TSource::Nearest:
        textured(std::integral_constant<TSource::TFilter, TSource::Nearest>{});
        break;
    case TSource::Bilinear:
        textured(std::integral_constant<TSource::TFilter, TSource::Bilinear>{});
        break;
    case TSource::Trilinear:
        textured(std::integral_constant<TSource::TFilter, TSource::Trilinear>{});
        break;
    }
}

bool Drawable(const TRasterVertex& p) {
    return std::fabs(p.x) < kLargestCoordinate && std::fabs(p.y) < kLargestCoordinate &&
           std::isfinite(p.u) && std::isfinite(p.v);
}

TFixedPoint Snap(const TRasterVertex& p) {
    return TFixedPoint{RoundToInt(static_cast<double>(p.x) * kSubpixel),
                       RoundToInt(static_cast<double>(p.y) * kSubpixel)};
}

} // namespace

namespace {

bool MakeSource(const TRasterPaint& paint, TSource& source) {
    source.red = std::clamp(paint.red, 0, 255);
    source.green = std::clamp(paint.green, 0, 255);
    source.blue = std::clamp(paint.blue, 0, 255);
    const float alpha = std::clamp(paint.alpha, 0.0f, 1.0f);
    source.alpha = static_cast<int>(std::lround(alpha * 255.0f));
    source.tinted =
        source.red != 255 || source.green != 255 || source.blue != 255 || source.alpha != 255;
    if (paint.blendMode == TBlendMode::Masked) {
        source.minimumMaskedAlpha = MinimumMaskedAlpha(alpha);
        return source.minimumMaskedAlpha <= 255;
    }
    return true;
}

// Draws a triangle (n = 3) or a convex quadrilateral (n = 4) whose corners run
// so that its doubled area is positive; the texture planes come from the
// first three corners.
void DrawConvex(TFrameBuffer& frame, const TFixedPoint* p, const TRasterVertex* const* corner,
                int n, const TRasterPaint& paint) {
    TSource source{};
    if (!MakeSource(paint, source)) {
        return;
    }
    TTriangleSetup t{};
    t.edgeCount = n;
    std::int64_t left = p[0].x, right = p[0].x, top = p[0].y, bottom = p[0].y;
    for (int i = 0; i < n; ++i) {
        t.edges[i] = MakeEdge(p[i], p[(i + 1) % n]);
        left = std::min(left, p[i].x), right = std::max(right, p[i].x);
        top = std::min(top, p[i].y), bottom = std::max(bottom, p[i].y);
    }
    // Wholly left or right of the screen: the course is drawn whole, most of
    // it out of view.
    if (right < kSubpixel / 2 || left > frame.width * kSubpixel - kSubpixel / 2) {
        return;
    }
    t.firstRow =
        static_cast<int>(std::max<std::int64_t>(0, CeilDiv(top - kSubpixel / 2, kSubpixel)));
    t.lastRow = static_cast<int>(
        std::min<std::int64_t>(frame.height - 1, FloorDiv(bottom - kSubpixel / 2, kSubpixel)));
    if (t.firstRow > t.lastRow) {
        return;
    }
    double x[3];
    double y[3];
    for (int i = 0; i < 3; ++i) {
        x[i] = static_cast<double>(p[i].x) / kSubpixel;
        y[i] = static_cast<double>(p[i].y) / kSubpixel;
    }
    if (paint.texture != nullptr && !paint.texture->Levels().empty()) {
        t.u = MakePlane(x, y, corner[0]->u, corner[1]->u, corner[2]->u);
        t.v = MakePlane(x, y, corner[0]->v, corner[1]->v, corner[2]->v);
        ChooseLevels(source, *paint.texture, paint.imageFlags, t.u, t.v);
    }
    switch (paint.blendMode) {
    case TBlendMode::Solid:
        ShadeTriangle<TBlendMode::Solid>(frame, t, source, x, y);
        break;
    case TBlendMode::Alpha:
        ShadeTriangle<TBlendMode::Alpha>(frame, t, source, x, y);
        break;
    case TBlendMode::Add:
        ShadeTriangle<TBlendMode::Add>(frame, t, source, x, y);
        break;
    case TBlendMode::Multiply:
        ShadeTriangle<TBlendMode::Multiply>(frame, t, source, x, y);
        break;
    default:
        ShadeTriangle<TBlendMode::Masked>(frame, t, source, x, y);
        break;
    }
}

std::int64_t Cross(TFixedPoint o, TFixedPoint a, TFixedPoint b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

bool SameVertex(const TRasterVertex& a, const TRasterVertex& b) {
    return a.x == b.x && a.y == b.y && a.u == b.u && a.v == b.v;
}

// Texel coordinates a quad's fourth corner may stray from the plane of the
// other three and still be drawn as one: far below what nearest sampling can
// tell apart away from a texel's very edge.
constexpr double kPlaneTexels = 1.0 / 4096;

// The corners of the quad two triangles make when the second shares two
// corners with the first: around the quad run the first's own corner, a shared
// one, the second's own, the other shared one. False for any other pair.
bool QuadCorners(const TRasterVertex* six, const TRasterVertex* corner[4]) {
    int own = -1;
    int shared[2] = {-1, -1};
    int sharedCount = 0;
    for (int i = 0; i < 3; ++i) {
        int match = -1;
        for (int j = 3; j < 6; ++j) {
            if (SameVertex(six[i], six[j])) {
                match = j;
            }
        }
        if (match < 0) {
            own = i;
        } else if (sharedCount < 2) {
            shared[sharedCount++] = i;
        }
    }
    if (own < 0 || sharedCount != 2) {
        return false;
    }
    // The second triangle must be the two shared corners and one of its own.
    int other = -1;
    int matches[2] = {0, 0};
    for (int j = 3; j < 6; ++j) {
        const bool first = SameVertex(six[j], six[shared[0]]);
        const bool second = SameVertex(six[j], six[shared[1]]);
        matches[0] += first ? 1 : 0;
        matches[1] += second ? 1 : 0;
        if (!first && !second) {
            other = j;
        }
    }
    if (other < 0 || matches[0] != 1 || matches[1] != 1) {
        return false;
    }
    corner[0] = &six[own];
    corner[1] = &six[shared[0]];
    corner[2] = &six[other];
    corner[3] = &six[shared[1]];
    return true;
}

// 1 when the quad turns with a positive doubled area at every corner, -1 when
// negative at every corner, 0 otherwise: it must be strictly convex, so that no
// corner is on the diagonal and its edges are those of the two triangles.
int QuadTurn(const TFixedPoint* p) {
    const std::int64_t turns[4] = {Cross(p[0], p[1], p[2]), Cross(p[1], p[2], p[3]),
                                   Cross(p[2], p[3], p[0]), Cross(p[3], p[0], p[1])};
    const bool positive = turns[0] > 0 && turns[1] > 0 && turns[2] > 0 && turns[3] > 0;
    const bool negative = turns[0] < 0 && turns[1] < 0 && turns[2] < 0 && turns[3] < 0;
    return positive ? 1 : negative ? -1 : 0;
}

// Whether the fourth corner's texel coordinates lie on the plane of the other
// three, within kPlaneTexels of the largest level, so that one plane textures
// the whole quad as the two triangles would.
bool FourthCornerOnPlane(const TFixedPoint* p, const TRasterVertex* const* corner,
                         const TTexelLevel& level) {
    double x[3];
    double y[3];
    for (int i = 0; i < 3; ++i) {
        x[i] = static_cast<double>(p[i].x) / kSubpixel;
        y[i] = static_cast<double>(p[i].y) / kSubpixel;
    }
    const TPlane u = MakePlane(x, y, corner[0]->u, corner[1]->u, corner[2]->u);
    const TPlane v = MakePlane(x, y, corner[0]->v, corner[1]->v, corner[2]->v);
    const double dx = static_cast<double>(p[3].x) / kSubpixel - x[0];
    const double dy = static_cast<double>(p[3].y) / kSubpixel - y[0];
    const double uError = (u.at0 + u.dx * dx + u.dy * dy - corner[3]->u) * level.width;
    const double vError = (v.at0 + v.dx * dx + v.dy * dy - corner[3]->v) * level.height;
    return std::fabs(uError) < kPlaneTexels && std::fabs(vError) < kPlaneTexels;
}

} // namespace

void RasterizeTriangle(TFrameBuffer& frame, const TRasterVertex& a, const TRasterVertex& b,
                       const TRasterVertex& c, const TRasterPaint& paint) {
    if (frame.width < 1 || frame.height < 1 || !Drawable(a) || !Drawable(b) || !Drawable(c)) {
        return;
    }
    const TRasterVertex* corner[3] = {&a, &b, &c};
    TFixedPoint p[3] = {Snap(a), Snap(b), Snap(c)};
    const std::int64_t area = Cross(p[0], p[1], p[2]);
    if (area == 0) {
        return;
    }
    if (area < 0) {
        std::swap(p[1], p[2]);
        std::swap(corner[1], corner[2]);
    }
    DrawConvex(frame, p, corner, 3, paint);
}

bool RasterizeTrianglePair(TFrameBuffer& frame, const TRasterVertex* six,
                           const TRasterPaint& paint) {
    const bool sampled = paint.texture != nullptr && !paint.texture->Levels().empty();
    if (sampled && HasFlag(paint.imageFlags, TImageFlags::Filtered | TImageFlags::Mipmapped)) {
        return false;
    }
    const TRasterVertex* corner[4];
    if (!QuadCorners(six, corner)) {
        return false;
    }
    for (const TRasterVertex* q : corner) {
        if (!Drawable(*q)) {
            return true; // as either triangle would: nothing
        }
    }
    if (frame.width < 1 || frame.height < 1) {
        return true;
    }
    TFixedPoint p[4];
    for (int i = 0; i < 4; ++i) {
        p[i] = Snap(*corner[i]);
    }
    const int turn = QuadTurn(p);
    if (turn == 0) {
        return false;
    }
    if (turn < 0) {
        std::swap(p[1], p[3]);
        std::swap(corner[1], corner[3]);
    }
    if (sampled && !FourthCornerOnPlane(p, corner, paint.texture->Levels().front())) {
        return false;
    }
    DrawConvex(frame, p, corner, 4, paint);
    return true;
}

} // namespace present
