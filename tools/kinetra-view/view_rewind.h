// kinetra-view's rewind: the scene as it was before each of the last ten seconds of
// ticks, one engine snapshot a tick, to step back through while Backspace is held.
//
// Memory is bounded twice: at most 600 snapshots (ten seconds at 60 ticks a second),
// and at most 64 MB of them; the oldest go first. A snapshot takes about 100 bytes per
// mass and per constraint, and 70 per contact of its tick, besides a few hundred for
// the world and the floor: about 2.1 KB for the example crate (5 masses, 10
// constraints), whose whole history holds 1.25 MB.
#pragma once

#include <kinetra/snapshot.h>

#include <cstddef>
#include <deque>

namespace kinetra_view {

class TRewind {
public:
    static constexpr std::size_t kMostTicks = 600;
    static constexpr std::size_t kMostBytes = 64u << 20;

    // Keeps the world as it is now, before a tick.
    void Record();
    // Puts the world back as it was before the last recorded tick, and forgets that
    // snapshot; false when there is none left.
    bool StepBack();
    void Clear();

    std::size_t Ticks() const { return snapshots.size(); }
    std::size_t Bytes() const { return bytes; }

private:
    std::deque<kinetra::SnapshotRef> snapshots;
    std::size_t bytes = 0;
};

} // namespace kinetra_view
