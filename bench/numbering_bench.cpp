// Next document numbers on tables that already hold 100,000 numbers of the same prefix:
// the worst case for the probe loops, which must find the first free candidate.
#include <benchmark/benchmark.h>
#include <memory>

#include "bench_support.h"
#include "core/numbering.h"
#include "data/database.h"

namespace {

using torvane::Database;

constexpr qint64 kRows = 100000;

QString pad4(qint64 n) {
    return QStringLiteral("%1").arg(n, 4, 10, QLatin1Char('0'));
}

struct NumberingData : torvane::bench::ScratchDatabase {
    NumberingData() : ScratchDatabase(QStringLiteral("bench.erm")) {
        Database::Transaction t(db);
        qint64 triangular = 0;
        for (qint64 i = 1; i <= kRows; ++i) {
            triangular += i;
            db.exec(QStringLiteral("INSERT INTO ODTS (NODT, NAlbaran, NFactura) VALUES (?, ?, ?)"),
                    {QStringLiteral("ODT/") + pad4(i), QStringLiteral("No"),
                     QStringLiteral("FR08/02/%1").arg(i, 5, 10, QLatin1Char('0'))});
            db.exec(QStringLiteral("INSERT INTO Articulos (Codigo) VALUES (?)"),
                    {QStringLiteral("A08/03/") + pad4(triangular)});
            db.exec(QStringLiteral("INSERT INTO Partes (NParte) VALUES (?)"),
                    {QStringLiteral("PG03/") + pad4(triangular)});
            // The same numbers with one freed near the end: the loop must find the gap.
            if (i != kRows - 10)
                db.exec(QStringLiteral("INSERT INTO ODTS (NODT) VALUES (?)"),
                        {QStringLiteral("OTG/") + pad4(i)});
            db.exec(QStringLiteral("INSERT INTO FacturasODT (NFactura) VALUES (?)"),
                    {QStringLiteral("FR08/02/%1").arg(i, 5, 10, QLatin1Char('0'))});
        }
        t.commit();
    }
};

NumberingData& data() {
    static NumberingData d;
    return d;
}

void BM_NextWorkOrderByProbe(benchmark::State& state) {
    Database& db = data().db;
    for (auto _ : state) {
        const QString n = torvane::probeWorkOrderNumber(db, QStringLiteral("ODT/"));
        if (n != QStringLiteral("ODT/100001")) state.SkipWithError("wrong number");
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_NextWorkOrderByProbe)->Unit(benchmark::kMillisecond);

void BM_NextWorkOrderByProbeWithGap(benchmark::State& state) {
    Database& db = data().db;
    for (auto _ : state) {
        const QString n = torvane::probeWorkOrderNumber(db, QStringLiteral("OTG/"));
        if (n != QStringLiteral("OTG/") + pad4(kRows - 10)) state.SkipWithError("wrong number");
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_NextWorkOrderByProbeWithGap)->Unit(benchmark::kMillisecond);

void BM_NextArticleCode(benchmark::State& state) {
    Database& db = data().db;
    const QString expected = QStringLiteral("A08/03/") + pad4(kRows * (kRows + 1) / 2 + kRows + 1);
    for (auto _ : state) {
        const QString n = torvane::probeArticleCode(db, QStringLiteral("A08/03/"));
        if (n != expected) state.SkipWithError("wrong number");
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_NextArticleCode)->Unit(benchmark::kMillisecond);

void BM_NextTowReportByProbe(benchmark::State& state) {
    Database& db = data().db;
    for (auto _ : state) {
        benchmark::DoNotOptimize(torvane::probeTowReportNumber(db, QStringLiteral("PG03/")));
    }
}
BENCHMARK(BM_NextTowReportByProbe)->Unit(benchmark::kMillisecond);

// The continuing consumers read one row through the number index.
void BM_NextWorkOrderFromVehicleSearch(benchmark::State& state) {
    Database& db = data().db;
    for (auto _ : state) {
        const QString n = torvane::nextNumberIn(
            db, torvane::NumberConsumer::WorkOrderFromVehicleSearch, QStringLiteral("ODT/"));
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_NextWorkOrderFromVehicleSearch)->Unit(benchmark::kMillisecond);

void BM_NextWorkOrderInvoiceNewMonth(benchmark::State& state) {
    Database& db = data().db;
    for (auto _ : state) {
        const QString n = torvane::nextNumberIn(db, torvane::NumberConsumer::WorkOrderInvoice,
                                                QStringLiteral("FR08/03/"));
        if (n != QStringLiteral("FR08/03/00001")) state.SkipWithError("wrong number");
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_NextWorkOrderInvoiceNewMonth)->Unit(benchmark::kMillisecond);

void BM_NextWorkOrderInvoiceSameMonth(benchmark::State& state) {
    Database& db = data().db;
    for (auto _ : state) {
        const QString n = torvane::nextNumberIn(db, torvane::NumberConsumer::WorkOrderInvoice,
                                                QStringLiteral("FR08/02/"));
        if (n != QStringLiteral("FR08/02/100001")) state.SkipWithError("wrong number");
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_NextWorkOrderInvoiceSameMonth)->Unit(benchmark::kMillisecond);

void BM_NextDeliveryNoteStoredOrder(benchmark::State& state) {
    Database& db = data().db;
    for (auto _ : state) {
        const QString n = torvane::nextNumberIn(db, torvane::NumberConsumer::WorkOrderDeliveryNote,
                                                QStringLiteral("AL08/03/"));
        if (n != QStringLiteral("AL08/03/00001")) state.SkipWithError("wrong number");
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_NextDeliveryNoteStoredOrder)->Unit(benchmark::kMillisecond);

}  // namespace
