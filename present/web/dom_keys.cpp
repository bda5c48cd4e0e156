#include "dom_keys.h"

#include <present/present.h>

#include <cctype>
#include <utility>

namespace present {

namespace {

// Named keys with the codes the desktop gives them (see sdl_keys.cpp).
constexpr std::pair<const char*, int> kNamedKeys[] = {
    {"Backspace", 8},      {"Tab", 9},        {"Enter", key::Enter}, {"Shift", 16},
    {"Control", 17},       {"Alt", 18},       {"Pause", 19},         {"CapsLock", 20},
    {"Escape", key::Escape}, {"Esc", key::Escape}, {" ", key::Space}, {"Spacebar", key::Space},
    {"PageUp", 33},        {"PageDown", 34},  {"End", 35},           {"Home", 36},
    {"ArrowLeft", key::Left}, {"Left", key::Left}, {"ArrowUp", key::Up}, {"Up", key::Up},
    {"ArrowRight", key::Right}, {"Right", key::Right}, {"ArrowDown", key::Down},
    {"Down", key::Down},   {"Insert", 45},    {"Delete", 46},
};

// The keypad by place, as the desktop tells its keys from the main ones.
constexpr std::pair<const char*, int> kKeypad[] = {
    {"Numpad0", 96},         {"NumpadMultiply", 106}, {"NumpadAdd", 107},
    {"NumpadSubtract", 109}, {"NumpadDecimal", 110},  {"NumpadDivide", 111},
    {"NumpadEnter", key::Enter},
};

constexpr std::pair<char, int> kPunctuation[] = {
    {';', 186}, {'=', 187}, {',', 188}, {'-', 189}, {'.', 190}, {'/', 191},
    {'`', 192}, {'[', 219}, {'\\', 220}, {']', 221}, {'\'', 222},
};

int LetterOrDigit(unsigned char c) {
    if (std::isdigit(c) != 0) {
        return c;
    }
    if (std::isalpha(c) != 0) {
        return std::toupper(c);
    }
    return -1;
}

int FromKeypad(const std::string& code) {
    for (const auto& [name, value] : kKeypad) {
        if (code == name) {
            return value;
        }
    }
    if (code.size() == 7 && code.compare(0, 6, "Numpad") == 0 && code[6] >= '1' &&
        code[6] <= '9') {
        return 97 + (code[6] - '1');
    }
    return -1;
}

int FromName(const std::string& key) {
    for (const auto& [name, value] : kNamedKeys) {
        if (key == name) {
            return value;
        }
    }
    // F1 to F12.
    int number = 0;
    for (std::size_t i = 1; key.size() >= 2 && key.size() <= 3 && key[0] == 'F' && i < key.size();
         ++i) {
        if (std::isdigit(static_cast<unsigned char>(key[i])) == 0) {
            number = 0;
            break;
        }
        number = number * 10 + (key[i] - '0');
    }
    if (number >= 1 && number <= 12) {
        return 111 + number;
    }
    if (key.size() == 1) {
        const int value = LetterOrDigit(static_cast<unsigned char>(key[0]));
        if (value >= 0) {
            return value;
        }
        for (const auto& [c, code] : kPunctuation) {
            if (key[0] == c) {
                return code;
            }
        }
    }
    return -1;
}

// "KeyG" and "Digit1": the place, for a key whose character says nothing.
int FromPlace(const std::string& code) {
    if (code.size() == 4 && code.compare(0, 3, "Key") == 0) {
        return LetterOrDigit(static_cast<unsigned char>(code[3]));
    }
    if (code.size() == 6 && code.compare(0, 5, "Digit") == 0) {
        return LetterOrDigit(static_cast<unsigned char>(code[5]));
    }
    return -1;
}

} // namespace

int VirtualKeyFromDom(const std::string& key, const std::string& code) {
    const int keypad = FromKeypad(code);
    if (keypad >= 0) {
        return keypad;
    }
    const int named = FromName(key);
    return named >= 0 ? named : FromPlace(code);
}

} // namespace present
