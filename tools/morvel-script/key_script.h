// Scripted key events for the driver: one `FRAME down|up|press KEY` a line.
#pragma once

#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace morvel_script {

struct TKeyEvent {
    int frame; // presented frames before the event is delivered
    int key;   // virtual-key code
    bool down;
};

// Virtual-key code of a key name (ENTER, ESCAPE, SPACE, LEFT, RIGHT, UP, DOWN,
// 1 to 4, X, G, any case) or of a decimal code 0..255 other than 1 to 4;
// nullopt for anything else.
std::optional<int> KeyCode(const std::string& name);

struct TScriptResult {
    std::vector<TKeyEvent> events; // a press is a down then an up in the same frame
    std::string error;             // empty on success, else "FILE:LINE: what is wrong"
};

TScriptResult ParseKeyScript(std::istream& in, const std::string& fileName);

} // namespace morvel_script
