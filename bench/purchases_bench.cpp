// Saving a 50-line purchase on the large database of TORVANE_BENCH_DB: the entry rows, the
// stock and prices of 50 articles and the material rows of the 10 lines sent to a work
// order, in one transaction. What each round stored is removed and the articles put back
// outside the timing, so the file stays as generated.
#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "data/database.h"
#include "purchasing/purchases.h"

namespace {

using torvane::Database;
using torvane::DocumentLine;
using torvane::Row;

void BM_PurchaseSave50Lines(benchmark::State& state) {
    Database* db = torvane::bench::benchDatabase();
    if (!db) {
        state.SkipWithError("TORVANE_BENCH_DB is not set or cannot be opened");
        return;
    }
    const std::vector<Row> articles = db->rows(
        QStringLiteral("SELECT Id_Art, Codigo, Nombre, StockInicial, PrecioVenta, Descuento, "
                       "Id_Proveedor FROM Articulos ORDER BY Id_Art LIMIT 50 OFFSET 1000"));
    const QVariant supplier = db->scalar(QStringLiteral("SELECT min(Id_Pro) FROM Proveedores"));
    const QString workOrder =
        db->scalar(QStringLiteral("SELECT NODT FROM ODTS ORDER BY Id_ODT DESC LIMIT 1")).toString();
    std::vector<DocumentLine> lines;
    for (size_t i = 0; i < articles.size(); ++i) {
        DocumentLine l;
        l.articleId = articles[i].value(QStringLiteral("Id_Art"));
        l.code = articles[i].value(QStringLiteral("Codigo")).toString();
        l.description = articles[i].value(QStringLiteral("Nombre")).toString();
        l.units = torvane::Quantity::whole(2);
        l.price = torvane::Money::fromCents(1234);
        l.discount = torvane::Quantity::whole(5);
        if (i < 10) l.workOrder = workOrder;
        lines.push_back(l);
    }
    const qint64 lastMaterial =
        db->scalar(QStringLiteral("SELECT coalesce(max(Id), 0) FROM MaterialesODT")).toLongLong();
    int round = 0;
    for (auto _ : state) {
        const QString number = QStringLiteral("BENCH%1").arg(round++);
        torvane::purchases::savePurchase(
            *db, {number, QStringLiteral("B"), QDate(2024, 6, 15), supplier}, lines);
        state.PauseTiming();
        Database::Transaction t(*db);
        db->exec(QStringLiteral("DELETE FROM Entradas WHERE NEntrada = ?"), {number});
        db->exec(QStringLiteral("DELETE FROM MaterialesODT WHERE Id > ?"), {lastMaterial});
        for (const Row& a : articles)
            db->exec(QStringLiteral("UPDATE Articulos SET StockInicial = ?, PrecioVenta = ?, "
                                    "Descuento = ?, Id_Proveedor = ? WHERE Id_Art = ?"),
                     {a.value(QStringLiteral("StockInicial")),
                      a.value(QStringLiteral("PrecioVenta")), a.value(QStringLiteral("Descuento")),
                      a.value(QStringLiteral("Id_Proveedor")), a.value(QStringLiteral("Id_Art"))});
        t.commit();
        state.ResumeTiming();
    }
    state.counters["lines"] = double(lines.size());
}
BENCHMARK(BM_PurchaseSave50Lines)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
