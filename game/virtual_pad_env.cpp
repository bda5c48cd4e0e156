#include "virtual_pad_env.h"

#include <present/host_platform.h>
#include "key_script.h"
#include <present/sdl_platform.h>

#include <cstdlib>
#include <fstream>
#include <memory>

namespace morvel {

std::string PlayVirtualPadFromEnvironment() {
    const char* path = std::getenv(kVirtualPadVariable);
    if (path == nullptr || path[0] == '\0') {
        return {};
    }
    const std::string where = std::string(kVirtualPadVariable) + "=" + path;
    std::ifstream input(path);
    if (!input) {
        return where + ": cannot read the file";
    }
    const morvel_script::TScriptResult script = morvel_script::ParseKeyScript(input, path);
    if (!script.error.empty()) {
        return where + ": " + script.error;
    }
    if (!script.events.empty()) {
        return where + ": the file holds key events; only pad events are played";
    }
    auto platform = std::make_shared<present::TSdlPlatform>();
    for (const morvel_script::TPadEvent& event : script.padEvents) {
        platform->SchedulePad(event.frame, event.action);
    }
    present::SetPlatform(platform);
    return {};
}

} // namespace morvel
