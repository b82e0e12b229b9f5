#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "GridInput.h"
#include "db/CConnection.h"
#include "ui/FontSetup.h"
#include "db/SqlText.h"
#include "catalogue/CClassDlg.h"
#include "catalogue/CPinyinSelectDlg.h"
#include "catalogue/CPropertyPanel.h"
#include "catalogue/ProductSearch.h"
#include "grid/CGridCellCombo.h"
#include "grid/CGridCtrl.h"
#include "support/MessageScript.h"
#include "support/TestDatabase.h"

namespace {

const QColor kRed(255, 0, 0), kYellow(255, 255, 0), kWhite(255, 255, 255);

// 开关 (01) with 墙壁开关 (0101) > 单开 (010101) > 白色 (01010101), a specification under each of
// them and one directly under 开关; 插座 (02) with one specification. Every product has properties.
// 灯具 (01) > 灯 (0101) with the product 灯具-灯 and one product straight under 灯具.
void SeedLamps(TestDatabase& db) {
    for (const char* sql :
         {"INSERT INTO name1 VALUES ('01', '灯具')", "INSERT INTO name2 VALUES ('0101', '灯')",
          "INSERT INTO name5 VALUES ('0101000001', '1', '个')",
          "INSERT INTO name5 VALUES ('0100000001', '2', '个')",
          "INSERT INTO property (code, name, spec, longpinyin) VALUES ('0101000001', '灯具-灯', "
          "'1个', 'DJ-D')",
          "INSERT INTO property (code, name, spec, longpinyin) VALUES ('0100000001', '灯具', "
          "'2个', 'DJ')"})
        db.Exec(QString::fromUtf8(sql));
}

// A document line of each kind using the code.
void AddDocumentLine(TestDatabase& db, const char* table, const QString& code) {
    db.Exec(QStringLiteral("INSERT INTO %1 (oddnum, code) VALUES ('20260101001', ?)")
                .arg(QString::fromUtf8(table)),
            {code});
}

void SeedCatalogue(TestDatabase& db) {
    for (const char* sql :
         {"INSERT INTO name1 VALUES ('01', '开关')", "INSERT INTO name1 VALUES ('02', '插座')",
          "INSERT INTO name2 VALUES ('0101', '墙壁开关')",
          "INSERT INTO name2 VALUES ('0103', '防水开关')",
          "INSERT INTO name3 VALUES ('010101', '单开')",
          "INSERT INTO name3 VALUES ('010301', '双开')",
          "INSERT INTO name4 VALUES ('01010101', '白色')",
          "INSERT INTO name5 VALUES ('0100000001', '10', '个/箱')",
          "INSERT INTO name5 VALUES ('0101010101', '20', '个/箱')",
          "INSERT INTO name5 VALUES ('0103000001', '5', '个')",
          "INSERT INTO name5 VALUES ('0103010001', '6', '个')",
          "INSERT INTO name5 VALUES ('0200000001', '1', '个')",
          "INSERT INTO property (code, name, spec, shortname, price, total) VALUES "
          "('0100000001', '开关', '10个/箱', '开关', '1', '5')",
          "INSERT INTO property (code, name, spec, shortname, price, total) VALUES "
          "('0101010101', '开关-墙壁开关-单开-白色', '20个/箱', '白开关', '2', '')",
          "INSERT INTO property (code, name, spec) VALUES ('0103000001', "
          "'开关-防水开关', '5个')",
          "INSERT INTO property (code, name, spec) VALUES ('0103010001', "
          "'开关-防水开关-双开', '6个')",
          "INSERT INTO property (code, name, spec) VALUES ('0200000001', '插座', '1个')"})
        db.Exec(QString::fromUtf8(sql));
}

} // namespace

class TestClassDlg : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<CClassDlg> OpenDialog() {
        auto dlg = std::make_unique<CClassDlg>();
        dlg->resize(1200, 700);
        dlg->show();
        if (!QTest::qWaitForWindowExposed(dlg.get()))
            qWarning("window not exposed");
        return dlg;
    }

  private slots:
    void initTestCase() { SetupFonts(); }
    void buildsTreeWithSkippedLevels();
    void addChecksParentAndNumbersRows();
    void renamesLevel1AndProductNames();
    void movesLevel2WithSubtreeAndProperties();
    void swapsTwoCodesWithoutMixingSubtrees();
    void failedRenumberingChangesNothing();
    void savingSpecificationMovesItsProperties();
    void refusesDuplicateCodeAtSave();
    void deletesLevel1Subtree();
    void refusesDeleteWithoutCompletePath();
    void deleteTouchesOnlyTheStoredNode();
    void duplicateEditRestoresNameAndCode();
    void coloursSpecificationRows();
    void savesPropertiesIntoOneRow();
    void makesAllPinyin();
    void makesAllPinyinCorrectsStoredInitials();
    void savedListFollowsCodeOrder();
    void refusesSavingUnderUnsavedParent();
    void savesTextOfOpenEditor();
    void propertiesWaitForTheirSpecification();
    void renamingLevel2ChangesOnlyItsPartOfNames();
    void initialsFollowRenamedLevels();
    void refusesCodesThatAreNotTwoAsciiDigits();
    void refusesNodesUnderSkippedLevel();
    void saveRefusesRowWhoseRecordVanished();
    void saveRefusesRowWhoseRecordChanged();
    void deleteRefusesRowWhoseRecordChanged();
    void renumberingUsedCodeAsksFirst();
    void refusesPropertyValuesThatAreNotPlainNumbers();
    void storesEmptyPropertyCellsAsEmptyText();
    void refusesBlankOrControlCharacterNames();
    void saveThatWritesNothingSaysSo();
};

void TestClassDlg::buildsTreeWithSkippedLevels() {
    TestDatabase db;
    MessageScript messages;
    auto dlg = OpenDialog();
    CGridCtrl* list1 = dlg->List(1);
    CGridCtrl* list5 = dlg->List(5);

    QTest::mouseClick(dlg->AddButton(1), Qt::LeftButton);
    ReplaceInCell(list1, 1, 1, "膨胀螺丝");
    QTest::mouseClick(dlg->SaveButton(1), Qt::LeftButton);
    QCOMPARE(messages.Last(), "已成功保存到数据库");
    QCOMPARE(db.Rows("SELECT bh, mc FROM name1"), QStringList{"01|膨胀螺丝"});

    // Two specifications straight under the level-1 node.
    ChooseRow(list1, 1);
    QCOMPARE(dlg->m_tree.m_strCode[1], "01");
    for (const char* count : {"100", "50"}) {
        QTest::mouseClick(dlg->AddButton(5), Qt::LeftButton);
        ReplaceInCell(list5, list5->GetRowCount() - 1, 1, count);
    }
    ReplaceInCell(list5, 2, 2, "个/千只");
    QTest::mouseClick(dlg->SaveButton(5), Qt::LeftButton);
    QCOMPARE(messages.Last(), "已成功保存到数据库");
    QCOMPARE(db.Rows("SELECT bh, count, pack FROM name5 ORDER BY bh"),
             (QStringList{"0100000001|100|个", "0100000002|50|个/千只"}));
    QCOMPARE(dlg->m_tree.m_strCode[2], "00");

    // The path now passes through 00: a level-3 node there could never be reached again.
    QTest::mouseClick(dlg->AddButton(3), Qt::LeftButton);
    QCOMPARE(messages.Last(), "请先选择有效的上级商品名");
    QCOMPARE(dlg->List(3)->GetRowCount(), 1);
    QTest::mouseClick(dlg->AddButton(4), Qt::LeftButton);
    QCOMPARE(dlg->List(4)->GetRowCount(), 1);
    QCOMPARE(db.Value("SELECT count(*) FROM name3"), "0");

    // A second click on the level-1 node lists its specifications, red without properties.
    ChooseRow(list1, 1);
    QCOMPARE(ColumnTexts(list5, 1), (QStringList{"100", "50"}));
    QCOMPARE(ColumnTexts(list5, 2), (QStringList{"个", "个/千只"}));
    QCOMPARE(ColumnTexts(list5, 3), (QStringList{"01", "02"}));
    QCOMPARE(list5->GetCellBackColor(2, 3), kRed);
    QCOMPARE(dlg->List(2)->GetRowCount(), 1);

    ChooseRow(list5, 2);
    CGridCtrl* props = dlg->Properties()->Grid();
    QCOMPARE(props->GetCellText(1, 0), "膨胀螺丝");
    QCOMPARE(props->GetCellText(1, 1), "50个/千只");
    QCOMPARE(props->GetCellText(1, 2), "0100000002");
}

void TestClassDlg::addChecksParentAndNumbersRows() {
    TestDatabase db;
    MessageScript messages;
    auto dlg = OpenDialog();
    for (int k = 2; k <= 5; ++k) {
        QTest::mouseClick(dlg->AddButton(k), Qt::LeftButton);
        QCOMPARE(messages.Last(), "请先选择有效的上级商品名");
        QCOMPARE(dlg->List(k)->GetRowCount(), 1);
    }
    // A new row takes what is typed next as its name.
    QTest::mouseClick(dlg->AddButton(1), Qt::LeftButton);
    QTest::keyClick(dlg->List(1), 'M');
    QWidget* editor = dlg->List(1)->GetEditWnd();
    QVERIFY(editor);
    QTest::keyClicks(editor, "6");
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(dlg->List(1)->GetCellText(1, 1), "M6");
    QCOMPARE(dlg->m_nSelRow[1], 1);
    QCOMPARE(dlg->m_tree.m_strCode[1], "01");
    for (int i = 1; i < 10; ++i)
        QTest::mouseClick(dlg->AddButton(1), Qt::LeftButton);
    QCOMPARE(dlg->List(1)->GetCellText(1, 2), "01");
    QCOMPARE(dlg->List(1)->GetCellText(10, 2), "10");
    QCOMPARE(dlg->List(1)->GetCellText(10, 0), "10");

    // A save stops at the first row left without a name; the rows after it stay in the list.
    ReplaceInCell(dlg->List(1), 1, 1, "一");
    ReplaceInCell(dlg->List(1), 3, 1, "三");
    QTest::mouseClick(dlg->SaveButton(1), Qt::LeftButton);
    QCOMPARE(db.Rows("SELECT bh, mc FROM name1"), QStringList{"01|一"});
    QCOMPARE(dlg->List(1)->GetCellText(3, 1), "三");

    QTest::mouseClick(dlg->SaveButton(5), Qt::LeftButton);
    QCOMPARE(messages.Last(), "请为商品添加正确的规格属性");
}

void TestClassDlg::renamesLevel1AndProductNames() {
    TestDatabase db;
    SeedCatalogue(db);
    db.Exec("UPDATE property SET name='开关-防水开关-开关盒' WHERE code='0103000001'");
    MessageScript messages;
    auto dlg = OpenDialog();

    ReplaceInCell(dlg->List(1), 1, 1, "插'头");
    QTest::mouseClick(dlg->SaveButton(1), Qt::LeftButton);
    QCOMPARE(messages.Last(), "已成功保存到数据库");
    QCOMPARE(db.Rows("SELECT bh, mc FROM name1 ORDER BY bh"), (QStringList{"01|插'头", "02|插座"}));
    // Only the level-1 part of each name changes, whatever else holds the old text; a name
    // that had drifted from its levels is built from them again.
    QCOMPARE(
        db.Rows("SELECT code, name, longpinyin FROM property ORDER BY code"),
        (QStringList{"0100000001|插'头|C'T", "0101010101|插'头-墙壁开关-单开-白色|C'T-QBKG-DK-BS",
                     "0103000001|插'头-防水开关|C'T-FSKG",
                     "0103010001|插'头-防水开关-双开|C'T-FSKG-SK", "0200000001|插座|"}));
    QCOMPARE(db.Value("SELECT count(*) FROM name5 WHERE bh LIKE '01%'"), "4");
    QCOMPARE(dlg->List(1)->GetCellText(1, 1), "插'头");
}

void TestClassDlg::movesLevel2WithSubtreeAndProperties() {
    TestDatabase db;
    SeedCatalogue(db);
    MessageScript messages({IDYES}); // the renumbering question
    auto dlg = OpenDialog();

    ChooseRow(dlg->List(1), 1);
    CGridCtrl* list2 = dlg->List(2);
    QCOMPARE(ColumnTexts(list2, 2), (QStringList{"01", "03"}));
    ReplaceInCell(list2, 2, 2, "05");
    QTest::mouseClick(dlg->SaveButton(2), Qt::LeftButton);
    QCOMPARE(messages.Last(), "已成功保存到数据库");

    QCOMPARE(db.Rows("SELECT bh FROM name2 ORDER BY bh"), (QStringList{"0101", "0105"}));
    QCOMPARE(db.Rows("SELECT bh FROM name3 ORDER BY bh"), (QStringList{"010101", "010501"}));
    QCOMPARE(db.Rows("SELECT bh FROM name5 ORDER BY bh"),
             (QStringList{"0100000001", "0101010101", "0105000001", "0105010001", "0200000001"}));
    QCOMPARE(db.Rows("SELECT code, name FROM property WHERE code LIKE '0105%' ORDER BY code"),
             (QStringList{"0105000001|开关-防水开关", "0105010001|开关-防水开关-双开"}));
    QCOMPARE(db.Value("SELECT count(*) FROM property WHERE code LIKE '0103%'"), "0");
    QCOMPARE(ColumnTexts(list2, 2), (QStringList{"01", "05"}));
    QCOMPARE(dlg->List(3)->GetRowCount(), 1);
}

void TestClassDlg::swapsTwoCodesWithoutMixingSubtrees() {
    TestDatabase db;
    SeedCatalogue(db);
    MessageScript messages({IDYES, IDYES}); // one question for each code
    auto dlg = OpenDialog();

    ChooseRow(dlg->List(1), 1);
    CGridCtrl* list2 = dlg->List(2);
    ReplaceInCell(list2, 1, 2, "09");
    ReplaceInCell(list2, 2, 2, "01");
    ReplaceInCell(list2, 1, 2, "03");
    QTest::mouseClick(dlg->SaveButton(2), Qt::LeftButton);
    QCOMPARE(messages.Last(), "已成功保存到数据库");
    QCOMPARE(db.Rows("SELECT bh, mc FROM name2 ORDER BY bh"),
             (QStringList{"0101|防水开关", "0103|墙壁开关"}));
    QCOMPARE(db.Rows("SELECT bh, mc FROM name3 ORDER BY bh"),
             (QStringList{"010101|双开", "010301|单开"}));
    QCOMPARE(db.Rows("SELECT code, name FROM property WHERE code LIKE '0101%' OR code LIKE "
                     "'0103%' ORDER BY code"),
             (QStringList{"0101000001|开关-防水开关", "0101010001|开关-防水开关-双开",
                          "0103010101|开关-墙壁开关-单开-白色"}));
}

void TestClassDlg::failedRenumberingChangesNothing() {
    TestDatabase db;
    SeedCatalogue(db);
    const QStringList before = db.Rows("SELECT code, name FROM property ORDER BY code");
    db.Exec("DROP TABLE name4");     // the fourth of the five statements fails
    MessageScript messages({IDYES}); // the renumbering question
    auto dlg = OpenDialog();

    ReplaceInCell(dlg->List(1), 1, 2, "07");
    QTest::mouseClick(dlg->SaveButton(1), Qt::LeftButton);
    QCOMPARE(messages.Count(), 2);
    QCOMPARE(messages.Messages().last().icon, MsgIcon::Stop);
    QCOMPARE(db.Rows("SELECT bh FROM name1 ORDER BY bh"), (QStringList{"01", "02"}));
    QCOMPARE(db.Rows("SELECT bh FROM name2 ORDER BY bh"), (QStringList{"0101", "0103"}));
    QCOMPARE(db.Rows("SELECT code, name FROM property ORDER BY code"), before);
}

void TestClassDlg::savingSpecificationMovesItsProperties() {
    TestDatabase db;
    SeedCatalogue(db);
    MessageScript messages({IDYES}); // the renumbering question
    auto dlg = OpenDialog();
    ChooseRow(dlg->List(1), 1);
    CGridCtrl* list5 = dlg->List(5);
    ReplaceInCell(list5, 1, 1, "12");
    ReplaceInCell(list5, 1, 3, "05");
    QTest::mouseClick(dlg->SaveButton(5), Qt::LeftButton);
    QCOMPARE(messages.Last(), "已成功保存到数据库");
    QCOMPARE(db.Rows("SELECT bh, count, pack FROM name5 WHERE bh LIKE '0100%'"),
             QStringList{"0100000005|12|个/箱"});
    QCOMPARE(db.Rows("SELECT code, spec, name FROM property WHERE code LIKE '0100%'"),
             QStringList{"0100000005|12个/箱|开关"});
    auto* pack = dynamic_cast<CGridCellCombo*>(list5->GetCell(1, 2));
    QVERIFY(pack);
    QCOMPARE(pack->GetOptions(), CClassDlg::kSavedPackOptions);
    QCOMPARE(list5->GetCellText(1, 3), "05");
}

void TestClassDlg::refusesDuplicateCodeAtSave() {
    TestDatabase db;
    SeedCatalogue(db);
    db.Exec("INSERT INTO name1 VALUES ('03', '灯具')");
    MessageScript messages({IDYES});
    auto dlg = OpenDialog();
    CGridCtrl* list1 = dlg->List(1);

    // Delete 插座 (02); the next row added is numbered 03 like 灯具.
    ChooseRow(list1, 2);
    QTest::mouseClick(dlg->DeleteButton(1), Qt::LeftButton);
    QCOMPARE(messages.Last(), "删除数据成功!");
    QTest::mouseClick(dlg->AddButton(1), Qt::LeftButton);
    QCOMPARE(list1->GetCellText(3, 2), "03");
    ReplaceInCell(list1, 3, 1, "电线");
    QTest::mouseClick(dlg->SaveButton(1), Qt::LeftButton);
    QVERIFY(messages.Last().contains("重复"));
    QCOMPARE(db.Rows("SELECT bh, mc FROM name1 ORDER BY bh"), (QStringList{"01|开关", "03|灯具"}));

    // A code that is not two digits would hide the node from its parent's list.
    ReplaceInCell(list1, 3, 2, "4");
    QTest::mouseClick(dlg->SaveButton(1), Qt::LeftButton);
    QVERIFY(messages.Last().contains("两位数字"));
    ReplaceInCell(list1, 3, 2, "04");
    QTest::mouseClick(dlg->SaveButton(1), Qt::LeftButton);
    QCOMPARE(messages.Last(), "已成功保存到数据库");
    QCOMPARE(db.Rows("SELECT bh, mc FROM name1 ORDER BY bh"),
             (QStringList{"01|开关", "03|灯具", "04|电线"}));

    // The same at level 5, under 开关 directly.
    ChooseRow(list1, 1);
    CGridCtrl* list5 = dlg->List(5);
    QTest::mouseClick(dlg->AddButton(5), Qt::LeftButton);
    ReplaceInCell(list5, 2, 1, "30");
    ReplaceInCell(list5, 2, 3, "01");
    QCOMPARE(messages.Last(), "您更改的名称或编号有重复,请重新输入!");
    QCOMPARE(list5->GetCellText(2, 3), "02");
    QTest::mouseClick(dlg->SaveButton(5), Qt::LeftButton);
    QCOMPARE(db.Rows("SELECT bh, count FROM name5 WHERE bh LIKE '0100%' ORDER BY bh"),
             (QStringList{"0100000001|10", "0100000002|30"}));
}

void TestClassDlg::deletesLevel1Subtree() {
    TestDatabase db;
    SeedCatalogue(db);
    MessageScript messages({IDNO, IDYES});
    auto dlg = OpenDialog();
    CGridCtrl* list1 = dlg->List(1);

    ChooseRow(list1, 1);
    QTest::mouseClick(dlg->DeleteButton(1), Qt::LeftButton);
    QCOMPARE(messages.Last(), "确认后将删除数据库中该商品名称对应的所有数据,请谨慎选择!");
    QCOMPARE(messages.Messages().last().caption, "删除记录");
    QCOMPARE(db.Value("SELECT count(*) FROM name2"), "2");

    QTest::mouseClick(dlg->DeleteButton(1), Qt::LeftButton);
    QCOMPARE(messages.Last(), "删除数据成功!");
    for (const char* table : {"name2", "name3", "name4"})
        QCOMPARE(db.Value(QString("SELECT count(*) FROM %1").arg(table)), "0");
    QCOMPARE(db.Rows("SELECT bh FROM name1"), QStringList{"02"});
    QCOMPARE(db.Rows("SELECT bh FROM name5"), QStringList{"0200000001"});
    QCOMPARE(db.Rows("SELECT code FROM property"), QStringList{"0200000001"});
    QCOMPARE(ColumnTexts(list1, 0), QStringList{"1"});
    QCOMPARE(ColumnTexts(list1, 1), QStringList{"插座"});
    QCOMPARE(dlg->List(2)->GetRowCount(), 1);

    // The deleted row is no longer selected: a second delete asks for a selection.
    QTest::mouseClick(dlg->DeleteButton(1), Qt::LeftButton);
    QCOMPARE(messages.Last(), "删除数据前请先选择要删除的相应商品名称");
    QCOMPARE(db.Value("SELECT count(*) FROM name1"), "1");
}

void TestClassDlg::refusesDeleteWithoutCompletePath() {
    TestDatabase db;
    SeedCatalogue(db);
    MessageScript messages({IDOK, IDYES});
    auto dlg = OpenDialog();

    // A code cell emptied by the user and clicked: the deletes would match every deeper row.
    ChooseRow(dlg->List(1), 1);
    ReplaceInCell(dlg->List(2), 2, 2, "");
    ChooseRow(dlg->List(2), 2);
    QCOMPARE(dlg->m_tree.m_strCode[2], "");
    QTest::mouseClick(dlg->DeleteButton(2), Qt::LeftButton);
    QCOMPARE(messages.Last(), "删除数据前请先选择要删除的相应商品名称");
    QCOMPARE(db.Value("SELECT count(*) FROM name5"), "5");
    QCOMPARE(db.Value("SELECT count(*) FROM property"), "5");

    // A specification under a level-1 node is deleted by its full code.
    ChooseRow(dlg->List(1), 1);
    ChooseRow(dlg->List(5), 1);
    QTest::mouseClick(dlg->DeleteButton(5), Qt::LeftButton);
    QCOMPARE(messages.Last(), "删除数据成功!");
    QCOMPARE(db.Value("SELECT count(*) FROM name5 WHERE bh='0100000001'"), "0");
    QCOMPARE(db.Value("SELECT count(*) FROM property WHERE code='0100000001'"), "0");
    QCOMPARE(db.Value("SELECT count(*) FROM name5"), "4");
}

void TestClassDlg::deleteTouchesOnlyTheStoredNode() {
    TestDatabase db;
    SeedCatalogue(db);
    db.Exec("INSERT INTO name1 VALUES ('03', '灯具')");
    MessageScript messages;
    auto dlg = OpenDialog();
    CGridCtrl* list1 = dlg->List(1);

    // 插座 renumbered on screen only: its remembered code names no stored node.
    ReplaceInCell(list1, 2, 2, "05");
    ChooseRow(list1, 2);
    QCOMPARE(dlg->m_tree.m_strCode[1], "05");
    QTest::mouseClick(dlg->DeleteButton(1), Qt::LeftButton);
    QCOMPARE(messages.Last(), "该商品的编号已修改但尚未保存,请先保存后再删除!");
    QCOMPARE(list1->GetRowCount(), 4);

    // A row never saved goes from the list only, even when its code equals a stored one.
    ReplaceInCell(list1, 2, 2, "02");
    QTest::mouseClick(dlg->AddButton(1), Qt::LeftButton);
    ReplaceInCell(list1, 4, 2, "03");
    QCOMPARE(list1->GetCellText(4, 2), "04"); // the edit check refuses the repeat
    messages.Answer(IDYES);
    ChooseRow(list1, 4);
    QTest::mouseClick(dlg->DeleteButton(1), Qt::LeftButton);
    QCOMPARE(messages.Last(), "删除数据成功!");
    QCOMPARE(ColumnTexts(list1, 1), (QStringList{"开关", "插座", "灯具"}));
    QCOMPARE(db.Rows("SELECT bh FROM name1 ORDER BY bh"), (QStringList{"01", "02", "03"}));
    QCOMPARE(db.Value("SELECT count(*) FROM property"), "5");
}

void TestClassDlg::duplicateEditRestoresNameAndCode() {
    TestDatabase db;
    SeedCatalogue(db);
    MessageScript messages;
    auto dlg = OpenDialog();
    CGridCtrl* list1 = dlg->List(1);

    ReplaceInCell(list1, 2, 1, "开关");
    QCOMPARE(messages.Last(), "您更改的名称或编号有重复,请重新输入!");
    QCOMPARE(list1->GetCellText(2, 1), "插座");
    QCOMPARE(list1->GetCellText(2, 2), "02");

    messages.Clear();
    ReplaceInCell(list1, 2, 2, "01");
    QCOMPARE(messages.Count(), 1);
    QCOMPARE(list1->GetCellText(2, 1), "插座");
    QCOMPARE(list1->GetCellText(2, 2), "02");

    ReplaceInCell(list1, 2, 1, "插座面板");
    QCOMPARE(messages.Count(), 1);
    QCOMPARE(list1->GetCellText(2, 1), "插座面板");
}

void TestClassDlg::coloursSpecificationRows() {
    TestDatabase db;
    SeedCatalogue(db);
    db.Exec("INSERT INTO name5 VALUES ('0100000002', '2', '个')");
    db.Exec("UPDATE property SET total='', price='3' WHERE code='0100000001'");
    db.Exec("INSERT INTO name5 VALUES ('0100000003', '3', '个')");
    db.Exec("INSERT INTO property (code, shortname, price, total) VALUES "
            "('0100000003', 'x', '1', '1')");
    MessageScript messages;
    auto dlg = OpenDialog();

    ChooseRow(dlg->List(1), 1);
    CGridCtrl* list5 = dlg->List(5);
    QCOMPARE(list5->GetRowCount(), 4);
    const QList<QColor> expected{kYellow, kRed, kWhite};
    for (int row = 1; row <= 3; ++row) {
        for (int col = 1; col <= 3; ++col)
            QCOMPARE(list5->GetCellBackColor(row, col), expected.at(row - 1));
        QVERIFY(list5->GetCellBackColor(row, 0) != expected.at(row - 1));
    }

    // Filling the stock keeps the row yellow until the list is filled again.
    ChooseRow(list5, 1);
    ReplaceInCell(dlg->Properties()->Grid(), 1, 8, "7");
    QTest::mouseClick(dlg->Properties()->SaveButton(), Qt::LeftButton);
    QCOMPARE(messages.Last(), "商品属性已成功保存");
    QCOMPARE(list5->GetCellBackColor(1, 1), kYellow);
    ChooseRow(dlg->List(1), 1);
    QCOMPARE(list5->GetCellBackColor(1, 1), kWhite);
}

void TestClassDlg::savesPropertiesIntoOneRow() {
    TestDatabase db;
    SeedCatalogue(db);
    MessageScript messages;
    auto dlg = OpenDialog();
    CGridCtrl* props = dlg->Properties()->Grid();

    QTest::mouseClick(dlg->Properties()->SaveButton(), Qt::LeftButton);
    QCOMPARE(messages.Last(), "请确认已选中第五栏(规格栏),否则将无法保存商品属性到数据库中．");
    QCOMPARE(messages.Messages().last().icon, MsgIcon::Stop);

    // A new specification under 开关 > 墙壁开关 > 单开 (level 4 skipped).
    ChooseRow(dlg->List(1), 1);
    ChooseRow(dlg->List(2), 1);
    ChooseRow(dlg->List(3), 1);
    QTest::mouseClick(dlg->AddButton(5), Qt::LeftButton);
    ReplaceInCell(dlg->List(5), 1, 1, "12");
    QTest::mouseClick(dlg->SaveButton(5), Qt::LeftButton);
    QCOMPARE(db.Value("SELECT bh FROM name5 WHERE count='12'"), "0101010001");

    ChooseRow(dlg->List(5), 1);
    QCOMPARE(props->GetCellText(1, 0), "开关-墙壁开关-单开");
    QCOMPARE(props->GetCellText(1, 1), "12个");
    QCOMPARE(props->GetCellText(1, 2), "0101010001");
    QCOMPARE(props->GetCellText(1, 3), "");
    const QStringList values{"单开关", "3.5", "0.9", "0.8", "0.7", "100"};
    for (int i = 0; i < values.size(); ++i)
        ReplaceInCell(props, 1, 3 + i, values.at(i));
    QTest::mouseClick(dlg->Properties()->SaveButton(), Qt::LeftButton);
    QCOMPARE(messages.Last(), "商品属性已成功保存");
    ReplaceInCell(props, 1, 4, "4");
    QTest::mouseClick(dlg->Properties()->SaveButton(), Qt::LeftButton);
    QCOMPARE(db.Rows("SELECT name, shortname, spec, price, discount1, discount2, discount3, total, "
                     "longpinyin, shortpinyin FROM property WHERE code='0101010001'"),
             QStringList{"开关-墙壁开关-单开|单开关|12个|4|0.9|0.8|0.7|100|KG-QBKG-DK|DKG"});

    // Shown again after a click elsewhere; a click in a name list clears the row.
    ChooseRow(dlg->List(3), 1);
    QCOMPARE(props->GetCellText(1, 0), "");
    ChooseRow(dlg->List(5), 1);
    QCOMPARE(props->GetCellText(1, 4), "4");

    // Two rows of one code: nothing shown, the save changes the first.
    db.Exec("INSERT INTO property (code, shortname) VALUES ('0101010001', 'dup')");
    ChooseRow(dlg->List(5), 1);
    QCOMPARE(props->GetCellText(1, 3), "");
}

void TestClassDlg::makesAllPinyin() {
    TestDatabase db;
    MessageScript messages;
    auto dlg = OpenDialog();
    QTest::mouseClick(dlg->Properties()->PinyinButton(), Qt::LeftButton);
    QCOMPARE(messages.Texts(), QStringList{"商品库中商品名称和简称已全部生成拼音首字母!"});

    for (int i = 0; i < 250; ++i)
        db.Exec(QString("INSERT INTO property (code, name, shortname) VALUES ('%1', '膨胀螺丝', "
                        "'M8螺丝')")
                    .arg(i, 10, 10, QChar('0')));
    db.Exec("INSERT INTO property (code) VALUES ('x')");
    QTest::mouseClick(dlg->Properties()->PinyinButton(), Qt::LeftButton);
    QCOMPARE(
        db.Rows("SELECT longpinyin, shortpinyin FROM property GROUP BY longpinyin, shortpinyin "
                "ORDER BY min(code)"),
        (QStringList{"PZLS|M8LS", "|"}));
}

// Products saved with the initials of the first level-2 table (绨 as D, 鲷 as N) get the
// reading's initial when the initials are made again.
void TestClassDlg::makesAllPinyinCorrectsStoredInitials() {
    TestDatabase db;
    MessageScript messages;
    db.Exec("INSERT INTO property (code, name, shortname, longpinyin, shortpinyin) VALUES "
            "('0101010001', '纺织-绨纶线', '鲷鱼钩', 'FZ-DLX', 'NYG')");
    auto dlg = OpenDialog();
    QTest::mouseClick(dlg->Properties()->PinyinButton(), Qt::LeftButton);
    QCOMPARE(db.Rows("SELECT longpinyin, shortpinyin FROM property"), QStringList{"FZ-TLX|DYG"});
}

void TestClassDlg::savedListFollowsCodeOrder() {
    TestDatabase db;
    SeedCatalogue(db);
    db.Exec("INSERT INTO name1 VALUES ('03', '灯具')");
    db.Exec("INSERT INTO name2 VALUES ('0301', '吸顶灯')");
    MessageScript messages({IDYES});
    auto dlg = OpenDialog();
    CGridCtrl* list1 = dlg->List(1);

    // 插座 (02) deleted; a new node takes the free code 02 below 灯具 (03).
    ChooseRow(list1, 2);
    QTest::mouseClick(dlg->DeleteButton(1), Qt::LeftButton);
    QTest::mouseClick(dlg->AddButton(1), Qt::LeftButton);
    ReplaceInCell(list1, 3, 1, "电线");
    ReplaceInCell(list1, 3, 2, "02");
    QTest::mouseClick(dlg->SaveButton(1), Qt::LeftButton);
    QCOMPARE(messages.Last(), "已成功保存到数据库");
    QCOMPARE(ColumnTexts(list1, 1), (QStringList{"开关", "电线", "灯具"}));
    QCOMPARE(ColumnTexts(list1, 2), (QStringList{"01", "02", "03"}));

    // Renaming 灯具 keeps its children with it.
    ReplaceInCell(list1, 3, 1, "灯饰");
    QTest::mouseClick(dlg->SaveButton(1), Qt::LeftButton);
    QCOMPARE(db.Rows("SELECT bh, mc FROM name1 ORDER BY bh"),
             (QStringList{"01|开关", "02|电线", "03|灯饰"}));
    QCOMPARE(db.Rows("SELECT bh, mc FROM name2 WHERE bh NOT LIKE '01%'"),
             QStringList{"0301|吸顶灯"});

    // The same for specifications: the product 03 keeps its own properties.
    ChooseRow(list1, 1);
    db.Exec("INSERT INTO name5 VALUES ('0100000003', '30', '个')");
    db.Exec("INSERT INTO property (code, name, spec, shortname, price, total) VALUES "
            "('0100000003', '开关', '30个', '三十', '9', '1')");
    ChooseRow(list1, 2);
    ChooseRow(list1, 1);
    CGridCtrl* list5 = dlg->List(5);
    QCOMPARE(ColumnTexts(list5, 3), (QStringList{"01", "03"}));
    QTest::mouseClick(dlg->AddButton(5), Qt::LeftButton);
    ReplaceInCell(list5, 3, 1, "20");
    ReplaceInCell(list5, 3, 3, "02");
    QTest::mouseClick(dlg->SaveButton(5), Qt::LeftButton);
    QCOMPARE(ColumnTexts(list5, 3), (QStringList{"01", "02", "03"}));
    QCOMPARE(ColumnTexts(list5, 1), (QStringList{"10", "20", "30"}));
    QCOMPARE(list5->GetCellBackColor(2, 1), kRed);
    QCOMPARE(list5->GetCellBackColor(3, 1), kWhite);
    ReplaceInCell(list5, 3, 1, "35");
    QTest::mouseClick(dlg->SaveButton(5), Qt::LeftButton);
    QCOMPARE(db.Rows("SELECT bh, count FROM name5 WHERE bh LIKE '0100%' ORDER BY bh"),
             (QStringList{"0100000001|10", "0100000002|20", "0100000003|35"}));
    QCOMPARE(db.Rows("SELECT code, spec, shortname FROM property WHERE code LIKE '0100%' "
                     "ORDER BY code"),
             (QStringList{"0100000001|10个/箱|开关", "0100000003|35个|三十"}));
}

void TestClassDlg::refusesSavingUnderUnsavedParent() {
    TestDatabase db;
    SeedCatalogue(db);
    MessageScript messages;
    auto dlg = OpenDialog();
    CGridCtrl* list1 = dlg->List(1);
    CGridCtrl* list2 = dlg->List(2);

    // 防水开关 renumbered 03 -> 05 on screen only, then chosen: its children stay under 0103.
    ChooseRow(list1, 1);
    ReplaceInCell(list2, 2, 2, "05");
    ChooseRow(list2, 2);
    QCOMPARE(dlg->m_tree.m_strCode[2], "05");
    QTest::mouseClick(dlg->AddButton(3), Qt::LeftButton);
    ReplaceInCell(dlg->List(3), 1, 1, "三开");
    QTest::mouseClick(dlg->SaveButton(3), Qt::LeftButton);
    QCOMPARE(messages.Last(), "请先选择有效的上级商品名");
    QTest::mouseClick(dlg->AddButton(5), Qt::LeftButton);
    ReplaceInCell(dlg->List(5), 1, 1, "8");
    QTest::mouseClick(dlg->SaveButton(5), Qt::LeftButton);
    QCOMPARE(messages.Last(), "请先选择有效的上级商品名");
    QCOMPARE(db.Value("SELECT count(*) FROM name3 WHERE bh LIKE '0105%'"), "0");
    QCOMPARE(db.Value("SELECT count(*) FROM name5 WHERE bh LIKE '0105%'"), "0");

    // A level-1 node not saved yet takes no children either; once saved it does.
    QTest::mouseClick(dlg->AddButton(1), Qt::LeftButton);
    ReplaceInCell(list1, 3, 1, "灯具");
    ChooseRow(list1, 3);
    QTest::mouseClick(dlg->AddButton(2), Qt::LeftButton);
    ReplaceInCell(list2, 1, 1, "吸顶灯");
    QTest::mouseClick(dlg->SaveButton(2), Qt::LeftButton);
    QCOMPARE(messages.Last(), "请先选择有效的上级商品名");
    QCOMPARE(db.Value("SELECT count(*) FROM name2 WHERE bh LIKE '03%'"), "0");
    QTest::mouseClick(dlg->SaveButton(1), Qt::LeftButton);
    ChooseRow(list1, 3);
    QTest::mouseClick(dlg->AddButton(2), Qt::LeftButton);
    ReplaceInCell(list2, 1, 1, "吸顶灯");
    QTest::mouseClick(dlg->SaveButton(2), Qt::LeftButton);
    QCOMPARE(messages.Last(), "已成功保存到数据库");
    QCOMPARE(db.Rows("SELECT bh, mc FROM name2 WHERE bh LIKE '03%'"), QStringList{"0301|吸顶灯"});
}

// 保存 pressed while the typed text is still in an open editor.
void TestClassDlg::savesTextOfOpenEditor() {
    TestDatabase db;
    SeedCatalogue(db);
    MessageScript messages;
    auto dlg = OpenDialog();
    CGridCtrl* list1 = dlg->List(1);

    QTest::mouseClick(dlg->AddButton(1), Qt::LeftButton);
    QTest::keyClick(list1, 'M');
    QVERIFY(list1->GetEditWnd());
    QTest::keyClicks(list1->GetEditWnd(), "8");
    QTest::mouseClick(dlg->SaveButton(1), Qt::LeftButton);
    QCOMPARE(db.Value("SELECT mc FROM name1 WHERE bh='03'"), "M8");

    ChooseRow(list1, 1);
    QTest::mouseClick(dlg->AddButton(5), Qt::LeftButton);
    QTest::keyClick(dlg->List(5), '2');
    QVERIFY(dlg->List(5)->GetEditWnd());
    QTest::keyClicks(dlg->List(5)->GetEditWnd(), "5");
    QTest::mouseClick(dlg->SaveButton(5), Qt::LeftButton);
    QCOMPARE(db.Value("SELECT count FROM name5 WHERE bh='0100000002'"), "25");

    ChooseRow(dlg->List(5), 2);
    CGridCtrl* props = dlg->Properties()->Grid();
    props->SetFocusCell(1, 4);
    QTest::keyClick(props, '6');
    QVERIFY(props->GetEditWnd());
    QTest::keyClicks(props->GetEditWnd(), ".5");
    QTest::mouseClick(dlg->Properties()->SaveButton(), Qt::LeftButton);
    QCOMPARE(messages.Last(), "商品属性已成功保存");
    QCOMPARE(db.Value("SELECT price FROM property WHERE code='0100000002'"), "6.5");
}

void TestClassDlg::propertiesWaitForTheirSpecification() {
    TestDatabase db;
    SeedCatalogue(db);
    MessageScript messages;
    auto dlg = OpenDialog();
    CGridCtrl* props = dlg->Properties()->Grid();
    const QString before = db.Rows("SELECT code, shortname FROM property ORDER BY code").join(";");

    // A specification added but not saved yet.
    ChooseRow(dlg->List(1), 2);
    QTest::mouseClick(dlg->AddButton(5), Qt::LeftButton);
    ReplaceInCell(dlg->List(5), 2, 1, "8");
    ChooseRow(dlg->List(5), 2);
    QCOMPARE(props->GetCellText(1, 2), "0200000002");
    ReplaceInCell(props, 1, 3, "新插座");
    QTest::mouseClick(dlg->Properties()->SaveButton(), Qt::LeftButton);
    QCOMPARE(messages.Last(), "该规格尚未保存,请先保存规格栏后再保存商品属性");

    // A stored specification renumbered on screen only.
    ReplaceInCell(dlg->List(5), 1, 3, "05");
    QCOMPARE(props->GetCellText(1, 2), "0200000005");
    ReplaceInCell(props, 1, 3, "改号插座");
    QTest::mouseClick(dlg->Properties()->SaveButton(), Qt::LeftButton);
    QCOMPARE(messages.Last(), "该规格尚未保存,请先保存规格栏后再保存商品属性");
    QCOMPARE(db.Rows("SELECT code, shortname FROM property ORDER BY code").join(";"), before);

    // Once saved, its properties are taken.
    messages.Answer(IDYES); // 01 becomes 05
    QTest::mouseClick(dlg->SaveButton(5), Qt::LeftButton);
    ChooseRow(dlg->List(5), 2);
    const QString code = props->GetCellText(1, 2);
    ReplaceInCell(props, 1, 3, "新插座");
    QTest::mouseClick(dlg->Properties()->SaveButton(), Qt::LeftButton);
    QCOMPARE(messages.Last(), "商品属性已成功保存");
    QCOMPARE(db.Value("SELECT count(*) FROM property WHERE code=?", {code}), "1");
}

// 灯具-灯 with level 2 renamed to 灯泡 is 灯具-灯泡, not 灯泡具-灯泡.
void TestClassDlg::renamingLevel2ChangesOnlyItsPartOfNames() {
    TestDatabase db;
    SeedLamps(db);
    MessageScript messages;
    auto dlg = OpenDialog();

    ChooseRow(dlg->List(1), 1);
    ReplaceInCell(dlg->List(2), 1, 1, "灯泡");
    QTest::mouseClick(dlg->SaveButton(2), Qt::LeftButton);
    QCOMPARE(messages.Last(), "已成功保存到数据库");
    QCOMPARE(db.Rows("SELECT code, name, longpinyin FROM property ORDER BY code"),
             (QStringList{"0100000001|灯具|DJ", "0101000001|灯具-灯泡|DJ-DP"}));

    // Level 1 renamed: the product under the skipped level 2 takes the level-1 name alone.
    ReplaceInCell(dlg->List(1), 1, 1, "灯饰");
    QTest::mouseClick(dlg->SaveButton(1), Qt::LeftButton);
    QCOMPARE(db.Rows("SELECT code, name, longpinyin FROM property ORDER BY code"),
             (QStringList{"0100000001|灯饰|DS", "0101000001|灯饰-灯泡|DS-DP"}));
    QCOMPARE(db.Value("SELECT mc FROM name2"), "灯泡");
}

// After 开关 is renamed 插座, the picker finds it by cz at once.
void TestClassDlg::initialsFollowRenamedLevels() {
    TestDatabase db;
    db.Exec("INSERT INTO name1 VALUES ('01', '开关')");
    db.Exec("INSERT INTO name5 VALUES ('0100000001', '1', '个')");
    db.Exec("INSERT INTO property (code, name, spec, shortname, longpinyin, shortpinyin) VALUES "
            "('0100000001', '开关', '1个', '单开', 'KG', 'DK')");
    MessageScript messages;
    auto dlg = OpenDialog();

    ReplaceInCell(dlg->List(1), 1, 1, "插座");
    QTest::mouseClick(dlg->SaveButton(1), Qt::LeftButton);
    QCOMPARE(messages.Last(), "已成功保存到数据库");
    PickArea().m_strPickQuery = "cz";
    CPinyinSelectDlg picker;
    QCOMPARE(picker.Grid()->GetRowCount(), 2);
    QCOMPARE(picker.Grid()->GetCellText(1, kColName), "插座");
    PickArea().m_strPickQuery = "kg";
    CPinyinSelectDlg old;
    QCOMPARE(old.Grid()->GetRowCount(), 1);

    // The property save writes the initials of the name the stored levels give.
    ChooseRow(dlg->List(1), 1);
    ChooseRow(dlg->List(5), 1);
    ReplaceInCell(dlg->Properties()->Grid(), 1, 3, "插头");
    QTest::mouseClick(dlg->Properties()->SaveButton(), Qt::LeftButton);
    QCOMPARE(db.Rows("SELECT name, longpinyin, shortpinyin FROM property"),
             QStringList{"插座|CZ|CT"});
}

// A code is what a barcode scanner sends: two ASCII digits 01 to 99.
void TestClassDlg::refusesCodesThatAreNotTwoAsciiDigits() {
    TestDatabase db;
    SeedCatalogue(db);
    const QStringList before = db.Rows("SELECT bh, mc FROM name1 ORDER BY bh");
    const QStringList properties = db.Rows("SELECT code FROM property ORDER BY code");
    MessageScript messages;
    auto dlg = OpenDialog();
    CGridCtrl* list1 = dlg->List(1);

    for (const QString code : {"０５", "5", "00", "5a"}) {
        ReplaceInCell(list1, 2, 2, code);
        QTest::mouseClick(dlg->SaveButton(1), Qt::LeftButton);
        QCOMPARE(messages.Last(),
                 QString("编号\"%1\"无效,编号应为01至99的两位数字,请重新输入!").arg(code));
        QCOMPARE(db.Rows("SELECT bh, mc FROM name1 ORDER BY bh"), before);
        QCOMPARE(db.Rows("SELECT code FROM property ORDER BY code"), properties);
    }
    // The same at level 5, for a new row.
    ReplaceInCell(list1, 2, 2, "02");
    ChooseRow(list1, 2);
    QTest::mouseClick(dlg->AddButton(5), Qt::LeftButton);
    ReplaceInCell(dlg->List(5), 2, 1, "3");
    ReplaceInCell(dlg->List(5), 2, 3, "０２");
    QTest::mouseClick(dlg->SaveButton(5), Qt::LeftButton);
    QVERIFY(messages.Last().contains("两位数字"));
    QCOMPARE(db.Value("SELECT count(*) FROM name5 WHERE bh LIKE '02%'"), "1");

    ReplaceInCell(list1, 2, 2, "05");
    messages.Answer(IDYES); // its product has properties
    QTest::mouseClick(dlg->SaveButton(1), Qt::LeftButton);
    QCOMPARE(messages.Last(), "已成功保存到数据库");
    QCOMPARE(db.Rows("SELECT bh, mc FROM name1 ORDER BY bh"), (QStringList{"01|开关", "05|插座"}));
}

// A specification shown under level 1 puts 00 into the path; nothing may hang below it.
void TestClassDlg::refusesNodesUnderSkippedLevel() {
    TestDatabase db;
    SeedCatalogue(db);
    MessageScript messages;
    auto dlg = OpenDialog();

    ChooseRow(dlg->List(1), 1);
    ChooseRow(dlg->List(5), 1);
    QCOMPARE(dlg->m_tree.m_strCode[2], "00");
    QTest::mouseClick(dlg->AddButton(3), Qt::LeftButton);
    QCOMPARE(messages.Last(), "请先选择有效的上级商品名");
    QCOMPARE(dlg->List(3)->GetRowCount(), 1);
    QTest::mouseClick(dlg->SaveButton(3), Qt::LeftButton);
    QCOMPARE(messages.Last(),
             "上级商品名中有空缺的级别(编号00),其下不能保存商品名,请先选择有效的上级商品名");
    QTest::mouseClick(dlg->SaveButton(4), Qt::LeftButton);
    QVERIFY(messages.Last().contains("编号00"));
    QCOMPARE(db.Value("SELECT count(*) FROM name3 WHERE bh LIKE '0100%'"), "0");
    QCOMPARE(db.Value("SELECT count(*) FROM name4 WHERE bh LIKE '0100%'"), "0");

    // A specification under a level-3 node that hangs under 00 (stored by an older version) is
    // refused as well.
    db.Exec("INSERT INTO name3 VALUES ('010001', 'M8')");
    dlg->m_tree.m_strCode[3] = "01";
    dlg->m_tree.m_strName[3] = "M8";
    QTest::mouseClick(dlg->SaveButton(5), Qt::LeftButton);
    QVERIFY(messages.Last().contains("编号00"));
    QCOMPARE(db.Value("SELECT count(*) FROM name5 WHERE bh LIKE '010001%'"), "0");
}

// Another window deleted 开关 after this one was loaded: renaming 插座 to 插头 here must never
// move 插座's product to 开关's code.
void TestClassDlg::saveRefusesRowWhoseRecordVanished() {
    TestDatabase db;
    SeedCatalogue(db);
    MessageScript messages({IDYES});
    auto dlg = OpenDialog();
    auto other = OpenDialog();

    ChooseRow(other->List(1), 1);
    QTest::mouseClick(other->DeleteButton(1), Qt::LeftButton);
    QCOMPARE(messages.Last(), "删除数据成功!");

    ReplaceInCell(dlg->List(1), 2, 1, "插头");
    QTest::mouseClick(dlg->SaveButton(1), Qt::LeftButton);
    QCOMPARE(messages.Last(), "一级商品名称\"开关\"(编号01)已在其他窗口或其他电脑上修改或删除,"
                              "本次保存没有写入任何数据。列表已重新读取,请核对后再修改保存。");
    QCOMPARE(db.Rows("SELECT bh, mc FROM name1"), QStringList{"02|插座"});
    QCOMPARE(db.Rows("SELECT code, name FROM property"), QStringList{"0200000001|插座"});
    QCOMPARE(ColumnTexts(dlg->List(1), 1), QStringList{"插座"});
    QCOMPARE(ColumnTexts(dlg->List(1), 2), QStringList{"02"});

    // Read again, the rename goes where it belongs.
    ReplaceInCell(dlg->List(1), 1, 1, "插头");
    QTest::mouseClick(dlg->SaveButton(1), Qt::LeftButton);
    QCOMPARE(messages.Last(), "已成功保存到数据库");
    QCOMPARE(db.Rows("SELECT bh, mc FROM name1"), QStringList{"02|插头"});
    QCOMPARE(db.Rows("SELECT code, name FROM property"), QStringList{"0200000001|插头"});
}

void TestClassDlg::saveRefusesRowWhoseRecordChanged() {
    TestDatabase db;
    SeedCatalogue(db);
    MessageScript messages;
    auto dlg = OpenDialog();
    auto other = OpenDialog();

    // Specifications under 开关: the other window changes the count of row 1.
    ChooseRow(dlg->List(1), 1);
    ChooseRow(other->List(1), 1);
    ReplaceInCell(other->List(5), 1, 1, "12");
    QTest::mouseClick(other->SaveButton(5), Qt::LeftButton);
    QCOMPARE(messages.Last(), "已成功保存到数据库");

    QTest::mouseClick(dlg->AddButton(5), Qt::LeftButton);
    ReplaceInCell(dlg->List(5), 2, 1, "30");
    QTest::mouseClick(dlg->SaveButton(5), Qt::LeftButton);
    QVERIFY(
        messages.Last().startsWith("规格\"10个/箱\"(编号01)已在其他窗口或其他电脑上修改或删除"));
    QCOMPARE(db.Rows("SELECT bh, count FROM name5 WHERE bh LIKE '0100%'"),
             QStringList{"0100000001|12"});
    QCOMPARE(ColumnTexts(dlg->List(5), 1), QStringList{"12"});

    // A level-2 node renamed by another workstation on the same file.
    ChooseRow(dlg->List(1), 1);
    CConnection workstation;
    db.OpenSecond(workstation);
    QCOMPARE(workstation.Execute("UPDATE name2 SET mc=? WHERE bh=?", {"防水面板", "0103"}), 1);
    ReplaceInCell(dlg->List(2), 1, 1, "墙壁面板");
    QTest::mouseClick(dlg->SaveButton(2), Qt::LeftButton);
    QVERIFY(messages.Last().startsWith("二级商品名称\"防水开关\"(编号03)"));
    QCOMPARE(db.Rows("SELECT mc FROM name2 ORDER BY bh"), (QStringList{"墙壁开关", "防水面板"}));
    QCOMPARE(ColumnTexts(dlg->List(2), 1), (QStringList{"墙壁开关", "防水面板"}));
}

void TestClassDlg::deleteRefusesRowWhoseRecordChanged() {
    TestDatabase db;
    SeedCatalogue(db);
    MessageScript messages({IDYES, IDOK, IDYES});
    auto dlg = OpenDialog();

    db.Exec("UPDATE name1 SET mc='插排' WHERE bh='02'");
    ChooseRow(dlg->List(1), 2);
    QTest::mouseClick(dlg->DeleteButton(1), Qt::LeftButton);
    QVERIFY(messages.Last().startsWith("一级商品名称\"插座\"(编号02)已在其他窗口或其他电脑上修改"));
    QCOMPARE(db.Rows("SELECT bh, mc FROM name1 ORDER BY bh"), (QStringList{"01|开关", "02|插排"}));
    QCOMPARE(db.Value("SELECT count(*) FROM property WHERE code LIKE '02%'"), "1");
    QCOMPARE(ColumnTexts(dlg->List(1), 1), (QStringList{"开关", "插排"}));

    // Read again, it deletes exactly that record.
    ChooseRow(dlg->List(1), 2);
    QTest::mouseClick(dlg->DeleteButton(1), Qt::LeftButton);
    QCOMPARE(messages.Last(), "删除数据成功!");
    QCOMPARE(db.Rows("SELECT bh FROM name1"), QStringList{"01"});
    QCOMPARE(db.Value("SELECT count(*) FROM property WHERE code LIKE '02%'"), "0");
}

// Stored documents keep the old code, and labels stuck on goods would scan as another product.
void TestClassDlg::renumberingUsedCodeAsksFirst() {
    TestDatabase db;
    SeedCatalogue(db);
    AddDocumentLine(db, "saleout", "0103000001");
    AddDocumentLine(db, "saleout", "0103010001");
    AddDocumentLine(db, "salein", "0103000001");
    AddDocumentLine(db, "entry", "0103010001");
    AddDocumentLine(db, "entry", "0101010101"); // another node
    MessageScript messages({IDNO});
    auto dlg = OpenDialog();

    ChooseRow(dlg->List(1), 1);
    ReplaceInCell(dlg->List(2), 2, 2, "05");
    QTest::mouseClick(dlg->SaveButton(2), Qt::LeftButton);
    QCOMPARE(messages.Last(),
             "编号03将改为05。已存的单据中有4行商品使用该类下的商品的编号,改号后这些单据仍保留"
             "原编号;已贴在商品上的条形码也会扫描成其他商品或无法识别。确定要改号吗?");
    QCOMPARE(messages.Messages().last().buttons, MsgButtons::YesNo);
    QCOMPARE(db.Rows("SELECT bh FROM name2 ORDER BY bh"), (QStringList{"0101", "0103"}));
    QCOMPARE(db.Value("SELECT count(*) FROM property WHERE code LIKE '0103%'"), "2");

    messages.Answer(IDYES);
    QTest::mouseClick(dlg->SaveButton(2), Qt::LeftButton);
    QCOMPARE(messages.Last(), "已成功保存到数据库");
    QCOMPARE(db.Rows("SELECT bh FROM name2 ORDER BY bh"), (QStringList{"0101", "0105"}));
    QCOMPARE(db.Value("SELECT count(*) FROM property WHERE code LIKE '0105%'"), "2");
    QCOMPARE(db.Value("SELECT count(*) FROM saleout WHERE code LIKE '0103%'"), "2");

    // A single product: the count is its own lines.
    ChooseRow(dlg->List(1), 2);
    AddDocumentLine(db, "saleout", "0200000001");
    messages.Answer(IDNO);
    ReplaceInCell(dlg->List(5), 1, 3, "07");
    QTest::mouseClick(dlg->SaveButton(5), Qt::LeftButton);
    QVERIFY(messages.Last().startsWith("编号01将改为07。已存的单据中有1行商品使用该商品的编号"));
    QCOMPARE(db.Rows("SELECT bh FROM name5 WHERE bh LIKE '02%'"), QStringList{"0200000001"});

    // A name change alone asks nothing.
    messages.Clear();
    ReplaceInCell(dlg->List(1), 2, 1, "插排");
    QTest::mouseClick(dlg->SaveButton(1), Qt::LeftButton);
    QCOMPARE(messages.Texts(), QStringList{"已成功保存到数据库"});
}

// "1,000" stored as stock would become 1 in a sale, and selling one then leaves 0.00.
void TestClassDlg::refusesPropertyValuesThatAreNotPlainNumbers() {
    TestDatabase db;
    SeedCatalogue(db);
    db.Exec("UPDATE property SET price='3', discount1='0.9', total='8' WHERE code='0100000001'");
    const QStringList before = db.Rows("SELECT * FROM property ORDER BY code");
    MessageScript messages;
    auto dlg = OpenDialog();
    CGridCtrl* props = dlg->Properties()->Grid();
    ChooseRow(dlg->List(1), 1);
    ChooseRow(dlg->List(5), 1);

    const struct {
        int col;
        const char* text;
        const char* message;
    } cases[] = {
        {8, "1,000", "总数\"1,000\"不是数字,请改正"},
        {4, "五元", "售价\"五元\"不是数字,请改正"},
        {5, "1.5", "折扣一不能超过1.00,请改正"},
        {6, "-0.1", "折扣二不能是负数,请改正"},
        {7, "0.8x", "折扣三\"0.8x\"不是数字,请改正"},
        {4, "-1", "售价不能是负数,请改正"},
        {8, "-3", "总数不能是负数,请改正"},
        {8, "10000000", "总数不能超过9999999.99,请改正"},
        {4, "100000000", "售价不能超过99999999.99,请改正"},
        {3, "   ", "商品简称不能为空"},
        {3, "简\x07称", "商品简称中有不能保存的控制字符,请改正"},
    };
    for (const auto& c : cases) {
        const QString kept = props->GetCellText(1, c.col);
        ReplaceInCell(props, 1, c.col, QString::fromUtf8(c.text));
        QTest::mouseClick(dlg->Properties()->SaveButton(), Qt::LeftButton);
        QCOMPARE(messages.Last(), QString::fromUtf8(c.message));
        QCOMPARE(messages.Messages().last().icon, MsgIcon::Exclamation);
        QCOMPARE(db.Rows("SELECT * FROM property ORDER BY code"), before);
        ReplaceInCell(props, 1, c.col, kept);
    }
    ReplaceInCell(props, 1, 8, "1000");
    ReplaceInCell(props, 1, 5, "1");
    QTest::mouseClick(dlg->Properties()->SaveButton(), Qt::LeftButton);
    QCOMPARE(messages.Last(), "商品属性已成功保存");
    QCOMPARE(db.Rows("SELECT price, discount1, total FROM property WHERE code='0100000001'"),
             QStringList{"3|1|1000"});
}

void TestClassDlg::storesEmptyPropertyCellsAsEmptyText() {
    TestDatabase db;
    SeedCatalogue(db);
    MessageScript messages;
    auto dlg = OpenDialog();
    db.Exec("DELETE FROM property WHERE code='0200000001'");

    ChooseRow(dlg->List(1), 2);
    ChooseRow(dlg->List(5), 1);
    ReplaceInCell(dlg->Properties()->Grid(), 1, 3, "插座");
    QTest::mouseClick(dlg->Properties()->SaveButton(), Qt::LeftButton);
    QCOMPARE(messages.Last(), "商品属性已成功保存");
    if (!TestDatabase::OnServer()) // the server's columns are text whatever they hold
        QCOMPARE(db.Rows("SELECT typeof(price), typeof(discount1), typeof(discount2), "
                         "typeof(discount3), typeof(total), price || discount1 || total "
                         "FROM property WHERE code='0200000001'"),
                 QStringList{"text|text|text|text|text|"});
    QCOMPARE(db.Value("SELECT count(*) FROM property WHERE code='0200000001' AND (price IS NULL "
                      "OR total IS NULL OR discount1 IS NULL OR shortpinyin IS NULL)"),
             "0");
}

void TestClassDlg::refusesBlankOrControlCharacterNames() {
    TestDatabase db;
    SeedCatalogue(db);
    const QStringList before = db.Rows("SELECT bh, mc FROM name1 ORDER BY bh");
    MessageScript messages;
    auto dlg = OpenDialog();
    CGridCtrl* list1 = dlg->List(1);

    ReplaceInCell(list1, 2, 1, "   ");
    QTest::mouseClick(dlg->SaveButton(1), Qt::LeftButton);
    QCOMPARE(messages.Last(), "一级商品名称不能为空");
    ReplaceInCell(list1, 2, 1, "");
    QTest::mouseClick(dlg->SaveButton(1), Qt::LeftButton);
    QCOMPARE(messages.Last(), "一级商品名称不能为空");
    ReplaceInCell(list1, 2, 1, QString("插\x1b座"));
    QTest::mouseClick(dlg->SaveButton(1), Qt::LeftButton);
    QCOMPARE(messages.Last(), "一级商品名称中有不能保存的控制字符,请改正");
    QCOMPARE(db.Rows("SELECT bh, mc FROM name1 ORDER BY bh"), before);

    // A new row of blanks, and a level-2 name.
    ReplaceInCell(list1, 2, 1, "插座");
    QTest::mouseClick(dlg->AddButton(1), Qt::LeftButton);
    ReplaceInCell(list1, 3, 1, " \t ");
    QTest::mouseClick(dlg->SaveButton(1), Qt::LeftButton);
    QCOMPARE(messages.Last(), "一级商品名称不能为空");
    ChooseRow(list1, 1);
    ReplaceInCell(dlg->List(2), 1, 1, QString("墙壁\x01开关"));
    QTest::mouseClick(dlg->SaveButton(2), Qt::LeftButton);
    QCOMPARE(messages.Last(), "二级商品名称中有不能保存的控制字符,请改正");

    // Counts of specifications (straight under 开关).
    ChooseRow(list1, 1);
    ReplaceInCell(dlg->List(5), 1, 1, QString("1\x7f"));
    QTest::mouseClick(dlg->SaveButton(5), Qt::LeftButton);
    QCOMPARE(messages.Last(), "数量中有不能保存的控制字符,请改正");
    QCOMPARE(db.Rows("SELECT bh, mc FROM name1 ORDER BY bh"), before);
    QCOMPARE(db.Value("SELECT mc FROM name2 WHERE bh='0101'"), "墙壁开关");
    QCOMPARE(db.Value("SELECT count FROM name5 WHERE bh='0100000001'"), "10");
}

void TestClassDlg::saveThatWritesNothingSaysSo() {
    TestDatabase db;
    SeedCatalogue(db);
    MessageScript messages;
    auto dlg = OpenDialog();

    QTest::mouseClick(dlg->AddButton(1), Qt::LeftButton);
    QTest::mouseClick(dlg->SaveButton(1), Qt::LeftButton);
    QCOMPARE(messages.Last(), "第3行的商品名称为空,没有保存任何数据,请先输入商品名称再保存");
    QCOMPARE(db.Value("SELECT count(*) FROM name1"), "2");

    ChooseRow(dlg->List(1), 1);
    QTest::mouseClick(dlg->AddButton(5), Qt::LeftButton);
    QTest::mouseClick(dlg->SaveButton(5), Qt::LeftButton);
    QCOMPARE(messages.Last(), "第2行的数量为空,没有保存任何数据,请先输入数量再保存");
    QCOMPARE(db.Value("SELECT count(*) FROM name5"), "5");

    QTest::mouseClick(dlg->SaveButton(2), Qt::LeftButton);
    QCOMPARE(messages.Last(), "列表没有修改,没有需要保存的数据");
}

QTEST_MAIN(TestClassDlg)
#include "tst_classdlg.moc"
#include "ui/PickArea.h"
