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
    void productNamesFollowTheirLevels();
    void nodesMayNotHangUnderSkippedLevels();
    void planTiesRowsToTheirRecords();
    void planRefusesRowsWhoseRecordChanged();
    void planChecksNamesOfRowsItWrites();
    void rebuildsNamesFromStoredLevels();
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
    for (const char* bad : {"", "1", "100", "0a", "00", "０５", "0５", "٠٥", " 5"})
        QVERIFY2(!CCatalogueWriter::CheckCodes({bad}, {}).isEmpty(), bad);
    // Codes already stored are not judged by their form, only for repeats.
    QCOMPARE(CCatalogueWriter::CheckCodes({}, {"1", "x"}), "");
}

void TestCatalogueTree::productNamesFollowTheirLevels() {
    QCOMPARE(ProductFullName({"灯具", "灯泡", "", ""}), "灯具-灯泡");
    QCOMPARE(ProductFullName({"灯具", "", "", ""}), "灯具");
    QCOMPARE(ProductFullName({"灯具", "灯-泡", "E27", "白光"}), "灯具-灯-泡-E27-白光");
    QCOMPARE(ProductFullName({"灯具", "", "M8", ""}), ""); // hangs under a skipped level
    QCOMPARE(ProductFullName({"", "灯泡", "", ""}), "");
    QCOMPARE(LevelCodes("0103000001"), (QStringList{"01", "03", "00", "00"}));
    QCOMPARE(LevelCodes("0103"), (QStringList{"01", "03"}));
}

void TestCatalogueTree::nodesMayNotHangUnderSkippedLevels() {
    CCatalogueTree path;
    path.SelectNode(1, "01", "开关");
    QVERIFY(!path.HangsUnderSkippedLevel(2));
    QVERIFY(!path.HangsUnderSkippedLevel(3));
    path.FillSkippedLevels(); // a specification shown under level 1
    QVERIFY(path.HangsUnderSkippedLevel(3));
    QVERIFY(path.HangsUnderSkippedLevel(4));
    QVERIFY(!path.HangsUnderSkippedLevel(5)); // 01 00 00 00 L5 is a product of 开关
    path.m_strCode[3] = "01";
    QVERIFY(path.HangsUnderSkippedLevel(5));
    path.SelectNode(2, "02", "墙壁开关");
    path.FillSkippedLevels();
    QVERIFY(!path.HangsUnderSkippedLevel(3));
    QVERIFY(path.HangsUnderSkippedLevel(4));
    QVERIFY(!path.HangsUnderSkippedLevel(5));
}

namespace {

CatalogueRow Node(const QString& bh, const QString& name) {
    CatalogueRow row;
    row.bh = bh;
    row.code = bh.right(2);
    row.name = name;
    return row;
}

CatalogueListRow Loaded(const QString& bh, const QString& name) {
    return {Node(bh, name), Node(bh, name)};
}

CatalogueListRow Added(const QString& code, const QString& name) {
    CatalogueListRow row;
    row.shown.code = code;
    row.shown.name = name;
    return row;
}

} // namespace

void TestCatalogueTree::planTiesRowsToTheirRecords() {
    // Two nodes of one code (an older file): each row keeps its own.
    const QVector<CatalogueRow> records{Node("0101", "甲"), Node("0102", "乙"), Node("0102", "丙"),
                                        Node("0104", "丁")};
    QVector<CatalogueListRow> rows{Loaded("0102", "丙"), Loaded("0101", "甲"), Added("05", "戊"),
                                   Added("06", ""), Added("07", "己")};
    rows[0].shown.name = "丙二";
    rows[0].shown.code = "03";
    const CCatalogueWriter::Plan plan = CCatalogueWriter::PlanSave(2, "01", rows, records);
    QCOMPARE(plan.strRefusal, "");
    QCOMPARE(plan.rewrite, (QVector<int>{2, -1, -1, -1, -1}));
    QCOMPARE(plan.add, (QVector<bool>{false, false, true, false, false}));
    QCOMPARE(plan.nBlankRow, 3);
    QCOMPARE(plan.Writes(), 2);
    QCOMPARE(plan.moves.size(), 1);
    QCOMPARE(plan.moves.at(0).oldCode, "0102");
    QCOMPARE(plan.moves.at(0).newCode, "0103");
    QCOMPARE(plan.moves.at(0).newName, "丙二");

    // 乙 and 丁, which no row shows, keep their codes: a new row may not take them.
    rows[2].shown.code = "04";
    QVERIFY(CCatalogueWriter::PlanSave(2, "01", rows, records).strRefusal.contains("04"));
    rows[2].shown.code = "02";
    QVERIFY(CCatalogueWriter::PlanSave(2, "01", rows, records).strRefusal.contains("重复"));
    // Left with the code its twin has, 丙 cannot be saved either.
    rows[2].shown.code = "05";
    rows[0].shown.code = "02";
    QVERIFY(CCatalogueWriter::PlanSave(2, "01", rows, records).strRefusal.contains("重复"));
}

void TestCatalogueTree::planRefusesRowsWhoseRecordChanged() {
    const QVector<CatalogueRow> records{Node("02", "插座")};
    QVector<CatalogueListRow> rows{Loaded("01", "开关"), Loaded("02", "插座")};
    rows[1].shown.name = "插头";
    CCatalogueWriter::Plan plan = CCatalogueWriter::PlanSave(1, "", rows, records);
    QVERIFY(plan.bStale);
    QVERIFY(plan.strRefusal.startsWith("一级商品名称\"开关\"(编号01)"));
    QCOMPARE(plan.rewrite, (QVector<int>{-1, -1}));

    // The same record renamed elsewhere.
    plan = CCatalogueWriter::PlanSave(1, "", {Loaded("02", "插座")}, {Node("02", "插排")});
    QVERIFY(plan.bStale);
    QVERIFY(plan.strRefusal.contains("插座"));

    // A specification whose count changed elsewhere.
    CatalogueRow spec;
    spec.bh = "0100000001";
    spec.count = "10";
    spec.pack = "个/箱";
    CatalogueRow changed = spec;
    changed.count = "12";
    plan = CCatalogueWriter::PlanSave(5, "01000000", {{spec, spec}}, {changed});
    QVERIFY(plan.bStale);
    QVERIFY(plan.strRefusal.startsWith("规格\"10个/箱\"(编号01)"));
}

void TestCatalogueTree::planChecksNamesOfRowsItWrites() {
    const QVector<CatalogueRow> records{Node("01", "开关")};
    auto refusal = [&](const QVector<CatalogueListRow>& rows) {
        return CCatalogueWriter::PlanSave(1, "", rows, records).strRefusal;
    };
    CatalogueListRow renamed = Loaded("01", "开关");
    renamed.shown.name = " ";
    QCOMPARE(refusal({renamed}), "一级商品名称不能为空");
    renamed.shown.name = QString("开\x07关");
    QCOMPARE(refusal({renamed}), "一级商品名称中有不能保存的控制字符,请改正");
    QCOMPARE(refusal({Loaded("01", "开关"), Added("02", "\t")}), "一级商品名称不能为空");
    // A stored name left as it is, whatever it holds, is not judged again.
    QCOMPARE(CCatalogueWriter::PlanSave(1, "", {Loaded("01", " ")}, {Node("01", " ")}).strRefusal,
             "");
    CatalogueListRow spec;
    spec.shown.code = "01";
    spec.shown.count = "5";
    spec.shown.pack = QString("个\x1b");
    QCOMPARE(CCatalogueWriter::PlanSave(5, "01000000", {spec}, {}).strRefusal,
             "包装中有不能保存的控制字符,请改正");
}

// Names are built from the levels on each product's path; a product under a level that no
// stored node has keeps its name.
void TestCatalogueTree::rebuildsNamesFromStoredLevels() {
    TestDatabase db;
    db.Exec("INSERT INTO name1 VALUES ('01', '灯具')");
    db.Exec("INSERT INTO name2 VALUES ('0101', '灯泡')");
    db.Exec("INSERT INTO name3 VALUES ('010101', 'E27')");
    db.Exec("INSERT INTO name3 VALUES ('010001', 'M8')"); // under the skipped level 2
    for (const char* code : {"0101010001", "0101000001", "0100000001", "0100010001", "0102000001"})
        db.Exec("INSERT INTO property (code, name) VALUES (?, '旧名')", {QString(code)});
    CCatalogueWriter::RebuildProductNames("01");
    QCOMPARE(db.Rows("SELECT code, name, longpinyin FROM property ORDER BY code"),
             (QStringList{"0100000001|灯具|DJ", "0100010001|旧名|", "0101000001|灯具-灯泡|DJ-DP",
                          "0101010001|灯具-灯泡-E27|DJ-DP-E27", "0102000001|旧名|"}));
    QCOMPARE(CCatalogueWriter::StoredFullName("0101010001"), "灯具-灯泡-E27");
    QCOMPARE(CCatalogueWriter::StoredFullName("0100010001"), "");
}

QTEST_MAIN(TestCatalogueTree)
#include "tst_cataloguetree.moc"
