// The game's module variables: one set per process, read directly by the blob,
// the level objects and the main program.
#pragma once

#include <present/present.h>

#include <memory>

namespace morvel {

class TLevel;
class TBlob;

// The game screen, known once the mode menu has been left.
inline int screenWidth = 0;
inline int screenHeight = 0;
inline int halfWidth = 0;
inline int halfHeight = 0;
inline int screenDepth = 0; // 0 = window, 32 = full screen

inline std::shared_ptr<TLevel> level;
inline std::shared_ptr<TBlob> blob;
inline present::ImageRef faceImage;
inline present::ImageRef skinImage;

// Set once the blob has reached the finish area; never cleared, not even by a reset.
inline int finished = 0;

} // namespace morvel
