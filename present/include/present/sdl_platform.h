// The desktop platform: the monotonic clock, sleeping, and SDL's window and
// game controller events as the source of key, mouse and focus events.
#pragma once

#include <present/virtual_pad.h>
#include <present/host_platform.h>

#include <map>
#include <memory>

namespace present {

class TSdlPlatform : public TPlatform {
public:
    // Milliseconds of the monotonic clock, wrapping at 32 bits.
    std::uint32_t Millis() override;
    void Sleep(std::uint32_t ms) override;
    // Closing the window (or a SIGINT or SIGTERM that SDL turns into its quit
    // event) is a quit request.
    void PumpEvents() override;
    bool Headless() const override { return false; }

    // Plays action on a virtual pad once frame frames have been presented;
    // the pad is plugged in at the first call.
    void SchedulePad(int frame, const TPadAction& action);

private:
    void PlayDuePadActions();

    std::unique_ptr<TVirtualPad> virtualPad;
    std::multimap<int, TPadAction> padScript;
};

} // namespace present
