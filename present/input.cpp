#include "input.h"

#include <present/host_platform.h>
#include <present/present.h>

#include <array>

namespace present {

namespace {

constexpr int kButtonCount = 3;

// Who holds a key: bits of the down table.
constexpr int kHeldByKeyboard = 1;
constexpr int kHeldByPad = 2;

struct KeyTables {
    std::array<int, kKeyCount> down{}; // holders' bits
    std::array<int, kKeyCount> hits{};
    std::array<int, kButtonCount> buttons{};
    int mouseX = 0;
    int mouseY = 0;
    bool active = false;
};

KeyTables& Tables() {
    static KeyTables tables;
    return tables;
}

bool ValidKey(int key) {
    return key >= 0 && key < kKeyCount;
}

bool ValidButton(int button) {
    return button >= 1 && button <= kButtonCount;
}

void ClearTables() {
    Tables().down.fill(0);
    Tables().hits.fill(0);
    Tables().buttons.fill(0);
}

void Hold(int key, int holder) {
    KeyTables& tables = Tables();
    if (!tables.active || !ValidKey(key)) {
        return;
    }
    if (tables.down[key] == 0) {
        ++tables.hits[key];
    }
    tables.down[key] |= holder;
}

void Release(int key, int holder) {
    KeyTables& tables = Tables();
    if (tables.active && ValidKey(key)) {
        tables.down[key] &= ~holder;
    }
}

} // namespace

void KeyDownEvent(int key) {
    Hold(key, kHeldByKeyboard);
}

void KeyUpEvent(int key) {
    Release(key, kHeldByKeyboard);
}

void PadKeyEvent(int key, bool down) {
    if (down) {
        Hold(key, kHeldByPad);
    } else {
        Release(key, kHeldByPad);
    }
}

void MouseMoveEvent(int x, int y) {
    KeyTables& tables = Tables();
    if (tables.active) {
        tables.mouseX = x;
        tables.mouseY = y;
    }
}

void MouseButtonEvent(int button, bool down) {
    KeyTables& tables = Tables();
    if (tables.active && ValidButton(button)) {
        tables.buttons[button - 1] = down ? 1 : 0;
    }
}

void FocusChangeEvent() {
    ClearTables();
}

void StartInput() {
    ClearTables();
    Tables().active = true;
}

void StopInput() {
    Tables().active = false;
    ClearTables();
}

bool InputActive() {
    return Tables().active;
}

int KeyPressCount(int key) {
    Platform().PumpEvents();
    if (!ValidKey(key)) {
        return 0;
    }
    const int hits = Tables().hits[key];
    Tables().hits[key] = 0;
    return hits;
}

int IsKeyDown(int key) {
    Platform().PumpEvents();
    return ValidKey(key) && Tables().down[key] != 0 ? 1 : 0;
}

void GetMousePosition(int& x, int& y) {
    Platform().PumpEvents();
    x = Tables().mouseX;
    y = Tables().mouseY;
}

int IsMouseButtonDown(int button) {
    Platform().PumpEvents();
    return ValidButton(button) ? Tables().buttons[button - 1] : 0;
}

} // namespace present
