#include <present/embedded_files.h>

#include <present/present.h>

#include <map>

namespace present {

namespace {

std::map<std::string, TEmbeddedFile>& EmbeddedTable() {
    static std::map<std::string, TEmbeddedFile> table;
    return table;
}

} // namespace

int RegisterEmbeddedFile(const std::string& name, const void* data, std::size_t size) {
    TEmbeddedFile file{static_cast<const std::uint8_t*>(data), data ? size : 0};
    return EmbeddedTable().emplace(name, file).second ? 1 : 0;
}

bool FindEmbeddedFile(const std::string& name, TEmbeddedFile& out) {
    const auto& table = EmbeddedTable();
    const auto found = table.find(name);
    if (found == table.end()) {
        return false;
    }
    out = found->second;
    return true;
}

} // namespace present
