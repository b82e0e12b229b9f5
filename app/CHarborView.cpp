#include "app/CHarborView.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>

#include "app/CHarborApp.h"
#include "app/CWorkDialog.h"
#include "app/CWorkSubWindow.h"
#include "app/HomePicture.h"

CHarborView::CHarborView(QWidget* parent) : QMdiArea(parent) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setActivationOrder(QMdiArea::StackingOrder);
}

QRect CHarborView::WorkAreaRect() const { return viewport()->rect(); }

void CHarborView::UpdateWorkArea() {
    theApp.m_rcWorkArea = QRect(viewport()->mapToGlobal(QPoint(0, 0)), viewport()->size());
}

void CHarborView::paintEvent(QPaintEvent* event) {
    UpdateWorkArea();
    Q_UNUSED(event);
    QPainter painter(viewport());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(viewport()->rect(), HomePicture());
}

void CHarborView::resizeEvent(QResizeEvent* event) {
    QMdiArea::resizeEvent(event);
    UpdateWorkArea();
}

void CHarborView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(QStringLiteral("编辑"), this);
    const QString labels[] = {QStringLiteral("剪切(&T)\tCtrl+X"), QStringLiteral("复制(&C)\tCtrl+C"),
                              QStringLiteral("粘贴(&P)\tCtrl+V")};
    for (int i = 0; i < 3; ++i)
        connect(menu.addAction(labels[i]), &QAction::triggered, this, [this, i] { emit editCommand(i); });
    menu.exec(event->globalPos());
}

QRect CHarborView::ColumnPlacement(int width) const {
    // Left edge (right edge of the work area - width) / 2, in screen terms; full height.
    const QRect area = theApp.m_rcWorkArea;
    const int right = area.left() + area.width();
    const int left = (right - width) / 2 - area.left();
    return QRect(qMax(0, left), 0, width, WorkAreaRect().height());
}

void CHarborView::ShowDialog(CWorkDialog* dialog, bool created) {
    QWidget* host = dialog->HostWindow();
    if (created) {
        auto* sub = new CWorkSubWindow(dialog);
        addSubWindow(sub);
        host = sub;
    }
    UpdateWorkArea();
    if (dialog->GetPlacement() == CWorkDialog::Placement::CoverWorkArea) {
        host->setGeometry(WorkAreaRect());
    } else if (created) {
        const int width = qMin(WorkAreaRect().width(), host->sizeHint().width());
        host->setGeometry(ColumnPlacement(width));
    }
    dialog->show();
    host->show();
    host->raise();
    if (auto* sub = qobject_cast<QMdiSubWindow*>(host))
        setActiveSubWindow(sub);
    dialog->setFocus();
}
