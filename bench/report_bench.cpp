// A 5,000-row listing rendered and written to PDF, as "Clientes > Simple" does it,
// and the memory of the process across repeated renders (it must not grow).
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "data/database.h"
#include "reports/report_engine.h"

namespace {

using torvane::Database;

constexpr int kRows = 5000;

long residentKb() {
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> parts = f.readAll().split(' ');
    return parts.size() > 1 ? parts[1].toLong() * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}

struct ListingData {
    QTemporaryDir dir;
    Database db;

    ListingData() {
        const QString path = QDir(dir.path()).filePath(QStringLiteral("listado.erm"));
        QString reason;
        if (!Database::createFromSchema(path, &reason) || !db.open(path, &reason))
            qFatal("cannot create the benchmark database: %s", qPrintable(reason));
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

}  // namespace
