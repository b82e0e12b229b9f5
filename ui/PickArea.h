#pragma once

#include <QString>

// The hand-over between a document window and the pickers it opens: the window names itself
// and the query, the picker leaves the product it chose here.
struct CPickArea {
    QString m_strPickedName;
    QString m_strPickedCode;
    QString m_strPickedSpec;
    int m_nPickTarget = 0; // 1 stock-in, 2 sales-out, 3 sales-return
    QString m_strPickQuery;
};

// The program's one hand-over area.
CPickArea& PickArea();
