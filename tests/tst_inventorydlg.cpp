#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "GridInput.h"
#include "UserInput.h"

#include <memory>

#include "catalogue/ProductSearch.h"
#include "grid/CGridCtrl.h"
#include "stock/CInventoryDlg.h"
#include "support/MessageScript.h"
#include "support/TestDatabase.h"
#include "text/PinyinInitials.h"

namespace {

void AddProperty(TestDatabase& db, const QString& code, const QString& name,
                 const QString& shortName, const QString& total) {
    auto quoted = [](QString text) { return text.replace("'", "''"); };
    db.Exec(QStringLiteral("INSERT INTO property (code, name, shortname, spec, price, total, "
                           "longpinyin, shortpinyin) VALUES ('%1', '%2', '%3', '1个', '2.00', "
                           "'%4', '%5', '%6')")
                .arg(code, quoted(name), quoted(shortName), total, quoted(GetPinyinInitials(name)),
                     quoted(GetPinyinInitials(shortName))));
}

void FillProducts(TestDatabase& db) {
    AddProperty(db, "0101010001", "五金-螺丝-膨胀螺丝", "膨胀栓", "200");
    AddProperty(db, "0101000001", "五金-螺丝", "螺丝", "1000");
    AddProperty(db, "0200000001", "开关", "单联开关", "30");
    AddProperty(db, "0300000001", "电线-铜线", "铜线100%", "5");
}

// Types a keyword, picks the search column and presses 搜索, as the user does.
void SearchFor(CInventoryDlg& dialog, const QString& keyword, bool byShortName) {
    dialog.KeywordBox()->clear();
    TypeText(dialog.KeywordBox(), keyword);
    QTest::mouseClick(byShortName ? dialog.ByShortNameButton() : dialog.ByNameButton(),
                      Qt::LeftButton);
    QTest::mouseClick(dialog.SearchButton(), Qt::LeftButton);
}

} // namespace

class TestInventoryDlg : public QObject {
    Q_OBJECT

  private slots:
    void searchesByNameOrByShortName();
    void emptyKeywordListsEveryProduct();
    void enterInTheKeywordBoxSearches();
    void typedWildcardsAndQuotesMatchThemselves();
    void reopenedWindowShowsTheLastValuesWithAnEmptyGrid();
    void nonAsciiKeywordsMatchAsTyped();
};

void TestInventoryDlg::searchesByNameOrByShortName() {
    TestDatabase db;
    FillProducts(db);
    MessageScript messages;
    CInventoryDlg dialog;
    dialog.show();

    SearchFor(dialog, "五金", false);
    QCOMPARE(ColumnTexts(dialog.Grid(), kColCode), (QStringList{"0101010001", "0101000001"}));
    QCOMPARE(dialog.HitsBox()->text(), "2");
    QCOMPARE(dialog.Grid()->GetCellText(1, kColShortName), "膨胀栓");
    QCOMPARE(dialog.Grid()->GetCellText(2, kColTotal), "1000");

    SearchFor(dialog, "五金", true); // no short name holds it
    QCOMPARE(dialog.Grid()->GetRowCount(), 1);
    QCOMPARE(dialog.HitsBox()->text(), "0");

    SearchFor(dialog, "膨胀栓", true);
    QCOMPARE(ColumnTexts(dialog.Grid(), kColName), QStringList{"五金-螺丝-膨胀螺丝"});
    SearchFor(dialog, "膨胀栓", false);
    QCOMPARE(dialog.HitsBox()->text(), "0");

    // Initials typed in lower case; the box shows them as searched.
    SearchFor(dialog, "kg", false);
    QCOMPARE(dialog.KeywordBox()->text(), "KG");
    QCOMPARE(ColumnTexts(dialog.Grid(), kColName), QStringList{"开关"});
    SearchFor(dialog, "dlkg", true);
    QCOMPARE(ColumnTexts(dialog.Grid(), kColShortName), QStringList{"单联开关"});
    QCOMPARE(ColumnTexts(dialog.Grid(), kColNumber), QStringList{"1"});
    QCOMPARE(messages.Count(), 0);
}

void TestInventoryDlg::emptyKeywordListsEveryProduct() {
    TestDatabase db;
    MessageScript messages;
    CInventoryDlg dialog;
    dialog.show();

    SearchFor(dialog, "", false); // an empty shop: no rows, a count of 0
    QCOMPARE(dialog.HitsBox()->text(), "0");

    FillProducts(db);
    SearchFor(dialog, "", false);
    QCOMPARE(dialog.HitsBox()->text(), "4");
    QCOMPARE(ColumnTexts(dialog.Grid(), kColNumber), (QStringList{"1", "2", "3", "4"}));
    SearchFor(dialog, "", true);
    QCOMPARE(dialog.HitsBox()->text(), "4");
    QCOMPARE(dialog.Grid()->GetRowCount(), 5);
    QCOMPARE(messages.Count(), 0);
}

void TestInventoryDlg::enterInTheKeywordBoxSearches() {
    TestDatabase db;
    FillProducts(db);
    CInventoryDlg dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QTest::mouseClick(dialog.ByNameButton(), Qt::LeftButton);
    dialog.KeywordBox()->setFocus();
    QTest::keyClicks(dialog.KeywordBox(), "ls");
    QTest::keyClick(dialog.KeywordBox(), Qt::Key_Return);
    QCOMPARE(dialog.HitsBox()->text(), "2");
    QCOMPARE(dialog.KeywordBox()->text(), "LS");
    QVERIFY(dialog.isVisible()); // Enter searches, it never closes the window

    // A second search replaces the rows of the first.
    dialog.KeywordBox()->clear();
    TypeText(dialog.KeywordBox(), "开关");
    QTest::keyClick(dialog.KeywordBox(), Qt::Key_Enter);
    QCOMPARE(ColumnTexts(dialog.Grid(), kColCode), QStringList{"0200000001"});
    QCOMPARE(dialog.HitsBox()->text(), "1");

    // Enter anywhere in the window searches, the grid included.
    dialog.KeywordBox()->setText("wj");
    QTest::keyClick(dialog.Grid(), Qt::Key_Return);
    QCOMPARE(dialog.HitsBox()->text(), "2");
}

void TestInventoryDlg::typedWildcardsAndQuotesMatchThemselves() {
    TestDatabase db;
    FillProducts(db);
    AddProperty(db, "0400000001", "铝梯4'", "铝梯", "2");
    MessageScript messages;
    CInventoryDlg dialog;
    dialog.show();

    SearchFor(dialog, "%", true);
    QCOMPARE(ColumnTexts(dialog.Grid(), kColShortName), QStringList{"铜线100%"});
    SearchFor(dialog, "_", false);
    QCOMPARE(dialog.HitsBox()->text(), "0");
    SearchFor(dialog, "4'", false);
    QCOMPARE(ColumnTexts(dialog.Grid(), kColCode), QStringList{"0400000001"});
    QCOMPARE(messages.Count(), 0);
}

void TestInventoryDlg::reopenedWindowShowsTheLastValuesWithAnEmptyGrid() {
    TestDatabase db;
    FillProducts(db);
    {
        CInventoryDlg first;
        first.show();
        SearchFor(first, "lS", true);
        QCOMPARE(first.HitsBox()->text(), "1");
    }
    CInventoryDlg reopened;
    reopened.show();
    QCOMPARE(reopened.KeywordBox()->text(), "LS");
    QVERIFY(reopened.ByShortNameButton()->isChecked());
    QCOMPARE(reopened.HitsBox()->text(), "1");
    QCOMPARE(reopened.Grid()->GetRowCount(), 1);

    SearchFor(reopened, "螺丝", false);
    QCOMPARE(reopened.HitsBox()->text(), "2");
}

QTEST_MAIN(TestInventoryDlg)
#include "tst_inventorydlg.moc"

// Only ASCII letters are folded; Greek and full-width letters are searched as typed.
void TestInventoryDlg::nonAsciiKeywordsMatchAsTyped() {
    TestDatabase db;
    AddProperty(db, "0401000001", "PPR管-φ20", "φ20管", "12");
    AddProperty(db, "0402000001", "钢板-６ｍｍ", "厚板", "3");
    AddProperty(db, "0403000001", "钢板-ＭＭ型", "ＭＭ板", "4");
    MessageScript messages;
    CInventoryDlg dialog;
    dialog.show();

    SearchFor(dialog, "φ20", false);
    QCOMPARE(dialog.KeywordBox()->text(), "φ20");
    QCOMPARE(ColumnTexts(dialog.Grid(), kColName), QStringList{"PPR管-φ20"});
    SearchFor(dialog, "ppr管-φ", false);
    QCOMPARE(dialog.KeywordBox()->text(), "PPR管-φ");
    QCOMPARE(ColumnTexts(dialog.Grid(), kColCode), QStringList{"0401000001"});
    SearchFor(dialog, "φ20", true);
    QCOMPARE(ColumnTexts(dialog.Grid(), kColShortName), QStringList{"φ20管"});

    SearchFor(dialog, "ｍｍ", false);
    QCOMPARE(dialog.KeywordBox()->text(), "ｍｍ");
    QCOMPARE(ColumnTexts(dialog.Grid(), kColName), QStringList{"钢板-６ｍｍ"});
    SearchFor(dialog, "６ｍｍ", false);
    QCOMPARE(ColumnTexts(dialog.Grid(), kColName), QStringList{"钢板-６ｍｍ"});
    SearchFor(dialog, "ＭＭ", true);
    QCOMPARE(ColumnTexts(dialog.Grid(), kColShortName), QStringList{"ＭＭ板"});
    QCOMPARE(dialog.HitsBox()->text(), "1");
    QCOMPARE(messages.Count(), 0);
}
