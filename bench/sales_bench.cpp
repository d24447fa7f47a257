// The parts-sales list as its screen runs it (opening, and every keystroke of each
// search column in each state), the Uni and Multi Factura lists, the invoice
// numbers and the sales documents' previews, on the large database of
// TORVANE_BENCH_DB (100,000 sales).
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDate>
#include <functional>

#include "bench_support.h"
#include "controls/data_grid.h"
#include "core/numbering.h"
#include "data/database.h"
#include "reports/report_engine.h"
#include "sales/counter_sale.h"
#include "sales/sales_list.h"

namespace {

using torvane::Database;
using torvane::SqlStatement;
namespace sl = torvane::sales;

// Texts typed in the searches, taken from a note in the middle of the file.
struct Sample {
    Database* db = nullptr;
    QString note, invoice, name, nif;
    qint64 busyCustomer = 0;

    Sample() {
        db = torvane::bench::benchDatabase();
        if (!db) return;
        const qint64 count =
            db->scalar(QStringLiteral("SELECT count(*) FROM Albaranes")).toLongLong();
        const auto mid = db->firstRow(
            QStringLiteral("SELECT Albaranes.Id_Alb, Clientes.Nombre, Clientes.NIF FROM Albaranes "
                           "JOIN Clientes ON Clientes.Id_Cli = Albaranes.Id_Cli "
                           "ORDER BY Albaranes.Id LIMIT 1 OFFSET ?"),
            {count / 2});
        if (mid) {
            note = mid->value(QStringLiteral("Id_Alb")).toString();
            name = mid->value(QStringLiteral("Nombre")).toString();
            nif = mid->value(QStringLiteral("NIF")).toString();
        }
        invoice = db->scalar(QStringLiteral("SELECT NFactura FROM Albaranes WHERE NFactura <> 'No' "
                                            "ORDER BY Id LIMIT 1 OFFSET ?"),
                             {count / 3})
                      .toString();
        busyCustomer = db->scalar(QStringLiteral("SELECT Id_Cli FROM Albaranes WHERE NFactura = "
                                                 "'No' GROUP BY Id_Cli ORDER BY count(*) DESC "
                                                 "LIMIT 1"))
                           .toLongLong();
    }
    QString typed(sl::SearchColumn c, int length) const {
        const QString full = c == sl::SearchColumn::Albaran   ? note
                             : c == sl::SearchColumn::Factura ? invoice
                             : c == sl::SearchColumn::Cliente ? name
                                                              : nif;
        return full.left(length);
    }
};

// Builds the grid's statement and runs it with its first screenful, as the list does.
void runGrid(benchmark::State& state, Database& db,
             const std::function<SqlStatement()>& statement) {
    torvane::GridModel model;
    for (auto _ : state) {
        model.run(db, statement());
        benchmark::DoNotOptimize(model.rowCount());
    }
    state.counters["rows"] = model.rowCount();
}

void BM_SalesListOpen(benchmark::State& state) {
    const Sample s;
    if (!s.db) return state.SkipWithError("TORVANE_BENCH_DB is not set");
    runGrid(state, *s.db, [] { return sl::listAll(); });
}
BENCHMARK(BM_SalesListOpen)->Unit(benchmark::kMillisecond);

// Arguments: column (Option1), state (Option2), characters typed.
void BM_SalesListKeystroke(benchmark::State& state) {
    const Sample s;
    if (!s.db) return state.SkipWithError("TORVANE_BENCH_DB is not set");
    const auto column = sl::SearchColumn(state.range(0));
    const auto noteState = sl::NoteState(state.range(1));
    const QString typed = s.typed(column, int(state.range(2)));
    runGrid(state, *s.db, [&] { return sl::listSearch(*s.db, column, noteState, typed); });
    state.SetLabel((sl::searchColumnCaptions()[int(column)] + QLatin1Char('/') +
                    sl::noteStateCaptions()[int(noteState)] + QStringLiteral(" '") + typed +
                    QLatin1Char('\''))
                       .toStdString());
}
BENCHMARK(BM_SalesListKeystroke)
    ->ArgsProduct({{0, 1, 2, 3}, {0, 1, 2}, {1, 3, 8}})
    ->Unit(benchmark::kMillisecond);

void BM_UnifacturaOpen(benchmark::State& state) {
    const Sample s;
    if (!s.db) return state.SkipWithError("TORVANE_BENCH_DB is not set");
    runGrid(state, *s.db, [&] { return sl::pendingOf(s.busyCustomer); });
}
BENCHMARK(BM_UnifacturaOpen)->Unit(benchmark::kMillisecond);

void BM_MultiFacturaOpen(benchmark::State& state) {
    const Sample s;
    if (!s.db) return state.SkipWithError("TORVANE_BENCH_DB is not set");
    runGrid(state, *s.db, [] { return sl::allPending(); });
}
BENCHMARK(BM_MultiFacturaOpen)->Unit(benchmark::kMillisecond);

// The proposal and the check that a number is free, including the walk past a used one.
void BM_SalesInvoiceNumbers(benchmark::State& state) {
    const Sample s;
    if (!s.db) return state.SkipWithError("TORVANE_BENCH_DB is not set");
    const QString prefix =
        torvane::ExpandSeries(torvane::defaultSeriesText(torvane::Series::FV), QDate(2024, 6, 15));
    for (auto _ : state) {
        const QString next =
            torvane::nextNumberIn(*s.db, torvane::NumberConsumer::SalesListInvoiceProposal, prefix);
        benchmark::DoNotOptimize(torvane::freePartsInvoiceNumber(*s.db, prefix, next));
        benchmark::DoNotOptimize(torvane::freePartsInvoiceNumber(*s.db, prefix, s.invoice));
    }
}
BENCHMARK(BM_SalesInvoiceNumbers)->Unit(benchmark::kMillisecond);

// The previews of one note: delivery note, invoice, internal invoice, ticket.
void BM_SalesPreview(benchmark::State& state) {
    const Sample s;
    if (!s.db) return state.SkipWithError("TORVANE_BENCH_DB is not set");
    const char* const files[] = {"\\qarvoalbventa.rpt", "\\qarvofacventa.rpt",
                                 "\\qarvofacventai.rpt", "\\TICKETVENTA.rpt"};
    const QString file = QLatin1String(files[state.range(0)]);
    const QString note =
        s.db->scalar(QStringLiteral("SELECT Id_Alb FROM Albaranes WHERE NFactura = ?"), {s.invoice})
            .toString();
    torvane::reports::ReportEngine engine(*s.db, {QCoreApplication::applicationDirPath()},
                                          QDate(2024, 6, 15));
    for (auto _ : state) {
        const auto result = engine.render(file, sl::noteFormula(note), 1);
        if (!result.report) return state.SkipWithError(result.error.toUtf8().constData());
        benchmark::DoNotOptimize(result.report->pages.size());
    }
    state.SetLabel(file.mid(1).toStdString());
}
BENCHMARK(BM_SalesPreview)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

}  // namespace
