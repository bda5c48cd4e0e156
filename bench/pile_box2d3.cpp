// The pile in Box2D v3, in its units: one pixel is 1/16 metre, and a tick a sixtieth of
// a second, so that gravity 0.1 pixels per tick squared is 360 pixels a second squared.
#include "pile_scene.h"
#include "scenes.h"

#include <box2d/box2d.h>

#include <cmath>

namespace pile {

namespace {

constexpr float kPixelsPerMetre = 16.0f;
constexpr float kTicksPerSecond = 60.0f;
constexpr int kSubsteps = 4;

} // namespace

struct TBox2DPile::TWorld {
    b2WorldId id;
};

TBox2DPile::TBox2DPile(int count) : world(new TWorld) {
    const int side = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(count))));
    const float size = scenes::kPileSpacing * static_cast<float>(side + 1) / kPixelsPerMetre;
    b2WorldDef def = b2DefaultWorldDef();
    def.gravity = {0.0f, 0.1f * kTicksPerSecond * kTicksPerSecond / kPixelsPerMetre};
    def.enableSleep = false;
    def.workerCount = 1;
    world->id = b2CreateWorld(&def);

    b2BodyDef wallDef = b2DefaultBodyDef();
    const b2BodyId walls = b2CreateBody(world->id, &wallDef);
    const b2ShapeDef wallShape = b2DefaultShapeDef();
    const b2Vec2 corners[4] = {{0, 0}, {size, 0}, {size, size}, {0, size}};
    for (int i = 0; i < 4; ++i) {
        const b2Segment segment{corners[i], corners[(i + 1) % 4]};
        b2CreateSegmentShape(walls, &wallShape, &segment);
    }
    b2ShapeDef ballShape = b2DefaultShapeDef();
    ballShape.density = 1.0f;
    ballShape.material.friction = 0.5f;
    for (int i = 0; i < count; ++i) {
        b2BodyDef ballDef = b2DefaultBodyDef();
        ballDef.type = b2_dynamicBody;
        ballDef.position = {
            scenes::kPileSpacing * static_cast<float>(i % side + 1) / kPixelsPerMetre,
            scenes::kPileSpacing * static_cast<float>(i / side + 1) / kPixelsPerMetre};
        const b2BodyId ball = b2CreateBody(world->id, &ballDef);
        const b2Circle circle{{0.0f, 0.0f}, scenes::PileRadius(i) / kPixelsPerMetre};
        b2CreateCircleShape(ball, &ballShape, &circle);
    }
}

TBox2DPile::~TBox2DPile() {
    b2DestroyWorld(world->id);
    delete world;
}

void TBox2DPile::Step() {
    b2World_Step(world->id, 1.0f / kTicksPerSecond, kSubsteps);
}

} // namespace pile
