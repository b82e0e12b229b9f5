// The rows of a row source that a grid in virtual mode holds: a few blocks of rows around
// what was asked last, the least recently used block given up first. After a failed read the
// source is not asked again until the cache is reset, so that one fault is told once.
#pragma once

#include "CGridRowSource.h"

#include <QList>
#include <QStringList>
#include <memory>

class CGridRowCache {
  public:
    static constexpr int kBlockRows = 100;
    static constexpr int kMaxBlocks = 8;

    void SetSource(std::shared_ptr<CGridRowSource> source);
    const std::shared_ptr<CGridRowSource>& Source() const { return m_source; }
    // Forgets the rows read and a failure: the next row asked for is read again.
    void Reset();

    // The texts of a row (counted from 0 below the fixed rows); null when it cannot be read.
    const QStringList* Row(int index);
    bool HasFailed() const { return m_bFailed; }
    int BlockCount() const { return static_cast<int>(m_blocks.size()); }

  private:
    struct Block {
        int first = 0;
        QList<QStringList> rows;
    };
    const Block* Fetch(int first);

    std::shared_ptr<CGridRowSource> m_source;
    QList<Block> m_blocks; // most recently used first
    bool m_bFailed = false;
};
