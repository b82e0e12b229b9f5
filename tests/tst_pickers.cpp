#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "GridInput.h"
#include "catalogue/CPinyinSelectDlg.h"
#include "catalogue/CSelectNameDlg.h"
#include "catalogue/PickHandOver.h"
#include "catalogue/PickerSettings.h"
#include "catalogue/ProductSearch.h"
#include "grid/CGridCtrl.h"
#include "support/MessageScript.h"
#include "support/TestDatabase.h"
#include "support/TestDocumentWindow.h"
#include "text/PinyinInitials.h"

namespace {

const char* const kNoPropertyMessage = "所选的商品还未添加规格属性,请先在基础资料中添加";

void AddNode(TestDatabase& db, int level, const QString& bh, const QString& mc) {
    db.Exec(
        QStringLiteral("INSERT INTO name%1 (bh, mc) VALUES ('%2', '%3')").arg(level).arg(bh, mc));
}

void AddSpec(TestDatabase& db, const QString& bh, const QString& count, const QString& pack) {
    db.Exec(QStringLiteral("INSERT INTO name5 (bh, \"count\", pack) VALUES ('%1', '%2', '%3')")
                .arg(bh, count, pack));
}

void AddProperty(TestDatabase& db, const QString& code, const QString& name,
                 const QString& shortName, const QString& spec, const QString& price,
                 const QString& total) {
    auto quoted = [](QString text) { return text.replace("'", "''"); };
    db.Exec(QStringLiteral("INSERT INTO property (code, name, shortname, spec, price, total, "
                           "longpinyin, shortpinyin) VALUES ('%1', '%2', '%3', '%4', '%5', '%6', "
                           "'%7', '%8')")
                .arg(code, quoted(name), quoted(shortName), spec, price, total,
                     quoted(GetPinyinInitials(name)), quoted(GetPinyinInitials(shortName))));
}

// 五金 > 螺丝 > 膨胀螺丝 (one product), a product right under 螺丝, one right under 开关 and
// one under 钉子 whose properties were never saved.
void FillCatalogue(TestDatabase& db) {
    AddNode(db, 1, "01", "五金");
    AddNode(db, 1, "02", "开关");
    AddNode(db, 2, "0101", "螺丝");
    AddNode(db, 2, "0102", "钉子");
    AddNode(db, 3, "010101", "膨胀螺丝");
    AddSpec(db, "0101010001", "100", "个/盒");
    AddSpec(db, "0101000001", "50", "个/袋");
    AddSpec(db, "0200000001", "10", "个/箱");
    AddSpec(db, "0102000001", "1", "千克");
    AddProperty(db, "0101010001", "五金-螺丝-膨胀螺丝", "膨胀螺丝", "100个/盒", "0.50", "200");
    AddProperty(db, "0101000001", "五金-螺丝", "螺丝", "50个/袋", "0.10", "1000");
    AddProperty(db, "0200000001", "开关", "开关", "10个/箱", "5.00", "30");
}

// Opens a picker window as the document does, without blocking the test.
template <class Dialog> void Open(Dialog& dialog) {
    dialog.open();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
}

} // namespace

class TestPickers : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        // The pickers' setting is written to this folder, not the user's.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
    }
    void init();

    void pinyinPickerSearchesNameInitialsAndCode();
    void pinyinPickerHandsTheClickedRowToTheDocument();
    void pinyinPickerChoosesWithArrowKeysAndEnter();
    void pinyinPickerWithoutResultPicksNothing();
    void pinyinPickerMatchesTypedWildcardsAndQuotesLiterally();
    void pinyinPickerFoldsOnlyAsciiLetters();
    void pinyinPickerRefusesProductWithoutPropertiesAndStaysOpen();
    void pinyinPickerClosedWithoutChoiceLeavesNothingPicked();

    void levelWalkFillsTheDeeperLists();
    void levelWalkPicksFullNameAndCode();
    void specUnderLevelOneSkipsTheMiddleLevels();
    void selectNameRefusesProductWithoutProperties();
    void closingSelectNameWithoutPickLeavesNothingPicked();

    void pickGoesToTheDocumentThatOpenedThePicker();
    void documentOpensThePickerThatFitsItsSearchText();

  private:
    QTemporaryDir m_settings;
};

void TestPickers::init() {
    PickArea().m_nPickTarget = 0;
    PickArea().m_strPickQuery.clear();
    PickArea().m_strPickedName.clear();
    PickArea().m_strPickedCode.clear();
    PickArea().m_strPickedSpec.clear();
}

void TestPickers::pinyinPickerSearchesNameInitialsAndCode() {
    TestDatabase db;
    FillCatalogue(db);
    MessageScript messages;

    PickArea().m_strPickQuery = "pzls"; // lower case: initials are stored in upper case
    CPinyinSelectDlg byInitials;
    QCOMPARE(ColumnTexts(byInitials.Grid(), kColName), QStringList{"五金-螺丝-膨胀螺丝"});
    const int row = 1;
    QCOMPARE(byInitials.Grid()->GetCellText(row, kColNumber), "1");
    QCOMPARE(byInitials.Grid()->GetCellText(row, kColShortName), "膨胀螺丝");
    QCOMPARE(byInitials.Grid()->GetCellText(row, kColSpec), "100个/盒");
    QCOMPARE(byInitials.Grid()->GetCellText(row, kColCode), "0101010001");
    QCOMPARE(byInitials.Grid()->GetCellText(row, kColPrice), "0.50");
    QCOMPARE(byInitials.Grid()->GetCellText(row, kColTotal), "200");

    PickArea().m_strPickQuery = "0101"; // the code prefix of 螺丝: every product under it
    CPinyinSelectDlg byCode;
    QCOMPARE(ColumnTexts(byCode.Grid(), kColCode), (QStringList{"0101010001", "0101000001"}));

    PickArea().m_strPickQuery = "螺丝";
    CPinyinSelectDlg byName;
    QCOMPARE(ColumnTexts(byName.Grid(), kColNumber), (QStringList{"1", "2"}));
    QCOMPARE(messages.Count(), 0);
}

void TestPickers::pinyinPickerHandsTheClickedRowToTheDocument() {
    TestDatabase db;
    FillCatalogue(db);
    MessageScript messages;
    TestDocumentWindow saleOut("销售出库");
    PickArea().m_nPickTarget = 2;
    PickArea().m_strPickQuery = "ls";

    CPinyinSelectDlg dialog;
    Open(dialog);
    QCOMPARE(dialog.Grid()->GetRowCount(), 3);
    ClickCell(dialog.Grid(), 0, kColName); // the header row chooses nothing
    QCOMPARE(dialog.SelectedRow(), 0);
    ClickCell(dialog.Grid(), 2, kColName);
    QCOMPARE(dialog.SelectedRow(), 2);
    ClickCell(dialog.Grid(), 2, kColNumber); // neither does the row-number column
    QCOMPARE(dialog.SelectedRow(), 0);
    ClickCell(dialog.Grid(), 2, kColPrice);
    QTest::mouseClick(dialog.SelectButton(), Qt::LeftButton);

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(PickArea().m_strPickedName, "五金-螺丝");
    QCOMPARE(PickArea().m_strPickedCode, "0101000001");
    QCOMPARE(PickArea().m_strPickedSpec, "50个/袋");
    QCOMPARE(saleOut.Products().size(), 1);
    QCOMPARE(saleOut.Products().first().code, "0101000001");
    QCOMPARE(messages.Count(), 0);
}

void TestPickers::pinyinPickerChoosesWithArrowKeysAndEnter() {
    TestDatabase db;
    FillCatalogue(db);
    TestDocumentWindow saleOut("销售出库");
    PickArea().m_nPickTarget = 2;
    PickArea().m_strPickQuery = "ls";

    CPinyinSelectDlg dialog;
    Open(dialog);
    ClickCell(dialog.Grid(), 1, kColName);
    QTest::keyClick(dialog.Grid(), Qt::Key_Down);
    QCOMPARE(dialog.SelectedRow(), 2);
    QTest::keyClick(dialog.Grid(), Qt::Key_Return);

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(PickArea().m_strPickedCode, "0101000001");
    QCOMPARE(saleOut.Products().size(), 1);
}

void TestPickers::pinyinPickerWithoutResultPicksNothing() {
    TestDatabase db;
    FillCatalogue(db);
    TestDocumentWindow entry("采购入库");
    PickArea().m_nPickTarget = 1;
    PickArea().m_strPickQuery = "xyz";

    CPinyinSelectDlg dialog;
    Open(dialog);
    QCOMPARE(dialog.Grid()->GetRowCount(), 1); // the header row alone
    QCOMPARE(dialog.Grid()->GetCellText(0, kColName), "商品名称");
    ClickCell(dialog.Grid(), 0, kColCode);
    QTest::mouseClick(dialog.SelectButton(), Qt::LeftButton);

    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!dialog.isVisible());
    QVERIFY(PickArea().m_strPickedName.isEmpty());
    QVERIFY(entry.Products().isEmpty());
}

void TestPickers::pinyinPickerMatchesTypedWildcardsAndQuotesLiterally() {
    TestDatabase db;
    FillCatalogue(db);
    AddProperty(db, "0300000001", "铜线", "铜线100%", "1卷", "80", "5");
    AddProperty(db, "0300000002", "铝梯", "铝梯4'", "1架", "300", "2");
    AddProperty(db, "0300000003", "铝梯", "铝梯4_5米", "1架", "320", "1");
    MessageScript messages;

    // Unescaped, "0%" would match every code with a 0 in it.
    PickArea().m_strPickQuery = "0%";
    CPinyinSelectDlg percent;
    QCOMPARE(ColumnTexts(percent.Grid(), kColCode), QStringList{"0300000001"});

    PickArea().m_strPickQuery = "4'";
    CPinyinSelectDlg quote;
    QCOMPARE(ColumnTexts(quote.Grid(), kColCode), QStringList{"0300000002"});

    PickArea().m_strPickQuery = "4_5";
    CPinyinSelectDlg underscore;
    QCOMPARE(ColumnTexts(underscore.Grid(), kColCode), QStringList{"0300000003"});
    QCOMPARE(messages.Count(), 0); // no statement broke
}

void TestPickers::pinyinPickerFoldsOnlyAsciiLetters() {
    TestDatabase db;
    AddProperty(db, "0401000001", "PPR管-φ20", "φ20管", "1根", "8.00", "12");
    AddProperty(db, "0402000001", "钢板-６ｍｍ", "厚板", "1张", "90.00", "3");
    MessageScript messages;

    PickArea().m_strPickQuery = "φ20";
    CPinyinSelectDlg greek;
    QCOMPARE(ColumnTexts(greek.Grid(), kColCode), QStringList{"0401000001"});
    PickArea().m_strPickQuery = "ppr管-φ20";
    CPinyinSelectDlg mixed;
    QCOMPARE(ColumnTexts(mixed.Grid(), kColCode), QStringList{"0401000001"});
    PickArea().m_strPickQuery = "ｍｍ";
    CPinyinSelectDlg fullWidth;
    QCOMPARE(ColumnTexts(fullWidth.Grid(), kColCode), QStringList{"0402000001"});
    PickArea().m_strPickQuery = "６ｍｍ";
    CPinyinSelectDlg fullWidthDigit;
    QCOMPARE(ColumnTexts(fullWidthDigit.Grid(), kColCode), QStringList{"0402000001"});
    QCOMPARE(FoldSearchText("pzls φ ｍｍ ä"), "PZLS φ ｍｍ ä");
    QCOMPARE(messages.Count(), 0);
}

void TestPickers::pinyinPickerRefusesProductWithoutPropertiesAndStaysOpen() {
    TestDatabase db;
    FillCatalogue(db);
    MessageScript messages;
    TestDocumentWindow saleIn("销售退货");
    PickArea().m_nPickTarget = 3;
    PickArea().m_strPickQuery = "wj";

    CPinyinSelectDlg dialog;
    Open(dialog);
    QCOMPARE(dialog.Grid()->GetRowCount(), 3);
    // Another workstation removes the first product's properties meanwhile.
    db.Exec("DELETE FROM property WHERE code='0101010001'");
    ClickCell(dialog.Grid(), 1, kColName);
    QTest::mouseClick(dialog.SelectButton(), Qt::LeftButton);

    QCOMPARE(messages.Texts(), QStringList{kNoPropertyMessage});
    QCOMPARE(messages.Messages().last().icon, MsgIcon::Stop);
    QVERIFY(dialog.isVisible());
    QVERIFY(!saleIn.m_bNoProperty); // lowered again for the next pick

    ClickCell(dialog.Grid(), 2, kColName);
    QTest::mouseClick(dialog.SelectButton(), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(PickArea().m_strPickedCode, "0101000001");
    QCOMPARE(saleIn.AcceptedProducts().size(), 1);
    QCOMPARE(messages.Count(), 1);
}

void TestPickers::pinyinPickerClosedWithoutChoiceLeavesNothingPicked() {
    TestDatabase db;
    FillCatalogue(db);
    TestDocumentWindow saleOut("销售出库");
    PickArea().m_nPickTarget = 2;
    PickArea().m_strPickQuery = "kg";

    CPinyinSelectDlg byExit;
    Open(byExit);
    PickArea().m_strPickedName = "开关"; // left from an earlier pick
    QTest::mouseClick(byExit.ExitButton(), Qt::LeftButton);
    QVERIFY(PickArea().m_strPickedName.isEmpty());

    CPinyinSelectDlg byEscape;
    Open(byEscape);
    ClickCell(byEscape.Grid(), 1, kColName);
    PickArea().m_strPickedName = "开关";
    QTest::keyClick(&byEscape, Qt::Key_Escape);
    QVERIFY(!byEscape.isVisible());
    QVERIFY(PickArea().m_strPickedName.isEmpty());
    QVERIFY(saleOut.Products().isEmpty());
}

void TestPickers::levelWalkFillsTheDeeperLists() {
    TestDatabase db;
    FillCatalogue(db);
    MessageScript messages;
    CSelectNameDlg dialog;
    Open(dialog);

    QCOMPARE(ColumnTexts(dialog.List(1), 1), (QStringList{"五金", "开关"}));
    QCOMPARE(ColumnTexts(dialog.List(1), 2), (QStringList{"01", "02"}));
    for (int k = 2; k <= 5; ++k)
        QCOMPARE(dialog.List(k)->GetRowCount(), 1);

    ClickCell(dialog.List(1), 1, 1);
    QCOMPARE(ColumnTexts(dialog.List(2), 1), (QStringList{"螺丝", "钉子"}));
    QCOMPARE(ColumnTexts(dialog.List(2), 2), (QStringList{"01", "02"}));
    QCOMPARE(dialog.List(5)->GetRowCount(), 1); // nothing hangs right under 五金

    ClickCell(dialog.List(2), 1, 2);
    QCOMPARE(ColumnTexts(dialog.List(3), 1), QStringList{"膨胀螺丝"});
    QCOMPARE(ColumnTexts(dialog.List(5), 1), QStringList{"50"});
    QCOMPARE(ColumnTexts(dialog.List(5), 2), QStringList{"个/袋"});
    QCOMPARE(ColumnTexts(dialog.List(5), 3), QStringList{"01"});

    ClickCell(dialog.List(3), 1, 1);
    QCOMPARE(dialog.List(4)->GetRowCount(), 1);
    QCOMPARE(ColumnTexts(dialog.List(5), 1), QStringList{"100"});

    // Back to level 1: the deeper lists and the path below it are emptied.
    ClickCell(dialog.List(1), 2, 1);
    QCOMPARE(dialog.List(2)->GetRowCount(), 1);
    QCOMPARE(dialog.List(3)->GetRowCount(), 1);
    QCOMPARE(ColumnTexts(dialog.List(5), 2), QStringList{"个/箱"});
    QCOMPARE(dialog.Path().m_strCode[1], "02");
    QVERIFY(dialog.Path().m_strCode[2].isEmpty());
    QVERIFY(dialog.Path().m_strName[3].isEmpty());

    ClickCell(dialog.List(1), 0, 1); // header: the path stays
    QCOMPARE(dialog.Path().m_strName[1], "开关");
    QCOMPARE(messages.Count(), 0);
}

void TestPickers::levelWalkPicksFullNameAndCode() {
    TestDatabase db;
    FillCatalogue(db);
    TestDocumentWindow entry("采购入库");
    PickArea().m_nPickTarget = 1;
    CSelectNameDlg dialog;
    Open(dialog);

    ClickCell(dialog.List(1), 1, 1);
    ClickCell(dialog.List(2), 1, 1);
    ClickCell(dialog.List(3), 1, 1);
    ClickCell(dialog.List(5), 1, 1); // a single click in list 5 picks nothing
    QVERIFY(dialog.isVisible());
    DoubleClickCell(dialog.List(5), 1, 2);

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(PickArea().m_strPickedName, "五金-螺丝-膨胀螺丝");
    QCOMPARE(PickArea().m_strPickedCode, "0101010001");
    QCOMPARE(PickArea().m_strPickedSpec, "100个/盒");
    QCOMPARE(entry.AcceptedProducts().size(), 1);
}

void TestPickers::specUnderLevelOneSkipsTheMiddleLevels() {
    TestDatabase db;
    FillCatalogue(db);
    TestDocumentWindow saleOut("销售出库");
    PickArea().m_nPickTarget = 2;
    CSelectNameDlg dialog;
    Open(dialog);

    ClickCell(dialog.List(1), 2, 1);
    DoubleClickCell(dialog.List(5), 1, 1);

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(PickArea().m_strPickedName, "开关");
    QCOMPARE(PickArea().m_strPickedCode, "0200000001");
    QCOMPARE(PickArea().m_strPickedSpec, "10个/箱");
    QCOMPARE(saleOut.Products().size(), 1);
}

void TestPickers::selectNameRefusesProductWithoutProperties() {
    TestDatabase db;
    FillCatalogue(db);
    MessageScript messages;
    TestDocumentWindow saleOut("销售出库");
    PickArea().m_nPickTarget = 2;
    CSelectNameDlg dialog;
    Open(dialog);

    ClickCell(dialog.List(1), 1, 1);
    ClickCell(dialog.List(2), 2, 1); // 钉子: its one product has no properties
    DoubleClickCell(dialog.List(5), 1, 1);

    QCOMPARE(messages.Texts(), QStringList{kNoPropertyMessage});
    QVERIFY(dialog.isVisible());
    QVERIFY(saleOut.AcceptedProducts().isEmpty());
    QVERIFY(!saleOut.m_bNoProperty);

    // The user gives up: the refused product is not handed over on close.
    dialog.close();
    QVERIFY(!dialog.isVisible());
    QVERIFY(PickArea().m_strPickedName.isEmpty());
    QCOMPARE(saleOut.Products().size(), 1);
    QCOMPARE(messages.Count(), 1);
}

void TestPickers::closingSelectNameWithoutPickLeavesNothingPicked() {
    TestDatabase db;
    FillCatalogue(db);
    TestDocumentWindow saleIn("销售退货");
    PickArea().m_nPickTarget = 3;
    PickArea().m_strPickedName = "五金-螺丝"; // left from an earlier pick
    CSelectNameDlg dialog;
    Open(dialog);

    ClickCell(dialog.List(1), 1, 1);
    ClickCell(dialog.List(2), 1, 1);
    dialog.close();

    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(PickArea().m_strPickedName.isEmpty());
    QVERIFY(saleIn.Products().isEmpty());
}

void TestPickers::pickGoesToTheDocumentThatOpenedThePicker() {
    TestDatabase db;
    FillCatalogue(db);
    MessageScript messages;
    TestDocumentWindow entry("采购入库");
    TestDocumentWindow saleOut("销售出库");

    PickArea().m_nPickTarget = 1; // the stock-in document opens the picker
    PickArea().m_strPickQuery = "kg";
    CPinyinSelectDlg fromEntry;
    Open(fromEntry);
    ClickCell(fromEntry.Grid(), 1, kColName);
    QTest::mouseClick(fromEntry.SelectButton(), Qt::LeftButton);
    QCOMPARE(entry.Products().size(), 1);
    QVERIFY(saleOut.Products().isEmpty());

    PickArea().m_nPickTarget = 2; // now the sales-out document does
    CSelectNameDlg fromSaleOut;
    Open(fromSaleOut);
    ClickCell(fromSaleOut.List(1), 1, 1);
    ClickCell(fromSaleOut.List(2), 1, 1);
    DoubleClickCell(fromSaleOut.List(5), 1, 1);
    QCOMPARE(saleOut.Products().size(), 1);
    QCOMPARE(saleOut.Products().first().name, "五金-螺丝");
    QCOMPARE(entry.Products().size(), 1);
    QCOMPARE(entry.Products().first().name, "开关");
    QCOMPARE(messages.Count(), 0);
}

void TestPickers::documentOpensThePickerThatFitsItsSearchText() {
    TestDatabase db;
    FillCatalogue(db);
    TestDocumentWindow saleOut("销售出库");
    QStringList opened;
    SetPickSingleMatchAtOnce(false); // "kg" matches one product: show the picker all the same

    // Closes whatever modal picker is open, or chooses its first row, once it shows.
    auto answer = [&opened](bool choose) {
        QTimer::singleShot(0, [&opened, choose] {
            QWidget* picker = QApplication::activeModalWidget();
            QVERIFY(picker);
            opened << picker->windowTitle();
            if (auto* pinyin = qobject_cast<CPinyinSelectDlg*>(picker); pinyin && choose) {
                ClickCell(pinyin->Grid(), 1, kColName);
                QTest::mouseClick(pinyin->SelectButton(), Qt::LeftButton);
            } else {
                picker->close();
            }
        });
    };

    answer(true);
    QVERIFY(RunProductPicker(nullptr, 2, "kg"));
    QCOMPARE(PickArea().m_nPickTarget, 2);
    QCOMPARE(PickArea().m_strPickedName, "开关");
    answer(false);
    QVERIFY(!RunProductPicker(nullptr, 2, ""));
    QVERIFY(PickArea().m_strPickedName.isEmpty());
    QCOMPARE(opened, (QStringList{"拼音选择商品", "商品选择"}));
    QCOMPARE(saleOut.Products().size(), 1);
    SetPickSingleMatchAtOnce(true);
}

QTEST_MAIN(TestPickers)
#include "tst_pickers.moc"
#include "ui/PickArea.h"
