#include "app/CPlaceholderDlg.h"

#include <QLabel>
#include <QVBoxLayout>

CPlaceholderDlg::CPlaceholderDlg(const QString& title, Placement placement, CloseBox closeBox,
                                 QWidget* parent)
    : CWorkDialog(title, parent), m_placement(placement), m_closeBox(closeBox) {
    auto* label = new QLabel(QStringLiteral("“%1”功能即将提供。").arg(title), this);
    label->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
}
