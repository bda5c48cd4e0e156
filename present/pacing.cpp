#include "pacing.h"

#include "renderer.h"
#include <present/host_platform.h>

#include <cstdint>
#include <cstdlib>

namespace present {

namespace {

constexpr std::uint32_t kSyncTestMillis = 1000;
constexpr int kSyncHitsNeeded = 3;

int presentedFrames = 0;

// The clock wraps, so differences are taken modulo 2^32 and read as signed.
std::int32_t MillisSince(std::uint32_t start) {
    return static_cast<std::int32_t>(Platform().Millis() - start);
}

// True when presenting with vertical sync takes one refresh period, so the
// display itself holds the rate.
bool VerticalSyncHolds(TScreen& screen) {
    const std::uint32_t start = Platform().Millis();
    int hits = 0;
    while (MillisSince(start) < static_cast<std::int32_t>(kSyncTestMillis)) {
        const std::uint32_t before = Platform().Millis();
        ShowFrame(screen, true);
        if (std::abs(MillisSince(before) - screen.period) <= 1) {
            if (++hits == kSyncHitsNeeded) {
                return true;
            }
        } else {
            hits = 0;
        }
    }
    return false;
}

// Waits for the frame's slot in the schedule. A late frame moves the schedule
// to now instead of being made up by shorter frames later.
void WaitForSlot(TScreen& screen) {
    screen.target += static_cast<std::uint32_t>(screen.period);
    screen.accumulator += screen.remainder;
    if (screen.accumulator >= screen.refreshHz) {
        screen.accumulator -= screen.refreshHz;
        screen.target += 1;
    }
    const std::uint32_t now = Platform().Millis();
    const auto wait = static_cast<std::int32_t>(screen.target - now);
    if (wait > 0) {
        Platform().Sleep(static_cast<std::uint32_t>(wait));
    } else {
        screen.target = now;
    }
}

} // namespace

void ShowFrame(TScreen& screen, bool vsync) {
    screen.renderer->Present(vsync);
    if (vsync) {
        Platform().VerticalBlankPassed();
    }
}

void SetUpPacing(TScreen& screen) {
    const int hz = screen.refreshHz > 0 ? screen.refreshHz : 0;
    screen.period = hz > 0 ? 1000 / hz : 0;
    screen.remainder = 1000 - screen.period * hz;
    if (hz == 0) {
        screen.softwarePacing = false;
    } else if (!screen.Fullscreen()) {
        screen.softwarePacing = true;
    } else {
        screen.softwarePacing = !VerticalSyncHolds(screen);
    }
    screen.accumulator = 0;
    screen.target = Platform().Millis();
}

void PresentFrame(int sync) {
    const ScreenRef screen = CurrentScreen();
    if (!screen) {
        return;
    }
    bool vsync = sync > 0;
    if (sync < 0) {
        if (screen->softwarePacing) {
            WaitForSlot(*screen);
            vsync = false;
        } else {
            vsync = screen->Fullscreen();
        }
    }
    Platform().BeforePresent(presentedFrames);
    ShowFrame(*screen, vsync);
    ++presentedFrames;
    Platform().AfterPresent();
}

int PresentedFrames() {
    return presentedFrames;
}

bool GetPacingSchedule(TPacingSchedule& out) {
    const ScreenRef screen = CurrentScreen();
    if (!screen) {
        return false;
    }
    out.target = screen->target;
    out.accumulator = screen->accumulator;
    return true;
}

bool SetPacingSchedule(const TPacingSchedule& schedule) {
    const ScreenRef screen = CurrentScreen();
    if (!screen) {
        return false;
    }
    screen->target = schedule.target;
    screen->accumulator = schedule.accumulator;
    return true;
}

} // namespace present
