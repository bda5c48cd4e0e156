// PNG encoding with a fixed chunk sequence so regenerated files are byte-identical:
// IHDR, tEXt "Creation Time", tIME, pHYs, gAMA, one IDAT, IEND.
#pragma once

#include "picture.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pictures {

// Empty when libpng refuses the picture (e.g. a channel count other than 3 or 4).
std::vector<std::uint8_t> EncodePng(const TPicture& picture);

bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

} // namespace pictures
