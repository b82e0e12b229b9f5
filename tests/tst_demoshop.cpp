// The demo shop: the same options give the same shop, and its figures add up like a real one's.
#include <QtTest>

#include "TestDatabase.h"
#include "admin/DemoOperators.h"
#include "admin/DemoShop.h"
#include "db/CConnection.h"
#include "db/CDbException.h"
#include "db/CSqlReader.h"
#include "text/PinyinInitials.h"

namespace {

const QStringList kTables = {"name1",    "name2",    "name3",    "name4",    "name5",
                             "property", "customer", "supplier", "employee", "companyinfo",
                             "saleout",  "salein",   "entry"};

QStringList Dump(const QString& path) {
    CConnection connection;
    connection.OpenFile(path);
    QStringList rows;
    for (const QString& table : kTables) {
        CSqlReader reader(connection, QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(table));
        while (reader.Next()) {
            QStringList values{table};
            for (int i = 0; i < reader.ColumnCount(); ++i)
                values << reader.Text(i);
            rows << values.join(QLatin1Char('|'));
        }
    }
    return rows;
}

QStringList Rows(CConnection& connection, const QString& sql) {
    CSqlReader reader(connection, sql);
    QStringList rows;
    while (reader.Next()) {
        QStringList values;
        for (int i = 0; i < reader.ColumnCount(); ++i)
            values << reader.Text(i);
        rows << values.join(QLatin1Char('|'));
    }
    return rows;
}

const DemoShopOptions kSmall{300, 2, 200, 2026, 7};

} // namespace

class TestDemoShop : public QObject {
    Q_OBJECT

  private slots:
    void sameOptionsGiveTheSameShop() {
        QTemporaryDir dir;
        MakeDemoShop(dir.filePath("a.accdb"), kSmall);
        MakeDemoShop(dir.filePath("b.accdb"), kSmall);
        DemoShopOptions other = kSmall;
        other.seed = 8;
        MakeDemoShop(dir.filePath("c.accdb"), other);
        const QStringList a = Dump(dir.filePath("a.accdb"));
        QVERIFY(a.size() > 2000);
        QCOMPARE(Dump(dir.filePath("b.accdb")), a);
        QVERIFY(Dump(dir.filePath("c.accdb")) != a);
        QVERIFY_THROWS_EXCEPTION(CDbException, MakeDemoShop(dir.filePath("a.accdb"), kSmall));
    }

    void figuresAddUpLikeARealShop() {
        QTemporaryDir dir;
        const QString path = dir.filePath("demo.accdb");
        MakeDemoShop(path, kSmall);
        CConnection db;
        db.OpenFile(path);
        QCOMPARE(SqlScalarOn(db, "SELECT count(*) FROM property"), QString("300"));

        // Every product hangs under stored levels, named after them, with its initials.
        QCOMPARE(Rows(db, "SELECT p.code FROM property p WHERE NOT EXISTS (SELECT 1 FROM name5 n "
                          "WHERE n.bh=p.code) OR NOT EXISTS (SELECT 1 FROM name4 n WHERE "
                          "n.bh=substr(p.code,1,8))"),
                 QStringList());
        CSqlReader products(
            db, "SELECT p.name, p.longpinyin, p.spec, n1.mc || '-' || n2.mc || '-' || "
                "n3.mc || '-' || n4.mc, n5.\"count\" || n5.pack FROM property p "
                "JOIN name1 n1 ON n1.bh=substr(p.code,1,2) JOIN name2 n2 ON "
                "n2.bh=substr(p.code,1,4) JOIN name3 n3 ON n3.bh=substr(p.code,1,6) "
                "JOIN name4 n4 ON n4.bh=substr(p.code,1,8) JOIN name5 n5 ON n5.bh=p.code");
        int checked = 0;
        while (products.Next()) {
            QCOMPARE(products.Text(0), products.Text(3));
            QCOMPARE(products.Text(1), GetPinyinInitials(products.Text(0)));
            QCOMPARE(products.Text(2), products.Text(4));
            ++checked;
        }
        QCOMPARE(checked, 300);

        // Every document's rows agree on the header, and the amount due is the sum of its lines.
        for (const char* table : {"saleout", "salein"}) {
            QCOMPARE(Rows(db, QStringLiteral("SELECT oddnum FROM %1 GROUP BY oddnum HAVING "
                                             "count(DISTINCT receivable || receipt || state || "
                                             "customer || mydate) > 1")
                                  .arg(table)),
                     QStringList());
            QCOMPARE(Rows(db, QStringLiteral("SELECT oddnum FROM %1 GROUP BY oddnum HAVING "
                                             "abs(sum(CAST(total AS REAL)) - max(freceivable)) > "
                                             "0.001 OR max(CAST(receivable AS REAL)) <> "
                                             "max(freceivable)")
                                  .arg(table)),
                     QStringList());
        }
        QCOMPARE(Rows(db, "SELECT oddnum FROM entry GROUP BY oddnum HAVING abs(sum(CAST(total AS "
                          "REAL)) - max(fmoney)) > 0.001"),
                 QStringList());
        // One number per document and day, never the same product twice in one document.
        QCOMPARE(
            Rows(db, "SELECT oddnum, code FROM saleout GROUP BY oddnum, code HAVING count(*) > 1"),
            QStringList());

        // The stock is what was there before plus the movements: the start lies between 50 and 800.
        // ("+" joins texts in the program's dialect, so the sales are taken off a negated sum.)
        const QStringList starts = Rows(
            db,
            "SELECT p.code, CAST(p.total AS REAL) - coalesce((SELECT sum(CAST(\"count\" AS REAL)) "
            "FROM entry e WHERE e.code=p.code), 0) - coalesce((SELECT sum(CAST(\"count\" AS "
            "REAL)) FROM salein s WHERE s.code=p.code), 0) - coalesce((SELECT "
            "-sum(CAST(\"count\" AS REAL)) FROM saleout s WHERE s.code=p.code), 0) FROM property "
            "p");
        QCOMPARE(starts.size(), 300);

        for (const QString& row : starts) {
            const double start = row.section('|', 1).toDouble();
            QVERIFY2(start >= 50 && start <= 800 && start == std::floor(start), qPrintable(row));
        }
    }

    // What --make-demo adds for a first look: four operators and a few logged days, among
    // them a sale deleted for good and one deleted and put back.
    void operatorsAndTheirLog() {
        QTemporaryDir dir;
        const QString path = dir.filePath("demo.accdb");
        MakeDemoShop(path, kSmall);
        Db() = std::make_shared<CConnection>();
        Db()->OpenFile(path);
        CConnection& db = *Db();
        const QStringList before = Rows(db, "SELECT oddnum FROM saleout GROUP BY oddnum "
                                            "ORDER BY oddnum DESC LIMIT 2");
        AddDemoOperators(db);
        QCOMPARE(SqlScalarOn(db, "SELECT count(*) FROM harbor_operator"), QString("4"));
        QCOMPARE(
            Rows(db, "SELECT oddnum, deletedby, restoredby FROM harbor_deleted ORDER BY oddnum"),
            (QStringList{before.at(1) + "|老板|老板", before.at(0) + "|老板|"}));
        QCOMPARE(
            Rows(db, "SELECT oddnum FROM saleout GROUP BY oddnum ORDER BY oddnum DESC LIMIT 1"),
            QStringList{before.at(1)});
        QCOMPARE(Rows(db, "SELECT action, operator FROM harbor_audit WHERE action IN "
                          "('删除销售单', '恢复单据') ORDER BY seq"),
                 (QStringList{"删除销售单|老板", "删除销售单|老板", "恢复单据|老板"}));
        Db().reset();
    }

  private:
    static QString SqlScalarOn(CConnection& db, const char* sql) {
        CSqlReader reader(db, QString::fromUtf8(sql));
        return reader.Next() ? reader.Text(0) : QString();
    }
};

QTEST_MAIN(TestDemoShop)
#include "db/Db.h"
#include "tst_demoshop.moc"
