// The whole program: start-up, the mode menu, the frame loop and shutdown.
// The executable and the deterministic driver run this same routine.
#pragma once

namespace morvel {

struct TRunOptions {
    // Leave (the menu or the game) as if Escape had been pressed once this run
    // has presented this many frames; 0 runs until the player presses Escape.
    int frameLimit = 0;
};

// Returns the process exit status: 0 after a normal shutdown, 1 when a screen
// or an embedded picture could not be opened (one line on stderr says which).
int RunMorvel(const TRunOptions& options = {});

// The frames one run has presented, against its limit.
class TFrameCounter {
public:
    explicit TFrameCounter(int frameLimit) : limit(frameLimit) {}
    // Presents the frame, paced; true once the limit is reached.
    bool PresentFrame();

private:
    int limit;
    int presented = 0;
};

} // namespace morvel
