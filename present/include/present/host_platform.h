/// @file
/// The platform under the facilities: the clock, sleeping and the source of key
/// and mouse events. The build's own platform (SDL's, or the browser page's) is
/// the default; tests and tools install the headless one (headless.h) or a
/// platform of their own.
///
/// The installed platform is shared: SetPlatform keeps a reference until the
/// next SetPlatform, and every facility asks Platform() afresh, so a platform
/// takes effect at the next call that needs one. Times are milliseconds of the
/// platform's own clock, wrapping at 32 bits. Everything runs on the program's
/// one thread.
///
/// A platform's PumpEvents feeds the input tables through the event functions
/// below: key codes are the virtual-key codes of present.h (present::key),
/// mouse positions pixels of the window's client area, buttons 1 left,
/// 2 middle, 3 right. The tables take events only while a screen is open
/// (opening or closing one clears them); other events, key codes outside
/// 0..255 and buttons outside 1..3 are ignored. A key already down is no new
/// press.
#pragma once

#include <cstdint>
#include <memory>

namespace present {

/// What the facilities need of the system under them.
class TPlatform {
public:
    virtual ~TPlatform() = default;
    /// The clock, milliseconds, wrapping at 32 bits.
    virtual std::uint32_t Millis() = 0;
    /// Waits ms milliseconds (a virtual clock simply advances).
    virtual void Sleep(std::uint32_t ms) = 0;
    /// Delivers pending key, mouse and focus events into the input tables.
    virtual void PumpEvents() = 0;
    /// True when there is no display: the Direct3D 7 stand-in draws into memory.
    virtual bool Headless() const = 0;
    /// False on a system without Direct3D 7: Direct3D7Renderer() is then Null and
    /// the OpenGL renderer stays current after InitPresent.
    virtual bool OffersDirect3D7() const { return true; }
    /// Called by PresentFrame just before the frame is shown, with the number of
    /// frames presented before it.
    virtual void BeforePresent(int frameIndex) { (void)frameIndex; }
    /// Called by PresentFrame after the frame is shown.
    virtual void AfterPresent() {}
    /// Called after every present that waited for the vertical blank (the screen
    /// set-up's sync test included). A platform without a display stands in for
    /// the wait here.
    virtual void VerticalBlankPassed() {}
};

/// The build's own platform: SDL's on the desktop, the page's in the browser.
std::shared_ptr<TPlatform> MakeHostPlatform();

/// Installs the platform (a Null one restores the build's own platform's place:
/// the next Platform() call makes a fresh one with MakeHostPlatform).
void SetPlatform(std::shared_ptr<TPlatform> platform);
/// The installed platform, the build's own until one is installed.
TPlatform& Platform();
/// Frames presented by PresentFrame since the program started.
int PresentedFrames();

/// The platform's side of the input tables, called from PumpEvents (or by a
/// driver between frames): the key went down.
void KeyDownEvent(int key);
/// The key went up.
void KeyUpEvent(int key);
void FocusChangeEvent(); ///< suspended or resumed: both tables cleared, buttons released
/// The pointer moved to (x, y) of the client area.
void MouseMoveEvent(int x, int y);
/// The button went down or up.
void MouseButtonEvent(int button, bool down);

} // namespace present
