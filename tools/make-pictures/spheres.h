// The blob's two skins: balls that fill their square pictures.
#pragma once

#include "picture.h"

namespace pictures {

// 139 x 139 RGB glossy blue ball; white outside the disc and no pure-black
// pixel anywhere, so a black mask colour leaves every pixel opaque.
Picture DrawBlueSphere();

// size x size RGBA ball shaded like the blue skin, transparent outside the
// disc with an antialiased rim.
Picture DrawBlueBall(int size);

// 47 x 47 RGBA chrome ball mirroring a pale cloudy sky; transparent outside the
// disc with an antialiased rim.
Picture DrawChromeSphere();

} // namespace pictures
