// One tick of the world, in the order that defines the engine's results:
//
//   integration                       integration.h
//   per pass, for every mass in list order:
//     the walls                       walls.h
//     each zone it may touch          zone_contact.h
//     each later mass it may touch    mass_contact.h
//   per pass, afterwards:
//     every constraint                constraint_pass.h
//
// Every correction is written straight back, so each test sees the ones before it:
// the order above is part of the result. The broad phase (broad_phase.h) passes over
// the zones and masses whose test would do nothing, and hands on every other one in
// list order. Every stage works on the masses' states, side by side in one array
// (mass_state.h); the masses get their positions back at the end of the tick. While
// contacts are reported, every push is handed to the report (contact_report.h), which
// only reads it.
#include <kinetra/world.h>

#include "broad_phase.h"
#include "constraint_pass.h"
#include "contact_report.h"
#include "integration.h"
#include "mass_contact.h"
#include "state_epoch.h"
#include "walls.h"
#include "zone_contact.h"

#include <memory>

namespace kinetra {

struct TTickCache {
    TBroadPhase near;
    TConstraintPass constraints;
};

namespace {

// The zones that mass j may touch, in list order; says whether any pushed it. Whether
// contacts are reported is a parameter of the loops, so that a tick without a report
// tests nothing for it per pair.
template <bool kReporting>
bool MeetZones(TBroadPhase& near, std::size_t j, TContactReport* report) {
    const std::size_t zoneCount = near.zones.size();
    if (zoneCount == 0) {
        return false;
    }
    TMassState& p = near.state[j];
    bool pushed = false;
    for (std::size_t z = near.NextZoneNear(p, 0); z < zoneCount; z = near.NextZoneNear(p, z + 1)) {
        if (near.TreeReaches(z, p) && !near.Clear(z, p)) {
            if constexpr (kReporting) {
                if (ResolveZoneContact(*near.zones[z], p, report->NextPush())) {
                    report->ZoneContact(j, z);
                    pushed = true;
                }
            } else {
                pushed |= ResolveZoneContact(*near.zones[z], p, nullptr);
            }
        }
    }
    return pushed;
}

// The later masses that mass j may touch, in list order.
template <bool kReporting>
void MeetLaterMasses(TBroadPhase& near, std::size_t j, TContactReport* report) {
    const std::size_t count = near.masses.size();
    TMassState& p = near.state[j];
    for (std::size_t k = near.NextMassInReach(j, j + 1); k < count;
         k = near.NextMassInReach(j, k + 1)) {
        bool pushed = false;
        if constexpr (kReporting) {
            pushed = ResolveMassContact(p, near.state[k], *report->NextPush());
            if (pushed) {
                report->MassContact(j, k);
            }
        } else {
            pushed = ResolveMassContact(p, near.state[k]);
        }
        // A contact that did not push moved neither mass.
        if (pushed) {
            near.Moved(j);
            near.Moved(k);
        }
    }
}

template <bool kReporting>
void RelaxPass(const TPhysics& world, TBroadPhase& near, TConstraintPass& constraints,
               TContactReport* report) {
    near.StartPass();
    for (std::size_t j = 0; j < near.masses.size(); ++j) {
        if (!near.masses[j]) {
            continue;
        }
        TMassState& p = near.state[j];
        bool moved = ClampToWalls(world, p);
        if (!p.fixed) {
            moved |= MeetZones<kReporting>(near, j, report);
        }
        // The grid holds every mass where it was last moved.
        if (moved) {
            near.Moved(j);
        }
        MeetLaterMasses<kReporting>(near, j, report);
    }
    if (constraints.Relax(near.state)) {
        near.RefileAll();
    }
}

} // namespace

void TPhysics::Update() {
    // Held for the whole tick, so nothing the tick calls can release them under it.
    const PhysicsRef world = currentWorld;
    const auto masses = massList;
    const auto constraints = constraintList;
    const auto zones = zoneList;
    if (!world || !masses || !constraints || !zones) {
        return;
    }
    ++stateEpoch;
    TContactReport* report = OpenContactReport(world);
    if (report) {
        report->Open(*masses, *zones);
    }
    if (!world->tickCache) {
        world->tickCache = std::make_shared<TTickCache>();
    }
    TBroadPhase& near = world->tickCache->near;
    TConstraintPass& relaxing = world->tickCache->constraints;
    near.TakeMasses(*masses);
    near.TakeStates();
    relaxing.Take(*constraints, masses->Stamp(), near.masses);
    Integrate(*world, near.masses, near.state);
    near.Load(*zones, world->minX, world->minY, world->maxX, world->maxY);
    const int passes = world->iterations;
    for (int pass = 1; pass <= passes; ++pass) {
        if (report) {
            report->StartPass(pass);
            RelaxPass<true>(*world, near, relaxing, report);
        } else {
            RelaxPass<false>(*world, near, relaxing, nullptr);
        }
    }
    near.StorePositions();
    relaxing.GiveBack();
    if (report) {
        report->Close(near.masses, near.zones, *zones);
    }
}

} // namespace kinetra
