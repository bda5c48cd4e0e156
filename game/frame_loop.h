// The game's frame loop: one physics tick per presented frame.
#pragma once

#include "program.h"

namespace morvel {

enum class TFrameStep { Again, Ended, Failed };

// One pass of the frame loop: the course stepped, the frame drawn and
// presented. Ended after Escape, a quit request or the frame limit; Failed when
// the frame could not go on (the finish skin could not be loaded).
TFrameStep StepGameFrame(TFrameCounter& frames);

// Runs frames until Escape, a quit request or the frame limit. False when a frame could not
// go on (the finish skin could not be loaded).
bool RunFrameLoop(TFrameCounter& frames);

// Draws one game frame, unpresented: the view on the blob, the signposts, the
// blob, the level over it and the screen overlay.
void DrawGameFrame();

} // namespace morvel
