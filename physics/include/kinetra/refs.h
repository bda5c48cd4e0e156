// Shared reference types of the engine's objects.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace kinetra {

class TMass;
class TConstraint;
class TZone;
class TPhysics;
class TQuadTree;
class TBody;
enum class TZoneKind : std::int32_t; // zone.h

using MassRef = std::shared_ptr<TMass>;
using ConstraintRef = std::shared_ptr<TConstraint>;
using ZoneRef = std::shared_ptr<TZone>;
using PhysicsRef = std::shared_ptr<TPhysics>;
using QuadTreeRef = std::shared_ptr<TQuadTree>;

// A point array shared between a zone and its creator (x0, y0, x1, y1, ...).
using FloatArray = std::shared_ptr<std::vector<float>>;

} // namespace kinetra
