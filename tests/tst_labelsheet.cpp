#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSettings>
#include <QSpinBox>
#include <QtTest>

#include "Screenshot.h"
#include "ui/FontSetup.h"
#include "catalogue/CLabelSetupDlg.h"
#include "catalogue/LabelSheet.h"
#include "support/MessageScript.h"

namespace {

// 4 columns of 48 x 25 mm labels, 10 rows, 7 mm left and 10 mm top, gaps of 1.5 and 2 mm.
LabelSheet GappedSheet() {
    LabelSheet sheet;
    sheet.labelWidth = 48;
    sheet.labelHeight = 25;
    sheet.columns = 4;
    sheet.rows = 10;
    sheet.leftMargin = 7;
    sheet.topMargin = 10;
    sheet.columnGap = 1.5;
    sheet.rowGap = 2;
    return sheet;
}

// Replaces what a spin box holds, as a user selecting its text and typing does.
void Retype(QAbstractSpinBox* box, const QString& text) {
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Tab);
}

} // namespace

class TestLabelSheet : public QObject {
    Q_OBJECT

    QTemporaryDir m_settings;

  private slots:
    void initTestCase() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
    }
    void init() {
        QSettings(QStringLiteral("应用程序向导生成的本地应用程序"), QStringLiteral("Harbor"))
            .clear();
    }

    // Layout arithmetic
    void labelsFillRowsThenPages();
    void sheetCountRoundsUp();
    void fitOnThePaper();

    // Settings and the setup dialog
    void sheetIsKeptInTheSettings();
    void damagedSettingsGiveTheUsualSheet();
    void setupDialogKeepsWhatWasTyped();
    void setupDialogRefusesSheetLargerThanThePaper();
};

void TestLabelSheet::labelsFillRowsThenPages() {
    const LabelSheet sheet = GappedSheet();
    QCOMPARE(sheet.LabelsPerSheet(), 40);
    struct Case {
        int index, page;
        QRectF rect;
    };
    const QList<Case> cases{
        {0, 0, {7, 10, 48, 25}},
        {1, 0, {7 + 49.5, 10, 48, 25}},
        {3, 0, {7 + 3 * 49.5, 10, 48, 25}},
        {4, 0, {7, 10 + 27, 48, 25}},                 // second row
        {39, 0, {7 + 3 * 49.5, 10 + 9 * 27, 48, 25}}, // last of the sheet
        {40, 1, {7, 10, 48, 25}},                     // next sheet starts over
        {85, 2, {7 + 49.5, 10 + 27, 48, 25}},
    };
    for (const Case& c : cases) {
        const LabelPlace place = sheet.Place(c.index);
        QCOMPARE(place.page, c.page);
        QCOMPARE(place.rect, c.rect);
    }
    // one column: every label one row lower
    LabelSheet column;
    column.columns = 1;
    column.rows = 3;
    QCOMPARE(column.Place(2).rect.top(), 0.5 + 2 * 37);
    QCOMPARE(column.Place(3).page, 1);
}

void TestLabelSheet::sheetCountRoundsUp() {
    const LabelSheet sheet; // 3 x 8
    QCOMPARE(sheet.LabelsPerSheet(), 24);
    QCOMPARE(sheet.SheetCount(0), 0);
    QCOMPARE(sheet.SheetCount(1), 1);
    QCOMPARE(sheet.SheetCount(24), 1);
    QCOMPARE(sheet.SheetCount(25), 2);
    QCOMPARE(sheet.SheetCount(73), 4);
}

void TestLabelSheet::fitOnThePaper() {
    LabelSheet sheet;
    QCOMPARE(sheet.UsedSize(), QSizeF(210, 296.5));
    QVERIFY(sheet.FitsPaper());
    sheet.topMargin = 1.0; // 297 exactly
    QVERIFY(sheet.FitsPaper());
    sheet.topMargin = 1.2;
    QVERIFY(!sheet.FitsPaper());
    sheet.topMargin = 0;
    sheet.columnGap = 0.5; // gaps only between columns: 3 * 70 + 2 * 0.5
    QCOMPARE(sheet.UsedSize().width(), 211.0);
    QVERIFY(!sheet.FitsPaper());
    sheet.paper = QPageSize::Letter; // 215.9 mm wide, but only 279.4 high
    QVERIFY(!sheet.FitsPaper());
    sheet.rows = 7;
    QVERIFY(sheet.FitsPaper());

    const LabelSheet gapped = GappedSheet();
    QCOMPARE(gapped.UsedSize(), QSizeF(7 + 4 * 48 + 3 * 1.5, 10 + 10 * 25 + 9 * 2));
    QVERIFY(gapped.FitsPaper());
}

void TestLabelSheet::sheetIsKeptInTheSettings() {
    QCOMPARE(LabelSheet::Load(), LabelSheet());
    LabelSheet sheet = GappedSheet();
    sheet.paper = QPageSize::A5;
    sheet.borders = true;
    sheet.Save();
    QCOMPARE(LabelSheet::Load(), sheet);
}

void TestLabelSheet::damagedSettingsGiveTheUsualSheet() {
    GappedSheet().Save();
    QSettings settings(QStringLiteral("应用程序向导生成的本地应用程序"), QStringLiteral("Harbor"));
    settings.setValue("LabelSheet/columns", 0);
    settings.sync();
    QCOMPARE(LabelSheet::Load(), LabelSheet());
    GappedSheet().Save();
    settings.setValue("LabelSheet/labelWidth", "wide");
    settings.sync();
    QCOMPARE(LabelSheet::Load(), LabelSheet());
}

void TestLabelSheet::setupDialogKeepsWhatWasTyped() {
    MessageScript messages;
    CLabelSetupDlg dialog(LabelSheet::Load());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.Summary(), QStringLiteral("每页 24 个标签，共占 210.0 × 296.5 毫米"));

    Retype(dialog.findChild<QDoubleSpinBox*>("labelWidth"), "48");
    Retype(dialog.findChild<QDoubleSpinBox*>("labelHeight"), "25");
    Retype(dialog.findChild<QSpinBox*>("columns"), "4");
    Retype(dialog.findChild<QSpinBox*>("rows"), "10");
    Retype(dialog.findChild<QDoubleSpinBox*>("leftMargin"), "7");
    Retype(dialog.findChild<QDoubleSpinBox*>("topMargin"), "10");
    Retype(dialog.findChild<QDoubleSpinBox*>("columnGap"), "1.5");
    Retype(dialog.findChild<QDoubleSpinBox*>("rowGap"), "2");
    QCOMPARE(dialog.Sheet(), GappedSheet());
    QCOMPARE(dialog.Summary(), QStringLiteral("每页 40 个标签，共占 203.5 × 278.0 毫米"));
    Snapshot(&dialog, "labelsetup");
    QVERIFY(ShowsWhole(&dialog, dialog.findChild<QDoubleSpinBox*>("rowGap")));

    QTest::keyClick(&dialog, Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(messages.Count(), 0);
    QCOMPARE(LabelSheet::Load(), GappedSheet());
}

void TestLabelSheet::setupDialogRefusesSheetLargerThanThePaper() {
    MessageScript messages;
    CLabelSetupDlg dialog(LabelSheet::Load());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    Retype(dialog.findChild<QSpinBox*>("rows"), "9"); // 9 x 37 mm on A4
    QVERIFY(dialog.Summary().endsWith(QStringLiteral("超出纸张")));
    QTest::keyClick(&dialog, Qt::Key_Return);
    QCOMPARE(messages.Texts(),
             QStringList{QStringLiteral("标签超出纸张范围，请减小标签尺寸、行列数或边距")});
    QVERIFY(dialog.isVisible());
    QCOMPARE(LabelSheet::Load(), LabelSheet()); // nothing kept

    // a larger paper takes them
    QComboBox* paper = dialog.findChild<QComboBox*>("paper");
    paper->setFocus();
    QTest::keyClick(paper, Qt::Key_Down); // A5
    QTest::keyClick(paper, Qt::Key_Down); // B5
    QTest::keyClick(paper, Qt::Key_Down); // Letter: still too short
    QVERIFY(!dialog.Sheet().FitsPaper());
    Retype(dialog.findChild<QSpinBox*>("rows"), "7");
    QTest::keyClick(&dialog, Qt::Key_Return);
    QCOMPARE(messages.Count(), 1);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(LabelSheet::Load().paper, QPageSize::Letter);
    QCOMPARE(LabelSheet::Load().rows, 7);
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    SetupFonts();
    TestLabelSheet test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_labelsheet.moc"
