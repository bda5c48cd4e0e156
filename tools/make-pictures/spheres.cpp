#include "spheres.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace pictures {

namespace {

struct Colour {
    double r = 0;
    double g = 0;
    double b = 0;
};

Colour Mix(Colour a, Colour b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour Add(Colour a, Colour b, double amount) {
    return {a.r + b.r * amount, a.g + b.g * amount, a.b + b.b * amount};
}

std::uint8_t Channel(double value) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0, 255.0)));
}

double SmoothStep(double from, double to, double x) {
    const double t = std::clamp((x - from) / (to - from), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// Fraction of the pixel (x, y) inside the disc that fills a size x size square,
// from a 4 x 4 grid of samples.
double Coverage(int x, int y, int size) {
    const double radius = size / 2.0;
    int inside = 0;
    for (int sy = 0; sy < 4; ++sy) {
        for (int sx = 0; sx < 4; ++sx) {
            const double dx = x + (sx + 0.5) / 4 - radius;
            const double dy = y + (sy + 0.5) / 4 - radius;
            inside += dx * dx + dy * dy <= radius * radius ? 1 : 0;
        }
    }
    return inside / 16.0;
}

// Unit sphere surface under the pixel centre: (u, v) in the disc, z towards the viewer.
struct Surface {
    double u = 0;
    double v = 0;
    double z = 0;
};

Surface SurfaceAt(int x, int y, int size) {
    const double radius = size / 2.0;
    const double u = (x + 0.5 - radius) / radius;
    const double v = (y + 0.5 - radius) / radius;
    return {u, v, std::sqrt(std::max(0.0, 1 - u * u - v * v))};
}

Colour BlueShade(const Surface& s) {
    const Colour rim{8, 22, 96};
    const Colour body{46, 112, 226};
    // Light from the upper left, in front.
    const double diffuse = std::max(0.0, -0.40 * s.u - 0.55 * s.v + 0.73 * s.z);
    Colour colour = Mix(rim, body, std::pow(diffuse, 0.8));
    const double du = s.u + 0.28;
    const double dv = s.v + 0.42;
    const double highlight = std::exp(-(du * du + dv * dv * 1.6) / 0.045);
    colour = Mix(colour, {225, 238, 255}, highlight);
    // Light bounced up from below glows cyan along the lower rim.
    const double glow =
        std::exp(-(s.u * s.u) / 0.22) * SmoothStep(0.45, 0.92, s.v) * SmoothStep(0.0, 0.35, s.z);
    return Add(colour, {0, 150, 150}, glow * 0.85);
}

// Deterministic value noise for the clouds.
double Hash(int x, int y) {
    std::uint32_t h =
        static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return ((h ^ (h >> 16)) & 0xffff) / 65535.0;
}

double ValueNoise(double x, double y) {
    const int ix = static_cast<int>(std::floor(x));
    const int iy = static_cast<int>(std::floor(y));
    const double fx = SmoothStep(0, 1, x - ix);
    const double fy = SmoothStep(0, 1, y - iy);
    const double top = Hash(ix, iy) + (Hash(ix + 1, iy) - Hash(ix, iy)) * fx;
    const double bottom = Hash(ix, iy + 1) + (Hash(ix + 1, iy + 1) - Hash(ix, iy + 1)) * fx;
    return top + (bottom - top) * fy;
}

double Clouds(double x, double y) {
    return 0.55 * ValueNoise(x, y) + 0.3 * ValueNoise(x * 2.1, y * 2.1) +
           0.15 * ValueNoise(x * 4.3, y * 4.3);
}

Colour ChromeShade(const Surface& s) {
    // Mirror the view ray; y grows downwards, so "up" is -y.
    const double rx = 2 * s.z * s.u;
    // Seen from slightly above, the horizon sits a little below the middle.
    const double up = s.z * (0.18 - 2 * s.v);
    const double rz = 2 * s.z * s.z - 1;
    Colour colour;
    if (up >= 0) {
        const Colour horizon{214, 228, 240};
        const Colour zenith{140, 184, 232};
        colour = Mix(horizon, zenith, std::pow(up, 0.7));
        const double scale = 1.0 / (0.35 + up);
        const double cloud =
            SmoothStep(0.42, 0.68, Clouds(rx * scale * 1.2 + 3.1, rz * scale * 1.2));
        colour = Mix(colour, {250, 251, 253}, cloud * 0.95);
    } else {
        const Colour ground{92, 104, 118};
        colour = Mix({184, 192, 200}, ground, std::pow(-up, 0.6));
    }
    // Chrome darkens towards its rim, and a sharp sun glint sits top left.
    colour = Mix(colour, {60, 70, 84}, std::pow(1 - s.z, 3) * 0.7);
    const double du = s.u + 0.38;
    const double dv = s.v + 0.45;
    return Mix(colour, {255, 255, 255}, std::exp(-(du * du + dv * dv) / 0.012));
}

// A size x size ball of the given shading on transparency.
template <typename Shade> Picture DrawBall(int size, Shade shade) {
    Picture picture = MakePicture(size, size, 4);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double coverage = Coverage(x, y, size);
            std::uint8_t* pixel = PixelAt(picture, x, y);
            if (coverage == 0) {
                continue;
            }
            const Colour colour = shade(SurfaceAt(x, y, size));
            pixel[0] = Channel(colour.r);
            pixel[1] = Channel(colour.g);
            pixel[2] = Channel(colour.b);
            pixel[3] = Channel(coverage * 255);
        }
    }
    return picture;
}

} // namespace

Picture DrawBlueSphere() {
    constexpr int kSize = 139;
    Picture picture = MakePicture(kSize, kSize, 3);
    const Colour white{255, 255, 255};
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const Colour shade = BlueShade(SurfaceAt(x, y, kSize));
            const Colour colour = Mix(white, shade, Coverage(x, y, kSize));
            std::uint8_t* pixel = PixelAt(picture, x, y);
            pixel[0] = Channel(colour.r);
            pixel[1] = Channel(colour.g);
            // Blue never drops to zero, so no pixel is pure black.
            pixel[2] = std::max<std::uint8_t>(Channel(colour.b), 1);
        }
    }
    return picture;
}

Picture DrawBlueBall(int size) {
    return DrawBall(size, BlueShade);
}

Picture DrawChromeSphere() {
    return DrawBall(47, ChromeShade);
}

} // namespace pictures
