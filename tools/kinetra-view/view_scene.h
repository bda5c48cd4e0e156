// What kinetra-view shows: the game's world in an 800 x 600 box with a floor
// zone, one body from a body file, and the viewer's hold on it (the mass being
// dragged, the mass under the pointer, pause and single steps, stepping back
// through the last ten seconds, reloads that may be rejected). Contacts are
// reported while a scene is open, to be shown on request.
#pragma once

#include "view_rewind.h"

#include <kinetra/kinetra.h>

#include <string>

namespace kinetra_view {

constexpr int kBoxWidth = 800;
constexpr int kBoxHeight = 600;
constexpr float kFloorTop = 540.0f;

struct TViewScene {
    std::string bodyPath; // absolute: the loader changes the current directory
    kinetra::AdvBodyRef body;
    kinetra::ZoneRef floor;
    // The loader's reason for rejecting the latest reload; empty once one succeeds.
    std::string rejection;
    bool paused = false;
    int ticks = 0; // since the body was (re)loaded
    kinetra::MassRef dragged;
    float pointerX = 0.0f; // where the dragged mass is held
    float pointerY = 0.0f;
    float pointerVX = 0.0f; // the pointer's latest motion, given to the mass when let go
    float pointerVY = 0.0f;
    kinetra::MassRef hovered; // the mass under the pointer, if any
    bool showContacts = false;
    TRewind rewind;
};

// What the window reported for one frame.
struct TViewInput {
    bool reload = false;
    bool togglePause = false;
    bool step = false;
    bool toggleContacts = false;
    bool rewind = false; // held: one tick back a frame
    bool buttonDown = false;
    int pointerX = 0;
    int pointerY = 0;
};

// The path made absolute (as given when that fails): the loader changes the
// current directory, so paths from the command line are fixed before loading.
std::string AbsolutePath(const std::string& path);

// Creates the world and the floor and loads the body; false with the
// loader's reason when the file is rejected (the scene is then closed).
bool OpenScene(TViewScene& scene, const std::string& bodyPath, std::string& error);
// Drops the body, the floor and the world.
void CloseScene(TViewScene& scene);

// Loads the file again. A rejected file keeps the current body and leaves
// the loader's reason in rejection.
bool ReloadBody(TViewScene& scene);

// Takes hold of the body's mass nearest to (x, y); nothing for a body without masses.
void GrabNearestMass(TViewScene& scene, float x, float y);
// Moves the held mass to (x, y).
void DragTo(TViewScene& scene, float x, float y);
// Lets the held mass go with the pointer's latest motion.
void ReleaseMass(TViewScene& scene);

// The mass whose circle holds (x, y), the one with the nearest centre where several
// do; null for none.
kinetra::MassRef MassUnder(float x, float y);

// One tick of the world, kept first for rewinding; the held mass stays under the
// pointer.
void StepScene(TViewScene& scene);

// One displayed frame: reload, pause, the contacts shown or not; then either a step
// back (rewind held, which lets go of the mass) or the drag and a tick unless paused
// (or the single step asked for while paused); last, the mass under the pointer.
void RunFrame(TViewScene& scene, const TViewInput& input);

} // namespace kinetra_view
