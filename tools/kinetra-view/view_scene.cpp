#include "view_scene.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <memory>
#include <system_error>
#include <vector>

namespace kinetra_view {

namespace {

// The game's world: gravity 0.1 pixels per tick squared, 2 passes a tick.
constexpr float kGravity = 0.1f;
constexpr int kPasses = 2;
// The game's scenery group and friction, so a body meets the floor as it
// would meet the course.
constexpr int kFloorGroup = 10;
constexpr float kFloorFriction = 1.0f;
constexpr int kFloorTreeDepth = 4;
// Where a loaded body's top edge is put, centred across the box.
constexpr float kBodyTop = 60.0f;

struct TBounds {
    float left = std::numeric_limits<float>::max();
    float top = std::numeric_limits<float>::max();
    float right = std::numeric_limits<float>::lowest();
};

TBounds MassBounds(const kinetra::TAdvBody& body) {
    TBounds bounds;
    for (const kinetra::MassRef& mass : body.masses) {
        if (mass) {
            bounds.left = std::min(bounds.left, mass->x - mass->radius);
            bounds.top = std::min(bounds.top, mass->y - mass->radius);
            bounds.right = std::max(bounds.right, mass->x + mass->radius);
        }
    }
    return bounds;
}

// Body files use coordinates of their own: the body is moved rigidly so that
// it hangs centred above the floor, at rest.
void PlaceBody(kinetra::TAdvBody& body) {
    if (body.masses.empty() || !body.masses[0]) {
        return;
    }
    const TBounds bounds = MassBounds(body);
    // Halved before adding, so that far-flung masses cannot overflow the sum.
    const float dx = kBoxWidth * 0.5f - (bounds.left * 0.5f + bounds.right * 0.5f);
    const float dy = kBodyTop - bounds.top;
    if (!std::isfinite(dx) || !std::isfinite(dy)) {
        return;
    }
    const kinetra::TMass& reference = *body.masses[0];
    body.SetPosition(reference.x + dx, reference.y + dy);
}

kinetra::AdvBodyRef LoadPlacedBody(const std::string& path, std::string& error) {
    kinetra::AdvBodyRef body = kinetra::LoadBodyFile(path, &error);
    if (body) {
        PlaceBody(*body);
    }
    return body;
}

} // namespace

std::string AbsolutePath(const std::string& path) {
    std::error_code failure;
    const std::filesystem::path absolute = std::filesystem::absolute(path, failure);
    return failure ? path : absolute.string();
}

bool OpenScene(TViewScene& scene, const std::string& bodyPath, std::string& error) {
    scene = TViewScene{};
    scene.bodyPath = AbsolutePath(bodyPath);
    kinetra::CreatePhysics(kBoxWidth, kBoxHeight, kGravity, 0, kPasses);
    kinetra::SetContactReporting(true);
    auto floorPoints = std::make_shared<std::vector<float>>(std::vector<float>{
        0, kFloorTop, kBoxWidth, kFloorTop, kBoxWidth, kBoxHeight, 0, kBoxHeight});
    scene.floor = kinetra::TZone::Create(floorPoints, kinetra::TZoneKind::Solid, kFloorFriction,
                                         kFloorGroup, kFloorTreeDepth);
    scene.body = LoadPlacedBody(scene.bodyPath, error);
    if (!scene.body) {
        CloseScene(scene);
        return false;
    }
    return true;
}

void CloseScene(TViewScene& scene) {
    if (scene.body) {
        scene.body->Remove();
    }
    if (scene.floor) {
        scene.floor->Remove();
    }
    scene.rewind.Clear();
    kinetra::SetContactReporting(false);
    kinetra::DestroyPhysics();
    scene.dragged.reset();
    scene.hovered.reset();
    scene.body.reset();
    scene.floor.reset();
}

bool ReloadBody(TViewScene& scene) {
    std::string error;
    kinetra::AdvBodyRef fresh = LoadPlacedBody(scene.bodyPath, error);
    if (!fresh) {
        scene.rejection = error.empty() ? "not a loadable body file" : error;
        return false;
    }
    if (scene.body) {
        scene.body->Remove();
    }
    scene.body = std::move(fresh);
    scene.rejection.clear();
    scene.dragged.reset();
    scene.hovered.reset();
    // The history holds the old body.
    scene.rewind.Clear();
    scene.ticks = 0;
    return true;
}

void GrabNearestMass(TViewScene& scene, float x, float y) {
    scene.dragged.reset();
    if (!scene.body) {
        return;
    }
    float nearest = std::numeric_limits<float>::max();
    for (const kinetra::MassRef& mass : scene.body->masses) {
        if (!mass) {
            continue;
        }
        const float dx = mass->x - x;
        const float dy = mass->y - y;
        const float distance = dx * dx + dy * dy;
        if (distance < nearest) {
            nearest = distance;
            scene.dragged = mass;
        }
    }
    scene.pointerX = x;
    scene.pointerY = y;
    scene.pointerVX = 0.0f;
    scene.pointerVY = 0.0f;
    DragTo(scene, x, y);
}

void DragTo(TViewScene& scene, float x, float y) {
    if (!scene.dragged) {
        return;
    }
    scene.pointerVX = x - scene.pointerX;
    scene.pointerVY = y - scene.pointerY;
    scene.pointerX = x;
    scene.pointerY = y;
    scene.dragged->SetPosition(x, y);
    // Moved by hand: questions must find it where it is now.
    kinetra::RefreshQueries();
}

void ReleaseMass(TViewScene& scene) {
    if (scene.dragged && !scene.dragged->fixed) {
        scene.dragged->SetVelocity(scene.pointerVX, scene.pointerVY);
    }
    scene.dragged.reset();
}

kinetra::MassRef MassUnder(float x, float y) {
    std::vector<kinetra::MassRef> masses;
    std::vector<kinetra::ZoneRef> zones;
    kinetra::QueryPoint(x, y, masses, zones);
    kinetra::MassRef nearest;
    float nearestDistance = std::numeric_limits<float>::max();
    for (const kinetra::MassRef& mass : masses) {
        const float distance = std::hypot(mass->x - x, mass->y - y);
        if (distance < nearestDistance) {
            nearestDistance = distance;
            nearest = mass;
        }
    }
    return nearest;
}

void StepScene(TViewScene& scene) {
    scene.rewind.Record();
    // The held mass is pinned for the tick: the rest of the body hangs from
    // it, and neither gravity nor the constraints take it from the pointer.
    kinetra::TMass* held = scene.dragged.get();
    const std::int32_t wasFixed = held ? held->fixed : 0;
    if (held) {
        held->SetPosition(scene.pointerX, scene.pointerY);
        held->fixed = 1;
    }
    kinetra::UpdatePhysics();
    if (held) {
        held->fixed = wasFixed;
    }
    ++scene.ticks;
}

void RunFrame(TViewScene& scene, const TViewInput& input) {
    if (input.reload) {
        ReloadBody(scene);
    }
    if (input.togglePause) {
        scene.paused = !scene.paused;
    }
    if (input.toggleContacts) {
        scene.showContacts = !scene.showContacts;
    }
    const float x = static_cast<float>(input.pointerX);
    const float y = static_cast<float>(input.pointerY);
    if (input.rewind) {
        scene.dragged.reset();
        if (scene.rewind.StepBack()) {
            --scene.ticks;
        }
    } else {
        if (!input.buttonDown) {
            ReleaseMass(scene);
        } else if (scene.dragged) {
            DragTo(scene, x, y);
        } else {
            GrabNearestMass(scene, x, y);
        }
        if (!scene.paused || input.step) {
            StepScene(scene);
        }
    }
    scene.hovered = MassUnder(x, y);
}

} // namespace kinetra_view
