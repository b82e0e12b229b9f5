#include "shell/CRibbonBar.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QShortcut>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "shell/AppLook.h"
#include "shell/HomePicture.h"
#include "shell/KeyMapDialog.h"
#include "ui/CommandIds.h"

namespace {

const char* const kCommandProperty = "harborCommand";

} // namespace

CRibbonBar::CRibbonBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ribbon"));

    m_pAppButton = new QToolButton(this);
    m_pAppButton->setObjectName(QStringLiteral("appButton"));
    m_pAppButton->setText(QStringLiteral("文件(&F)"));
    m_pAppButton->setPopupMode(QToolButton::InstantPopup);
    m_pAppButton->setToolTip(QStringLiteral("文件"));
    m_pAppButton->setAutoRaise(true);
    m_pAppButton->setAutoFillBackground(true); // white on its own face, set by SetColours

    m_pTabs = new QTabBar(this);
    m_pTabs->setObjectName(QStringLiteral("ribbonTabs"));
    m_pTabs->setDrawBase(false);
    m_pTabs->setExpanding(false);
    m_pTabs->installEventFilter(this); // the tabs are painted in the style's colours here

    m_pStyleButton = new QToolButton(this);
    m_pStyleButton->setObjectName(QStringLiteral("styleButton"));
    m_pStyleButton->setText(QStringLiteral("样式(&S)"));
    m_pStyleButton->setPopupMode(QToolButton::InstantPopup);
    m_pStyleButton->setAutoRaise(true);
    m_pAboutButton = new QToolButton(this);
    m_pAboutButton->setText(QStringLiteral("?"));
    m_pAboutButton->setAutoRaise(true);
    m_pAboutButton->setToolTip(QStringLiteral("关于 Harbor (Alt+A)"));
    m_pAboutButton->setShortcut(QKeySequence(QStringLiteral("Alt+A")));
    connect(m_pAboutButton, &QToolButton::clicked, this,
            [this] { emit commandTriggered(ID_APP_ABOUT); });
    // The arrow beside "?" opens the help menu; the button itself still shows 关于.
    auto* help = new QMenu(m_pAboutButton);
    connect(help->addAction(QStringLiteral("快捷键一览(&K)")), &QAction::triggered, this,
            [this] { ShowKeyMapDialog(window()); });
    connect(help->addAction(QStringLiteral("关于 Harbor(&A)")), &QAction::triggered, this,
            [this] { emit commandTriggered(ID_APP_ABOUT); });
    m_pAboutButton->setMenu(help);
    m_pAboutButton->setPopupMode(QToolButton::MenuButtonPopup);

    auto* quick = new QWidget(this);
    m_pQuickLayout = new QHBoxLayout(quick);
    m_pQuickLayout->setContentsMargins(0, 0, 0, 0);
    m_pQuickLayout->setSpacing(2);

    auto* top = new QHBoxLayout;
    top->setContentsMargins(4, 2, 4, 0);
    top->addWidget(quick);
    top->addStretch(1);

    auto* tabsRow = new QHBoxLayout;
    tabsRow->setContentsMargins(4, 0, 4, 0);
    tabsRow->setSpacing(6);
    tabsRow->addWidget(m_pAppButton);
    tabsRow->addWidget(m_pTabs);
    tabsRow->addStretch(1);
    tabsRow->addWidget(m_pStyleButton);
    tabsRow->addWidget(m_pAboutButton);

    m_pPages = new QStackedWidget(this);
    m_pPages->setObjectName(QStringLiteral("ribbonPages"));
    m_pPages->setFixedHeight(92);
    m_pPages->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 2);
    layout->setSpacing(0);
    layout->addLayout(top);
    layout->addLayout(tabsRow);
    layout->addWidget(m_pPages);

    connect(m_pTabs, &QTabBar::currentChanged, this, [this](int index) {
        BuildPage(index);
        m_pPages->setCurrentIndex(index);
    });
}

void CRibbonBar::AddTab(const QString& title) {
    m_pTabs->addTab(title);
    auto* page = new QWidget(m_pPages);
    page->setObjectName(QStringLiteral("ribbonPage"));
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(0);
    layout->addStretch(1);
    m_pPages->addWidget(page);
}

// The button is only described here; its page builds its panels the first time it is shown
// (or a button of it is asked for), so tabs never opened cost nothing at start-up. The key tip
// works at once.
void CRibbonBar::AddButton(const QString& text, int command, int image, const QString& glyph,
                           const QString& keyTip) {
    const int page = m_pPages->count() - 1;
    m_pending.append({page, text, command, image, glyph, keyTip});
    if (!keyTip.isEmpty()) {
        auto* shortcut = new QShortcut(QKeySequence(QStringLiteral("Alt+") + keyTip), this);
        connect(shortcut, &QShortcut::activated, this,
                [this, command] { emit commandTriggered(command); });
    }
}

void CRibbonBar::BuildPage(int index) {
    for (qsizetype i = 0; i < m_pending.size();) {
        if (m_pending[i].page == index)
            BuildPanel(m_pending.takeAt(i));
        else
            ++i;
    }
}

// A panel: the large button over the panel's caption, closed by a separator line.
void CRibbonBar::BuildPanel(const PendingButton& b) {
    QWidget* page = m_pPages->widget(b.page);
    auto* layout = static_cast<QHBoxLayout*>(page->layout());
    auto* panel = new QWidget(page);
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(6, 2, 6, 0);
    panelLayout->setSpacing(0);
    auto* button = new QToolButton(panel);
    button->setText(b.text);
    button->setIcon(RibbonIcon(b.image, b.glyph));
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setMinimumSize(64, 66);
    button->setProperty(kCommandProperty, b.command);
    button->setProperty("keyTip", b.keyTip); // shown over the button while Alt is held
    button->setToolTip(b.keyTip.isEmpty() ? b.text
                                          : QStringLiteral("%1 (Alt+%2)").arg(b.text, b.keyTip));
    connect(button, &QToolButton::clicked, this,
            [this, command = b.command] { emit commandTriggered(command); });
    auto* caption = new QLabel(b.text, panel);
    caption->setAlignment(Qt::AlignCenter);
    caption->setObjectName(QStringLiteral("panelCaption"));
    panelLayout->addWidget(button, 0, Qt::AlignHCenter);
    panelLayout->addWidget(caption);
    layout->insertWidget(layout->count() - 1, panel);
    auto* line = new QFrame(page);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->insertWidget(layout->count() - 1, line);
    if (page->isVisible()) { // a page on screen shows what is added to it at once
        panel->show();
        line->show();
    }
    m_buttons.append(button);
}

void CRibbonBar::SetApplicationMenu(QMenu* menu) {
    m_pAppButton->setMenu(menu);
}

void CRibbonBar::SetStyleMenu(QMenu* menu) {
    m_pStyleButton->setMenu(menu);
}

QToolButton* CRibbonBar::MakeSmallButton(const QString& text, const QString& glyph) {
    auto* button = new QToolButton(this);
    button->setIcon(RibbonIcon(m_pQuickLayout->count(), glyph));
    button->setIconSize(QSize(16, 16));
    button->setAutoRaise(true);
    button->setToolTip(text);
    return button;
}

void CRibbonBar::AddQuickAccess(const QString& text, int command, const QString& glyph) {
    QToolButton* button = MakeSmallButton(text, glyph);
    button->setProperty(kCommandProperty, command);
    connect(button, &QToolButton::clicked, this,
            [this, command] { emit commandTriggered(command); });
    m_pQuickLayout->addWidget(button);
}

QToolButton* CRibbonBar::ButtonFor(int command) {
    for (const PendingButton& b : std::as_const(m_pending)) {
        if (b.command == command) {
            BuildPage(b.page);
            break;
        }
    }
    for (QToolButton* button : m_buttons) {
        if (button->property(kCommandProperty).toInt() == command)
            return button;
    }
    return nullptr;
}

int CRibbonBar::TabCount() const {
    return m_pTabs->count();
}
QString CRibbonBar::TabTitle(int index) const {
    return m_pTabs->tabText(index);
}
void CRibbonBar::SetCurrentTab(int index) {
    BuildPage(index); // also when it is the current tab already
    m_pTabs->setCurrentIndex(index);
}

// Every text of the ribbon takes the style's text colour, so it stays readable on the style's
// face in the dark styles too. The application button is white on a dark shade of the border.
void CRibbonBar::SetColours(const QColor& face, const QColor& border, const QColor& text) {
    m_face = face;
    m_border = border;
    m_page = face.lighter(108);
    m_text = text;
    QPalette colours = QApplication::palette();
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Button, QPalette::Base})
        colours.setColor(role, face);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        colours.setColor(role, text);
    setPalette(colours);
    QPalette app = colours;
    const QColor appFace = BackgroundForWhiteText(border.darker(120));
    app.setColor(QPalette::Window, appFace);
    app.setColor(QPalette::Button, appFace);
    app.setColor(QPalette::ButtonText, Qt::white);
    m_pAppButton->setPalette(app);
    update();
}

void CRibbonBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), m_face);
    p.setPen(m_border);
    p.drawLine(0, height() - 1, width() - 1, height() - 1);
}

bool CRibbonBar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint) {
        if (watched == m_pTabs) {
            PaintTabs();
            return true;
        }
        if (watched == m_pPages) {
            PaintPagesFrame();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// Flat tabs: the current one in the page's colour, open towards the page below it.
void CRibbonBar::PaintTabs() {
    QPainter p(m_pTabs);
    p.setRenderHint(QPainter::Antialiasing);
    const int current = m_pTabs->currentIndex();
    for (int i = 0; i < m_pTabs->count(); ++i) {
        const QRectF r = QRectF(m_pTabs->tabRect(i)).adjusted(0.5, 0.5, -0.5, 0.5);
        if (i == current) {
            QPainterPath outline;
            outline.moveTo(r.bottomLeft());
            outline.lineTo(r.left(), r.top() + 3);
            outline.quadTo(r.topLeft(), QPointF(r.left() + 3, r.top()));
            outline.lineTo(r.right() - 3, r.top());
            outline.quadTo(r.topRight(), QPointF(r.right(), r.top() + 3));
            outline.lineTo(r.bottomRight());
            p.fillPath(outline, m_page);
            p.setPen(m_border);
            p.drawPath(outline);
        }
        p.setPen(m_text);
        p.drawText(m_pTabs->tabRect(i), Qt::AlignCenter, m_pTabs->tabText(i));
    }
}

void CRibbonBar::PaintPagesFrame() {
    QPainter p(m_pPages);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(m_border);
    p.setBrush(m_page);
    p.drawRoundedRect(QRectF(m_pPages->rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
}
