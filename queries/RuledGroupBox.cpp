#include "queries/RuledGroupBox.h"

#include <QEvent>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionGroupBox>

namespace {

constexpr int kFewestDashes = 3;

} // namespace

RuledGroupBox::RuledGroupBox(const QString& title, QWidget* parent) : QGroupBox(parent) {
    static const QRegularExpression rule(QStringLiteral("-{3,}"));
    const QRegularExpressionMatch match = rule.match(title);
    m_strCaption = match.hasMatch() ? title.left(match.capturedStart()) : title;
    m_strNote = match.hasMatch() ? title.mid(match.capturedEnd()) : QString();
    setTitle(TitleFor(0));
}

// What the style adds around the title's text.
int RuledGroupBox::TitleFrameWidth() const {
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    return style()
        ->sizeFromContents(QStyle::CT_GroupBox, &option, QSize(0, fontMetrics().height()), this)
        .width();
}

QString RuledGroupBox::TitleFor(int width) const {
    if (m_strNote.isEmpty())
        return m_strCaption;
    const QFontMetrics metrics = fontMetrics();
    const int room = width - TitleFrameWidth() - metrics.horizontalAdvance(QLatin1Char(' ')) -
                     metrics.horizontalAdvance(m_strCaption + m_strNote);
    const int dashes = std::max(kFewestDashes, room / metrics.horizontalAdvance(QLatin1Char('-')));
    return m_strCaption + QString(dashes, QLatin1Char('-')) + m_strNote;
}

// As QGroupBox measures it, with the shortest rule.
QSize RuledGroupBox::minimumSizeHint() const {
    const QFontMetrics metrics = fontMetrics();
    const int title = metrics.horizontalAdvance(TitleFor(0) + QLatin1Char(' '));
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    const QSize frame = style()->sizeFromContents(QStyle::CT_GroupBox, &option,
                                                  QSize(title, metrics.height()), this);
    return frame.expandedTo(QWidget::minimumSizeHint());
}

void RuledGroupBox::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    setTitle(TitleFor(width()));
}

void RuledGroupBox::changeEvent(QEvent* event) {
    QGroupBox::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        setTitle(TitleFor(width()));
}
