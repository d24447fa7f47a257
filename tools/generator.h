#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace torvane {

class Database;

namespace gen {

// How big a workshop to make. Counts are targets; the activity spreads them over the
// working days (Monday to Saturday) of the period that ends on `today`.
struct Scale {
    int customers = 0;
    int vehicles = 0;
    int workOrders = 0;
    int sales = 0;
    int articles = 0;
    int suppliers = 0;
    int operators = 0;
    int insurers = 0;
    int freeInvoices = 0;
    int commissions = 0;
    int towReports = 0;
    int years = 1;
};

// "demo", "large" or a number of customers (the rest grows with it). std::nullopt for
// anything else.
std::optional<Scale> scaleNamed(const QString& name);

struct Options {
    Scale scale;
    std::uint64_t seed = 1;
    // The last day of activity. Every date in the file is fixed relative to it, so the same
    // seed and day give the same file.
    QDate today;
};

struct Counts {
    qint64 customers = 0, vehicles = 0, articles = 0, workOrders = 0, workOrderLines = 0,
           workOrderInvoices = 0, sales = 0, saleLines = 0, saleInvoices = 0, payments = 0,
           purchases = 0, freeInvoices = 0, commissions = 0, receipts = 0, towReports = 0;
    QString summary() const;
};

// Writes a new database at path (replacing any file there) with the project's schema and a
// whole workshop's history. Returns false with a Spanish reason on failure; a half-written
// file is removed.
bool generateDatabase(const QString& path, const Options& options, QString* error = nullptr,
                      Counts* counts = nullptr);

// Everything a generated database must obey: links, totals, payments, numbers, stock and
// tax-id letters. Returns one line per problem found (empty when consistent). `limit` caps
// the lines kept per kind of problem.
QStringList checkConsistency(Database& db, int limit = 5);

}  // namespace gen
}  // namespace torvane
