#include "documents/ReceiptReader.h"

#include "db/CRecordset.h"
#include "documents/CFormStore.h"

namespace {

void ReadShop(ReceiptDocument* receipt) {
    CRecordset rs;
    rs.Open(QStringLiteral("SELECT name, address, telephone FROM companyinfo"));
    if (rs.GetRecordCount() == 1) {
        receipt->shopName = rs.GetCollect(QStringLiteral("name"));
        receipt->address = rs.GetCollect(QStringLiteral("address"));
        receipt->phone = rs.GetCollect(QStringLiteral("telephone"));
    }
    rs.Close();
}

QString EmployeeText(const DocumentHeader& header) {
    if (header.employeeId.isEmpty())
        return header.employeeName;
    return header.employeeName.isEmpty()
               ? header.employeeId
               : QStringLiteral("%1(%2)").arg(header.employeeName, header.employeeId);
}

} // namespace

DocumentForm SaleFormOfTable(const QString& table) {
    return table == QLatin1String("salein") ? DocumentForm::SaleIn() : DocumentForm::SaleOut();
}

bool ReadReceipt(const DocumentForm& kind, const QString& oddnum, ReceiptDocument* receipt) {
    const CFormStore store(kind);
    const QVector<StoredRow> rows = store.Documents().ReadRows(oddnum);
    if (rows.isEmpty())
        return false;
    *receipt = ReceiptDocument();
    ReadShop(receipt);
    const DocumentHeader header = store.HeaderFromTexts(oddnum, rows.first().header);
    const bool sale = kind.table != QLatin1String("salein");
    receipt->title = sale ? QStringLiteral("销售小票") : QStringLiteral("退货小票");
    receipt->oddnum = oddnum;
    receipt->dateTime = header.mydate;
    receipt->employee = EmployeeText(header);
    receipt->customer = header.party;
    receipt->receivableLabel = kind.receivableLabel.chopped(1);
    receipt->receiptLabel = kind.receiptLabel.chopped(1);
    receipt->stateLabel = kind.stateLabel.chopped(1);
    receipt->receivable = header.due;
    receipt->receipt = header.receipt;
    receipt->state = header.state;
    receipt->givesChange = sale;
    for (const StoredRow& row : rows) {
        const DocumentLine line = store.LineFromTexts(row.line);
        receipt->lines.append(
            {line.name, line.count, line.price, line.amount, line.discount, line.remark});
    }
    return true;
}
