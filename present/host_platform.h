// The platform under the facilities: the clock, sleeping and the source of key
// events. The build's own platform (SDL's, or the browser page's) is the
// default; tests and tools install the headless one.
#pragma once

#include <cstdint>
#include <memory>

namespace present {

class TPlatform {
public:
    virtual ~TPlatform() = default;
    virtual std::uint32_t Millis() = 0;
    virtual void Sleep(std::uint32_t ms) = 0;
    // Delivers pending key, mouse and focus events into the input tables (input.h).
    virtual void PumpEvents() = 0;
    // True when there is no display: the Direct3D 7 stand-in draws into memory.
    virtual bool Headless() const = 0;
    // False on a system without Direct3D 7: Direct3D7Renderer() is then Null and
    // the OpenGL renderer stays current after InitPresent.
    virtual bool OffersDirect3D7() const { return true; }
    // Called by PresentFrame just before the frame is shown, with the number of
    // frames presented before it.
    virtual void BeforePresent(int frameIndex) { (void)frameIndex; }
    // Called by PresentFrame after the frame is shown.
    virtual void AfterPresent() {}
    // Called after every present that waited for the vertical blank (the screen
    // set-up's sync test included). A platform without a display stands in for
    // the wait here.
    virtual void VerticalBlankPassed() {}
};

// The build's own platform, used until SetPlatform installs another: SDL's on
// the desktop, the page's in the browser.
std::shared_ptr<TPlatform> MakeHostPlatform();

void SetPlatform(std::shared_ptr<TPlatform> platform);
TPlatform& Platform();
// Frames presented by PresentFrame since the program started.
int PresentedFrames();

} // namespace present
