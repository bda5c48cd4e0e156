#include "web_platform.h"

#include "dom_keys.h"
#include "input.h"
#include "page.h"
#include "screen.h"
#include <present/headless.h>
#include <present/present.h>

#include <emscripten.h>
#include <emscripten/html5.h>

namespace present {

namespace {

TWebPlatform& Of(void* userData) {
    return *static_cast<TWebPlatform*>(userData);
}

// Keys the browser would act on itself while the game plays: the arrows and
// Space scroll the page.
bool PageWouldScroll(int key) {
    return key == key::Space || (key >= key::Left && key <= key::Down);
}

EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* event, void* userData) {
    const int key = VirtualKeyFromDom(event->key, event->code);
    if (key < 0) {
        return EM_FALSE;
    }
    // A held key repeats; the desktop takes only its first press too.
    if (type == EMSCRIPTEN_EVENT_KEYUP) {
        Of(userData).Queue({TWebPlatform::TEvent::KeyUp, key});
    } else if (event->repeat == 0) {
        Of(userData).Queue({TWebPlatform::TEvent::KeyDown, key});
    }
    return PageWouldScroll(key) ? EM_TRUE : EM_FALSE;
}

EM_BOOL OnFocus(int, const EmscriptenFocusEvent*, void* userData) {
    Of(userData).Queue({TWebPlatform::TEvent::Focus, 0});
    return EM_FALSE;
}

EM_BOOL OnVisibility(int, const EmscriptenVisibilityChangeEvent*, void* userData) {
    Of(userData).Queue({TWebPlatform::TEvent::Focus, 0});
    return EM_FALSE;
}

} // namespace

std::uint32_t PageMillis() {
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(emscripten_get_now()));
}

TWebPlatform::TWebPlatform() : clock(PageMillis()) {}

std::uint32_t TWebPlatform::Millis() {
    return clock.Millis(PageMillis());
}

void TWebPlatform::Sleep(std::uint32_t ms) {
    clock.Sleep(PageMillis(), ms);
}

void TWebPlatform::VerticalBlankPassed() {
    Sleep(1);
}

bool TWebPlatform::FrameDue() const {
    return clock.FrameDue(PageMillis());
}

void TWebPlatform::Listen() {
    if (listening) {
        return;
    }
    listening = true;
    const char* window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    emscripten_set_keydown_callback(window, this, EM_TRUE, OnKey);
    emscripten_set_keyup_callback(window, this, EM_TRUE, OnKey);
    emscripten_set_focus_callback(window, this, EM_TRUE, OnFocus);
    emscripten_set_blur_callback(window, this, EM_TRUE, OnFocus);
    emscripten_set_visibilitychange_callback(this, EM_TRUE, OnVisibility);
}

void TWebPlatform::PumpEvents() {
    while (!pending.empty()) {
        const TEvent event = pending.front();
        pending.pop_front();
        switch (event.kind) {
        case TEvent::KeyDown:
            KeyDownEvent(event.key);
            break;
        case TEvent::KeyUp:
            KeyUpEvent(event.key);
            break;
        case TEvent::Focus:
            FocusChangeEvent();
            break;
        }
    }
}

void ShowFrameOnPage() {
    TPixmap frame;
    if (CaptureScreen(frame)) {
        morvel_page_show(frame.rgba.data(), frame.width, frame.height,
                         CurrentScreen()->Fullscreen() ? 1 : 0);
    }
}

std::shared_ptr<TPlatform> MakeHostPlatform() {
    auto platform = std::make_shared<TWebPlatform>();
    platform->Listen();
    return platform;
}

} // namespace present
