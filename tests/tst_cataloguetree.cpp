#include <QtTest>

#include "catalogue/CCatalogueTree.h"
#include "catalogue/CCatalogueWriter.h"
#include "support/TestDatabase.h"

class TestCatalogueTree : public QObject {
    Q_OBJECT

  private slots:
    void fullNameJoinsNamesWithoutGaps();
    void selectingANodeForgetsDeeperLevels();
    void skippedLevelsBecomeZeros();
    void newCodesFollowTheRowNumber();
    void readsChildrenAndSpecifications();
    void pathCodesMatchOnlyThemselves();
    void checksCodesOfOneList();
};

void TestCatalogueTree::fullNameJoinsNamesWithoutGaps() {
    CCatalogueTree path;
    QCOMPARE(path.FullName(), "");
    path.m_strName[1] = "开关";
    QCOMPARE(path.FullName(), "开关");
    path.m_strName[2] = "墙壁开关";
    path.m_strName[3] = "单开";
    path.m_strName[4] = "白色";
    QCOMPARE(path.FullName(), "开关-墙壁开关-单开-白色");
    path.m_strName[2].clear();
    QCOMPARE(path.FullName(), "");
    path.m_strName[1].clear();
    path.m_strName[2] = "墙壁开关";
    QCOMPARE(path.FullName(), "");
}

void TestCatalogueTree::selectingANodeForgetsDeeperLevels() {
    CCatalogueTree path;
    for (int k = 1; k <= 4; ++k)
        path.SelectNode(k, QString("0%1").arg(k), QString("n%1").arg(k));
    path.m_strCode[5] = "09";
    QCOMPARE(path.FullCode(), "0102030409");
    path.SelectNode(2, "07", "seven");
    QCOMPARE(path.FullCode(), "0107");
    QCOMPARE(path.FullName(), "n1-seven");
    QVERIFY(path.HasParent(3));
    QVERIFY(!path.HasParent(4));
    QVERIFY(path.HasParent(5));
    path.Clear();
    QVERIFY(!path.HasParent(2));
    QVERIFY(!path.HasParent(5));
    QVERIFY(path.HasParent(1));
}

void TestCatalogueTree::skippedLevelsBecomeZeros() {
    CCatalogueTree path;
    path.SelectNode(1, "03", "灯具");
    path.m_strCode[5] = "02";
    path.FillSkippedLevels();
    QCOMPARE(path.FullCode(), "0300000002");
    QCOMPARE(path.FullName(), "灯具");
    QVERIFY(path.HasParent(3));
    QCOMPARE(path.ParentPrefix(3), "0300");
}

void TestCatalogueTree::newCodesFollowTheRowNumber() {
    QCOMPARE(CCatalogueTree::NewLevelCode(1), "01");
    QCOMPARE(CCatalogueTree::NewLevelCode(9), "09");
    QCOMPARE(CCatalogueTree::NewLevelCode(10), "10");
    QCOMPARE(CCatalogueTree::NewLevelCode(42), "42");
}

void TestCatalogueTree::readsChildrenAndSpecifications() {
    TestDatabase db;
    db.Exec("INSERT INTO name1 VALUES ('02', 'b')");
    db.Exec("INSERT INTO name1 VALUES ('01', 'a')");
    db.Exec("INSERT INTO name2 VALUES ('0103', 'a3')");
    db.Exec("INSERT INTO name2 VALUES ('0101', 'a1')");
    db.Exec("INSERT INTO name2 VALUES ('0201', 'b1')");
    db.Exec("INSERT INTO name3 VALUES ('010301', 'a31')");
    db.Exec("INSERT INTO name5 VALUES ('0100000002', '5', '个/箱')");
    db.Exec("INSERT INTO name5 VALUES ('0100000001', '10', NULL)");
    db.Exec("INSERT INTO name5 VALUES ('0103000001', '7', '个')");
    db.Exec("INSERT INTO name5 VALUES ('0103010001', '8', '个')");

    CCatalogueTree path;
    const QVector<CatalogueRow> level1 = path.ReadLevel(1);
    QCOMPARE(level1.size(), 2);
    QCOMPARE(level1.at(0).code, "01");
    QCOMPARE(level1.at(1).name, "b");

    path.SelectNode(1, "01", "a");
    const QVector<CatalogueRow> level2 = path.ReadLevel(2);
    QCOMPARE(level2.size(), 2);
    QCOMPARE(level2.at(0).bh, "0101");
    QCOMPARE(level2.at(1).code, "03");
    QCOMPARE(level2.at(1).name, "a3");

    const QVector<CatalogueRow> specs = path.ReadSpecs(1);
    QCOMPARE(specs.size(), 2);
    QCOMPARE(specs.at(0).Spec(), "10");
    QCOMPARE(specs.at(1).Spec(), "5个/箱");
    QCOMPARE(specs.at(1).code, "02");

    path.SelectNode(2, "03", "a3");
    QCOMPARE(path.ReadLevel(3).at(0).code, "01");
    QCOMPARE(path.ReadSpecs(2).size(), 1);
    path.SelectNode(3, "01", "a31");
    QCOMPARE(path.ReadSpecs(3).at(0).bh, "0103010001");
    QCOMPARE(path.ReadSpecs(3).at(0).count, "8");
}

void TestCatalogueTree::pathCodesMatchOnlyThemselves() {
    TestDatabase db;
    db.Exec("INSERT INTO name2 VALUES ('0101', 'a1')");
    db.Exec("INSERT INTO name5 VALUES ('0100000001', '1', '个')");
    CCatalogueTree path;
    path.SelectNode(1, "0_", "x");
    QVERIFY(path.ReadLevel(2).isEmpty());
    QVERIFY(path.ReadSpecs(1).isEmpty());
    path.SelectNode(1, "%", "x");
    QVERIFY(path.ReadLevel(2).isEmpty());
    path.SelectNode(1, "0'", "x");
    QVERIFY(path.ReadLevel(2).isEmpty());
}

void TestCatalogueTree::checksCodesOfOneList() {
    QCOMPARE(CCatalogueWriter::CheckCodes({"01", "02"}, {"03"}), "");
    QVERIFY(CCatalogueWriter::CheckCodes({"03"}, {"01", "03"}).contains("03"));
    QVERIFY(CCatalogueWriter::CheckCodes({"05", "05"}, {}).contains("重复"));
    for (const char* bad : {"", "1", "100", "0a", "00"})
        QVERIFY2(!CCatalogueWriter::CheckCodes({bad}, {}).isEmpty(), bad);
    // Codes already stored are not judged by their form, only for repeats.
    QCOMPARE(CCatalogueWriter::CheckCodes({}, {"1", "x"}), "");
}

QTEST_MAIN(TestCatalogueTree)
#include "tst_cataloguetree.moc"
