// The browser's platform: the page's clock (page_clock.h) and its keyboard and
// focus events; the Direct3D 7 stand-in shows its frames on the page's canvas.
#pragma once

#include "page_clock.h"
#include <present/host_platform.h>

#include <cstdint>
#include <deque>

namespace present {

class TWebPlatform : public TPlatform {
public:
    TWebPlatform();

    std::uint32_t Millis() override;
    void Sleep(std::uint32_t ms) override;
    void PumpEvents() override;
    // The page's canvas is the display.
    bool Headless() const override { return false; }
    // There is no vertical blank to wait for: a synced present takes 1 ms, so
    // the full-screen sync test finds none and the pacing keeps the rate.
    void VerticalBlankPassed() override;

    // True once the next frame's time has come (TPageClock::FrameDue).
    bool FrameDue() const;

    // Listens to the page's keys, focus and visibility (once).
    void Listen();

    struct TEvent {
        enum TKind { KeyDown, KeyUp, Focus } kind;
        int key;
    };
    // Queued by the page's event handlers until the next PumpEvents.
    void Queue(TEvent event) { pending.push_back(event); }

private:
    TPageClock clock;
    bool listening = false;
    std::deque<TEvent> pending;
};

// The milliseconds of the page's clock, wrapping at 32 bits.
std::uint32_t PageMillis();

// Shows the frame being drawn on the current screen on the page's canvas, for
// a screen drawn into memory (nothing when no screen is open).
void ShowFrameOnPage();

} // namespace present
