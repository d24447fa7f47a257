// The month's roadworthiness tests on the large database (25,000 vehicles): the listing's
// first page as the preview shows it, the labels, and the whole listing exported.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include "bench_support.h"
#include "data/database.h"
#include "reports/itv_due.h"
#include "reports/list_export.h"
#include "reports/list_table.h"
#include "reports/report_engine.h"

namespace {

using torvane::Database;

// The month with the most tests due: the longest listing a workshop can ask for.
QDate busiestMonth(Database& db) {
    const QString month =
        db.scalar(QStringLiteral("SELECT substr(FechaITV, 1, 7) AS m FROM Vehiculos WHERE "
                                 "FechaITV IS NOT NULL GROUP BY m ORDER BY count(*) DESC LIMIT 1"))
            .toString();
    return QDate::fromString(month + QStringLiteral("-01"), Qt::ISODate);
}

torvane::reports::ReportEngine engineFor(Database& db) {
    return torvane::reports::ReportEngine(db, {QCoreApplication::applicationDirPath()},
                                          QDate(2024, 6, 15));
}

// What the preview waits for: the first page laid out and painted.
void itv_DueListFirstPage(benchmark::State& state) {
    Database* db = torvane::bench::benchDatabase();
    if (!db) return state.SkipWithError("TORVANE_BENCH_DB is not set");
    const QDate month = busiestMonth(*db);
    auto engine = engineFor(*db);
    const QString formula = torvane::reports::itvFormula(month);
    for (auto _ : state) {
        const auto result = engine.render(torvane::reports::kItvListFile, formula, 1);
        if (!result.report) return state.SkipWithError(qPrintable(result.error));
        torvane::bench::paintFirstPage(*result.report);
    }
    state.SetLabel(month.toString(QStringLiteral("MM/yyyy")).toStdString());
}
BENCHMARK(itv_DueListFirstPage)->Unit(benchmark::kMillisecond);

void itv_DueLabels(benchmark::State& state) {
    Database* db = torvane::bench::benchDatabase();
    if (!db) return state.SkipWithError("TORVANE_BENCH_DB is not set");
    const QDate month = busiestMonth(*db);
    auto engine = engineFor(*db);
    const QString formula = torvane::reports::itvFormula(month);
    size_t pages = 0;
    for (auto _ : state) {
        const auto result = engine.render(torvane::reports::kItvLabelsFile, formula);
        if (!result.report) return state.SkipWithError(qPrintable(result.error));
        pages = result.report->pages.size();
        torvane::bench::paintFirstPage(*result.report);
    }
    state.counters["sheets"] = double(pages);
}
BENCHMARK(itv_DueLabels)->Unit(benchmark::kMillisecond);

// The whole month to a workbook, as "Exportar" does it.
void itv_DueListToXlsx(benchmark::State& state) {
    Database* db = torvane::bench::benchDatabase();
    if (!db) return state.SkipWithError("TORVANE_BENCH_DB is not set");
    const QDate month = busiestMonth(*db);
    auto engine = engineFor(*db);
    const QString formula = torvane::reports::itvFormula(month);
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("itv.xlsx"));
    size_t rows = 0;
    for (auto _ : state) {
        const auto result = engine.render(torvane::reports::kItvListFile, formula);
        if (!result.report || !result.report->table)
            return state.SkipWithError(qPrintable(result.error));
        QString reason;
        if (!torvane::reports::writeXlsx(*result.report->table, out, &reason))
            return state.SkipWithError(qPrintable(reason));
        rows = result.report->table->rows.size();
    }
    state.counters["rows"] = double(rows);
}
BENCHMARK(itv_DueListToXlsx)->Unit(benchmark::kMillisecond);

}  // namespace
