#include "web_run.h"

#include "frame_loop.h"
#include <present/present.h>

namespace morvel_web {

bool TWebRun::End(int exitStatus) {
    phase = TPhase::Ended;
    status = exitStatus;
    return false;
}

void TWebRun::LastFrameShown() {
    if (beforeClosing) {
        beforeClosing();
    }
}

bool TWebRun::StepMenu() {
    const morvel::TMenuStep step = morvel::StepModeMenu(choice, frames);
    if (step == morvel::TMenuStep::Again) {
        return true;
    }
    if (step == morvel::TMenuStep::Stop) {
        LastFrameShown();
        present::CloseScreen();
        return End(0);
    }
    const morvel::TStart start = morvel::StartGame(choice);
    if (!start.play) {
        return End(start.status);
    }
    phase = TPhase::Game;
    // Only the game's own frames are timed, from its first.
    timed = morvel::FrameStatsWanted();
    if (timed) {
        frames.Time(&intervals);
    }
    return true;
}

bool TWebRun::StepGame() {
    const morvel::TFrameStep step = morvel::StepGameFrame(frames);
    if (step == morvel::TFrameStep::Again) {
        return true;
    }
    LastFrameShown();
    return End(morvel::FinishMorvel(step == morvel::TFrameStep::Ended, timed ? &intervals : nullptr));
}

bool TWebRun::Step() {
    switch (phase) {
    case TPhase::Start: {
        const morvel::TStart start = morvel::OpenModeMenu();
        if (!start.play) {
            return End(start.status);
        }
        phase = TPhase::Menu;
        return StepMenu();
    }
    case TPhase::Menu:
        return StepMenu();
    case TPhase::Game:
        return StepGame();
    case TPhase::Ended:
        break;
    }
    return false;
}

} // namespace morvel_web
