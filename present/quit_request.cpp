#include <present/host_platform.h>
#include <present/present.h>

#include <csignal>

namespace present {

namespace {

volatile std::sig_atomic_t quitRequested = 0;

extern "C" void OnQuitSignal(int) {
    quitRequested = 1;
}

} // namespace

// Installed before SDL's video starts: SDL then keeps these handlers instead of
// its own, so a signal is seen whether or not a window is open.
void WatchQuitRequests() {
    quitRequested = 0;
    std::signal(SIGINT, OnQuitSignal);
    std::signal(SIGTERM, OnQuitSignal);
}

void RequestQuit() {
    quitRequested = 1;
}

int QuitRequested() {
    Platform().PumpEvents();
    return quitRequested != 0 ? 1 : 0;
}

} // namespace present
