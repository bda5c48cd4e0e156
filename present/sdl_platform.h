// The desktop platform: the monotonic clock, sleeping, and SDL's window events
// as the source of key, mouse and focus events.
#pragma once

#include "host_platform.h"

namespace present {

class TSdlPlatform : public TPlatform {
public:
    // Milliseconds of the monotonic clock, wrapping at 32 bits.
    std::uint32_t Millis() override;
    void Sleep(std::uint32_t ms) override;
    // Closing the window arrives as a press and release of Escape, so the game
    // ends the way the player would end it.
    void PumpEvents() override;
    bool Headless() const override { return false; }
};

} // namespace present
