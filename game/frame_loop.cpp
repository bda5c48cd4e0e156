#include "frame_loop.h"

#include "blob.h"
#include "camera.h"
#include "course.h"
#include "course_setup.h"
#include "globals.h"
#include "level.h"
#include "overlay.h"
#include <present/present.h>

namespace morvel {

namespace {

void FollowBlob() {
    const TViewFrame frame{halfWidth,    halfHeight,   screenWidth,
                           screenHeight, level->width, level->height};
    const TViewOrigin origin = CameraOrigin(blob->x, blob->y, frame);
    present::SetDrawOrigin(origin.x, origin.y);
}

} // namespace

void DrawGameFrame() {
    FollowBlob();
    present::ClearScreen();
    DrawSignposts();
    blob->Draw();
    level->Draw();
    present::SetDrawRotation(0);
    present::SetDrawOrigin(0, 0);
    DrawOverlay(screenWidth, screenHeight);
}

TFrameStep StepGameFrame(TFrameCounter& frames) {
    if (!StepCourse()) {
        return TFrameStep::Failed;
    }
    DrawGameFrame();
    const bool limitReached = frames.PresentFrame();
    if (present::KeyPressCount(present::key::Escape) != 0 || limitReached ||
        present::QuitRequested() != 0) {
        return TFrameStep::Ended;
    }
    return TFrameStep::Again;
}

bool RunFrameLoop(TFrameCounter& frames) {
    TFrameStep step = TFrameStep::Again;
    while (step == TFrameStep::Again) {
        step = StepGameFrame(frames);
    }
    return step == TFrameStep::Ended;
}

} // namespace morvel
