// The game's frame loop without drawing: the blob, the course and the physics
// world stepped exactly as the game steps them, on the clock that the driver's
// paced presentation produces, with snapshots to branch from.
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
    int accumulator = 0;
    bool finished = false;
};

// Builds the whole game state; only one simulator may exist at a time, since
// the game and the engine keep their state in module variables.
class TCourseSim {
public:
    // clockStart: the driver's --clock-start.
    explicit TCourseSim(std::uint32_t clockStart);
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
    bool Finished() const { return finished; }
    // Lowest rim mass (largest y).
    float Bottom() const;

private:
    int frame = 1;
    std::uint32_t clock = 0;
    int accumulator = 0;
    bool finished = false;
    bool leftHeld = false;
    bool rightHeld = false;
};

} // namespace find_finish
