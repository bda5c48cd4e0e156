// A key script replayed in the page as morvel-script replays it: the headless
// platform's virtual clock and scheduled keys, frames drawn into memory, in
// batches between which the page stays responsive.
#pragma once

#include <string>

namespace morvel_web {

// Fetches the script at url (relative to the page) and replays it for frames
// frames (empty: until the script's Escape). A script that cannot be read or
// parsed, or a bad frame count, ends the run with a message on the page.
void StartScriptedRun(const std::string& url, const std::string& frames);

} // namespace morvel_web

extern "C" {
// The page's answers to the fetch: the script's text, or why it has none.
void morvel_web_script_arrived(const char* text);
void morvel_web_script_failed(const char* reason);
}
