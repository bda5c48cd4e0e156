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
    if (keys.empty()) {
        Grow(0);
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
    if (pairCount + std::size_t{1} >= keys.size()) {
        // pushes serves every tick: as long as the longer of keys and lastKeys.
        const std::size_t size = std::max(kSmallestTable, keys.size() * 2);
        keys.resize(size);
        pushes.resize(std::max(size, pushes.size()));
    }
}

// The pair of run whose second object is second, or none.
std::uint32_t TContactReport::Find(const std::vector<TKey>& among, const TRuns::TRun& run,
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
    const std::uint32_t r = Find(keys, run, second);
    if (r < run.end) {
        cursor = r + 1;
    }
    return r != TPairMap::kNone;
}

TContactReport::TObjects TContactReport::ObjectsOf(const TKey& key,
                                                   const std::vector<TMass*>& masses,
                                                   const std::vector<TZone*>& zones) {
    if ((key.second & kZoneFlag) != 0) {
        return {masses[key.first], zones[key.second & ~kZoneFlag]};
    }
    return {masses[key.first], masses[key.second]};
}

// Where the pair stood among the last tick's contacts, found by its places while the
// lists are the last tick's: none if it did not touch then. Pairs mostly come in the
// order they came then, so the one after the last found is tried first.
std::uint32_t TContactReport::ThenByPlace(const TKey& key, std::uint32_t guess) const {
    if (guess < lastCount && lastKeys[guess].first == key.first &&
        lastKeys[guess].second == key.second) {
        return guess;
    }
    const TRuns::TRun* run = lastRuns.Of(key.first);
    return run ? Find(lastKeys, *run, key.second) : TPairMap::kNone;
}

// Likewise by its objects, once the lists have changed.
std::uint32_t TContactReport::ThenByAddress(std::uint32_t second, const TObjects& objects) const {
    const auto key = (second & kZoneFlag) != 0
                         ? Key(objects.mass, nullptr, static_cast<const TZone*>(objects.other))
                         : Key(objects.mass, static_cast<const TMass*>(objects.other), nullptr);
    return lastMap.Find(key.first, key.second);
}

void TContactReport::MapLast() {
    lastMap.Clear();
    for (std::uint32_t i = 0; i < last.size(); ++i) {
        const auto key = KeyOf(last[i]);
        lastMap.Insert(key.first, key.second, i);
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

// Which pair of this tick goes on with each of the last tick's contacts, if any.
void TContactReport::Match(const std::vector<TMass*>& masses, const std::vector<TZone*>& zones) {
    if (!listsKept) {
        MapLast();
    }
    goesOn.assign(last.size(), TPairMap::kNone);
    std::uint32_t guess = 0;
    for (std::uint32_t i = 0; i < pairCount; ++i) {
        const TKey& key = keys[i];
        const std::uint32_t then = listsKept
                                       ? ThenByPlace(key, guess)
                                       : ThenByAddress(key.second, ObjectsOf(key, masses, zones));
        // Taken once at most: a pair listed twice begins the second time.
        if (then < goesOn.size() && goesOn[then] == TPairMap::kNone) {
            goesOn[then] = i;
            guess = then + 1;
        }
    }
    lastMap.Clear();
}

// The last tick's contacts that nothing goes on with have ended: they leave the list,
// in the order they were in.
void TContactReport::EndUnmatched() {
    ended.clear();
    for (std::uint32_t i = 0; i < goesOn.size(); ++i) {
        if (goesOn[i] == TPairMap::kNone) {
            ended.push_back(std::move(last[i]));
            ended.back().begin = false;
        }
    }
}

// Moves each contact that goes on to the place of its pair. A contact moved into a
// place takes out the one there, which moves on in turn, until an empty place is
// reached (one left by an ended contact, by the first of the chain or past the last
// tick's): each moves once, and the places of the pairs that begin stay empty.
void TContactReport::Rearrange() {
    for (std::uint32_t from = 0; from < goesOn.size(); ++from) {
        std::uint32_t to = goesOn[from];
        if (to == TPairMap::kNone || to == from) {
            continue;
        }
        goesOn[from] = TPairMap::kNone;
        TContact moving = std::move(last[from]);
        for (;;) {
            // Only the references: the values are the tick's, written afterwards.
            moving.mass.swap(last[to].mass);
            moving.other.swap(last[to].other);
            moving.zone.swap(last[to].zone);
            // What was at to goes on elsewhere: no contact goes on at the place of another.
            const std::uint32_t next = moving.mass ? goesOn[to] : TPairMap::kNone;
            if (next == TPairMap::kNone) {
                break;
            }
            goesOn[to] = TPairMap::kNone;
            to = next;
        }
    }
}

void TContactReport::Close(const std::vector<TMass*>& masses, const std::vector<TZone*>& zones,
                           const TList<TZone>& listedZones) {
    Match(masses, zones);
    EndUnmatched();
    if (last.size() < pairCount) {
        last.resize(pairCount);
    }
    Rearrange();
    last.resize(pairCount);
    for (std::uint32_t i = 0; i < pairCount; ++i) {
        TContact& c = last[i];
        if (c.mass) {
            c.begin = false;
            if (!listsKept && c.mass.get() != masses[keys[i].first]) {
                // The lists changed and now hold the pair's masses the other way round.
                c.mass.swap(c.other);
            }
        } else {
            c = MakeContact(keys[i].second, ObjectsOf(keys[i], masses, zones), listedZones);
        }
        const TPush& push = pushes[i];
        c.x = push.x;
        c.y = push.y;
        c.normalX = push.nx;
        c.normalY = push.ny;
        MakeUnit(c.normalX, c.normalY);
        c.speed = push.speed;
    }
    zoneRefs.clear();
    std::swap(keys, lastKeys);
    lastCount = pairCount;
    pairCount = 0;
    std::swap(runs, lastRuns);
}

void TContactReport::Forget() {
    pairCount = lastCount = 0;
    // No tick's lists: the next tick matches by address.
    lastRuns.massStamp = lastRuns.zoneStamp = 0;
    lastMap.Clear();
    last.clear();
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
