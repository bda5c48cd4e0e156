#include "screen.h"

#include "input.h"
#include "pacing.h"
#include "renderer.h"
#include <present/host_platform.h>

#include <algorithm>
#include <cstdlib>

namespace present {

namespace {

struct ScreenModule {
    RendererRef selected;
    int selectedFlags = 0;
    ScreenRef current;
    unsigned number = 0;
    DrawState detached;
    bool closeAtExit = false;
    bool pointerVisible = true;
};

ScreenModule& Module() {
    static ScreenModule module;
    return module;
}

// Image copies remember the number they were made for, and 0 means "never
// made", so the number skips 0 when it wraps.
void AdvanceScreenNumber() {
    ScreenModule& module = Module();
    if (++module.number == 0) {
        module.number = 1;
    }
}

void CloseAtExit() {
    CloseScreen();
}

// Statics are destroyed in reverse order of their making, interleaved with the
// exit hooks, so the platform and this module are made before the hook that
// uses them is registered.
void CloseScreenAtExit() {
    ScreenModule& module = Module();
    Platform();
    if (!module.closeAtExit) {
        module.closeAtExit = std::atexit(CloseAtExit) == 0;
    }
}

} // namespace

void SelectRenderer(const RendererRef& renderer, int flags) {
    CloseScreen();
    Module().selected = renderer;
    Module().selectedFlags = flags;
}

RendererRef CurrentRenderer() {
    const ScreenModule& module = Module();
    return module.current ? module.current->renderer : module.selected;
}

std::string CurrentRendererName() {
    const RendererRef renderer = CurrentRenderer();
    return renderer ? std::string(renderer->Name()) : std::string();
}

ScreenRef CurrentScreen() {
    return Module().current;
}

int CurrentScreenNumber() {
    return static_cast<int>(Module().number);
}

DrawState& State() {
    ScreenModule& module = Module();
    return module.current ? module.current->state : module.detached;
}

ScreenRef OpenScreen(int width, int height, int depth, int refreshHz, int flags) {
    ScreenModule& module = Module();
    CloseScreenAtExit();
    CloseScreen();
    if (!module.selected || width <= 0 || height <= 0) {
        return nullptr;
    }
    auto screen = std::make_shared<TScreen>();
    screen->width = width;
    screen->height = height;
    screen->depth = depth;
    screen->refreshHz = std::max(refreshHz, 0);
    screen->flags = flags | module.selectedFlags;
    screen->renderer = module.selected;
    AdvanceScreenNumber();
    screen->number = CurrentScreenNumber();
    if (!screen->renderer->Open(*screen)) {
        return nullptr;
    }

    ResetDrawState(screen);
    module.current = screen;
    ApplyDrawState(screen->state);
    // Both buffers of a double-buffered screen start black.
    for (int i = 0; i < 2; ++i) {
        screen->renderer->Clear(0, 0, 0);
        ShowFrame(*screen, false);
    }
    SetUpPacing(*screen);
    if (screen->Fullscreen()) {
        screen->renderer->MovePointer(width / 2, height / 2);
    }
    StartInput();
    return screen;
}

void CloseScreen() {
    ScreenModule& module = Module();
    if (!module.current) {
        return;
    }
    StopInput();
    const ScreenRef screen = std::move(module.current);
    module.current = nullptr;
    screen->renderer->Close();
    AdvanceScreenNumber();
}

void SetPointerVisible(int visible) {
    Module().pointerVisible = visible != 0;
    if (const RendererRef renderer = CurrentRenderer()) {
        renderer->SetPointerVisible(visible != 0);
    }
}

int PointerVisible() {
    return Module().pointerVisible ? 1 : 0;
}

} // namespace present
