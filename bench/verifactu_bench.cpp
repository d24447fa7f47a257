// The invoice records' sending on a file with ten years of records: every round counts what
// is pending for the status bar and takes the next batch, and the settings screen lists them.
#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "data/database.h"
#include "verifactu/send_client.h"
#include "verifactu/settings.h"

namespace {

using torvane::Database;

constexpr int kRecords = 100000;
// Records not answered yet: those of the last few minutes.
constexpr int kPending = 20;

struct RecordsData : torvane::bench::ScratchDatabase {
    RecordsData() : ScratchDatabase(QStringLiteral("bench.erm")) {
        Database::Transaction t(db);
        db.exec(QStringLiteral("INSERT INTO DatosEmpresa (Nif) VALUES (?)"),
                {QStringLiteral("B12345678")});
        db.exec(QStringLiteral("UPDATE ConfigFacturacion SET Activo = 1 WHERE Id = 1"));
        for (int i = 1; i <= kRecords; ++i) {
            // Through the invoice table, so each record is chained as the program chains it.
            db.exec(QStringLiteral("INSERT INTO FacturasLibres (Fecha, NFactura, Iva, Total) "
                                   "VALUES (?, ?, 21, 121)"),
                    {QStringLiteral("2030-01-02"),
                     QStringLiteral("FL/%1").arg(i, 6, 10, QLatin1Char('0'))});
            if (i <= kRecords - kPending)
                db.exec(QStringLiteral("INSERT INTO EnviosFacturacion (IdRegistro, Fecha, Estado) "
                                       "VALUES (?, '2030-01-02T10:00:00', 'Correcto')"),
                        {i});
        }
        t.commit();
    }
};

RecordsData& data() {
    static RecordsData d;
    return d;
}

void BM_PendingCount(benchmark::State& state) {
    Database& db = data().db;
    int n = 0;
    for (auto _ : state) n = torvane::verifactu::pendingCount(db);
    if (n != kPending) state.SkipWithError("wrong pending count");
    state.counters["rows"] = n;
}

void BM_PendingRecords(benchmark::State& state) {
    Database& db = data().db;
    std::size_t n = 0;
    for (auto _ : state) n = torvane::verifactu::pendingRecords(db).size();
    if (n != std::size_t(kPending)) state.SkipWithError("wrong pending records");
    state.counters["rows"] = double(n);
}

void BM_RecordList(benchmark::State& state) {
    Database& db = data().db;
    const auto statement = torvane::verifactu::recordList(true);
    int rows = 0;
    for (auto _ : state) rows = torvane::bench::firstRows(db, statement);
    state.counters["rows"] = rows;
}

}  // namespace

BENCHMARK(BM_PendingCount)->Name("Query/Verifactu/pendingCount")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PendingRecords)->Name("Query/Verifactu/pendingRecords")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordList)->Name("Query/Verifactu/recordList")->Unit(benchmark::kMillisecond);
