// Tow reports (the report manager's list, a report's lines, the report and invoice
// previews), bank receipts (both unpaid grids of a customer, the receipt list, a receipt's
// preview) and commission invoices (the list and its searches, the next FC number, the
// preview), on the large database of TORVANE_BENCH_DB.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDate>

#include "bench_support.h"
#include "billing/commissions.h"
#include "billing/receipts.h"
#include "data/database.h"
#include "reports/report_engine.h"
#include "tow/tow_reports.h"

namespace {

using torvane::Database;
using torvane::SqlStatement;
using torvane::bench::runList;
namespace fc = torvane::commissions;
namespace rc = torvane::receipts;

const QDate kToday(2024, 6, 15);

QString newest(Database& db, const char* sql) {
    return db.scalar(QString::fromLatin1(sql)).toString();
}
const char* const kNewestTowReport = "SELECT NParte FROM Partes ORDER BY Id DESC LIMIT 1";
const char* const kNewestInvoicedTowReport =
    "SELECT NParte FROM Partes WHERE NFactura <> 'No' ORDER BY Id DESC LIMIT 1";
// The customer with the most work-order invoices: the longest unpaid grids.
const char* const kBusiestCustomer =
    "SELECT o.Id_Cli FROM FacturasODT f JOIN ODTS o ON o.NFactura = f.NFactura "
    "GROUP BY o.Id_Cli ORDER BY count(*) DESC LIMIT 1";

void BM_GestorPartesOpen(benchmark::State& state) {
    runList(state, [](Database&) { return torvane::tow::reportList(); });
}
BENCHMARK(BM_GestorPartesOpen)->Unit(benchmark::kMillisecond);

void BM_TowReportLines(benchmark::State& state) {
    runList(state, [](Database& db) {
        return torvane::tow::linesStatement(newest(db, kNewestTowReport));
    });
}
BENCHMARK(BM_TowReportLines)->Unit(benchmark::kMillisecond);

void BM_RecibosUnpaid(benchmark::State& state) {
    const bool parts = state.range(0) == 1;
    runList(state, [parts](Database& db) {
        const qint64 customer = db.scalar(QString::fromLatin1(kBusiestCustomer)).toLongLong();
        return parts ? rc::unpaidPartsInvoices(customer) : rc::unpaidWorkOrderInvoices(customer);
    });
}
// 0 work-order invoices, 1 parts invoices.
BENCHMARK(BM_RecibosUnpaid)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ListadoRecibosOpen(benchmark::State& state) {
    runList(state, [](Database&) { return rc::list(); });
}
BENCHMARK(BM_ListadoRecibosOpen)->Unit(benchmark::kMillisecond);

void BM_ListComisiones(benchmark::State& state) {
    const int option = int(state.range(0));
    const int letters = int(state.range(1));
    runList(state, [&](Database& db) {
        const QString whole = option == 0 ? newest(db,
                                                   "SELECT c.Nombre FROM Comisiones f JOIN "
                                                   "Clientes c ON c.Id_Cli = f.Id_Cli ORDER BY "
                                                   "f.Id DESC LIMIT 1")
                                          : newest(db,
                                                   "SELECT NFactura FROM Comisiones ORDER BY "
                                                   "Id DESC LIMIT 1");
        const QString typed = whole.left(letters);
        state.SetLabel(typed.toStdString());
        return fc::list(option, typed);
    });
}
// Option (0 name, 1 number), letters typed (0: the list as it opens).
BENCHMARK(BM_ListComisiones)->ArgsProduct({{0, 1}, {0, 1, 3}})->Unit(benchmark::kMillisecond);

void BM_CommissionNumber(benchmark::State& state) {
    Database* db = torvane::bench::benchDatabase();
    if (!db) return state.SkipWithError("TORVANE_BENCH_DB is not set");
    for (auto _ : state) benchmark::DoNotOptimize(fc::nextNumber(*db, kToday));
}
BENCHMARK(BM_CommissionNumber)->Unit(benchmark::kMillisecond);

// What a preview waits for: the document laid out.
void preview(benchmark::State& state, const QString& file, const QString& formula) {
    Database* db = torvane::bench::benchDatabase();
    torvane::reports::ReportEngine engine(*db, {QCoreApplication::applicationDirPath()}, kToday);
    for (auto _ : state) {
        const auto result = engine.render(file, formula, 1);
        if (!result.report) return state.SkipWithError(qPrintable(result.error));
        benchmark::DoNotOptimize(result.report->pages.size());
    }
    state.SetLabel(formula.toStdString());
}

// 0 the tow report, 1 its invoice, 2 a bank receipt, 3 a commission invoice.
void BM_BillingPreview(benchmark::State& state) {
    Database* db = torvane::bench::benchDatabase();
    if (!db) return state.SkipWithError("TORVANE_BENCH_DB is not set");
    namespace tw = torvane::tow;
    switch (state.range(0)) {
        case 0:
            return preview(state, QString::fromLatin1(tw::kReportFile),
                           tw::reportFormula(newest(*db, kNewestTowReport)));
        case 1: {
            const QString invoiced = newest(*db, kNewestInvoicedTowReport);
            if (invoiced.isEmpty()) return state.SkipWithError("no invoiced tow report");
            return preview(state, QString::fromLatin1(tw::kInvoiceFile),
                           tw::reportFormula(invoiced));
        }
        case 2:
            return preview(
                state, QString::fromLatin1(rc::kReportFile),
                rc::reportFormula(
                    db->scalar(QStringLiteral("SELECT max(id) FROM Recibos")).toLongLong()));
        default:
            return preview(
                state, QString::fromLatin1(fc::kReportFile),
                fc::reportFormula(newest(*db,
                                         "SELECT NFactura FROM Comisiones ORDER BY Id DESC "
                                         "LIMIT 1")));
    }
}
BENCHMARK(BM_BillingPreview)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

}  // namespace
