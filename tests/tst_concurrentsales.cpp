// Several workstations selling the same products at the same moment, on the server and on the
// local file: four processes save 200 sales-out documents each, the way the sales-out window
// saves (number drawn when the document is started, checked again inside the save).
#include <QDate>
#include <QProcess>
#include <QtTest>

#include "MessageScript.h"
#include "TestDatabase.h"
#include "db/CConnection.h"
#include "db/CDbException.h"
#include "documents/CFormStore.h"
#include "documents/Oddnum.h"
#include "text/HarborClock.h"
#include "ui/CDbAction.h"

namespace {

constexpr int kWorkers = 4;
constexpr int kDocuments = 200;
const QStringList kProducts = {"0101000001", "0101000002", "0101000003", "0101000004",
                               "0101000005"};
constexpr int kStartStock = 100000;

// One workstation: saves its documents, each of all five products in a quantity of its own.
int RunWorker(int worker, const QString& where) {
    auto connection = std::make_shared<CConnection>();
    if (TestDatabase::OnServer()) {
        ServerAddress address = TestDatabase::ServerFor(where);
        connection->OpenServer(address);
    } else {
        connection->OpenFile(where);
    }
    Db() = connection;
    int failures = 0;
    SetMessageBoxHook([&](const MessageRecord& message) {
        ++failures;
        qWarning("worker %d: %s", worker, qPrintable(message.text));
        return int(IDOK);
    });
    const CFormStore store(DocumentForm::SaleOut());
    for (int d = 0; d < kDocuments; ++d) {
        DocumentHeader header{NewOddnum("saleout", HarborToday()),
                              QStringLiteral("客户%1").arg(worker),
                              QStringLiteral("2026-12-06 10:00:00"),
                              "10.00",
                              "10.00",
                              "结清",
                              "员工",
                              QString::number(worker)};
        QVector<DocumentLine> lines;
        for (int p = 0; p < kProducts.size(); ++p) {
            const QString count = QString::number(1 + (worker + d + p) % 3);
            lines.append(
                {"商品", "商品", kProducts[p], "10个/箱", "1.00", count, "1.0", count, "", ""});
        }
        QVector<ScreenLine> screen;
        for (const DocumentLine& line : lines)
            screen.append({store.LineTexts(line), std::nullopt});
        RunDbAction(nullptr, QStringLiteral("保存单据"), [&] {
            const QString oddnum = store.Documents().FirstSaveNumber(header.oddnum, nullptr);
            if (oddnum.isEmpty())
                throw CDbException(QStringLiteral("单号已用完"));
            const DocumentWrite write =
                store.Documents().Save(oddnum, store.HeaderTexts(header), screen, std::nullopt);
            if (write.result != DocumentWrite::Result::Written)
                throw CDbException(write.message);
        });
    }
    connection->Close();
    Db().reset();
    return failures == 0 ? 0 : 1;
}

} // namespace

class TestConcurrentSales : public QObject {
    Q_OBJECT

  private slots:
    void everySaleCountsAndEveryDocumentKeepsItsNumber() {
        TestDatabase db;
        for (const QString& code : kProducts)
            db.Exec("INSERT INTO property (code, name, total) VALUES (?, '商品', ?)",
                    {code, QString::number(kStartStock)});
        const QString where = TestDatabase::OnServer() ? db.Address().database : db.Path();

        QList<QProcess*> workers;
        for (int w = 0; w < kWorkers; ++w) {
            auto* process = new QProcess(this);
            process->setProcessChannelMode(QProcess::ForwardedChannels);
            process->start(QCoreApplication::applicationFilePath(),
                           {"--worker", QString::number(w), where});
            workers.append(process);
        }
        for (QProcess* process : workers) {
            QVERIFY(process->waitForFinished(10 * 60 * 1000));
            QCOMPARE(process->exitStatus(), QProcess::NormalExit);
            QCOMPARE(process->exitCode(), 0); // no save failed
        }

        // Every document under a number of its own: one customer per number, five lines each.
        QCOMPARE(db.Value("SELECT count(DISTINCT oddnum) FROM saleout"),
                 QString::number(kWorkers * kDocuments));
        QCOMPARE(db.Value("SELECT count(*) FROM saleout"),
                 QString::number(kWorkers * kDocuments * 5));
        QCOMPARE(
            db.Rows(
                "SELECT oddnum FROM saleout GROUP BY oddnum HAVING count(DISTINCT customer) > 1 "
                "OR count(*) <> 5"),
            QStringList());
        // Each product's stock is its start less everything the stored lines sold.
        for (const QString& code : kProducts) {
            int sold = 0;
            for (const QString& count :
                 db.Rows("SELECT \"count\" FROM saleout WHERE code=?", {code}))
                sold += count.toInt();
            QCOMPARE(db.Value("SELECT total FROM property WHERE code=?", {code}).toDouble(),
                     double(kStartStock - sold));
        }
    }
};

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--worker") == 0)
        return RunWorker(QString::fromLocal8Bit(argv[2]).toInt(), QString::fromLocal8Bit(argv[3]));
    TestConcurrentSales test;
    return QTest::qExec(&test, argc, argv);
}

#include "db/Db.h"
#include "tst_concurrentsales.moc"
