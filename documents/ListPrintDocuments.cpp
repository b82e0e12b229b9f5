#include "documents/ListPrintDocuments.h"

#include "db/CRecordset.h"
#include "db/SqlText.h"
#include "text/GbkText.h"
#include "text/HarborClock.h"
#include "text/Cents.h"
#include "text/NumericText.h"
#include "parties/PartyStatement.h"

namespace {

constexpr int kSaleColumns = 10;
constexpr int kSaleUnitColumn = 4;
constexpr int kSalePcsColumn = 9;
constexpr int kSaleRemarkColumn = 10;
constexpr int kEntryColumns = 7;

} // namespace

QString PrintUnitText(const QString& spec) {
    QString unit = spec.mid(spec.indexOf(QLatin1Char('/')) + 1);
    return unit.mid(unit.indexOf(QLatin1Char('1')) + 1);
}

QString PrintRemarkText(const QString& remark) {
    QString head;
    int bytes = 0;
    for (const GbkChar& ch : SplitGbk(remark)) {
        const int size = ch.gbk.isEmpty() ? 1 : int(ch.gbk.size());
        if (bytes + size > 4)
            break;
        bytes += size;
        head += ch.text;
    }
    return head;
}

int LeadingNumber(const QString& text) {
    qint64 value = 0;
    for (const QChar ch : text) {
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
            break;
        value = qMin<qint64>(value * 10 + (ch.unicode() - '0'), INT_MAX);
    }
    return int(value);
}

int FillSaleList(ListPrintData& list, const SaleListHeader& header,
                 const QVector<QStringList>& lines) {
    static const char* const headers[kSaleColumns] = {
        "商品名称", "商品简称", "条形码", "单位", "单价", "数量", "折扣", "金额", "件数", "备注"};
    list.SetRowCount(int(lines.size()) + 1);
    list.m_strListTitle = header.saleOut ? QStringLiteral("销售清单") : QStringLiteral("退货清单");
    list.SetHead(0, QStringLiteral("单号:") + header.oddnum);
    list.SetHead(1, QStringLiteral("客户名称:") + header.customer);
    list.SetHead(2, (header.saleOut ? QStringLiteral("销售时间:") : QStringLiteral("退货时间:")) +
                        header.time);
    const QString unit = QStringLiteral("元");
    list.SetSum(0, (header.saleOut ? QStringLiteral("应收金额:") : QStringLiteral("应退金额:")) +
                       header.receivable + unit);
    list.SetSum(1, (header.saleOut ? QStringLiteral("实收金额:") : QStringLiteral("实退金额:")) +
                       header.receipt + unit);
    list.SetSum(2, (header.saleOut ? QStringLiteral("收款状态:") : QStringLiteral("退款状态:")) +
                       header.state);
    for (int column = 1; column <= kSaleColumns; ++column)
        list.SetCell(column, 0, QString::fromUtf8(headers[column - 1]));
    int packages = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList& line = lines[i];
        for (int column = 1; column <= kSaleColumns; ++column)
            list.SetCell(column, i + 1, line.value(column - 1));
        list.SetCell(kSaleUnitColumn, i + 1, PrintUnitText(line.value(kSaleUnitColumn - 1)));
        list.SetCell(kSaleRemarkColumn, i + 1, PrintRemarkText(line.value(kSaleRemarkColumn - 1)));
        packages += LeadingNumber(line.value(kSalePcsColumn - 1));
    }
    // Returns keep no package counts.
    list.SetSum(3, header.saleOut
                       ? QStringLiteral("合计:") + RoundText(packages, 0) + QStringLiteral("件")
                       : QString());
    return packages;
}

QString CustomerBalanceText(const QString& customer) {
    const QDate today = HarborToday();
    const PartyStatement statement = ComputeStatement(
        ReadStatementDocuments(StatementParty::Customer, customer, today), QDate(), today);
    return QStringLiteral("累计欠款:") + CentsText(statement.closing) + QStringLiteral("元");
}

void FillEntryList(ListPrintData& list, const EntryListHeader& header,
                   const QVector<QStringList>& lines) {
    static const char* const headers[kEntryColumns] = {"商品名称", "商品简称", "条形码", "包装规格",
                                                       "单价",     "数量",     "金额"};
    list.SetRowCount(int(lines.size()) + 1);
    list.m_strListTitle = QStringLiteral("入库清单");
    list.SetHead(0, QStringLiteral("单号:") + header.oddnum);
    list.SetHead(1, QStringLiteral("供货商名称:") + header.supplier);
    list.SetHead(2, QStringLiteral("入库时间:") + header.date);
    list.SetSum(0, QStringLiteral("应付金额:") + header.money + QStringLiteral("元"));
    list.SetSum(1, QStringLiteral("付款状态:") + header.state);
    for (int column = 1; column <= kEntryColumns; ++column)
        list.SetCell(column, 0, QString::fromUtf8(headers[column - 1]));
    for (int i = 0; i < lines.size(); ++i)
        for (int column = 1; column <= kEntryColumns; ++column)
            list.SetCell(column, i + 1, lines[i].value(column - 1));
}
