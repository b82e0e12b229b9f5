#include "shell/CMainFrame.h"

#include <QActionGroup>
#include <QApplication>
#include <QDate>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QVBoxLayout>

#include "accounts/OperatorCommands.h"
#include "accounts/PermissionCheck.h"
#include "admin/BackupCommands.h"
#include "shell/AppLook.h"
#include "shell/CApplicationMenu.h"
#include "shell/CHarborApp.h"
#include "shell/CHarborView.h"
#include "shell/CLansetDlg.h"
#include "shell/CRibbonBar.h"
#include "ui/CWorkDialog.h"
#include "ui/CommandIds.h"
#include "shell/DialogFactory.h"
#include "text/HarborClock.h"
#include "shell/HomePicture.h"
#include "shell/ShopStatusPanes.h"
#include "receipt/CReceiptSetupDlg.h"

namespace {

struct RibbonButton {
    const char* tab;
    const char* text;
    int command;
    int image;
    const char* glyph;
    const char* keyTip;
};

const RibbonButton kButtons[] = {
    {"销售管理", "销售出库", ID_SALE_OUT_DLG, 13, "出", ""},
    {"销售管理", "销售退货", ID_SALE_IN_DLG, 5, "退", ""},
    {"销售管理", "出库查询", ID_SALEOUT_QUERY_DLG, 16, "查", ""},
    {"销售管理", "退货查询", ID_SALEIN_QUERY_DLG, 17, "查", ""},
    {"入库管理", "采购入库", ID_ENTRY_DLG, 7, "入", "V"},
    {"入库管理", "入库查询", ID_ENTRY_QUERY_DLG, 16, "查", ""},
    {"盘点统计", "库存盘点", ID_INVENTORY_DLG, 8, "盘", ""},
    {"盘点统计", "帐目统计", ID_ACCOUNT_DLG, 1, "帐", ""},
    {"盘点统计", "经营报表", ID_REPORT_DLG, 1, "报", ""},
    {"用户管理", "网络设置", ID_LANSET_BUTTON, 15, "网", ""},
    {"用户管理", "公司信息", ID_COMPANYINFO_BUTTON, 2, "司", ""},
    {"用户管理", "员工管理", ID_EMPLOYEE_BUTTON, 20, "员", ""},
    {"用户管理", "操作员管理", ID_OPERATOR_BUTTON, 20, "操", ""},
    {"用户管理", "操作日志", ID_AUDIT_LOG_BUTTON, 16, "志", ""},
    {"基础资料", "商品信息", ID_CLASS_DLG, 18, "商", ""},
    {"基础资料", "条码打印", ID_PRINT_CODE_BUTTON, 11, "码", ""},
    {"基础资料", "供货商管理", ID_SUPPLIER_DLG, 20, "供", ""},
    {"基础资料", "客户管理", ID_CUSTOMER_BUTTON, 22, "客", ""},
    {"退出程序", "退出程序", ID_APP_EXIT, 24, "退", ""},
};

struct LookItem {
    unsigned look;
    const char* text;
};

const LookItem kLooks[] = {
    {ID_VIEW_APPLOOK_OFF_2007_BLUE, "Office 2007 (蓝色样式)(&B)"},
    {ID_VIEW_APPLOOK_OFF_2007_BLACK, "Office 2007 (黑色样式)(&L)"},
    {ID_VIEW_APPLOOK_OFF_2007_SILVER, "Office 2007 (银色样式)(&S)"},
    {ID_VIEW_APPLOOK_OFF_2007_AQUA, "Office 2007 (水绿色样式)(&A)"},
    {ID_VIEW_APPLOOK_WINDOWS_7, "Windows 7(&D)"},
};

} // namespace

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent) {
    StartHomePicture(); // drawn beside the building of the window
    theApp.m_nAppLook = LoadApplicationLook();
    setWindowTitle(QStringLiteral("远航 - 远航五交化销售管理系统"));
    QApplication::setWindowIcon(RibbonIcon(0, QStringLiteral("远")));
    m_pView = new CHarborView(this);
    setCentralWidget(m_pView);
    m_pRibbon = new CRibbonBar(this);
    setMenuWidget(m_pRibbon);
    BuildRibbon();
    BuildStatusBar();
    ApplyLook(theApp.m_nAppLook);
    connect(m_pRibbon, &CRibbonBar::commandTriggered, this, &CMainFrame::OnCommand);
    resize(1280, 800);
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::BuildRibbon() {
    m_pRibbon->SetApplicationMenu(BuildApplicationMenu());
    m_pRibbon->SetStyleMenu(BuildStyleMenu());
    m_pRibbon->AddQuickAccess(QStringLiteral("新建"), ID_FILE_NEW, QStringLiteral("新"));
    m_pRibbon->AddQuickAccess(QStringLiteral("打开"), ID_FILE_OPEN, QStringLiteral("开"));
    m_pRibbon->AddQuickAccess(QStringLiteral("保存"), ID_FILE_SAVE, QStringLiteral("存"));
    m_pRibbon->AddQuickAccess(QStringLiteral("快速打印"), ID_FILE_PRINT_DIRECT,
                              QStringLiteral("印"));
    QString tab;
    for (const RibbonButton& b : kButtons) {
        if (tab != QString::fromUtf8(b.tab)) {
            tab = QString::fromUtf8(b.tab);
            m_pRibbon->AddTab(tab);
        }
        m_pRibbon->AddButton(QString::fromUtf8(b.text), b.command, b.image,
                             QString::fromUtf8(b.glyph), QString::fromUtf8(b.keyTip));
    }
    m_pRibbon->SetCurrentTab(0);
}

QMenu* CMainFrame::BuildApplicationMenu() {
    auto* menu = new CApplicationMenu(QStringLiteral("文件"), this);
    auto add = [this](QMenu* m, const QString& text, int command, const QKeySequence& keys = {}) {
        QAction* action = m->addAction(text);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, [this, command] { OnCommand(command); });
    };
    add(menu, QStringLiteral("新建(&N)"), ID_FILE_NEW);
    add(menu, QStringLiteral("打开(&O)..."), ID_FILE_OPEN);
    add(menu, QStringLiteral("保存(&S)"), ID_FILE_SAVE);
    add(menu, QStringLiteral("另存为(&A)..."), ID_FILE_SAVE_AS);
    // 打印 itself prints (key tip P); its sub-items open with the arrow or key tip W.
    QMenu* print = menu->AddSplitMenu(
        QStringLiteral("打印"), [this] { OnCommand(ID_FILE_PRINT); }, QLatin1Char('P'),
        QLatin1Char('W'));
    print->setToolTip(QStringLiteral("预览并打印文档"));
    print->addSection(QStringLiteral("预览并打印文档"));
    add(print, QStringLiteral("快速打印(&Q)"), ID_FILE_PRINT_DIRECT);
    add(print, QStringLiteral("打印预览(&V)"), ID_FILE_PRINT_PREVIEW);
    add(print, QStringLiteral("打印设置(&U)"), ID_FILE_PRINT_SETUP);
    add(print, QStringLiteral("小票设置(&R)"), ID_RECEIPT_SETUP);
    QMenu* recent = menu->addMenu(QStringLiteral("最近使用的文档"));
    recent->setMinimumWidth(300);
    recent->addAction(QStringLiteral("(无)"))->setEnabled(false);
    menu->addSeparator();
    add(menu, QStringLiteral("备份数据库(&B)..."), ID_DB_BACKUP);
    add(menu, QStringLiteral("恢复数据库(&R)..."), ID_DB_RESTORE);
    menu->addSeparator();
    add(menu, QStringLiteral("切换操作员(&U)..."), ID_SWITCH_OPERATOR);
    menu->addSeparator();
    add(menu, QStringLiteral("退出(&X)"), ID_APP_EXIT);
    return menu;
}

QMenu* CMainFrame::BuildStyleMenu() {
    auto* menu = new QMenu(QStringLiteral("样式"), this);
    m_pLookGroup = new QActionGroup(this);
    for (const LookItem& item : kLooks) {
        QAction* action = menu->addAction(QString::fromUtf8(item.text));
        action->setCheckable(true);
        action->setData(item.look);
        m_pLookGroup->addAction(action);
        const unsigned look = item.look;
        connect(action, &QAction::triggered, this, [this, look] { OnApplicationLook(look); });
    }
    return menu;
}

void CMainFrame::BuildStatusBar() {
    m_pDatePane = new QLabel(theApp.m_strStartDate.isEmpty()
                                 ? HarborToday().toString(QStringLiteral("yyyy-MM-dd"))
                                 : theApp.m_strStartDate,
                             this);
    statusBar()->addWidget(m_pDatePane);
    new ShopStatusPanes(statusBar());
}

void CMainFrame::ApplyLook(unsigned look) {
    const AppLookColours colours = ColoursForLook(look);
    m_pRibbon->SetColours(colours.face, colours.border, colours.text);
    QPalette status = QApplication::palette();
    status.setColor(QPalette::Window, colours.face);
    status.setColor(QPalette::WindowText, colours.text);
    statusBar()->setPalette(status);
    statusBar()->setAutoFillBackground(true);
    for (QAction* action : m_pLookGroup->actions())
        action->setChecked(action->data().toUInt() == look);
}

void CMainFrame::OnApplicationLook(unsigned look) {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    theApp.m_nAppLook = look;
    ApplyLook(look);
    update();
    m_pView->viewport()->update();
    SaveApplicationLook(look);
    QGuiApplication::restoreOverrideCursor();
}

void CMainFrame::RepaintNow() {
    m_pView->viewport()->repaint();
    m_pView->UpdateWorkArea();
}

CWorkDialog* CMainFrame::DialogFor(int command) const {
    return m_dialogs.value(command);
}

void CMainFrame::ShowWorkDialog(int command) {
    QPointer<CWorkDialog>& slot = m_dialogs[command];
    const bool created = slot.isNull();
    if (created) {
        slot = CreateWorkDialog(command);
        if (!slot)
            return;
    }
    m_pView->ShowDialog(slot, created);
}

void CMainFrame::ShowAbout() {
    QDialog about(this);
    about.setWindowTitle(QStringLiteral("关于 Harbor"));
    auto* icon = new QLabel(&about);
    icon->setPixmap(RibbonImage(0, QStringLiteral("远")));
    auto* text = new QLabel(QStringLiteral("Harbor，1.0 版"), &about);
    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addWidget(text, 1);
    auto* buttons = new QDialogButtonBox(&about);
    buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    connect(buttons, &QDialogButtonBox::accepted, &about, &QDialog::accept);
    auto* layout = new QVBoxLayout(&about);
    layout->addLayout(row);
    layout->addWidget(buttons);
    about.exec();
}

void CMainFrame::OnCommand(int command) {
    switch (command) {
    case ID_APP_EXIT:
        close();
        return;
    case ID_APP_ABOUT:
        ShowAbout();
        return;
    case ID_FILE_PRINT_SETUP:
        m_pView->OnFilePrintSetup();
        return;
    case ID_FILE_PRINT:
        m_pView->OnFilePrint();
        return;
    case ID_RECEIPT_SETUP: {
        CReceiptSetupDlg dialog(this);
        dialog.exec();
        return;
    }
    case ID_FILE_PRINT_DIRECT:
        m_pView->OnFilePrintDirect();
        return;
    case ID_FILE_PRINT_PREVIEW:
        m_pView->OnFilePrintPreview();
        return;
    case ID_FILE_NEW:
    case ID_FILE_OPEN:
    case ID_FILE_SAVE:
    case ID_FILE_SAVE_AS:
        return; // the document is always empty
    case ID_DB_BACKUP:
        if (RequirePermission(this, Permission::Backup))
            OnBackupDatabase(this);
        return;
    case ID_DB_RESTORE:
        if (RequirePermission(this, Permission::Backup))
            OnRestoreDatabase(this);
        return;
    case ID_SWITCH_OPERATOR:
        SwitchOperator(this);
        return;
    case ID_OPERATOR_BUTTON:
        ShowOperatorWindow(this);
        return;
    case ID_AUDIT_LOG_BUTTON:
        ShowAuditLogWindow(this);
        return;
    case ID_ACCOUNT_DLG:
        if (RequirePermission(this, Permission::Accounts))
            ShowWorkDialog(command);
        return;
    case ID_REPORT_DLG:      // profit and stock at cost
    case ID_ENTRY_QUERY_DLG: // what the shop paid its suppliers
        if (RequirePermission(this, Permission::PurchasePrices))
            ShowWorkDialog(command);
        return;
    case ID_LANSET_BUTTON:
        if (!RequirePermission(this, Permission::Network))
            return;
        if (!m_pLansetDlg) // made on first use, then kept with the frame
            m_pLansetDlg = new CLansetDlg(this);
        m_pLansetDlg->exec();
        return;
    default:
        if (!RunModalDialog(command, this))
            ShowWorkDialog(command);
        return;
    }
}
