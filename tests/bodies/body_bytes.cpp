#include "body_bytes.h"

#include <present/image.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace bodytest {

TScratchDir::TScratchDir() : startDir(std::filesystem::current_path().string()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "bodies-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        throw std::runtime_error("cannot make a scratch directory");
    }
    dir = std::filesystem::canonical(pattern).string();
}

TScratchDir::~TScratchDir() {
    std::error_code error;
    std::filesystem::current_path(startDir, error);
    std::filesystem::remove_all(dir, error);
}

std::string TScratchDir::Write(const std::string& name,
                               const std::vector<std::uint8_t>& bytes) const {
    const std::string path = Path(name);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string TScratchDir::WritePicture(const std::string& name) const {
    present::TPixmap pixmap;
    pixmap.width = 4;
    pixmap.height = 2;
    pixmap.rgba.assign(4 * 2 * 4, 255);
    const std::string path = Path(name);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    if (!present::SavePng(path, pixmap)) {
        throw std::runtime_error("cannot write " + path);
    }
    return path;
}

} // namespace bodytest
