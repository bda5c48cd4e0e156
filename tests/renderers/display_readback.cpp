#include "display_readback.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace present::testing {

bool ReadWindowFromDisplay(int width, int height, TPixmap& out) {
    for (Uint32 id = 1; id < 256; ++id) {
        SDL_Window* window = SDL_GetWindowFromID(id);
        int w = 0;
        int h = 0;
        if (window == nullptr) {
            continue;
        }
        SDL_GetWindowSize(window, &w, &h);
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        if (w != width || h != height || !SDL_GetWindowWMInfo(window, &info) ||
            info.subsystem != SDL_SYSWM_X11) {
            continue;
        }
        XSync(info.info.x11.display, False);
        XImage* image = XGetImage(info.info.x11.display, info.info.x11.window, 0, 0, width, height,
                                  AllPlanes, ZPixmap);
        if (image == nullptr) {
            return false;
        }
        out.width = width;
        out.height = height;
        out.rgba.assign(static_cast<std::size_t>(width) * height * 4, 255);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const unsigned long p = XGetPixel(image, x, y);
                std::uint8_t* q = &out.rgba[(static_cast<std::size_t>(y) * width + x) * 4];
                q[0] = static_cast<std::uint8_t>(p >> 16);
                q[1] = static_cast<std::uint8_t>(p >> 8);
                q[2] = static_cast<std::uint8_t>(p);
            }
        }
        XDestroyImage(image);
        return true;
    }
    return false;
}

} // namespace present::testing
