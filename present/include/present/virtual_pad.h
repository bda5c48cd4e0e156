/// @file
/// A game controller that exists only in this process: SDL's virtual joystick
/// with a standard controller's buttons and axes, which SDL's game controller
/// layer reports exactly as it reports a plugged-in pad. Scripted runs press
/// its buttons, move its stick and unplug it. The browser build has no SDL:
/// there the pad is never plugged in, as where SDL refuses it.
#pragma once

/// SDL's joystick, kept opaque so that this header needs no SDL header.
struct _SDL_Joystick;

namespace present {

/// The controls scripts name, numbered as SDL's game controller numbers them
/// (SDL_GameControllerButton and SDL_GameControllerAxis; virtual_pad.cpp
/// checks), so that a script reader needs no SDL header.
namespace pad {
constexpr int kA = 0;      ///< Button A.
constexpr int kB = 1;      ///< Button B.
constexpr int kX = 2;      ///< Button X.
constexpr int kY = 3;      ///< Button Y.
constexpr int kBack = 4;   ///< Button Back.
constexpr int kStart = 6;  ///< Button Start.
constexpr int kUp = 11;    ///< The d-pad's up.
constexpr int kDown = 12;  ///< The d-pad's down.
constexpr int kLeft = 13;  ///< The d-pad's left.
constexpr int kRight = 14; ///< The d-pad's right.
constexpr int kLeftX = 0;  ///< The left stick's axis across.
constexpr int kLeftY = 1;  ///< The left stick's axis down.
} // namespace pad

/// One thing done to the virtual pad.
struct TPadAction {
    /// What is done.
    enum TKind {
        Button, ///< A button goes down or up.
        Axis,   ///< An axis moves.
        Unplug, ///< The pad is unplugged.
        Plug,   ///< The pad is plugged in again.
    };
    TKind kind = Button; ///< What is done.
    int control = 0;     ///< Button: a pad:: button; Axis: pad::kLeftX or pad::kLeftY
    int value = 0;       ///< Button: 1 down, 0 up; Axis: -32768 to 32767
};

/// The pad itself; made by the platforms at the first scheduled action.
class TVirtualPad {
public:
    /// Starts SDL's game controllers and plugs the pad in (where SDL refuses
    /// it, there is no pad and actions do nothing). A scripted pad is heard
    /// whatever window has the keyboard focus: no one sits at the window.
    TVirtualPad();
    ~TVirtualPad(); ///< unplugs it
    TVirtualPad(const TVirtualPad&) = delete;
    TVirtualPad& operator=(const TVirtualPad&) = delete;

    /// Does action to the pad. SDL reports the change at once, into its event queue, so that a
    /// press and a release given one after the other both arrive. Buttons and axes of an unplugged
    /// pad are ignored.
    void Apply(const TPadAction& action);

    /// Takes in the controller events SDL has queued, this pad's alone (no one
    /// plays a scripted run with a pad of the machine), into the key tables.
    void DeliverEvents();

private:
    void PlugIn();
    void Unplug();

    _SDL_Joystick* joystick = nullptr;
};

} // namespace present
