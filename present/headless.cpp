#include <present/headless.h>

#include "input.h"
#include "renderer.h"
#include "screen.h"

namespace present {

THeadlessPlatform::THeadlessPlatform(std::uint32_t clockStart) : clock(clockStart) {}

// The pad's removal is taken in before the platform goes, so that no
// controller stays open for the next run in this process.
THeadlessPlatform::~THeadlessPlatform() {
    if (virtualPad) {
        virtualPad.reset();
        TakePadEvents();
    }
}

void THeadlessPlatform::PumpEvents() {
    TakePadEvents();
    const int presented = PresentedFrames();
    while (!pending.empty() && pending.begin()->first <= presented) {
        const TInputEvent event = pending.begin()->second;
        pending.erase(pending.begin());
        Deliver(event);
    }
}

void THeadlessPlatform::Deliver(const TInputEvent& event) {
    switch (event.kind) {
    case TInputEvent::Key:
        if (event.down) {
            KeyDownEvent(event.a);
        } else {
            KeyUpEvent(event.a);
        }
        break;
    case TInputEvent::MouseMove:
        MouseMoveEvent(event.a, event.b);
        break;
    case TInputEvent::MouseButton:
        MouseButtonEvent(event.a, event.down);
        break;
    case TInputEvent::Pad:
        virtualPad->Apply(event.pad);
        TakePadEvents();
        break;
    }
}

void THeadlessPlatform::TakePadEvents() {
    if (virtualPad) {
        virtualPad->DeliverEvents();
    }
}

void THeadlessPlatform::BeforePresent(int frameIndex) {
    if (onPresent) {
        onPresent(frameIndex);
    }
}

void THeadlessPlatform::ScheduleKey(int frame, int key, bool down) {
    pending.emplace(frame, TInputEvent{TInputEvent::Key, key, 0, down, {}});
}

void THeadlessPlatform::ScheduleMouseMove(int frame, int x, int y) {
    pending.emplace(frame, TInputEvent{TInputEvent::MouseMove, x, y, false, {}});
}

void THeadlessPlatform::ScheduleMouseButton(int frame, int button, bool down) {
    pending.emplace(frame, TInputEvent{TInputEvent::MouseButton, button, 0, down, {}});
}

void THeadlessPlatform::SchedulePad(int frame, const TPadAction& action) {
    if (!virtualPad) {
        virtualPad = std::make_unique<TVirtualPad>();
    }
    pending.emplace(frame, TInputEvent{TInputEvent::Pad, 0, 0, false, action});
}

bool CaptureScreen(TPixmap& out) {
    const ScreenRef screen = CurrentScreen();
    return screen && screen->renderer && screen->renderer->ReadPixels(out);
}

} // namespace present
