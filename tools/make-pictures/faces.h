// The blob's face strip: five 64 x 64 cartoon faces side by side, RGBA, every
// pixel opaque black, opaque white or transparent.
#pragma once

#include "picture.h"

namespace pictures {

constexpr int kFaceCell = 64;
constexpr int kFaceCount = 5;

// Cell 0 looks ahead and smiles; 1 and 3 look right (open grin, clenched teeth);
// 2 and 4 are their mirror images looking left.
TPicture DrawFaces();

} // namespace pictures
