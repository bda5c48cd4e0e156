#include <present/headless.h>

#include "input.h"
#include "renderer.h"
#include "screen.h"

namespace present {

THeadlessPlatform::THeadlessPlatform(std::uint32_t clockStart) : clock(clockStart) {}

void THeadlessPlatform::PumpEvents() {
    const int presented = PresentedFrames();
    while (!pending.empty() && pending.begin()->first <= presented) {
        const InputEvent event = pending.begin()->second;
        pending.erase(pending.begin());
        switch (event.kind) {
        case InputEvent::Key:
            if (event.down) {
                KeyDownEvent(event.a);
            } else {
                KeyUpEvent(event.a);
            }
            break;
        case InputEvent::MouseMove:
            MouseMoveEvent(event.a, event.b);
            break;
        case InputEvent::MouseButton:
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
    pending.emplace(frame, InputEvent{InputEvent::Key, key, 0, down});
}

void THeadlessPlatform::ScheduleMouseMove(int frame, int x, int y) {
    pending.emplace(frame, InputEvent{InputEvent::MouseMove, x, y, false});
}

void THeadlessPlatform::ScheduleMouseButton(int frame, int button, bool down) {
    pending.emplace(frame, InputEvent{InputEvent::MouseButton, button, 0, down});
}

bool CaptureScreen(TPixmap& out) {
    const ScreenRef screen = CurrentScreen();
    return screen && screen->renderer && screen->renderer->ReadPixels(out);
}

} // namespace present
