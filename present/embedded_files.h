// The embedded file table: files compiled into the program, read through the
// "incbin::" url prefix.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace present {

constexpr const char* EmbeddedUrlPrefix = "incbin::";

struct TEmbeddedFile {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
};

// The registered file of exactly this name; false when there is none.
bool FindEmbeddedFile(const std::string& name, TEmbeddedFile& out);

} // namespace present
