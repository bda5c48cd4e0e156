/// @file
/// A body with arrays of its masses, constraints and rigs: moved as a whole,
/// drawn through its rigs, loaded from body files and built from templates.
#pragma once

#include "body.h"
#include "body_template.h"
#include "constraint.h"
#include "mass.h"
#include "rig.h"

#include <memory>
#include <string>
#include <vector>

namespace kinetra {

class TAdvBody;
using AdvBodyRef = std::shared_ptr<TAdvBody>; ///< An advanced body, shared.

/// A body that also keeps arrays of its masses, constraints and rigs, as body
/// files and templates make them.
class TAdvBody : public TBody {
public:
    /// Index 0 is the reference point of SetPosition. Entries may be Null;
    /// every whole-body operation skips them.
    std::vector<MassRef> masses;
    std::vector<ConstraintRef> constraints; ///< In file order; also the body's members.
    std::vector<RigRef> rigs;               ///< Drawn in this order.
    /// Direction of constraints[0] when the body was built from a template.
    float baseAngle = 0.0f;
    /// The template the body was built from, or (from LoadTemplate) holds for
    /// CreateFromTemplate; Null for a body loaded directly.
    TmpBodyRef bodyTemplate;

    /// Releases the arrays, then the base takes the members out of the world.
    ~TAdvBody() override;

    /// A live body from a body file, or Null (nothing registered) when the
    /// file is not a complete, consistent body file.
    static AdvBodyRef Load(const std::string& url);
    /// An empty body holding the file's template, or Null.
    static AdvBodyRef LoadTemplate(const std::string& url);
    /// A live body with new masses and constraints sharing the template's
    /// images; Null (nothing registered, no group used up) for a Null
    /// template or one whose indices do not name existing records.
    static AdvBodyRef CreateFromTemplate(const TmpBodyRef& bodyTemplate);

    /// Pushes every free mass by (dx, dy) (TMass::Push): the body gains that
    /// velocity.
    void Push(float dx, float dy);
    /// Moves the body rigidly so that masses[0] lands on (x, y), at rest.
    void SetPosition(float x, float y);
    /// Moves every free mass by (dx, dy) (TMass::Move), keeping its velocity.
    void Move(float dx, float dy);
    /// Draws the rigs in array order, later ones over earlier ones.
    void Draw() const;
};

} // namespace kinetra
