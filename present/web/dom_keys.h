// The browser's keys: a KeyboardEvent's key and code in the virtual-key codes
// of the key tables, the same codes the desktop gives for the same keys.
#pragma once

#include <string>

namespace present {

// key is the event's key (what the key types on the user's layout: "g",
// "G", "Enter", "ArrowLeft", " "), code its physical place ("KeyG",
// "Digit1", "Numpad1"). Letters and digits follow the layout, as SDL's
// keycodes do, whatever the Shift state; a shifted digit ("!") falls back to
// its place. -1 for keys the tables do not know.
int VirtualKeyFromDom(const std::string& key, const std::string& code);

} // namespace present
