#include "key_script.h"

#include <present/present.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <sstream>
#include <utility>

namespace morvel_script {

namespace {

constexpr std::pair<const char*, int> kKeyNames[] = {
    {"ENTER", present::key::Enter}, {"ESCAPE", present::key::Escape},
    {"SPACE", present::key::Space}, {"LEFT", present::key::Left},
    {"UP", present::key::Up},       {"RIGHT", present::key::Right},
    {"DOWN", present::key::Down},   {"1", present::key::One},
    {"2", present::key::One + 1},   {"3", present::key::One + 2},
    {"4", present::key::One + 3},   {"X", present::key::X},
    {"G", present::key::G},
};

constexpr int kLargestKeyCode = 255;

constexpr std::pair<const char*, int> kPadButtonNames[] = {
    {"PAD_A", present::pad::kA},         {"PAD_B", present::pad::kB},
    {"PAD_X", present::pad::kX},         {"PAD_Y", present::pad::kY},
    {"PAD_START", present::pad::kStart}, {"PAD_BACK", present::pad::kBack},
    {"PAD_LEFT", present::pad::kLeft},   {"PAD_RIGHT", present::pad::kRight},
    {"PAD_UP", present::pad::kUp},       {"PAD_DOWN", present::pad::kDown},
};

constexpr std::pair<const char*, int> kPadAxisNames[] = {
    {"LEFTX", present::pad::kLeftX},
    {"LEFTY", present::pad::kLeftY},
};

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

// Whole-token decimal number without sign; nullopt when it is not one or overflows.
std::optional<int> ParseCount(const std::string& token) {
    if (token.empty() || !std::isdigit(static_cast<unsigned char>(token.front()))) {
        return std::nullopt;
    }
    int value = 0;
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (error != std::errc() || end != token.data() + token.size()) {
        return std::nullopt;
    }
    return value;
}

std::string StripComment(const std::string& line) {
    return line.substr(0, line.find('#'));
}

template <std::size_t N>
std::optional<int> Lookup(const std::pair<const char*, int> (&names)[N], const std::string& name) {
    const std::string upper = Upper(name);
    for (const auto& [known, code] : names) {
        if (upper == known) {
            return code;
        }
    }
    return std::nullopt;
}

// An axis position from -32768 to 32767, with an optional sign.
std::optional<int> ParseAxisValue(const std::string& token) {
    const bool negative = !token.empty() && token.front() == '-';
    const std::optional<int> size = ParseCount(negative ? token.substr(1) : token);
    if (!size || *size > (negative ? 32768 : 32767)) {
        return std::nullopt;
    }
    return negative ? -*size : *size;
}

using Tokens = std::vector<std::string>;

// FRAME down|up|press KEY or PAD_...; an empty text on success.
std::string ReadPress(const Tokens& tokens, int frame, TScriptResult& result) {
    if (tokens.size() != 3) {
        return "expected FRAME down|up|press KEY";
    }
    const std::string& action = tokens[1];
    const std::optional<int> key = KeyCode(tokens[2]);
    const std::optional<int> button = Lookup(kPadButtonNames, tokens[2]);
    if (!key && !button) {
        return "unknown key '" + tokens[2] + "'";
    }
    for (const bool down : {true, false}) {
        if (action == (down ? "up" : "down")) {
            continue;
        }
        if (key) {
            result.events.push_back({frame, *key, down});
        } else {
            result.padEvents.push_back(
                {frame, {present::TPadAction::Button, *button, down ? 1 : 0}});
        }
    }
    return {};
}

// FRAME axis LEFTX|LEFTY VALUE.
std::string ReadAxis(const Tokens& tokens, int frame, TScriptResult& result) {
    if (tokens.size() != 4) {
        return "expected FRAME axis LEFTX|LEFTY VALUE";
    }
    const std::optional<int> axis = Lookup(kPadAxisNames, tokens[2]);
    if (!axis) {
        return "unknown axis '" + tokens[2] + "', not LEFTX or LEFTY";
    }
    const std::optional<int> value = ParseAxisValue(tokens[3]);
    if (!value) {
        return "axis value '" + tokens[3] + "' is not a whole number from -32768 to 32767";
    }
    result.padEvents.push_back({frame, {present::TPadAction::Axis, *axis, *value}});
    return {};
}

// FRAME pad-remove|pad-add.
std::string ReadPlug(const Tokens& tokens, int frame, TScriptResult& result) {
    if (tokens.size() != 2) {
        return "expected FRAME " + tokens[1] + " and nothing after it";
    }
    const auto kind =
        tokens[1] == "pad-add" ? present::TPadAction::Plug : present::TPadAction::Unplug;
    result.padEvents.push_back({frame, {kind, 0, 0}});
    return {};
}

} // namespace

std::optional<int> KeyCode(const std::string& name) {
    if (const std::optional<int> named = Lookup(kKeyNames, name)) {
        return named;
    }
    const std::optional<int> code = ParseCount(name);
    if (code && *code <= kLargestKeyCode) {
        return code;
    }
    return std::nullopt;
}

TScriptResult ParseKeyScript(std::istream& in, const std::string& fileName) {
    TScriptResult result;
    std::string line;
    int lineNumber = 0;
    auto fail = [&](const std::string& what) {
        result.events.clear();
        result.padEvents.clear();
        result.error = fileName + ":" + std::to_string(lineNumber) + ": " + what;
        return result;
    };
    while (std::getline(in, line)) {
        ++lineNumber;
        std::istringstream fields(StripComment(line));
        std::vector<std::string> tokens;
        for (std::string token; fields >> token;) {
            tokens.push_back(token);
        }
        if (tokens.empty()) {
            continue;
        }
        if (tokens.size() < 2) {
            return fail("expected FRAME down|up|press KEY");
        }
        const std::optional<int> frame = ParseCount(tokens[0]);
        if (!frame) {
            return fail("frame '" + tokens[0] + "' is not a frame number");
        }
        const std::string& action = tokens[1];
        std::string error;
        if (action == "down" || action == "up" || action == "press") {
            error = ReadPress(tokens, *frame, result);
        } else if (action == "axis") {
            error = ReadAxis(tokens, *frame, result);
        } else if (action == "pad-remove" || action == "pad-add") {
            error = ReadPlug(tokens, *frame, result);
        } else {
            error = "action '" + action + "' is not down, up, press, axis, pad-remove or pad-add";
        }
        if (!error.empty()) {
            return fail(error);
        }
    }
    if (in.bad()) {
        return fail("read error");
    }
    return result;
}

} // namespace morvel_script
