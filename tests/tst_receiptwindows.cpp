// 打印小票 in the two sales document windows and the two sales query windows, on a real
// database: the receipt shows the stored document with the shop from 公司信息, goes through Qt
// into a PDF or as ESC/POS into a device file with the drawer pulse after a settled sale, and a
// scanned number in a query window's 单号 box shows its document.
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "PdfFacts.h"
#include "support/DocumentShop.h"
#include "support/MessageScript.h"

#include "documents/CSaleInDlg.h"
#include "documents/CSaleOutDlg.h"
#include "documents/ReceiptJob.h"
#include "grid/CGridCtrl.h"
#include "queries/CSaleInQueryDlg.h"
#include "queries/CSaleOutQueryDlg.h"
#include "receipt/ReceiptSettings.h"

namespace {

const QString kScrew = "0101000001";
const QString kSwitch = "0200000001";

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QByteArray kDrawerPulse("\x1b\x70\x00\x19\xfa", 5);
const QByteArray kCut("\x1d\x56\x42\x60", 4);

} // namespace

class TestReceiptWindows : public QObject {
    Q_OBJECT
    QTemporaryDir m_settings;
    QTemporaryDir m_out;

    void Prepare(DocumentShop& shop) {
        shop.db.Exec("INSERT INTO companyinfo (name, telephone, address) VALUES "
                     "('远航五金交电商店', '025-83316688', '中山北路128号')");
        shop.AddProduct(kScrew, "五金-螺丝", "10.00", "100");
        shop.AddProduct(kSwitch, "电工-开关", "5.00", "50");
    }

    static void UseSettings(int roll, ReceiptSettings::Output output, const QString& device) {
        ReceiptSettings settings;
        settings.rollMm = roll;
        settings.output = output;
        settings.device = device;
        settings.openDrawer = true;
        settings.Save();
    }

  private slots:
    void initTestCase() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
    }
    void cleanup() { SetReceiptOutputFile(QString()); }

    // A settled sale: the button saves nothing more, prints the stored document through Qt on
    // the chosen roll, then as ESC/POS into a device file with the drawer opened.
    void saleOutReceipt() {
        DocumentShop shop;
        QVERIFY(shop.ready);
        Prepare(shop);
        MessageScript messages({IDYES});
        shop.NewSale(shop.saleOut, "结清");
        shop.AddSaleLine(shop.saleOut, kScrew, "3");
        shop.AddSaleLine(shop.saleOut, kSwitch, "2");
        QVERIFY(shop.saleOut->ReceiptButton()->isEnabled());
        const QString oddnum = shop.saleOut->OddnumBox()->text();

        UseSettings(58, ReceiptSettings::Output::Printer, QString());
        const QString pdf = m_out.filePath("sale.pdf");
        SetReceiptOutputFile(pdf);
        // Unsaved: the window asks to save first (answered yes), then prints what is stored.
        QTest::mouseClick(shop.saleOut->ReceiptButton(), Qt::LeftButton);
        QVERIFY(!shop.saleOut->NeedsSaving());
        const QString due =
            shop.db.Value("SELECT receivable FROM saleout WHERE oddnum=?", {oddnum});
        QVERIFY(!due.isEmpty());
        const QString text = PdfText(pdf);
        QVERIFY2(text.contains("远航五金交电商店"), qPrintable(text));
        QVERIFY(text.contains("中山北路128号"));
        QVERIFY(text.contains("单号:" + oddnum));
        QVERIFY(text.contains("螺丝") && text.contains("开关"));
        QVERIFY(text.contains("销售小票"));
        QVERIFY(QRegularExpression("应收\\s+" + QRegularExpression::escape(due))
                    .match(text)
                    .hasMatch());
        QVERIFY(QRegularExpression("收款状态\\s+结清").match(text).hasMatch());
        QVERIFY(text.contains("找零"));

        const QString device = m_out.filePath("lp0");
        UseSettings(80, ReceiptSettings::Output::EscPos, device);
        QTest::mouseClick(shop.saleOut->ReceiptButton(), Qt::LeftButton);
        const QByteArray bytes = FileBytes(device);
        QVERIFY(bytes.startsWith("\x1b\x40\x1d\x76\x30\x00"));
        QCOMPARE(uchar(bytes.at(6)), uchar(72)); // 576 dots
        QVERIFY(bytes.endsWith(kCut + kDrawerPulse));
    }

    // A return and an unsettled sale print, but open no drawer; the return says what was
    // given back.
    void noDrawerWithoutASettledSale() {
        DocumentShop shop;
        QVERIFY(shop.ready);
        Prepare(shop);
        MessageScript messages({IDYES, IDYES});
        const QString device = m_out.filePath("lp1");
        UseSettings(58, ReceiptSettings::Output::EscPos, device);
        shop.NewSale(shop.saleOut, "未结");
        shop.AddSaleLine(shop.saleOut, kScrew, "1");
        QVERIFY(shop.saleOut->Save());
        QTest::mouseClick(shop.saleOut->ReceiptButton(), Qt::LeftButton);
        QVERIFY(FileBytes(device).endsWith(kCut));

        shop.NewSale(shop.saleIn, "结清");
        shop.AddSaleLine(shop.saleIn, kScrew, "1");
        QVERIFY(shop.saleIn->Save());
        QFile::remove(device);
        QTest::mouseClick(shop.saleIn->ReceiptButton(), Qt::LeftButton);
        QVERIFY(FileBytes(device).endsWith(kCut));

        UseSettings(80, ReceiptSettings::Output::Printer, QString());
        const QString pdf = m_out.filePath("return.pdf");
        SetReceiptOutputFile(pdf);
        QTest::mouseClick(shop.saleIn->ReceiptButton(), Qt::LeftButton);
        const QString text = PdfText(pdf);
        QVERIFY2(text.contains("退货小票"), qPrintable(text));
        QVERIFY(text.contains("应退") && text.contains("实退") && text.contains("退款状态"));
        QVERIFY(!text.contains("找零"));
    }

    // The number a receipt's QR code holds, typed into a query window's 单号 box with Enter as a
    // scanner does, shows that document; its receipt prints from there. An unknown number says
    // so and changes nothing.
    void scannedNumberShowsTheDocument() {
        DocumentShop shop;
        QVERIFY(shop.ready);
        Prepare(shop);
        MessageScript messages;
        shop.NewSale(shop.saleOut, "结清");
        shop.AddSaleLine(shop.saleOut, kScrew, "2");
        shop.AddSaleLine(shop.saleOut, kSwitch, "1");
        QVERIFY(shop.saleOut->Save());
        const QString sold = shop.saleOut->OddnumBox()->text();
        shop.NewSale(shop.saleIn, "结清");
        shop.AddSaleLine(shop.saleIn, kSwitch, "1");
        QVERIFY(shop.saleIn->Save());
        const QString returned = shop.saleIn->OddnumBox()->text();

        CSaleQueryDlg* out = shop.outQuery;
        DocumentShop::QueryAll(out);
        messages.Clear(); // what the saves said
        QLineEdit* box = out->Ui().m_pOddnum;
        box->setFocus();
        QTest::keyClicks(box, sold);
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(out->m_strCurOddnum, sold);
        QCOMPARE(out->Ui().m_pDetail->GetRowCount(), 3);
        QCOMPARE(out->m_nClickRow, DocumentShop::ListRow(out->Ui().m_pList, sold));
        QCOMPARE(messages.Count(), 0);

        UseSettings(58, ReceiptSettings::Output::Printer, QString());
        const QString pdf = m_out.filePath("query.pdf");
        SetReceiptOutputFile(pdf);
        QTest::mouseClick(out->Ui().m_pDetailReceipt, Qt::LeftButton);
        QVERIFY(PdfText(pdf).contains("单号:" + sold));

        // A number no document has.
        box->selectAll();
        QTest::keyClicks(box, "20991231999");
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(messages.Last(), QString("没有单号为20991231999的单据"));
        QCOMPARE(out->m_strCurOddnum, sold);

        CSaleQueryDlg* in = shop.inQuery;
        QTest::mouseClick(in->Ui().m_pDetailReceipt, Qt::LeftButton);
        QCOMPARE(messages.Last(), QString("请先选择一张单据"));
        in->Ui().m_pOddnum->setFocus();
        QTest::keyClicks(in->Ui().m_pOddnum, returned);
        QTest::keyClick(in->Ui().m_pOddnum, Qt::Key_Return);
        QCOMPARE(in->m_strCurOddnum, returned);
        QCOMPARE(in->Ui().m_pDetail->GetRowCount(), 2);
        QCOMPARE(in->m_nClickRow, -1); // not listed: nothing queried yet
    }
};

QTEST_MAIN(TestReceiptWindows)
#include "tst_receiptwindows.moc"
