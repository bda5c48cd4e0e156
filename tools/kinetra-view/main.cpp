// kinetra-view: the body author's viewer. Shows a body file's body in a box
// with a floor, simulated in the game's world, to be dragged, paused, stepped
// and reloaded; or renders one frame of it headless.
#include "view_draw.h"
#include "view_options.h"
#include "view_scene.h"
#include <present/headless.h>
#include <present/image.h>
#include <present/present.h>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace kinetra_view;

constexpr int kFailed = 1;
constexpr int kBadArguments = 2;
constexpr int kRefreshHz = 60;
// Letters' virtual-key codes are their capitals' character codes.
constexpr int kKeyN = 'N';
constexpr int kKeyR = 'R';
constexpr int kLeftButton = 1;

// A screenshot run: the virtual clock, so that pacing costs no time; with gl
// the frames go to the X display through OpenGL, as on a system without
// Direct3D 7.
class TScreenshotPlatform : public present::THeadlessPlatform {
public:
    explicit TScreenshotPlatform(bool useOpenGL) : openGL(useOpenGL) {}
    bool Headless() const override { return !openGL; }
    bool OffersDirect3D7() const override { return !openGL; }

private:
    bool openGL;
};

int Fail(const std::string& what) {
    std::cerr << "kinetra-view: " << what << "\n";
    return kFailed;
}

std::string Caption(const TViewScene& scene, const std::string& shownPath) {
    const std::string name = scene.body && !scene.body->name.empty() ? scene.body->name
                                                                     : "(unnamed)";
    return name + " - " + shownPath;
}

int RunWindow(TViewScene& scene, const std::string& shownPath) {
    std::string title = Caption(scene, shownPath);
    while (true) {
        TViewInput input;
        input.reload = present::KeyPressCount(kKeyR) != 0;
        input.togglePause = present::KeyPressCount(present::key::Space) != 0;
        input.step = present::KeyPressCount(kKeyN) != 0;
        input.buttonDown = present::IsMouseButtonDown(kLeftButton) != 0;
        present::GetMousePosition(input.pointerX, input.pointerY);
        RunFrame(scene, input);

        const std::string caption = Caption(scene, shownPath);
        if (caption != title) {
            title = caption;
            present::SetWindowTitle(title);
        }
        DrawScene(scene, caption);
        present::PresentFrame(-1);
        if (present::KeyPressCount(present::key::Escape) != 0 || present::QuitRequested() != 0) {
            return 0;
        }
    }
}

int RunHeadless(TViewScene& scene, const TViewOptions& options, const std::string& outPath) {
    for (int frame = 1; frame <= options.frames; ++frame) {
        RunFrame(scene, TViewInput{});
        DrawScene(scene, Caption(scene, options.bodyPath));
        if (frame == options.frames) {
            present::TPixmap pixmap;
            if (!present::CaptureScreen(pixmap)) {
                return Fail("cannot read frame " + std::to_string(frame));
            }
            if (!present::SavePng(outPath, pixmap)) {
                return Fail("cannot write " + options.screenshotPath);
            }
        }
        present::PresentFrame(-1);
    }
    return 0;
}

int Run(const TViewOptions& options) {
    const bool headless = !options.screenshotPath.empty();
    const std::string outPath = headless ? AbsolutePath(options.screenshotPath) : std::string();
    if (headless) {
        present::SetPlatform(std::make_shared<TScreenshotPlatform>(options.openGL));
    }
    present::WatchQuitRequests();
    present::InitPresent();
    if (options.openGL) {
        present::SelectRenderer(present::OpenGLRenderer(), present::ScreenDoubleBuffered);
    }

    TViewScene scene;
    std::string error;
    if (!OpenScene(scene, options.bodyPath, error)) {
        return Fail(options.bodyPath + ": " + error);
    }
    int status = kFailed;
    if (const std::string missing = present::MissingDisplay(); !missing.empty()) {
        Fail(missing);
    } else {
        present::SetWindowTitle(Caption(scene, options.bodyPath));
        if (!present::OpenScreen(kBoxWidth, kBoxHeight, 0, kRefreshHz, 0)) {
            Fail("cannot open the " + std::to_string(kBoxWidth) + " x " +
                 std::to_string(kBoxHeight) + " window");
        } else {
            SetUpDrawing();
            status = headless ? RunHeadless(scene, options, outPath)
                              : RunWindow(scene, options.bodyPath);
        }
    }
    CloseScene(scene);
    present::CloseScreen();
    return status;
}

} // namespace

int main(int argc, char** argv) {
    const TViewOptionsResult parsed =
        ParseViewOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.error.empty()) {
        std::cerr << "kinetra-view: " << parsed.error << "\n" << ViewUsage();
        return kBadArguments;
    }
    if (parsed.options.help) {
        std::cout << ViewUsage();
        return 0;
    }
    return Run(parsed.options);
}
