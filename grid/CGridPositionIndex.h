// Sizes of a run of rows (or columns) with their start positions, so that the row at a given
// position is found by binary search. Start positions are rebuilt lazily from the first size
// that changed, so appending one row at a time costs constant time.
#pragma once

#include <vector>

class CGridPositionIndex {
  public:
    int Count() const { return static_cast<int>(m_sizes.size()); }
    long long Total() const { return m_total; }

    void Clear();
    void Resize(int count, int defaultSize); // new entries get defaultSize
    void Assign(const std::vector<int>& sizes);
    void Insert(int index, int size); // index == Count() appends
    void Erase(int index);

    int Size(int index) const { return m_sizes[index]; }
    void SetSize(int index, int size);

    // Start of entry index; Start(Count()) is the total.
    long long Start(int index) const;
    // The entry that covers pos, searching entries [first, Count()); -1 outside them.
    int IndexAt(long long pos, int first = 0) const;

  private:
    void Invalidate(int from);
    void Validate(int upTo) const;

    std::vector<int> m_sizes;
    mutable std::vector<long long> m_starts{0}; // Count() + 1 entries
    mutable int m_nValid = 0;                   // m_starts[0..m_nValid] are right
    long long m_total = 0;
};
