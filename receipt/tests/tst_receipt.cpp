// Receipts without a window: the layout of 1, 30 and 300 lines on both rolls printed to PDF and
// read back with poppler and zbar, the ESC/POS bytes of a small receipt taken apart again, the
// two ways bytes reach a thermal printer, and the kept settings.
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include "receipt/CReceiptSetupDlg.h"
#include "receipt/EscPos.h"
#include "receipt/PrinterPort.h"
#include "receipt/ReceiptLayout.h"
#include "receipt/ReceiptPrint.h"
#include "receipt/ReceiptSettings.h"
#include "text/Cents.h"

namespace {

constexpr double kPointsPerMm = 72.0 / 25.4;

// A sale of n lines; every third line has a discount, every fifth a tax option, and now and then
// a name too long for one row of the narrow roll.
ReceiptDocument Sale(int n) {
    ReceiptDocument doc;
    doc.shopName = "远航五金交电商店";
    doc.address = "江苏省南京市鼓楼区中山北路一百二十八号";
    doc.phone = "025-83316688";
    doc.title = "销售小票";
    doc.oddnum = "X2026120705";
    doc.dateTime = "2026-12-07 18:30:05";
    doc.employee = "王五(7)";
    doc.customer = "张三五金";
    qint64 due = 0;
    for (int i = 1; i <= n; ++i) {
        ReceiptLine line;
        line.name = i % 7 == 0 ? QString("不锈钢内六角圆柱头螺钉加长加粗型号M%1").arg(i)
                               : QString("商品%1号").arg(i);
        line.quantity = QString::number(i % 9 + 1);
        line.price = CentsText(150 + i);
        const qint64 amount = (i % 9 + 1) * (150 + i);
        line.amount = CentsText(amount);
        due += amount;
        if (i % 3 == 0)
            line.discount = "0.9";
        if (i % 5 == 0)
            line.remark = "含税10%";
        doc.lines.append(line);
    }
    doc.receivable = CentsText(due);
    doc.receipt = CentsText((due / 10000 + 1) * 10000); // the next hundred
    doc.state = "结清";
    return doc;
}

QString Run(const QString& program, const QStringList& arguments, QList<int> okCodes = {0}) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted() || !process.waitForFinished(120000) ||
        !okCodes.contains(process.exitCode())) {
        qWarning().noquote() << program << arguments << process.readAllStandardError();
        return QString("failed");
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

struct Word {
    QRectF box;
    QString text;
};

struct PdfPage {
    QSizeF size; // points
    QList<Word> words;
};

// The first page's size and every word with its box, as pdftotext -bbox reads them.
PdfPage ReadWords(const QString& pdf) {
    PdfPage page;
    const QString html = Run("pdftotext", {"-bbox", pdf, "-"});
    static const QRegularExpression pageSize(
        QStringLiteral("<page width=\"([\\d.]+)\" height=\"([\\d.]+)\""));
    const QRegularExpressionMatch size = pageSize.match(html);
    if (size.hasMatch())
        page.size = QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble());
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([-\\d.]+)\" yMin=\"([-\\d.]+)\" xMax=\"([-\\d.]+)\" "
                       "yMax=\"([-\\d.]+)\">([^<]*)</word>"));
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        page.words.append({QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                  QPointF(m.captured(3).toDouble(), m.captured(4).toDouble())),
                           m.captured(5)});
    }
    return page;
}

// The QR code stands at the receipt's foot: the last 80 mm of the page rendered at 300 dpi and
// decoded by zbarimg.
QStringList ScanQr(const QString& pdf, const QString& folder, double pageHeightPoints) {
    const int height = int(80 / 25.4 * 300);
    const int top = qMax(0, int(pageHeightPoints / 72 * 300) - height);
    if (Run("pdftoppm", {"-r", "300", "-gray", "-png", "-singlefile", "-y", QString::number(top),
                         "-H", QString::number(height), "-W", "2000", pdf, folder + "/page"}) ==
        "failed")
        return {};
    return Run("zbarimg",
               {"--quiet", "--raw", "-Sdisable", "-Sqrcode.enable", folder + "/page.png"}, {0, 4})
        .split('\n', Qt::SkipEmptyParts);
}

QString PrintPdf(const ReceiptLayout& layout, const QString& path) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    return PrintReceiptPage(printer, layout) ? path : QString();
}

// The image of the GS v 0 bands in the bytes from offset on; offset moves past them.
QImage DecodeRaster(const QByteArray& bytes, int* offset) {
    QImage image;
    while (bytes.mid(*offset, 4) == QByteArray("\x1d\x76\x30\x00", 4)) {
        const auto at = [&](int k) { return int(uchar(bytes.at(*offset + k))); };
        const int widthBytes = at(4) + 256 * at(5);
        const int rows = at(6) + 256 * at(7);
        if (rows == 0 || rows > EscPos::kBandRows)
            return {};
        QImage band(widthBytes * 8, rows, QImage::Format_Grayscale8);
        const char* data = bytes.constData() + *offset + 8;
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < widthBytes * 8; ++x)
                band.scanLine(y)[x] =
                    (uchar(data[y * widthBytes + x / 8]) & (0x80 >> (x % 8))) ? 0 : 255;
        *offset += 8 + widthBytes * rows;
        QImage joined(band.width(), image.height() + rows, QImage::Format_Grayscale8);
        for (int y = 0; y < image.height(); ++y)
            memcpy(joined.scanLine(y), image.constScanLine(y), image.width());
        for (int y = 0; y < rows; ++y)
            memcpy(joined.scanLine(image.height() + y), band.constScanLine(y), band.width());
        image = joined;
    }
    return image;
}

} // namespace

class TestReceipt : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QTemporaryDir m_settings;

  private slots:
    void initTestCase() {
        // HARBOR_KEEP_RECEIPTS=1 keeps the PDFs and images to look at.
        m_dir.setAutoRemove(qEnvironmentVariableIsEmpty("HARBOR_KEEP_RECEIPTS"));
        qInfo() << "receipts in" << m_dir.path();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
    }

    void printsWithinTheRoll_data() {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("roll");
        for (int lines : {1, 30, 300})
            for (int roll : {58, 80})
                QTest::addRow("%d lines, %d mm", lines, roll) << lines << roll;
    }

    // The page is the roll's width and as long as the receipt; every word lies on it, every line
    // and the totals are there, and the QR code scans back to the number.
    void printsWithinTheRoll() {
        QFETCH(int, lines);
        QFETCH(int, roll);
        const ReceiptDocument doc = Sale(lines);
        const ReceiptLayout layout(doc, roll);
        QCOMPARE(layout.Width(), roll == 58 ? 384 : 576);
        const QString pdf =
            PrintPdf(layout, m_dir.filePath(QString("r%1-%2.pdf").arg(lines).arg(roll)));
        QVERIFY(!pdf.isEmpty());

        const PdfPage page = ReadWords(pdf);
        QVERIFY(qAbs(page.size.width() - roll * kPointsPerMm) < 1.0);
        QVERIFY(qAbs(page.size.height() - layout.Height() / 8.0 * kPointsPerMm) < 1.0);
        QVERIFY(page.words.size() > lines * 3);
        const QRectF sheet(QPointF(0, 0), page.size);
        // The printable width keeps clear of the roll's edges.
        const QRectF printable = sheet.adjusted(3 * kPointsPerMm, 0, -3 * kPointsPerMm, 0);
        for (const Word& word : page.words)
            QVERIFY2(printable.contains(word.box), qPrintable(word.text));

        QStringList texts;
        for (const Word& word : page.words)
            texts.append(word.text);
        const QString all = texts.join(' ');
        QVERIFY(all.contains(doc.shopName));
        QVERIFY(all.contains("电话:025-83316688"));
        QVERIFY(all.contains("单号:X2026120705"));
        QVERIFY(all.contains("2026-12-07") && all.contains("18:30:05"));
        QVERIFY(all.contains("员工:王五(7)"));
        for (const ReceiptLine& line : doc.lines)
            QVERIFY2(texts.contains(line.amount), qPrintable(line.amount));
        // The totals: due, received, change and the state, each on its label's row at the right.
        const auto valueBeside = [&](const QString& label) {
            QString value;
            for (const Word& at : page.words) {
                if (at.text != label)
                    continue;
                for (const Word& word : page.words)
                    if (qAbs(word.box.top() - at.box.top()) < 1 && word.box.left() > at.box.right())
                        value = word.text;
                break;
            }
            return value;
        };
        QCOMPARE(valueBeside("应收"), doc.receivable);
        QCOMPARE(valueBeside("实收"), doc.receipt);
        QCOMPARE(valueBeside("找零"), CentsText(CentsOf(doc.receipt) - CentsOf(doc.receivable)));
        QCOMPARE(valueBeside("收款状态"), QString("结清"));
        QCOMPARE(valueBeside("折扣"), lines >= 3 ? QString("0.9") : QString());

        QTemporaryDir scan;
        QCOMPARE(ScanQr(pdf, scan.path(), page.size.height()), QStringList{doc.oddnum});
    }

    // A name longer than the roll wraps instead of running off it; a line without discount or
    // tax shows neither.
    void wrapsAndLeavesOutWhatIsNotThere() {
        ReceiptDocument doc = Sale(1);
        doc.lines[0].name = QString(40, QChar(0x94a2)); // 40 x 钢
        doc.lines[0].discount = "1.0";
        const ReceiptLayout layout(doc, 58);
        int nameRows = 0;
        for (const ReceiptItem& item : layout.Items()) {
            if (item.kind == ReceiptItem::Kind::Text) {
                QVERIFY(QRect(0, 0, layout.Width(), layout.Height()).contains(item.rect));
                const QFontMetrics metrics(ReceiptLayout::Font(item.fontPixels, item.bold));
                QVERIFY2(metrics.horizontalAdvance(item.text) <= item.rect.width(),
                         qPrintable(item.text));
                if (item.text.startsWith(QChar(0x94a2)))
                    ++nameRows;
                QVERIFY(!item.text.startsWith("折扣"));
            }
        }
        QCOMPARE(nameRows, 3); // 16 characters of 24 dots a row on 384 dots
    }

    // The bytes of a small receipt: start settings, GS v 0 bands 48 bytes wide that add up to
    // the rendering, pixel for pixel, then the cut and, after a settled sale, the drawer pulse.
    void escPosBytes() {
        const ReceiptLayout layout(Sale(2), 58);
        const QImage rendered = EscPos::Render(layout);
        QCOMPARE(rendered.width(), 384);
        QCOMPARE(rendered.height(), layout.Height());
        const QByteArray bytes = EscPos::ReceiptBytes(rendered, true);
        QVERIFY(bytes.startsWith("\x1b\x40"));
        QCOMPARE(uchar(bytes.at(6)), uchar(48)); // 384 dots in bytes
        QCOMPARE(uchar(bytes.at(7)), uchar(0));
        int offset = 2;
        const QImage decoded = DecodeRaster(bytes, &offset);
        QCOMPARE(decoded.size(), rendered.size());
        QVERIFY(decoded == rendered);
        QCOMPARE(bytes.mid(offset), QByteArray("\x1d\x56\x42\x60\x1b\x70\x00\x19\xfa", 9));
        // Without the drawer the cut ends it.
        const QByteArray quiet = EscPos::ReceiptBytes(rendered, false);
        QVERIFY(quiet.endsWith(QByteArray("\x1d\x56\x42\x60", 4)));
        QCOMPARE(quiet.size(), bytes.size() - 5);

        // The same drawing as the PDF: the page rasterised at the printer's 8 dots a millimetre.
        const QString pdf = PrintPdf(layout, m_dir.filePath("small.pdf"));
        QCOMPARE(Run("pdftoppm",
                     {"-r", "203.2", "-gray", "-png", "-singlefile", pdf, m_dir.filePath("small")}),
                 QString());
        QImage page(m_dir.filePath("small.png"));
        QVERIFY(!page.isNull());
        page = page.convertToFormat(QImage::Format_Grayscale8);
        QVERIFY(qAbs(page.height() - rendered.height()) <= 1);
        const int left = (58 * 8 - rendered.width()) / 2; // 5 mm of roll on either side
        int black = 0;
        int differ = 0;
        for (int y = 0; y < qMin(page.height(), rendered.height()); ++y) {
            for (int x = 0; x < rendered.width(); ++x) {
                const bool inked = rendered.pixel(x, y) != 0xffffffff;
                const bool printed = qGray(page.pixel(left + x, y)) < 128;
                black += inked;
                differ += inked != printed;
            }
        }
        QVERIFY(black > 5000);
        // Glyph edges round differently in the two rasterisers; the drawing is the same.
        QVERIFY2(differ < black / 6, qPrintable(QString("%1 of %2").arg(differ).arg(black)));
        // The QR code's modules lie on whole dots: there the two are the same, pixel for pixel.
        QRect qr;
        for (const ReceiptItem& item : layout.Items())
            if (item.kind == ReceiptItem::Kind::Qr)
                qr = item.rect;
        QVERIFY(!qr.isEmpty());
        int qrDiffer = 0;
        for (int y = qr.top(); y <= qr.bottom(); ++y)
            for (int x = qr.left(); x <= qr.right(); ++x)
                qrDiffer +=
                    (rendered.pixel(x, y) != 0xffffffff) != (qGray(page.pixel(left + x, y)) < 128);
        QCOMPARE(qrDiffer, 0);
    }

    // A device file gets the bytes as they are; a network printer's port gets them over TCP.
    void sendsToFileAndPort() {
        const QByteArray bytes =
            EscPos::ReceiptBytes(EscPos::Render(ReceiptLayout(Sale(1), 80)), false);
        const QString device = m_dir.filePath("lp0");
        QCOMPARE(SendToPrinterPort(device, bytes), QString());
        QFile written(device);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), bytes);

        QTcpServer printer;
        QVERIFY(printer.listen(QHostAddress::LocalHost));
        QByteArray received;
        connect(&printer, &QTcpServer::newConnection, this, [&] {
            QTcpSocket* socket = printer.nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, this,
                    [&, socket] { received += socket->readAll(); });
        });
        // The sender blocks; the server side reads when the event loop runs again.
        const QString target = QString("127.0.0.1:%1").arg(printer.serverPort());
        QCOMPARE(SendToPrinterPort(target, bytes), QString());
        QTRY_COMPARE(received.size(), bytes.size());
        QCOMPARE(received, bytes);

        printer.close();
        QVERIFY(SendToPrinterPort(target, bytes, 1000).startsWith("连接小票打印机 127.0.0.1:"));
        QVERIFY(!SendToPrinterPort(m_dir.filePath("no/such/folder/lp0"), bytes).isEmpty());
        QCOMPARE(SendToPrinterPort("", bytes), QString("没有设置小票打印机"));

        const PrinterPort named = PrinterPort::Parse("pos-printer");
        QVERIFY(named.network);
        QCOMPARE(named.port, quint16(9100));
        QCOMPARE(PrinterPort::Parse("10.0.0.9:9101").port, quint16(9101));
        QVERIFY(!PrinterPort::Parse("/dev/usb/lp0").network);
    }

    void settingsAreKept() {
        ReceiptSettings settings;
        settings.rollMm = 58;
        settings.output = ReceiptSettings::Output::EscPos;
        settings.device = "192.168.1.30:9100";
        settings.openDrawer = false;
        settings.Save();
        QCOMPARE(ReceiptSettings::Load(), settings);
        QSettings(QStringLiteral("应用程序向导生成的本地应用程序"), QStringLiteral("Harbor"))
            .setValue("Receipt/rollMm", 75);
        QCOMPARE(ReceiptSettings::Load().rollMm, 80);
    }

    // 小票设置 shows what is kept, offers the device only for ESC/POS, and keeps the choice on
    // 确定 only.
    void setupDialogKeepsTheChoice() {
        ReceiptSettings kept;
        kept.rollMm = 80;
        kept.Save();
        {
            CReceiptSetupDlg dialog;
            QVERIFY(dialog.Roll80()->isChecked());
            QVERIFY(dialog.PrinterBox()->isEnabled());
            QVERIFY(!dialog.DeviceBox()->isEnabled());
            dialog.Roll58()->click();
            dialog.OutputBox()->setCurrentIndex(1);
            QVERIFY(!dialog.PrinterBox()->isEnabled());
            QVERIFY(dialog.DeviceBox()->isEnabled());
            QTest::keyClicks(dialog.DeviceBox(), "192.168.1.30");
            dialog.reject();
        }
        QCOMPARE(ReceiptSettings::Load(), kept);
        CReceiptSetupDlg dialog;
        dialog.Roll58()->click();
        dialog.OutputBox()->setCurrentIndex(1);
        QTest::keyClicks(dialog.DeviceBox(), " /dev/usb/lp0 ");
        dialog.DrawerBox()->setChecked(false);
        dialog.accept();
        const ReceiptSettings chosen = ReceiptSettings::Load();
        QCOMPARE(chosen.rollMm, 58);
        QCOMPARE(chosen.output, ReceiptSettings::Output::EscPos);
        QCOMPARE(chosen.device, QString("/dev/usb/lp0"));
        QVERIFY(!chosen.openDrawer);
    }

    void changeIsNeverNegative() {
        ReceiptDocument doc;
        doc.receivable = "35.50";
        doc.receipt = "50";
        QCOMPARE(doc.Change(), QString("14.50"));
        doc.receipt = "20.00"; // 欠款: less was paid
        QCOMPARE(doc.Change(), QString("0.00"));
        doc.receipt = "";
        QCOMPARE(doc.Change(), QString("0.00"));
    }
};

QTEST_MAIN(TestReceipt)
#include "tst_receipt.moc"
