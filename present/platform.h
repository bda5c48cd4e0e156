// The platform under the facilities: the clock, sleeping and the source of key
// events. The SDL platform is the default; tests and tools install the
// headless one.
#pragma once

#include <cstdint>
#include <memory>

namespace present {

class TPlatform {
public:
    virtual ~TPlatform() = default;
    virtual std::uint32_t Millis() = 0;
    virtual void Sleep(std::uint32_t ms) = 0;
    // Delivers pending key and focus events into the key tables (input.h).
    virtual void PumpEvents() = 0;
    // True when there is no display: the Direct3D 7 stand-in draws into memory.
    virtual bool Headless() const = 0;
    // Called by PresentFrame just before the frame is shown, with the number of
    // frames presented before it.
    virtual void BeforePresent(int frameIndex) { (void)frameIndex; }
    // Called by PresentFrame after the frame is shown.
    virtual void AfterPresent() {}
};

void SetPlatform(std::shared_ptr<TPlatform> platform);
TPlatform& Platform();
// Frames presented by PresentFrame since the program started.
int PresentedFrames();

} // namespace present
