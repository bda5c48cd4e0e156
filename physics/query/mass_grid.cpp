#include "mass_grid.h"

#include "state_epoch.h"

#include <limits>

namespace kinetra {

namespace {

constexpr double kSmallestCell = 1.0;
// A mass that would touch more cells than this across is kept aside instead.
constexpr std::int32_t kWidestFiling = 4;
// Cells at most per filed mass, and a few for a grid of few masses.
constexpr double kCellsPerMass = 4.0;
constexpr double kSpareCells = 16.0;
constexpr double kMostAcross = 1 << 20;
// Boxes grow by this much of the magnitudes involved, far beyond the rounding of the
// questions' double arithmetic, so that a mass touching a cell's edge is filed on both
// sides of it.
constexpr double kHair = 1.0e-9;

std::int32_t Across(double extent, double cell) {
    return static_cast<std::int32_t>(std::clamp(std::ceil(extent / cell), 1.0, kMostAcross));
}

} // namespace

void TMassGrid::Update(const TList<TMass>& list) {
    if (filedFor == list.Stamp() && epoch == stateEpoch) {
        return;
    }
    filedFor = list.Stamp();
    epoch = stateEpoch;
    masses.clear();
    for (const MassRef& m : list) {
        masses.push_back(m.get());
    }
    marks.assign(masses.size(), 0);
    question = 0;
    File();
}

void TMassGrid::Begin() {
    ++question;
    if (question == 0) {
        marks.assign(masses.size(), 0);
        question = 1;
    }
}

bool TMassGrid::Bounds(const TMass& m, double& x0, double& y0, double& x1, double& y1) const {
    const double r = std::max(m.radius, 0.0f);
    x0 = m.x - r;
    y0 = m.y - r;
    x1 = m.x + r;
    y1 = m.y + r;
    return std::isfinite(x0) && std::isfinite(y0) && std::isfinite(x1) && std::isfinite(y1);
}

void TMassGrid::Lay(std::size_t filedCount, double meanRadius) {
    const double n = static_cast<double>(filedCount);
    const double w = right - left;
    const double h = bottom - top;
    // About one mass a cell where they are spread evenly.
    cell = std::max({std::sqrt(w * h / n), std::max(w, h) / n, 2.0 * meanRadius, kSmallestCell});
    margin =
        kHair * (cell + std::fabs(left) + std::fabs(right) + std::fabs(top) + std::fabs(bottom));
    left -= margin;
    top -= margin;
    right += margin;
    bottom += margin;
    originX = left;
    originY = top;
    columns = Across(right - left, cell);
    rows = Across(bottom - top, cell);
    while (static_cast<double>(columns) * rows > kCellsPerMass * n + kSpareCells) {
        cell *= 2.0;
        columns = Across(right - left, cell);
        rows = Across(bottom - top, cell);
    }
}

std::size_t TMassGrid::Measure(double& meanRadius) {
    left = top = std::numeric_limits<double>::infinity();
    right = bottom = -std::numeric_limits<double>::infinity();
    double radii = 0.0;
    std::size_t count = 0;
    double x0, y0, x1, y1;
    for (const TMass* m : masses) {
        if (Bounds(*m, x0, y0, x1, y1)) {
            left = std::min(left, x0);
            top = std::min(top, y0);
            right = std::max(right, x1);
            bottom = std::max(bottom, y1);
            radii += (x1 - x0) * 0.5;
            ++count;
        }
    }
    meanRadius = count > 0 ? radii / static_cast<double>(count) : 0.0;
    return count;
}

bool TMassGrid::Span(const TMass& m, TSpan& span) const {
    double x0, y0, x1, y1;
    if (!Bounds(m, x0, y0, x1, y1)) {
        return false;
    }
    span = {Column(x0 - margin), Row(y0 - margin), Column(x1 + margin), Row(y1 + margin)};
    return span.c1 - span.c0 < kWidestFiling && span.r1 - span.r0 < kWidestFiling;
}

void TMassGrid::File() {
    aside.clear();
    filed.clear();
    columns = rows = 0;
    double meanRadius = 0.0;
    const std::size_t count = Measure(meanRadius);
    if (count == 0) {
        for (std::uint32_t i = 0; i < masses.size(); ++i) {
            aside.push_back(i);
        }
        return;
    }
    Lay(count, meanRadius);
    cellStart.assign(static_cast<std::size_t>(columns) * rows + 1, 0);
    TSpan span;
    // Counted first, then filed: each cell's masses in list order.
    for (std::uint32_t i = 0; i < masses.size(); ++i) {
        if (!Span(*masses[i], span)) {
            aside.push_back(i);
            continue;
        }
        for (std::int32_t r = span.r0; r <= span.r1; ++r) {
            for (std::int32_t c = span.c0; c <= span.c1; ++c) {
                ++cellStart[static_cast<std::size_t>(r) * columns + c + 1];
            }
        }
    }
    for (std::size_t k = 1; k < cellStart.size(); ++k) {
        cellStart[k] += cellStart[k - 1];
    }
    filed.resize(cellStart.back());
    for (std::uint32_t i = 0; i < masses.size(); ++i) {
        if (Span(*masses[i], span)) {
            for (std::int32_t r = span.r0; r <= span.r1; ++r) {
                for (std::int32_t c = span.c0; c <= span.c1; ++c) {
                    filed[cellStart[static_cast<std::size_t>(r) * columns + c]++] = i;
                }
            }
        }
    }
    // Filing moved each cell's start to its end, the next cell's start.
    for (std::size_t k = cellStart.size() - 1; k > 0; --k) {
        cellStart[k] = cellStart[k - 1];
    }
    cellStart[0] = 0;
}

} // namespace kinetra
