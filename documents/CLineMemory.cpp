#include "documents/CLineMemory.h"

#include "grid/CGridCtrl.h"

LineMemory& CLineMemory::Attach(int row) {
    const qintptr key = m_nextKey++;
    m_pGrid->SetCellData(row, 0, key);
    return m_lines[key] = LineMemory();
}

LineMemory& CLineMemory::Of(int row) {
    const qintptr key = m_pGrid->GetCellData(row, 0);
    if (key == 0 || !m_lines.contains(key))
        return Attach(row);
    return m_lines[key];
}

const LineMemory* CLineMemory::Find(int row) const {
    const auto it = m_lines.constFind(m_pGrid->GetCellData(row, 0));
    return it == m_lines.constEnd() ? nullptr : &*it;
}

int CLineMemory::RowWithOrigin(const QStringList& origin) const {
    for (int row = 1; row < m_pGrid->GetRowCount(); ++row) {
        const LineMemory* memory = Find(row);
        if (memory && memory->origin && *memory->origin == origin)
            return row;
    }
    return -1;
}

void CLineMemory::Clear() {
    m_lines.clear();
}
