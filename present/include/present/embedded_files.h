// The embedded file table: files compiled into the program, read through the
// "incbin::" url prefix.
//
// RegisterEmbeddedFile (present.h) adds a file; the table keeps pointers to
// the registered bytes, never copies, so they must outlive every use (static
// data, in practice). Names are matched exactly, without the prefix, and the
// first registration of a name stays. The table lives as long as the program.
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
