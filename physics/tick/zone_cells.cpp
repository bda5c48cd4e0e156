#include "zone_cells.h"

#include "mass_state.h"
#include "zone_contact.h"
#include <kinetra/zone.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kinetra {

namespace {

constexpr float kMarginPart = 0x1p-8f;
constexpr float kReachPart = 0x1p8f;
constexpr int kCells = TZoneCells::kAcross;

bool SameBits(const std::vector<float>& a, const std::vector<float>& b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0);
}

} // namespace

bool TZoneCells::Update(const TZone& zone) {
    if (!zone.points || zone.kind < TZoneKind::Open || zone.kind > TZoneKind::Solid) {
        made = false;
        return false;
    }
    const std::vector<float>& points = *zone.points;
    if (made && kind == static_cast<std::int32_t>(zone.kind) && SameBits(points, madeFor)) {
        return true;
    }
    made = false;
    if (!SameBits(points, seen)) {
        // Room for the cells now, so that making them a tick later allocates nothing.
        seen = points;
        madeFor.reserve(points.size());
        clear.resize(static_cast<std::size_t>(kCells) * kCells);
        return false;
    }
    Make(zone);
    return made;
}

namespace {

// The bounds of a shape's points and their largest magnitude; false where a point is
// not finite.
struct TShapeBounds {
    float minX, maxX, minY, maxY, extent;
};

bool MeasureShape(const std::vector<float>& p, std::size_t n, TShapeBounds& b) {
    b = {p[0], p[0], p[1], p[1], 0.0f};
    for (std::size_t i = 0; i < n; ++i) {
        const float px = p[2 * i];
        const float py = p[2 * i + 1];
        if (!std::isfinite(px) || !std::isfinite(py)) {
            return false;
        }
        b.minX = std::min(b.minX, px);
        b.maxX = std::max(b.maxX, px);
        b.minY = std::min(b.minY, py);
        b.maxY = std::max(b.maxY, py);
        b.extent = std::max({b.extent, std::fabs(px), std::fabs(py)});
    }
    return true;
}

int CellOf(float v, float origin, float perCell) {
    return std::clamp(static_cast<int>(std::floor((v - origin) * perCell)), 0, kCells - 1);
}

} // namespace

void TZoneCells::Make(const TZone& zone) {
    const std::vector<float>& p = *zone.points;
    const std::size_t n = p.size() / 2;
    TShapeBounds bounds{};
    if (n < 2 || !MeasureShape(p, n, bounds)) {
        return;
    }
    const float margin = (1.0f + bounds.extent) * kMarginPart;
    reachLimit = (1.0f + bounds.extent) * kReachPart;
    // The grid covers the shape with a margin on every side, and more than its tree's
    // root cell, so that every mass the tree lets through falls inside it.
    left = bounds.minX - 2.0f * margin - 2.0f;
    top = bounds.minY - 2.0f * margin - 2.0f;
    width = (bounds.maxX - bounds.minX) + 4.0f * margin + 4.0f;
    height = (bounds.maxY - bounds.minY) + 4.0f * margin + 4.0f;
    if (!std::isfinite(width) || !std::isfinite(height)) {
        return;
    }
    clear.assign(static_cast<std::size_t>(kCells) * kCells, 1);
    perCellX = kCells / width;
    perCellY = kCells / height;
    MarkSegments(p, n, zone.kind != TZoneKind::Open, margin);
    if (zone.kind == TZoneKind::Solid) {
        MarkInside(p, n);
    }
    madeFor = p;
    kind = static_cast<std::int32_t>(zone.kind);
    made = true;
}

void TZoneCells::MarkSegments(const std::vector<float>& p, std::size_t n, bool closed,
                              float margin) {
    // Every cell that a segment's box, grown by the margin, reaches is not clear.
    for (std::size_t i = closed ? 0 : 1; i < n; ++i) {
        const std::size_t a = i == 0 ? n - 1 : i - 1;
        const float x0 = std::min(p[2 * a], p[2 * i]) - margin;
        const float x1 = std::max(p[2 * a], p[2 * i]) + margin;
        const float y0 = std::min(p[2 * a + 1], p[2 * i + 1]) - margin;
        const float y1 = std::max(p[2 * a + 1], p[2 * i + 1]) + margin;
        for (int row = CellOf(y0, top, perCellY); row <= CellOf(y1, top, perCellY); ++row) {
            for (int col = CellOf(x0, left, perCellX); col <= CellOf(x1, left, perCellX); ++col) {
                clear[static_cast<std::size_t>(row * kCells + col)] = 0;
            }
        }
    }
}

void TZoneCells::MarkInside(const std::vector<float>& p, std::size_t n) {
    // The rest of a solid's cells lie wholly inside or wholly outside it.
    const float cellWidth = width / kCells;
    const float cellHeight = height / kCells;
    for (int row = 0; row < kCells; ++row) {
        for (int col = 0; col < kCells; ++col) {
            std::uint8_t& cell = clear[static_cast<std::size_t>(row * kCells + col)];
            const float cx = left + (static_cast<float>(col) + 0.5f) * cellWidth;
            const float cy = top + (static_cast<float>(row) + 0.5f) * cellHeight;
            if (cell && Winds(p, n, 0.0f, 0.0f, cx, cy)) {
                cell = 0;
            }
        }
    }
}

bool TZoneCells::Clears(float ox, float oy, const TMassState& m) const {
    // Also false for a NaN anywhere, and for a NaN radius, with which the contact acts.
    const float limit = reachLimit;
    if (!made || !(std::fabs(ox) <= limit && std::fabs(oy) <= limit && std::fabs(m.x) <= limit &&
                   std::fabs(m.y) <= limit && m.radius <= limit)) {
        return false;
    }
    const float r = m.radius > 0.0f ? m.radius : 0.0f;
    const float x0 = (m.x - ox) - r - left;
    const float x1 = (m.x - ox) + r - left;
    const float y0 = (m.y - oy) - r - top;
    const float y1 = (m.y - oy) + r - top;
    if (!(x0 >= 0.0f && y0 >= 0.0f && x1 < width && y1 < height)) {
        return false;
    }
    // The cell a place rounds into may be its neighbour; the margin covers that.
    const int col0 = std::min(static_cast<int>(x0 * perCellX), kCells - 1);
    const int col1 = std::min(static_cast<int>(x1 * perCellX), kCells - 1);
    const int row0 = std::min(static_cast<int>(y0 * perCellY), kCells - 1);
    const int row1 = std::min(static_cast<int>(y1 * perCellY), kCells - 1);
    for (int row = row0; row <= row1; ++row) {
        for (int col = col0; col <= col1; ++col) {
            if (!clear[static_cast<std::size_t>(row * kCells + col)]) {
                return false;
            }
        }
    }
    return true;
}

} // namespace kinetra
