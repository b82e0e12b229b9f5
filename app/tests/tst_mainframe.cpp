// The main window: ribbon commands open their dialogs over the work area, close box and
// Escape, the column placement of the party dialogs, styles, status bar.
#include <QtTest>

#include <QLabel>
#include <QMdiSubWindow>
#include <QSettings>
#include <QToolButton>

#include "MessageScript.h"
#include "TestDatabase.h"
#include "app/AppLook.h"
#include "app/CHarborApp.h"
#include "app/CHarborView.h"
#include "app/CMainFrame.h"
#include "app/CRibbonBar.h"
#include "app/CWorkDialog.h"
#include "app/CommandIds.h"

namespace {

struct Expected {
    int command;
    const char* title;
};

const Expected kWorkDialogs[] = {
    {ID_SALE_OUT_DLG, "销售出库"},     {ID_SALE_IN_DLG, "销售退货"},      {ID_SALEOUT_QUERY_DLG, "销售出库查询"},
    {ID_SALEIN_QUERY_DLG, "销售退货查询"}, {ID_ENTRY_DLG, "采购入库"},        {ID_ENTRY_QUERY_DLG, "入库单查询"},
    {ID_INVENTORY_DLG, "库存盘点"},    {ID_ACCOUNT_DLG, "帐目统计"},      {ID_CLASS_DLG, "商品编码"},
    {ID_PRINT_CODE_BUTTON, "条码打印"}, {ID_SUPPLIER_DLG, "供货商管理"}, {ID_CUSTOMER_BUTTON, "客户管理"},
    {ID_EMPLOYEE_BUTTON, "员工管理"},
};

}  // namespace

class TestMainFrame : public QObject {
    Q_OBJECT

    QTemporaryDir m_settings;
    CMainFrame* m_pFrame = nullptr;
    std::unique_ptr<TestDatabase> m_pDb;
    std::unique_ptr<MessageScript> m_pMessages;

    QRect HostGeometry(int command) const { return m_pFrame->DialogFor(command)->HostWindow()->geometry(); }

private slots:
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
        QCOMPARE(tabs, QStringList({"销售管理", "入库管理", "盘点统计", "用户管理", "基础资料", "退出程序"}));
        QCOMPARE(m_pFrame->windowTitle(), QString("远航 - 远航五交化销售管理系统"));
        QVERIFY(m_pFrame->Ribbon()->ButtonFor(ID_APP_EXIT));
        QVERIFY(m_pFrame->Ribbon()->ButtonFor(ID_LANSET_BUTTON));
        QVERIFY(m_pFrame->Ribbon()->ButtonFor(ID_COMPANYINFO_BUTTON));
    }

    void styleIsStoredAndRestored() {
        QCOMPARE(theApp.m_nAppLook, 215u);  // no stored value: blue
        m_pFrame->OnApplicationLook(ID_VIEW_APPLOOK_OFF_2007_BLACK);
        QCOMPARE(LoadApplicationLook(), 216u);
        delete m_pFrame;
        m_pFrame = new CMainFrame;
        QCOMPARE(theApp.m_nAppLook, 216u);
        QVERIFY(ColoursForLook(219).windows7);
        QVERIFY(!ColoursForLook(216).windows7);
        QCOMPARE(ColoursForLook(12345).face, ColoursForLook(215).face);  // anything else: Office 2007
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
