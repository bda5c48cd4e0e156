#include "blob.h"
#include "course.h"
#include "embedded_pictures.h"
#include "finish.h"
#include "frame_loop.h"
#include "globals.h"
#include <kinetra/kinetra.h>
#include "level.h"
#include "mode_menu.h"
#include "present.h"
#include "program.h"

#include <iostream>
#include <string>

namespace morvel {

namespace {

constexpr int kLevelWidth = 2048;
constexpr int kLevelHeight = 1024;
constexpr int kStartX = 25;
constexpr int kStartY = 850;
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
    for (const EmbeddedPicture& picture : kEmbeddedPictures) {
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

void CreateLevel() {
    level = std::make_shared<TLevel>();
    level->width = kLevelWidth;
    level->height = kLevelHeight;
    level->startX = kStartX;
    level->startY = kStartY;
}

// Empty when both pictures loaded, else the url that failed.
std::string LoadPictures() {
    faceImage = present::LoadImageStrip(kFacePicture, 64, 64, 0, 5,
                                        present::ImageFiltered + present::ImageMipmapped);
    if (!faceImage) {
        return kFacePicture;
    }
    present::SetImageAnchor(faceImage, 32, 32);
    skinImage = present::LoadImageFile(kSkinPicture, -1);
    if (!skinImage) {
        return kSkinPicture;
    }
    return {};
}

// From the game screen to the end of the game; the screen is open on entry.
int PlayGame(TFrameCounter& frames) {
    if (screenDepth != 0) {
        present::SetPointerVisible(0);
    }
    kinetra::CreatePhysics(static_cast<float>(kLevelWidth), static_cast<float>(kLevelHeight), 0.1f,
                           0, 2);
    CreateLevel();
    kinetra::SetPhysicsWorld(0, 0, static_cast<float>(level->width),
                             static_cast<float>(level->height), 1.0f);
    blob = TBlob::Create(static_cast<float>(level->startX), static_cast<float>(level->startY));
    const std::string failedPicture = LoadPictures();
    int status = 0;
    if (!failedPicture.empty()) {
        status = Fail("cannot load the embedded picture " + failedPicture);
    } else {
        BuildCourse();
        present::SetClearColour(127, 127, 127);
        present::SetLineThickness(1.0f);
        present::SetBlendMode(present::BlendAlpha);
        if (!RunFrameLoop(frames)) {
            status = Fail(std::string("cannot load the embedded picture ") + kFinishSkinUrl);
        }
    }
    kinetra::DestroyPhysics();
    present::CloseScreen();
    return status;
}

} // namespace

bool TFrameCounter::PresentFrame() {
    present::PresentFrame(-1);
    ++presented;
    return limit > 0 && presented >= limit;
}

int RunMorvel(const TRunOptions& options) {
    ReleaseGame();
    RegisterPictures();
    present::InitPresent();

    if (!present::OpenScreen(400, 300, 0, kRefreshHz, 0)) {
        return Fail("cannot open " + ScreenName(400, 300, 0) + " for the mode menu");
    }
    TFrameCounter frames(options.frameLimit);
    TModeChoice choice;
    const bool play = RunModeMenu(choice, frames);
    present::CloseScreen();
    if (!play) {
        return 0;
    }

    ApplyChoice(choice);
    if (choice.openGL) {
        present::SelectRenderer(present::OpenGLRenderer(), present::ScreenDoubleBuffered);
    }
    int status = 0;
    if (!present::OpenScreen(screenWidth, screenHeight, screenDepth, kRefreshHz, 0)) {
        status = Fail("cannot open " + ScreenName(screenWidth, screenHeight, screenDepth));
    } else {
        status = PlayGame(frames);
    }
    ReleaseGame();
    return status;
}

} // namespace morvel
