// Morvel in the browser. The page's address chooses what runs:
//   (nothing)               the game, played with the page's keyboard at 60
//                           frames a second on the page's clock;
//   ?stats=1                the same, printing the frame statistics on the
//                           console at the end, as MORVEL_FRAME_STATS=1 does;
//   ?script=URL&frames=N    the key script at URL replayed on the virtual
//                           clock exactly as `morvel-script --input URL
//                           --frames N` replays it; the canvas then shows the
//                           last frame and window.morvelDone becomes true.
#include "scripted_run.h"
#include "web_platform.h"
#include "web_run.h"

#include "frame_intervals.h"
#include "page.h"

#include <emscripten/html5.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

std::string PageOption(const char* name, bool& given) {
    char* value = morvel_page_option(name);
    given = value != nullptr;
    std::string text = given ? value : "";
    std::free(value);
    return text;
}

struct TLiveRun {
    std::shared_ptr<present::TWebPlatform> platform;
    morvel_web::TWebRun run{0};
};

// One frame whenever the pacing says one is due; the browser shows the canvas
// at its next refresh.
EM_BOOL OnAnimationFrame(double, void* userData) {
    auto& live = *static_cast<TLiveRun*>(userData);
    if (!live.platform->FrameDue() || live.run.Step()) {
        return EM_TRUE;
    }
    morvel_page_ended(live.run.Status(), "");
    return EM_FALSE;
}

void StartLiveRun() {
    static TLiveRun live;
    live.platform = std::make_shared<present::TWebPlatform>();
    live.platform->Listen();
    present::SetPlatform(live.platform);
    emscripten_request_animation_frame_loop(OnAnimationFrame, &live);
}

} // namespace

int main() {
    bool statsGiven = false;
    const std::string stats = PageOption("stats", statsGiven);
    if (statsGiven) {
        setenv(morvel::kFrameStatsVariable, stats.c_str(), 1);
    }
    bool scripted = false;
    const std::string script = PageOption("script", scripted);
    bool framesGiven = false;
    const std::string frames = PageOption("frames", framesGiven);
    if (scripted || framesGiven) {
        morvel_web::StartScriptedRun(script, framesGiven ? frames : "");
    } else {
        StartLiveRun();
    }
    return 0;
}
