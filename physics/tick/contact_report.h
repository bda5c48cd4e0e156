// The tick's contact reports (contacts.h): what the zone contact and the mass contact
// pushed, kept once per pair and tick, and compared with the tick before to tell which
// pairs began and which ended.
//
// The tick asks for the report at its start (null while reporting is off, so that a
// tick without it pays one test per push), has each contact write its push into the
// report's next free place, hands on the places of the mass and of the zone or later
// mass in the lists, and closes the report at its end with the objects at those
// places. The report only reads what the contacts return: it changes nothing the tick
// computes.
//
// A busy tick pushes thousands of pairs, and the tick's own work is bound by memory,
// so the report keeps to little of it: each pair is found among the few earlier pairs
// of its first mass (by list place), not in a table over all pairs, and the tick
// before is matched the same way while the lists are the ones it had. Only after the
// lists changed are pairs matched by their objects' addresses, in a table made for
// that tick alone. The last tick's contacts are made over in place, so that a tick
// touches one list of them: those that go on are moved to their new places, each once.
//
// Keeps between ticks: the last tick's contacts and pairs, and storage grown to the
// busiest tick, so that steady ticks allocate nothing.
#pragma once

#include "push.h"
#include <kinetra/contacts.h>
#include <kinetra/list.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kinetra {

class TMass;
class TZone;

// Pairs of objects by address, each with its place in a list: open addressing over a
// table that only grows, emptied slot by slot. Addresses place the pairs in the table
// and nothing else: no order is ever taken from it.
class TPairMap {
public:
    static constexpr std::uint32_t kNone = 0xffffffffu;

    // Adds the pair with its place; false, changing nothing, when it is there already.
    bool Insert(const void* a, const void* b, std::uint32_t value);
    // The pair's place, or none.
    std::uint32_t Find(const void* a, const void* b) const;
    void Clear();

private:
    struct TSlot {
        const void* a = nullptr;
        const void* b = nullptr;
        std::uint32_t value = kNone;
    };
    std::size_t SlotOf(const void* a, const void* b) const;
    void Grow();

    std::vector<TSlot> slots;
    std::vector<std::uint32_t> used; // the slots filled, to empty them
};

class TContactReport {
public:
    // Starts a tick of these lists, and each of its passes over the masses.
    void Open(const TList<TMass>& masses, const TList<TZone>& zones);
    void StartPass(int pass);
    // Where the contact writes its next push: kept if the push turns out to be its
    // pair's first of the tick, written over otherwise. Valid until the next call below.
    TPush* NextPush() { return &pushes[pairCount]; }
    // The push just written to NextPush was of mass j by zone z, or of the pair of
    // masses j and k (j before k): places in the arrays the tick hands to Close.
    void ZoneContact(std::size_t j, std::size_t z);
    void MassContact(std::size_t j, std::size_t k);

    // Turns this tick's pushes into the lists, against the pairs of the tick before:
    // masses and zones are the tick's objects by place, listedZones the list they came
    // from. A pair that goes on touching keeps its entry, references and all, so a
    // steady tick takes no new references.
    void Close(const std::vector<TMass*>& masses, const std::vector<TZone*>& zones,
               const TList<TZone>& listedZones);

    // Empties everything, as for a world without a tick before.
    void Forget();

    // The lists of the last tick, and putting back ones kept earlier (a snapshot's).
    const std::vector<TContact>& Contacts() const { return last; }
    const std::vector<TContact>& Ended() const { return ended; }
    void Recall(const std::vector<TContact>& contacts, const std::vector<TContact>& endedThen);

private:
    static constexpr std::uint32_t kZoneFlag = 0x80000000u;

    // A pair first pushed this tick: its first mass's place, its second object's (a
    // zone's with kZoneFlag) and, for a pair a later pass added, the next such pair of
    // the same first mass. Places rather than objects keep it small: the tick streams
    // one per pair past its own data, beside what the pair's first push did, and the
    // objects are only needed at Close.
    struct TKey {
        std::uint32_t first, second, next;
    };
    // The pairs of each first mass (by its place in the list), for the tick whose count
    // it is. A pass pushes a mass's pairs one after another, so those of the first pass
    // lie side by side, from begin to end; those that later passes add are chained from
    // later. A pass after the first mostly repeats the first one's pushes in its order,
    // which a cursor through the mass's pairs meets with one test each.
    struct TRuns {
        struct TRun {
            std::uint32_t begin, end, later, tick;
        };
        std::vector<TRun> runs;
        std::uint32_t count = 0;
        std::uint64_t massStamp = 0, zoneStamp = 0;

        const TRun* Of(std::uint32_t j) const {
            return j < runs.size() && runs[j].tick == count ? &runs[j] : nullptr;
        }
    };
    // The objects of a pair, by address.
    struct TObjects {
        TMass* mass;
        const void* other;
    };

    void Add(std::uint32_t first, std::uint32_t second);
    bool Repeats(std::uint32_t first, std::uint32_t second, const TRuns::TRun& run);
    bool Seek(std::uint32_t second, const TRuns::TRun& run);
    void Grow(std::uint32_t first);
    static std::uint32_t Find(const std::vector<TKey>& among, const TRuns::TRun& run,
                              std::uint32_t second);
    static TObjects ObjectsOf(const TKey& key, const std::vector<TMass*>& masses,
                              const std::vector<TZone*>& zones);
    std::uint32_t ThenByPlace(const TKey& key, std::uint32_t guess) const;
    std::uint32_t ThenByAddress(std::uint32_t second, const TObjects& objects) const;
    void MapLast();
    void Match(const std::vector<TMass*>& masses, const std::vector<TZone*>& zones);
    void EndUnmatched();
    void Rearrange();
    TContact MakeContact(std::uint32_t second, const TObjects& objects,
                         const TList<TZone>& listedZones);

    // This tick's pairs in the order first pushed, pairCount of them, with their first
    // pushes (the arrays are sized to the busiest tick, and always hold one more, so
    // that a push is written in place and only growth leaves the tick's path), and the
    // last tick's pairs, lastCount.
    std::vector<TKey> keys, lastKeys;
    std::vector<TPush> pushes;
    std::uint32_t pairCount = 0, lastCount = 0;
    TRuns runs, lastRuns;
    bool firstPass = true;
    std::uint32_t cursorMass = TPairMap::kNone, cursor = 0; // where the pass's pushes are
    bool listsKept = false;            // the lists are the last tick's, so lastRuns hold
    TPairMap lastMap;                  // otherwise, the last tick's pairs by address
    std::vector<std::uint32_t> goesOn; // per last contact, the pair that goes on with it
    std::vector<TContact> last;        // the last tick's contacts, made over in place
    std::vector<TContact> ended;
    std::vector<const ZoneRef*> zoneRefs; // the zone list's references, once needed
};

// Inline: the tick hands on every push of every pass.
inline void TContactReport::Add(std::uint32_t first, std::uint32_t second) {
    if (first >= runs.runs.size()) {
        Grow(first);
    }
    TRuns::TRun& run = runs.runs[first];
    if (run.tick != runs.count) {
        run = {pairCount, pairCount, TPairMap::kNone, runs.count};
    }
    if (firstPass && run.end == pairCount) {
        // The first pass meets each pair once, a mass's one after another: nothing to
        // look for.
        keys[pairCount] = {first, second, TPairMap::kNone};
        run.end = ++pairCount;
    } else if (Repeats(first, second, run)) {
        return;
    } else {
        keys[pairCount] = {first, second, run.later};
        run.later = pairCount++;
    }
    if (pairCount == keys.size()) {
        Grow(first);
    }
}

inline bool TContactReport::Repeats(std::uint32_t first, std::uint32_t second,
                                    const TRuns::TRun& run) {
    if (first != cursorMass) {
        cursorMass = first;
        cursor = run.begin;
    }
    if (cursor < run.end && keys[cursor].second == second) {
        ++cursor;
        return true;
    }
    return Seek(second, run);
}

inline void TContactReport::ZoneContact(std::size_t j, std::size_t z) {
    Add(static_cast<std::uint32_t>(j), static_cast<std::uint32_t>(z) | kZoneFlag);
}

inline void TContactReport::MassContact(std::size_t j, std::size_t k) {
    Add(static_cast<std::uint32_t>(j), static_cast<std::uint32_t>(k));
}

// The report of world, or null while reporting is off: for its ticks, and for the
// snapshots that keep and put back its lists. A world other than the last one reported
// starts afresh.
TContactReport* OpenContactReport(const PhysicsRef& world);

} // namespace kinetra
