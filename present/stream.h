// A read-only byte stream over a file or an embedded file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace present {

class TStream {
public:
    explicit TStream(std::vector<std::uint8_t> bytes);
    TStream(const std::uint8_t* data, std::size_t size); // over embedded bytes, not copied

    // Copies count bytes into out; throws ReadError when fewer remain, and then
    // consumes nothing.
    void Read(void* out, std::size_t count);
    // The next byte without consuming it; -1 at the end (no exception).
    int Peek() const;
    // Moves past count bytes; throws ReadError when fewer remain.
    void Skip(std::size_t count);
    std::size_t Position() const { return position; }
    std::size_t Size() const { return size; }
    std::size_t Remaining() const { return size - position; }
    bool AtEnd() const { return position >= size; }
    // The bytes not read yet (Remaining() of them); valid while the stream lives.
    const std::uint8_t* Current() const { return data + position; }
    // A closed stream holds no more bytes: every later read fails.
    void Close();
    bool Closed() const { return closed; }

private:
    std::vector<std::uint8_t> owned;
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    std::size_t position = 0;
    bool closed = false;
};

} // namespace present
