// A rig pins an image to one mass of a body and turns it with the direction
// of one of the body's constraints. Rigs never take part in the simulation.
//
// A rig owns nothing: image, mass and constraint are shared references.
// Rotation is in degrees, positive clockwise on screen. Draw is part of
// Kinetra::kinetra.
#pragma once

#include "constraint.h"
#include "mass.h"

#include <memory>
#include <string>

namespace present {
struct TImage;
}

namespace kinetra {

class TRig;
using RigRef = std::shared_ptr<TRig>;
using ImageRef = std::shared_ptr<present::TImage>;

class TRig {
public:
    std::string name;
    ImageRef image;
    MassRef mass;
    // Null turns the image by angle alone.
    ConstraintRef constraint;
    float angle = 0.0f;

    static RigRef Create(ImageRef image, MassRef mass, ConstraintRef constraint, float angle);
    void SetImage(ImageRef newImage);
    // The rotation the image is drawn with: the constraint's direction plus angle.
    float Rotation() const;
    // Draws frame 0 with its anchor on the mass. The drawing rotation is left
    // set to the rig's rotation. A rig without image or mass draws nothing.
    void Draw() const;
};

} // namespace kinetra
