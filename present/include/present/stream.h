// A read-only byte stream over a file or an embedded file.
//
// Streams are made by OpenReadStream (present.h), shared as StreamRef, and
// read with the Read* functions there or the members here; a stream is not
// copyable and closes its file when the last reference goes. Positions and
// sizes are bytes. A stream over embedded bytes does not own them (see
// RegisterEmbeddedFile).
//
// A stream over a file reads it as it is consumed, a buffer at a time, so a
// reader that stops early (a wrong first tag) never pays for the rest of the
// file. Its size is the file's size when it was opened; a file that turns out
// shorter, or fails to read, fails the read that reaches the missing bytes.
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
    // Over an open regular file of fileSize bytes; the stream owns fd and
    // closes it.
    TStream(int fd, std::size_t fileSize);
    ~TStream();
    TStream(const TStream&) = delete;
    TStream& operator=(const TStream&) = delete;

    // Copies count bytes into out; throws ReadError when fewer remain or the
    // file fails to read, and then consumes nothing that can be relied on.
    void Read(void* out, std::size_t count);
    // Read without the exception: false where Read would throw.
    bool TryRead(void* out, std::size_t count);
    // The next byte without consuming it; -1 at the end (no exception).
    int Peek();
    // Moves past count bytes; throws ReadError when fewer remain.
    void Skip(std::size_t count);
    std::size_t Position() const { return position; }
    std::size_t Size() const { return size; }
    std::size_t Remaining() const { return size - position; }
    bool AtEnd() const { return position >= size; }
    // The bytes not read yet (Remaining() of them) of a stream held in
    // memory, valid while the stream lives; Null for a stream over a file.
    const std::uint8_t* Current() const { return fd < 0 && data ? data + position : nullptr; }
    // A closed stream holds no more bytes: every later read fails.
    void Close();
    bool Closed() const { return closed; }
    // True once the file failed to read (not merely ended early).
    bool Failed() const { return failed; }

private:
    bool Fill();

    std::vector<std::uint8_t> owned;
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    std::size_t position = 0;
    bool closed = false;
    bool failed = false;

    // A file stream's window: buffer holds the file's bytes from bufferStart.
    int fd = -1;
    std::vector<std::uint8_t> buffer;
    std::size_t bufferStart = 0;
};

} // namespace present
