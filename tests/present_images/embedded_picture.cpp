#include "embedded_picture.h"

#include <present/present.h>

#include <list>
#include <stdexcept>

namespace testpng {

std::string Embed(const std::string& name, Bytes bytes) {
    static std::list<Bytes> kept;
    kept.push_back(std::move(bytes));
    if (present::RegisterEmbeddedFile(name, kept.back().data(), kept.back().size()) != 1) {
        throw std::logic_error("test picture registered twice: " + name);
    }
    return "incbin::" + name;
}

} // namespace testpng
