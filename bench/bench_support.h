#pragma once

#include <QString>
#include <QVariantList>
#include <vector>

namespace torvane {
class Database;
}

namespace torvane::bench {

// The large database the benchmarks run on: the file named by TORVANE_BENCH_DB.
QString benchDatabasePath();
// Opened once; nullptr when TORVANE_BENCH_DB is missing or cannot be opened.
Database* benchDatabase();

// A list or search query as a screen runs it, with its bound parameters.
struct QueryCase {
    QString name;
    QString sql;
    QVariantList params;
};
// Every list and search query that is measured and whose plan is checked.
std::vector<QueryCase> workshopQueries(Database& db);

// Registers the benchmarks of bench_support.cpp (they need the database path at run time).
void registerWorkshopBenchmarks();
// EXPLAIN QUERY PLAN of every query; returns the number of plans that scan a large table.
int printQueryPlans();

}  // namespace torvane::bench
