// The arithmetic under the documents, without a window or a database: hundredths, the checks
// of typed numbers, and the plans of saves, line deletes and document deletes against stored
// rows.
#include <QtTest>

#include "documents/DocumentPlan.h"
#include "documents/LineChecks.h"
#include "documents/SaleLineMath.h"
#include "text/Cents.h"
#include "text/DecimalValue.h"
#include "text/NumericText.h"

namespace {

// A sales-out line: name, short name, code, spec, price, quantity, discount, amount, pcs, remark.
QStringList SaleLine(const QString& code, const QString& quantity, const QString& amount) {
    return {"品名" + code, "简称", code, "10个/箱", "10.00", quantity, "1.0", amount, "", ""};
}

// A stored row that stands for the product under its own code.
StoredRow Stored(const QStringList& line, const QStringList& header) {
    return {line, header, line.value(2), QString()};
}

QStringList EntryHeader() {
    return {"厂", "", "5.00", "未付"};
}

const QStringList kHeader = {"张三", "2026-12-06 10:00:00", "30.00", "30.00", "结清", "王五", "7"};

QMap<QString, qint64> Moves(const QVector<StockMove>& moves) {
    QMap<QString, qint64> map;
    for (const StockMove& move : moves)
        map[move.code] += move.cents;
    return map;
}

} // namespace

class TestDocumentPlan : public QObject {
    Q_OBJECT

  private slots:
    void hundredths();
    void amountsSumToTheCent();
    void typedNumbersAreChecked();
    void firstSaveAddsEveryLine();
    void saveMovesOnlyTheDifference();
    void replacedProductMovesBetweenProducts();
    void linesFindTheirRowsWhereverTheyStand();
    void anotherWindowsChangeIsAConflict();
    void lineDeleteRecomputesFromTheStoredRows();
    void documentDeleteUndoesOnlyWhenAsked();
    void headerStatementCoversEveryRow();
};

void TestDocumentPlan::hundredths() {
    qint64 cents = 0;
    QVERIFY(TextToCents("98.50", &cents));
    QCOMPARE(cents, 9850);
    QVERIFY(TextToCents("", &cents));
    QCOMPARE(cents, 0);
    QVERIFY(TextToCents("-0.05", &cents));
    QCOMPARE(cents, -5);
    QVERIFY(TextToCents("2.345", &cents)); // half up on the digits as written
    QCOMPARE(cents, 235);
    QVERIFY(TextToCents("1.005", &cents));
    QCOMPARE(cents, 101);
    QVERIFY(TextToCents("-1.005", &cents));
    QCOMPARE(cents, -101);
    // Products rounded half up on their exact value, never on the binary double.
    QCOMPARE(RoundedProduct({"3", "16.055"}, 2), QString("48.17"));
    QCOMPARE(RoundedProduct({"0.95", "16.90"}, 4), QString("16.0550"));
    QCOMPARE(RoundedProduct({"1.5", "-0.01"}, 2), QString("-0.02"));
    QCOMPARE(RoundedProduct({"2", ""}, 2), QString("0.00"));
    QCOMPARE(RoundedProduct({"12kg", "1.10"}, 2), QString("13.20"));
    QCOMPARE(RoundedProduct({QString(40, u'1'), "2"}, 2),
             RoundText(2 * TextToFloat(QString(40, u'1')), 2));
    QVERIFY(!TextToCents("１００", &cents));
    QVERIFY(!TextToCents(" 12", &cents));
    QVERIFY(!TextToCents(QString(20, u'9'), &cents));
    QCOMPARE(CentsText(10150), QString("101.50"));
    QCOMPARE(CentsText(-5), QString("-0.05"));
    QCOMPARE(CentsText(0), QString("0.00"));
    QCOMPARE(CentsText(9999999999999), QString("99999999999.99"));
}

void TestDocumentPlan::amountsSumToTheCent() {
    QCOMPARE(SumAmounts({"404.10", "624.00", "256.00", "190.72"}), QString("1474.82"));
    QCOMPARE(SumAmounts({"13.93", "840.14"}), QString("854.07"));
    QCOMPARE(SumAmounts({"12.50", "", "x"}), QString("12.50"));
    QCOMPARE(ImportLineAmount("3", "99999.99"), QString("299999.97"));
    QCOMPARE(NumberColumnText("123.45"), QString("123.450000"));
    QCOMPARE(NumberColumnText("1474.82"), QString("1474.820000"));
    QCOMPARE(WithoutNegativeZero("-0"), QString("0"));
    QCOMPARE(WithoutNegativeZero("-0.00"), QString("0.00"));
    QCOMPARE(WithoutNegativeZero("-1"), QString("-1"));
    QCOMPARE(ReturnLineAmount("2", "10.00", "0.9", "含税(1.10)"), QString("19.80"));

    // Tax options work from the price before tax.
    SaleOutLine line{"10.00", "2", "1.0", "含税(1.10)", "", "10.00"};
    line = RecomputeSaleOutLine(10, "10.00", line);
    QCOMPARE(line.price, QString("11.0000"));
    line.remark = "含税(1.08)";
    line = RecomputeSaleOutLine(10, "10.00", line);
    QCOMPARE(line.price, QString("10.8000"));
    QCOMPARE(line.amount, QString("21.60"));
    line.remark.clear();
    line = RecomputeSaleOutLine(10, "10.00", line);
    QCOMPARE(line.price, QString("10.0000"));
    line.price = "8.5";
    line = RecomputeSaleOutLine(5, "10.00", line);
    QCOMPARE(line.discount, QString("0.85"));
    QCOMPARE(line.untaxedPrice, QString("8.5"));
}

void TestDocumentPlan::typedNumbersAreChecked() {
    QCOMPARE(QuantityProblem("数量", "2.5"), QString());
    QCOMPARE(QuantityProblem("数量", ""), QString());
    QCOMPARE(QuantityProblem("数量", "0"), QString("数量必须大于0,请改正"));
    QCOMPARE(QuantityProblem("数量", "-1", true), QString("数量必须大于0,退货请使用销售退货"));
    QCOMPARE(QuantityProblem("数量", "0.125"), QString("数量最多两位小数,请改正"));
    QCOMPARE(QuantityProblem("数量", "2.500"), QString());
    QCOMPARE(QuantityProblem("数量", "6901234567892"), QString("数量不能超过9999999.99,请改正"));
    QCOMPARE(PriceProblem("单价", "-3"), QString("单价不能是负数,请改正"));
    QCOMPARE(AmountProblem("金额", "99999999999.99"), QString());
    QCOMPARE(AmountProblem("金额", "100000000000.00"),
             QString("金额不能超过99999999999.99,请改正"));
    QCOMPARE(ProductProblem("螺丝", " 12", "", "", "", "100"),
             QString("商品<螺丝>的单价\" 12\"不是数字,请先在商品信息中改正"));
    QCOMPARE(ProductProblem("螺丝", "12", "0.9", "1.5", "", "100"),
             QString("商品<螺丝>的折扣2不能超过1.00,请先在商品信息中改正"));
    QCOMPARE(ProductProblem("螺丝", "12", "", "", "", "１００"),
             QString("商品<螺丝>的库存\"１００\"不是数字,请先在商品信息中改正"));
    QCOMPARE(ProductProblem("螺丝", "", "", "", "", ""), QString());
}

void TestDocumentPlan::firstSaveAddsEveryLine() {
    const QVector<ScreenLine> lines = {{SaleLine("A", "2", "20.00"), {}},
                                       {SaleLine("B", "1.5", "15.00"), {}}};
    const SavePlan plan = PlanSave(DocumentTable::SaleOut(), {}, kHeader, lines, {});
    QVERIFY(plan.conflicts.isEmpty());
    QCOMPARE(plan.storedRowOf, QVector<int>({-1, -1}));
    QCOMPARE(Moves(plan.moves), (QMap<QString, qint64>{{"A", -200}, {"B", -150}}));
    QCOMPARE(plan.amountCents, 3500);
    // One set of header figures: the amount due is the sum of the lines, whatever the window
    // showed, and the amount received follows the state.
    QCOMPARE(plan.header.mid(2, 3), QStringList({"35.00", "35.00", "结清"}));
    QStringList open = kHeader;
    open[2] = "";
    open[3] = "12";
    open[4] = "未结";
    QCOMPARE(PlanSave(DocumentTable::SaleOut(), {}, open, lines, {}).header.mid(2, 3),
             QStringList({"35.00", "0", "未结"}));
    open[4] = "欠款";
    QCOMPARE(PlanSave(DocumentTable::SaleOut(), {}, open, lines, {}).header.mid(2, 3),
             QStringList({"35.00", "12", "欠款"}));
    // A return and a stock-in raise the stock.
    const SavePlan in = PlanSave(DocumentTable::SaleIn(), {}, kHeader, lines, {});
    QCOMPARE(Moves(in.moves), (QMap<QString, qint64>{{"A", 200}, {"B", 150}}));
}

void TestDocumentPlan::saveMovesOnlyTheDifference() {
    const QStringList a = SaleLine("A", "2", "20.00");
    const QStringList b = SaleLine("B", "1", "10.00");
    const QVector<StoredRow> stored = {Stored(a, kHeader), Stored(b, kHeader)};
    // Unchanged: nothing moves.
    SavePlan plan = PlanSave(DocumentTable::SaleOut(), stored, kHeader, {{a, a}, {b, b}}, kHeader);
    QVERIFY(plan.conflicts.isEmpty());
    QVERIFY(plan.moves.isEmpty());
    QCOMPARE(plan.storedRowOf, QVector<int>({0, 1}));
    // 2 becomes 2.5: half a unit more leaves.
    plan = PlanSave(DocumentTable::SaleOut(), stored, kHeader,
                    {{SaleLine("A", "2.5", "25.00"), a}, {b, b}}, kHeader);
    QCOMPARE(Moves(plan.moves), (QMap<QString, qint64>{{"A", -50}}));
    QCOMPARE(plan.amountCents, 3500);
}

void TestDocumentPlan::replacedProductMovesBetweenProducts() {
    // A stored sales-out line of A replaced by C.
    const QStringList a = SaleLine("A", "5", "50.00");
    const SavePlan sale = PlanSave(DocumentTable::SaleOut(), {Stored(a, kHeader)}, kHeader,
                                   {{SaleLine("C", "4", "40.00"), a}}, kHeader);
    QVERIFY(sale.conflicts.isEmpty());
    QCOMPARE(Moves(sale.moves), (QMap<QString, qint64>{{"A", 500}, {"C", -400}}));
    // An entry line has seven texts: code at 2, quantity at 5.
    const QStringList stockIn = {"品名A", "简称", "A", "", "1", "5", "5.00"};
    const QStringList replaced = {"品名C", "简称", "C", "", "1", "4", "4.00"};
    const SavePlan entry =
        PlanSave(DocumentTable::Entry(), {Stored(stockIn, {"厂", "", "5.00", "未付"})},
                 EntryHeader(), {{replaced, stockIn}}, QStringList{"厂", "", "5.00", "未付"});
    QVERIFY(entry.conflicts.isEmpty());
    QCOMPARE(Moves(entry.moves), (QMap<QString, qint64>{{"A", -500}, {"C", 400}}));
}

// Lines know their rows by what the rows held: deleting a line above, or two rows of one
// product, never pairs a line with another line's row.
void TestDocumentPlan::linesFindTheirRowsWhereverTheyStand() {
    const QStringList a1 = SaleLine("A", "1", "10.00");
    const QStringList b = SaleLine("B", "2", "20.00");
    const QStringList a3 = SaleLine("A", "3", "30.00");
    const QVector<StoredRow> stored = {Stored(a1, kHeader), Stored(b, kHeader),
                                       Stored(a3, kHeader)};
    const SavePlan plan = PlanSave(DocumentTable::SaleOut(), stored, kHeader,
                                   {{a3, a3}, {SaleLine("B", "4", "40.00"), b}, {a1, a1}}, kHeader);
    QVERIFY(plan.conflicts.isEmpty());
    QCOMPARE(plan.storedRowOf, QVector<int>({2, 1, 0}));
    QCOMPARE(Moves(plan.moves), (QMap<QString, qint64>{{"B", -200}}));
}

void TestDocumentPlan::anotherWindowsChangeIsAConflict() {
    const QStringList a = SaleLine("A", "2", "20.00");
    const QStringList b = SaleLine("B", "1", "10.00");
    // Settled elsewhere: the stored header is not the one this window wrote.
    QStringList settled = kHeader;
    settled[4] = "未结";
    SavePlan plan =
        PlanSave(DocumentTable::SaleOut(), {Stored(a, settled)}, kHeader, {{a, a}}, kHeader);
    QCOMPARE(plan.conflicts.size(), 1);
    // The document was deleted elsewhere.
    plan = PlanSave(DocumentTable::SaleOut(), {}, kHeader, {{a, a}, {b, {}}}, kHeader);
    QCOMPARE(plan.conflicts.size(), 1);
    QVERIFY(plan.conflicts.first().startsWith("第1行"));
    // A row this window does not know stands under the number.
    plan = PlanSave(DocumentTable::SaleOut(), {Stored(a, kHeader), Stored(b, kHeader)}, kHeader,
                    {{a, a}}, kHeader);
    QCOMPARE(plan.conflicts.size(), 1);
    QVERIFY(plan.conflicts.first().contains("B"));
}

void TestDocumentPlan::lineDeleteRecomputesFromTheStoredRows() {
    const QStringList a = SaleLine("A", "2", "20.00");
    const QStringList b = SaleLine("B", "3", "7.50");
    const QStringList c = SaleLine("C", "1", "5.00");
    QStringList header = kHeader;
    header[2] = header[3] = "32.50";
    const QVector<StoredRow> stored = {Stored(a, header), Stored(b, header), Stored(c, header)};
    LineDeletePlan plan = PlanLineDelete(DocumentTable::SaleOut(), stored, a, header);
    QVERIFY(plan.conflicts.isEmpty());
    QCOMPARE(plan.storedRow, 0);
    QCOMPARE(Moves(plan.moves), (QMap<QString, qint64>{{"A", 200}}));
    QCOMPARE(plan.header.mid(2, 3), QStringList({"12.50", "12.50", "结清"}));
    header[4] = "未结";
    header[3] = "0";
    QVector<StoredRow> open = stored;
    for (StoredRow& row : open)
        row.header = header;
    plan = PlanLineDelete(DocumentTable::SaleOut(), open, a, header);
    QCOMPARE(plan.header.mid(2, 3), QStringList({"12.50", "0", "未结"}));
    header[4] = "欠款";
    header[3] = "8.00";
    plan =
        PlanLineDelete(DocumentTable::SaleIn(), {Stored(a.mid(0, 8), header)}, a.mid(0, 8), header);
    QCOMPARE(plan.header.mid(2, 3), QStringList({"0.00", "8.00", "欠款"}));
    QCOMPARE(Moves(plan.moves), (QMap<QString, qint64>{{"A", -200}}));
    // A row that is no longer there is a conflict, not a guess.
    plan = PlanLineDelete(DocumentTable::SaleOut(), open, SaleLine("A", "9", "90.00"), header);
    QCOMPARE(plan.storedRow, -1);
    QVERIFY(!plan.conflicts.isEmpty());
}

void TestDocumentPlan::documentDeleteUndoesOnlyWhenAsked() {
    const QVector<StoredRow> stored = {Stored(SaleLine("A", "2", "20.00"), kHeader),
                                       Stored(SaleLine("A", "0.5", "5.00"), kHeader),
                                       Stored(SaleLine("B", "1", "10.00"), kHeader)};
    QCOMPARE(Moves(PlanDocumentDelete(DocumentTable::SaleOut(), stored, true)),
             (QMap<QString, qint64>{{"A", 250}, {"B", 100}}));
    QCOMPARE(Moves(PlanDocumentDelete(DocumentTable::SaleIn(), stored, true)),
             (QMap<QString, qint64>{{"A", -250}, {"B", -100}}));
    QVERIFY(PlanDocumentDelete(DocumentTable::SaleOut(), stored, false).isEmpty());
    QCOMPARE(MergeStockMoves({{"A", 100}, {"B", 5}, {"A", -100}}).size(), 1);
}

void TestDocumentPlan::headerStatementCoversEveryRow() {
    QCOMPARE(DocumentTable::SaleOut().HeaderUpdateSql(),
             QString("UPDATE saleout SET customer=?,mydate=?,receivable=?,receipt=?,state=?,"
                     "employeename=?,employeeid=?,freceivable=?,freceipt=?,invoicedate=? WHERE "
                     "oddnum=?"));
    QCOMPARE(DocumentTable::Entry().HeaderUpdateSql(),
             QString("UPDATE entry SET supplier=?,mydate=?,money=?,state=?,fmoney=? WHERE "
                     "oddnum=?"));
    const QVariantList values = DocumentTable::SaleOut().HeaderValues(kHeader, "2026-12-07");
    QCOMPARE(values.size(), 10);
    QCOMPARE(values[7].toString(), QString("30.000000"));
    QCOMPARE(values[9].toString(), QString("2026-12-07"));
}

QTEST_APPLESS_MAIN(TestDocumentPlan)
#include "tst_documentplan.moc"
