// Sizes of a run of rows (or columns) with their start positions, so that the row at a given
// position is found by binary search. Start positions are rebuilt lazily from the first size
// that changed, so appending one row at a time costs constant time. After the stored entries
// may follow a run of entries of one size that is never stored one by one (the rows of a grid
// in virtual mode): positions in it are worked out, whatever its length.
#pragma once

#include <vector>

class CGridPositionIndex {
  public:
    int Count() const { return StoredCount() + m_nTailCount; }
    long long Total() const { return m_total + static_cast<long long>(m_nTailCount) * m_nTailSize; }

    // The run of count entries of one size after the stored ones; Insert, Erase and Resize work
    // on the stored entries only.
    void SetUniformTail(int count, int size);
    int TailCount() const { return m_nTailCount; }
    int TailSize() const { return m_nTailSize; }

    void Clear();
    void Resize(int count, int defaultSize); // new entries get defaultSize
    void Assign(const std::vector<int>& sizes);
    void Insert(int index, int size); // index == Count() appends
    void Erase(int index);

    int Size(int index) const { return index < StoredCount() ? m_sizes[index] : m_nTailSize; }
    void SetSize(int index, int size); // entries of the tail keep their size

    // Start of entry index; Start(Count()) is the total.
    long long Start(int index) const;
    // The entry that covers pos, searching entries [first, Count()); -1 outside them.
    int IndexAt(long long pos, int first = 0) const;

  private:
    int StoredCount() const { return static_cast<int>(m_sizes.size()); }
    void Invalidate(int from);
    void Validate(int upTo) const;

    std::vector<int> m_sizes;
    mutable std::vector<long long> m_starts{0}; // Count() + 1 entries
    mutable int m_nValid = 0;                   // m_starts[0..m_nValid] are right
    long long m_total = 0;                      // of the stored entries
    int m_nTailCount = 0;
    int m_nTailSize = 0;
};
