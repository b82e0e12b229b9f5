#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

class QMenu;
class QStackedWidget;
class QTabBar;
class QToolButton;
class QHBoxLayout;

// The ribbon above the home view: the application button with its menu, the quick access
// items, the tabs with one large button per panel, and the style menu and about button at the
// right of the tabs. Every button reports its command through commandTriggered.
class CRibbonBar : public QWidget {
    Q_OBJECT
  public:
    explicit CRibbonBar(QWidget* parent = nullptr);

    void AddTab(const QString& title);
    // A large button alone in its panel on the last tab added (built when its tab is first
    // shown); keyTip is its Alt key.
    void AddButton(const QString& text, int command, int image, const QString& glyph,
                   const QString& keyTip = QString());
    void SetApplicationMenu(QMenu* menu);
    void SetStyleMenu(QMenu* menu);
    void AddQuickAccess(const QString& text, int command, const QString& glyph);

    QToolButton* ButtonFor(int command); // builds the button's page if need be
    int TabCount() const;
    QString TabTitle(int index) const;
    void SetCurrentTab(int index);
    // Colours of the current visual style: face, border and tab text.
    void SetColours(const QColor& face, const QColor& border, const QColor& text);

  signals:
    void commandTriggered(int command);

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct PendingButton {
        int page;
        QString text;
        int command;
        int image;
        QString glyph;
        QString keyTip;
    };
    void BuildPage(int index);
    void BuildPanel(const PendingButton& button);
    QToolButton* MakeSmallButton(const QString& text, const QString& glyph);
    void PaintTabs();
    void PaintPagesFrame();

    QTabBar* m_pTabs;
    QStackedWidget* m_pPages;
    QToolButton* m_pAppButton;
    QToolButton* m_pStyleButton;
    QToolButton* m_pAboutButton;
    QHBoxLayout* m_pQuickLayout;
    QList<QToolButton*> m_buttons;
    QList<PendingButton> m_pending;
    // The style's colours, painted by the ribbon itself (a style sheet would make every
    // widget of the ribbon slower to polish, size and paint).
    QColor m_face = Qt::lightGray;
    QColor m_border = Qt::gray;
    QColor m_page = Qt::white;
    QColor m_text = Qt::black;
};
