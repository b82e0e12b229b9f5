#include "CHeldRowSource.h"

#include <algorithm>

bool CHeldRowSource::ReadRows(int first, int count, QList<QStringList>& rows) {
    const int end = std::min(RowCount(), first + count);
    for (int r = std::max(0, first); r < end; ++r) {
        QStringList texts;
        texts.reserve(m_rows[r].size() + 1);
        texts.append(QString::number(r + 1));
        texts.append(m_rows[r]);
        rows.append(std::move(texts));
    }
    return true;
}
