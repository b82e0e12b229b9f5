#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// Arithmetic of the stock-in document. Values are the texts the line table shows; amounts are
// computed in double precision and summed exactly, as in the sales documents (SaleLineMath.h).

// One line of the stock-in table as it is stored.
struct EntryLine {
    QString name;
    QString shortName;
    QString code;
    QString spec;
    QString price;
    QString count;
    QString amount;
};

// The texts of a line in the order of the table's line columns, and back.
QStringList EntryLineTexts(const EntryLine& line);
EntryLine EntryLineFromTexts(const QStringList& texts);

QStringList EntryAmounts(const QVector<EntryLine>& lines);

// Why the document cannot be saved, or the empty text. Supplier, payment state, at least one
// line, then on each line a price and a quantity, both plain numbers within their limits (the
// quantity above zero, with at most two decimals), and amounts within the largest amount of a
// document.
QString EntryRefusal(const QString& supplier, const QString& state,
                     const QVector<EntryLine>& lines);
