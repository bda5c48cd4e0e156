#include "embedded_files.h"
#include "present.h"
#include "stream.h"

#include <cerrno>
#include <filesystem>
#include <new>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace present {

namespace {

StreamRef OpenEmbedded(const std::string& name) {
    TEmbeddedFile file;
    if (!FindEmbeddedFile(name, file)) {
        return nullptr;
    }
    return std::make_shared<TStream>(file.data, file.size);
}

// Reads the whole of an open regular file; false on any read error (a file
// such as /proc/self/mem reports its size but fails to read).
bool ReadAll(int fd, std::vector<std::uint8_t>& bytes) {
    std::uint8_t chunk[65536];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got == 0) {
            return true;
        }
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
}

StreamRef OpenDiskFile(const std::string& path) {
    // Only regular files: a directory cannot be read and a device or pipe might
    // never end. The kind is judged on the open descriptor (opened without
    // blocking, so a FIFO never waits for a writer), not on the name, so it
    // cannot change between the check and the read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    struct stat info {};
    std::vector<std::uint8_t> bytes;
    bool read = false;
    try {
        read = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ReadAll(fd, bytes);
    } catch (const std::bad_alloc&) {
        read = false;
    }
    ::close(fd);
    if (!read) {
        return nullptr;
    }
    return std::make_shared<TStream>(std::move(bytes));
}

} // namespace

StreamRef OpenReadStream(const std::string& url) {
    const std::string prefix = EmbeddedUrlPrefix;
    if (url.compare(0, prefix.size(), prefix) == 0) {
        return OpenEmbedded(url.substr(prefix.size()));
    }
    return OpenDiskFile(url);
}

void CloseInput(const StreamRef& stream) {
    if (stream) {
        stream->Close();
    }
}

int FileKind(const std::string& path) {
    if (path.empty()) {
        return 0;
    }
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error) {
        return 0;
    }
    if (std::filesystem::is_regular_file(status)) {
        return 1;
    }
    if (std::filesystem::is_directory(status)) {
        return 2;
    }
    return 0;
}

void ChangeDirectory(const std::string& path) {
    if (path.empty()) {
        return;
    }
    std::error_code error;
    std::filesystem::current_path(path, error);
}

std::string DirectoryOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        // A bare file name lives in the current directory.
        return ".";
    }
    auto end = slash;
    while (end > 0 && path[end - 1] == '/') {
        --end;
    }
    if (end == 0) {
        return "/";
    }
    return path.substr(0, end);
}

std::string TrimText(const std::string& text) {
    const auto blank = [](char c) { return static_cast<unsigned char>(c) < 33; };
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && blank(text[begin])) {
        ++begin;
    }
    while (end > begin && blank(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

} // namespace present
