// A 5,000-row listing rendered and written to PDF, as "Clientes > Simple" does it,
// and the memory of the process across repeated renders (it must not grow).
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <QElapsedTimer>
#include <QImage>
#include <QPainter>

#include "bench_support.h"
#include "data/database.h"
#include "reports/report_engine.h"
#include "reports/report_page.h"

namespace {

using torvane::Database;

constexpr int kRows = 5000;

long residentKb() {
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> parts = f.readAll().split(' ');
    return parts.size() > 1 ? parts[1].toLong() * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}

struct ListingData : torvane::bench::ScratchDatabase {
    ListingData() : ScratchDatabase(QStringLiteral("listado.erm")) {
        Database::Transaction t(db);
        db.exec(QStringLiteral("INSERT INTO DatosEmpresa (Nombre) VALUES ('TALLERES TORVANE')"));
        for (int i = 1; i <= kRows; ++i)
            db.exec(
                QStringLiteral("INSERT INTO Clientes (Codigo, NIF, Nombre, Apellido1, "
                               "Telefono, Movil) VALUES (?, ?, ?, ?, ?, ?)"),
                {QStringLiteral("C%1").arg(i, 5, 10, QLatin1Char('0')),
                 QStringLiteral("%1Z").arg(10000000 + i), QStringLiteral("CLIENTE %1").arg(i),
                 QStringLiteral("APELLIDO"), QStringLiteral("91%1").arg(i, 7, 10, QLatin1Char('0')),
                 QStringLiteral("6%1").arg(i, 8, 10, QLatin1Char('0'))});
        t.commit();
    }
};

void BM_ListingToPdf(benchmark::State& state) {
    static ListingData data;
    torvane::reports::ReportEngine engine(data.db, {QCoreApplication::applicationDirPath()},
                                          QDate(2008, 4, 15));
    const QString pdf = QDir(data.dir.path()).filePath(QStringLiteral("listado.pdf"));
    long before = 0;
    int pages = 0;
    int round = 0;
    for (auto _ : state) {
        const auto result = engine.render(QStringLiteral("\\QARVOCLIENTES2.rpt"), QString());
        if (!result.report) {
            state.SkipWithError(qPrintable(result.error));
            return;
        }
        pages = int(result.report->pages.size());
        if (!torvane::reports::writePdf(*result.report, pdf)) {
            state.SkipWithError("cannot write the PDF");
            return;
        }
        // Measured after the first render, once fonts and caches are warm.
        if (++round == 1) before = residentKb();
    }
    state.counters["pages"] = pages;
    state.counters["rss_growth_kb"] = double(residentKb() - before);
}
BENCHMARK(BM_ListingToPdf)->Unit(benchmark::kMillisecond)->Iterations(8);

// ---- the large database: a 30,000-article listing and a year's invoices ----

// A year of work-order invoices, as the billing listings will print it.
constexpr char kInvoiceYear[] = R"(report list
title Facturas de órdenes de trabajo
from FacturasODT
order FacturasODT.Fecha, FacturasODT.NFactura
column "Factura" 14 = {FacturasODT.NFactura}
column "Fecha" 10 date = {FacturasODT.Fecha}
column "Base" 12 money total = {FacturasODT.Base}
column "IVA" 12 money total = {FacturasODT.IVA}
column "Total" 12 money total = {FacturasODT.Importe}
column "Cobrado" 12 money total = {FacturasODT.Pagado}
count "facturas"
)";

struct LargeReport {
    const char* name;
    const char* file;
};

// Report folders: the program's definitions and one written for the benchmark.
QStringList benchFolders(QTemporaryDir& dir) {
    QFile f(dir.filePath(QStringLiteral("FACTURASANYO.rpt")));
    if (f.open(QIODevice::WriteOnly)) f.write(kInvoiceYear);
    return {dir.path(), QCoreApplication::applicationDirPath()};
}

QString lastFullYear(Database& db) {
    const int year =
        db.scalar(QStringLiteral("SELECT substr(max(Fecha), 1, 4) FROM FacturasODT")).toInt() - 1;
    return QStringLiteral(
               "{FacturasODT.Fecha} in DateTime (%1,01,01,00, 00, 00) to DateTime "
               "(%1,12,31 ,00, 00, 00)")
        .arg(year);
}

QString formulaFor(const char* file, Database& db) {
    return QLatin1String(file) == QLatin1String("FACTURASANYO.rpt") ? lastFullYear(db) : QString();
}

// Wall-clock milliseconds per page over every iteration.
double msPerPage(qint64 elapsedMs, int pages, const benchmark::State& state) {
    return pages > 0 ? double(elapsedMs) / double(pages) / double(state.iterations()) : 0;
}

// Laying out every page (no painting): ms per page in the counters.
void BM_LargeReportLayout(benchmark::State& state, LargeReport c) {
    Database* db = torvane::bench::benchDatabase();
    if (!db) return state.SkipWithError("TORVANE_BENCH_DB is not set");
    QTemporaryDir dir;
    torvane::reports::ReportEngine engine(*db, benchFolders(dir), QDate(2024, 6, 15));
    const QString formula = formulaFor(c.file, *db);
    int pages = 0;
    QElapsedTimer clock;
    clock.start();
    for (auto _ : state) {
        const auto result = engine.render(QLatin1String(c.file), formula);
        if (!result.report) return state.SkipWithError(qPrintable(result.error));
        pages = int(result.report->pages.size());
    }
    state.counters["pages"] = pages;
    state.counters["ms_per_page"] = msPerPage(clock.elapsed(), pages, state);
}

// Writing the laid-out pages to PDF: the painting alone, ms per page.
void BM_LargeReportPdf(benchmark::State& state, LargeReport c) {
    Database* db = torvane::bench::benchDatabase();
    if (!db) return state.SkipWithError("TORVANE_BENCH_DB is not set");
    QTemporaryDir dir;
    torvane::reports::ReportEngine engine(*db, benchFolders(dir), QDate(2024, 6, 15));
    const auto result = engine.render(QLatin1String(c.file), formulaFor(c.file, *db));
    if (!result.report) return state.SkipWithError(qPrintable(result.error));
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    const int pages = int(result.report->pages.size());
    QElapsedTimer clock;
    clock.start();
    for (auto _ : state)
        if (!torvane::reports::writePdf(*result.report, pdf))
            return state.SkipWithError("cannot write the PDF");
    state.counters["pages"] = pages;
    state.counters["pdf_kB"] = QFile(pdf).size() / 1024.0;
    state.counters["ms_per_page"] = msPerPage(clock.elapsed(), pages, state);
}

// What the preview waits for before its first page shows: the first page laid out (the
// rest is not) and painted at 88 %.
void BM_LargeReportFirstPage(benchmark::State& state, LargeReport c) {
    Database* db = torvane::bench::benchDatabase();
    if (!db) return state.SkipWithError("TORVANE_BENCH_DB is not set");
    QTemporaryDir dir;
    torvane::reports::ReportEngine engine(*db, benchFolders(dir), QDate(2024, 6, 15));
    const QString formula = formulaFor(c.file, *db);
    for (auto _ : state) {
        const auto result = engine.render(QLatin1String(c.file), formula, 1);
        if (!result.report) return state.SkipWithError(qPrintable(result.error));
        torvane::bench::paintFirstPage(*result.report);
    }
}

const LargeReport kArticles{"Articles30000", "QARVOARTICULOS.rpt"};
const LargeReport kInvoices{"InvoiceYear", "FACTURASANYO.rpt"};
BENCHMARK_CAPTURE(BM_LargeReportLayout, Articles30000, kArticles)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LargeReportPdf, Articles30000, kArticles)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
BENCHMARK_CAPTURE(BM_LargeReportFirstPage, Articles30000, kArticles)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LargeReportLayout, InvoiceYear, kInvoices)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LargeReportPdf, InvoiceYear, kInvoices)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
BENCHMARK_CAPTURE(BM_LargeReportFirstPage, InvoiceYear, kInvoices)->Unit(benchmark::kMillisecond);

}  // namespace
