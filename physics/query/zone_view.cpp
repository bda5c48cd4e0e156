#include "zone_view.h"

#include "tick/zone_contact.h"
#include <kinetra/quadtree.h>
#include <kinetra/zone.h>

namespace kinetra {

bool TZoneView::Holds(float px, float py) const {
    return kind == TZoneKind::Solid && Winds(p, n, x, y, px, py);
}

std::optional<TZoneView> ViewZone(const TZone& zone, int group) {
    const TQuadTree* root = zone.tree.get();
    if (!root || !zone.points || zone.points->size() < 4 || zone.kind < TZoneKind::Open ||
        zone.kind > TZoneKind::Solid ||
        PassesOver(zone.group, group)) {
        return std::nullopt;
    }
    // The sums TQuadTree::Overlaps makes.
    const float left = zone.x + root->x;
    const float top = zone.y + root->y;
    const TBox box{left, top, left + root->w, top + root->h};
    return TZoneView{*zone.points, zone.points->size() / 2, zone.x, zone.y, zone.kind, box};
}

} // namespace kinetra
