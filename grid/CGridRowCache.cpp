#include "CGridRowCache.h"

void CGridRowCache::SetSource(std::shared_ptr<CGridRowSource> source) {
    m_source = std::move(source);
    Reset();
}

void CGridRowCache::Reset() {
    m_blocks.clear();
    m_bFailed = false;
}

const QStringList* CGridRowCache::Row(int index) {
    if (!m_source || index < 0)
        return nullptr;
    const Block* block = Fetch(index - index % kBlockRows);
    if (!block || index - block->first >= block->rows.size())
        return nullptr;
    return &block->rows[index - block->first];
}

const CGridRowCache::Block* CGridRowCache::Fetch(int first) {
    for (qsizetype i = 0; i < m_blocks.size(); ++i) {
        if (m_blocks[i].first == first) {
            if (i > 0)
                m_blocks.move(i, 0);
            return &m_blocks.front();
        }
    }
    if (m_bFailed)
        return nullptr;
    Block block;
    block.first = first;
    if (!m_source->ReadRows(first, kBlockRows, block.rows)) {
        m_bFailed = true;
        return nullptr;
    }
    if (m_blocks.size() >= kMaxBlocks)
        m_blocks.removeLast();
    m_blocks.prepend(std::move(block));
    return &m_blocks.front();
}
