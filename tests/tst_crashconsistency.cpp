// A workstation killed in the middle of its work (power cut, task manager, kill -9): a child
// process saves large sales-out, sales-return and stock-in documents the way their windows do
// and renumbers a catalogue level the way the coding window does, and is killed with SIGKILL at
// a random moment, again and again. After every kill the database must be whole: the file
// passes its integrity check, every document carries one set of header figures whose amount due
// is the sum of its lines, every product's code has its levels, and every product's stock is
// its start plus the movements that are stored. On the server the killed process is the client:
// the server rolls back its open transaction.
//
// HARBOR_CRASH_SEED and HARBOR_CRASH_KILLS change the seed and the number of kills.
#include <QDate>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <QtTest>

#include "MessageScript.h"
#include "TestDatabase.h"
#include "catalogue/CCatalogueTree.h"
#include "catalogue/CCatalogueWriter.h"
#include "db/CConnection.h"
#include "db/CDbException.h"
#include "documents/CFormStore.h"
#include "documents/EntryLineMath.h"
#include "documents/Oddnum.h"
#include "text/Cents.h"
#include "ui/CDbAction.h"

namespace {

constexpr int kProducts = 20;       // products 0101000001 ... that the documents use
constexpr int kLines = 60;          // lines of every document
constexpr int kStartStock = 100000; // of each product: sales-out never runs short
constexpr int kMovedNodes = 8;      // level-2 nodes under the level-1 node that is renumbered
constexpr int kMovedProducts = 25;  // products under each of them
const QStringList kMovedCodes = {"08", "09"}; // the renumbered node alternates between them

QString ProductCode(int p) {
    return QStringLiteral("0101%1").arg(p + 1, 6, 10, QChar(u'0'));
}

QString EnvOr(const char* name, const QString& fallback) {
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? fallback : value;
}

// ---- the child: works until it is killed ---------------------------------------------------

// A quantity with up to two decimals, and its price: every line amount is exact.
QString RandomCount(QRandomGenerator& random) {
    const int cents = 100 * int(random.bounded(1, 6)) + (random.bounded(4) == 0 ? 50 : 0);
    return CentsText(cents);
}

void SaveSaleDocument(const DocumentForm& kind, const QDate& date, QRandomGenerator& random) {
    const CFormStore store(kind);
    const QString table = store.Documents().Table().table;
    DocumentHeader header{NewOddnum(table, date),
                          QStringLiteral("客户甲"),
                          date.toString("yyyy-MM-dd") + " 10:00:00",
                          "0.00",
                          "0.00",
                          "结清",
                          "员工",
                          "1"};
    QVector<ScreenLine> screen;
    for (int i = 0; i < kLines; ++i) {
        const QString count = RandomCount(random);
        const QString code = ProductCode(int(random.bounded(kProducts)));
        const DocumentLine line{"商品", "商品", code,  "10个/箱",
                                "2.00", count,  "1.0", CentsText(2 * CentsOf(count)),
                                "",     ""};
        screen.append({store.LineTexts(line), std::nullopt});
    }
    std::optional<QStringList> remembered;
    // The first save, then (often) a second one with other quantities, as a user who corrects
    // a saved document does: the stored rows are rewritten and the stock moves by the change.
    for (int round = 0; round < 2; ++round) {
        std::optional<DocumentWrite> write;
        RunDbAction(nullptr, QStringLiteral("保存单据"), [&] {
            if (!remembered)
                header.oddnum = store.Documents().FirstSaveNumber(header.oddnum, nullptr);
            if (header.oddnum.isEmpty())
                throw CDbException(QStringLiteral("单号已用完"));
            write = store.Documents().Save(header.oddnum, store.HeaderTexts(header), screen,
                                           remembered);
            if (write->result != DocumentWrite::Result::Written)
                throw CDbException(write->message);
        });
        if (!write || write->result != DocumentWrite::Result::Written)
            ::exit(1);
        remembered = write->header;
        if (random.bounded(2) == 0)
            return;
        for (ScreenLine& line : screen) {
            line.origin = store.Documents().StoredTexts(line.texts);
            const QString count = RandomCount(random);
            line.texts[5] = count;
            line.texts[7] = CentsText(2 * CentsOf(count));
        }
    }
}

void SaveEntry(const QDate& date, QRandomGenerator& random) {
    const CDocumentStore store(DocumentTable::Entry());
    QString oddnum = NewOddnum("entry", date);
    QVector<ScreenLine> screen;
    for (int i = 0; i < kLines; ++i) {
        const QString count = RandomCount(random);
        const DocumentLine line{"商品",
                                "商品",
                                ProductCode(int(random.bounded(kProducts))),
                                "10个/箱",
                                "3.00",
                                count,
                                QString(),
                                CentsText(3 * CentsOf(count))};
        screen.append({CFormStore(DocumentForm::Entry()).LineTexts(line), std::nullopt});
    }
    const QStringList header{"供货商乙", date.toString("yyyy-MM-dd") + " 11:00:00", "0.00", "未付"};
    bool written = false;
    RunDbAction(nullptr, QStringLiteral("保存入库单"), [&] {
        oddnum = store.FirstSaveNumber(oddnum, nullptr);
        if (oddnum.isEmpty())
            throw CDbException(QStringLiteral("单号已用完"));
        const DocumentWrite write = store.Save(oddnum, header, screen, std::nullopt);
        if (write.result != DocumentWrite::Result::Written)
            throw CDbException(write.message);
        written = true;
    });
    if (!written)
        ::exit(1);
}

// The level-1 node with its hundreds of products takes the other of its two codes, as the
// coding window's save of list 1 does after the user typed the new code.
void RenumberLevel() {
    CCatalogueTree tree;
    const SqlStatement sql = tree.LevelSql(1);
    CCatalogueWriter::Result result;
    RunDbAction(nullptr, QStringLiteral("保存商品编码"), [&] {
        QVector<CatalogueListRow> rows;
        for (const CatalogueRow& record : CCatalogueTree::ReadRows(sql, 1)) {
            CatalogueListRow row{record, record};
            if (kMovedCodes.contains(record.code))
                row.shown.code = kMovedCodes.at(1 - kMovedCodes.indexOf(record.code));
            rows.append(row);
        }
        result = CCatalogueWriter::Save(1, sql, QString(), rows);
    });
    if (!result.strRefusal.isEmpty() || result.nWritten == 0) {
        qWarning("renumbering refused: %s", qPrintable(result.strRefusal));
        ::exit(1);
    }
}

int RunWorker(const QString& where, quint32 seed, const QDate& date) {
    auto connection = std::make_shared<CConnection>();
    if (TestDatabase::OnServer())
        connection->OpenServer(TestDatabase::ServerFor(where));
    else
        connection->OpenFile(where);
    Db() = connection;
    SetMessageBoxHook([](const MessageRecord& message) {
        qWarning("worker: %s", qPrintable(message.text));
        ::exit(1);
        return int(IDOK);
    });
    QRandomGenerator random(seed);
    QTextStream(stdout) << "ready" << Qt::endl;
    for (;;) {
        switch (random.bounded(4)) {
        case 0:
            SaveSaleDocument(DocumentForm::SaleOut(), date, random);
            break;
        case 1:
            SaveSaleDocument(DocumentForm::SaleIn(), date, random);
            break;
        case 2:
            SaveEntry(date, random);
            break;
        default:
            RenumberLevel();
            break;
        }
    }
}

// ---- the checks after a kill ---------------------------------------------------------------

struct Totals {
    int documents = 0;
    QHash<QString, qint64> moved; // per product code: the stock its stored lines moved
};

// Every document of the table: one set of header figures on all its rows, the amount due the
// sum of its lines, all of its lines present.
void CheckDocuments(TestDatabase& db, const QString& table, const QString& headerSql, int stockSign,
                    Totals* totals) {
    QHash<QString, QSet<QString>> headers;
    QHash<QString, qint64> lineSums, due;
    QHash<QString, int> lines;
    for (const QString& row : db.Rows(QStringLiteral("SELECT oddnum, %1, code, \"count\", total "
                                                     "FROM %2")
                                          .arg(headerSql, table))) {
        const QStringList fields = row.split(u'|');
        const QString oddnum = fields.first();
        const int n = fields.size();
        headers[oddnum].insert(fields.mid(1, n - 4).join(u'|'));
        due[oddnum] = CentsOf(fields.at(1));
        lineSums[oddnum] += CentsOf(fields.at(n - 1));
        ++lines[oddnum];
        totals->moved[fields.at(n - 3)] += stockSign * CentsOf(fields.at(n - 2));
    }
    for (auto it = headers.cbegin(); it != headers.cend(); ++it) {
        const QString& oddnum = it.key();
        QVERIFY2(it.value().size() == 1, qPrintable(table + " " + oddnum));
        QVERIFY2(lines.value(oddnum) == kLines, qPrintable(table + " " + oddnum));
        QVERIFY2(due.value(oddnum) == lineSums.value(oddnum), qPrintable(table + " " + oddnum));
    }
    totals->documents += headers.size();
}

// Every product code has its specification and the levels above it; the renumbered subtree is
// whole under one of its two codes.
void CheckCatalogue(TestDatabase& db) {
    const QString orphans =
        db.Value("SELECT count(*) FROM property p WHERE "
                 "NOT EXISTS (SELECT 1 FROM name5 WHERE bh=p.code) "
                 "OR NOT EXISTS (SELECT 1 FROM name1 WHERE bh=substr(p.code, 1, 2)) "
                 "OR (substr(p.code, 3, 2)<>'00' AND "
                 "    NOT EXISTS (SELECT 1 FROM name2 WHERE bh=substr(p.code, 1, 4)))");
    QCOMPARE(orphans, "0");
    const QStringList moved = db.Rows("SELECT bh FROM name1 WHERE bh IN ('08', '09')");
    QCOMPARE(moved.size(), 1);
    const QVariantList prefix{moved.first() + "%"};
    QCOMPARE(db.Value("SELECT count(*) FROM name2 WHERE bh LIKE ?", prefix),
             QString::number(kMovedNodes));
    QCOMPARE(db.Value("SELECT count(*) FROM name5 WHERE bh LIKE ?", prefix),
             QString::number(kMovedNodes * kMovedProducts));
    QCOMPARE(db.Value("SELECT count(*) FROM property WHERE code LIKE ?", prefix),
             QString::number(kMovedNodes * kMovedProducts));
    QCOMPARE(db.Value("SELECT count(*) FROM property WHERE name LIKE '灯具-%'"),
             QString::number(kMovedNodes * kMovedProducts));
}

void SeedShop(TestDatabase& db) {
    db.Exec("BEGIN");
    db.Exec("INSERT INTO name1 (bh, mc) VALUES ('01', '开关')");
    db.Exec("INSERT INTO name2 (bh, mc) VALUES ('0101', '面板')");
    for (int p = 0; p < kProducts; ++p) {
        db.Exec("INSERT INTO name5 (bh, \"count\", pack) VALUES (?, '10', '个/箱')",
                {ProductCode(p)});
        db.Exec("INSERT INTO property (code, name, shortname, spec, price, total) "
                "VALUES (?, '开关-面板', '面板', '10个/箱', '2.00', ?)",
                {ProductCode(p), QString::number(kStartStock)});
    }
    db.Exec("INSERT INTO name1 (bh, mc) VALUES ('09', '灯具')");
    for (int n = 1; n <= kMovedNodes; ++n) {
        const QString node = QStringLiteral("09%1").arg(n, 2, 10, QChar(u'0'));
        db.Exec("INSERT INTO name2 (bh, mc) VALUES (?, ?)", {node, QStringLiteral("灯%1").arg(n)});
        for (int p = 1; p <= kMovedProducts; ++p) {
            const QString code = node + QStringLiteral("0000%1").arg(p, 2, 10, QChar(u'0'));
            db.Exec("INSERT INTO name5 (bh, \"count\", pack) VALUES (?, '1', '个')", {code});
            db.Exec("INSERT INTO property (code, name, spec, total) VALUES (?, ?, '1个', '5')",
                    {code, QStringLiteral("灯具-灯%1").arg(n)});
        }
    }
    db.Exec("COMMIT");
}

} // namespace

class TestCrashConsistency : public QObject {
    Q_OBJECT

  private slots:
    void killedSavesLeaveNoTrace() {
        TestDatabase db;
        SeedShop(db);
        const QString where = TestDatabase::OnServer() ? db.Address().database : db.Path();
        const quint32 seed = EnvOr("HARBOR_CRASH_SEED", "20261207").toUInt();
        const int kills = EnvOr("HARBOR_CRASH_KILLS", "50").toInt();
        qInfo("seed %u, %d kills", seed, kills);
        QRandomGenerator random(seed);
        int renumbered = 0;
        QString lastLevel = "09";
        Totals totals;
        for (int k = 0; k < kills; ++k) {
            // Each run saves under a date of its own, so no date runs out of numbers.
            const QDate date = QDate(2026, 1, 1).addDays(k);
            QProcess worker;
            worker.setProcessChannelMode(QProcess::SeparateChannels);
            worker.setReadChannel(QProcess::StandardOutput);
            worker.start(QCoreApplication::applicationFilePath(),
                         {"--worker", where, QString::number(random.generate()),
                          date.toString(Qt::ISODate)});
            QVERIFY(worker.waitForStarted());
            QVERIFY2(worker.waitForReadyRead(60 * 1000), worker.readAllStandardError());
            // On a slow machine (a sanitizer build, a busy computer) the second half of the
            // kills waits longer when none has yet fallen after a finished renumbering.
            const int stretch = renumbered == 0 && k >= kills / 2 ? 8 : 1;
            QThread::msleep(20 + random.bounded(400) * stretch);
            QVERIFY2(worker.state() == QProcess::Running, worker.readAllStandardError());
            worker.kill(); // SIGKILL
            QVERIFY(worker.waitForFinished(60 * 1000));
            QCOMPARE(worker.exitStatus(), QProcess::CrashExit);

            if (!TestDatabase::OnServer())
                QCOMPARE(db.Value("PRAGMA integrity_check"), "ok");
            totals = Totals();
            CheckDocuments(db, "saleout", "receivable, receipt, state, customer, mydate", -1,
                           &totals);
            CheckDocuments(db, "salein", "receivable, receipt, state, customer, mydate", 1,
                           &totals);
            CheckDocuments(db, "entry", "money, state, supplier, mydate", 1, &totals);
            if (QTest::currentTestFailed())
                return;
            for (int p = 0; p < kProducts; ++p) {
                const QString code = ProductCode(p);
                QCOMPARE(CentsOf(db.Value("SELECT total FROM property WHERE code=?", {code})),
                         100 * qint64(kStartStock) + totals.moved.value(code));
            }
            CheckCatalogue(db);
            if (QTest::currentTestFailed())
                return;
            const QString level = db.Value("SELECT bh FROM name1 WHERE bh IN ('08', '09')");
            renumbered += level != lastLevel;
            lastLevel = level;
        }
        // The kills fell among finished work too: documents were saved and the level moved.
        qInfo("%d documents saved, the level moved %d times", totals.documents, renumbered);
        QVERIFY(totals.documents > 0);
        QVERIFY(renumbered > 0);
    }
};

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc == 5 && qstrcmp(argv[1], "--worker") == 0)
        return RunWorker(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]).toUInt(),
                         QDate::fromString(QString::fromLocal8Bit(argv[4]), Qt::ISODate));
    TestCrashConsistency test;
    return QTest::qExec(&test, argc, argv);
}

#include "db/Db.h"
#include "tst_crashconsistency.moc"
