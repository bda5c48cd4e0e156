#include "scripted_run.h"

#include "driver_options.h"
#include "key_script.h"
#include "page.h"
#include "web_platform.h"
#include "web_run.h"
#include <present/headless.h>

#include <emscripten.h>
#include <emscripten/eventloop.h>

#include <memory>
#include <optional>
#include <sstream>

namespace morvel_web {

namespace {

// The work done between two returns to the browser.
constexpr double kBatchMillis = 40;
// The exit status morvel-script gives a script or option it cannot use.
constexpr int kBadArguments = 2;

struct TScripted {
    morvel_script::TDriverOptions options;
    std::optional<TWebRun> run;
};

TScripted& Scripted() {
    static TScripted scripted;
    return scripted;
}

void Stop(int status, const std::string& message) {
    morvel_page_ended(status, message.empty() ? "" : ("morvel: " + message).c_str());
}

EM_BOOL RunBatch(double, void*) {
    TWebRun& run = *Scripted().run;
    const double start = emscripten_get_now();
    while (emscripten_get_now() - start < kBatchMillis) {
        if (!run.Step()) {
            Stop(run.Status(), "");
            return EM_FALSE;
        }
    }
    // The frame reached so far, for whoever watches.
    present::ShowFrameOnPage();
    return EM_TRUE;
}

void Replay(const std::vector<morvel_script::TKeyEvent>& events) {
    TScripted& scripted = Scripted();
    auto platform = std::make_shared<present::THeadlessPlatform>(scripted.options.clockStart);
    for (const morvel_script::TKeyEvent& event : events) {
        platform->ScheduleKey(event.frame, event.key, event.down);
    }
    present::SetPlatform(platform);
    scripted.run.emplace(scripted.options.frames);
    // The last frame is drawn into memory; it goes onto the canvas before its
    // screen closes.
    scripted.run->beforeClosing = [] { present::ShowFrameOnPage(); };
    emscripten_set_timeout_loop(RunBatch, 0, nullptr);
}

} // namespace

void StartScriptedRun(const std::string& url, const std::string& frames) {
    std::vector<std::string> arguments = {"--input", url};
    if (!frames.empty()) {
        arguments.insert(arguments.end(), {"--frames", frames});
    }
    const morvel_script::TOptionsResult parsed = morvel_script::ParseDriverOptions(arguments);
    if (url.empty()) {
        return Stop(kBadArguments, "frames= needs a script= to replay");
    }
    if (!parsed.error.empty()) {
        return Stop(kBadArguments, parsed.error);
    }
    Scripted().options = parsed.options;
    morvel_page_fetch(url.c_str());
}

} // namespace morvel_web

void morvel_web_script_arrived(const char* text) {
    const morvel_web::TScripted& scripted = morvel_web::Scripted();
    std::istringstream input(text);
    const morvel_script::TScriptResult script =
        morvel_script::ParseKeyScript(input, scripted.options.inputPath);
    if (!script.error.empty()) {
        return morvel_web::Stop(morvel_web::kBadArguments, script.error);
    }
    // The page has no game controller to play them on: the replay would not
    // be morvel-script's.
    if (!script.padEvents.empty()) {
        return morvel_web::Stop(morvel_web::kBadArguments,
                                scripted.options.inputPath +
                                    ": game controller events cannot be replayed in the browser");
    }
    morvel_web::Replay(script.events);
}

void morvel_web_script_failed(const char* reason) {
    morvel_web::Stop(morvel_web::kBadArguments,
                     "cannot read " + morvel_web::Scripted().options.inputPath + " (" + reason + ")");
}
