// The tick's contact reports (contacts.h): what the zone contact and the mass contact
// pushed, kept once per pair and tick, and compared with the tick before to tell which
// pairs began and which ended.
//
// The tick asks for the report at its start (null while reporting is off, so that a
// tick without it pays one test per push), hands it every push it makes, and closes it
// at its end. The report only reads what the contacts return: it changes nothing the
// tick computes.
//
// Keeps between ticks: the last tick's contacts and their pairs, and storage grown to
// the busiest tick, so that steady ticks allocate nothing.
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

// A set of pairs of objects, for one tick's lookups: open addressing over a table
// that only grows. Addresses place the pairs in the table and nothing else: no order
// is ever taken from it.
class TPairSet {
public:
    // Adds the pair; false when it was there already.
    bool Insert(const void* a, const void* b);
    bool Contains(const void* a, const void* b) const;
    void Clear();
    std::size_t Count() const { return count; }

private:
    struct Slot {
        const void* a = nullptr;
        const void* b = nullptr;
    };
    std::size_t Find(const void* a, const void* b) const;
    void Grow();

    std::vector<Slot> slots;
    std::size_t count = 0;
};

class TContactReport {
public:
    void ZoneContact(TMass& m, const TZone& zone, std::size_t zoneIndex, const TPush& push);
    void MassContact(TMass& a, TMass& b, const TPush& push);

    // Turns this tick's pushes into the lists, against the pairs of the tick before.
    void Close(const TList<TZone>& zones);

    // Empties everything, as for a world without a tick before.
    void Forget();

    // The lists of the last tick, and putting back ones kept earlier (a snapshot's).
    const std::vector<TContact>& Contacts() const { return last; }
    const std::vector<TContact>& Ended() const { return ended; }
    void Recall(const std::vector<TContact>& contacts, const std::vector<TContact>& endedThen);

private:
    struct Record {
        TMass* mass;
        TMass* other;
        const TZone* zone;
        std::size_t zoneIndex;
        TPush push;
    };
    TContact MakeContact(const Record& record, const std::vector<const ZoneRef*>& zoneRefs) const;

    std::vector<Record> records;  // this tick's first pushes, in order
    TPairSet seen;                // their pairs
    std::vector<TContact> last;   // the last tick's contacts
    TPairSet lastPairs;           // their pairs
    std::vector<TContact> before; // the tick before's, while the last are made
    std::vector<TContact> ended;
    std::vector<const ZoneRef*> zoneRefs;
};

// The report of world, or null while reporting is off: for its ticks, and for the
// snapshots that keep and put back its lists. A world other than the last one reported
// starts afresh.
TContactReport* OpenContactReport(const PhysicsRef& world);

} // namespace kinetra
