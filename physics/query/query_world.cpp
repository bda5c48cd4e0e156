#include "query_world.h"

#include <kinetra/query.h>
#include <kinetra/world.h>

namespace kinetra {

namespace {

TMassGrid& Grid() {
    static TMassGrid grid;
    return grid;
}

} // namespace

TMassGrid* QueryGrid() {
    if (!currentWorld || !massList || !zoneList) {
        Grid() = TMassGrid{};
        return nullptr;
    }
    Grid().Update(*massList);
    return &Grid();
}

void RefreshQueries() {
    Grid().Invalidate();
}

} // namespace kinetra
