#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QAbstractButton;
class QLabel;
class QWidget;

// While Alt is held, a small letter over every button of the active window that Alt+letter
// presses (its mnemonic, or the "keyTip" property the ribbon gives its buttons), and over the
// labels that lead to a box. The focus stays where it was: the tips never take it, and Alt
// alone moves it nowhere. Any other key, a click or Alt let go takes them away.
class CKeyTips : public QObject {
    Q_OBJECT
  public:
    explicit CKeyTips(QObject* parent = nullptr);
    ~CKeyTips() override;

    // The letter Alt goes with for this widget: the mnemonic of its text (保存(&S): S) or its
    // "keyTip" property; empty for none.
    static QString TipOf(const QWidget* widget);
    // The tips on screen now, for the tests and the pictures.
    QList<QLabel*> Shown() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Show(QWidget* window);
    void Hide();

    QList<QPointer<QLabel>> m_tips;
};
