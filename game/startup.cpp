#include "course_setup.h"
#include "embedded_pictures.h"
#include "finish.h"
#include "frame_intervals.h"
#include "frame_loop.h"
#include "globals.h"
#include "mode_menu.h"
#include "program.h"
#include <present/present.h>

#include <iostream>
#include <string>

namespace morvel {

namespace {

constexpr int kRefreshHz = 60;
const char* const kFacePicture = "incbin::gfx/faces.png";
const char* const kSkinPicture = "incbin::gfx/sphere.png";

// A run in the same process (the driver, the tests) starts from a clean slate,
// and the game's objects go before the facilities they draw with.
void ReleaseGame() {
    blob.reset();
    level.reset();
    faceImage.reset();
    skinImage.reset();
    finished = 0;
}

int Fail(const std::string& what) {
    std::cerr << "morvel: " << what << "\n";
    return 1;
}

std::string ScreenName(int width, int height, int depth) {
    const std::string size = std::to_string(width) + " x " + std::to_string(height);
    return depth == 0 ? "the " + size + " window" : "the " + size + " full screen";
}

void RegisterPictures() {
    for (const TEmbeddedPicture& picture : kEmbeddedPictures) {
        present::RegisterEmbeddedFile(picture.name, picture.data, picture.size);
    }
}

void ApplyChoice(const TModeChoice& choice) {
    screenWidth = choice.width;
    screenHeight = choice.height;
    halfWidth = screenWidth / 2;
    halfHeight = screenHeight / 2;
    screenDepth = choice.depth;
}

// Empty when both pictures loaded, else the url that failed.
std::string LoadPictures() {
    faceImage =
        present::LoadImageStrip(kFacePicture, 64, 64, 0, 5,
                                present::TImageFlags::Filtered | present::TImageFlags::Mipmapped);
    if (!faceImage) {
        return kFacePicture;
    }
    present::SetImageAnchor(faceImage, 32, 32);
    skinImage = present::LoadImageFile(kSkinPicture, present::TImageFlags::Default);
    if (!skinImage) {
        return kSkinPicture;
    }
    return {};
}

// The game screen is open on entry; on failure it is closed again. The
// pictures load after the course is built: they touch nothing of the world.
TStart SetUpGame() {
    if (screenDepth != 0) {
        present::SetPointerVisible(0);
    }
    SetUpCourse();
    const std::string failedPicture = LoadPictures();
    if (!failedPicture.empty()) {
        EndMorvel();
        return {false, Fail("cannot load the embedded picture " + failedPicture)};
    }
    present::SetClearColour(127, 127, 127);
    present::SetLineThickness(1.0f);
    present::SetBlendMode(present::TBlendMode::Alpha);
    return {true, 0};
}

} // namespace

bool TFrameCounter::PresentFrame() {
    present::PresentFrame(-1);
    if (timing != nullptr) {
        timing->Mark();
    }
    ++presented;
    return limit > 0 && presented >= limit;
}

TStart OpenModeMenu() {
    ReleaseGame();
    present::WatchQuitRequests();
    RegisterPictures();
    const std::string missingDisplay = present::MissingDisplay();
    if (!missingDisplay.empty()) {
        return {false, Fail(missingDisplay)};
    }
    present::InitPresent();
    if (!present::OpenScreen(400, 300, 0, kRefreshHz, present::TScreenFlags::None)) {
        return {false, Fail("cannot open " + ScreenName(400, 300, 0) + " for the mode menu")};
    }
    return {true, 0};
}

TStart StartGame(const TModeChoice& choice) {
    present::CloseScreen();
    ApplyChoice(choice);
    if (choice.openGL) {
        present::SelectRenderer(present::OpenGLRenderer(), present::TScreenFlags::DoubleBuffered);
    }
    if (!present::OpenScreen(screenWidth, screenHeight, screenDepth, kRefreshHz,
                             present::TScreenFlags::None)) {
        ReleaseGame();
        return {false, Fail("cannot open " + ScreenName(screenWidth, screenHeight, screenDepth))};
    }
    return SetUpGame();
}

TStart StartMorvel(TFrameCounter& frames) {
    const TStart menu = OpenModeMenu();
    if (!menu.play) {
        return menu;
    }
    TModeChoice choice;
    if (!RunModeMenu(choice, frames)) {
        present::CloseScreen();
        return {false, 0};
    }
    return StartGame(choice);
}

int FinishMorvel(bool completed, const TFrameIntervals* intervals) {
    int status = 0;
    if (!completed) {
        status = Fail(std::string("cannot load the embedded picture ") + kFinishSkinUrl);
    }
    if (intervals != nullptr) {
        const std::string what = present::CurrentRendererName() + ", " +
                                 ScreenName(screenWidth, screenHeight, screenDepth);
        std::cerr << "morvel: " << FormatSummary(what, intervals->Summary()) << "\n";
    }
    EndMorvel();
    return status;
}

void EndMorvel() {
    TearDownCourse();
    present::CloseScreen();
    ReleaseGame();
}

int RunMorvel(const TRunOptions& options) {
    TFrameCounter frames(options.frameLimit);
    const TStart start = StartMorvel(frames);
    if (!start.play) {
        return start.status;
    }
    // Only the game's own frames are timed, from its first.
    TFrameIntervals intervals;
    const bool timed = FrameStatsWanted();
    if (timed) {
        frames.Time(&intervals);
    }
    const bool completed = RunFrameLoop(frames);
    return FinishMorvel(completed, timed ? &intervals : nullptr);
}

} // namespace morvel
