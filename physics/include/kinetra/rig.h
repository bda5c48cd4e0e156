/// @file
/// A rig pins an image to one mass of a body and turns it with the direction
/// of one of the body's constraints. Rigs never take part in the simulation.
///
/// A rig owns nothing: image, mass and constraint are shared references.
/// Rotation is in degrees, positive clockwise on screen. Draw is part of
/// Kinetra::kinetra.
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
using RigRef = std::shared_ptr<TRig>;              ///< A rig, shared.
using ImageRef = std::shared_ptr<present::TImage>; ///< A picture of the presentation layer, shared.

/// A picture drawn on a mass, turned with a constraint.
class TRig {
public:
    std::string name; ///< A label; "Rig" from Create.
    ImageRef image;   ///< The picture; frame 0 is drawn, its anchor on the mass.
    MassRef mass;     ///< Where the picture's anchor is drawn.
    /// Null turns the image by angle alone.
    ConstraintRef constraint;
    float angle = 0.0f; ///< Degrees, clockwise, added to the constraint's direction.

    /// A rig named "Rig". Any argument may be Null; never Null itself.
    static RigRef Create(ImageRef image, MassRef mass, ConstraintRef constraint, float angle);
    /// Replaces the picture.
    void SetImage(ImageRef newImage);
    /// The rotation the image is drawn with: the constraint's direction plus angle.
    float Rotation() const;
    /// Draws frame 0 with its anchor on the mass. The drawing rotation is left
    /// set to the rig's rotation. A rig without image or mass draws nothing.
    void Draw() const;
};

} // namespace kinetra
