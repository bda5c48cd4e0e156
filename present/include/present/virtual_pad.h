// A game controller that exists only in this process: SDL's virtual joystick
// with a standard controller's buttons and axes, which SDL's game controller
// layer reports exactly as it reports a plugged-in pad. Scripted runs press
// its buttons, move its stick and unplug it. The browser build has no SDL:
// there the pad is never plugged in, as where SDL refuses it.
#pragma once

// SDL's joystick, kept opaque so that this header needs no SDL header.
struct _SDL_Joystick;

namespace present {

// The controls scripts name, numbered as SDL's game controller numbers them
// (SDL_GameControllerButton and SDL_GameControllerAxis; virtual_pad.cpp
// checks), so that a script reader needs no SDL header.
namespace pad {
constexpr int A = 0, B = 1, X = 2, Y = 3, Back = 4, Start = 6;
constexpr int Up = 11, Down = 12, Left = 13, Right = 14;
constexpr int LeftX = 0, LeftY = 1;
} // namespace pad

struct TPadAction {
    enum Kind { Button, Axis, Unplug, Plug };
    Kind kind = Button;
    int control = 0; // Button: a pad:: button; Axis: pad::LeftX or pad::LeftY
    int value = 0;   // Button: 1 down, 0 up; Axis: -32768 to 32767
};

class TVirtualPad {
public:
    // Starts SDL's game controllers and plugs the pad in (where SDL refuses
    // it, there is no pad and actions do nothing). A scripted pad is heard
    // whatever window has the keyboard focus: no one sits at the window.
    TVirtualPad();
    ~TVirtualPad(); // unplugs it
    TVirtualPad(const TVirtualPad&) = delete;
    TVirtualPad& operator=(const TVirtualPad&) = delete;

    // SDL reports the change at once, into its event queue, so that a press
    // and a release given one after the other both arrive. Buttons and axes
    // of an unplugged pad are ignored.
    void Apply(const TPadAction& action);

    // Takes in the controller events SDL has queued, this pad's alone (no one
    // plays a scripted run with a pad of the machine), into the key tables.
    void DeliverEvents();

private:
    void PlugIn();
    void Unplug();

    _SDL_Joystick* joystick = nullptr;
};

} // namespace present
