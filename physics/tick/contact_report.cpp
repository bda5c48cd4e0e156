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
    listsKept = lastChains.massStamp == masses.Stamp() && lastChains.zoneStamp == zones.Stamp();
    if (++chains.count == 0) {
        // After 2^32 ticks: no chain may pass for this tick's.
        for (TChains::TStart& start : chains.starts) {
            start.tick = 0;
        }
        chains.count = 1;
    }
    chains.massStamp = masses.Stamp();
    chains.zoneStamp = zones.Stamp();
    if (chains.starts.size() < masses.Count()) {
        chains.starts.resize(masses.Count(), TChains::TStart{TPairMap::kNone, 0});
    }
}

void TContactReport::Lengthen(std::uint32_t first) {
    chains.starts.resize(first + std::size_t{1}, TChains::TStart{TPairMap::kNone, 0});
}

// Where the pair stood among the last tick's contacts, or none.
std::uint32_t TContactReport::Then(std::uint32_t first, std::uint32_t second,
                                   const TRecord& record) const {
    if (listsKept) {
        for (std::uint32_t r = lastChains.Head(first); r != TPairMap::kNone;
             r = lastLinks[r].next) {
            if (lastLinks[r].second == second) {
                return r;
            }
        }
        return TPairMap::kNone;
    }
    const bool zone = (second & kZoneFlag) != 0;
    const auto key = zone ? Key(record.mass, nullptr, static_cast<const TZone*>(record.other))
                          : Key(record.mass, static_cast<const TMass*>(record.other), nullptr);
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
TContact TContactReport::MakeContact(std::uint32_t second, const TRecord& record,
                                     const TList<TZone>& zones) {
    TContact c;
    c.mass = record.mass->weak_from_this().lock();
    if ((second & kZoneFlag) == 0) {
        c.other = static_cast<TMass*>(const_cast<void*>(record.other))->weak_from_this().lock();
        c.begin = true;
        return c;
    }
    if (zoneRefs.empty()) {
        for (const ZoneRef& zone : zones) {
            zoneRefs.push_back(&zone);
        }
    }
    // The tick hands zones on by their place in the list; should that ever differ, the
    // zone is looked for.
    const std::size_t z = second & ~kZoneFlag;
    if (z < zoneRefs.size() && zoneRefs[z]->get() == record.other) {
        c.zone = *zoneRefs[z];
    } else {
        for (const ZoneRef* ref : zoneRefs) {
            if (ref->get() == record.other) {
                c.zone = *ref;
            }
        }
    }
    c.begin = true;
    return c;
}

void TContactReport::Close(const TList<TZone>& zones) {
    before.swap(last);
    last.clear();
    if (!listsKept) {
        MapBefore();
    }
    std::size_t taken = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const TRecord& record = records[i];
        const std::uint32_t then = Then(firsts[i], links[i].second, record);
        if (then != TPairMap::kNone && then < before.size() && before[then].mass) {
            last.push_back(std::move(before[then]));
            last.back().begin = false;
            ++taken;
        } else {
            last.push_back(MakeContact(links[i].second, record, zones));
        }
        TContact& c = last.back();
        c.x = record.push.x;
        c.y = record.push.y;
        c.normalX = record.push.nx;
        c.normalY = record.push.ny;
        MakeUnit(c.normalX, c.normalY);
        c.speed = record.push.speed;
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
    std::swap(links, lastLinks);
    links.clear();
    firsts.clear();
    records.clear();
    std::swap(chains, lastChains);
}

void TContactReport::Forget() {
    links.clear();
    lastLinks.clear();
    firsts.clear();
    records.clear();
    // No tick's lists: the next tick matches by address.
    lastChains.massStamp = lastChains.zoneStamp = 0;
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
