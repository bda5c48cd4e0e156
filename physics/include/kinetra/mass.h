// A circular point mass integrated by position Verlet; velocity is position minus
// previous position, per tick (pixels per tick).
//
// Create makes a mass at rest that is not registered: it is simulated only
// once registered, by Register or through a constraint (TConstraint::Register,
// AddToBody). Registration is counted; Unregister of an unregistered mass does
// nothing. Masses are shared by reference (MassRef): massList, the masses'
// constraints and a TAdvBody's masses array may each hold one.
#pragma once

#include "list.h"
#include "refs.h"

#include <cstdint>
#include <string>

namespace kinetra {

class TMass : public std::enable_shared_from_this<TMass> {
public:
    std::string name;
    float x = 0.0f;
    float y = 0.0f;
    float oldX = 0.0f;
    float oldY = 0.0f;
    float mass = 0.0f;
    float radius = 0.0f;
    float group = 0.0f; // a whole number; 0 touches nothing, equal groups never touch
    float friction = 0.0f;
    std::int32_t fixed = 0;
    TLink link;
    std::int32_t useCount = 0;

    // A new mass at rest, not fixed and not registered. Group -1 takes the next
    // automatic group.
    static MassRef Create(float x, float y, float mass, float radius, float friction, int group);

    void SetName(const std::string& name);
    void Push(float dx, float dy);
    void Move(float dx, float dy);
    void SetPosition(float x, float y);
    float GetX() const { return x; }
    float GetY() const { return y; }
    void SetMass(float m);
    void SetFriction(float f);
    void Fix();
    void Unfix();
    void SetVelocity(float vx, float vy);
    void AddVelocity(float vx, float vy);
    int GetGroup() const;
    void SetGroup(int g);

    // Counted membership of massList: listed on the first Register, unlisted on the
    // last Unregister. Without a world the count still moves but nothing is listed.
    void Register();
    void Unregister();

    // Resolves an overlap between this mass and other, with friction.
    void Collide(TMass& other);
};

} // namespace kinetra
