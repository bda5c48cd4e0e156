// The whole program: start-up, the mode menu, the frame loop and shutdown.
// The executable and the deterministic driver run this same routine.
#pragma once

namespace morvel {

struct TRunOptions {
    // Leave (the menu or the game) as if Escape had been pressed once this run
    // has presented this many frames; 0 runs until the player presses Escape.
    int frameLimit = 0;
};

// Returns the process exit status: 0 after a normal shutdown (Escape in the
// game, or a quit request: the window closed, SIGINT, SIGTERM), 1 when there is
// no display or a screen or an embedded picture could not be opened (one line
// on stderr says which).
int RunMorvel(const TRunOptions& options = {});

class TFrameCounter;
class TFrameIntervals;

struct TStart {
    bool play;  // the game screen is open and the course set up
    int status; // when not playing: the exit status RunMorvel returns
};

struct TModeChoice;

// Start-up up to the game's first frame, as RunMorvel runs it: the pictures,
// the facilities, the mode menu, the game screen, the course and the drawing
// settings. Tools that step the game themselves start it here.
TStart StartMorvel(TFrameCounter& frames);

// StartMorvel in two halves, for a driver that runs the menu's frames one at a
// time: up to the menu's open window (play false on failure) ...
TStart OpenModeMenu();
// ... and, once the menu has been left with Enter, from closing its window to
// the game's first frame.
TStart StartGame(const TModeChoice& choice);

// After the frame loop: reports a frame that could not go on (completed
// false), prints the frame statistics when intervals is not Null, and shuts
// down. Returns the exit status.
int FinishMorvel(bool completed, const TFrameIntervals* intervals);

// Shutdown after the last frame: the world destroyed, the screen closed and the
// game's objects released.
void EndMorvel();

// The frames one run has presented, against its limit.
class TFrameCounter {
public:
    explicit TFrameCounter(int frameLimit) : limit(frameLimit) {}
    // Presents the frame, paced; true once the limit is reached.
    bool PresentFrame();
    // From now on every presented frame is marked in intervals (Null stops).
    void Time(TFrameIntervals* intervals) { timing = intervals; }

private:
    int limit;
    int presented = 0;
    TFrameIntervals* timing = nullptr;
};

} // namespace morvel
