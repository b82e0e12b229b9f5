#include "documents/CSaleOriginDlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "documents/LineChecks.h"
#include "text/Cents.h"
#include "ui/CDbAction.h"
#include "ui/HarborMessageBox.h"
#include "ui/KeyPress.h"

namespace {

enum Column {
    kName,
    kCode,
    kSpec,
    kPrice,
    kDiscount,
    kRemark,
    kSold,
    kReturned,
    kLeft,
    kQuantity,
    kColumns
};

const QString kCaption = QStringLiteral("按原单退货");

// "3.00" as "3", "1.50" as "1.5": quantities as the clerk types them.
QString QuantityText(qint64 cents) {
    QString text = CentsText(cents);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

QTableWidgetItem* Cell(const QString& text, bool editable = false) {
    auto* item = new QTableWidgetItem(text);
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (editable)
        flags |= Qt::ItemIsEditable;
    item->setFlags(flags);
    if (editable)
        item->setBackground(QColor(255, 255, 224));
    return item;
}

} // namespace

CSaleOriginDlg::CSaleOriginDlg(const QString& exceptReturn, const QHash<QString, qint64>& onScreen,
                               QWidget* parent)
    : QDialog(parent), m_strExceptReturn(exceptReturn), m_onScreen(onScreen) {
    setWindowTitle(kCaption);
    auto* numberLabel = new QLabel(QStringLiteral("销售单号:"), this);
    m_pNumber = new QLineEdit(this);
    m_pNumber->setPlaceholderText(QStringLiteral("输入或扫描销售出库单号,按Enter"));
    m_pSaleFacts = new QLabel(this);
    auto* top = new QHBoxLayout;
    top->addWidget(numberLabel);
    top->addWidget(m_pNumber, 1);
    top->addWidget(m_pSaleFacts, 2);

    m_pTable = new QTableWidget(0, kColumns, this);
    m_pTable->setHorizontalHeaderLabels(
        {"商品名称", "条码", "规格", "单价", "折扣", "备注", "售出", "已退", "可退", "本次退货"});
    m_pTable->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pTable->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                              QAbstractItemView::EditKeyPressed);
    m_pTable->verticalHeader()->setDefaultSectionSize(24);
    m_pTable->horizontalHeader()->setSectionResizeMode(kName, QHeaderView::Stretch);
    for (int column = kCode; column < kColumns; ++column)
        m_pTable->horizontalHeader()->setSectionResizeMode(column, QHeaderView::ResizeToContents);

    auto* hint =
        new QLabel(QStringLiteral("↑↓选择商品,输入本次退货数量,按Enter退入本单;Esc取消"), this);
    m_pTake = new QPushButton(QStringLiteral("退入本单"), this);
    m_pTake->setAutoDefault(false);
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setAutoDefault(false);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(hint, 1);
    bottom->addWidget(m_pTake);
    bottom->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_pTable, 1);
    layout->addLayout(bottom);
    connect(m_pTake, &QPushButton::clicked, this, &CSaleOriginDlg::TakeLines);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_pNumber->installEventFilter(this);
    m_pTable->installEventFilter(this);
    resize(900, 420);
}

qint64 CSaleOriginDlg::Left(const ReturnableLine& line) const {
    return line.sold - line.returned - m_onScreen.value(SaleLineKey(line.ref));
}

bool CSaleOriginDlg::ShowSale() {
    const QString number = m_pNumber->text().trimmed();
    if (number.isEmpty())
        return false;
    ReturnableSale sale;
    if (!RunDbRead(this, kCaption, [&] { sale = ReadReturnableSale(number, m_strExceptReturn); }))
        return false;
    if (sale.lines.isEmpty()) {
        HarborMessageBox(this, QStringLiteral("没有单号为%1的销售出库单").arg(number),
                         MsgIcon::Exclamation, MsgButtons::Ok, kCaption);
        m_pNumber->selectAll();
        return false;
    }
    m_sale = sale;
    m_pSaleFacts->setText(QStringLiteral("客户:%1").arg(sale.customer));
    m_pTable->setRowCount(0);
    const DocumentTable& table = DocumentTable::SaleOut();
    for (const ReturnableLine& line : std::as_const(m_sale.lines)) {
        const int row = m_pTable->rowCount();
        m_pTable->insertRow(row);
        const QStringList& texts = line.line;
        const QStringList shown = {texts.value(0),
                                   texts.value(table.codeIndex),
                                   texts.value(3),
                                   texts.value(4),
                                   texts.value(6),
                                   texts.value(9),
                                   QuantityText(line.sold),
                                   QuantityText(line.sold - Left(line)),
                                   QuantityText(qMax<qint64>(0, Left(line)))};
        for (int column = 0; column < shown.size(); ++column)
            m_pTable->setItem(row, column, Cell(shown[column]));
        m_pTable->setItem(row, kQuantity, Cell(QString(), Left(line) > 0));
        for (const int column :
             {int(kPrice), int(kSold), int(kReturned), int(kLeft), int(kQuantity)})
            m_pTable->item(row, column)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    m_pTable->setFocus();
    m_pTable->setCurrentCell(0, kQuantity);
    return true;
}

bool CSaleOriginDlg::TakeLines() {
    QVector<Taken> taken;
    for (int row = 0; row < m_pTable->rowCount() && row < m_sale.lines.size(); ++row) {
        const QString text = m_pTable->item(row, kQuantity)->text().trimmed();
        if (text.isEmpty())
            continue;
        const ReturnableLine& line = m_sale.lines[row];
        const QString name =
            QStringLiteral("第%1行的商品<%2>").arg(row + 1).arg(line.line.value(0));
        QString problem = QuantityProblem(name + QStringLiteral("的退货数量"), text);
        if (problem.isEmpty() && CentsOf(text) > Left(line))
            problem = name +
                      QStringLiteral("最多还可退%1").arg(QuantityText(qMax<qint64>(0, Left(line))));
        if (!problem.isEmpty()) {
            HarborMessageBox(this, problem, MsgIcon::Exclamation, MsgButtons::Ok, kCaption);
            m_pTable->setFocus();
            m_pTable->setCurrentCell(row, kQuantity);
            return false;
        }
        taken.append({line, text});
    }
    if (taken.isEmpty()) {
        HarborMessageBox(this, QStringLiteral("请先填写要退货的数量"), MsgIcon::Exclamation,
                         MsgButtons::Ok, kCaption);
        return false;
    }
    m_taken = taken;
    accept();
    return true;
}

bool CSaleOriginDlg::eventFilter(QObject* watched, QEvent* event) {
    if (IsEnterPress(event)) {
        if (watched == m_pNumber) {
            ShowSale();
            return true;
        }
        // The Enter that ends the typing in a cell comes up from its editor: it stays there.
        if (watched == m_pTable && m_pTable->hasFocus()) {
            TakeLines();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
