#include "documents/CSaleDocStore.h"

#include "db/CRecordset.h"
#include "db/SqlText.h"
#include "documents/LineChecks.h"
#include "documents/SaleLineMath.h"
#include "text/Cents.h"
#include "text/InputText.h"
#include "text/NumberLimits.h"

namespace {

const DocumentTable& TableOf(const SaleDocKind& kind) {
    return kind.table == QLatin1String("salein") ? DocumentTable::SaleIn()
                                                 : DocumentTable::SaleOut();
}

QString LineField(int index, const char* field) {
    return QStringLiteral("第%1行的%2").arg(index + 1).arg(QString::fromUtf8(field));
}

} // namespace

CSaleDocStore::CSaleDocStore(const SaleDocKind& kind) : m_kind(kind), m_documents(TableOf(kind)) {}

QString CSaleDocStore::Refusal(const SaleDocHeader& header, const QVector<SaleDocLine>& lines,
                               const SaleDocKind& kind) {
    if (header.customer.isEmpty())
        return QStringLiteral("请先选择客户");
    // A typed name is stored on every row and found by the queries and statements.
    if (const QString problem = NameProblem(QStringLiteral("客户名称"), header.customer);
        !problem.isEmpty())
        return problem;
    // The employee's number may stay empty; what is typed is stored on every row as a code.
    if (const QString problem = OptionalNameProblem(QStringLiteral("工号"), header.employeeId);
        !problem.isEmpty())
        return problem;
    if (const QString problem = OptionalNameProblem(QStringLiteral("员工"), header.employeeName);
        !problem.isEmpty())
        return problem;
    if (header.state.isEmpty())
        return QStringLiteral("请先选择收款状态");
    if (lines.isEmpty())
        return QStringLiteral("请先完整填写表格");
    for (const SaleDocLine& line : lines) {
        if (line.count.isEmpty())
            return QStringLiteral("请先填写数量");
    }
    for (const SaleDocLine& line : lines) {
        if (line.price.isEmpty())
            return QStringLiteral("请先填写单价");
    }
    const bool saleOut = kind.table == QLatin1String("saleout");
    for (int i = 0; i < lines.size(); ++i) {
        QString problem = QuantityProblem(LineField(i, "数量"), lines[i].count, saleOut);
        if (problem.isEmpty())
            problem = PriceProblem(LineField(i, "单价"), lines[i].price);
        if (problem.isEmpty())
            problem = AmountProblem(LineField(i, "金额"), lines[i].amount);
        if (problem.isEmpty())
            problem = TextProblem(LineField(i, "件数"), lines[i].pcs);
        if (problem.isEmpty())
            problem = TextProblem(LineField(i, "备注"), lines[i].remark);
        if (!problem.isEmpty())
            return problem;
    }
    QStringList amounts;
    for (const SaleDocLine& line : lines)
        amounts.append(line.amount);
    const QString total = SumAmounts(amounts);
    const QString due = kind.receivableLabel.chopped(1);
    if (const QString problem = AmountProblem(due, total); !problem.isEmpty())
        return problem;
    const QString received = kind.receiptLabel.chopped(1);
    if (header.state == QStringLiteral("欠款") && header.receipt.isEmpty())
        return QStringLiteral("请先填写%1金额").arg(received);
    return AmountProblem(received, header.receipt);
}

QStringList CSaleDocStore::CustomersByInitials(const QString& initials) {
    QStringList names;
    CRecordset rs;
    // Typed initials match only themselves: their own % and _ are no wildcards.
    rs.Open(QStringLiteral("SELECT mc FROM customer WHERE pinyin LIKE ?"),
            {LikeContains(initials)});
    for (; !rs.IsEOF(); rs.MoveNext())
        names.append(rs.GetCollect(QStringLiteral("mc")));
    rs.Close();
    return names;
}

QString CSaleDocStore::EmployeeName(const QString& employeeId, bool* found) {
    CRecordset rs;
    rs.Open(QStringLiteral("SELECT * FROM employee WHERE employeeid=?"), {employeeId});
    *found = !rs.IsEOF();
    const QString name = *found ? rs.GetCollect(QStringLiteral("name")) : QString();
    rs.Close();
    return name;
}

QStringList CSaleDocStore::LineTexts(const SaleDocLine& line) const {
    QStringList texts = {line.name,  line.shortName, line.code,     line.spec,
                         line.price, line.count,     line.discount, line.amount};
    if (m_kind.storesPcsRemarks)
        texts << line.pcs << line.remark;
    return texts;
}

SaleDocLine CSaleDocStore::LineFromTexts(const QStringList& texts) const {
    return SaleDocLine{texts.value(0), texts.value(1), texts.value(2), texts.value(3),
                       texts.value(4), texts.value(5), texts.value(6), texts.value(7),
                       texts.value(8), texts.value(9)};
}

QStringList CSaleDocStore::HeaderTexts(const SaleDocHeader& header) const {
    return {header.customer, header.mydate,       header.receivable, header.receipt,
            header.state,    header.employeeName, header.employeeId};
}

SaleDocHeader CSaleDocStore::HeaderFromTexts(const QString& oddnum,
                                             const QStringList& texts) const {
    return SaleDocHeader{oddnum,         texts.value(0), texts.value(1), texts.value(2),
                         texts.value(3), texts.value(4), texts.value(5), texts.value(6)};
}
