#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// The text a stock-taking scanner exports for a sales document: the employee number, then one
// line per product: "#", the ten-digit product code, ",", the quantity, a line end.
//
//   12#0101000001,3
//   #0102000001,2.5

// The most product lines one import takes: a document is no stock list, and each line costs a
// lookup and a table row while the window waits.
inline constexpr int kScannerMaxEntries = 1000;

struct ScannerEntry {
    QString code;     // ten digits
    QString quantity; // a plain decimal number above 0, as typed
    int line = 0;     // 1 for the first line of the text
};

struct ScannerProblem {
    enum class Kind {
        Malformed,   // no "#", no comma, or more than one of them on the line
        BadCode,     // the text between "#" and "," is not ten digits
        BadQuantity, // the quantity is empty or no plain decimal number
        NotPositive, // the quantity is 0 or below
    };
    Kind kind = Kind::Malformed;
    int line = 0;
    QString text; // the whole line as typed, without its line end
};

struct ScannerText {
    QString employeeId; // the text before the first "#", blanks around it removed
    QList<ScannerEntry> entries;
    QList<ScannerProblem> problems;

    // An employee number, at least one product line and no problem.
    bool IsWellFormed() const;
};

// Splits a scanner text into its lines, in one pass. Lines end with CR LF, LF or CR; blank lines
// are skipped; blanks around a line are ignored. Lines before the one with the first "#" hold
// the employee number only.
ScannerText ParseScannerText(QStringView text);

// What is wrong with a line, for the message that names it: 第3行"#01010001,2":条码应为10位数字.
// A very long line is quoted by its beginning.
QString DescribeScannerProblem(const ScannerProblem& problem);
