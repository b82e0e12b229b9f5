#include "CGridDefaultCell.h"

#include <QApplication>
#include <QFontMetrics>

CGridDefaultCell::CGridDefaultCell() {
    m_nFormat = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
    m_nMargin = 3;
    m_Size = QSize(40, 16);
    m_Font = QApplication::font();
}

void CGridDefaultCell::SetFont(const QFont* pFont) {
    if (!pFont)
        return; // a default cell always has a font
    m_Font = *pFont;
    const QFontMetrics fm(m_Font);
    m_nMargin = fm.horizontalAdvance(QLatin1Char(' '));
    m_Size = QSize(fm.horizontalAdvance(QStringLiteral(" XXXXXXXXXXXX ")), fm.height() * 3 / 2);
}
