// The headless platform: a virtual clock that starts at a given value and
// advances only when the program sleeps, key and mouse events delivered at
// given frames, and frames drawn by the Direct3D 7 stand-in into memory.
//
// Install it with SetPlatform (host_platform.h) before opening a screen: time
// and input then come only from what the program does and schedules, display
// or not. Frames count
// from 0, the number of frames presented before (PresentedFrames()); events
// scheduled for a frame reach the input tables at the first PumpEvents after
// that many frames have been presented, in the order they were scheduled.
// Clock values are milliseconds and wrap at 32 bits.
#pragma once

#include "host_platform.h"
#include "image.h"
#include <present/virtual_pad.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace present {

class THeadlessPlatform : public TPlatform {
public:
    explicit THeadlessPlatform(std::uint32_t clockStart = 1000000);
    ~THeadlessPlatform() override;

    std::uint32_t Millis() override { return clock; }
    void Sleep(std::uint32_t ms) override { clock += ms; }
    void PumpEvents() override;
    bool Headless() const override { return true; }
    void BeforePresent(int frameIndex) override;
    // There is no vertical blank to wait for: a synced present takes 1 ms.
    void VerticalBlankPassed() override { clock += 1; }

    // Schedules a key event; it is delivered once frame frames have been presented.
    void ScheduleKey(int frame, int key, bool down);
    // Mouse events, delivered like the keys (in scheduling order within a frame).
    void ScheduleMouseMove(int frame, int x, int y);
    void ScheduleMouseButton(int frame, int button, bool down);
    // Pad actions, played on a virtual pad plugged in at the first call and
    // delivered through SDL's game controller events like a real pad's (in
    // scheduling order with the keys and the mouse).
    void SchedulePad(int frame, const TPadAction& action);
    // Called with the frame index before each presented frame is shown.
    std::function<void(int frameIndex)> onPresent;

private:
    struct InputEvent {
        enum Kind { Key, MouseMove, MouseButton, Pad } kind;
        int a; // key, x or button
        int b; // y
        bool down;
        TPadAction pad;
    };
    void Deliver(const InputEvent& event);
    void TakePadEvents();

    std::uint32_t clock;
    std::multimap<int, InputEvent> pending;
    std::unique_ptr<TVirtualPad> virtualPad;
};

// Reads the frame being drawn on the current screen (before it is presented),
// as RGBA of the logical size; false when no screen is open.
bool CaptureScreen(TPixmap& out);

} // namespace present
