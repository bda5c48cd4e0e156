#include <present/sdl_platform.h>

#include "gamepads.h"
#include "input.h"
#include <present/present.h>

#include <SDL.h>

#include <chrono>
#include <ctime>
#include <thread>

namespace present {

std::uint32_t TSdlPlatform::Millis() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const auto millis = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                        static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(millis);
}

void TSdlPlatform::Sleep(std::uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void TSdlPlatform::PumpEvents() {
    // Before a renderer has started SDL's video there are no window events.
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        return;
    }
    StartGamepads();
    PlayDuePadActions();
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        switch (event.type) {
        case SDL_KEYDOWN:
            // A repeat of a key held across a focus change would otherwise count
            // as a fresh press, the tables having been cleared meanwhile.
            if (event.key.repeat == 0) {
                KeyDownEvent(VirtualKeyFromSdl(event.key.keysym.sym));
            }
            break;
        case SDL_KEYUP:
            KeyUpEvent(VirtualKeyFromSdl(event.key.keysym.sym));
            break;
        case SDL_MOUSEMOTION:
            MouseMoveEvent(event.motion.x, event.motion.y);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            MouseMoveEvent(event.button.x, event.button.y);
            MouseButtonEvent(event.button.button, event.type == SDL_MOUSEBUTTONDOWN);
            break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED ||
                event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                FocusChangeEvent();
            }
            break;
        case SDL_QUIT:
            RequestQuit();
            break;
        default:
            HandleGamepadEvent(event);
            break;
        }
    }
}

void TSdlPlatform::SchedulePad(int frame, const TPadAction& action) {
    if (!virtualPad) {
        virtualPad = std::make_unique<TVirtualPad>();
    }
    padScript.emplace(frame, action);
}

void TSdlPlatform::PlayDuePadActions() {
    const int presented = PresentedFrames();
    while (!padScript.empty() && padScript.begin()->first <= presented) {
        virtualPad->Apply(padScript.begin()->second);
        padScript.erase(padScript.begin());
    }
}

std::shared_ptr<TPlatform> MakeHostPlatform() {
    return std::make_shared<TSdlPlatform>();
}

} // namespace present
