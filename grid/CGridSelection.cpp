#include "CGridSelection.h"

#include <algorithm>
#include <climits>
#include <vector>

void CGridSelection::Add(const CCellRange& range) {
    if (!range.IsValid())
        return;
    for (const CCellRange& held : std::as_const(m_ranges))
        if (held.Intersect(range) == range)
            return; // already inside
    m_ranges.removeIf([&](const CCellRange& held) { return range.Intersect(held) == held; });
    m_ranges.append(range);
}

bool CGridSelection::Contains(int row, int col) const {
    return std::any_of(m_ranges.begin(), m_ranges.end(),
                       [&](const CCellRange& range) { return range.InRange(row, col); });
}

long long CGridSelection::Count() const {
    // Bands between the rows where some rectangle starts or ends; in each, the union of the
    // column spans of the rectangles that cover it.
    std::vector<int> edges;
    for (const CCellRange& r : m_ranges) {
        edges.push_back(r.GetMinRow());
        edges.push_back(r.GetMaxRow() + 1);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    long long total = 0;
    for (size_t i = 0; i + 1 < edges.size(); ++i) {
        std::vector<std::pair<int, int>> spans;
        for (const CCellRange& r : m_ranges)
            if (r.GetMinRow() <= edges[i] && r.GetMaxRow() >= edges[i])
                spans.emplace_back(r.GetMinCol(), r.GetMaxCol());
        std::sort(spans.begin(), spans.end());
        long long cols = 0;
        int reached = -1;
        for (const auto& [from, to] : spans) {
            const int start = std::max(from, reached + 1);
            if (to >= start)
                cols += to - start + 1;
            reached = std::max(reached, to);
        }
        total += cols * (edges[i + 1] - edges[i]);
    }
    return total;
}

CCellRange CGridSelection::Bounds() const {
    if (m_ranges.isEmpty())
        return CCellRange();
    int minRow = INT_MAX, minCol = INT_MAX, maxRow = -1, maxCol = -1;
    for (const CCellRange& r : m_ranges) {
        minRow = std::min(minRow, r.GetMinRow());
        minCol = std::min(minCol, r.GetMinCol());
        maxRow = std::max(maxRow, r.GetMaxRow());
        maxCol = std::max(maxCol, r.GetMaxCol());
    }
    return CCellRange(minRow, minCol, maxRow, maxCol);
}

void CGridSelection::InsertRow(int row) {
    QList<CCellRange> moved;
    for (const CCellRange& r : std::as_const(m_ranges)) {
        if (r.GetMaxRow() < row) {
            moved.append(r);
        } else if (r.GetMinRow() >= row) {
            moved.append(
                CCellRange(r.GetMinRow() + 1, r.GetMinCol(), r.GetMaxRow() + 1, r.GetMaxCol()));
        } else { // split around the new row
            moved.append(CCellRange(r.GetMinRow(), r.GetMinCol(), row - 1, r.GetMaxCol()));
            moved.append(CCellRange(row + 1, r.GetMinCol(), r.GetMaxRow() + 1, r.GetMaxCol()));
        }
    }
    m_ranges = moved;
}

void CGridSelection::RemoveRow(int row) {
    QList<CCellRange> kept;
    for (const CCellRange& r : std::as_const(m_ranges)) {
        const int minRow = r.GetMinRow() > row ? r.GetMinRow() - 1 : r.GetMinRow();
        const int maxRow = r.GetMaxRow() >= row ? r.GetMaxRow() - 1 : r.GetMaxRow();
        const CCellRange shrunk(minRow, r.GetMinCol(), maxRow, r.GetMaxCol());
        if (shrunk.IsValid())
            kept.append(shrunk);
    }
    m_ranges = kept;
}

void CGridSelection::ClipTo(int rows, int cols) {
    const CCellRange all(0, 0, rows - 1, cols - 1);
    QList<CCellRange> kept;
    for (const CCellRange& r : std::as_const(m_ranges)) {
        const CCellRange clipped = r.Intersect(all);
        if (clipped.IsValid())
            kept.append(clipped);
    }
    m_ranges = kept;
}
