#include <kinetra/snapshot.h>

#include "state_epoch.h"
#include "tick/contact_report.h"
#include <kinetra/constraint.h>
#include <kinetra/contacts.h>
#include <kinetra/mass.h>
#include <kinetra/world.h>
#include <kinetra/zone.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace kinetra {

namespace {

struct MassState {
    MassRef mass;
    std::string name;
    float x, y, oldX, oldY, weight, radius, group, friction;
    std::int32_t fixed, useCount;
    bool listed;
};

struct ConstraintState {
    ConstraintRef constraint;
    std::string name;
    std::array<MassRef, 2> masses;
    float length, stiffness;
    std::int32_t useCount;
};

struct ZoneState {
    ZoneRef zone;
    FloatArray points;
    std::vector<float> values;
    TZoneKind kind;
    float friction, x, y;
    std::int32_t group;
    QuadTreeRef tree;
    std::int32_t depth;
};

struct WorldState {
    float maxX, maxY, minX, minY, friction, gravityX, gravityY;
    std::int32_t iterations;
};

template <class T> bool Holds(const std::vector<const T*>& sorted, const T* object) {
    return std::binary_search(sorted.begin(), sorted.end(), object, std::less<const T*>());
}

template <class T> void SortObjects(std::vector<const T*>& objects) {
    std::sort(objects.begin(), objects.end(), std::less<const T*>());
}

std::size_t HeapBytes(const std::string& s) {
    // Short strings live inside the object.
    return s.capacity() > std::string().capacity() ? s.capacity() + 1 : 0;
}

MassState KeepMass(const MassRef& m, bool listed) {
    return {m,         m->name,  m->x,        m->y,     m->oldX,     m->oldY, m->mass,
            m->radius, m->group, m->friction, m->fixed, m->useCount, listed};
}

void PutBack(const MassState& s) {
    TMass& m = *s.mass;
    m.name = s.name;
    m.x = s.x;
    m.y = s.y;
    m.oldX = s.oldX;
    m.oldY = s.oldY;
    m.mass = s.weight;
    m.radius = s.radius;
    m.group = s.group;
    m.friction = s.friction;
    m.fixed = s.fixed;
    m.useCount = s.useCount;
}

void PutBack(const ConstraintState& s) {
    TConstraint& c = *s.constraint;
    c.name = s.name;
    c.masses = s.masses;
    c.length = s.length;
    c.stiffness = s.stiffness;
    c.useCount = s.useCount;
}

void PutBack(const ZoneState& s) {
    TZone& z = *s.zone;
    z.points = s.points;
    if (s.points) {
        // The array is shared with the zone's creator: its values go back in place.
        s.points->assign(s.values.begin(), s.values.end());
    }
    z.kind = s.kind;
    z.friction = s.friction;
    z.x = s.x;
    z.y = s.y;
    z.group = s.group;
    z.tree = s.tree;
    z.depth = s.depth;
}

// Whether list holds exactly the objects of states (those listed), in their order.
template <class T, class State, class Listed>
bool ListedAsKept(const TList<T>& list, const std::vector<State>& states, Listed listed) {
    auto member = list.begin();
    for (const State& s : states) {
        if (!listed(s)) {
            continue;
        }
        if (member == list.end() || (*member).get() != listed(s)) {
            return false;
        }
        ++member;
    }
    return member == list.end();
}

} // namespace

class TSnapshot {
public:
    std::weak_ptr<TPhysics> world;
    WorldState settings{};
    std::int32_t autoGroup = 0;
    std::vector<MassState> masses; // the listed ones in list order, then the others
    std::vector<ConstraintState> constraints;
    std::vector<ZoneState> zones;
    // The listed masses and constraints by address, to find what was listed since.
    std::vector<const TMass*> listedMasses;
    std::vector<const TConstraint*> listedConstraints;
    std::vector<TContact> contacts, ended;

    void Keep(const TPhysics& w);
    void KeepMasses();
    void KeepConstraints();
    void KeepZones();

    void PutBackWorld(TPhysics& w) const;
    void Unlist() const;
    void Relist() const;
    void PutBackObjects() const;
    std::size_t Bytes() const;
};

void TSnapshot::Keep(const TPhysics& w) {
    settings = {w.maxX, w.maxY, w.minX, w.minY, w.friction, w.gravityX, w.gravityY, w.iterations};
    autoGroup = nextAutoGroup;
    KeepMasses();
    KeepConstraints();
    KeepZones();
}

void TSnapshot::KeepMasses() {
    masses.reserve(massList->Count());
    for (const MassRef& m : *massList) {
        masses.push_back(KeepMass(m, true));
        listedMasses.push_back(m.get());
    }
    SortObjects(listedMasses);
}

void TSnapshot::KeepConstraints() {
    constraints.reserve(constraintList->Count());
    std::vector<const TMass*> unlisted;
    for (const ConstraintRef& c : *constraintList) {
        constraints.push_back({c, c->name, c->masses, c->length, c->stiffness, c->useCount});
        listedConstraints.push_back(c.get());
        // The tick moves a registered constraint's masses even where they are not listed.
        for (const MassRef& m : c->masses) {
            if (m && !Holds(listedMasses, m.get()) &&
                std::find(unlisted.begin(), unlisted.end(), m.get()) == unlisted.end()) {
                unlisted.push_back(m.get());
                masses.push_back(KeepMass(m, false));
            }
        }
    }
    SortObjects(listedConstraints);
}

void TSnapshot::KeepZones() {
    zones.reserve(zoneList->Count());
    for (const ZoneRef& z : *zoneList) {
        ZoneState s{z,    z->points, {},       z->kind, z->friction,
                    z->x, z->y,      z->group, z->tree, z->depth};
        if (z->points) {
            s.values = *z->points;
        }
        zones.push_back(std::move(s));
    }
}

void TSnapshot::PutBackWorld(TPhysics& w) const {
    w.maxX = settings.maxX;
    w.maxY = settings.maxY;
    w.minX = settings.minX;
    w.minY = settings.minY;
    w.friction = settings.friction;
    w.gravityX = settings.gravityX;
    w.gravityY = settings.gravityY;
    w.iterations = settings.iterations;
    nextAutoGroup = autoGroup;
}

// What was listed since the snapshot leaves its registry with a count of 0.
void TSnapshot::Unlist() const {
    for (const MassRef& m : *massList) {
        if (!Holds(listedMasses, m.get())) {
            m->useCount = 0;
        }
    }
    for (const ConstraintRef& c : *constraintList) {
        if (!Holds(listedConstraints, c.get())) {
            c->useCount = 0;
        }
    }
}

// Lists the registries' members again in their order, where they differ: a list left
// as it was keeps its stamp, and the tick its filing.
void TSnapshot::Relist() const {
    auto listedMass = [](const MassState& s) { return s.listed ? s.mass.get() : nullptr; };
    if (!ListedAsKept(*massList, masses, listedMass)) {
        massList->Clear();
        for (const MassState& s : masses) {
            if (s.listed) {
                s.mass->link = massList->Append(s.mass);
            }
        }
    }
    auto constraint = [](const ConstraintState& s) { return s.constraint.get(); };
    if (!ListedAsKept(*constraintList, constraints, constraint)) {
        constraintList->Clear();
        for (const ConstraintState& s : constraints) {
            s.constraint->link = constraintList->Append(s.constraint);
        }
    }
    auto zone = [](const ZoneState& s) { return s.zone.get(); };
    if (!ListedAsKept(*zoneList, zones, zone)) {
        zoneList->Clear();
        for (const ZoneState& s : zones) {
            s.zone->link = zoneList->Append(s.zone);
        }
    }
}

void TSnapshot::PutBackObjects() const {
    for (const MassState& s : masses) {
        PutBack(s);
    }
    for (const ConstraintState& s : constraints) {
        PutBack(s);
    }
    for (const ZoneState& s : zones) {
        PutBack(s);
    }
}

std::size_t TSnapshot::Bytes() const {
    std::size_t bytes = sizeof(TSnapshot);
    bytes +=
        masses.capacity() * sizeof(MassState) + constraints.capacity() * sizeof(ConstraintState);
    bytes += zones.capacity() * sizeof(ZoneState);
    bytes += (listedMasses.capacity() + listedConstraints.capacity()) * sizeof(void*);
    bytes += (contacts.capacity() + ended.capacity()) * sizeof(TContact);
    for (const MassState& s : masses) {
        bytes += HeapBytes(s.name);
    }
    for (const ConstraintState& s : constraints) {
        bytes += HeapBytes(s.name);
    }
    for (const ZoneState& s : zones) {
        bytes += s.values.capacity() * sizeof(float);
    }
    return bytes;
}

SnapshotRef TakeSnapshot() {
    if (!currentWorld || !massList || !constraintList || !zoneList) {
        return nullptr;
    }
    auto snapshot = std::make_shared<TSnapshot>();
    snapshot->world = currentWorld;
    snapshot->Keep(*currentWorld);
    if (const TContactReport* report = OpenContactReport(currentWorld)) {
        snapshot->contacts = report->Contacts();
        snapshot->ended = report->Ended();
    }
    return snapshot;
}

bool RestoreSnapshot(const SnapshotRef& snapshot) {
    if (!snapshot || !currentWorld || snapshot->world.lock() != currentWorld || !massList ||
        !constraintList || !zoneList) {
        return false;
    }
    // Held while the lists are rebuilt, which may release what they alone held.
    const SnapshotRef held = snapshot;
    held->Unlist();
    held->Relist();
    held->PutBackObjects();
    held->PutBackWorld(*currentWorld);
    if (TContactReport* report = OpenContactReport(currentWorld)) {
        report->Recall(held->contacts, held->ended);
    }
    ++stateEpoch;
    return true;
}

std::size_t SnapshotBytes(const SnapshotRef& snapshot) {
    return snapshot ? snapshot->Bytes() : 0;
}

} // namespace kinetra
