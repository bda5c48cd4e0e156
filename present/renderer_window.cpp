#include "renderer_window.h"

#include <present/host_platform.h>
#include <present/present.h>

#include <algorithm>
#include <string>

namespace present {

namespace {

struct TWindowTitle {
    std::string text = "Morvel (Prototype)";
    // The id of the latest window opened: SDL never reuses ids, so a window
    // closed since is simply not found.
    Uint32 latestWindow = 0;
};

TWindowTitle& Title() {
    static TWindowTitle title;
    return title;
}

SDL_Window* Remember(SDL_Window* window) {
    if (window != nullptr) {
        Title().latestWindow = SDL_GetWindowID(window);
    }
    return window;
}

Uint32 PixelFormatForDepth(int depth) {
    switch (depth) {
    case 15:
        return SDL_PIXELFORMAT_RGB555;
    case 16:
        return SDL_PIXELFORMAT_RGB565;
    case 24:
        return SDL_PIXELFORMAT_RGB24;
    default:
        return SDL_PIXELFORMAT_RGB888;
    }
}

// The display mode of exactly the screen's size, or false when the display has
// none. The refresh rate and depth are matched where the display offers them.
bool FindExactMode(const TScreen& screen, SDL_DisplayMode& mode) {
    SDL_DisplayMode wanted{};
    wanted.w = screen.width;
    wanted.h = screen.height;
    wanted.refresh_rate = screen.refreshHz;
    wanted.format = PixelFormatForDepth(screen.depth);
    if (SDL_GetClosestDisplayMode(0, &wanted, &mode) == nullptr) {
        return false;
    }
    return mode.w == screen.width && mode.h == screen.height;
}

SDL_Window* CreateWindow(const TScreen& screen, Uint32 flags) {
    return Remember(SDL_CreateWindow(Title().text.c_str(), SDL_WINDOWPOS_CENTERED,
                                     SDL_WINDOWPOS_CENTERED, screen.width, screen.height, flags));
}

} // namespace

bool StartVideo() {
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
        return true;
    }
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        return false;
    }
    EndWhenTheDisplayIsLost();
    return true;
}

std::string MissingDisplay() {
    if (Platform().Headless()) {
        return {};
    }
    if (!StartVideo()) {
        return std::string("no display: SDL's video cannot start (") + SDL_GetError() + ")";
    }
    // SDL falls back to these when it finds no display; a user who asks for one
    // by name gets it.
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* chosen = SDL_getenv("SDL_VIDEODRIVER");
    if (driver == nullptr || (chosen != nullptr && chosen[0] != '\0')) {
        return {};
    }
    const std::string name = driver;
    if (name != "offscreen" && name != "dummy") {
        return {};
    }
    return "no display: neither DISPLAY nor WAYLAND_DISPLAY names one that can be opened";
}

SDL_Window* OpenScreenWindow(const TScreen& screen, Uint32 extraFlags) {
    if (screen.width < 1 || screen.height < 1 || !StartVideo()) {
        return nullptr;
    }
    if (!screen.Fullscreen()) {
        return CreateWindow(screen, extraFlags);
    }
    SDL_DisplayMode mode{};
    if (FindExactMode(screen, mode)) {
        SDL_Window* window = CreateWindow(screen, extraFlags | SDL_WINDOW_FULLSCREEN);
        if (window != nullptr && SDL_SetWindowDisplayMode(window, &mode) == 0) {
            return window;
        }
        if (window != nullptr) {
            SDL_DestroyWindow(window);
        }
    }
    // Made at the desktop's size from the start: without a window manager to
    // enlarge it, a full-screen window would keep the size it was made with.
    SDL_DisplayMode desktop{};
    if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) {
        return nullptr;
    }
    return Remember(
        SDL_CreateWindow(Title().text.c_str(), SDL_WINDOWPOS_UNDEFINED_DISPLAY(0),
                         SDL_WINDOWPOS_UNDEFINED_DISPLAY(0), desktop.w, desktop.h,
                         extraFlags | SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS));
}

void SetWindowTitle(const std::string& title) {
    Title().text = title;
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        return;
    }
    if (SDL_Window* window = SDL_GetWindowFromID(Title().latestWindow)) {
        SDL_SetWindowTitle(window, title.c_str());
    }
}

SDL_Rect LetterboxRect(int logicalWidth, int logicalHeight, int outputWidth, int outputHeight) {
    if (logicalWidth < 1 || logicalHeight < 1 || outputWidth < 1 || outputHeight < 1) {
        return SDL_Rect{0, 0, std::max(outputWidth, 0), std::max(outputHeight, 0)};
    }
    // Compare the aspect ratios in integers so exact fits stay exact.
    const long long wide = static_cast<long long>(outputWidth) * logicalHeight;
    const long long tall = static_cast<long long>(outputHeight) * logicalWidth;
    SDL_Rect rect{0, 0, outputWidth, outputHeight};
    if (wide > tall) {
        rect.w = static_cast<int>(tall / logicalHeight);
        rect.x = (outputWidth - rect.w) / 2;
    } else if (tall > wide) {
        rect.h = static_cast<int>(wide / logicalWidth);
        rect.y = (outputHeight - rect.h) / 2;
    }
    return rect;
}

} // namespace present
