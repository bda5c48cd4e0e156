// Scripted input for the driver, one event a line: `FRAME down|up|press KEY`,
// and for a game controller `FRAME down|up|press PAD_...`,
// `FRAME axis LEFTX|LEFTY VALUE`, `FRAME pad-remove` and `FRAME pad-add`.
#pragma once

#include <present/virtual_pad.h>

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

struct TPadEvent {
    int frame; // as for a key
    present::TPadAction action;
};

// Virtual-key code of a key name (ENTER, ESCAPE, SPACE, LEFT, RIGHT, UP, DOWN,
// 1 to 4, X, G, any case) or of a decimal code 0..255 other than 1 to 4;
// nullopt for anything else.
std::optional<int> KeyCode(const std::string& name);

struct TScriptResult {
    // A press is a down then an up in the same frame. Within one frame the key
    // events come before the pad events; each kind keeps the script's order.
    std::vector<TKeyEvent> events;
    std::vector<TPadEvent> padEvents;
    std::string error; // empty on success, else "FILE:LINE: what is wrong"
};

TScriptResult ParseKeyScript(std::istream& in, const std::string& fileName);

} // namespace morvel_script
