#include "host_platform.h"
#include "present.h"

namespace present {

std::uint32_t ClockMillis() {
    return Platform().Millis();
}

} // namespace present
