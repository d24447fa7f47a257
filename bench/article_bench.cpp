// The article search as its screen runs it at every keystroke, and the history
// tab of the busiest article (its entries, counter sales and work-order uses),
// on the large database of TORVANE_BENCH_DB (30,000 articles). Each statement's
// plan is checked first: a file without planner statistics must still reach
// the rows through an index.
#include <benchmark/benchmark.h>

#include <QSqlQuery>

#include "bench_support.h"
#include "controls/data_grid.h"
#include "controls/header_sort.h"
#include "data/database.h"
#include "masters/articles.h"

namespace {

using torvane::Database;
using torvane::SqlStatement;
namespace ar = torvane::articles;

struct Fixture {
    Database* db = nullptr;
    QString code, description;
    qint64 busyId = 0;
    QString busyCode;
    bool statistics = false;

    Fixture() {
        db = torvane::bench::benchDatabase();
        if (!db) return;
        const qint64 count =
            db->scalar(QStringLiteral("SELECT count(*) FROM Articulos")).toLongLong();
        auto mid = db->firstRow(
            QStringLiteral("SELECT Codigo, Nombre FROM Articulos ORDER BY Id_Art LIMIT 1 OFFSET ?"),
            {count / 2});
        if (mid) {
            code = mid->value(QStringLiteral("Codigo")).toString();
            description = mid->value(QStringLiteral("Nombre")).toString();
        }
        // The article used in the most work orders.
        busyCode = db->scalar(QStringLiteral("SELECT NArticulo FROM MaterialesODT GROUP BY "
                                             "NArticulo ORDER BY count(*) DESC LIMIT 1"))
                       .toString();
        busyId =
            db->scalar(QStringLiteral("SELECT Id_Art FROM Articulos WHERE Codigo = ?"), {busyCode})
                .toLongLong();
        statistics =
            db->scalar(
                  QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'sqlite_stat1'"))
                .toInt() > 0;
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

bool ready(benchmark::State& state, const QList<SqlStatement>& statements) {
    Fixture& f = fixture();
    if (!f.db) {
        state.SkipWithError("TORVANE_BENCH_DB is not set or cannot be opened");
        return false;
    }
    if (f.statistics) {
        state.SkipWithError("the benchmark database has planner statistics");
        return false;
    }
    for (const SqlStatement& s : statements) {
        QString plan;
        if (torvane::bench::readsWholeTable(*f.db, s, &plan)) {
            state.SkipWithError(
                (QStringLiteral("reads a whole table: ") + plan).toUtf8().constData());
            return false;
        }
    }
    return true;
}

void keystroke(benchmark::State& state, int option, const QString& full) {
    const QString typed = full.left(int(state.range(0)));
    const SqlStatement s = ar::search(option, typed);
    if (!ready(state, {s})) return;
    torvane::GridModel model;
    for (auto _ : state) {
        model.run(*fixture().db, ar::search(option, typed));
        benchmark::DoNotOptimize(model.rowCount());
    }
    state.counters["rows"] = model.rowCount();
    state.SetLabel(typed.toStdString());
}

void BM_ArticleSearchByCode(benchmark::State& state) {
    keystroke(state, 0, fixture().code);
}
void BM_ArticleSearchByDescription(benchmark::State& state) {
    keystroke(state, 1, fixture().description);
}
BENCHMARK(BM_ArticleSearchByCode)->DenseRange(0, 6, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ArticleSearchByDescription)->DenseRange(1, 7, 3)->Unit(benchmark::kMillisecond);

// Opening the search lists every article.
void BM_ArticleSearchOpen(benchmark::State& state) {
    if (!ready(state, {ar::searchInitial()})) return;
    torvane::GridModel model;
    for (auto _ : state) {
        model.run(*fixture().db, ar::searchInitial());
        benchmark::DoNotOptimize(model.rowCount());
    }
    state.counters["rows"] = model.rowCount();
}
BENCHMARK(BM_ArticleSearchOpen)->Unit(benchmark::kMillisecond);

// The three grids of the history tab for the busiest article, as the tab shows
// them: each query run and its first rows fetched (the grids fetch the rest as
// the user scrolls).
void BM_ArticleHistoryOfBusyArticle(benchmark::State& state) {
    Fixture& f = fixture();
    const QList<SqlStatement> statements = {ar::entriesOf(f.busyId), ar::salesOf(f.busyId),
                                            ar::workOrderUsesOf(f.busyCode)};
    if (!ready(state, statements)) return;
    torvane::GridModel entries, sales, uses;
    for (auto _ : state) {
        entries.run(*f.db, ar::entriesOf(f.busyId));
        sales.run(*f.db, ar::salesOf(f.busyId));
        uses.run(*f.db, ar::workOrderUsesOf(f.busyCode));
        benchmark::DoNotOptimize(entries.rowCount() + sales.rowCount() + uses.rowCount());
    }
    state.counters["shown"] = entries.rowCount() + sales.rowCount() + uses.rowCount();
    state.counters["uses"] = f.db->scalar(QStringLiteral("SELECT count(*) FROM MaterialesODT "
                                                         "WHERE NArticulo = ?"),
                                          {f.busyCode})
                                 .toInt();
    state.SetLabel(f.busyCode.toStdString());
}
BENCHMARK(BM_ArticleHistoryOfBusyArticle)->Unit(benchmark::kMillisecond);

// A header click on the work-order uses of the busiest article: the sort reads them all.
void BM_ArticleHistorySortedUses(benchmark::State& state) {
    Fixture& f = fixture();
    const SqlStatement sorted = torvane::sortedOn(ar::workOrderUsesOf(f.busyCode), 3, false);
    if (!ready(state, {sorted})) return;
    torvane::GridModel uses;
    for (auto _ : state) {
        uses.run(*f.db, sorted);
        benchmark::DoNotOptimize(uses.rowCount());
    }
}
BENCHMARK(BM_ArticleHistorySortedUses)->Unit(benchmark::kMillisecond);

// The duplicate-code check on leaving the code field.
void BM_ArticleDuplicateCheck(benchmark::State& state) {
    if (!ready(state, {})) return;
    for (auto _ : state)
        benchmark::DoNotOptimize(ar::codeTakenByAnother(*fixture().db, fixture().code, {}));
}
BENCHMARK(BM_ArticleDuplicateCheck)->Unit(benchmark::kMillisecond);

}  // namespace
