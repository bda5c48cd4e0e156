// The game without drawing: started as the driver starts it on its headless
// platform (Enter on the menu's first frame), then stepped by the game's own
// frame step and paced presentation, with snapshots to branch from.
#pragma once

#include <cstdint>
#include <vector>

namespace find_finish {

// The keys for one frame: arrows held, and whether Up goes down this frame.
struct TFrameKeys {
    bool left = false;
    bool right = false;
    bool up = false;
};

struct TSnapshot {
    struct TMassState {
        float x, y, oldX, oldY;
    };
    std::vector<TMassState> masses;
    std::vector<float> platformLastX;
    float blobX = 0, blobY = 0, blobVX = 0, blobVY = 0, blobSpeed = 0;
    int direction = 0;
    int iterations = 0;
    int frame = 0;
    std::uint32_t clock = 0;
    std::uint32_t target = 0; // the pacing schedule of the game screen
    int accumulator = 0;
    bool finished = false;
};

// Builds the whole game state; only one simulator may exist at a time, since
// the game and the engine keep their state in module variables.
class TCourseSim {
public:
    // clockStart: the driver's --clock-start.
    explicit TCourseSim(std::uint32_t clockStart);
    // False when the game could not start (a line on stderr says why); nothing
    // else may be called then.
    bool Started() const { return started; }
    ~TCourseSim();
    TCourseSim(const TCourseSim&) = delete;
    TCourseSim& operator=(const TCourseSim&) = delete;

    // Runs the next frame with these keys.
    void Step(const TFrameKeys& keys);

    TSnapshot Save() const;
    void Load(const TSnapshot& snapshot);

    // Number of the next frame as the driver counts presented frames (the first
    // game frame is 1; keys take effect from frame 2).
    int Frame() const { return frame; }
    float X() const;
    float Y() const;
    float Speed() const;
    bool Finished() const;
    // Lowest rim mass (largest y).
    float Bottom() const;

private:
    bool started = false;
    int frame = 1;
    bool leftHeld = false;
    bool rightHeld = false;
};

} // namespace find_finish
