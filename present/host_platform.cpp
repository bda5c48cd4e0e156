#include <present/host_platform.h>

namespace present {

namespace {
std::shared_ptr<TPlatform>& Installed() {
    static std::shared_ptr<TPlatform> platform;
    return platform;
}
} // namespace

void SetPlatform(std::shared_ptr<TPlatform> platform) {
    Installed() = std::move(platform);
}

TPlatform& Platform() {
    std::shared_ptr<TPlatform>& platform = Installed();
    if (!platform) {
        platform = MakeHostPlatform();
    }
    return *platform;
}

} // namespace present
