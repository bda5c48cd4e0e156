// The stand-in's frames on the page's canvas: each present converts the
// frame buffer's 0x00RRGGBB pixels into the canvas's RGBA bytes and puts them
// there. The page scales the canvas in full screen; the pointer cannot be
// moved by a page.
#include "direct3d7/display_output.h"
#include "page.h"

#include <vector>

namespace present {

struct TDisplayOutput::TSurface {
    int width = 0;
    int height = 0;
    bool fullscreen = false;
    std::vector<std::uint8_t> rgba;
};

TDisplayOutput::TDisplayOutput() : surface(std::make_unique<TSurface>()) {}

TDisplayOutput::~TDisplayOutput() {
    Close();
}

bool TDisplayOutput::Open(const TScreen& screen) {
    TSurface& s = *surface;
    s.width = screen.width;
    s.height = screen.height;
    s.fullscreen = screen.Fullscreen();
    s.rgba.assign(static_cast<std::size_t>(s.width) * s.height * 4, 255);
    return true;
}

// The canvas keeps the last frame shown; the page tells what came after it.
void TDisplayOutput::Close() {
    surface->rgba = {};
    surface->width = surface->height = 0;
}

void TDisplayOutput::Show(const TFrameBuffer& frame, bool vsync) {
    (void)vsync;
    TSurface& s = *surface;
    if (frame.width != s.width || frame.height != s.height || s.rgba.empty()) {
        return;
    }
    std::uint8_t* out = s.rgba.data();
    for (const std::uint32_t pixel : frame.pixels) {
        out[0] = static_cast<std::uint8_t>(pixel >> 16);
        out[1] = static_cast<std::uint8_t>(pixel >> 8);
        out[2] = static_cast<std::uint8_t>(pixel);
        out += 4; // alpha stays opaque
    }
    morvel_page_show(s.rgba.data(), s.width, s.height, s.fullscreen ? 1 : 0);
}

void TDisplayOutput::SetPointerVisible(bool visible) {
    if (!surface->rgba.empty()) {
        morvel_page_pointer(visible ? 1 : 0);
    }
}

void TDisplayOutput::MovePointer(int x, int y) {
    (void)x, (void)y;
}

} // namespace present
