#include "parties/CPartyDlg.h"

#include <QEventLoop>
#include <QScreen>

#include "export/GridExport.h"
#include "grid/CGridCtrl.h"
#include "parties/CStatementDlg.h"
#include "ui/CPickReceiver.h"
#include "ui/PickArea.h"
#include "ui/ShellLink.h"

namespace {

constexpr int kSelectModeHeight = 400;

TableGridSetup PartySetup(CPartyDlg::Kind kind) {
    const bool customer = kind == CPartyDlg::Kind::Customer;
    TableGridSetup setup;
    setup.noun = customer ? QStringLiteral("客户") : QStringLiteral("供货商");
    setup.selectSql = customer ? QStringLiteral("SELECT * FROM customer")
                               : QStringLiteral("SELECT * FROM supplier");
    setup.deleteFormat =
        customer ? "select * from customer where mc=?" : "select * from supplier where mc=?";
    setup.fields = {QStringLiteral("mc"), QStringLiteral("linkman"), QStringLiteral("phone"),
                    QStringLiteral("address"), QStringLiteral("remark")};
    setup.headers = {QStringLiteral("序号"), QStringLiteral("名称"), QStringLiteral("联系人"),
                     QStringLiteral("电话"), QStringLiteral("地址"), QStringLiteral("备注")};
    setup.widths = {60, 200, 100, 100, 200, 130};
    setup.centredLoadedColumns = 4;
    setup.pinyinField = QStringLiteral("pinyin");
    setup.namelessMessage = QStringLiteral("供货商名称不能为空,请填写");
    setup.names = {{0, customer ? QStringLiteral("客户名称") : QStringLiteral("供货商名称"), true}};
    setup.noteBelowButtons = false;
    setup.width = 830;
    return setup;
}

QString PartyTitle(CPartyDlg::Kind kind) {
    return kind == CPartyDlg::Kind::Customer ? QStringLiteral("客户管理")
                                             : QStringLiteral("供货商管理");
}

} // namespace

CPartyDlg::CPartyDlg(Kind kind, QWidget* parent)
    : CTableGridDlg(PartyTitle(kind), PartySetup(kind), parent), m_kind(kind) {
    connect(Grid(), &CGridCtrl::doubleClick, this, &CPartyDlg::OnGridDoubleClick);
    // A right-click on a party's row offers its statement above the export items.
    AddGridMenuItems(Grid(), [this](int row) {
        const QString name = row >= 1 ? Grid()->GetCellText(row, 1) : QString();
        if (name.isEmpty())
            return QList<GridMenuItem>();
        const StatementParty party =
            m_kind == Kind::Customer ? StatementParty::Customer : StatementParty::Supplier;
        return QList<GridMenuItem>{{QStringLiteral("对账单..."), [this, party, name] {
                                        CStatementDlg::Open(party, name, window());
                                    }}};
    });
}

CPartyDlg::~CPartyDlg() = default;

int CPartyDlg::PickReceiverTarget() const {
    if (m_kind == Kind::Supplier)
        return 1;
    const int target = PickArea().m_nPickTarget;
    return target == 2 || target == 3 ? target : 0;
}

void CPartyDlg::OpenSelectMode(QWidget* owner) {
    m_bSelectMode = true;
    setParent(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowModality(Qt::ApplicationModal);
    resize(sizeHint().width(), kSelectModeHeight);
    QRect area = owner         ? owner->window()->geometry()
                 : ShellLink() ? ShellLink()->WorkArea()
                               : QRect();
    if (!area.isValid() && screen())
        area = screen()->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
    show();
    raise();
    activateWindow();
}

void CPartyDlg::RunSelectMode(QWidget* owner) {
    OpenSelectMode(owner);
    QEventLoop loop;
    m_pModalLoop = &loop;
    loop.exec(QEventLoop::DialogExec);
    m_pModalLoop = nullptr;
}

void CPartyDlg::hideEvent(QHideEvent* event) {
    CTableGridDlg::hideEvent(event);
    if (m_pModalLoop)
        m_pModalLoop->quit();
}

void CPartyDlg::OnGridDoubleClick(int row, int col) {
    Q_UNUSED(col);
    if (!m_bSelectMode)
        return;
    if (row <= 0 || row >= Grid()->GetRowCount())
        return;
    // The dialog closes at once: no cell editor stays open from this double-click.
    Grid()->SetEditable(false);
    Grid()->EndEditing();
    const QString name = Grid()->GetCellText(row, 1);
    if (CPickReceiver* receiver = FindPickReceiver(PickReceiverTarget()))
        receiver->PutPickedParty(name);
    close();
}
