// The browser build has no libpng: its pictures go through our own decoder.
#include <present/image.h>
#include "png_portable.h"

namespace present {

bool DecodePng(TStream& source, TPixmap& out, bool& hasAlpha) {
    return DecodePortablePng(source, out, hasAlpha);
}

} // namespace present
