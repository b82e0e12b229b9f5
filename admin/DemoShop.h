#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// A made-up hardware and electrical-goods shop for new users and for the benchmarks: a
// five-level catalogue with Chinese names, specifications, prices, discounts, stock and
// initials; customers, suppliers, employees and the company; years of sales-out, sales-return
// and stock-in documents whose movements add up to the stock. The same options give the same
// file, byte for byte in content.
struct DemoShopOptions {
    int products = 100000;
    int years = 10;
    int salesPerYear = 30000; // sales-out documents a year; stock-in and returns follow from it
    int endYear = 2026;       // the last year with documents
    quint64 seed = 20261207;
};

// Writes the shop into a new database file at path (refuses an existing file). progress is told
// the share done (0-100) and what is being written. Raises CDbException on failure; the half
// made file is removed.
void MakeDemoShop(const QString& path, const DemoShopOptions& options,
                  const std::function<void(int, const QString&)>& progress = {});

// "Harbor --make-demo FILE [--products N] [--years Y] [--documents D] [--end-year Y]
// [--seed S]": a progress line on the terminal, exit code 0 on success.
int MakeDemoCommand(const QStringList& args);
