#include "CTitleTip.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWheelEvent>

CTitleTip::CTitleTip(QWidget* pParentWnd)
    : QWidget(pParentWnd, Qt::ToolTip | Qt::FramelessWindowHint), m_pParentWnd(pParentWnd) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents, false);
    setMouseTracking(true);
}

void CTitleTip::Show(const QRect& rectTitle, const QString& strTitle, const QFont& font,
                     const QColor& crText, const QColor& crBack) {
    m_strText = strTitle;
    m_rectHover = rectTitle;
    m_crText = crText.isValid() ? crText : palette().color(QPalette::ToolTipText);
    m_crBack = crBack.isValid() ? crBack : palette().color(QPalette::ToolTipBase);
    setFont(font);
    const QFontMetrics fm(font);
    const QRect textRect = fm.boundingRect(QRect(0, 0, 1 << 20, 1 << 20), Qt::AlignLeft, strTitle);
    QRect tip(rectTitle.topLeft() - QPoint(3, 1),
              QSize(textRect.width() + 8, std::max(textRect.height(), rectTitle.height()) + 2));
    if (const QScreen* screen = QApplication::screenAt(rectTitle.center())) {
        const QRect avail = screen->availableGeometry();
        if (tip.right() > avail.right())
            tip.moveRight(avail.right());
        if (tip.left() < avail.left())
            tip.moveLeft(avail.left());
        tip = tip.intersected(avail);
    }
    setGeometry(tip);
    show();
    raise();
    update();
}

void CTitleTip::Hide() {
    hide();
}

void CTitleTip::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), m_crBack);
    painter.setPen(m_crText);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setFont(font());
    painter.drawText(rect().adjusted(3, 1, -3, -1), Qt::AlignLeft | Qt::AlignVCenter, m_strText);
}

// Mouse actions on the tip belong to the cell under it.
void CTitleTip::Forward(QEvent* event) {
    auto* pArea = qobject_cast<QAbstractScrollArea*>(m_pParentWnd);
    QWidget* pTarget = pArea ? pArea->viewport() : m_pParentWnd;
    if (!pTarget)
        return;
    if (auto* mouse = dynamic_cast<QMouseEvent*>(event)) {
        const QPointF global = mouse->globalPosition();
        QMouseEvent copy(mouse->type(), pTarget->mapFromGlobal(global), global, mouse->button(),
                         mouse->buttons(), mouse->modifiers());
        QApplication::sendEvent(pTarget, &copy);
    } else if (auto* wheel = dynamic_cast<QWheelEvent*>(event)) {
        const QPointF global = wheel->globalPosition();
        QWheelEvent copy(pTarget->mapFromGlobal(global), global, wheel->pixelDelta(),
                         wheel->angleDelta(), wheel->buttons(), wheel->modifiers(), wheel->phase(),
                         wheel->inverted());
        QApplication::sendEvent(pTarget, &copy);
    }
}

void CTitleTip::mousePressEvent(QMouseEvent* event) {
    Hide();
    Forward(event);
}

void CTitleTip::mouseReleaseEvent(QMouseEvent* event) {
    Forward(event);
}

void CTitleTip::mouseDoubleClickEvent(QMouseEvent* event) {
    Hide();
    Forward(event);
}

void CTitleTip::mouseMoveEvent(QMouseEvent* event) {
    if (!m_rectHover.contains(event->globalPosition().toPoint()))
        Hide();
    Forward(event);
}

void CTitleTip::wheelEvent(QWheelEvent* event) {
    Hide();
    Forward(event);
}

void CTitleTip::leaveEvent(QEvent* /*event*/) {
    Hide();
}
