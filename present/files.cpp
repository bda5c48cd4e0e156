#include <present/embedded_files.h>
#include <present/present.h>
#include <present/stream.h>

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

StreamRef OpenDiskFile(const std::string& path) {
    // Only regular files: a directory cannot be read and a device or pipe might
    // never end. The kind is judged on the open descriptor (opened without
    // blocking, so a FIFO never waits for a writer), not on the name, so it
    // cannot change between the check and the reads.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    // A regular file that fails its first read (/proc/self/mem, which also
    // claims to be empty) is as unreadable as one that cannot be opened.
    struct stat info {};
    char first = 0;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0 ||
        ::pread(fd, &first, 1, 0) < 0) {
        ::close(fd);
        return nullptr;
    }
    try {
        return std::make_shared<TStream>(fd, static_cast<std::size_t>(info.st_size));
    } catch (const std::bad_alloc&) {
        ::close(fd);
        return nullptr;
    }
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
