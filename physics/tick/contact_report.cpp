#include "contact_report.h"

#include <kinetra/mass.h>
#include <kinetra/world.h>
#include <kinetra/zone.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <utility>

namespace kinetra {

namespace {

constexpr std::size_t kSmallestTable = 64;
// A normal whose squared length is further than this from 1 is made unit for the
// report; the tick's own are unit to within a few roundings, and are reported as they
// are.
constexpr float kUnitSlack = 1.0e-3f;

struct TReportState {
    bool on = false;
    std::weak_ptr<TPhysics> world;
    TContactReport report;
};

TReportState& State() {
    static TReportState state;
    return state;
}

const std::vector<TContact>& NoContacts() {
    static const std::vector<TContact> kNone;
    return kNone;
}

std::size_t Mix(const void* a, const void* b) {
    std::uint64_t h = reinterpret_cast<std::uintptr_t>(a) ^
                      (reinterpret_cast<std::uintptr_t>(b) * 0x9e3779b97f4a7c15ull);
    h ^= h >> 29;
    h *= 0xbf58476d1ce4e5b9ull;
    h ^= h >> 32;
    return static_cast<std::size_t>(h);
}

// A pair of masses is the same pair whichever of the two the list holds first.
std::pair<const void*, const void*> Key(const TMass* mass, const TMass* other, const TZone* zone) {
    if (zone) {
        return {mass, zone};
    }
    return std::less<const TMass*>()(mass, other)
               ? std::pair<const void*, const void*>{mass, other}
               : std::pair<const void*, const void*>{other, mass};
}

std::pair<const void*, const void*> KeyOf(const TContact& c) {
    return Key(c.mass.get(), c.other.get(), c.zone.get());
}

void MakeUnit(float& nx, float& ny) {
    const float squared = nx * nx + ny * ny;
    if (squared > 0.0f && std::fabs(squared - 1.0f) > kUnitSlack) {
        const float length = std::sqrt(squared);
        nx /= length;
        ny /= length;
    }
}

} // namespace

std::size_t TPairMap::SlotOf(const void* a, const void* b) const {
    const std::size_t mask = slots.size() - 1;
    std::size_t i = Mix(a, b) & mask;
    while (slots[i].a && !(slots[i].a == a && slots[i].b == b)) {
        i = (i + 1) & mask;
    }
    return i;
}

bool TPairMap::Insert(const void* a, const void* b, std::uint32_t value) {
    if ((used.size() + 1) * 2 > slots.size()) {
        Grow();
    }
    const std::size_t i = SlotOf(a, b);
    if (slots[i].a) {
        return false;
    }
    slots[i] = {a, b, value};
    used.push_back(static_cast<std::uint32_t>(i));
    return true;
}

std::uint32_t TPairMap::Find(const void* a, const void* b) const {
    return used.empty() ? kNone : slots[SlotOf(a, b)].value;
}

void TPairMap::Clear() {
    for (std::uint32_t i : used) {
        slots[i] = TSlot{};
    }
    used.clear();
}

void TPairMap::Grow() {
    std::vector<TSlot> old = std::move(slots);
    slots.assign(old.empty() ? kSmallestTable : old.size() * 2, TSlot{});
    used.clear();
    for (const TSlot& slot : old) {
        if (slot.a) {
            const std::size_t i = SlotOf(slot.a, slot.b);
            slots[i] = slot;
            used.push_back(static_cast<std::uint32_t>(i));
        }
    }
}

void TContactReport::Open(const TList<TMass>& masses, const TList<TZone>& zones) {
    listsKept = lastRuns.massStamp == masses.Stamp() && lastRuns.zoneStamp == zones.Stamp();
    if (++runs.count == 0) {
        // After 2^32 ticks: no run may pass for this tick's.
        for (TRuns::TRun& run : runs.runs) {
            run.tick = 0;
        }
        runs.count = 1;
    }
    runs.massStamp = masses.Stamp();
    runs.zoneStamp = zones.Stamp();
    if (runs.runs.size() < masses.Count()) {
        runs.runs.resize(masses.Count(), TRuns::TRun{0, 0, TPairMap::kNone, 0});
    }
}

void TContactReport::StartPass(int pass) {
    firstPass = pass == 1;
    cursorMass = TPairMap::kNone;
}

void TContactReport::Grow(std::uint32_t first) {
    if (first >= runs.runs.size()) {
        runs.runs.resize(first + std::size_t{1}, TRuns::TRun{0, 0, TPairMap::kNone, 0});
    }
    if (pairCount == pairs.size()) {
        pairs.resize(std::max(kSmallestTable, pairs.size() * 2));
    }
}

// The pair of run whose second object is second, or none.
std::uint32_t TContactReport::Find(const std::vector<TPair>& among, const TRuns::TRun& run,
                                   std::uint32_t second) {
    for (std::uint32_t r = run.begin; r < run.end; ++r) {
        if (among[r].second == second) {
            return r;
        }
    }
    for (std::uint32_t r = run.later; r != TPairMap::kNone; r = among[r].next) {
        if (among[r].second == second) {
            return r;
        }
    }
    return TPairMap::kNone;
}

// Whether the pair was pushed before, where the cursor did not find it: the pass
// goes on from there.
bool TContactReport::Seek(std::uint32_t second, const TRuns::TRun& run) {
    const std::uint32_t r = Find(pairs, run, second);
    if (r < run.end) {
        cursor = r + 1;
    }
    return r != TPairMap::kNone;
}

TContactReport::TObjects TContactReport::ObjectsOf(const TPair& pair,
                                                   const std::vector<TMass*>& masses,
                                                   const std::vector<TZone*>& zones) {
    if ((pair.second & kZoneFlag) != 0) {
        return {masses[pair.first], zones[pair.second & ~kZoneFlag]};
    }
    return {masses[pair.first], masses[pair.second]};
}

// Where the pair stood among the last tick's contacts, found by its places while the
// lists are the last tick's: none if it did not touch then. Pairs mostly come in the
// order they came then, so the one after the last found is tried first.
std::uint32_t TContactReport::ThenByPlace(const TPair& pair, std::uint32_t guess) const {
    if (guess < lastCount && lastPairs[guess].first == pair.first &&
        lastPairs[guess].second == pair.second) {
        return guess;
    }
    const TRuns::TRun* run = lastRuns.Of(pair.first);
    return run ? Find(lastPairs, *run, pair.second) : TPairMap::kNone;
}

// Likewise by its objects, once the lists have changed.
std::uint32_t TContactReport::ThenByAddress(std::uint32_t second, const TObjects& objects) const {
    const auto key =
        (second & kZoneFlag) != 0
            ? Key(objects.mass, nullptr, static_cast<const TZone*>(objects.other))
            : Key(objects.mass, static_cast<const TMass*>(objects.other), nullptr);
    return beforeMap.Find(key.first, key.second);
}

void TContactReport::MapBefore() {
    beforeMap.Clear();
    for (std::uint32_t i = 0; i < before.size(); ++i) {
        const auto key = KeyOf(before[i]);
        beforeMap.Insert(key.first, key.second, i);
    }
}

// A pair that did not touch on the tick before: its references are taken here.
TContact TContactReport::MakeContact(std::uint32_t second, const TObjects& objects,
                                     const TList<TZone>& listedZones) {
    TContact c;
    c.mass = objects.mass->weak_from_this().lock();
    c.begin = true;
    if ((second & kZoneFlag) == 0) {
        c.other = static_cast<TMass*>(const_cast<void*>(objects.other))->weak_from_this().lock();
        return c;
    }
    if (zoneRefs.empty()) {
        for (const ZoneRef& zone : listedZones) {
            zoneRefs.push_back(&zone);
        }
    }
    // The tick hands zones on by their place in the list; should that ever differ, the
    // zone is looked for.
    const std::size_t z = second & ~kZoneFlag;
    if (z < zoneRefs.size() && zoneRefs[z]->get() == objects.other) {
        c.zone = *zoneRefs[z];
    } else {
        for (const ZoneRef* ref : zoneRefs) {
            if (ref->get() == objects.other) {
                c.zone = *ref;
            }
        }
    }
    return c;
}

void TContactReport::Close(const std::vector<TMass*>& masses, const std::vector<TZone*>& zones,
                           const TList<TZone>& listedZones) {
    before.swap(last);
    last.clear();
    if (!listsKept) {
        MapBefore();
    }
    std::size_t taken = 0;
    std::uint32_t guess = 0;
    for (std::uint32_t i = 0; i < pairCount; ++i) {
        const TPair& pair = pairs[i];
        const std::uint32_t then = listsKept ? ThenByPlace(pair, guess)
                                             : ThenByAddress(pair.second,
                                                             ObjectsOf(pair, masses, zones));
        if (then != TPairMap::kNone && then < before.size() && before[then].mass) {
            last.push_back(std::move(before[then]));
            last.back().begin = false;
            ++taken;
            guess = then + 1;
        } else {
            last.push_back(MakeContact(pair.second, ObjectsOf(pair, masses, zones), listedZones));
        }
        TContact& c = last.back();
        c.x = pair.push.x;
        c.y = pair.push.y;
        c.normalX = pair.push.nx;
        c.normalY = pair.push.ny;
        MakeUnit(c.normalX, c.normalY);
        c.speed = pair.push.speed;
    }
    // What was not taken on has ended.
    ended.clear();
    for (std::size_t i = 0; taken < before.size() && i < before.size(); ++i) {
        if (before[i].mass) {
            before[i].begin = false;
            ended.push_back(std::move(before[i]));
            ++taken;
        }
    }
    before.clear();
    zoneRefs.clear();
    beforeMap.Clear();
    std::swap(pairs, lastPairs);
    lastCount = pairCount;
    pairCount = 0;
    std::swap(runs, lastRuns);
}

void TContactReport::Forget() {
    pairCount = lastCount = 0;
    // No tick's lists: the next tick matches by address.
    lastRuns.massStamp = lastRuns.zoneStamp = 0;
    beforeMap.Clear();
    last.clear();
    before.clear();
    ended.clear();
}

void TContactReport::Recall(const std::vector<TContact>& contacts,
                            const std::vector<TContact>& endedThen) {
    Forget();
    last = contacts;
    ended = endedThen;
}

TContactReport* OpenContactReport(const PhysicsRef& world) {
    TReportState& state = State();
    if (!state.on) {
        return nullptr;
    }
    if (!world) {
        // Let go of the objects of a world that has gone.
        state.report.Forget();
        state.world.reset();
        return nullptr;
    }
    if (state.world.lock() != world) {
        state.report.Forget();
        state.world = world;
    }
    return &state.report;
}

void SetContactReporting(bool on) {
    TReportState& state = State();
    state.on = on;
    if (!on) {
        state.report.Forget();
        state.world.reset();
    }
}

bool ContactReporting() {
    return State().on;
}

const std::vector<TContact>& TickContacts() {
    TContactReport* report = OpenContactReport(currentWorld);
    return report ? report->Contacts() : NoContacts();
}

const std::vector<TContact>& EndedContacts() {
    TContactReport* report = OpenContactReport(currentWorld);
    return report ? report->Ended() : NoContacts();
}

} // namespace kinetra
