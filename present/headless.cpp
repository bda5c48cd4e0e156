#include <present/headless.h>

#include "input.h"
#include "renderer.h"
#include "screen.h"

namespace present {

THeadlessPlatform::THeadlessPlatform(std::uint32_t clockStart) : clock(clockStart) {}

void THeadlessPlatform::PumpEvents() {
    const int presented = PresentedFrames();
    while (!pending.empty() && pending.begin()->first <= presented) {
        const TInputEvent event = pending.begin()->second;
        pending.erase(pending.begin());
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
        }
    }
}

void THeadlessPlatform::BeforePresent(int frameIndex) {
    if (onPresent) {
        onPresent(frameIndex);
    }
}

void THeadlessPlatform::ScheduleKey(int frame, int key, bool down) {
    pending.emplace(frame, TInputEvent{TInputEvent::Key, key, 0, down});
}

void THeadlessPlatform::ScheduleMouseMove(int frame, int x, int y) {
    pending.emplace(frame, TInputEvent{TInputEvent::MouseMove, x, y, false});
}

void THeadlessPlatform::ScheduleMouseButton(int frame, int button, bool down) {
    pending.emplace(frame, TInputEvent{TInputEvent::MouseButton, button, 0, down});
}

bool CaptureScreen(TPixmap& out) {
    const ScreenRef screen = CurrentScreen();
    return screen && screen->renderer && screen->renderer->ReadPixels(out);
}

} // namespace present
