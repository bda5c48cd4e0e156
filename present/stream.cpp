#include "stream.h"

#include "present.h"

#include <cstring>
#include <utility>

namespace present {

TStream::TStream(std::vector<std::uint8_t> bytes)
    : owned(std::move(bytes)), data(owned.data()), size(owned.size()) {}

TStream::TStream(const std::uint8_t* bytes, std::size_t count)
    : data(bytes), size(bytes ? count : 0) {}

void TStream::Read(void* out, std::size_t count) {
    if (count > Remaining()) {
        throw ReadError{"read past the end of the stream"};
    }
    if (count > 0) {
        std::memcpy(out, data + position, count);
    }
    position += count;
}

int TStream::Peek() const {
    return AtEnd() ? -1 : data[position];
}

void TStream::Skip(std::size_t count) {
    if (count > Remaining()) {
        throw ReadError{"read past the end of the stream"};
    }
    position += count;
}

void TStream::Close() {
    closed = true;
    owned.clear();
    owned.shrink_to_fit();
    data = nullptr;
    size = 0;
    position = 0;
}

} // namespace present
