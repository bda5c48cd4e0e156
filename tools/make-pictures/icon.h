// The game's application icon: the blue ball wearing the face that looks
// ahead, on transparency, drawn at each size a desktop asks for rather than
// scaled from one, so that small sizes stay sharp.
#pragma once

#include "picture.h"

namespace pictures {

inline constexpr int kIconSizes[] = {32, 48, 64, 128, 256};

// size x size RGBA.
Picture DrawIcon(int size);

} // namespace pictures
