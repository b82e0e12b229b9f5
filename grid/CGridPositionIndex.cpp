#include "CGridPositionIndex.h"

#include <algorithm>

void CGridPositionIndex::Clear() {
    m_sizes.clear();
    m_starts.assign(1, 0);
    m_nValid = 0;
    m_total = 0;
    m_nTailCount = 0;
    m_nTailSize = 0;
}

void CGridPositionIndex::SetUniformTail(int count, int size) {
    m_nTailCount = std::max(count, 0);
    m_nTailSize = std::max(size, 0);
}

void CGridPositionIndex::Resize(int count, int defaultSize) {
    count = std::max(count, 0);
    const int old = StoredCount();
    if (count < old) {
        for (int i = count; i < old; ++i)
            m_total -= m_sizes[i];
        m_sizes.resize(count);
        m_starts.resize(count + 1);
        Invalidate(count);
    } else if (count > old) {
        m_sizes.resize(count, defaultSize);
        m_starts.resize(count + 1);
        m_total += static_cast<long long>(defaultSize) * (count - old);
        Invalidate(old);
    }
}

void CGridPositionIndex::Assign(const std::vector<int>& sizes) {
    m_sizes = sizes;
    m_starts.assign(m_sizes.size() + 1, 0);
    m_nValid = 0;
    m_total = 0;
    for (int s : m_sizes)
        m_total += s;
}

void CGridPositionIndex::Insert(int index, int size) {
    index = std::clamp(index, 0, StoredCount());
    m_sizes.insert(m_sizes.begin() + index, size);
    m_starts.push_back(0);
    m_total += size;
    Invalidate(index);
}

void CGridPositionIndex::Erase(int index) {
    if (index < 0 || index >= StoredCount())
        return;
    m_total -= m_sizes[index];
    m_sizes.erase(m_sizes.begin() + index);
    m_starts.pop_back();
    Invalidate(index);
}

void CGridPositionIndex::SetSize(int index, int size) {
    if (index < 0 || index >= StoredCount() || m_sizes[index] == size)
        return;
    m_total += static_cast<long long>(size) - m_sizes[index];
    m_sizes[index] = size;
    Invalidate(index);
}

long long CGridPositionIndex::Start(int index) const {
    index = std::clamp(index, 0, Count());
    const int stored = StoredCount();
    if (index >= stored)
        return m_total + static_cast<long long>(index - stored) * m_nTailSize;
    Validate(index);
    return m_starts[index];
}

int CGridPositionIndex::IndexAt(long long pos, int first) const {
    first = std::max(first, 0);
    if (first >= Count() || pos < Start(first) || pos >= Total())
        return -1;
    const int stored = StoredCount();
    if (pos >= m_total) // in the tail; its entries all have a size, or Total() would be m_total
        return stored + static_cast<int>((pos - m_total) / m_nTailSize);
    Validate(stored);
    // The last entry whose start is at or before pos; empty entries are skipped over.
    const auto it = std::upper_bound(m_starts.begin() + first, m_starts.end() - 1, pos);
    return static_cast<int>(it - m_starts.begin()) - 1;
}

void CGridPositionIndex::Invalidate(int from) {
    m_nValid = std::min(m_nValid, std::max(from, 0));
}

void CGridPositionIndex::Validate(int upTo) const {
    for (int i = m_nValid + 1; i <= upTo; ++i)
        m_starts[i] = m_starts[i - 1] + m_sizes[i - 1];
    m_nValid = std::max(m_nValid, upTo);
}
