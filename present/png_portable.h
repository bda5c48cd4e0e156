// A PNG decoder of our own in portable C++, for builds that have no libpng
// (the browser's). It reads the pictures the game and its tools write: 8 bits
// a channel, grey, grey and alpha, RGB or RGBA, not interlaced, with or
// without a transparent colour; and it gives exactly the pixels libpng gives
// for them. Anything else it turns away as a whole: other depths, palettes,
// interlacing, a damaged chunk or checksum, or a picture past the limits of
// png_limits.h.
#pragma once

#include <present/image.h>

namespace present {

class TStream;

// Decodes the PNG read from source into 8-bit RGBA (as DecodePng does).
// hasAlpha tells whether the picture had an alpha channel or a transparent
// colour. False, with out untouched, for anything not decoded.
bool DecodePortablePng(TStream& source, TPixmap& out, bool& hasAlpha);

} // namespace present
