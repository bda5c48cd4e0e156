// The queries' own filing of the masses: a uniform grid over where the masses stand,
// each mass filed in every cell its bounding square (a hair wider) touches, so that a
// question visits only the cells of its box or along its segment. It answers
// candidates only; the questions test each one against the mass's current fields.
//
// The cells are about as wide as the masses lie apart, and never narrower than the
// mean diameter, so a mass touches one to four of them; one that would touch more (a
// mass far larger than the rest, or of no finite size) is kept aside and handed to
// every question. Cells number at most about four per mass.
//
// Kept between questions: the filing, made again on the first question after the
// mass list's stamp or the state epoch (state_epoch.h) moved on, or after Invalidate.
#pragma once

#include "geometry.h"
#include <kinetra/list.h>
#include <kinetra/mass.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kinetra {

class TMassGrid {
public:
    // Files the masses of list again unless they are filed as they are.
    void Update(const TList<TMass>& list);
    void Invalidate() { filedFor = 0; }

    // The masses in list order: candidates are indices into it.
    const std::vector<TMass*>& Masses() const { return masses; }

    // Starts a question: each candidate is handed to it once at most.
    void Begin();

    // Hands visit every mass filed in a cell that the box touches.
    template <class Visit>
    void InBox(double minX, double minY, double maxX, double maxY, Visit visit);

    // Hands visit the masses filed in the cells along the segment from (x0, y0) by
    // (dx, dy), cell by cell in the order the segment enters them, until the segment
    // has passed through a cell entered beyond the fraction `best` (which visit may
    // lower). The masses kept aside come first.
    template <class Visit>
    void AlongSegment(double x0, double y0, double dx, double dy, const double& best, Visit visit);

private:
    template <class Visit> void VisitCell(std::size_t cell, Visit& visit);
    template <class Visit> void VisitAside(Visit& visit);
    bool FirstTouch(std::uint32_t i);
    std::int32_t Column(double x) const;
    std::int32_t Row(double y) const;
    // The cells a mass is filed in, from column c0 and row r0 to c1 and r1.
    struct TSpan {
        std::int32_t c0, r0, c1, r1;
    };
    std::size_t Measure(double& meanRadius);
    void Lay(std::size_t filedCount, double meanRadius);
    void File();
    bool Bounds(const TMass& m, double& x0, double& y0, double& x1, double& y1) const;
    bool Span(const TMass& m, TSpan& span) const;

    std::vector<TMass*> masses;
    std::uint64_t filedFor = 0; // the list's stamp, or 0
    std::uint64_t epoch = 0;
    // The grid's corner and cell size, the box it covers, and how much wider than a
    // mass's bounding square its filing is.
    double originX = 0.0, originY = 0.0, cell = 1.0, margin = 0.0;
    double left = 0.0, top = 0.0, right = 0.0, bottom = 0.0;
    std::int32_t columns = 0, rows = 0;
    std::vector<std::uint32_t> cellStart; // per cell, where its masses start in filed
    std::vector<std::uint32_t> filed;
    std::vector<std::uint32_t> aside;
    std::vector<std::uint32_t> marks;
    std::uint32_t question = 0;
};

inline bool TMassGrid::FirstTouch(std::uint32_t i) {
    if (marks[i] == question) {
        return false;
    }
    marks[i] = question;
    return true;
}

inline std::int32_t TMassGrid::Column(double x) const {
    return static_cast<std::int32_t>(
        std::clamp(std::floor((x - originX) / cell), 0.0, static_cast<double>(columns - 1)));
}

inline std::int32_t TMassGrid::Row(double y) const {
    return static_cast<std::int32_t>(
        std::clamp(std::floor((y - originY) / cell), 0.0, static_cast<double>(rows - 1)));
}

template <class Visit> void TMassGrid::VisitCell(std::size_t c, Visit& visit) {
    for (std::uint32_t k = cellStart[c]; k < cellStart[c + 1]; ++k) {
        if (FirstTouch(filed[k])) {
            visit(filed[k]);
        }
    }
}

template <class Visit> void TMassGrid::VisitAside(Visit& visit) {
    for (std::uint32_t i : aside) {
        if (FirstTouch(i)) {
            visit(i);
        }
    }
}

template <class Visit>
void TMassGrid::InBox(double minX, double minY, double maxX, double maxY, Visit visit) {
    VisitAside(visit);
    if (columns == 0 || maxX < left || minX > right || maxY < top || minY > bottom) {
        return;
    }
    const std::int32_t c1 = Column(maxX);
    const std::int32_t r1 = Row(maxY);
    for (std::int32_t r = Row(minY); r <= r1; ++r) {
        for (std::int32_t c = Column(minX); c <= c1; ++c) {
            VisitCell(static_cast<std::size_t>(r) * columns + c, visit);
        }
    }
}

template <class Visit>
void TMassGrid::AlongSegment(double x0, double y0, double dx, double dy, const double& best,
                             Visit visit) {
    VisitAside(visit);
    double t0 = 0.0;
    double t1 = 1.0;
    if (columns == 0 || !ClipToRange(x0, dx, left, right, t0, t1) ||
        !ClipToRange(y0, dy, top, bottom, t0, t1)) {
        return;
    }
    std::int32_t c = Column(x0 + dx * t0);
    std::int32_t r = Row(y0 + dy * t0);
    const std::int32_t stepC = dx > 0.0 ? 1 : (dx < 0.0 ? -1 : 0);
    const std::int32_t stepR = dy > 0.0 ? 1 : (dy < 0.0 ? -1 : 0);
    // Each cell is left once at most: the walk ends within columns + rows steps.
    for (std::int32_t steps = columns + rows; steps > 0; --steps) {
        VisitCell(static_cast<std::size_t>(r) * columns + c, visit);
        // Where the segment crosses the cell's next column and row boundaries.
        const double nextC =
            stepC == 0 ? t1 + 1.0 : (originX + (c + (stepC > 0 ? 1 : 0)) * cell - x0) / dx;
        const double nextR =
            stepR == 0 ? t1 + 1.0 : (originY + (r + (stepR > 0 ? 1 : 0)) * cell - y0) / dy;
        const double entry = std::min(nextC, nextR);
        if (!(entry <= t1) || entry > best) {
            return;
        }
        if (nextC <= nextR) {
            c += stepC;
        } else {
            r += stepR;
        }
        if (c < 0 || c >= columns || r < 0 || r >= rows) {
            return;
        }
    }
}

} // namespace kinetra
