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
    enum Filter { Nearest, Bilinear, Trilinear } filter = Nearest;
    const TTexelLevel* level = nullptr;
    const TTexelLevel* nextLevel = nullptr;
    std::uint32_t levelWeight = 0; // 256 parts of nextLevel
};

// Smallest texel alpha a with a / 255 x alpha > 0.5; 256 when there is none.
int MinimumMaskedAlpha(float alpha) {
    for (int a = 0; a < 256; ++a) {
        if (static_cast<float>(a) / 255.0f * alpha > 0.5f) {
            return a;
        }
    }
    return 256;
}

// The level of detail as OpenGL takes it for a triangle drawn without
// perspective: log2 of the larger of the texel steps along x and y.
void ChooseLevels(TSource& source, const TSoftTexture& texture, int imageFlags, const TPlane& u,
                  const TPlane& v) {
    const std::vector<TTexelLevel>& levels = texture.Levels();
    source.level = &levels.front();
    const bool filtered = (imageFlags & ImageFiltered) != 0;
    source.filter = filtered ? TSource::Bilinear : TSource::Nearest;
    if ((imageFlags & ImageMipmapped) == 0 || levels.size() < 2) {
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

template <TSource::Filter F> std::uint32_t Sample(const TSource& source, float u, float v) {
    if constexpr (F == TSource::Nearest) {
        return SampleNearest(*source.level, u, v);
    } else if constexpr (F == TSource::Bilinear) {
        return SampleBilinear(*source.level, u, v);
    } else {
        return LerpTexel(SampleBilinear(*source.level, u, v),
                         SampleBilinear(*source.nextLevel, u, v), source.levelWeight);
    }
}

// Pixels [x0, x1) of one row of a textured triangle; u, v at the first
// pixel's centre and their steps along the row.
template <int Mode, TSource::Filter F>
void TexturedSpan(std::uint32_t* row, int x0, int x1, float u, float v, float du, float dv,
                  const TSource& s) {
    for (int x = x0, i = 0; x < x1; ++x, ++i) {
        const float fi = static_cast<float>(i);
        const std::uint32_t texel = Sample<F>(s, u + du * fi, v + dv * fi);
        int r = static_cast<int>(texel & 0xFF);
        int g = static_cast<int>(texel >> 8 & 0xFF);
        int b = static_cast<int>(texel >> 16 & 0xFF);
        int a = static_cast<int>(texel >> 24);
        if constexpr (Mode == BlendMasked) {
            if (a < s.minimumMaskedAlpha) {
                continue;
            }
        }
        if (s.tinted) {
            r = Mul255(r, s.red);
            g = Mul255(g, s.green);
            b = Mul255(b, s.blue);
            a = Mul255(a, s.alpha);
        }
        BlendPixel<Mode>(row[x], r, g, b, a);
    }
}

template <int Mode> void FlatSpan(std::uint32_t* row, int x0, int x1, const TSource& s) {
    if constexpr (Mode == BlendMasked || Mode == BlendSolid) {
        std::fill(row + x0, row + x1, PackRGB(s.red, s.green, s.blue));
    } else {
        if (Mode == BlendAlpha && s.alpha == 255) {
            std::fill(row + x0, row + x1, PackRGB(s.red, s.green, s.blue));
            return;
        }
        for (int x = x0; x < x1; ++x) {
            BlendPixel<Mode>(row[x], s.red, s.green, s.blue, s.alpha);
        }
    }
}

struct TTriangleSetup {
    TEdge edges[3];
    int firstRow, lastRow;
    TPlane u, v;
};

// Calls span(row, y, x0, x1, centreX, centreY) for every row's covered pixels.
template <typename Span>
void ForEachSpan(TFrameBuffer& frame, const TTriangleSetup& t, Span&& span) {
    for (int y = t.firstRow; y <= t.lastRow; ++y) {
        std::int64_t lo = 0;
        std::int64_t hi = frame.width - 1;
        for (const TEdge& e : t.edges) {
            const std::int64_t k = e.b * y + e.c;
            if (e.a > 0) {
                lo = std::max(lo, CeilDiv(-k, e.a));
            } else if (e.a < 0) {
                hi = std::min(hi, FloorDiv(k, -e.a));
            } else if (k < 0) {
                hi = -1;
            }
        }
        if (lo <= hi) {
            span(frame.Row(y), y, static_cast<int>(lo), static_cast<int>(hi) + 1);
        }
    }
}

template <int Mode>
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
        constexpr TSource::Filter F = decltype(filter)::value;
        ForEachSpan(frame, t, [&](std::uint32_t* row, int py, int x0, int x1) {
            const double cx = x0 + 0.5 - x[0];
            const double cy = py + 0.5 - y[0];
            const auto u = static_cast<float>(t.u.at0 + t.u.dx * cx + t.u.dy * cy);
            const auto v = static_cast<float>(t.v.at0 + t.v.dx * cx + t.v.dy * cy);
            TexturedSpan<Mode, F>(row, x0, x1, u, v, du, dv, s);
        });
    };
    switch (s.filter) {
    case TSource::Nearest:
        textured(std::integral_constant<TSource::Filter, TSource::Nearest>{});
        break;
    case TSource::Bilinear:
        textured(std::integral_constant<TSource::Filter, TSource::Bilinear>{});
        break;
    case TSource::Trilinear:
        textured(std::integral_constant<TSource::Filter, TSource::Trilinear>{});
        break;
    }
}

bool Drawable(const TRasterVertex& p) {
    return std::fabs(p.x) < kLargestCoordinate && std::fabs(p.y) < kLargestCoordinate &&
           std::isfinite(p.u) && std::isfinite(p.v);
}

TFixedPoint Snap(const TRasterVertex& p) {
    return TFixedPoint{std::llround(static_cast<double>(p.x) * kSubpixel),
                       std::llround(static_cast<double>(p.y) * kSubpixel)};
}

} // namespace

void RasterizeTriangle(TFrameBuffer& frame, const TRasterVertex& a, const TRasterVertex& b,
                       const TRasterVertex& c, const TRasterPaint& paint) {
    if (frame.width < 1 || frame.height < 1 || !Drawable(a) || !Drawable(b) || !Drawable(c)) {
        return;
    }
    const TRasterVertex* corner[3] = {&a, &b, &c};
    TFixedPoint p[3] = {Snap(a), Snap(b), Snap(c)};
    const std::int64_t area =
        (p[1].x - p[0].x) * (p[2].y - p[0].y) - (p[1].y - p[0].y) * (p[2].x - p[0].x);
    if (area == 0) {
        return;
    }
    if (area < 0) {
        std::swap(p[1], p[2]);
        std::swap(corner[1], corner[2]);
    }

    TSource source{};
    source.red = std::clamp(paint.red, 0, 255);
    source.green = std::clamp(paint.green, 0, 255);
    source.blue = std::clamp(paint.blue, 0, 255);
    const float alpha = std::clamp(paint.alpha, 0.0f, 1.0f);
    source.alpha = static_cast<int>(std::lround(alpha * 255.0f));
    source.tinted =
        source.red != 255 || source.green != 255 || source.blue != 255 || source.alpha != 255;
    source.minimumMaskedAlpha = MinimumMaskedAlpha(alpha);
    if (paint.blendMode == BlendMasked && source.minimumMaskedAlpha > 255) {
        return;
    }

    TTriangleSetup t{};
    t.edges[0] = MakeEdge(p[0], p[1]);
    t.edges[1] = MakeEdge(p[1], p[2]);
    t.edges[2] = MakeEdge(p[2], p[0]);
    const std::int64_t top = std::min({p[0].y, p[1].y, p[2].y});
    const std::int64_t bottom = std::max({p[0].y, p[1].y, p[2].y});
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
    case BlendSolid:
        ShadeTriangle<BlendSolid>(frame, t, source, x, y);
        break;
    case BlendAlpha:
        ShadeTriangle<BlendAlpha>(frame, t, source, x, y);
        break;
    case BlendAdd:
        ShadeTriangle<BlendAdd>(frame, t, source, x, y);
        break;
    case BlendMultiply:
        ShadeTriangle<BlendMultiply>(frame, t, source, x, y);
        break;
    default:
        ShadeTriangle<BlendMasked>(frame, t, source, x, y);
        break;
    }
}

} // namespace present
