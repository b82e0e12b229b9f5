#include "documents/CFormStore.h"

#include "db/CRecordset.h"
#include "db/SqlText.h"
#include "documents/EntryLineMath.h"
#include "documents/LineChecks.h"
#include "documents/SaleLineMath.h"
#include "text/Cents.h"
#include "text/InputText.h"
#include "text/NumberLimits.h"

namespace {

QString LineField(int index, const char* field) {
    return QStringLiteral("第%1行的%2").arg(index + 1).arg(QString::fromUtf8(field));
}

QStringList LineAmounts(const QVector<DocumentLine>& lines) {
    QStringList amounts;
    for (const DocumentLine& line : lines)
        amounts.append(line.amount);
    return amounts;
}

} // namespace

CFormStore::CFormStore(const DocumentForm& form) : m_form(form), m_documents(form.Table()) {}

QString CFormStore::Refusal(const DocumentHeader& header,
                            const QVector<DocumentLine>& lines) const {
    if (m_form.counter)
        return SaleRefusal(header, lines);
    return EntryRefusal(header.party, header.state, lines);
}

QString CFormStore::SaleRefusal(const DocumentHeader& header,
                                const QVector<DocumentLine>& lines) const {
    if (header.party.isEmpty())
        return QStringLiteral("请先选择客户");
    // A typed name is stored on every row and found by the queries and statements.
    if (const QString problem = NameProblem(QStringLiteral("客户名称"), header.party);
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
    for (const DocumentLine& line : lines) {
        if (line.count.isEmpty())
            return QStringLiteral("请先填写数量");
    }
    for (const DocumentLine& line : lines) {
        if (line.price.isEmpty())
            return QStringLiteral("请先填写单价");
    }
    for (int i = 0; i < lines.size(); ++i) {
        QString problem = QuantityProblem(LineField(i, "数量"), lines[i].count, m_form.IsSaleOut());
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
    const QString total = SumAmounts(LineAmounts(lines));
    const QString due = m_form.receivableLabel.chopped(1);
    if (const QString problem = AmountProblem(due, total); !problem.isEmpty())
        return problem;
    const QString received = m_form.receiptLabel.chopped(1);
    if (header.state == QStringLiteral("欠款") && header.receipt.isEmpty())
        return QStringLiteral("请先填写%1金额").arg(received);
    return AmountProblem(received, header.receipt);
}

QStringList CFormStore::PartiesByInitials(const QString& partyTable, const QString& initials) {
    QStringList names;
    CRecordset rs;
    // Typed initials match only themselves: their own % and _ are no wildcards.
    rs.Open(QStringLiteral("SELECT mc FROM %1 WHERE pinyin LIKE ?").arg(partyTable),
            {LikeContains(initials)});
    for (; !rs.IsEOF(); rs.MoveNext())
        names.append(rs.GetCollect(QStringLiteral("mc")));
    rs.Close();
    return names;
}

QString CFormStore::EmployeeName(const QString& employeeId, bool* found) {
    CRecordset rs;
    rs.Open(QStringLiteral("SELECT * FROM employee WHERE employeeid=?"), {employeeId});
    *found = !rs.IsEOF();
    const QString name = *found ? rs.GetCollect(QStringLiteral("name")) : QString();
    rs.Close();
    return name;
}

QStringList CFormStore::LineTexts(const DocumentLine& line) const {
    QStringList texts = {line.name, line.shortName, line.code, line.spec, line.price, line.count};
    if (m_form.columns.discount >= 0)
        texts << line.discount;
    texts << line.amount;
    if (m_form.storesPcsRemarks)
        texts << line.pcs << line.remark;
    return texts;
}

DocumentLine CFormStore::LineFromTexts(const QStringList& texts) const {
    DocumentLine line{texts.value(0), texts.value(1), texts.value(2),
                      texts.value(3), texts.value(4), texts.value(5)};
    int next = 6;
    if (m_form.columns.discount >= 0)
        line.discount = texts.value(next++);
    line.amount = texts.value(next++);
    line.pcs = texts.value(next++);
    line.remark = texts.value(next);
    return line;
}

QStringList CFormStore::HeaderTexts(const DocumentHeader& header) const {
    if (!m_form.counter)
        return {header.party, header.mydate, header.due, header.state};
    return {header.party, header.mydate,       header.due,       header.receipt,
            header.state, header.employeeName, header.employeeId};
}

DocumentHeader CFormStore::HeaderFromTexts(const QString& oddnum, const QStringList& texts) const {
    if (!m_form.counter)
        return DocumentHeader{oddnum,         texts.value(0), texts.value(1),
                              texts.value(2), QString(),      texts.value(3)};
    return DocumentHeader{oddnum,         texts.value(0), texts.value(1), texts.value(2),
                          texts.value(3), texts.value(4), texts.value(5), texts.value(6)};
}
