// The one statement path: bound values, prepared statements kept per text, forward reads,
// repaired text, the opened file watched, schema upgrades, and what opening says is wrong.
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

#include "MessageScript.h"
#include "ModalDriver.h"
#include "TestDatabase.h"
#include "app/CConnection.h"
#include "app/CDbAction.h"
#include "app/CDbException.h"
#include "app/CHarborApp.h"
#include "app/CLansetDlg.h"
#include "app/CRecordset.h"
#include "app/CSqlReader.h"
#include "app/DatabaseInit.h"
#include "app/SchemaUpgrade.h"
#include "app/SqlText.h"

namespace {

CDbException::Kind OpenFailureKind(const QString& path, QString* message = nullptr) {
    CConnection connection;
    try {
        connection.OpenFile(path);
    } catch (const CDbException& e) {
        if (message)
            *message = e.Message();
        return e.GetKind();
    }
    return CDbException::Kind::Engine;
}

void Overwrite(const QString& path, qint64 offset, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.seek(offset));
    file.write(bytes);
}

} // namespace

class TestStatementPath : public QObject {
    Q_OBJECT

  private slots:
    void statementsArePreparedOnceAndReused() {
        TestDatabase db;
        CConnection& connection = *theApp.m_pConnection;
        const int before = connection.CachedStatementCount();
        for (int i = 0; i < 50; ++i)
            connection.Execute("INSERT INTO customer (mc, phone) VALUES (?, ?)",
                               {QStringLiteral("客户%1").arg(i), QString::number(i)});
        QCOMPARE(connection.CachedStatementCount(), before + 1);
        QCOMPARE(db.Value("SELECT count(*) FROM customer"), QString("50"));
        // Each run binds its own values: nothing of the previous run is left over.
        QCOMPARE(db.Value("SELECT phone FROM customer WHERE mc=?", {"客户49"}), QString("49"));
        QCOMPARE(db.Value("SELECT phone FROM customer WHERE mc=?", {"客户7"}), QString("7"));
    }

    void nestedReadsOfOneStatementStayApart() {
        TestDatabase db;
        for (const char* name : {"甲", "乙", "丙"})
            db.Exec("INSERT INTO customer (mc) VALUES (?)", {QString::fromUtf8(name)});
        const QString sql = QStringLiteral("SELECT mc FROM customer WHERE mc<>? ORDER BY rowid");
        QStringList pairs;
        CSqlReader outer(sql, {QStringLiteral("无")});
        while (outer.Next()) {
            CSqlReader inner(sql, {outer.Text(0)});
            while (inner.Next())
                pairs << outer.Text(0) + inner.Text(0);
        }
        QCOMPARE(pairs, QStringList({"甲乙", "甲丙", "乙甲", "乙丙", "丙甲", "丙乙"}));
        // A finished read leaves no statement open: a write and a checkpoint go through.
        db.Exec("DELETE FROM customer");
        QCOMPARE(db.Value("PRAGMA wal_checkpoint(TRUNCATE)"), QString("0"));
    }

    void emptyTextIsStoredAsEmptyTextNotNull() {
        TestDatabase db;
        db.Exec("INSERT INTO customer (mc, phone, address) VALUES (?, ?, ?)",
                {"甲", QString(), QVariant()});
        QCOMPARE(db.Value("SELECT typeof(phone) || typeof(address) FROM customer"),
                 QString("textnull"));
        CRecordset rs;
        rs.Open("SELECT * FROM customer");
        rs.AddNew();
        rs.PutCollect("mc", "乙");
        rs.PutCollect("remark", QString());
        rs.Update();
        QCOMPARE(db.Value("SELECT typeof(remark) FROM customer WHERE mc='乙'"), QString("text"));
    }

    void readerFindsColumnsOnceAndReadsNullAsEmpty() {
        TestDatabase db;
        db.Exec("INSERT INTO saleout (oddnum, freceivable, pcs) VALUES ('1', 12.5, NULL)");
        CSqlReader reader("SELECT oddnum, FReceivable, pcs FROM saleout");
        const int amount = reader.Column("freceivable");
        QVERIFY_THROWS_EXCEPTION(CDbException, reader.Column("nosuch"));
        QVERIFY(reader.Next());
        QCOMPARE(reader.Text(amount), QString("12.5"));
        QCOMPARE(reader.Text(reader.Column("pcs")), QString());
        QVERIFY(!reader.Next());
        QCOMPARE(SqlScalar("SELECT mc FROM customer"), QString());
    }

    // SQLite is read through its C interface: each kind of value comes back as it went in,
    // and its text is the one SqlValueText gives.
    void valuesKeepTheirKindThroughTheEngine() {
        TestDatabase db;
        const QByteArray bytes("\x00\x01\xfe", 3);
        db.Exec("INSERT INTO saleout (oddnum, freceivable, freceipt, pcs, remarks, mc) VALUES "
                "(?, ?, ?, ?, ?, ?)",
                {qlonglong(20261207001), 123.449997, 12.0, QVariant(), bytes, QString()});
        CSqlReader reader("SELECT 42 AS n, freceivable, freceipt, pcs, remarks, mc, oddnum FROM "
                          "saleout");
        QCOMPARE(reader.ColumnCount(), 7);
        QCOMPARE(reader.ColumnName(0), QString("n"));
        QVERIFY(reader.Next());
        QCOMPARE(reader.Value(0).typeId(), int(QMetaType::LongLong));
        QCOMPARE(reader.Value(1).typeId(), int(QMetaType::Double));
        QVERIFY(reader.Value(3).isNull());
        QCOMPARE(reader.Value(4).toByteArray(), bytes);
        QCOMPARE(reader.Value(5).toString(), QString(""));
        QCOMPARE(reader.Value(6).toString(), QString("20261207001")); // a text column
        const QStringList texts = {"42", "123.449997", "12", "", QString::fromUtf8(bytes),
                                   "",   "20261207001"};
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(reader.Text(i), SqlValueText(reader.Value(i)));
            QCOMPARE(reader.Text(i), texts[i]);
        }
        QVERIFY(!reader.Next());
        QVERIFY(!reader.Next()); // stays at the end
    }

    void wrongNumberOfValuesIsRefusedAndTheStatementStaysUsable() {
        TestDatabase db;
        CConnection& connection = *theApp.m_pConnection;
        const QString insert = QStringLiteral("INSERT INTO customer (mc, phone) VALUES (?, ?)");
        QVERIFY_THROWS_EXCEPTION(CDbException, connection.Execute(insert, {"甲"}));
        QVERIFY_THROWS_EXCEPTION(CDbException, connection.Execute(insert, {"甲", "1", "2"}));
        QCOMPARE(db.Value("SELECT count(*) FROM customer"), QString("0"));
        QCOMPARE(connection.Execute(insert, {"甲", "1"}), 1);
        QCOMPARE(connection.Execute("UPDATE customer SET phone=? WHERE mc=?", {"2", "乙"}), 0);
        QCOMPARE(db.Rows("SELECT mc, phone FROM customer"), QStringList({"甲|1"}));
    }

    // An error met while the rows are read is reported, not taken for the end of the result.
    void failureWhileReadingIsNotTakenForTheEnd() {
        TestDatabase db;
        for (const char* name : {"甲", "乙", "丙"})
            db.Exec("INSERT INTO customer (mc) VALUES (?)", {QString::fromUtf8(name)});
        CSqlReader reader("SELECT CASE WHEN mc=? THEN abs(-9223372036854775807 - 1) ELSE 1 END "
                          "FROM customer ORDER BY rowid",
                          {"乙"});
        QVERIFY(reader.Next());
        QVERIFY_THROWS_EXCEPTION(CDbException, reader.Next());
        // The statement was given back: the next run of it reads afresh.
        CSqlReader again("SELECT CASE WHEN mc=? THEN abs(-9223372036854775807 - 1) ELSE 1 END "
                         "FROM customer ORDER BY rowid",
                         {"无"});
        int rows = 0;
        while (again.Next())
            ++rows;
        QCOMPARE(rows, 3);
    }

    // A read still open when the connection closes ends there, without touching freed memory
    // (the sanitizer build checks the latter).
    void readOpenWhileTheConnectionClosesEnds() {
        TestDatabase db;
        for (int i = 0; i < 3; ++i)
            db.Exec("INSERT INTO customer (mc) VALUES (?)", {QString::number(i)});
        CSqlReader reader("SELECT mc FROM customer");
        QVERIFY(reader.Next());
        theApp.m_pConnection->Close();
        QVERIFY(!reader.Next());
        QCOMPARE(reader.Text(0), QString());
    }

    void hostileTextIsStoredExactlyOrRepaired() {
        TestDatabase db;
        const QString quotes = QStringLiteral("O'Neil'; DROP TABLE property; --");
        const QString nul = QStringLiteral("甲") + QChar(0) + QStringLiteral("乙");
        const QString loneSurrogate = QString(QChar(0xD83D)) + QStringLiteral("'");
        const QString emoji = QStringLiteral("扳手🔧");
        for (const QString& name : {quotes, nul, loneSurrogate, emoji})
            db.Exec("INSERT INTO customer (mc) VALUES (?)", {name});
        QCOMPARE(db.Value("SELECT count(*) FROM property"), QString("0")); // the table is there
        QCOMPARE(db.Value("SELECT mc FROM customer WHERE mc=?", {quotes}), quotes);
        QCOMPARE(db.Value("SELECT mc FROM customer WHERE mc=?", {emoji}), emoji);
        // Half an emoji becomes U+FFFD; the quote after it stays a quote.
        const QString repaired = QString(QChar(QChar::ReplacementCharacter)) + QStringLiteral("'");
        QCOMPARE(db.Value("SELECT count(*) FROM customer WHERE mc=?", {repaired}), QString("1"));
        // A name with a NUL can be found and deleted like any other.
        CRecordset rs;
        rs.Open("select * from customer where mc=?", {nul});
        QCOMPARE(rs.GetRecordCount(), 1);
        QCOMPARE(rs.GetCollect("mc"), nul);
        rs.Delete();
        QCOMPARE(db.Value("SELECT count(*) FROM customer"), QString("3"));
        QCOMPARE(RepairText(emoji), emoji);
        QCOMPARE(RepairText(QString(QChar(0xDC00)) + QChar(0xD800)),
                 QString(2, QChar(QChar::ReplacementCharacter)));
    }

    void deletedOrReplacedFileIsNoticedBeforeTheWrite() {
        for (const bool replace : {false, true}) {
            TestDatabase db;
            MessageScript messages;
            db.Exec("INSERT INTO employee (name) VALUES ('甲')");
            db.Exec("PRAGMA wal_checkpoint(TRUNCATE)");
            if (replace) {
                // Another copy of the shop put in its place (a restore done by hand).
                const QString copy = db.Folder() + "/copy.accdb";
                CreateEmptyDatabase(copy);
                QVERIFY(QFile::remove(db.Path()));
                QVERIFY(QFile::rename(copy, db.Path()));
            } else {
                QVERIFY(QFile::remove(db.Path()));
            }
            // The user is sent to the connection settings and leaves them.
            ModalDriver<CLansetDlg> settings({[](CLansetDlg* dialog) { dialog->reject(); }});
            const bool saved = RunDbAction(nullptr, QStringLiteral("保存员工"), [] {
                theApp.m_pConnection->Execute("INSERT INTO employee (name) VALUES ('乙')");
            });
            QVERIFY(!saved);
            QVERIFY2(messages.Last().contains("数据库文件已被删除或移动"),
                     qPrintable(messages.Last()));
            QCOMPARE(settings.Handled(), 1);
            QVERIFY(!theApp.m_pConnection->IsOpen());
            if (replace) {
                CConnection check;
                check.OpenFile(db.Path());
                CSqlReader reader(check, "SELECT count(*) FROM employee");
                QVERIFY(reader.Next());
                QCOMPARE(reader.Text(0), QString("0")); // nothing reached the new file
            }
        }
    }

    void openSaysWhatIsWrong() {
        QTemporaryDir dir;
        const QString path = dir.filePath("Harbor.accdb");
        CreateEmptyDatabase(path);
        QString message;

        // Damaged pages: the quick check at open names the file as damaged.
        {
            CConnection connection;
            connection.OpenFile(path);
            for (int i = 0; i < 300; ++i)
                connection.Execute("INSERT INTO customer (mc, address) VALUES (?, ?)",
                                   {QString::number(i), QString(200, QChar('x'))});
            connection.Execute("PRAGMA wal_checkpoint(TRUNCATE)");
        }
        Overwrite(path, 4096 * 3, QByteArray(4096 * 4, '\x5a'));
        QCOMPARE(OpenFailureKind(path, &message), CDbException::Kind::Damaged);
        QVERIFY2(message.contains("已损坏") && message.contains("备份"), qPrintable(message));

        // A header that is not SQLite's at all: some other file, not a damaged shop.
        Overwrite(path, 0, QByteArray(100, 'x'));
        QCOMPARE(OpenFailureKind(path, &message), CDbException::Kind::Engine);
        QVERIFY2(message.contains("不是本系统的数据库"), qPrintable(message));

        // Another workstation holds the database exclusively: busy, never "not ours".
        const QString other = dir.filePath("other.accdb");
        CreateEmptyDatabase(other);
        CConnection holder;
        holder.OpenFile(other);
        holder.Execute("PRAGMA locking_mode=EXCLUSIVE");
        holder.BeginTransaction();
        holder.Execute("INSERT INTO employee (name) VALUES ('甲')");
        QCOMPARE(OpenFailureKind(other, &message), CDbException::Kind::Busy);
        QVERIFY2(message.contains("另一台电脑") && !message.contains("不是本系统"),
                 qPrintable(message));
        holder.Rollback();
    }

    void upgradesRunInOneTransactionAndRecordTheVersion() {
        TestDatabase db;
        CConnection& connection = *theApp.m_pConnection;
        const int current = CurrentSchemaVersion();
        QCOMPARE(connection.SchemaVersion(), current);
        QCOMPARE(db.Value("SELECT version FROM harbor_schema").toInt(), current);

        const QList<SchemaUpgradeStep> steps = {
            {current + 1, {"CREATE TABLE harbor_note (text TEXT)"}},
            {current + 2, {"CREATE INDEX harbor_note_text ON harbor_note (text)"}}};
        QCOMPARE(UpgradeSchema(connection, current, steps), current + 2);
        QCOMPARE(db.Value("SELECT version FROM harbor_schema").toInt(), current + 2);
        QCOMPARE(db.Value("SELECT count(*) FROM sqlite_master WHERE name LIKE 'harbor_note%'"),
                 QString("2"));

        // A failing step leaves the database as it was.
        const QList<SchemaUpgradeStep> broken = {
            {current + 3, {"CREATE TABLE harbor_more (x TEXT)", "CREATE INDEX bad ON nosuch (x)"}}};
        QVERIFY_THROWS_EXCEPTION(CDbException, UpgradeSchema(connection, current + 2, broken));
        QCOMPARE(db.Value("SELECT version FROM harbor_schema").toInt(), current + 2);
        QCOMPARE(db.Value("SELECT count(*) FROM sqlite_master WHERE name='harbor_more'"),
                 QString("0"));
        QVERIFY(!connection.InTransaction());

        // An older shop file is brought up to this version when it is opened.
        {
            QTemporaryDir dir;
            const QString old = dir.filePath("old.accdb");
            {
                QSqlDatabase raw = QSqlDatabase::addDatabase("QSQLITE", "raw-v1");
                raw.setDatabaseName(old);
                QVERIFY(raw.open());
                QSqlQuery query(raw);
                for (const QString& statement : SchemaStatements())
                    QVERIFY2(query.exec(statement), qPrintable(statement));
                raw.close();
            }
            QSqlDatabase::removeDatabase("raw-v1");
            CConnection upgraded;
            upgraded.OpenFile(old);
            QCOMPARE(upgraded.SchemaVersion(), current);
            CSqlReader reader(upgraded, "SELECT count(*) FROM sqlite_master WHERE name='minstock'");
            QVERIFY(reader.Next());
            QCOMPARE(reader.Text(0), QString(current >= 2 ? "1" : "0"));
        }

        // A database newer than the program is refused at open, unchanged.
        db.Exec("UPDATE harbor_schema SET version=?", {current + 10});
        QString message;
        OpenFailureKind(db.Path(), &message);
        QVERIFY2(message.contains("比本程序新"), qPrintable(message));
        QCOMPARE(db.Value("SELECT version FROM harbor_schema").toInt(), current + 10);
    }
};

QTEST_MAIN(TestStatementPath)
#include "tst_statementpath.moc"
