// The blob's face strip: five 64 x 64 cartoon faces side by side, RGBA, every
// pixel opaque black, opaque white or transparent.
#pragma once

#include "picture.h"

namespace pictures {

constexpr int kFaceCell = 64;
constexpr int kFaceCount = 5;

// Cell 0 looks ahead and smiles; 1 and 3 look right (open grin, clenched teeth);
// 2 and 4 are their mirror images looking left.
Picture DrawFaces();

// Cell 0's face over an RGBA picture, in the square of size pixels at
// (left, top), with antialiased edges; the square must lie in the picture.
void DrawFaceAhead(Picture& picture, int left, int top, int size);

} // namespace pictures
