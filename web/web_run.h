// One run of the game driven a frame at a time, as a browser must: each Step
// is one pass of the desktop's menu loop or frame loop, through the very same
// start-up, frame and shutdown routines, so the page plays the desktop's game.
#pragma once

#include "frame_intervals.h"
#include "mode_menu.h"
#include "program.h"

#include <functional>

namespace morvel_web {

class TWebRun {
public:
    // frameLimit as in TRunOptions (0: until Escape).
    explicit TWebRun(int frameLimit) : frames(frameLimit) {}

    // Runs the next frame (the first also starts the program). False once
    // the program has ended; Status() then gives its exit status.
    bool Step();
    bool Ended() const { return phase == TPhase::Ended; }
    int Status() const { return status; }

    // Called once just before the last frame's screen closes.
    std::function<void()> beforeClosing;

private:
    enum class TPhase { Start, Menu, Game, Ended };

    bool StepMenu();
    bool StepGame();
    bool End(int exitStatus);
    void LastFrameShown();

    morvel::TFrameCounter frames;
    morvel::TModeChoice choice;
    morvel::TFrameIntervals intervals;
    bool timed = false;
    TPhase phase = TPhase::Start;
    int status = 0;
};

} // namespace morvel_web
