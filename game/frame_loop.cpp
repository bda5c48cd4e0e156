#include "frame_loop.h"

#include "blob.h"
#include "camera.h"
#include "course.h"
#include "finish.h"
#include "globals.h"
#include <kinetra/kinetra.h>
#include "level.h"
#include "overlay.h"
#include "present.h"

namespace morvel {

namespace {

void FollowBlob() {
    const TViewFrame frame{halfWidth,    halfHeight,   screenWidth,
                           screenHeight, level->width, level->height};
    const TViewOrigin origin = CameraOrigin(blob->x, blob->y, frame);
    present::SetDrawOrigin(origin.x, origin.y);
}

} // namespace

bool RunFrameLoop(TFrameCounter& frames) {
    while (true) {
        // Update may replace the global blob (reset): hold this one until it returns.
        const std::shared_ptr<TBlob> player = blob;
        player->Update();
        level->Update();
        kinetra::UpdatePhysics();
        if (!UpdateFinish()) {
            return false;
        }
        FollowBlob();
        present::ClearScreen();
        DrawSignposts();
        blob->Draw();
        level->Draw();
        present::SetDrawRotation(0);
        present::SetDrawOrigin(0, 0);
        DrawOverlay(screenWidth, screenHeight);
        const bool limitReached = frames.PresentFrame();
        if (present::KeyPressCount(present::key::Escape) != 0 || limitReached) {
            return true;
        }
    }
}

} // namespace morvel
