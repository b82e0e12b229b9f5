#include "queries/CDeletedDocsDlg.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "accounts/PermissionCheck.h"
#include "documents/CDocumentStore.h"
#include "export/GridExport.h"
#include "grid/CGridCtrl.h"
#include "ui/CDbAction.h"
#include "ui/HarborMessageBox.h"

namespace {

QStringList Headers(const DocumentTable& table) {
    return {QStringLiteral("单号"),
            table.kind == DocumentKind::Entry ? QStringLiteral("供货商") : QStringLiteral("客户"),
            QStringLiteral("金额"),
            QStringLiteral("删除时间"),
            QStringLiteral("删除人"),
            QStringLiteral("电脑"),
            QStringLiteral("库存"),
            QStringLiteral("恢复")};
}

const ExportKinds kKinds = {{QStringLiteral("金额"), ExportKind::Number, 2},
                            {QStringLiteral("删除时间"), ExportKind::Text, 0}};

QStringList RowTexts(const DeletedDocument& document) {
    return {document.oddnum,
            document.party,
            document.money,
            document.deletedAt,
            document.deletedBy,
            document.workstation,
            document.stockGivenBack ? QStringLiteral("已退回") : QStringLiteral("保持不变"),
            document.restoredAt.isEmpty()
                ? QString()
                : QStringLiteral("%1 %2").arg(document.restoredAt, document.restoredBy).trimmed()};
}

// The kept lines of a document, one per line: name, spec, price, quantity, amount.
QString LinesText(const KeptRows& kept) {
    QStringList lines;
    for (const QVariantList& row : kept.rows) {
        QStringList fields;
        for (const char* column : {"mc", "spec", "price", "count", "total"}) {
            const qsizetype index = kept.columns.indexOf(QLatin1String(column));
            fields.append(index < 0 ? QString() : row.value(index).toString());
        }
        lines.append(QStringLiteral("%1  %2  单价 %3  数量 %4  金额 %5")
                         .arg(fields[0], fields[1], fields[2], fields[3], fields[4]));
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

CDeletedDocsDlg::CDeletedDocsDlg(const DocumentTable& table, QWidget* parent)
    : QDialog(parent), m_table(table) {
    setWindowTitle(QStringLiteral("已删除单据"));
    const QStringList headers = Headers(table);
    m_pList = new CGridCtrl(this);
    m_pList->SetEditable(false);
    m_pList->SetListMode(true);
    m_pList->SetSingleRowSelection(true);
    m_pList->SetColumnCount(int(headers.size()));
    m_pList->SetRowCount(1);
    m_pList->SetFixedRowCount(1);
    for (int c = 0; c < headers.size(); ++c)
        m_pList->SetCellText(0, c, headers[c]);
    m_pLines = new QPlainTextEdit(this);
    m_pLines->setReadOnly(true);
    m_pRestore = new QPushButton(QStringLiteral("恢复(&R)"), this);
    m_pRestore->setEnabled(false);
    auto* exportButton = new QPushButton(QStringLiteral("导出..."), this);
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    for (QPushButton* button : {m_pRestore, exportButton, close})
        button->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_pRestore);
    buttons->addStretch(1);
    buttons->addWidget(exportButton);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pList, 3);
    layout->addWidget(m_pLines, 1);
    layout->addLayout(buttons);
    connect(m_pList, &CGridCtrl::click, this, [this](int row, int, CGridResult*) { Choose(row); });
    connect(m_pRestore, &QPushButton::clicked, this, [this] { Restore(); });
    connect(exportButton, &QPushButton::clicked, this,
            [this] { ExportGrid(this, m_pList, kKinds); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    AttachGridExport(m_pList, kKinds, windowTitle());
    resize(960, 560);
    Reload();
}

void CDeletedDocsDlg::Reload() {
    m_documents.clear();
    RunDbRead(this, QStringLiteral("读取已删除单据"),
              [&] { m_documents = ListDeletedDocuments(m_table); });
    m_pList->SetRowCount(int(m_documents.size()) + 1);
    for (int r = 0; r < m_documents.size(); ++r) {
        const QStringList texts = RowTexts(m_documents[r]);
        for (int c = 0; c < texts.size(); ++c)
            m_pList->SetCellText(r + 1, c, texts[c]);
    }
    m_pList->AutoSizeColumns();
    m_pList->update();
    Choose(m_documents.isEmpty() ? 0 : 1);
}

const DeletedDocument* CDeletedDocsDlg::Chosen() const {
    return m_nChosen >= 1 && m_nChosen <= m_documents.size() ? &m_documents[m_nChosen - 1]
                                                             : nullptr;
}

void CDeletedDocsDlg::Choose(int row) {
    m_nChosen = row;
    const DeletedDocument* document = Chosen();
    if (document)
        m_pList->SetSelectedRange(row, 0, row, m_pList->GetColumnCount() - 1);
    m_pLines->setPlainText(document ? LinesText(document->rows) : QString());
    m_pRestore->setEnabled(document && document->restoredAt.isEmpty());
}

bool CDeletedDocsDlg::Restore() {
    const DeletedDocument* chosen = Chosen();
    if (!chosen || !chosen->restoredAt.isEmpty())
        return false;
    const DeletedDocument document = *chosen;
    const QString question =
        document.stockGivenBack
            ? QStringLiteral("恢复单号%1?\n删除时库存已退回,恢复后库存按本单重新变动。")
            : QStringLiteral("恢复单号%1?\n删除时库存保持不变,恢复后库存也不变。");
    if (HarborMessageBox(this, question.arg(document.oddnum), MsgIcon::Question, MsgButtons::YesNo,
                         windowTitle()) != IDYES)
        return false;
    if (!RequirePermission(this, document.stockGivenBack ? Permission::DeleteWithStock
                                                         : Permission::DeleteDocument))
        return false;
    DocumentWrite write;
    if (!RunDbAction(this, QStringLiteral("恢复单据"),
                     [&] { write = CDocumentStore(m_table).RestoreDocument(document); }))
        return false;
    if (write.result != DocumentWrite::Result::Written) {
        HarborMessageBox(this, write.message, MsgIcon::Stop, MsgButtons::Ok, windowTitle());
        Reload();
        return false;
    }
    if (!write.notice.isEmpty())
        HarborMessageBox(this, write.notice, MsgIcon::Exclamation, MsgButtons::Ok, windowTitle());
    HarborMessageBox(this, QStringLiteral("已恢复单号%1。").arg(document.oddnum),
                     MsgIcon::Information, MsgButtons::Ok, windowTitle());
    Reload();
    emit restored(document.oddnum);
    return true;
}
