// Statements (对账单): the computation with exact figures (opening balance, running balance,
// totals, returns and payments), the documents read from the tables, supplier statements over
// stock-in, and the window opened from the party grid's right-click menu, printed to PDF and
// exported as shown. Documents deleted through the queries: tst_querystatement.
#include <QtTest>

#include <QDateEdit>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QPushButton>

#include "GridInput.h"
#include "PdfFacts.h"
#include "Screenshot.h"
#include "ui/CDbAction.h"
#include "text/Cents.h"
#include "export/GridExport.h"
#include "grid/CGridCtrl.h"
#include "parties/CPartyDlg.h"
#include "parties/CStatementDlg.h"
#include "parties/PartyStatement.h"
#include "support/MessageScript.h"
#include "support/TestDatabase.h"

namespace {

// A document stored as the documents store it: one row per line, the header repeated.
void StoreSale(TestDatabase& db, const QString& table, const QString& oddnum,
               const QString& customer, const QString& receivable, const QString& receipt,
               int lines = 2) {
    for (int line = 0; line < lines; ++line)
        db.Exec(QStringLiteral("INSERT INTO %1 (oddnum, customer, mydate, receivable, receipt, "
                               "freceivable, freceipt, state, code, \"count\") VALUES (?, ?, ?, ?, "
                               "?, ?, ?, '未结', ?, '1')")
                    .arg(table),
                {oddnum, customer,
                 QDate::fromString(oddnum.left(8), "yyyyMMdd").toString("yyyy-MM-dd") + " 09:00:00",
                 receivable, receipt, receivable.toDouble(), receipt.toDouble(),
                 QStringLiteral("010000000%1").arg(line + 1)});
}

void StoreEntry(TestDatabase& db, const QString& oddnum, const QString& supplier,
                const QString& money, const QString& state) {
    for (int line = 0; line < 3; ++line)
        db.Exec("INSERT INTO entry (oddnum, supplier, mydate, money, fmoney, state, code, "
                "\"count\") VALUES (?, ?, ?, ?, ?, ?, ?, '5')",
                {oddnum, supplier, oddnum.left(8), money, money.toDouble(), state,
                 QStringLiteral("010000000%1").arg(line + 1)});
}

QStringList Lines(const PartyStatement& statement) {
    QStringList lines;
    for (const StatementLine& line : statement.lines)
        lines << QStringLiteral("%1 %2 %3 %4 %5")
                     .arg(line.document.oddnum, line.document.kind, CentsText(line.document.due),
                          CentsText(line.document.paid), CentsText(line.balance));
    return lines;
}

PartyStatement Read(StatementParty party, const QString& name, const QDate& from, const QDate& to) {
    QVector<StatementDocument> documents;
    RunDbRead(nullptr, "对账单", [&] { documents = ReadStatementDocuments(party, name, to); });
    return ComputeStatement(documents, from, to);
}

QStringList GridRows(CGridCtrl* grid) {
    QStringList rows;
    for (int row = 1; row < grid->GetRowCount(); ++row) {
        QStringList cells;
        for (int col = 0; col < grid->GetColumnCount(); ++col)
            cells << grid->GetCellText(row, col);
        rows << cells.join('|');
    }
    return rows;
}

} // namespace

class TestPartyStatement : public QObject {
    Q_OBJECT

  private slots:
    void runningBalanceFromTheOpeningBalance() {
        // Given out of order; a return and a refund count against the customer's debt.
        const QVector<StatementDocument> documents = {
            {"20260310001", "销售出库", 120050, 20000},
            {"20260228002", "销售出库", 9999, 0},
            {"20260305001", "销售退货", -15025, -5000},
            {"20260301001", "销售出库", 33, 33},
            {"20260401001", "销售出库", 100000, 0}, // after the range
            {"oddnum", "销售出库", 700, 0},         // no date: left out
            {"20260115001", "销售出库", 50000, 45001},
        };
        const PartyStatement s = ComputeStatement(documents, QDate(2026, 3, 1), QDate(2026, 3, 31));
        QCOMPARE(CentsText(s.opening), QString("149.98")); // 99.99 + 500.00 - 450.01
        QCOMPARE(Lines(s), (QStringList{"20260301001 销售出库 0.33 0.33 149.98",
                                        "20260305001 销售退货 -150.25 -50.00 49.73",
                                        "20260310001 销售出库 1200.50 200.00 1050.23"}));
        QCOMPARE(CentsText(s.totalDue), QString("1050.58"));
        QCOMPARE(CentsText(s.totalPaid), QString("150.33"));
        QCOMPARE(CentsText(s.closing), QString("1050.23"));
        // A range with no documents: the opening balance carries to the end.
        const PartyStatement quiet =
            ComputeStatement(documents, QDate(2026, 2, 1), QDate(2026, 2, 27));
        QVERIFY(quiet.lines.isEmpty());
        QCOMPARE(CentsText(quiet.opening), QString("49.99"));
        QCOMPARE(quiet.closing, quiet.opening);
        // The last day of the range counts whole.
        QCOMPARE(ComputeStatement(documents, QDate(2026, 3, 10), QDate(2026, 3, 10)).lines.size(),
                 1);
    }

    void customerDocumentsFromTheTables() {
        TestDatabase db;
        StoreSale(db, "saleout", "20260120001", "顺发五金", "300.00", "300.00");
        StoreSale(db, "saleout", "20260205001", "顺发五金", "1234.56", "1000", 3);
        StoreSale(db, "saleout", "20260205002", "别的客户", "999.00", "0");
        StoreSale(db, "salein", "20260210001", "顺发五金", "34.56", "0", 1);
        StoreSale(db, "saleout", "20260214001", "顺发五金", "0.10", "0");
        StoreSale(db, "saleout", "20260214002", "顺发五金", "0.20", "0");
        StoreSale(db, "saleout", "20260301001", "顺发五金", "50.00", "0"); // after the range
        db.Exec("INSERT INTO customer (mc) VALUES ('顺发五金')");

        PartyStatement s =
            Read(StatementParty::Customer, "顺发五金", QDate(2026, 2, 1), QDate(2026, 2, 28));
        QCOMPARE(s.opening, 0);
        QCOMPARE(Lines(s), (QStringList{"20260205001 销售出库 1234.56 1000.00 234.56",
                                        "20260210001 销售退货 -34.56 0.00 200.00",
                                        "20260214001 销售出库 0.10 0.00 200.10",
                                        "20260214002 销售出库 0.20 0.00 200.30"}));
        QCOMPARE(CentsText(s.closing), QString("200.30"));

        // Over March the opening balance is everything before it.
        s = Read(StatementParty::Customer, "顺发五金", QDate(2026, 3, 1), QDate(2026, 3, 31));
        QCOMPARE(CentsText(s.opening), QString("200.30"));
        QCOMPARE(CentsText(s.closing), QString("250.30"));
        // A name that only looks alike finds nothing.
        QVERIFY(Read(StatementParty::Customer, "顺发%", QDate(2026, 1, 1), QDate(2026, 12, 31))
                    .lines.isEmpty());
    }

    void supplierStatementOverStockIn() {
        TestDatabase db;
        StoreEntry(db, "20251230001", "永固", "500", "未付");
        StoreEntry(db, "20260103001", "永固", "1200.40", "已付");
        StoreEntry(db, "20260104001", "永固", "88.88", "未付");
        StoreEntry(db, "20260104002", "别家", "77", "未付");
        const PartyStatement s =
            Read(StatementParty::Supplier, "永固", QDate(2026, 1, 1), QDate(2026, 1, 31));
        QCOMPARE(CentsText(s.opening), QString("500.00"));
        QCOMPARE(Lines(s), (QStringList{"20260103001 采购入库 1200.40 1200.40 500.00",
                                        "20260104001 采购入库 88.88 0.00 588.88"}));
        QCOMPARE(CentsText(s.closing), QString("588.88"));
    }

    void windowFromTheCustomerGrid() {
        TestDatabase db;
        db.Exec("INSERT INTO companyinfo (name, telephone, address) VALUES ('远航五交化', "
                "'0571-8888', '解放路1号')");
        db.Exec("INSERT INTO customer (mc) VALUES ('顺发五金')");
        db.Exec("INSERT INTO customer (mc) VALUES ('永兴电器')");
        StoreSale(db, "saleout", "20260120001", "永兴电器", "80.00", "0");
        StoreSale(db, "saleout", "20260205001", "永兴电器", "1234.56", "1000");
        StoreSale(db, "salein", "20260210001", "永兴电器", "34.56", "0");
        MessageScript messages;
        CPartyDlg parties(CPartyDlg::Kind::Customer);
        parties.resize(830, 500);
        parties.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parties));

        // Right-click on the second customer: 对账单... above the export items.
        QStringList items;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu || !menu->isVisible() || !items.isEmpty())
                return;
            for (QAction* action : menu->actions())
                items << action->text();
            for (QAction* action : menu->actions())
                if (action->text() == "对账单...")
                    QTest::mouseClick(menu, Qt::LeftButton, {},
                                      menu->actionGeometry(action).center());
        });
        poll.start(10);
        ClickCell(parties.Grid(), 2, 1, Qt::RightButton);
        poll.stop();
        QCOMPARE(items, (QStringList{"对账单...", "", "导出到 Excel...", "导出到 CSV..."}));
        CStatementDlg* dlg = parties.findChild<CStatementDlg*>();
        QVERIFY(dlg);
        QCOMPARE(dlg->windowTitle(), QString("客户对账单 - 永兴电器"));

        dlg->SetRange(QDate(2026, 2, 1), QDate(2026, 2, 28));
        QTest::mouseClick(dlg->QueryButton(), Qt::LeftButton);
        QCOMPARE(GridRows(dlg->Grid()),
                 (QStringList{"|2026-02-01||期初余额|||80.00",
                              "1|2026-02-05|20260205001|销售出库|1234.56|1000.00|314.56",
                              "2|2026-02-10|20260210001|销售退货|-34.56|0.00|280.00",
                              "|||本期合计|1200.00|1000.00|280.00"}));
        QVERIFY(dlg->TotalsLabel()->text().contains("期末余额 280.00"));
        dlg->resize(780, 420);
        Snapshot(dlg, "statement");
        QVERIFY(ShowsWhole(dlg, dlg->Grid()));
        QVERIFY(ShowsWhole(dlg, dlg->TotalsLabel()));

        // Exported as shown, without the row numbers.
        const ExportTable table = ReadGridTable(*dlg->Grid(), "对账单", {});
        QCOMPARE(table.columns.size(), 6);
        QCOMPARE(table.rows.last(),
                 (QStringList{"", "", "本期合计", "1200.00", "1000.00", "280.00"}));

        // Printed with the letterhead, the party, the range and the figures.
        const QString pdf = QDir::temp().filePath("harbor-statement.pdf");
        QVERIFY(SaveReportPdf(dlg->StatementReport(), pdf));
        const QString text = PdfText(pdf).remove(' ');
        for (const char* expected :
             {"客户对账单", "远航五交化", "客户:永兴电器", "日期:2026-02-01至2026-02-28",
              "期初余额", "20260205001", "1234.56", "-34.56", "280.00", "期末余额280.00"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);

        // A wrong range is refused.
        dlg->SetRange(QDate(2026, 3, 1), QDate(2026, 2, 1));
        QTest::mouseClick(dlg->QueryButton(), Qt::LeftButton);
        QCOMPARE(messages.Last(), QString("开始日期不能晚于结束日期,请改正"));
        dlg->close();
    }
};

QTEST_MAIN(TestPartyStatement)
#include "tst_partystatement.moc"
