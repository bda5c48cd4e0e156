// Drawing of kinetra-view's scene: the floor, the body's constraints, masses
// and rigs, and the text lines over them.
#pragma once

#include "view_scene.h"

#include <string>

namespace kinetra_view {

// The drawing settings of the viewer's screen; once after OpenScreen.
void SetUpDrawing();

// Clears the screen and draws one frame of the scene; caption heads the text lines.
void DrawScene(const TViewScene& scene, const std::string& caption);

// The colour a constraint is drawn in: neutral at its rest length, shading
// to red as it stretches and to blue as it is compressed.
struct TColour {
    int red;
    int green;
    int blue;
};
TColour StrainColour(const kinetra::TConstraint& constraint);

} // namespace kinetra_view
