#include "documents/EntryLineMath.h"

#include <cstdlib>

#include "documents/NumericText.h"

QStringList EntryAmounts(const QVector<EntryLine>& lines) {
    QStringList amounts;
    for (const EntryLine& line : lines)
        amounts.append(line.amount);
    return amounts;
}

int WholeCount(const QString& text) {
    return std::atoi(text.toUtf8().constData());
}

QString EntryStockAfter(const QString& total, int delta) {
    return QString::asprintf("%d", WholeCount(total) + delta);
}

QVector<EntryStockMove> EntryStockMoves(const QVector<EntryLine>& stored,
                                        const QVector<EntryLine>& lines) {
    QVector<EntryStockMove> moves;
    auto move = [&moves](const QString& code, int delta) {
        if (delta != 0)
            moves.append({code, delta});
    };
    for (int i = 0; i < lines.size(); ++i) {
        const EntryLine& line = lines[i];
        if (i >= stored.size()) {
            move(line.code, WholeCount(line.count));
        } else if (stored[i].code == line.code) {
            if (stored[i].count != line.count)
                move(line.code, WholeCount(line.count) - WholeCount(stored[i].count));
        } else {
            move(stored[i].code, -WholeCount(stored[i].count));
            move(line.code, WholeCount(line.count));
        }
    }
    return moves;
}

QString EntryRefusal(const QString& supplier, const QString& state,
                     const QVector<EntryLine>& lines) {
    if (supplier.isEmpty())
        return QStringLiteral("请先选择供货商");
    if (state.isEmpty())
        return QStringLiteral("请先选择付款状态");
    if (lines.isEmpty())
        return QStringLiteral("请先完整填写表格");
    for (const EntryLine& line : lines) {
        if (line.price.isEmpty())
            return QStringLiteral("请先填写单价");
        if (line.count.isEmpty())
            return QStringLiteral("请先填写数量");
    }
    for (int i = 0; i < lines.size(); ++i) {
        const struct {
            const QString& text;
            const char* name;
        } values[] = {{lines[i].price, "单价"}, {lines[i].count, "数量"}};
        for (const auto& value : values) {
            if (!IsPlainDecimal(value.text))
                return QStringLiteral("第%1行的%2\"%3\"不是数字,请改正")
                    .arg(i + 1)
                    .arg(QString::fromUtf8(value.name), value.text);
        }
    }
    return QString();
}
