#include "LayoutCheck.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QFocusFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRubberBand>
#include <QSizeGrip>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTabBar>

namespace {

// A widget whose children belong to it (scroll bars, an edit box in a drop list): checked as a
// whole, never looked into.
bool IsControl(const QWidget* widget) {
    return widget->inherits("QAbstractScrollArea") || widget->inherits("QComboBox") ||
           widget->inherits("QAbstractSpinBox") || widget->inherits("QLineEdit") ||
           widget->inherits("QAbstractButton") || widget->inherits("QLabel") ||
           widget->inherits("QAbstractSlider") || widget->inherits("QProgressBar") ||
           widget->inherits("QTabBar");
}

// Helpers Qt lays over other widgets on purpose.
bool IsOverlay(const QWidget* widget) {
    return widget->isWindow() || qobject_cast<const QSizeGrip*>(widget) ||
           qobject_cast<const QFocusFrame*>(widget) || qobject_cast<const QRubberBand*>(widget);
}

QString Describe(const QWidget* widget) {
    QString text;
    if (auto* button = qobject_cast<const QAbstractButton*>(widget))
        text = button->text();
    else if (auto* label = qobject_cast<const QLabel*>(widget))
        text = label->text();
    else if (auto* box = qobject_cast<const QGroupBox*>(widget))
        text = box->title();
    else if (auto* edit = qobject_cast<const QLineEdit*>(widget))
        text = edit->text();
    else if (auto* combo = qobject_cast<const QComboBox*>(widget))
        text = combo->currentText();
    QString name = QString::fromLatin1(widget->metaObject()->className());
    if (!widget->objectName().isEmpty())
        name += QLatin1Char('#') + widget->objectName();
    if (!text.isEmpty())
        name += QStringLiteral(" \"%1\"").arg(text.left(24));
    return name;
}

QString SizeText(const QSize& size) {
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

// The width a line edit needs to show its whole text, measured as QLineEdit measures its hint.
int LineEditWidthFor(const QLineEdit* edit) {
    const QString shown = edit->displayText();
    const QMargins text = edit->textMargins();
    const QMargins contents = edit->contentsMargins();
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.rect = edit->rect();
    option.lineWidth = edit->hasFrame()
                           ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit)
                           : 0;
    const int inner = edit->fontMetrics().horizontalAdvance(shown) + 2 * 2 /* cursor margins */ +
                      text.left() + text.right() + contents.left() + contents.right();
    return edit->style()
        ->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(inner, edit->height()), edit)
        .width();
}

// The faults of one widget's own size.
void CheckSize(const QWidget* widget, QStringList& faults) {
    const QSize minimum = widget->minimumSizeHint();
    if (minimum.isValid() &&
        (widget->width() < minimum.width() || widget->height() < minimum.height()))
        faults << QStringLiteral("%1: %2 is smaller than its minimum %3")
                      .arg(Describe(widget), SizeText(widget->size()), SizeText(minimum));
    if (widget->hasHeightForWidth() && widget->height() < widget->heightForWidth(widget->width()))
        faults << QStringLiteral("%1: %2 is lower than the %3 its lines need")
                      .arg(Describe(widget), SizeText(widget->size()))
                      .arg(widget->heightForWidth(widget->width()));
    if (auto* edit = qobject_cast<const QLineEdit*>(widget)) {
        const int needed = edit->displayText().isEmpty() ? 0 : LineEditWidthFor(edit);
        if (edit->width() < needed)
            faults << QStringLiteral("%1: %2 wide, its text needs %3")
                          .arg(Describe(widget))
                          .arg(edit->width())
                          .arg(needed);
    }
}

// The visible children of container that are laid out in it.
QList<QWidget*> PlacedChildren(const QWidget* container, const QWidget* window) {
    QList<QWidget*> children;
    for (QObject* object : container->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (child && !IsOverlay(child) && child->isVisibleTo(window))
            children << child;
    }
    return children;
}

void CheckChildren(const QWidget* container, const QWidget* window, QStringList& faults) {
    const QList<QWidget*> children = PlacedChildren(container, window);
    const QRect inside = container->contentsRect();
    for (int i = 0; i < children.size(); ++i) {
        QWidget* child = children[i];
        if (!inside.contains(child->geometry()))
            faults << QStringLiteral("%1: %2 lies outside %3 of %4")
                          .arg(Describe(child),
                               QStringLiteral("(%1,%2 %3)")
                                   .arg(child->x())
                                   .arg(child->y())
                                   .arg(SizeText(child->size())),
                               QStringLiteral("(%1,%2 %3)")
                                   .arg(inside.x())
                                   .arg(inside.y())
                                   .arg(SizeText(inside.size())),
                               Describe(container));
        for (int j = i + 1; j < children.size(); ++j) {
            if (child->geometry().intersects(children[j]->geometry()))
                faults
                    << QStringLiteral("%1 overlaps %2").arg(Describe(child), Describe(children[j]));
        }
        CheckSize(child, faults);
        if (!IsControl(child))
            CheckChildren(child, window, faults);
    }
}

} // namespace

QStringList ClippedWidgets(QWidget* window) {
    QStringList faults;
    CheckSize(window, faults);
    CheckChildren(window, window, faults);
    return faults;
}
