#pragma once

#include <benchmark/benchmark.h>

#include <QString>
#include <QTemporaryDir>
#include <QVariantList>
#include <functional>
#include <vector>

#include "data/database.h"

namespace torvane {
struct SqlStatement;
namespace reports {
struct RenderedReport;
}
}  // namespace torvane

namespace torvane::bench {

// An empty database of the current schema in a temporary folder, for the benchmarks that
// build their own rows; stops the run when it cannot be made.
struct ScratchDatabase {
    explicit ScratchDatabase(const QString& fileName);
    QTemporaryDir dir;
    Database db;
};

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

// EXPLAIN QUERY PLAN of a statement into *plan; true when it reads a whole table ("SCAN X"
// without an index). Walking an index in its order is fine while the first screenful comes
// early.
bool readsWholeTable(Database& db, const SqlStatement& statement, QString* plan);

// The first screenful (100 rows, every column) of a list, as its grid asks for it.
int firstRows(Database& db, const SqlStatement& statement);
// Times firstRows of the statement built once on the bench database; rows as a counter.
void runList(benchmark::State& state, const std::function<SqlStatement(Database&)>& statement);

// What a preview waits for after layout: the first page painted at 88 %.
void paintFirstPage(const reports::RenderedReport& report);

// Registers the benchmarks of bench_support.cpp (they need the database path at run time).
void registerWorkshopBenchmarks();
// EXPLAIN QUERY PLAN of every query; returns the number of plans that scan a large table.
int printQueryPlans();

}  // namespace torvane::bench
