// The game's three pictures, compiled into the program so nothing is read from
// disk: the face strip and the two skins, in the order they are registered.
#pragma once

#include <cstddef>

namespace morvel {

struct TEmbeddedPicture {
    const char* name;
    const unsigned char* data;
    std::size_t size;
};

extern const TEmbeddedPicture kEmbeddedPictures[3];

} // namespace morvel
