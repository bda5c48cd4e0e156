#include <present/stream.h>

#include <present/present.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include <unistd.h>

namespace present {

namespace {

// Large enough that a loader's many small reads cost one system call per
// buffer, small enough to be nothing beside what a body holds.
constexpr std::size_t FileBufferSize = 64 * 1024;

} // namespace

TStream::TStream(std::vector<std::uint8_t> bytes)
    : owned(std::move(bytes)), data(owned.data()), size(owned.size()) {}

TStream::TStream(const std::uint8_t* bytes, std::size_t count)
    : data(bytes), size(bytes ? count : 0) {}

TStream::TStream(int file, std::size_t fileSize) : size(fileSize), fd(file) {}

TStream::~TStream() {
    Close();
}

// Refills the window so that it starts at the current position; false when
// the file has nothing more to give.
bool TStream::Fill() {
    const std::size_t kept = bufferStart + buffer.size() - position;
    if (kept > 0) {
        std::memmove(buffer.data(), buffer.data() + (position - bufferStart), kept);
    }
    // No larger than the file: most body files are far smaller than a buffer.
    const std::size_t wanted = std::min(FileBufferSize, size - position);
    buffer.resize(std::max(wanted, kept));
    bufferStart = position;
    std::size_t held = kept;
    while (held < wanted) {
        const ssize_t got = ::read(fd, buffer.data() + held, wanted - held);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            failed = got < 0;
            break;
        }
        held += static_cast<std::size_t>(got);
    }
    buffer.resize(held);
    return held > kept;
}

bool TStream::TryRead(void* out, std::size_t count) {
    if (count > Remaining()) {
        return false;
    }
    if (fd < 0) {
        if (count > 0) {
            std::memcpy(out, data + position, count);
        }
        position += count;
        return true;
    }
    auto* target = static_cast<std::uint8_t*>(out);
    while (count > 0) {
        const std::size_t held = bufferStart + buffer.size() - position;
        if (held == 0 && !Fill()) {
            return false;
        }
        const std::size_t take = std::min(count, bufferStart + buffer.size() - position);
        std::memcpy(target, buffer.data() + (position - bufferStart), take);
        target += take;
        position += take;
        count -= take;
    }
    return true;
}

void TStream::Read(void* out, std::size_t count) {
    if (!TryRead(out, count)) {
        throw ReadError{"read past the end of the stream"};
    }
}

int TStream::Peek() {
    if (AtEnd()) {
        return -1;
    }
    if (fd < 0) {
        return data[position];
    }
    if (position == bufferStart + buffer.size() && !Fill()) {
        return -1;
    }
    return buffer[position - bufferStart];
}

void TStream::Skip(std::size_t count) {
    if (count > Remaining()) {
        throw ReadError{"read past the end of the stream"};
    }
    if (fd >= 0 && ::lseek(fd, static_cast<off_t>(position + count), SEEK_SET) < 0) {
        throw ReadError{"cannot move in the file"};
    }
    position += count;
    if (fd >= 0) {
        buffer.clear();
        bufferStart = position;
    }
}

void TStream::Close() {
    closed = true;
    owned.clear();
    owned.shrink_to_fit();
    buffer.clear();
    buffer.shrink_to_fit();
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
    data = nullptr;
    size = 0;
    position = 0;
    bufferStart = 0;
}

} // namespace present
