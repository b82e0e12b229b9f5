// The main window: ribbon commands open their dialogs over the work area, close box and
// Escape, the column placement of the party dialogs, styles and their contrast, status bar,
// the application menu's print item and the view's edit popup.
#include <QtTest>

#include <QClipboard>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPrintDialog>
#include <QSettings>
#include <QStatusBar>
#include <QTabBar>
#include <QToolButton>

#include "GridInput.h"
#include "MessageScript.h"
#include "ModalDriver.h"
#include "TestDatabase.h"
#include "UserInput.h"
#include "shell/AppLook.h"
#include "shell/CHarborApp.h"
#include "shell/CHarborView.h"
#include "shell/CMainFrame.h"
#include "shell/CRibbonBar.h"
#include "ui/CWorkDialog.h"
#include "ui/CommandIds.h"
#include "shell/QtTranslation.h"
#include "grid/CGridCtrl.h"

namespace {

struct Expected {
    int command;
    const char* title;
};

const Expected kWorkDialogs[] = {
    {ID_SALE_OUT_DLG, "销售出库"},
    {ID_SALE_IN_DLG, "销售退货"},
    {ID_SALEOUT_QUERY_DLG, "销售出库查询"},
    {ID_SALEIN_QUERY_DLG, "销售退货查询"},
    {ID_ENTRY_DLG, "采购入库"},
    {ID_ENTRY_QUERY_DLG, "入库单查询"},
    {ID_INVENTORY_DLG, "库存盘点"},
    {ID_ACCOUNT_DLG, "帐目统计"},
    {ID_CLASS_DLG, "商品编码"},
    {ID_PRINT_CODE_BUTTON, "条码打印"},
    {ID_SUPPLIER_DLG, "供货商管理"},
    {ID_CUSTOMER_BUTTON, "客户管理"},
    {ID_EMPLOYEE_BUTTON, "员工管理"},
};

// The text of an area of a picture against its background: the background is the area's most
// frequent colour, the text the colour that contrasts most
// with it. Returns the contrast ratio of the two.
double TextContrast(const QImage& picture, const QRect& area, QColor* text = nullptr) {
    QHash<QRgb, int> counts;
    const QRect inside = area.intersected(picture.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            ++counts[picture.pixel(x, y) | 0xff000000u];
    QRgb background = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most)
            most = it.value(), background = it.key();
    double best = 1.0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        const double ratio = ContrastRatio(QColor(it.key()), QColor(background));
        if (ratio > best) {
            best = ratio;
            if (text)
                *text = QColor(it.key());
        }
    }
    return best;
}

// Where the texts of the ribbon and the status bar lie, in the frame's coordinates.
QList<QPair<QString, QRect>> TextAreas(QMainWindow* frame) {
    QList<QPair<QString, QRect>> areas;
    auto add = [&](QWidget* w, const QString& what, const QRect& rect) {
        if (w->isVisible())
            areas.append({what, QRect(w->mapTo(frame, rect.topLeft()), rect.size())});
    };
    for (QTabBar* tabs : frame->menuWidget()->findChildren<QTabBar*>())
        for (int i = 0; i < tabs->count(); ++i)
            add(tabs, tabs->tabText(i), tabs->tabRect(i).adjusted(4, 4, -4, -3));
    for (QToolButton* button : frame->menuWidget()->findChildren<QToolButton*>()) {
        const bool iconOnly =
            button->toolButtonStyle() == Qt::ToolButtonIconOnly && !button->icon().isNull();
        if (button->text().isEmpty() || iconOnly)
            continue;
        QRect rect = button->rect().adjusted(3, 3, -3, -3);
        if (button->toolButtonStyle() == Qt::ToolButtonTextUnderIcon)
            rect.setTop(button->iconSize().height() + 6); // the text below the icon
        add(button, button->text(), rect);
    }
    QList<QLabel*> labels = frame->menuWidget()->findChildren<QLabel*>();
    labels += frame->statusBar()->findChildren<QLabel*>();
    for (QLabel* label : labels)
        if (!label->text().isEmpty())
            add(label, label->text(), label->contentsRect());
    return areas;
}

} // namespace

class TestMainFrame : public QObject {
    Q_OBJECT

    QTemporaryDir m_settings;
    CMainFrame* m_pFrame = nullptr;
    std::unique_ptr<TestDatabase> m_pDb;
    std::unique_ptr<MessageScript> m_pMessages;

    QRect HostGeometry(int command) const {
        return m_pFrame->DialogFor(command)->HostWindow()->geometry();
    }

  private slots:
    // Qt's own buttons and dialogs speak Chinese like the rest of the program.
    void qtTextsAreChinese() {
        QVERIFY(InstallQtChinese(*QCoreApplication::instance()));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
    }

    void initTestCase() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
    }

    void init() {
        m_pDb = std::make_unique<TestDatabase>();
        m_pMessages = std::make_unique<MessageScript>();
        m_pFrame = new CMainFrame;
        m_pFrame->resize(1200, 800);
        m_pFrame->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_pFrame));
        m_pFrame->RepaintNow();
    }

    void cleanup() {
        delete m_pFrame;
        m_pFrame = nullptr;
        // The dialogs opened on an empty shop database without a word to say.
        QCOMPARE(m_pMessages->Texts(), QStringList());
        m_pMessages.reset();
        m_pDb.reset();
    }

    void everyRibbonButtonOpensItsWindowOverTheWorkArea() {
        const QRect area = m_pFrame->View()->WorkAreaRect();
        for (const Expected& e : kWorkDialogs) {
            QToolButton* button = m_pFrame->Ribbon()->ButtonFor(e.command);
            QVERIFY2(button, e.title);
            button->click();
            CWorkDialog* dialog = m_pFrame->DialogFor(e.command);
            QVERIFY2(dialog, e.title);
            QCOMPARE(dialog->windowTitle(), QString::fromUtf8(e.title));
            QVERIFY(dialog->HostWindow()->isVisible());
            QCOMPARE(FindWorkWindow(QString::fromUtf8(e.title)), dialog);
            const QRect placed = dialog->HostWindow()->geometry();
            if (dialog->GetPlacement() == CWorkDialog::Placement::CoverWorkArea) {
                QCOMPARE(placed, area);
            } else {
                QCOMPARE(placed.top(), area.top());
                QCOMPARE(placed.height(), area.height());
            }
        }
        // Several dialogs are open at once.
        QCOMPARE(m_pFrame->View()->subWindowList().size(), int(std::size(kWorkDialogs)));
    }

    void workAreaFollowsTheWindow() {
        const QRect area = theApp.m_rcWorkArea;
        QCOMPARE(area.size(), m_pFrame->View()->viewport()->size());
        QCOMPARE(area.topLeft(), m_pFrame->View()->viewport()->mapToGlobal(QPoint(0, 0)));
    }

    void closeBoxDestroysAndEscapeHides() {
        m_pFrame->OnCommand(ID_CLASS_DLG);
        QPointer<CWorkDialog> first = m_pFrame->DialogFor(ID_CLASS_DLG);
        first->setProperty("marker", 1);
        // Enter does not take the dialog away.
        QTest::keyClick(first, Qt::Key_Return);
        QVERIFY(first->HostWindow()->isVisible());
        // Escape hides it; the next command shows the same window with its contents.
        QTest::keyClick(first, Qt::Key_Escape);
        QVERIFY(!first->HostWindow()->isVisible());
        m_pFrame->OnCommand(ID_CLASS_DLG);
        QCOMPARE(m_pFrame->DialogFor(ID_CLASS_DLG), first.data());
        QVERIFY(first->HostWindow()->isVisible());
        // The close box destroys it; the next command makes a fresh one.
        first->HostWindow()->close();
        QTRY_VERIFY(first.isNull());
        QVERIFY(!FindWorkWindow(QStringLiteral("商品编码")));
        m_pFrame->OnCommand(ID_CLASS_DLG);
        QVERIFY(m_pFrame->DialogFor(ID_CLASS_DLG));
        QVERIFY(!m_pFrame->DialogFor(ID_CLASS_DLG)->property("marker").isValid());
    }

    void employeeAndAccountCloseBoxOnlyHides() {
        for (int command : {ID_EMPLOYEE_BUTTON, ID_ACCOUNT_DLG}) {
            m_pFrame->OnCommand(command);
            QPointer<CWorkDialog> dialog = m_pFrame->DialogFor(command);
            dialog->HostWindow()->close();
            QCoreApplication::processEvents();
            QVERIFY(!dialog.isNull());
            QVERIFY(!dialog->HostWindow()->isVisible());
            m_pFrame->OnCommand(command);
            QCOMPARE(m_pFrame->DialogFor(command), dialog.data());
            QVERIFY(dialog->HostWindow()->isVisible());
        }
    }

    void partyDialogsKeepTheirPlaceAfterAResize() {
        m_pFrame->OnCommand(ID_CUSTOMER_BUTTON);
        const QRect area = theApp.m_rcWorkArea;
        const QRect placed = HostGeometry(ID_CUSTOMER_BUTTON);
        const int right = area.left() + area.width();
        QCOMPARE(placed.left(), (right - placed.width()) / 2 - area.left());
        QCOMPARE(placed.height(), m_pFrame->View()->WorkAreaRect().height());

        m_pFrame->resize(1000, 650);
        QTRY_COMPARE(m_pFrame->View()->viewport()->width(), theApp.m_rcWorkArea.width());
        m_pFrame->OnCommand(ID_CUSTOMER_BUTTON);
        QCOMPARE(HostGeometry(ID_CUSTOMER_BUTTON), placed);
        m_pFrame->OnCommand(ID_SALE_IN_DLG);
        QCOMPARE(HostGeometry(ID_SALE_IN_DLG), m_pFrame->View()->WorkAreaRect());
    }

    void ribbonHasItsTabsInOrder() {
        QStringList tabs;
        for (int i = 0; i < m_pFrame->Ribbon()->TabCount(); ++i)
            tabs << m_pFrame->Ribbon()->TabTitle(i);
        QCOMPARE(tabs, QStringList({"销售管理", "入库管理", "盘点统计", "用户管理", "基础资料",
                                    "退出程序"}));
        QCOMPARE(m_pFrame->windowTitle(), QString("远航 - 远航五交化销售管理系统"));
        QVERIFY(m_pFrame->Ribbon()->ButtonFor(ID_APP_EXIT));
        QVERIFY(m_pFrame->Ribbon()->ButtonFor(ID_LANSET_BUTTON));
        QVERIFY(m_pFrame->Ribbon()->ButtonFor(ID_COMPANYINFO_BUTTON));
    }

    void styleIsStoredAndRestored() {
        QCOMPARE(theApp.m_nAppLook, 215u); // no stored value: blue
        m_pFrame->OnApplicationLook(ID_VIEW_APPLOOK_OFF_2007_BLACK);
        QCOMPARE(LoadApplicationLook(), 216u);
        delete m_pFrame;
        m_pFrame = new CMainFrame;
        QCOMPARE(theApp.m_nAppLook, 216u);
        QVERIFY(ColoursForLook(219).windows7);
        QVERIFY(!ColoursForLook(216).windows7);
        QCOMPARE(ColoursForLook(12345).face,
                 ColoursForLook(215).face); // anything else: Office 2007
    }

    void contrastRatioIsTheWcagOne() {
        QCOMPARE(qRound(ContrastRatio(Qt::black, Qt::white) * 100), 2100);
        QCOMPARE(ContrastRatio(QColor(80, 80, 80), QColor(80, 80, 80)), 1.0);
        QCOMPARE(qRound(ContrastRatio(QColor(118, 118, 118), Qt::white) * 100), 454);
        for (const QColor& c : {QColor(141, 178, 227), QColor(182, 186, 191), QColor(20, 20, 20)})
            QVERIFY(ContrastRatio(BackgroundForWhiteText(c), Qt::white) >= 4.5);
    }

    // Every text of the ribbon (tabs, buttons, captions) and the status bar, on every tab and
    // in each of the five styles, measured on the pixels of the grabbed window.
    void everyTextIsReadableInEveryStyle() {
        int measured = 0;
        for (unsigned look : {215u, 216u, 217u, 218u, 219u}) {
            m_pFrame->OnApplicationLook(look);
            for (int tab = 0; tab < m_pFrame->Ribbon()->TabCount(); ++tab) {
                m_pFrame->Ribbon()->SetCurrentTab(tab);
                QCoreApplication::processEvents();
                const QImage picture = m_pFrame->grab().toImage();
                for (const auto& [what, area] : TextAreas(m_pFrame)) {
                    QColor text;
                    const double contrast = TextContrast(picture, area, &text);
                    QVERIFY2(contrast >= 4.5,
                             qPrintable(QStringLiteral("%1 in style %2: %3 (text %4)")
                                            .arg(what)
                                            .arg(look)
                                            .arg(contrast)
                                            .arg(text.name())));
                    ++measured;
                }
            }
        }
        QVERIFY(measured > 5 * 6 * 8);
    }

    // 打印 in the 文件 menu prints: its key tip P, a click on it, Enter on it. Its key tip W
    // opens the sub-items.
    void printItemOfTheApplicationMenuPrints() {
        CHarborView* view = m_pFrame->View();
        view->m_nPrintKind = 1; // a list to print: the command asks for the printer
        auto* appButton = m_pFrame->Ribbon()->findChild<QToolButton*>(QStringLiteral("appButton"));
        QVERIFY(appButton && appButton->menu());
        auto* menu = appButton->menu();
        QAction* print = nullptr;
        for (QAction* a : menu->actions())
            if (a->text() == QStringLiteral("打印"))
                print = a;
        QVERIFY(print && print->menu());

        // Each print dialog that comes up is the print command at work; it is cancelled.
        const auto cancel = [](QPrintDialog* d) { d->reject(); };
        ModalDriver<QPrintDialog> printDialogs({cancel, cancel, cancel});
        QTimer::singleShot(0, [] {
            if (QWidget* popup = QApplication::activePopupWidget())
                QTest::keyClick(popup, Qt::Key_P);
        });
        QTest::mouseClick(appButton, Qt::LeftButton); // the menu opens; P chooses 打印
        QTRY_COMPARE(printDialogs.Handled(), 1);
        QVERIFY(!menu->isVisible());

        // A click on the item, and Enter on it, reach the command too.
        menu->popup(m_pFrame->mapToGlobal(QPoint(10, 40)));
        QTRY_VERIFY(menu->isVisible());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(print).center());
        QTRY_COMPARE(printDialogs.Handled(), 2);
        menu->popup(m_pFrame->mapToGlobal(QPoint(10, 40)));
        QTRY_VERIFY(menu->isVisible());
        menu->setActiveAction(print);
        QTest::keyClick(menu, Qt::Key_Return);
        QTRY_COMPARE(printDialogs.Handled(), 3);

        // W opens the sub-items instead.
        menu->popup(m_pFrame->mapToGlobal(QPoint(10, 40)));
        QTRY_VERIFY(menu->isVisible());
        QTest::keyClick(menu, Qt::Key_W);
        QTRY_VERIFY(print->menu()->isVisible());
        QStringList items;
        for (QAction* a : print->menu()->actions())
            if (!a->isSeparator())
                items << a->text();
        QCOMPARE(items,
                 QStringList({"快速打印(&Q)", "打印预览(&V)", "打印设置(&U)", "小票设置(&R)"}));
        print->menu()->close();
        menu->close();
        DeliverPostedEvents();
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(printDialogs.Handled(), 3); // W printed nothing
    }

    // The view's 编辑 popup copies and pastes in the focused grid, is not shown with nothing
    // to act on, and leaves right clicks on a dialog to the dialog.
    void editPopupActsOnTheFocusedGrid() {
        m_pDb->Exec(QStringLiteral("INSERT INTO customer (mc, linkman, phone, address, remark) "
                                   "VALUES ('五金城', '李经理', '111', '杭州', '')"));
        m_pFrame->OnCommand(ID_CUSTOMER_BUTTON);
        CWorkDialog* dialog = m_pFrame->DialogFor(ID_CUSTOMER_BUTTON);
        QVERIFY(dialog);
        auto* grid = dialog->findChild<CGridCtrl*>();
        QVERIFY(grid);
        QWidget* viewport = m_pFrame->View()->viewport();
        const QPoint bare(8, viewport->height() / 2); // the picture left of the dialog
        QVERIFY(!dialog->HostWindow()->geometry().contains(bare));

        // Runs a right click at the point and chooses the item with the given key (0: none).
        auto rightClick = [&](QWidget* on, QPoint at, char key, QStringList* enabled) {
            bool shown = false;
            QTimer::singleShot(0, [&] {
                auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                if (!popup)
                    return;
                shown = true;
                for (QAction* a : popup->actions())
                    if (a->isEnabled() && enabled)
                        *enabled << a->text().section(QLatin1Char('\t'), 0, 0);
                if (key)
                    QTest::keyClick(popup, key);
                else
                    popup->close();
            });
            // The right button as the window system gives it: press, release, context menu.
            QTest::mouseClick(on, Qt::RightButton, {}, at);
            QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at, on->mapToGlobal(at));
            QApplication::sendEvent(on, &menuEvent);
            QCoreApplication::processEvents();
            return shown;
        };

        ClickCell(grid, 1, 1);
        QVERIFY(grid->hasFocus());
        QApplication::clipboard()->clear();
        QStringList enabled;
        QVERIFY(rightClick(viewport, bare, 'C', &enabled));
        QCOMPARE(enabled, QStringList({"剪切(&T)", "复制(&C)"}));
        QVERIFY(QApplication::clipboard()->text().contains(QStringLiteral("五金城")));

        QApplication::clipboard()->setText(QStringLiteral("建材店"));
        QTRY_VERIFY(grid->hasFocus()); // back where it was once the popup has gone
        QVERIFY(rightClick(viewport, bare, 'P', nullptr));
        QCOMPARE(grid->GetCellText(1, 1), QStringLiteral("建材店"));

        // A right click on the dialog itself is the dialog's business: its own menu, not 编辑.
        QStringList dialogMenu;
        rightClick(grid->viewport(), grid->GetCellRect(1, 2).center(), 0, &dialogMenu);
        QVERIFY(!dialogMenu.contains(QStringLiteral("复制(&C)")));

        // Nothing focused that could cut, copy or paste: no popup.
        m_pFrame->Ribbon()->ButtonFor(ID_SALE_OUT_DLG)->setFocus();
        QVERIFY(!rightClick(viewport, bare, 0, nullptr));
    }

    // A button's icon is drawn at the size asked for and kept: the same pixmap the next time.
    void ribbonIconsAreDrawnOnceAndKept() {
        QToolButton* button = m_pFrame->Ribbon()->ButtonFor(ID_SALE_OUT_DLG);
        QVERIFY(button);
        const QPixmap first = button->icon().pixmap(QSize(32, 32));
        const QPixmap again = button->icon().pixmap(QSize(32, 32));
        QCOMPARE(first.size(), QSize(32, 32));
        QCOMPARE(again.cacheKey(), first.cacheKey());
        const QImage image = first.toImage();
        QCOMPARE(image.pixelColor(0, 0).alpha(), 0);    // outside the rounded square
        QCOMPARE(image.pixelColor(16, 4).alpha(), 255); // inside it
        const QPixmap small = button->icon().pixmap(QSize(16, 16));
        QCOMPARE(small.size(), QSize(16, 16));
        QVERIFY(small.cacheKey() != first.cacheKey());
    }

    // A tab's buttons are made when the tab is first opened; its key tip works before that.
    void tabsBuildTheirButtonsWhenOpened() {
        QApplication::setActiveWindow(m_pFrame);
        QVERIFY(QTest::qWaitForWindowActive(m_pFrame));
        QTest::keyClick(m_pFrame, Qt::Key_V, Qt::AltModifier); // 采购入库 on the second tab
        QTRY_VERIFY(m_pFrame->DialogFor(ID_ENTRY_DLG));
        QVERIFY(m_pFrame->DialogFor(ID_ENTRY_DLG)->HostWindow()->isVisible());

        auto* tabs = m_pFrame->Ribbon()->findChild<QTabBar*>();
        QVERIFY(tabs);
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center()); // 盘点统计
        QToolButton* button = nullptr;
        for (QToolButton* b : m_pFrame->Ribbon()->findChildren<QToolButton*>())
            if (b->text() == QStringLiteral("帐目统计"))
                button = b;
        QVERIFY(button);
        QTRY_VERIFY(button->isVisible());
        QVERIFY(button->geometry().width() >= 64);
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_VERIFY(m_pFrame->DialogFor(ID_ACCOUNT_DLG));
    }

    void statusBarShowsTheStartDate() {
        theApp.m_strStartDate = QStringLiteral("2026-12-06");
        delete m_pFrame;
        m_pFrame = new CMainFrame;
        QCOMPARE(m_pFrame->DatePane()->text(), QString("2026-12-06"));
        theApp.m_strStartDate.clear();
    }
};

QTEST_MAIN(TestMainFrame)
#include "tst_mainframe.moc"
