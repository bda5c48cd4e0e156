#include <present/virtual_pad.h>

#include "gamepads.h"

#include <algorithm>

namespace present {

static_assert(pad::kA == SDL_CONTROLLER_BUTTON_A && pad::kB == SDL_CONTROLLER_BUTTON_B &&
                  pad::kX == SDL_CONTROLLER_BUTTON_X && pad::kY == SDL_CONTROLLER_BUTTON_Y &&
                  pad::kBack == SDL_CONTROLLER_BUTTON_BACK &&
                  pad::kStart == SDL_CONTROLLER_BUTTON_START &&
                  pad::kUp == SDL_CONTROLLER_BUTTON_DPAD_UP &&
                  pad::kDown == SDL_CONTROLLER_BUTTON_DPAD_DOWN &&
                  pad::kLeft == SDL_CONTROLLER_BUTTON_DPAD_LEFT &&
                  pad::kRight == SDL_CONTROLLER_BUTTON_DPAD_RIGHT &&
                  pad::kLeftX == SDL_CONTROLLER_AXIS_LEFTX &&
                  pad::kLeftY == SDL_CONTROLLER_AXIS_LEFTY,
              "the pad's controls are numbered as SDL numbers them");

TVirtualPad::TVirtualPad() {
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    PlugIn();
}

TVirtualPad::~TVirtualPad() {
    Unplug();
}

void TVirtualPad::PlugIn() {
    if (joystick != nullptr || !StartGamepads()) {
        return;
    }
    SDL_VirtualJoystickDesc description{};
    description.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    description.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    description.naxes = SDL_CONTROLLER_AXIS_MAX;
    description.nbuttons = SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1;
    description.name = "Virtual pad";
    const int index = SDL_JoystickAttachVirtualEx(&description);
    if (index < 0) {
        return;
    }
    joystick = SDL_JoystickOpen(index);
    if (joystick == nullptr) {
        SDL_JoystickDetachVirtual(index);
        return;
    }
    // Reported once at rest, so that SDL takes the centred stick as the rest
    // it returns to when the pad is unplugged.
    SDL_JoystickUpdate();
}

void TVirtualPad::Unplug() {
    if (joystick == nullptr) {
        return;
    }
    const SDL_JoystickID id = SDL_JoystickInstanceID(joystick);
    for (int index = 0; index < SDL_NumJoysticks(); ++index) {
        if (SDL_JoystickGetDeviceInstanceID(index) == id) {
            SDL_JoystickDetachVirtual(index);
            break;
        }
    }
    SDL_JoystickClose(joystick);
    joystick = nullptr;
}

void TVirtualPad::Apply(const TPadAction& action) {
    switch (action.kind) {
    case TPadAction::Button:
        if (joystick != nullptr) {
            SDL_JoystickSetVirtualButton(joystick, action.control, action.value != 0 ? 1 : 0);
        }
        break;
    case TPadAction::Axis:
        if (joystick != nullptr) {
            const int value = std::clamp(action.value, -32768, 32767);
            SDL_JoystickSetVirtualAxis(joystick, action.control, static_cast<Sint16>(value));
        }
        break;
    case TPadAction::Unplug:
        Unplug();
        break;
    case TPadAction::Plug:
        PlugIn();
        break;
    }
    SDL_JoystickUpdate();
}

// Only the controller events are wanted here; on a display (OpenGL) SDL's
// window events are nobody's, as no one types into a scripted run.
void TVirtualPad::DeliverEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        HandleGamepadEvent(event, TPadSource::VirtualOnly);
    }
}

} // namespace present
