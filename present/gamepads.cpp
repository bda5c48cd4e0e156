#include "gamepads.h"

#include "pad_keys.h"

#include <map>

namespace present {

namespace {

std::map<SDL_JoystickID, SDL_GameController*>& Opened() {
    static std::map<SDL_JoystickID, SDL_GameController*> opened;
    return opened;
}

void Open(int deviceIndex, PadSource source) {
    if (source == PadSource::VirtualOnly && SDL_JoystickIsVirtual(deviceIndex) == SDL_FALSE) {
        return;
    }
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    if (id < 0 || Opened().count(id) != 0) {
        return;
    }
    if (SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex)) {
        Opened()[id] = controller;
    }
}

void Close(SDL_JoystickID id) {
    const auto found = Opened().find(id);
    if (found == Opened().end()) {
        return;
    }
    SDL_GameControllerClose(found->second);
    Opened().erase(found);
    PadRemovedEvent(id);
}

bool IsOpen(SDL_JoystickID id) {
    return Opened().count(id) != 0;
}

} // namespace

bool StartGamepads() {
    static bool failed = false;
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) != 0) {
        return true;
    }
    if (!failed) {
        failed = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0;
    }
    return !failed;
}

void HandleGamepadEvent(const SDL_Event& event, PadSource source) {
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
        Open(event.cdevice.which, source);
        break;
    case SDL_CONTROLLERDEVICEREMOVED:
        Close(event.cdevice.which);
        break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        if (IsOpen(event.cbutton.which)) {
            PadButtonEvent(event.cbutton.which, event.cbutton.button,
                           event.cbutton.state == SDL_PRESSED);
        }
        break;
    case SDL_CONTROLLERAXISMOTION:
        if (IsOpen(event.caxis.which)) {
            PadAxisEvent(event.caxis.which, event.caxis.axis, event.caxis.value);
        }
        break;
    default:
        break;
    }
}

} // namespace present
