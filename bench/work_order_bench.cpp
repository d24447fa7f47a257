// Opening a work order of 50 lines as the editor does (header, owner, line counts, the
// four grids, operators and departments) and saving it (checks, totals, header, one
// marked line deleted with its stock given back), on the large database of
// TORVANE_BENCH_DB. The work order is made for the run and removed after it.
#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "data/database.h"
#include "workorders/work_order.h"

namespace {

using torvane::Database;
using torvane::Money;
using torvane::Quantity;
namespace wo = torvane::workorders;

const QString kNumber = QStringLiteral("ODT/BENCH-50");

// A work order of 50 lines: 5 jobs, 15 labour, 20 materials of stocked articles, 10 free.
struct BenchOrder {
    Database* db = nullptr;
    qint64 id = 0;
    QString article;

    BenchOrder() {
        db = torvane::bench::benchDatabase();
        if (!db) return;
        remove();
        const qint64 vehicle =
            db->scalar(QStringLiteral("SELECT max(Id_Veh) FROM Vehiculos")).toLongLong();
        article = db->scalar(QStringLiteral("SELECT Codigo FROM Articulos ORDER BY Id_Art LIMIT 1"))
                      .toString();
        for (int i = 0; i < 5; ++i)
            wo::storeJob(*db, kNumber, wo::JobLine{{}, QStringLiteral("TRABAJO %1").arg(i)});
        for (int i = 0; i < 15; ++i)
            wo::storeLabour(*db, kNumber,
                            wo::LabourLine{{},
                                           QString(),
                                           QString(),
                                           QStringLiteral("MECANICA"),
                                           QStringLiteral("MANO DE OBRA"),
                                           QDate(2026, 3, 5),
                                           Quantity::whole(1),
                                           Quantity::fromUnits(13330),
                                           Money::whole(30),
                                           Quantity()});
        for (int i = 0; i < 20; ++i)
            wo::storeMaterial(*db, kNumber,
                              wo::MaterialLine{{},
                                               article,
                                               QStringLiteral("PIEZA"),
                                               Quantity::whole(1),
                                               Money::fromCents(1265),
                                               Quantity::whole(10)});
        for (int i = 0; i < 10; ++i)
            wo::storeFreeLine(*db, kNumber,
                              wo::FreeLine{{},
                                           QString(),
                                           QStringLiteral("LIBRE"),
                                           Quantity::whole(2),
                                           Money::fromCents(550),
                                           Quantity()});
        wo::Header h = wo::newHeader(*db, kNumber, vehicle, QDate(2026, 3, 5));
        h.kilometres = QStringLiteral("100000");
        id = wo::save(*db, h, {}).id;
    }
    ~BenchOrder() {
        if (db) remove();
    }
    BenchOrder(const BenchOrder&) = delete;
    BenchOrder& operator=(const BenchOrder&) = delete;

    // Lines first, giving their stock back, then the header.
    void remove() {
        wo::discardNew(*db, kNumber);
        db->exec(QStringLiteral("DELETE FROM ODTS WHERE NODT = ?"), {kNumber});
    }
};

void BM_WorkOrderOpen50Lines(benchmark::State& state) {
    BenchOrder order;
    if (!order.db) {
        state.SkipWithError("TORVANE_BENCH_DB is not set or cannot be opened");
        return;
    }
    Database& db = *order.db;
    for (auto _ : state) {
        const auto header = wo::headerById(db, order.id);
        const auto owner = wo::vehicleOwner(db, header->vehicleId);
        const auto counts = wo::lineCounts(db, header->number);
        const wo::Lines lines = wo::linesOf(db, header->number);
        const QStringList operators = wo::operatorNames(db);
        const QStringList departments = wo::departmentNames(db);
        benchmark::DoNotOptimize(owner);
        benchmark::DoNotOptimize(counts);
        state.counters["lines"] = double(lines.jobs.size() + lines.labour.size() +
                                         lines.materials.size() + lines.freeLines.size());
        state.counters["choices"] = double(operators.size() + departments.size());
    }
}
BENCHMARK(BM_WorkOrderOpen50Lines)->Unit(benchmark::kMillisecond);

// Each save deletes one material line marked in the grid; a new one is added untimed so
// every iteration saves the same work order of 50 lines.
void BM_WorkOrderSave50Lines(benchmark::State& state) {
    BenchOrder order;
    if (!order.db) {
        state.SkipWithError("TORVANE_BENCH_DB is not set or cannot be opened");
        return;
    }
    Database& db = *order.db;
    auto header = wo::headerById(db, order.id);
    for (auto _ : state) {
        state.PauseTiming();
        wo::Deletions marked;
        marked.materials = {wo::storeMaterial(db, kNumber,
                                              wo::MaterialLine{{},
                                                               order.article,
                                                               QStringLiteral("PIEZA"),
                                                               Quantity::whole(1),
                                                               Money::whole(5),
                                                               Quantity()})};
        state.ResumeTiming();
        const wo::SaveResult r = wo::save(db, *header, marked);
        benchmark::DoNotOptimize(r.totals.total);
    }
}
BENCHMARK(BM_WorkOrderSave50Lines)->Unit(benchmark::kMillisecond);

}  // namespace
