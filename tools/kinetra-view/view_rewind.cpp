#include "view_rewind.h"

namespace kinetra_view {

void TRewind::Record() {
    kinetra::SnapshotRef snapshot = kinetra::TakeSnapshot();
    if (!snapshot) {
        return;
    }
    bytes += kinetra::SnapshotBytes(snapshot);
    snapshots.push_back(std::move(snapshot));
    while (!snapshots.empty() && (snapshots.size() > kMostTicks || bytes > kMostBytes)) {
        bytes -= kinetra::SnapshotBytes(snapshots.front());
        snapshots.pop_front();
    }
}

bool TRewind::StepBack() {
    while (!snapshots.empty()) {
        const kinetra::SnapshotRef snapshot = std::move(snapshots.back());
        snapshots.pop_back();
        bytes -= kinetra::SnapshotBytes(snapshot);
        if (kinetra::RestoreSnapshot(snapshot)) {
            return true;
        }
    }
    return false;
}

void TRewind::Clear() {
    snapshots.clear();
    bytes = 0;
}

} // namespace kinetra_view
