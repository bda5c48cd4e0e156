#include "contact_report.h"

#include <kinetra/mass.h>
#include <kinetra/world.h>
#include <kinetra/zone.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <utility>

namespace kinetra {

namespace {

constexpr std::size_t smallestTable = 64;
// A normal further than this from unit length is made unit for the report; the tick's
// own are unit to within a few roundings, and are reported as they are.
constexpr float unitSlack = 1.0e-3f;

struct ReportState {
    bool on = false;
    std::weak_ptr<TPhysics> world;
    TContactReport report;
};

ReportState& State() {
    static ReportState state;
    return state;
}

const std::vector<TContact>& NoContacts() {
    static const std::vector<TContact> none;
    return none;
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
    const float length = std::sqrt(nx * nx + ny * ny);
    if (length > 0.0f && std::fabs(length - 1.0f) > unitSlack) {
        nx /= length;
        ny /= length;
    }
}

} // namespace

std::size_t TPairSet::Find(const void* a, const void* b) const {
    const std::size_t mask = slots.size() - 1;
    std::size_t i = Mix(a, b) & mask;
    while (slots[i].a && !(slots[i].a == a && slots[i].b == b)) {
        i = (i + 1) & mask;
    }
    return i;
}

bool TPairSet::Insert(const void* a, const void* b) {
    if ((count + 1) * 2 > slots.size()) {
        Grow();
    }
    Slot& slot = slots[Find(a, b)];
    if (slot.a) {
        return false;
    }
    slot = {a, b};
    ++count;
    return true;
}

bool TPairSet::Contains(const void* a, const void* b) const {
    return count > 0 && slots[Find(a, b)].a != nullptr;
}

void TPairSet::Clear() {
    if (count > 0) {
        slots.assign(slots.size(), Slot{});
        count = 0;
    }
}

void TPairSet::Grow() {
    std::vector<Slot> old = std::move(slots);
    slots.assign(old.empty() ? smallestTable : old.size() * 2, Slot{});
    count = 0;
    for (const Slot& slot : old) {
        if (slot.a) {
            slots[Find(slot.a, slot.b)] = slot;
            ++count;
        }
    }
}

void TContactReport::ZoneContact(TMass& m, const TZone& zone, std::size_t zoneIndex,
                                 const TPush& push) {
    const auto key = Key(&m, nullptr, &zone);
    if (seen.Insert(key.first, key.second)) {
        records.push_back({&m, nullptr, &zone, zoneIndex, push});
    }
}

void TContactReport::MassContact(TMass& a, TMass& b, const TPush& push) {
    const auto key = Key(&a, &b, nullptr);
    if (seen.Insert(key.first, key.second)) {
        records.push_back({&a, &b, nullptr, 0, push});
    }
}

TContact TContactReport::MakeContact(const Record& record,
                                     const std::vector<const ZoneRef*>& refs) const {
    TContact c;
    c.mass = record.mass->weak_from_this().lock();
    if (record.other) {
        c.other = record.other->weak_from_this().lock();
    }
    if (record.zone) {
        // The tick hands zones on by their place in the list; should that ever differ,
        // the zone is looked for.
        if (record.zoneIndex < refs.size() && refs[record.zoneIndex]->get() == record.zone) {
            c.zone = *refs[record.zoneIndex];
        } else {
            for (const ZoneRef* ref : refs) {
                if (ref->get() == record.zone) {
                    c.zone = *ref;
                }
            }
        }
    }
    c.x = record.push.x;
    c.y = record.push.y;
    c.normalX = record.push.nx;
    c.normalY = record.push.ny;
    MakeUnit(c.normalX, c.normalY);
    c.speed = record.push.speed;
    const auto key = Key(record.mass, record.other, record.zone);
    c.begin = !lastPairs.Contains(key.first, key.second);
    return c;
}

void TContactReport::Close(const TList<TZone>& zones) {
    zoneRefs.clear();
    for (const Record& record : records) {
        if (record.zone) {
            for (const ZoneRef& zone : zones) {
                zoneRefs.push_back(&zone);
            }
            break;
        }
    }
    before.swap(last);
    last.clear();
    for (const Record& record : records) {
        last.push_back(MakeContact(record, zoneRefs));
    }
    ended.clear();
    for (TContact& c : before) {
        const auto key = KeyOf(c);
        if (!seen.Contains(key.first, key.second)) {
            c.begin = false;
            ended.push_back(std::move(c));
        }
    }
    before.clear();
    zoneRefs.clear();
    std::swap(lastPairs, seen);
    seen.Clear();
    records.clear();
}

void TContactReport::Forget() {
    records.clear();
    seen.Clear();
    last.clear();
    lastPairs.Clear();
    before.clear();
    ended.clear();
}

void TContactReport::Recall(const std::vector<TContact>& contacts,
                            const std::vector<TContact>& endedThen) {
    Forget();
    last = contacts;
    ended = endedThen;
    for (const TContact& c : last) {
        const auto key = KeyOf(c);
        lastPairs.Insert(key.first, key.second);
    }
}

TContactReport* OpenContactReport(const PhysicsRef& world) {
    ReportState& state = State();
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
    ReportState& state = State();
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
