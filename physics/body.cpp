#include <kinetra/body.h>

namespace kinetra {

TBody::~TBody() {
    TBody::Remove();
}

void TBody::SetName(const std::string& newName) {
    name = newName;
}

void TBody::Remove() {
    for (const auto& member : members) {
        if (member) {
            member->Unregister();
        }
    }
    members.Clear();
}

} // namespace kinetra
