#include "input.h"
#include <present/present.h>

#include <SDL.h>

namespace present {

namespace {

struct TKeyPair {
    int sdl;
    int virtualKey;
};

// Windows virtual-key codes of keys whose SDL codes do not follow a run.
constexpr TKeyPair kSpecialKeys[] = {
    {SDLK_BACKSPACE, 8},
    {SDLK_TAB, 9},
    {SDLK_RETURN, key::Enter},
    {SDLK_KP_ENTER, key::Enter},
    {SDLK_LSHIFT, 16},
    {SDLK_RSHIFT, 16},
    {SDLK_LCTRL, 17},
    {SDLK_RCTRL, 17},
    {SDLK_LALT, 18},
    {SDLK_RALT, 18},
    {SDLK_PAUSE, 19},
    {SDLK_CAPSLOCK, 20},
    {SDLK_ESCAPE, key::Escape},
    {SDLK_SPACE, key::Space},
    {SDLK_PAGEUP, 33},
    {SDLK_PAGEDOWN, 34},
    {SDLK_END, 35},
    {SDLK_HOME, 36},
    {SDLK_LEFT, key::Left},
    {SDLK_UP, key::Up},
    {SDLK_RIGHT, key::Right},
    {SDLK_DOWN, key::Down},
    {SDLK_INSERT, 45},
    {SDLK_DELETE, 46},
    {SDLK_KP_0, 96},
    {SDLK_KP_MULTIPLY, 106},
    {SDLK_KP_PLUS, 107},
    {SDLK_KP_MINUS, 109},
    {SDLK_KP_PERIOD, 110},
    {SDLK_KP_DIVIDE, 111},
    {SDLK_SEMICOLON, 186},
    {SDLK_EQUALS, 187},
    {SDLK_COMMA, 188},
    {SDLK_MINUS, 189},
    {SDLK_PERIOD, 190},
    {SDLK_SLASH, 191},
    {SDLK_BACKQUOTE, 192},
    {SDLK_LEFTBRACKET, 219},
    {SDLK_BACKSLASH, 220},
    {SDLK_RIGHTBRACKET, 221},
    {SDLK_QUOTE, 222},
};

int SpecialKey(int sdlKeycode) {
    for (const TKeyPair& pair : kSpecialKeys) {
        if (pair.sdl == sdlKeycode) return pair.virtualKey;
    }
    return -1;
}

} // namespace

int VirtualKeyFromSdl(int sdlKeycode) {
    if (sdlKeycode >= SDLK_0 && sdlKeycode <= SDLK_9) {
        return '0' + (sdlKeycode - SDLK_0);
    }
    if (sdlKeycode >= SDLK_a && sdlKeycode <= SDLK_z) {
        return 'A' + (sdlKeycode - SDLK_a);
    }
    if (sdlKeycode >= SDLK_KP_1 && sdlKeycode <= SDLK_KP_9) {
        return 97 + (sdlKeycode - SDLK_KP_1);
    }
    if (sdlKeycode >= SDLK_F1 && sdlKeycode <= SDLK_F12) {
        return 112 + (sdlKeycode - SDLK_F1);
    }
    return SpecialKey(sdlKeycode);
}

} // namespace present
