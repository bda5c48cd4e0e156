/// @file
/// A game controller that exists only in this process: SDL's virtual joystick
/// with a standard controller's buttons and axes, which SDL's game controller
/// layer reports exactly as it reports a plugged-in pad. Scripted runs press
/// its buttons, move its stick and unplug it.
#pragma once

/// SDL's joystick, kept opaque so that this header needs no SDL header.
struct _SDL_Joystick;

namespace present {

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
    int control = 0;     ///< Button: an SDL_GameControllerButton; Axis: an SDL_GameControllerAxis
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

private:
    void PlugIn();
    void Unplug();

    _SDL_Joystick* joystick = nullptr;
};

} // namespace present
