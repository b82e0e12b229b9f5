#include <QDate>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>
#include <QtTest>

#include <functional>
#include <memory>

#include "grid/CGridCtrl.h"
#include "parties/CCompanyinfoDlg.h"
#include "parties/CPartyDlg.h"
#include "parties/CStatementDlg.h"
#include "queries/CAccountDlg.h"
#include "queries/CDeletedDocsDlg.h"
#include "queries/CSettleDlg.h"
#include "shell/CHarborApp.h"
#include "shell/CHarborView.h"
#include "shell/CMainFrame.h"
#include "support/LayoutCheck.h"
#include "support/MessageScript.h"
#include "support/Screenshot.h"
#include "support/TestDatabase.h"
#include "ui/CWorkDialog.h"
#include "ui/CommandIds.h"
#include "ui/FlowLayout.h"
#include "ui/FontSetup.h"

namespace {

// The screens the windows must fit, and what a task bar leaves of them to the main window.
const QSize kSmallScreen(1024, 768);
const QSize kLargeScreen(1920, 1080);
constexpr int kTaskBar = 40;

const unsigned kLooks[] = {ID_VIEW_APPLOOK_OFF_2007_BLUE, ID_VIEW_APPLOOK_OFF_2007_BLACK,
                           ID_VIEW_APPLOOK_OFF_2007_SILVER, ID_VIEW_APPLOOK_OFF_2007_AQUA,
                           ID_VIEW_APPLOOK_WINDOWS_7};

struct WorkWindow {
    const char* name;
    int command;
};
const WorkWindow kWorkWindows[] = {
    {"出库查询", ID_SALEOUT_QUERY_DLG}, {"退货查询", ID_SALEIN_QUERY_DLG},
    {"入库查询", ID_ENTRY_QUERY_DLG},   {"帐目统计", ID_ACCOUNT_DLG},
    {"经营报表", ID_REPORT_DLG},        {"库存盘点", ID_INVENTORY_DLG},
    {"客户", ID_CUSTOMER_BUTTON},       {"供货商", ID_SUPPLIER_DLG},
    {"员工", ID_EMPLOYEE_BUTTON},       {"销售出库", ID_SALE_OUT_DLG},
    {"销售退货", ID_SALE_IN_DLG},       {"采购入库", ID_ENTRY_DLG},
    {"盘点", ID_STOCKTAKE_DLG}};

QString Today() {
    return QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
}

// A shop with long names where names are shown, and documents of today, so that the query
// windows open on filled lists.
void FillShop(TestDatabase& db) {
    db.Exec("INSERT INTO companyinfo (name, telephone, address) VALUES ('远航五交化商店', "
            "'0571-88886666', '浙江省杭州市西湖区文三路一百二十八号五金机电市场三楼')");
    db.Exec("INSERT INTO customer (mc, linkman, phone, address, remark, pinyin) VALUES "
            "('杭州市西湖区永兴五金机电有限公司', '张三', '13800000000', '文三路', '老客户', "
            "'HZSXHQYXWJJDYXGS')");
    db.Exec("INSERT INTO supplier (mc, linkman, phone, address, remark, pinyin) VALUES "
            "('宁波市北仑区恒达紧固件制造厂', '李四', '13900000000', '北仑', '', "
            "'NBSBLQHDJGJZZC')");
    db.Exec("INSERT INTO employee (name, employeeid) VALUES ('王五', '007')");
    db.Exec("INSERT INTO property (code, name, shortname, spec, price, total) VALUES "
            "('0101000001', '五金-螺丝-不锈钢内六角圆柱头螺丝M8x40', '内六角螺丝', '100个/盒', "
            "'12.50', '200')");
    for (const char* table : {"saleout", "salein"})
        db.Exec(QStringLiteral("INSERT INTO %1 (oddnum, customer, mydate, receivable, receipt, "
                               "freceivable, freceipt, state, employeename, mc, code, spec, "
                               "price, \"count\", discount, total, pcs, remarks) VALUES "
                               "('%2', '杭州市西湖区永兴五金机电有限公司', '%3 10:00:00', "
                               "'1234567.80', '1000000.00', 1234567.8, 1000000, '未结清', "
                               "'王五', '五金-螺丝-不锈钢内六角圆柱头螺丝M8x40', '0101000001', "
                               "'100个/盒', '12.50', '98765.424', '1.0', '1234567.80', '3', '')")
                    .arg(QLatin1String(table), Today() + QStringLiteral("001"),
                         QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))));
    db.Exec("INSERT INTO entry (oddnum, supplier, mydate, money, fmoney, state, mc, shortname, "
            "code, spec, price, \"count\", total) VALUES (?, '宁波市北仑区恒达紧固件制造厂', ?, "
            "'987654.32', 987654.32, '未付款', '五金-螺丝-不锈钢内六角圆柱头螺丝M8x40', "
            "'内六角螺丝', '0101000001', '100个/盒', '12.50', '79012', '987654.32')",
            {Today() + QStringLiteral("001"), QDate::currentDate().toString("yyyy/M/d")});
}

// The widgets that should take a larger screen's room: the lists, or 帐目统计's chart.
QList<QSize> Room(QWidget* window) {
    if (auto* account = qobject_cast<CAccountDlg*>(window))
        return {account->ChartArea().size()};
    QList<QSize> sizes;
    for (CGridCtrl* grid : window->findChildren<CGridCtrl*>()) {
        if (grid->isVisibleTo(window))
            sizes << grid->size();
    }
    return sizes;
}

// Every list is at least as large on the large screen and larger in one direction at least.
void CompareRoom(const QList<QSize>& small, const QList<QSize>& large) {
    QVERIFY(!small.isEmpty());
    QCOMPARE(large.size(), small.size());
    for (int i = 0; i < small.size(); ++i) {
        QVERIFY2(large[i].width() >= small[i].width() && large[i].height() >= small[i].height() &&
                     large[i] != small[i],
                 qPrintable(QStringLiteral("list %1: %2x%3 on the small screen, %4x%5 on the "
                                           "large one")
                                .arg(i)
                                .arg(small[i].width())
                                .arg(small[i].height())
                                .arg(large[i].width())
                                .arg(large[i].height())));
    }
}

void ExpectNothingClipped(QWidget* window, const QString& what) {
    Snapshot(window, what); // HARBOR_SHOT_DIR keeps the pictures
    const QStringList faults = ClippedWidgets(window);
    for (const QString& fault : faults)
        qWarning("%s: %s", qPrintable(what), qPrintable(fault));
    QVERIFY2(faults.isEmpty(),
             qPrintable(QStringLiteral("%1: %2 faults").arg(what).arg(faults.size())));
}

QString SizeName(const QSize& size) {
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

// The main window filling a screen in a look, with one window opened by its ribbon command.
struct OpenedWindow {
    CMainFrame frame;
    CWorkDialog* dialog = nullptr;

    OpenedWindow(unsigned look, const QSize& screen, int command) {
        theApp.m_pMainWnd = &frame;
        frame.OnApplicationLook(look);
        frame.resize(screen.width(), screen.height() - kTaskBar);
        frame.show();
        if (!QTest::qWaitForWindowExposed(&frame))
            qWarning("the main window was not shown");
        frame.OnCommand(command);
        dialog = frame.DialogFor(command);
        QCoreApplication::processEvents();
    }
    ~OpenedWindow() { theApp.m_pMainWnd = nullptr; }
};

// A dialog that opens over a window (its own size) and may be made as large as the screen.
using DialogMaker = std::function<QWidget*()>;

} // namespace

class TestWindowLayout : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void workWindowsFitEveryScreen_data();
    void workWindowsFitEveryScreen();
    void dialogsFitEveryScreen_data();
    void dialogsFitEveryScreen();
    void checkFindsCutAndOverlappingControls();
    void flowKeepsOrderAndWrapsWhatDoesNotFit();

  private:
    QTemporaryDir m_settings;
};

void TestWindowLayout::initTestCase() {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
    SetupFonts();
}

void TestWindowLayout::workWindowsFitEveryScreen_data() {
    QTest::addColumn<unsigned>("look");
    QTest::addColumn<int>("command");
    for (unsigned look : kLooks)
        for (const WorkWindow& window : kWorkWindows)
            QTest::addRow("%s %u", window.name, look) << look << window.command;
}

// Opened from the ribbon on a small and on a large screen, in each look, a window shows every
// control whole, none over another, and its lists (帐目统计 its chart) take the larger room.
void TestWindowLayout::workWindowsFitEveryScreen() {
    QFETCH(unsigned, look);
    QFETCH(int, command);
    TestDatabase db;
    FillShop(db);
    MessageScript messages;
    QList<QSize> room[2];
    const QSize screens[2] = {kSmallScreen, kLargeScreen};
    for (int i = 0; i < 2; ++i) {
        OpenedWindow opened(look, screens[i], command);
        CWorkDialog* dialog = opened.dialog;
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        const QRect area = opened.frame.View()->WorkAreaRect();
        QVERIFY2(area.contains(dialog->HostWindow()->geometry()),
                 qPrintable(dialog->windowTitle() + QStringLiteral(" leaves the work area")));
        ExpectNothingClipped(dialog, QStringLiteral("%1-%2-%3")
                                         .arg(dialog->windowTitle())
                                         .arg(look)
                                         .arg(SizeName(screens[i])));
        room[i] = Room(dialog);
    }
    CompareRoom(room[0], room[1]);
    QCOMPARE(messages.Texts(), QStringList());
}

void TestWindowLayout::dialogsFitEveryScreen_data() {
    QTest::addColumn<unsigned>("look");
    QTest::addColumn<QString>("name");
    for (unsigned look : kLooks)
        for (const char* name : {"结算", "公司信息", "对账单", "已删除单据", "选择客户"})
            QTest::addRow("%s %u", name, look) << look << QString::fromUtf8(name);
}

// The dialogs the windows open show every control whole at the size they open with and made
// as large as either screen; their lists take the room.
void TestWindowLayout::dialogsFitEveryScreen() {
    QFETCH(unsigned, look);
    QFETCH(QString, name);
    TestDatabase db;
    FillShop(db);
    MessageScript messages;
    const QMap<QString, DialogMaker> makers{
        {QStringLiteral("结算"),
         [] {
             return new CSettleDlg(Today() + "001", QStringLiteral("应收款"),
                                   QStringLiteral("1234567.80"), QStringLiteral("实收款"),
                                   QStringLiteral("1000000.00"), QStringLiteral("未结清"));
         }},
        {QStringLiteral("公司信息"), [] { return new CCompanyinfoDlg; }},
        {QStringLiteral("对账单"),
         [] {
             return new CStatementDlg(StatementParty::Customer,
                                      QStringLiteral("杭州市西湖区永兴五金机电有限公司"));
         }},
        {QStringLiteral("已删除单据"),
         [] { return new CDeletedDocsDlg(DocumentTable::SaleOut()); }},
        {QStringLiteral("选择客户"),
         [] {
             // As a document window opens it to pick a customer.
             auto* party = new CPartyDlg(CPartyDlg::Kind::Customer);
             party->OpenSelectMode();
             return party;
         }},
    };
    OpenedWindow opened(look, kSmallScreen, ID_SALEOUT_QUERY_DLG);
    std::unique_ptr<QWidget> dialog(makers.value(name)());
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    ExpectNothingClipped(dialog.get(), QStringLiteral("%1-%2-opened").arg(name).arg(look));
    QList<QSize> room[2];
    const QSize screens[2] = {kSmallScreen, kLargeScreen};
    for (int i = 0; i < 2; ++i) {
        dialog->resize(screens[i].width(), screens[i].height() - kTaskBar);
        QCoreApplication::processEvents();
        ExpectNothingClipped(
            dialog.get(), QStringLiteral("%1-%2-%3").arg(name).arg(look).arg(SizeName(screens[i])));
        room[i] = Room(dialog.get());
    }
    if (!room[0].isEmpty())
        CompareRoom(room[0], room[1]);
    QCOMPARE(messages.Texts(), QStringList());
}

// The check itself: a cut button, a control outside its parent and two controls over each
// other are each named; a laid-out window has nothing to say.
void TestWindowLayout::checkFindsCutAndOverlappingControls() {
    QWidget window;
    window.resize(300, 100);
    auto* cut = new QPushButton(QStringLiteral("打印预览并保存为文件"), &window);
    cut->setGeometry(10, 10, 30, 25);
    auto* outside = new QLabel(QStringLiteral("客户:"), &window);
    outside->setGeometry(280, 10, 60, 25);
    auto* under = new QLineEdit(&window);
    under->setGeometry(20, 20, 100, 25);
    auto* narrow = new QLineEdit(QStringLiteral("1234567890.00"), &window);
    narrow->setGeometry(150, 60, 40, 30);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QStringList faults = ClippedWidgets(&window);
    auto named = [&](const QString& part) {
        return std::any_of(faults.begin(), faults.end(),
                           [&](const QString& fault) { return fault.contains(part); });
    };
    QVERIFY2(named(QStringLiteral("\"打印预览并保存为文件\": 30x25 is smaller")),
             qPrintable(faults.join('\n')));
    QVERIFY(named(QStringLiteral("\"客户:\": (280,10 60x25) lies outside")));
    QVERIFY(named(QStringLiteral("overlaps QLineEdit")));
    QVERIFY(named(QStringLiteral("\"1234567890.00\": 40 wide, its text needs")));

    QWidget sound;
    auto* row = new QWidget(&sound);
    auto* layout = new QHBoxLayout(row);
    layout->addWidget(new QLabel(QStringLiteral("客户:")));
    layout->addWidget(new QLineEdit(QStringLiteral("1234567890.00")));
    layout->addWidget(new QPushButton(QStringLiteral("打印预览并保存为文件")));
    auto* outer = new QVBoxLayout(&sound);
    outer->addWidget(row);
    sound.show();
    QVERIFY(QTest::qWaitForWindowExposed(&sound));
    QCOMPARE(ClippedWidgets(&sound), QStringList());
    // A row given less than its layout needs is cut.
    delete outer;
    row->setGeometry(0, 0, 120, 20);
    QVERIFY(!ClippedWidgets(&sound).isEmpty());
}

// A header row: one line while the width allows, the items that pass the right edge on the
// next line in their order; smaller items centred on their line, hidden ones taking no room.
void TestWindowLayout::flowKeepsOrderAndWrapsWhatDoesNotFit() {
    const QList<QSize> sizes = {{50, 20}, {60, 30}, {0, 0}, {70, 20}};
    QCOMPARE(FlowPlaces(sizes, 200, 6, 4),
             QList<QRect>({{0, 5, 50, 20}, {56, 0, 60, 30}, {122, 0, 0, 0}, {122, 5, 70, 20}}));
    QCOMPARE(FlowPlaces(sizes, 150, 6, 4),
             QList<QRect>({{0, 5, 50, 20}, {56, 0, 60, 30}, {122, 0, 0, 0}, {0, 34, 70, 20}}));
    // Too narrow for any two: each alone, a wide one on its own line rather than lost.
    QCOMPARE(FlowPlaces({{50, 20}, {90, 20}}, 40, 6, 4),
             QList<QRect>({{0, 0, 50, 20}, {0, 24, 90, 20}}));

    // The layout asks for the height of its lines and gives its items their hints.
    QWidget window;
    auto* flow = new FlowLayout(&window);
    QList<QPushButton*> buttons;
    for (const char* text : {"打印设置", "打印预览", "打印"}) {
        buttons << new QPushButton(QString::fromUtf8(text));
        flow->addWidget(buttons.last());
    }
    const int one = flow->heightForWidth(flow->sizeHint().width());
    QVERIFY(flow->heightForWidth(flow->minimumSize().width()) > 2 * one);
    window.resize(flow->minimumSize().width(), flow->heightForWidth(flow->minimumSize().width()));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(buttons[0]->y() < buttons[1]->y() && buttons[1]->y() < buttons[2]->y());
    QCOMPARE(ClippedWidgets(&window), QStringList());
}

QTEST_MAIN(TestWindowLayout)
#include "tst_windowlayout.moc"
