#include "headless.h"

#include "input.h"
#include "renderer.h"
#include "screen.h"

namespace present {

THeadlessPlatform::THeadlessPlatform(std::uint32_t clockStart) : clock(clockStart) {}

void THeadlessPlatform::PumpEvents() {
    const int presented = PresentedFrames();
    while (!pending.empty() && pending.begin()->first <= presented) {
        const KeyEvent event = pending.begin()->second;
        pending.erase(pending.begin());
        if (event.down) {
            KeyDownEvent(event.key);
        } else {
            KeyUpEvent(event.key);
        }
    }
}

void THeadlessPlatform::BeforePresent(int frameIndex) {
    if (onPresent) {
        onPresent(frameIndex);
    }
}

void THeadlessPlatform::ScheduleKey(int frame, int key, bool down) {
    pending.emplace(frame, KeyEvent{key, down});
}

bool CaptureScreen(TPixmap& out) {
    const ScreenRef screen = CurrentScreen();
    return screen && screen->renderer && screen->renderer->ReadPixels(out);
}

} // namespace present
