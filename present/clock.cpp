#include <present/host_platform.h>
#include <present/present.h>

namespace present {

std::uint32_t ClockMillis() {
    return Platform().Millis();
}

} // namespace present
