#include "pad_keys.h"

#include "input.h"
#include <present/present.h>

#include <SDL_gamecontroller.h>

#include <array>
#include <cstdint>
#include <map>

namespace present {

namespace {

// The stick's two directions are controls of their own, after the buttons.
constexpr int kStickLeft = SDL_CONTROLLER_BUTTON_MAX;
constexpr int kStickRight = SDL_CONTROLLER_BUTTON_MAX + 1;
static_assert(kStickRight < 32, "a controller's controls are bits of 32");

struct TPadBinding {
    int control;
    int key;
};

// A control may hold two keys: the game's and the d-pad's own for the menu.
constexpr TPadBinding kBindings[] = {
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, key::Left},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, key::PadLeft},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, key::Right},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, key::PadRight},
    {SDL_CONTROLLER_BUTTON_DPAD_UP, key::PadUp},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, key::PadDown},
    {kStickLeft, key::Left},
    {kStickRight, key::Right},
    {SDL_CONTROLLER_BUTTON_A, key::Up},
    {SDL_CONTROLLER_BUTTON_X, key::Space},
    {SDL_CONTROLLER_BUTTON_START, key::Enter},
};

struct TPads {
    std::map<int, std::uint32_t> controls; // per controller, the controls held
    std::array<bool, kKeyCount> held{};    // the keys the pads hold, as last told
};

TPads& Pads() {
    static TPads pads;
    return pads;
}

std::uint32_t Bit(int control) {
    return std::uint32_t{1} << control;
}

// Tells the key tables of every key whose hold by the pads changed.
void UpdateKeys() {
    TPads& pads = Pads();
    std::array<bool, kKeyCount> wanted{};
    for (const auto& [controller, controls] : pads.controls) {
        for (const TPadBinding& binding : kBindings) {
            wanted[binding.key] = wanted[binding.key] || (controls & Bit(binding.control)) != 0;
        }
    }
    for (const TPadBinding& binding : kBindings) {
        if (wanted[binding.key] != pads.held[binding.key]) {
            pads.held[binding.key] = wanted[binding.key];
            PadKeyEvent(binding.key, wanted[binding.key]);
        }
    }
}

std::uint32_t SetControl(int controller, int control, bool on) {
    std::uint32_t& controls = Pads().controls[controller];
    controls = on ? controls | Bit(control) : controls & ~Bit(control);
    UpdateKeys();
    return controls;
}

} // namespace

void PadButtonEvent(int controller, int button, bool down) {
    if (button < 0 || button >= SDL_CONTROLLER_BUTTON_MAX) {
        return;
    }
    const std::uint32_t quitChord =
        Bit(SDL_CONTROLLER_BUTTON_BACK) | Bit(SDL_CONTROLLER_BUTTON_START);
    const std::uint32_t controls = SetControl(controller, button, down);
    if (down && (controls & quitChord) == quitChord) {
        RequestQuit();
    }
}

void PadAxisEvent(int controller, int axis, int value) {
    if (axis != SDL_CONTROLLER_AXIS_LEFTX) {
        return;
    }
    SetControl(controller, kStickLeft, value < -kStickDeadZone);
    SetControl(controller, kStickRight, value > kStickDeadZone);
}

void PadRemovedEvent(int controller) {
    Pads().controls.erase(controller);
    UpdateKeys();
}

} // namespace present
