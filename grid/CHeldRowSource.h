#pragma once

#include "CGridRowSource.h"

// Rows already held in memory for a grid in virtual mode: each row's number (from 1) in the
// first, fixed column, then its texts. A long list is shown without a cell per text.
class CHeldRowSource : public CGridRowSource {
  public:
    explicit CHeldRowSource(QList<QStringList> rows) : m_rows(std::move(rows)) {}

    int RowCount() const override { return static_cast<int>(m_rows.size()); }
    bool ReadRows(int first, int count, QList<QStringList>& rows) override;

  private:
    QList<QStringList> m_rows;
};
