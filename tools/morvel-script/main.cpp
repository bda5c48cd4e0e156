// morvel-script: runs the game on the headless platform from a key script, so
// that a game replays identically, and records its frames and a trace.
#include "blob.h"
#include "driver_options.h"
#include "globals.h"
#include "key_script.h"
#include "program.h"
#include "trace.h"
#include <kinetra/kinetra.h>
#include <present/headless.h>
#include <present/image.h>
#include <present/present.h>

#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace morvel_script;

constexpr int kBadArguments = 2;
constexpr int kOutputFailed = 1;

// The headless clock and keys; with gl the frames go to the current X display
// through OpenGL, as on a system without Direct3D 7.
class TScriptPlatform : public present::THeadlessPlatform {
public:
    TScriptPlatform(std::uint32_t clockStart, bool useOpenGL)
        : THeadlessPlatform(clockStart), openGL(useOpenGL) {}
    bool Headless() const override { return !openGL; }
    bool OffersDirect3D7() const override { return !openGL; }

private:
    bool openGL;
};

struct TRecorder {
    const TDriverOptions& options;
    std::ofstream trace;
    std::vector<bool> shotTaken;
    bool failed = false;
    bool wrongRenderer = false;

    void Fail(const std::string& what) {
        std::cerr << "morvel-script: " << what << "\n";
        failed = true;
    }

    void OnPresent(int frameIndex) {
        if (options.openGL && present::CurrentRenderer() != present::OpenGLRenderer() &&
            !wrongRenderer) {
            wrongRenderer = true;
            Fail("frame " + std::to_string(frameIndex) + " was not drawn with OpenGL");
        }
        for (std::size_t i = 0; i < options.screenshots.size(); ++i) {
            if (options.screenshots[i].frame == frameIndex) {
                Capture(options.screenshots[i].path);
                shotTaken[i] = true;
            }
        }
        if (trace.is_open() && morvel::blob) {
            const morvel::TBlob& blob = *morvel::blob;
            const int passes = kinetra::currentWorld ? kinetra::currentWorld->iterations : 0;
            trace << TraceLine({frameIndex, present::ClockMillis(), blob.x, blob.y, blob.vx,
                                blob.vy, blob.speed, blob.direction, morvel::finished, passes});
        }
    }

    void Capture(const std::string& path) {
        present::TPixmap pixmap;
        if (!present::CaptureScreen(pixmap)) {
            Fail("cannot read the frame for " + path);
        } else if (!present::SavePng(path, pixmap)) {
            Fail("cannot write " + path);
        }
    }

    void CheckComplete() {
        for (std::size_t i = 0; i < shotTaken.size(); ++i) {
            if (!shotTaken[i]) {
                Fail("frame " + std::to_string(options.screenshots[i].frame) +
                     " was never presented; " + options.screenshots[i].path + " not written");
            }
        }
        if (trace.is_open()) {
            trace.flush();
            if (!trace) {
                Fail("cannot write " + options.tracePath);
            }
        }
    }
};

int Run(const TDriverOptions& options) {
    TScriptResult script;
    if (!options.inputPath.empty()) {
        std::ifstream input(options.inputPath);
        if (!input) {
            std::cerr << "morvel-script: cannot read " << options.inputPath << "\n";
            return kBadArguments;
        }
        script = ParseKeyScript(input, options.inputPath);
        if (!script.error.empty()) {
            std::cerr << "morvel-script: " << script.error << "\n";
            return kBadArguments;
        }
    }

    TRecorder recorder{options, {}, std::vector<bool>(options.screenshots.size())};
    if (!options.tracePath.empty()) {
        recorder.trace.open(options.tracePath, std::ios::binary | std::ios::trunc);
        if (!recorder.trace) {
            std::cerr << "morvel-script: cannot write " << options.tracePath << "\n";
            return kBadArguments;
        }
        recorder.trace << TraceHeader();
    }

    auto platform = std::make_shared<TScriptPlatform>(options.clockStart, options.openGL);
    for (const TKeyEvent& event : script.events) {
        platform->ScheduleKey(event.frame, event.key, event.down);
    }
    for (const TPadEvent& event : script.padEvents) {
        platform->SchedulePad(event.frame, event.action);
    }
    platform->onPresent = [&recorder](int frameIndex) { recorder.OnPresent(frameIndex); };
    present::SetPlatform(platform);

    const int status = morvel::RunMorvel({options.frames});
    recorder.CheckComplete();
    if (status != 0) {
        return status;
    }
    return recorder.failed ? kOutputFailed : 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const TOptionsResult parsed = ParseDriverOptions(arguments);
    if (!parsed.error.empty()) {
        std::cerr << "morvel-script: " << parsed.error << "\n"
                  << "Try 'morvel-script --help'.\n";
        return kBadArguments;
    }
    if (parsed.options.help) {
        std::cout << DriverUsage();
        return 0;
    }
    return Run(parsed.options);
}
