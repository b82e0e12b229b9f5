#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "UserInput.h"

#include "parties/CCompanyinfoDlg.h"
#include "support/MessageScript.h"
#include "support/TestDatabase.h"

namespace {

const QStringList kShop{"远航五交化商店", "0571-8888'1234",      "文一路8号",
                        "工行 6222 0000", "营业时间 8:00-18:00", "",
                        "送货上门"};

void Fill(CCompanyinfoDlg& dlg, const QStringList& texts) {
    for (int i = 0; i < texts.size(); ++i) {
        dlg.Edit(i)->clear();
        TypeText(dlg.Edit(i), texts[i]);
    }
}

QStringList Boxes(const CCompanyinfoDlg& dlg) {
    QStringList texts;
    for (int i = 0; i < CCompanyinfoDlg::Columns().size(); ++i)
        texts.append(dlg.Edit(i)->text());
    return texts;
}

void ClickSave(CCompanyinfoDlg& dlg) {
    QTest::mouseClick(dlg.findChild<QPushButton*>("save"), Qt::LeftButton);
}

const char* const kAllColumns =
    "SELECT name, telephone, address, bank, remarks1, remarks2, remarks3 FROM companyinfo";

} // namespace

class TestCompanyinfoDlg : public QObject {
    Q_OBJECT

  private slots:
    void firstSaveCreatesTheRowAndLaterSavesRewriteIt();
    void emptyBoxesAreStoredAsEmptyTexts();
    void enterSavesAndQuitLeavesTheRowAlone();
    void extraRowsAreShownFromTheFirstAndRemovedBySave();
};

void TestCompanyinfoDlg::firstSaveCreatesTheRowAndLaterSavesRewriteIt() {
    TestDatabase db;
    MessageScript messages;
    {
        CCompanyinfoDlg dlg;
        QCOMPARE(dlg.windowTitle(), QString("公司信息"));
        QCOMPARE(Boxes(dlg), QStringList(7, QString()));
        Fill(dlg, kShop);
        ClickSave(dlg);
        QCOMPARE(messages.Last(), QString("数据保存成功!"));
        QCOMPARE(db.Rows(kAllColumns), QStringList{kShop.join('|')});

        QStringList changed = kShop;
        changed[0] = "远航五金";
        dlg.Edit(0)->setText(changed[0]);
        ClickSave(dlg);
        QCOMPARE(messages.Count(), 2);
        QCOMPARE(db.Rows(kAllColumns), QStringList{changed.join('|')});
    }
    CCompanyinfoDlg reopened;
    QCOMPARE(reopened.Edit(0)->text(), QString("远航五金"));
    QCOMPARE(reopened.Edit(1)->text(), kShop[1]);
}

void TestCompanyinfoDlg::emptyBoxesAreStoredAsEmptyTexts() {
    TestDatabase db;
    MessageScript messages;
    CCompanyinfoDlg dlg;
    dlg.Edit(0)->setText("远航");
    ClickSave(dlg);
    QCOMPARE(db.Value("SELECT count(*) FROM companyinfo WHERE telephone = '' AND remarks3 = ''"),
             QString("1"));
}

void TestCompanyinfoDlg::enterSavesAndQuitLeavesTheRowAlone() {
    TestDatabase db;
    MessageScript messages;
    CCompanyinfoDlg dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    dlg.Edit(2)->setFocus();
    TypeText(dlg.Edit(2), "湖墅南路");
    QTest::keyClick(dlg.Edit(2), Qt::Key_Return);
    QCOMPARE(messages.Last(), QString("数据保存成功!"));
    QVERIFY(dlg.isVisible());
    QCOMPARE(db.Value("SELECT address FROM companyinfo"), QString("湖墅南路"));

    dlg.Edit(2)->setText("改了但不保存");
    QTest::mouseClick(dlg.findChild<QPushButton*>("quit"), Qt::LeftButton);
    QVERIFY(!dlg.isVisible());
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    QCOMPARE(db.Value("SELECT address FROM companyinfo"), QString("湖墅南路"));
}

void TestCompanyinfoDlg::extraRowsAreShownFromTheFirstAndRemovedBySave() {
    TestDatabase db;
    MessageScript messages;
    db.Exec("INSERT INTO companyinfo (name, telephone) VALUES ('第一行', '111')");
    db.Exec("INSERT INTO companyinfo (name, telephone) VALUES ('第二行', '222')");
    CCompanyinfoDlg dlg;
    QCOMPARE(dlg.Edit(0)->text(), QString("第一行"));
    QCOMPARE(dlg.Edit(1)->text(), QString("111"));
    dlg.Edit(1)->setText("333");
    ClickSave(dlg);
    QCOMPARE(db.Rows("SELECT name, telephone FROM companyinfo"), QStringList{"第一行|333"});
}

QTEST_MAIN(TestCompanyinfoDlg)
#include "tst_companyinfodlg.moc"
