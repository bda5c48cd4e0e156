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

} // namespace

std::optional<int> KeyCode(const std::string& name) {
    const std::string upper = Upper(name);
    for (const auto& [keyName, code] : kKeyNames) {
        if (upper == keyName) {
            return code;
        }
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
        if (tokens.size() != 3) {
            return fail("expected FRAME down|up|press KEY");
        }
        const std::optional<int> frame = ParseCount(tokens[0]);
        if (!frame) {
            return fail("frame '" + tokens[0] + "' is not a frame number");
        }
        const std::string action = tokens[1];
        if (action != "down" && action != "up" && action != "press") {
            return fail("action '" + action + "' is not down, up or press");
        }
        const std::optional<int> key = KeyCode(tokens[2]);
        if (!key) {
            return fail("unknown key '" + tokens[2] + "'");
        }
        if (action != "up") {
            result.events.push_back({*frame, *key, true});
        }
        if (action != "down") {
            result.events.push_back({*frame, *key, false});
        }
    }
    if (in.bad()) {
        return fail("read error");
    }
    return result;
}

} // namespace morvel_script
