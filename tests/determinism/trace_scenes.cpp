#include "trace_scenes.h"

#include "scenes.h"

#include <cstring>
#include <memory>
#include <vector>

using namespace kinetra;

namespace trace {
namespace {

// FNV-1a over the bit patterns of every registered mass's position and
// previous position, so a difference in the last bit of any of them shows.
class TStateHash {
public:
    void AddMasses() {
        for (const auto& m : *massList) {
            Add(m->x);
            Add(m->y);
            Add(m->oldX);
            Add(m->oldY);
        }
    }
    void Add(float f) {
        std::uint32_t bits;
        std::memcpy(&bits, &f, sizeof bits);
        Add(bits);
    }
    void Add(std::uint32_t bits) {
        for (int i = 0; i < 4; ++i) {
            value ^= (bits >> (8 * i)) & 0xffu;
            value *= 0x100000001b3ull;
        }
    }
    std::uint64_t value = 0xcbf29ce484222325ull;
};

std::uint64_t RunHashed(int ticks) {
    TStateHash hash;
    for (int tick = 0; tick < ticks; ++tick) {
        UpdatePhysics();
        if (tick % 100 == 99) {
            hash.AddMasses();
        }
    }
    DestroyPhysics();
    return hash.value;
}

ZoneRef MakeZone(std::vector<float> points, TZoneKind kind, float friction, int group, int depth) {
    return TZone::Create(std::make_shared<std::vector<float>>(std::move(points)), kind, friction,
                         group, depth);
}

} // namespace

std::uint64_t GoldenSceneHash(int ticks) {
    CreatePhysics(640, 480, 0.1f, 0.01f, 3);
    SetPhysicsWorld(0, 0, 640, 480, 0.8f);
    auto ring = scenes::MakeRing(200, 120, 30);
    auto block = scenes::MakeBlock(120, 300, 360, 420);
    block->Rotate(3);
    auto outline =
        MakeZone({0, 0, 160, 0, 160, 120, 80, 150, 0, 120}, TZoneKind::Outline, 0.5f, -1, 2);
    outline->SetPosition(420, 200);
    std::vector<MassRef> loose;
    for (int i = 0; i < 6; ++i) {
        auto m = TMass::Create(440.0f + 20.0f * i, 230.0f + 3.0f * i, 1.0f + i, 6, 0.4f, -1);
        m->SetVelocity(1.5f - 0.5f * i, -1.0f);
        m->Register();
        loose.push_back(m);
    }
    auto anchor = TMass::Create(600, 40, 1, 3, 0, 0);
    anchor->Fix();
    TConstraint::Create(anchor, loose[5], 0, 0.3f)->Register();
    return RunHashed(ticks);
}

namespace {

void BuildCrowdScene() {
    CreatePhysics(800, 600, 0.15f, 0.002f, 2);
    SetPhysicsWorld(0, 0, 800, 600, 0.6f);
    auto crowd = scenes::MakeCrowd(200, 800, 300);
    // Every third mass shares group 7, so the pair loop meets runs it must skip.
    for (std::size_t i = 0; i < crowd.size(); i += 3) {
        crowd[i]->group = 7;
    }
    auto floor = scenes::MakeBlock(50, 520, 750, 580);
    floor->Rotate(-4);
    auto cup = MakeZone({0, 0, 40, 120, 160, 120, 200, 0}, TZoneKind::Open, 0.8f, 7, 3);
    cup->SetPosition(300, 330);
    auto wedge = MakeZone({0, 60, 90, 0, 120, 70}, TZoneKind::Outline, 0.2f, -1, 2);
    wedge->SetPosition(600, 380);
    wedge->Rotate(25);
}

} // namespace

std::uint64_t CrowdSceneHash(int ticks) {
    BuildCrowdScene();
    return RunHashed(ticks);
}

std::uint64_t PileSceneHash(int count, int ticks) {
    const scenes::TPile pile = scenes::MakePile(count);
    for (int tick = 0; tick < ticks; ++tick) {
        UpdatePhysics();
    }
    TStateHash hash;
    hash.AddMasses();
    DestroyPhysics();
    return hash.value;
}

std::uint64_t CrowdReportHash(int ticks) {
    BuildCrowdScene();
    SetContactReporting(true);
    TStateHash hash;
    for (int tick = 0; tick < ticks; ++tick) {
        UpdatePhysics();
        for (const auto* list : {&TickContacts(), &EndedContacts()}) {
            hash.Add(static_cast<std::uint32_t>(list->size()));
            for (const TContact& c : *list) {
                for (float f : {c.x, c.y, c.normalX, c.normalY, c.speed}) {
                    hash.Add(f);
                }
                hash.Add(static_cast<std::uint32_t>(c.begin));
            }
        }
    }
    const std::uint64_t state = PhysicsStateHash();
    hash.Add(static_cast<std::uint32_t>(state));
    hash.Add(static_cast<std::uint32_t>(state >> 32));
    SetContactReporting(false);
    DestroyPhysics();
    return hash.value;
}

} // namespace trace
