#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// Arithmetic of the stock-in document. Values are the texts the line table shows; amounts
// run in single precision through TextToFloat and RoundText, stock in whole numbers.

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

// A change of one product's stock total.
struct EntryStockMove {
    QString code;
    int delta = 0;
};

// Line amounts and the document amount are those of the sales documents (SaleLineMath.h).
QStringList EntryAmounts(const QVector<EntryLine>& lines);

// The whole-number part of a quantity or stock text, as the stock counts it ("2.5" gives 2).
int WholeCount(const QString& text);

// A stock total after adding delta, as it is stored ("%d").
QString EntryStockAfter(const QString& total, int delta);

// The stock changes of a save: each line moves the stock from what the stored row at its
// position says to what the line says (a line without a stored row counts from nothing). A line
// whose product was replaced takes the stored quantity off the stored product. No zero moves.
QVector<EntryStockMove> EntryStockMoves(const QVector<EntryLine>& stored,
                                        const QVector<EntryLine>& lines);

// Why the document cannot be saved, or the empty text. Supplier, payment state, at least one
// line, then on each line a price and a quantity, both plain decimal numbers.
QString EntryRefusal(const QString& supplier, const QString& state,
                     const QVector<EntryLine>& lines);
