#include "icon.h"

#include "faces.h"
#include "spheres.h"

#include <cmath>

namespace pictures {

namespace {

// The face's cell spans this share of the ball's width, centred on it.
constexpr double kFaceShare = 0.8;

} // namespace

Picture DrawIcon(int size) {
    Picture icon = DrawBlueBall(size);
    const int side = static_cast<int>(std::lround(size * kFaceShare));
    const int offset = (size - side) / 2;
    DrawFaceAhead(icon, offset, offset, side);
    return icon;
}

} // namespace pictures
