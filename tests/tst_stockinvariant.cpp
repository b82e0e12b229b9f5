// A long seeded run of what the shop's staff do with the real windows: sales-out, sales-return
// and stock-in documents saved and saved again with fractional quantities, lines deleted and
// their products replaced, documents deleted from the queries with and without their stock,
// documents settled. After every step the stored rows must add up: each product's stock is its
// starting stock less what stored sales-out lines took, plus what stored returns and stock-in
// lines brought, plus what removed documents left behind; every document's rows carry one set
// of header figures whose amount is the sum of its lines; the query totals are the sums over
// the documents. The test's own arithmetic reads the stored texts itself.
// HARBOR_SEED=n and HARBOR_STEPS=n run another sequence.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QtTest>

#include "GridInput.h"

#include "documents/CEntryDlg.h"
#include "documents/CSaleInDlg.h"
#include "documents/CSaleOutDlg.h"
#include "grid/CGridCtrl.h"
#include "queries/CEntryQueryDlg.h"
#include "queries/CSaleInQueryDlg.h"
#include "queries/CSaleOutQueryDlg.h"
#include "queries/SaleQueryControls.h"
#include "support/DocumentShop.h"
#include "support/MessageScript.h"
#include "support/SettleConfirm.h"

namespace {

struct Product {
    QString code;
    QString name;
    QString price;
    QString stock;
};

const QList<Product> kProducts = {{"0101000001", "五金-螺丝", "10.00", "100"},
                                  {"0101000002", "五金-螺母", "0.35", "50.5"},
                                  {"0102000001", "五金-钉子", "2.50", "0"},
                                  {"0200000001", "电料-开关", "5.15", "1000"},
                                  {"0300000001", "灯具-灯泡", "99999.99", "7.25"}};
const QStringList kQuantities = {"1", "2", "0.5", "1.25", "3", "0.75", "2.5", "10", "0.01"};
const QStringList kPrices = {"1", "2.5", "3.33", "10", "0.07"};
const QStringList kStates = {"结清", "未结", "欠款"};

// The hundredths of a stored number, read digit by digit ("12.5" is 1250, "" is 0).
qint64 Hundredths(const QString& text) {
    const bool negative = text.startsWith('-');
    const QString digits = negative ? text.mid(1) : text;
    const qint64 whole = digits.section('.', 0, 0).toLongLong();
    const qint64 part = (digits.section('.', 1, 1) + "00").left(2).toLongLong();
    return (negative ? -1 : 1) * (whole * 100 + part);
}

struct Table {
    QString name;
    int sign;       // what a stored line does to its product's stock
    QString header; // the header figures every row of a document must share
    QString amount; // the amount due among them
};

QList<Table> Tables() {
    const QString receivable = TestDatabase::FixedSql("freceivable", 2);
    const QString receipt = TestDatabase::FixedSql("freceipt", 2);
    return {{"saleout", -1,
             "receivable||'|'||receipt||'|'||state||'|'||" + receivable + "||'|'||" + receipt +
                 "||'|'||customer||'|'||coalesce(invoicedate,'')",
             "receivable"},
            {"salein", 1,
             "receivable||'|'||receipt||'|'||state||'|'||" + receivable + "||'|'||" + receipt +
                 "||'|'||customer",
             "receivable"},
            {"entry", 1,
             "money||'|'||" + TestDatabase::FixedSql("fmoney", 2) + "||'|'||state||'|'||supplier",
             "money"}};
}

class Run {
  public:
    Run(DocumentShop& shop, quint32 seed) : m_shop(shop), m_rng(seed) {
        for (const Product& product : kProducts)
            m_expected[product.code] = Hundredths(product.stock);
    }

    void Step(int step);
    // What no longer adds up, or the empty text.
    QString Check();
    QStringList Log() const { return m_log.mid(qMax(0, m_log.size() - 12)); }
    QStringList FullLog() const { return m_log; }

    // How often each kind of write happened, so a run shows it went through every path.
    QMap<QString, int> m_counts;

  private:
    int Pick(int n) { return int(m_rng.bounded(n)); }
    template <typename T> const T& Any(const QList<T>& items) { return items[Pick(items.size())]; }
    CDocumentDlg* SaleWindow() {
        return Pick(2) ? static_cast<CDocumentDlg*>(m_shop.saleOut)
                       : static_cast<CDocumentDlg*>(m_shop.saleIn);
    }
    CGridCtrl* GridOf(int window) {
        return window == 0   ? m_shop.saleOut->Grid()
               : window == 1 ? m_shop.saleIn->Grid()
                             : m_shop.entry->Grid();
    }
    int AnswerOf(int choice) { return choice == 0 ? IDYES : choice == 1 ? IDNO : IDCANCEL; }

    void AddLine();
    void EditLine();
    void Save();
    void DeleteLine();
    void ReplaceProduct();
    void NewDocument();
    void DeleteFromQuery();
    void Settle();
    void CompleteEntryLines();
    int Rows() {
        int rows = 0;
        for (const char* table : {"saleout", "salein", "entry"})
            rows += m_shop.db.Value(QStringLiteral("SELECT count(*) FROM %1").arg(table)).toInt();
        return rows;
    }
    void Count(const QString& what, const MessageScript& messages) {
        ++m_counts[what];
        if (messages.Texts().join("").contains("其他窗口"))
            ++m_counts["conflict"];
    }

    DocumentShop& m_shop;
    QRandomGenerator m_rng;
    QStringList m_log;
    // Starting stock plus what removed documents left behind.
    QMap<QString, qint64> m_expected;
};

void Run::Step(int step) {
    static const QList<void (Run::*)()> actions = {&Run::AddLine,        &Run::AddLine,
                                                   &Run::AddLine,        &Run::EditLine,
                                                   &Run::EditLine,       &Run::Save,
                                                   &Run::Save,           &Run::Save,
                                                   &Run::DeleteLine,     &Run::DeleteLine,
                                                   &Run::ReplaceProduct, &Run::ReplaceProduct,
                                                   &Run::NewDocument,    &Run::DeleteFromQuery,
                                                   &Run::Settle};
    const int action = Pick(actions.size());
    m_log.append(QString::number(step) + ":");
    (this->*actions[action])();
}

void Run::AddLine() {
    const Product& product = Any(kProducts);
    const QString quantity = Any(kQuantities);
    MessageScript messages({AnswerOf(Pick(2))});
    const int window = Pick(3);
    if (window < 2) {
        CDocumentDlg* dlg = window == 0 ? static_cast<CDocumentDlg*>(m_shop.saleOut)
                                        : static_cast<CDocumentDlg*>(m_shop.saleIn);
        if (!dlg->m_bOpen)
            m_shop.NewSale(dlg, Any(kStates));
        m_shop.AddSaleLine(dlg, product.code, quantity);
        m_log.last() += QString(" %1 line %2 x%3").arg(dlg->windowTitle(), product.code, quantity);
    } else {
        if (m_shop.entry->OddnumBox()->text().isEmpty())
            m_shop.NewEntry();
        const QString price = Any(kPrices);
        m_shop.AddEntryLine(product.code, price, quantity);
        m_log.last() += QString(" 采购入库 line %1 %2 x%3").arg(product.code, price, quantity);
    }
}

void Run::EditLine() {
    const int window = Pick(3);
    CGridCtrl* grid = GridOf(window);
    if (grid->GetRowCount() < 2)
        return;
    const int row = 1 + Pick(grid->GetRowCount() - 1);
    const QString quantity = Any(kQuantities);
    MessageScript messages;
    TypeInCell(grid, row, 6, quantity);
    m_log.last() += QString(" window %1 row %2 quantity %3").arg(window).arg(row).arg(quantity);
}

// Fills what a replaced stock-in line lost, so the document can be saved.
void Run::CompleteEntryLines() {
    CGridCtrl* grid = m_shop.entry->Grid();
    for (int row = 1; row < grid->GetRowCount(); ++row) {
        if (grid->GetCellText(row, 5).isEmpty())
            TypeInCell(grid, row, 5, Any(kPrices));
        if (grid->GetCellText(row, 6).isEmpty())
            TypeInCell(grid, row, 6, Any(kQuantities));
    }
}

void Run::Save() {
    MessageScript messages;
    if (Pick(3) == 2) {
        if (m_shop.entry->OddnumBox()->text().isEmpty())
            return;
        if (m_shop.entry->SupplierBox()->currentText().isEmpty())
            m_shop.entry->SupplierBox()->setEditText("李四五金厂");
        if (m_shop.entry->StateBox()->currentText().isEmpty())
            m_shop.entry->StateBox()->setEditText(Pick(2) ? "未付" : "已付");
        CompleteEntryLines();
        if (m_shop.entry->Grid()->GetRowCount() < 2)
            return;
        const bool saved = m_shop.entry->Save();
        Count(saved ? "save" : "refused save", messages);
        m_log.last() += QString(" save 采购入库 %1 %2").arg(saved).arg(messages.Texts().join("/"));
        return;
    }
    CDocumentDlg* dlg = SaleWindow();
    if (!dlg->m_bOpen || dlg->Grid()->GetRowCount() < 2)
        return;
    if (dlg->CustomerBox()->currentText().isEmpty())
        dlg->CustomerBox()->setEditText("张三五金");
    if (dlg->StateBox()->currentText().isEmpty())
        ChooseState(dlg->StateBox(), Any(kStates));
    if (dlg->StateBox()->currentText() == "欠款" && dlg->ReceiptBox()->text().isEmpty())
        dlg->ReceiptBox()->setText(Any(kPrices));
    CGridCtrl* grid = dlg->Grid();
    for (int row = 1; row < grid->GetRowCount(); ++row) {
        if (grid->GetCellText(row, 6).isEmpty())
            TypeInCell(grid, row, 6, Any(kQuantities));
    }
    const bool saved = dlg->Save();
    Count(saved ? "save" : "refused save", messages);
    m_log.last() += QString(" save %1 %2 %3")
                        .arg(dlg->windowTitle())
                        .arg(saved)
                        .arg(messages.Texts().join("/"));
}

void Run::DeleteLine() {
    const int window = Pick(3);
    CGridCtrl* grid = GridOf(window);
    if (grid->GetRowCount() < 2)
        return;
    const int row = 1 + Pick(grid->GetRowCount() - 1);
    const int answer = AnswerOf(Pick(3));
    MessageScript messages({answer});
    const int before = Rows();
    ClickCell(grid, row, 1);
    QPushButton* button = window == 0   ? m_shop.saleOut->DeleteLineButton()
                          : window == 1 ? m_shop.saleIn->DeleteLineButton()
                                        : m_shop.entry->DeleteLineButton();
    QTest::mouseClick(button, Qt::LeftButton);
    if (Rows() < before)
        Count("stored line delete", messages);
    m_log.last() += QString(" window %1 delete row %2 answer %3 %4")
                        .arg(window)
                        .arg(row)
                        .arg(answer)
                        .arg(messages.Texts().join("/"));
}

void Run::ReplaceProduct() {
    const int window = Pick(3);
    CGridCtrl* grid = GridOf(window);
    if (grid->GetRowCount() < 2)
        return;
    const int row = 1 + Pick(grid->GetRowCount() - 1);
    const Product& product = Any(kProducts);
    MessageScript messages;
    const bool saved = window == 0   ? m_shop.saleOut->m_bSaved
                       : window == 1 ? m_shop.saleIn->m_bSaved
                                     : m_shop.entry->m_bSaved;
    if (saved)
        ++m_counts["replace on a saved document"];
    ReplaceLineProduct(grid, row, product.name, product.code, "10个/箱");
    if (window < 2)
        TypeInCell(grid, row, 6, Any(kQuantities));
    m_log.last() += QString(" window %1 row %2 becomes %3").arg(window).arg(row).arg(product.code);
}

void Run::NewDocument() {
    const int window = Pick(3);
    MessageScript messages({AnswerOf(Pick(2))});
    QPushButton* button = window == 0   ? m_shop.saleOut->NewButton()
                          : window == 1 ? m_shop.saleIn->NewButton()
                                        : m_shop.entry->NewButton();
    if (window == 2)
        CompleteEntryLines();
    QTest::mouseClick(button, Qt::LeftButton);
    m_log.last() += QString(" window %1 new %2").arg(window).arg(messages.Texts().join("/"));
}

void Run::DeleteFromQuery() {
    const int which = Pick(3);
    CGridCtrl* list = nullptr;
    QPushButton* button = nullptr;
    if (which == 0) {
        DocumentShop::QueryAll(m_shop.outQuery);
        list = m_shop.outQuery->Ui().m_pList;
        button = m_shop.outQuery->Ui().m_pDelete;
    } else if (which == 1) {
        DocumentShop::QueryAll(m_shop.inQuery);
        list = m_shop.inQuery->Ui().m_pList;
        button = m_shop.inQuery->Ui().m_pDelete;
    } else {
        DocumentShop::QueryAll(m_shop.entryQuery);
        list = m_shop.entryQuery->ListGrid();
        button = m_shop.entryQuery->DeleteButton();
    }
    if (list->GetRowCount() < 2)
        return;
    const Table table = Tables()[which];
    const QString oddnum = list->GetCellText(1 + Pick(list->GetRowCount() - 1), 1);
    // What the document's lines did to the stock, as stored before the delete.
    const QStringList lines = m_shop.db.Rows(
        QStringLiteral("SELECT code, \"count\" FROM %1 WHERE oddnum=?").arg(table.name), {oddnum});
    const int answer = AnswerOf(Pick(3));
    MessageScript messages({answer});
    ClickCell(list, DocumentShop::ListRow(list, oddnum), 2);
    QTest::mouseClick(button, Qt::LeftButton);
    const bool gone =
        m_shop.db.Value(QStringLiteral("SELECT count(*) FROM %1 WHERE oddnum=?").arg(table.name),
                        {oddnum}) == "0";
    if (gone)
        Count(answer == IDNO ? "delete keeping stock" : "delete giving stock back", messages);
    if (gone && answer == IDNO) {
        for (const QString& line : lines)
            m_expected[line.section('|', 0, 0)] += table.sign * Hundredths(line.section('|', 1));
    }
    m_log.last() +=
        QString(" %1 delete %2 answer %3 gone %4").arg(table.name, oddnum).arg(answer).arg(gone);
}

void Run::Settle() {
    CSaleQueryDlg* dlg = Pick(2) ? static_cast<CSaleQueryDlg*>(m_shop.outQuery)
                                 : static_cast<CSaleQueryDlg*>(m_shop.inQuery);
    DocumentShop::QueryAll(dlg);
    CGridCtrl* list = dlg->Ui().m_pList;
    if (list->GetRowCount() < 2)
        return;
    const int row = 1 + Pick(list->GetRowCount() - 1);
    const QString state = Any(kStates);
    MessageScript messages;
    SettleConfirm settle;
    ChooseInCell(list, row, 6, state);
    Count("settle", messages);
    m_log.last() += QString(" %1 row %2 state %3").arg(dlg->windowTitle()).arg(row).arg(state);
}

QString Run::Check() {
    TestDatabase& db = m_shop.db;
    QMap<QString, qint64> expected = m_expected;
    for (const Table& table : Tables()) {
        for (const QString& line :
             db.Rows(QStringLiteral("SELECT code, \"count\" FROM %1").arg(table.name)))
            expected[line.section('|', 0, 0)] += table.sign * Hundredths(line.section('|', 1));
    }
    for (const Product& product : kProducts) {
        const QString stock = m_shop.Stock(product.code);
        if (Hundredths(stock) != expected[product.code])
            return QString("stock of %1 is %2, the stored lines say %3")
                .arg(product.code, stock)
                .arg(expected[product.code] / 100.0, 0, 'f', 2);
    }
    QList<qint64> totals;
    for (const Table& table : Tables()) {
        qint64 total = 0;
        const QStringList documents =
            db.Rows(QStringLiteral("SELECT DISTINCT oddnum FROM %1").arg(table.name));
        for (const QString& oddnum : documents) {
            const QStringList headers =
                db.Rows(QStringLiteral("SELECT DISTINCT %1 FROM %2 WHERE oddnum=?")
                            .arg(table.header, table.name),
                        {oddnum});
            if (headers.size() != 1)
                return QString("%1 %2 has header figures %3")
                    .arg(table.name, oddnum, headers.join(" / "));
            qint64 lines = 0;
            for (const QString& amount :
                 db.Rows(QStringLiteral("SELECT total FROM %1 WHERE oddnum=?").arg(table.name),
                         {oddnum}))
                lines += Hundredths(amount);
            const QStringList figures = headers.first().split('|');
            if (Hundredths(figures[0]) != lines)
                return QString("%1 %2 is due %3 but its lines make %4")
                    .arg(table.name, oddnum, figures[0])
                    .arg(lines / 100.0, 0, 'f', 2);
            if (table.name != "entry") {
                const QString state = figures[2];
                if ((state == "结清" && figures[1] != figures[0]) ||
                    (state == "未结" && figures[1] != "0"))
                    return QString("%1 %2 is %3 with %4 received")
                        .arg(table.name, oddnum, state, figures[1]);
            }
            total += lines;
        }
        totals.append(total);
    }
    DocumentShop::QueryAll(m_shop.outQuery);
    DocumentShop::QueryAll(m_shop.inQuery);
    DocumentShop::QueryAll(m_shop.entryQuery);
    const QStringList shown = {m_shop.outQuery->Ui().m_pDue->text(),
                               m_shop.inQuery->Ui().m_pDue->text(),
                               m_shop.entryQuery->TotalBox()->text()};
    for (int i = 0; i < 3; ++i) {
        if (Hundredths(shown[i]) != totals[i])
            return QString("the %1 query shows %2, the documents make %3")
                .arg(Tables()[i].name, shown[i])
                .arg(totals[i] / 100.0, 0, 'f', 2);
    }
    return QString();
}

} // namespace

class TestStockInvariant : public QObject {
    Q_OBJECT

  private slots:
    void storedRowsAlwaysAddUp() {
        DocumentShop shop;
        QVERIFY(shop.ready);
        for (const Product& product : kProducts)
            shop.AddProduct(product.code, product.name, product.price, product.stock);
        const quint32 seed = qEnvironmentVariableIsSet("HARBOR_SEED")
                                 ? quint32(qEnvironmentVariableIntValue("HARBOR_SEED"))
                                 : 20261206u;
        const int steps = qEnvironmentVariableIsSet("HARBOR_STEPS")
                              ? qEnvironmentVariableIntValue("HARBOR_STEPS")
                              : 600;
        Run run(shop, seed);
        for (int step = 1; step <= steps; ++step) {
            run.Step(step);
            const QString problem = run.Check();
            QVERIFY2(problem.isEmpty(), qPrintable(QString("seed %1 step %2: %3\n%4")
                                                       .arg(seed)
                                                       .arg(step)
                                                       .arg(problem, run.Log().join('\n'))));
        }
        // The run went through every kind of write, so the checks above were not idle.
        for (const char* what :
             {"save", "stored line delete", "delete keeping stock", "delete giving stock back",
              "settle", "replace on a saved document", "conflict"})
            QVERIFY2(run.m_counts.value(what) > 0, what);
        if (qEnvironmentVariableIsSet("HARBOR_LOG"))
            qInfo().noquote() << run.FullLog().join('\n');
    }
};

QTEST_MAIN(TestStockInvariant)
#include "tst_stockinvariant.moc"
