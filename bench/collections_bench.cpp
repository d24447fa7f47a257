// The collections list (both tabs, opening and name searches), the payments of one
// invoice, the free-invoice list and its searches, the next free-invoice number and the
// preview of a free invoice, on the large database of TORVANE_BENCH_DB. A list reads its
// first 100 rows, every column: the grids fetch the rest as the user scrolls.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QSqlQuery>
#include <QSqlRecord>
#include <functional>

#include "bench_support.h"
#include "billing/collections.h"
#include "billing/free_invoices.h"
#include "core/numbering.h"
#include "data/database.h"
#include "reports/report_engine.h"

namespace {

using torvane::Database;
using torvane::SqlStatement;
namespace co = torvane::collections;
namespace fi = torvane::free_invoices;

using torvane::bench::runList;

// The first letters of the name of the customer of the newest invoice of a table.
QString typedName(Database& db, const char* sql, int letters) {
    return db.scalar(QString::fromLatin1(sql)).toString().left(letters);
}
const char* const kWorkOrderCustomer =
    "SELECT c.Nombre FROM FacturasODT f JOIN ODTS o ON o.NFactura = f.NFactura "
    "JOIN Clientes c ON c.Id_Cli = o.Id_Cli ORDER BY f.Fecha DESC LIMIT 1";
const char* const kPartsCustomer =
    "SELECT c.Nombre FROM Facturas f JOIN Clientes c ON c.Id_Cli = f.Id_Cli "
    "ORDER BY f.Fecha DESC LIMIT 1";
const char* const kFreeCustomer =
    "SELECT c.Nombre FROM FacturasLibres f JOIN Clientes c ON c.Id_Cli = f.Id_Cli "
    "ORDER BY f.Fecha DESC LIMIT 1";

void BM_GestorCobrosOpen(benchmark::State& state) {
    const auto kind = co::InvoiceKind(state.range(0));
    runList(state, [kind](Database& db) { return co::invoiceList(db, kind); });
}
BENCHMARK(BM_GestorCobrosOpen)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_GestorCobrosSearch(benchmark::State& state) {
    const auto kind = co::InvoiceKind(state.range(0));
    const int letters = int(state.range(1));
    runList(state, [&](Database& db) {
        const QString typed = typedName(
            db, kind == co::InvoiceKind::WorkOrder ? kWorkOrderCustomer : kPartsCustomer, letters);
        state.SetLabel(typed.toStdString());
        return co::invoiceList(db, kind, typed, co::SearchPlan(state.range(2)));
    });
}
// Kind, letters typed, plan (0 as the screen chooses, 1 date walk, 2 customers first).
BENCHMARK(BM_GestorCobrosSearch)
    ->ArgsProduct({{0, 1}, {1, 3}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond);

// The payments of the invoice with the most of them.
void BM_EntregasPayments(benchmark::State& state) {
    runList(state, [](Database& db) {
        return co::paymentsOf(db.scalar(QStringLiteral("SELECT NFactura FROM Cobros GROUP BY "
                                                       "NFactura ORDER BY count(*) DESC LIMIT 1"))
                                  .toString());
    });
}
BENCHMARK(BM_EntregasPayments)->Unit(benchmark::kMillisecond);

// The amount, paid and pending of one invoice (read after every change).
void BM_EntregasState(benchmark::State& state) {
    Database* db = torvane::bench::benchDatabase();
    if (!db) return state.SkipWithError("TORVANE_BENCH_DB is not set");
    const QString number =
        db->scalar(QStringLiteral("SELECT NFactura FROM FacturasODT ORDER BY Fecha DESC LIMIT 1"))
            .toString();
    for (auto _ : state)
        benchmark::DoNotOptimize(co::invoiceState(*db, co::InvoiceKind::WorkOrder, number));
}
BENCHMARK(BM_EntregasState)->Unit(benchmark::kMillisecond);

// ListFacLibres: opening (-1), by name with 1 and 3 letters, by number.
void BM_ListFacLibres(benchmark::State& state) {
    const int letters = int(state.range(0));
    runList(state, [&](Database& db) {
        if (letters < 0) return fi::list(0, {});
        if (letters == 0) {
            state.SetLabel("FL/0001");
            return fi::list(1, QStringLiteral("FL/0001"));
        }
        const QString typed = typedName(db, kFreeCustomer, letters);
        state.SetLabel(typed.toStdString());
        return fi::list(0, typed);
    });
}
BENCHMARK(BM_ListFacLibres)->Arg(-1)->Arg(0)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

void BM_FreeInvoiceNextNumber(benchmark::State& state) {
    Database* db = torvane::bench::benchDatabase();
    if (!db) return state.SkipWithError("TORVANE_BENCH_DB is not set");
    QString number;
    for (auto _ : state)
        number =
            torvane::nextNumberIn(*db, torvane::NumberConsumer::FreeInvoice, QStringLiteral("FL/"));
    state.SetLabel(number.toStdString());
}
BENCHMARK(BM_FreeInvoiceNextNumber)->Unit(benchmark::kMillisecond);

// What the preview waits for: the newest free invoice laid out.
void BM_FreeInvoicePreview(benchmark::State& state) {
    Database* db = torvane::bench::benchDatabase();
    if (!db) return state.SkipWithError("TORVANE_BENCH_DB is not set");
    const QString number =
        db->scalar(QStringLiteral("SELECT NFactura FROM FacturasLibres ORDER BY Id DESC LIMIT 1"))
            .toString();
    torvane::reports::ReportEngine engine(*db, {QCoreApplication::applicationDirPath()},
                                          QDate(2024, 6, 15));
    for (auto _ : state) {
        const auto result =
            engine.render(QString::fromLatin1(fi::kReportFile), fi::reportFormula(number), 1);
        if (!result.report) return state.SkipWithError(qPrintable(result.error));
        benchmark::DoNotOptimize(result.report->pages.size());
    }
    state.SetLabel(number.toStdString());
}
BENCHMARK(BM_FreeInvoicePreview)->Unit(benchmark::kMillisecond);

}  // namespace
