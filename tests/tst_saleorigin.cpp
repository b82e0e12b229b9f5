// Returns taken from a sale (按原单退货): the return window takes a sale's lines by keys at the
// sale's price, discount and tax option; no sale line is returned beyond what was sold, checked
// again inside every save, also against a return another window saved meanwhile; the link of
// each return line to its sale line follows re-saves, line deletes, deletes and restores; the
// query windows show the returns of a sale and the sale of a return.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include "GridInput.h"
#include "ModalDriver.h"

#include "db/CConnection.h"
#include "db/CDbException.h"
#include "documents/CFormStore.h"
#include "documents/CSaleInDlg.h"
#include "documents/CSaleOriginDlg.h"
#include "documents/CSaleOutDlg.h"
#include "documents/Oddnum.h"
#include "documents/ReturnOrigins.h"
#include "documents/SaleLineMath.h"
#include "grid/CGridCtrl.h"
#include "queries/CDeletedDocsDlg.h"
#include "queries/CSaleInQueryDlg.h"
#include "queries/CSaleOutQueryDlg.h"
#include "support/DocumentShop.h"
#include "support/MessageScript.h"
#include "text/HarborClock.h"
#include "ui/CDbAction.h"

namespace {

const QString kScrew = QStringLiteral("0101000001"); // 16.90, sold at 折扣 0.95
const QString kNut = QStringLiteral("0101000002");   // 2.35, sold with 含税(1.08)

// A sale of 3 screws at 0.95 and 3 nuts with a tax option; its number.
QString SaveSale(DocumentShop& shop) {
    shop.AddProduct(kScrew, "五金-螺丝", "16.90", "100");
    shop.AddProduct(kNut, "五金-螺母", "2.35", "50");
    shop.db.Exec("UPDATE property SET discount1='0.95' WHERE code=?", {kScrew});
    MessageScript messages;
    shop.NewSale(shop.saleOut);
    shop.AddSaleLine(shop.saleOut, kScrew, "3");
    ChooseInCell(shop.saleOut->Grid(), 1, 7, "0.95");
    shop.AddSaleLine(shop.saleOut, kNut, "3");
    ChooseInCell(shop.saleOut->Grid(), 2, 10, "含税(1.08)");
    return shop.saleOut->Save() ? shop.saleOut->OddnumBox()->text() : QString();
}

void Key(Qt::Key key) {
    QWidget* focus = QApplication::focusWidget();
    QVERIFY2(focus, qPrintable(QString::number(key)));
    QTest::keyClick(focus, key);
    QCoreApplication::processEvents(); // a cell's editor hands its text over queued
}

void Type(const QString& text) {
    for (const QChar c : text) {
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus);
        QTest::keyClick(focus, c.toLatin1());
    }
}

// 按原单退货 by keys only: Alt+R, the sale's number and Enter, each line's quantity typed and
// Enter (an empty one passed by ↓), Enter takes them. What the dialog showed of the lines.
QStringList ReturnByKeys(CDocumentDlg* dlg, const QString& sale, const QStringList& quantities) {
    QStringList shown;
    if (!dlg->ReturnFromSaleButton() || dlg->ReturnFromSaleButton()->text() != "按原单退货(&R)")
        return {"no button"};
    ModalDriver<CSaleOriginDlg> driver({[&](CSaleOriginDlg* origin) {
        origin->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(origin));
        Type(sale);
        Key(Qt::Key_Return);
        QTableWidget* table = origin->Table();
        for (int row = 0; row < table->rowCount(); ++row) {
            QStringList texts;
            for (int col = 0; col < table->columnCount() - 1; ++col)
                texts.append(table->item(row, col)->text());
            shown.append(texts.join('|'));
        }
        for (const QString& quantity : quantities) {
            if (!quantity.isEmpty()) {
                Type(quantity);
                Key(Qt::Key_Return);
            }
            Key(Qt::Key_Down);
        }
        Key(Qt::Key_Return);
        if (origin->isVisible())
            origin->reject();
    }});
    dlg->activateWindow();
    if (!QTest::qWaitForWindowActive(dlg))
        return {"window not active"};
    // Through the window, as the keyboard delivers it: the button's shortcut letter.
    QTest::keyClick(dlg->windowHandle(), Qt::Key_R, Qt::AltModifier);
    // A shortcut letter clicks its button a moment later, as a click shows.
    (void)QTest::qWaitFor([&] { return driver.Handled() > 0; }, 5000);
    if (driver.Handled() != 1)
        return {"no dialog"};
    return shown;
}

QStringList GridLines(CGridCtrl* grid, int firstCol, int lastCol) {
    QStringList lines;
    for (int row = 1; row < grid->GetRowCount(); ++row) {
        QStringList texts;
        for (int col = firstCol; col <= lastCol; ++col)
            texts.append(grid->GetCellText(row, col));
        lines.append(texts.join('|'));
    }
    return lines;
}

QString Links(TestDatabase& db, const QString& where = QStringLiteral("keptid=''")) {
    return db
        .Rows("SELECT retoddnum, saleoddnum, qty FROM harbor_return_origin WHERE " + where +
              " ORDER BY retoddnum, qty")
        .join(',');
}

// 删除本单 of the return query for the document, the stock given back.
void DeleteReturn(DocumentShop& shop, const QString& oddnum) {
    DocumentShop::QueryAll(shop.inQuery);
    CGridCtrl* list = shop.inQuery->Ui().m_pList;
    MessageScript messages({IDYES});
    ClickCell(list, DocumentShop::ListRow(list, oddnum), 2);
    QTest::mouseClick(shop.inQuery->Ui().m_pDelete, Qt::LeftButton);
}

// 恢复 of the newest deleted return; the message said.
QString RestoreNewestReturn(DocumentShop& shop) {
    MessageScript messages({IDYES});
    ModalDriver<CDeletedDocsDlg> driver({[&](CDeletedDocsDlg* dialog) {
        dialog->Choose(1);
        dialog->Restore();
        dialog->reject();
    }});
    QTest::mouseClick(shop.inQuery->Ui().m_pDeleted, Qt::LeftButton);
    return messages.Texts().join('\n');
}

constexpr int kWorkstations = 4;
constexpr int kTries = 8; // more than a fourth of what was sold
constexpr int kSold = 20;
const QString kSaleNumber = QStringLiteral("20261201001");

// One workstation returning one screw of the sale at a time, as the return window saves.
int RunWorkstation(int worker, const QString& where) {
    const auto connection = TestDatabase::ConnectWorkstation(where);
    int failures = 0;
    SetMessageBoxHook([&](const MessageRecord& message) {
        ++failures;
        qWarning("workstation %d: %s", worker, qPrintable(message.text));
        return int(IDOK);
    });
    const CFormStore store(DocumentForm::SaleIn());
    const ReturnableLine sold = ReadReturnableSale(kSaleNumber, QString()).lines.value(0);
    // Its own return, saved first with one screw, then saved again with one more each time
    // (saves again take no number, so only the sale's lock keeps them apart).
    QString oddnum = NewOddnum("salein", HarborToday());
    std::optional<QStringList> origin;
    std::optional<QStringList> remembered;
    for (int quantity = 1; quantity <= kTries; ++quantity) {
        QStringList line = sold.line.mid(0, 8);
        line[5] = QString::number(quantity);
        line[7] = ImportLineAmount(line[5], line[4]);
        const DocumentHeader header{
            oddnum, "张三五金", "2026-12-08 10:00:00", line[7], line[7], "结清", "", ""};
        DocumentWrite write;
        RunDbAction(nullptr, QStringLiteral("保存单据"), [&] {
            if (!remembered)
                oddnum = store.Documents().FirstSaveNumber(oddnum, nullptr);
            write = store.Documents().Save(oddnum, store.HeaderTexts(header),
                                           {{line, origin, QString(), sold.ref}}, remembered);
        });
        if (write.result != DocumentWrite::Result::Written)
            break; // nothing left to return
        origin = CDocumentStore::StoredTexts(line);
        remembered = write.header;
    }
    connection->Close();
    Db().reset();
    return failures == 0 ? 0 : 1;
}

} // namespace

class TestSaleOrigin : public QObject {
    Q_OBJECT

  private slots:
    void returnTakesWhatTheCustomerPaid();
    void limitHoldsAcrossWindowsAndWrites();
    void deleteRestoreAndDeletedSale();
    void workstationsReturnOneSaleAtOnce();
};

void TestSaleOrigin::returnTakesWhatTheCustomerPaid() {
    DocumentShop shop;
    QVERIFY(shop.ready);
    const QString sale = SaveSale(shop);
    QVERIFY(!sale.isEmpty());
    QCOMPARE(GridLines(shop.saleOut->Grid(), 5, 8),
             QStringList({"16.0550|3|0.95|48.17", "2.5380|3|1.0|7.61"}));
    QCOMPARE(shop.Stock(kScrew), QString("97.00"));

    MessageScript messages;
    QCOMPARE(ReturnByKeys(shop.saleIn, sale, {"2", "3"}),
             QStringList({"五金-螺丝|" + kScrew + "|10个/箱|16.0550|0.95||3|0|3",
                          "五金-螺母|" + kNut + "|10个/箱|2.5380|1.0|含税(1.08)|3|0|3"}));
    QCOMPARE(messages.Texts(), QStringList());
    // The sale's price, discount and tax option; the amount is what the customer paid.
    CGridCtrl* grid = shop.saleIn->Grid();
    QCOMPARE(GridLines(grid, 5, 10),
             QStringList({"16.0550|2|0.95|32.11||", "2.5380|3|1.0|7.61||含税(1.08)"}));
    QCOMPARE(shop.saleIn->CustomerBox()->currentText(), QString("张三五金"));
    QCOMPARE(shop.saleIn->ReceivableBox()->text(), QString("39.72"));
    QVERIFY(!grid->IsCellEditable(1, 5));
    QVERIFY(grid->IsCellEditable(1, 6));
    ChooseState(shop.saleIn->StateBox(), "结清");
    QVERIFY(shop.saleIn->Save());
    const QString ret = shop.saleIn->OddnumBox()->text();
    QCOMPARE(shop.Stock(kScrew), QString("99.00"));
    QCOMPARE(shop.Stock(kNut), QString("50.00"));
    QCOMPARE(shop.db.Rows("SELECT price, \"count\", discount, total, receivable FROM salein ORDER "
                          "BY " +
                          TestDatabase::RowKey()),
             QStringList({"16.0550|2|0.95|32.11|39.72", "2.5380|3|1.0|7.61|39.72"}));
    QCOMPARE(shop.db.Value("SELECT remark FROM docline WHERE tbl='salein' AND code=?", {kNut}),
             QString("含税(1.08)"));
    QCOMPARE(Links(shop.db), QString("%1|%2|2,%1|%2|3").arg(ret, sale));

    // A re-save with a new quantity: the amount follows the sale's price, the link its line.
    TypeInCell(grid, 1, 6, "3");
    QCOMPARE(grid->GetCellText(1, 8), QString("48.17"));
    QVERIFY(shop.saleIn->Save());
    QCOMPARE(shop.Stock(kScrew), QString("100.00"));
    QCOMPARE(Links(shop.db), QString("%1|%2|3,%1|%2|3").arg(ret, sale));
    QCOMPARE(messages.Texts(), QStringList());

    // 出库查询's detail of the sale lists the return under its lines.
    shop.outQuery->ShowDetail(sale);
    CGridCtrl* detail = shop.outQuery->Ui().m_pDetail;
    QCOMPARE(detail->GetRowCount(), 1 + 2 + 1 + 2);
    QCOMPARE(detail->GetCellText(3, 1), "退货单" + ret);
    QCOMPARE(detail->GetCellText(3, 2), HarborToday().toString("yyyy-MM-dd"));
    QCOMPARE(GridLines(detail, 1, 9).mid(3),
             QStringList({"五金-螺丝|" + kScrew + "|10个/箱|16.0550|3|0.95|48.17||退货",
                          "五金-螺母|" + kNut + "|10个/箱|2.5380|3|1.0|7.61||退货"}));
    // and the return query's detail names the sale.
    shop.inQuery->ShowDetail(ret);
    QCOMPARE(shop.inQuery->Ui().m_pDetail->GetCellText(3, 1), "原销售单" + sale);

    // A free return stays as it was: the list price, the line's own discount.
    QTest::mouseClick(shop.saleIn->NewButton(), Qt::LeftButton);
    shop.AddSaleLine(shop.saleIn, kScrew, "1");
    QCOMPARE(GridLines(grid, 5, 8), QStringList{"16.90|1|1.0|16.90"});
}

void TestSaleOrigin::limitHoldsAcrossWindowsAndWrites() {
    DocumentShop shop;
    QVERIFY(shop.ready);
    const QString sale = SaveSale(shop);
    MessageScript messages;
    // A first return of 2 screws and 1 nut.
    ReturnByKeys(shop.saleIn, sale, {"2", "1"});
    ChooseState(shop.saleIn->StateBox(), "结清");
    QVERIFY(shop.saleIn->Save());
    const QString first = shop.saleIn->OddnumBox()->text();

    // A second window: more than is left is refused by the dialog, naming the line.
    CSaleInDlg other;
    other.resize(1280, 700);
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    QTest::mouseClick(other.NewButton(), Qt::LeftButton);
    QCOMPARE(ReturnByKeys(&other, sale, {"2"}).value(0).section('|', 6),
             QString("3|2|1")); // sold, returned, left
    QCOMPARE(messages.Last(), QString("第1行的商品<五金-螺丝>最多还可退1"));
    QCOMPARE(other.Grid()->GetRowCount(), 1);
    // The nuts left (2) go into it, unsaved.
    ReturnByKeys(&other, sale, {"", "2"});
    QCOMPARE(other.Grid()->GetCellText(1, 6), QString("2"));

    // Meanwhile the first window starts another return of the same 2 nuts and saves it first.
    QTest::mouseClick(shop.saleIn->NewButton(), Qt::LeftButton);
    ReturnByKeys(shop.saleIn, sale, {"", "2"});
    ChooseState(shop.saleIn->StateBox(), "结清");
    QVERIFY(shop.saleIn->Save());
    const QString second = shop.saleIn->OddnumBox()->text();
    QCOMPARE(shop.Stock(kNut), QString("50.00"));

    // The other window's save is refused inside its transaction: nothing moves.
    ChooseState(other.StateBox(), "结清");
    messages.Clear();
    QVERIFY(!other.Save());
    QVERIFY2(messages.Last().startsWith("第1行的商品<五金-螺母>超出原销售单" + sale),
             qPrintable(messages.Last()));
    QCOMPARE(shop.Stock(kNut), QString("50.00"));
    QCOMPARE(shop.db.Value("SELECT count(DISTINCT oddnum) FROM salein"), QString("2"));

    // 删除商品 of the second return's line frees its nuts: now the other window's save lands.
    ClickCell(shop.saleIn->Grid(), 1, 1);
    QTest::keyClick(shop.saleIn->Grid(), Qt::Key_Delete);
    QCOMPARE(shop.db.Value("SELECT count(*) FROM salein WHERE oddnum=?", {second}), QString("0"));
    QCOMPARE(Links(shop.db), QString("%1|%2|1,%1|%2|2").arg(first, sale));
    QVERIFY(other.Save());
    QCOMPARE(shop.Stock(kNut), QString("50.00"));
    QCOMPARE(Links(shop.db),
             QString("%1|%2|1,%1|%2|2,%3|%2|2").arg(first, sale, other.OddnumBox()->text()));

    // A sale saved again may not fall below what is returned of a line.
    TypeInCell(shop.saleOut->Grid(), 1, 6, "1");
    messages.Clear();
    QVERIFY(!shop.saleOut->Save());
    QCOMPARE(messages.Last(), QString("第1行的商品<五金-螺丝>已退货2.00,数量不能少于已退的数量"));
    // A higher quantity is taken, and the returns follow the line.
    TypeInCell(shop.saleOut->Grid(), 1, 6, "4");
    QVERIFY(shop.saleOut->Save());
    ReturnByKeys(&other, sale, {"2"});
    QVERIFY(other.Save());
    QCOMPARE(shop.db.Value("SELECT sum(CAST(qty AS REAL)) FROM harbor_return_origin WHERE "
                           "saleoddnum=? AND keptid=''",
                           {sale}),
             QString("7"));
}

void TestSaleOrigin::deleteRestoreAndDeletedSale() {
    DocumentShop shop;
    QVERIFY(shop.ready);
    const QString sale = SaveSale(shop);
    MessageScript messages;
    ReturnByKeys(shop.saleIn, sale, {"3"});
    ChooseState(shop.saleIn->StateBox(), "结清");
    QVERIFY(shop.saleIn->Save());
    const QString first = shop.saleIn->OddnumBox()->text();
    QCOMPARE(shop.Stock(kScrew), QString("100.00"));

    // A deleted return keeps its link apart: its screws can be returned again.
    QTest::mouseClick(shop.saleIn->NewButton(), Qt::LeftButton); // the next number
    DeleteReturn(shop, first);
    QCOMPARE(shop.Stock(kScrew), QString("97.00"));
    QCOMPARE(Links(shop.db), QString());
    QCOMPARE(Links(shop.db, "keptid<>''"), QString("%1|%2|3").arg(first, sale));
    ReturnByKeys(shop.saleIn, sale, {"3"});
    ChooseState(shop.saleIn->StateBox(), "结清");
    QVERIFY(shop.saleIn->Save());
    const QString second = shop.saleIn->OddnumBox()->text();

    // Restoring the first now would return the screws twice: refused, nothing changes.
    const QString refused = RestoreNewestReturn(shop);
    QVERIFY2(refused.contains("超出原销售单" + sale), qPrintable(refused));
    QCOMPARE(shop.db.Value("SELECT count(*) FROM salein WHERE oddnum=?", {first}), QString("0"));
    QCOMPARE(shop.Stock(kScrew), QString("100.00"));

    // With the second gone, the first comes back with its link.
    DeleteReturn(shop, second);
    QTest::mouseClick(shop.saleIn->NewButton(), Qt::LeftButton); // the window leaves it
    MessageScript restore({IDYES});
    ModalDriver<CDeletedDocsDlg> driver({[&](CDeletedDocsDlg* dialog) {
        dialog->Choose(2); // the newest first: the first return's delete is the older
        QVERIFY(dialog->Restore());
        dialog->reject();
    }});
    QTest::mouseClick(shop.inQuery->Ui().m_pDeleted, Qt::LeftButton);
    QCOMPARE(driver.Handled(), 1);
    QCOMPARE(Links(shop.db), QString("%1|%2|3").arg(first, sale));
    QCOMPARE(shop.Stock(kScrew), QString("100.00"));

    // The sale deleted afterwards: the return and its link stay, its detail says so.
    DocumentShop::QueryAll(shop.outQuery);
    CGridCtrl* list = shop.outQuery->Ui().m_pList;
    {
        MessageScript answers({IDNO});
        ClickCell(list, DocumentShop::ListRow(list, sale), 2);
        QTest::mouseClick(shop.outQuery->Ui().m_pDelete, Qt::LeftButton);
    }
    QCOMPARE(shop.db.Value("SELECT count(*) FROM saleout"), QString("0"));
    QCOMPARE(Links(shop.db), QString("%1|%2|3").arg(first, sale));
    shop.inQuery->ShowDetail(first);
    QCOMPARE(shop.inQuery->Ui().m_pDetail->GetCellText(2, 1), "原销售单" + sale + "(已删除)");
}

// Several workstations return units of one sale line at the same moment, more than were sold:
// exactly what was sold lands, each return with its link and its stock.
void TestSaleOrigin::workstationsReturnOneSaleAtOnce() {
    TestDatabase db;
    db.Exec("INSERT INTO property (code, name, price, total) VALUES (?, '五金-螺丝', '16.90', "
            "'100')",
            {kScrew});
    db.Exec("INSERT INTO saleout (oddnum, customer, mydate, mc, shortname, code, spec, price, "
            "\"count\", discount, total) VALUES (?, '张三五金', '2026-12-01 09:00:00', "
            "'五金-螺丝', '螺丝', ?, '', '16.055', ?, '0.95', '321.10')",
            {kSaleNumber, kScrew, QString::number(kSold)});
    const QString where = TestDatabase::OnServer() ? db.Address().database : db.Path();
    QList<QProcess*> workers;
    for (int w = 0; w < kWorkstations; ++w) {
        auto* process = new QProcess(this);
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        process->start(QCoreApplication::applicationFilePath(),
                       {"--workstation", QString::number(w), where});
        workers.append(process);
    }
    for (QProcess* process : workers) {
        QVERIFY(process->waitForFinished(5 * 60 * 1000));
        QCOMPARE(process->exitCode(), 0); // refusals only, no save failed
    }
    // A workstation that came last may have found nothing left for its own return.
    QVERIFY(db.Value("SELECT count(DISTINCT oddnum) FROM salein").toInt() <= kWorkstations);
    QCOMPARE(db.Value("SELECT sum(CAST(\"count\" AS INTEGER)) FROM salein"),
             QString::number(kSold));
    QCOMPARE(db.Value("SELECT sum(CAST(qty AS INTEGER)) FROM harbor_return_origin WHERE "
                      "saleoddnum=? AND keptid=''",
                      {kSaleNumber}),
             QString::number(kSold));
    QCOMPARE(db.Value("SELECT total FROM property WHERE code=?", {kScrew}).toDouble(),
             100.0 + kSold);
}

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--workstation") == 0)
        return RunWorkstation(QString::fromLocal8Bit(argv[2]).toInt(),
                              QString::fromLocal8Bit(argv[3]));
    TestSaleOrigin test;
    return QTest::qExec(&test, argc, argv);
}
#include "db/Db.h"
#include "tst_saleorigin.moc"
