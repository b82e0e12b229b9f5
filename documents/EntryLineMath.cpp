#include "documents/EntryLineMath.h"

#include "text/InputText.h"

#include "documents/LineChecks.h"
#include "documents/SaleLineMath.h"

QString EntryRefusal(const QString& supplier, const QString& state,
                     const QVector<DocumentLine>& lines) {
    if (supplier.isEmpty())
        return QStringLiteral("请先选择供货商");
    if (const QString problem = NameProblem(QStringLiteral("供货商名称"), supplier);
        !problem.isEmpty())
        return problem;
    if (state.isEmpty())
        return QStringLiteral("请先选择付款状态");
    if (lines.isEmpty())
        return QStringLiteral("请先完整填写表格");
    for (const DocumentLine& line : lines) {
        if (line.price.isEmpty())
            return QStringLiteral("请先填写单价");
        if (line.count.isEmpty())
            return QStringLiteral("请先填写数量");
    }
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = QStringLiteral("第%1行的").arg(i + 1);
        QString problem = PriceProblem(line + QStringLiteral("单价"), lines[i].price);
        if (problem.isEmpty())
            problem = QuantityProblem(line + QStringLiteral("数量"), lines[i].count);
        if (problem.isEmpty())
            problem = AmountProblem(line + QStringLiteral("金额"), lines[i].amount);
        if (!problem.isEmpty())
            return problem;
    }
    QStringList amounts;
    for (const DocumentLine& line : lines)
        amounts.append(line.amount);
    return AmountProblem(QStringLiteral("本单金额"), SumAmounts(amounts));
}
