// Registers test pictures in the embedded file table under unique names.
#pragma once

#include "png_builder.h"

#include <string>

namespace testpng {

// Keeps bytes alive for the rest of the run and returns the "incbin::" url
// they can be loaded from.
std::string Embed(const std::string& name, Bytes bytes);

} // namespace testpng
