// Timings of the scanner text: the parser on texts of up to a million characters, and the whole
// import into a sales-out window, from the pasted text to the filled table.
#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

#include "db/CConnection.h"
#include "db/DatabaseInit.h"
#include "db/Db.h"
#include "documents/CSaleOutDlg.h"
#include "grid/CGridCtrl.h"
#include "text/ScannerText.h"
#include "ui/HarborMessageBox.h"

namespace {

void Report(const char* what, qsizetype size, const QElapsedTimer& timer, qsizetype found) {
    std::printf("%-48s %8lld chars %9.1f ms  (%lld)\n", what, static_cast<long long>(size),
                timer.nsecsElapsed() / 1e6, static_cast<long long>(found));
}

// "7", then lines "#code,quantity" with CR LF for the given number of products, cycling.
QString ProductLines(qsizetype length, int products) {
    QString text = QStringLiteral("7");
    for (int i = 0; text.size() < length; ++i)
        text += QStringLiteral("#%1,%2\r\n")
                    .arg(1 + i % products, 10, 10, QLatin1Char('0'))
                    .arg(1 + i % 9);
    return text;
}

void TimeParse(const char* what, const QString& text) {
    QElapsedTimer timer;
    timer.start();
    const ScannerText scanned = ParseScannerText(text);
    Report(what, text.size(), timer, scanned.entries.size() + scanned.problems.size());
}

// Pastes the text into a new document of a sales-out window and imports it.
void TimeImport(const char* what, const QString& text) {
    CSaleOutDlg dialog;
    dialog.show();
    dialog.NewDocument();
    QElapsedTimer timer;
    timer.start();
    dialog.BarcodeBox()->setPlainText(text);
    dialog.ImportBarcode();
    QApplication::processEvents();
    Report(what, text.size(), timer, dialog.Grid()->GetRowCount() - 1);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    constexpr qsizetype Million = 1000000;

    TimeParse("parse 80 KB of commas after 7#", QStringLiteral("7#") + QString(80000, u','));
    TimeParse("parse 1M commas after 7#", QStringLiteral("7#") + QString(Million, u','));
    QString pairs = QStringLiteral("7");
    while (pairs.size() < Million)
        pairs += QStringLiteral("#0101000001,1");
    TimeParse("parse 1M characters of products on one line", pairs);
    TimeParse("parse 1M characters of product lines", ProductLines(Million, 500));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Harbor.accdb"));
    CreateEmptyDatabase(path);
    Db() = std::make_shared<CConnection>();
    Db()->OpenFile(path);
    Db()->Execute(QStringLiteral("INSERT INTO employee (name, employeeid) VALUES ('王五', '7')"));
    for (int i = 1; i <= 500; ++i)
        Db()->Execute(QStringLiteral(
                          "INSERT INTO property (code, name, shortname, spec, price, discount1, "
                          "discount2, discount3, total) VALUES ('%1', '商品%2', '简称', '10个/箱', "
                          "'2.50', '0.9', '0.8', '0.7', '100')")
                          .arg(i, 10, 10, QLatin1Char('0'))
                          .arg(i));
    SetMessageBoxHook([](const MessageRecord&) { return int(IDOK); });

    TimeImport("import 1M commas", QStringLiteral("7#") + QString(Million, u','));
    TimeImport("import 100 product lines", ProductLines(1700, 500));
    TimeImport("import 1000 product lines", ProductLines(17000, 500));
    TimeImport("import 1M characters of product lines", ProductLines(Million, 500));

    Db()->Close();
    Db().reset();
    return 0;
}
