// The desktop platform: the monotonic clock, sleeping, and SDL's window events
// as the source of key, mouse and focus events.
#pragma once

#include <present/host_platform.h>

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
};

} // namespace present
