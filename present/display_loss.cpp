#include "renderer_window.h"

#include <X11/Xlib.h>

#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace present {

namespace {

// Xlib calls this when the connection to the X server breaks (the server ended
// or the session closed). Xlib's own handler calls exit(), whose hooks then
// close the screen through a connection that no longer exists: SDL waits there
// for an event that never comes, spinning, deaf to SIGTERM. Nothing can be
// shown or restored on a display that is gone, so the program ends at once.
int EndOnLostDisplay(Display* display) {
    std::fflush(nullptr);
    std::fprintf(stderr, "%s: lost the display %s: the X server closed the connection\n",
                 program_invocation_short_name, display != nullptr ? DisplayString(display) : "");
    _exit(1);
}

} // namespace

void EndWhenTheDisplayIsLost() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver != nullptr && SDL_strcmp(driver, "x11") == 0) {
        XSetIOErrorHandler(EndOnLostDisplay);
    }
}

} // namespace present
