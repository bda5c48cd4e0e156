#include <kinetra/snapshot.h>

#include <kinetra/constraint.h>
#include <kinetra/mass.h>
#include <kinetra/world.h>
#include <kinetra/zone.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace kinetra {

namespace {

constexpr std::uint64_t kOffsetBasis = 0xcbf29ce484222325ull;
constexpr std::uint64_t kPrime = 0x100000001b3ull;
constexpr std::uint32_t kNotListed = 0xffffffffu;

class TFnv {
public:
    void Word(std::uint32_t w) {
        for (int i = 0; i < 4; ++i) {
            value ^= (w >> (8 * i)) & 0xffu;
            value *= kPrime;
        }
    }
    void Float(float f) {
        // memcpy, not std::bit_cast: the browser build's library has no bit_cast.
        std::uint32_t bits = 0;
        std::memcpy(&bits, &f, sizeof bits);
        Word(bits);
    }
    void Int(std::int32_t i) { Word(static_cast<std::uint32_t>(i)); }
    void Count(std::size_t n) { Word(static_cast<std::uint32_t>(n)); }

    std::uint64_t value = kOffsetBasis;
};

// Each listed mass's place in massList, found by address.
using Places = std::vector<std::pair<const TMass*, std::uint32_t>>;

std::uint32_t PlaceOf(const Places& places, const TMass* m) {
    const auto found =
        std::lower_bound(places.begin(), places.end(), m, [](const auto& entry, const TMass* key) {
            return std::less<const TMass*>()(entry.first, key);
        });
    return found != places.end() && found->first == m ? found->second : kNotListed;
}

void HashMasses(TFnv& h, Places& places) {
    h.Count(massList->Count());
    std::uint32_t place = 0;
    for (const MassRef& m : *massList) {
        for (float f : {m->x, m->y, m->oldX, m->oldY, m->mass, m->radius, m->group, m->friction}) {
            h.Float(f);
        }
        h.Int(m->fixed);
        h.Int(m->useCount);
        places.emplace_back(m.get(), place++);
    }
    std::sort(places.begin(), places.end(), [](const auto& a, const auto& b) {
        return std::less<const TMass*>()(a.first, b.first);
    });
}

void HashConstraints(TFnv& h, const Places& places) {
    h.Count(constraintList->Count());
    for (const ConstraintRef& c : *constraintList) {
        h.Word(PlaceOf(places, c->masses[0].get()));
        h.Word(PlaceOf(places, c->masses[1].get()));
        h.Float(c->length);
        h.Float(c->stiffness);
        h.Int(c->useCount);
    }
}

void HashZones(TFnv& h) {
    h.Count(zoneList->Count());
    for (const ZoneRef& z : *zoneList) {
        h.Int(static_cast<std::int32_t>(z->kind));
        h.Float(z->friction);
        h.Float(z->x);
        h.Float(z->y);
        h.Int(z->group);
        h.Int(z->depth);
        h.Count(z->points ? z->points->size() : 0);
        if (z->points) {
            for (float f : *z->points) {
                h.Float(f);
            }
        }
    }
}

} // namespace

std::uint64_t PhysicsStateHash() {
    TFnv h;
    if (!currentWorld || !massList || !constraintList || !zoneList) {
        return h.value;
    }
    const TPhysics& w = *currentWorld;
    for (float f : {w.maxX, w.maxY, w.minX, w.minY, w.friction, w.gravityX, w.gravityY}) {
        h.Float(f);
    }
    h.Int(w.iterations);
    h.Int(nextAutoGroup);
    Places places;
    HashMasses(h, places);
    HashConstraints(h, places);
    HashZones(h);
    return h.value;
}

} // namespace kinetra
