// The work-order list on the large database of TORVANE_BENCH_DB (150,000 work orders):
// opening each tab, every keystroke of a search on every tab (the statement built as the
// screen builds it, including the count that chooses its plan, then run and its first
// screenful fetched), and the first page of each invoice and delivery-note preview.
// Each statement's plan is checked first: the file has no planner statistics, and no
// plan may read a whole large table.
#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include "bench_support.h"
#include "controls/data_grid.h"
#include "core/session.h"
#include "data/database.h"
#include "reports/report_engine.h"
#include "verifactu/records.h"
#include "workorders/work_order_list.h"

namespace {

using torvane::Database;
using torvane::SqlStatement;
namespace ol = torvane::odtlist;

// Texts typed in the searches, taken from the middle of the file.
struct Typing {
    QString number, plate, date, customer, make, model, temp;
    QString invoiced, deliveryNote, jointFormula;
    bool statistics = false;
};

Typing& typing() {
    static Typing t = [] {
        Typing t;
        Database* db = torvane::bench::benchDatabase();
        if (!db) return t;
        const auto mid = db->firstRow(QStringLiteral(
            "SELECT ODTS.NODT, ODTS.Fecha, Vehiculos.Matricula, Vehiculos.Marca, "
            "Vehiculos.Modelo, Clientes.Nombre FROM ODTS JOIN Vehiculos ON Id_Veh = Id_Coche "
            "JOIN Clientes ON Clientes.Id_Cli = ODTS.Id_Cli WHERE Id_ODT = 75000"));
        if (mid) {
            t.number = mid->value(QStringLiteral("NODT")).toString();
            t.plate = mid->value(QStringLiteral("Matricula")).toString();
            t.date = QDate::fromString(mid->value(QStringLiteral("Fecha")).toString(), Qt::ISODate)
                         .toString(QStringLiteral("dd/MM/yyyy"));
            t.customer = mid->value(QStringLiteral("Nombre")).toString();
            t.make = mid->value(QStringLiteral("Marca")).toString();
            t.model = mid->value(QStringLiteral("Modelo")).toString();
        }
        t.temp = QStringLiteral("TEMP");
        t.invoiced = db->scalar(QStringLiteral("SELECT NODT FROM ODTS WHERE NFactura <> 'No' "
                                               "ORDER BY Id_ODT DESC LIMIT 1"))
                         .toString();
        t.deliveryNote = db->scalar(QStringLiteral("SELECT NODT FROM ODTS WHERE NAlbaran <> 'No' "
                                                   "ORDER BY Id_ODT DESC LIMIT 1"))
                             .toString();
        // The invoice that covers the most work orders.
        const QString joint =
            db->scalar(QStringLiteral("SELECT NFactura FROM ODTS WHERE NFactura <> 'No' "
                                      "AND Id_ODT > 140000 GROUP BY NFactura ORDER BY "
                                      "count(*) DESC LIMIT 1"))
                .toString();
        QStringList numbers;
        for (const auto& r :
             db->rows(QStringLiteral("SELECT NODT FROM ODTS WHERE NFactura = ?"), {joint}))
            numbers << QLatin1Char('"') + r.value(QStringLiteral("NODT")).toString() +
                           QLatin1Char('"');
        t.jointFormula = QStringLiteral("{ODTS.NODT} like [") + numbers.join(QLatin1Char(',')) +
                         QLatin1Char(']');
        t.statistics = db->scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE "
                                                 "name = 'sqlite_stat1'"))
                           .toInt() > 0;
        return t;
    }();
    return t;
}

using Builder = std::function<std::optional<SqlStatement>(Database&)>;

void runList(benchmark::State& state, const Builder& build, const QString& label) {
    Database* db = torvane::bench::benchDatabase();
    if (!db) return state.SkipWithError("TORVANE_BENCH_DB is not set or cannot be opened");
    if (typing().statistics) return state.SkipWithError("the database has planner statistics");
    const auto first = build(*db);
    if (!first) return state.SkipWithError("no statement");
    QString plan;
    if (torvane::bench::readsWholeTable(*db, *first, &plan))
        return state.SkipWithError(("reads a whole table: " + plan).toUtf8().constData());
    torvane::GridModel model;
    for (auto _ : state) {
        model.run(*db, *build(*db));
        benchmark::DoNotOptimize(model.rowCount());
    }
    state.counters["rows"] = model.rowCount();
    state.SetLabel((label + QStringLiteral(" | ") + plan).toStdString());
}

// Tab openings: 0 ordinary, 1 estimates, 2 internal (each filter).
void BM_ListOdtOpen(benchmark::State& state) {
    const int tab = int(state.range(0));
    runList(
        state,
        [tab](Database&) -> std::optional<SqlStatement> {
            switch (tab) {
                case 0:
                    return ol::ordinaryOpen();
                case 1:
                    return ol::estimatesOpen();
                case 2:
                    return ol::internalOpen(ol::Filter::All);
                case 3:
                    return ol::internalOpen(ol::Filter::Billed);
                default:
                    return ol::internalOpen(ol::Filter::Unbilled);
            }
        },
        QStringLiteral("tab %1").arg(tab));
}
BENCHMARK(BM_ListOdtOpen)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

QString typedFor(ol::Field field) {
    const Typing& t = typing();
    switch (field) {
        case ol::Field::Number:
            return t.number;
        case ol::Field::Plate:
            return t.plate;
        case ol::Field::Date:
            return t.date;
        case ol::Field::Customer:
            return t.customer;
        case ol::Field::Make:
            return t.make;
        case ol::Field::Model:
            return t.model;
    }
    return {};
}

// Tab 0: field, filter (0 unbilled, 1 billed, 2 all) and how many characters are typed.
void BM_ListOdtKeystroke(benchmark::State& state) {
    const auto field = static_cast<ol::Field>(state.range(0));
    const auto filter = static_cast<ol::Filter>(state.range(1));
    const QString typed = typedFor(field).left(int(state.range(2)));
    runList(
        state,
        [=](Database& db) { return std::optional(ol::ordinarySearch(db, field, typed, filter)); },
        typed);
}
void keystrokes(benchmark::internal::Benchmark* b) {
    for (int field = 0; field < ol::kFieldCount; ++field)
        for (int filter = 0; filter < 3; ++filter)
            for (int typed : {1, 2, 3, 5, 8, 10}) b->Args({field, filter, typed});
}
BENCHMARK(BM_ListOdtKeystroke)->Apply(keystrokes)->Unit(benchmark::kMillisecond);

// Tab 1: option (0 customer, 2 plate, 3 number) and characters typed.
void BM_ListOdtEstimateKeystroke(benchmark::State& state) {
    const int option = int(state.range(0));
    const QString full = option == 0   ? typing().customer
                         : option == 2 ? typing().plate
                                       : typing().temp + typing().number;
    const QString typed = full.left(int(state.range(1)));
    runList(
        state, [=](Database& db) { return ol::estimatesSearch(db, option, typed); }, typed);
}
BENCHMARK(BM_ListOdtEstimateKeystroke)
    ->ArgsProduct({{0, 2, 3}, {1, 3, 6}})
    ->Unit(benchmark::kMillisecond);

// Tab 2: option (0 number, 1 plate, 3 customer), filter (0 all, 1 billed, 2 unbilled) and
// characters typed.
void BM_ListOdtInternalKeystroke(benchmark::State& state) {
    const int option = int(state.range(0));
    static constexpr ol::Filter filters[] = {ol::Filter::All, ol::Filter::Billed,
                                             ol::Filter::Unbilled};
    const ol::Filter filter = filters[state.range(1)];
    const QString full = option == 0   ? typing().number
                         : option == 1 ? typing().plate
                                       : typing().customer;
    const QString typed = full.left(int(state.range(2)));
    runList(
        state, [=](Database& db) { return ol::internalSearch(db, option, typed, filter); }, typed);
}
BENCHMARK(BM_ListOdtInternalKeystroke)
    ->ArgsProduct({{0, 1, 3}, {0, 1, 2}, {1, 3, 6}})
    ->Unit(benchmark::kMillisecond);

// The invoicing screens' grids.
void BM_InvoicingGrids(benchmark::State& state) {
    const bool multi = state.range(0) == 1;
    runList(
        state,
        [multi](Database& db) -> std::optional<SqlStatement> {
            if (multi) return ol::multiInvoiceCandidates(torvane::verifactu::vatRate(db));
            const qint64 customer =
                db.scalar(QStringLiteral("SELECT Id_Cli FROM ODTS WHERE Id_ODT = 75000"))
                    .toLongLong();
            return ol::unbilledOfCustomer(customer);
        },
        multi ? QStringLiteral("MultiFacturaODT") : QStringLiteral("UnifacturaODT"));
}
BENCHMARK(BM_InvoicingGrids)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

// A preview: the first page laid out and painted at 88 %.
void BM_WorkOrderDocumentPreview(benchmark::State& state, const char* file) {
    Database* db = torvane::bench::benchDatabase();
    if (!db) return state.SkipWithError("TORVANE_BENCH_DB is not set");
    torvane::reports::ReportEngine engine(*db, {QCoreApplication::applicationDirPath()},
                                          QDate(2024, 6, 15));
    const QString f = QLatin1String(file);
    const QString formula =
        f.contains(QLatin1String("ODT2"))
            ? typing().jointFormula
            : QStringLiteral("{ODTS.NODT} ='%1'")
                  .arg(f.startsWith(QLatin1String("qarvoalb")) ? typing().deliveryNote
                                                               : typing().invoiced);
    for (auto _ : state) {
        const auto result = engine.render(f, formula, 1);
        if (!result.report) return state.SkipWithError(qPrintable(result.error));
        torvane::bench::paintFirstPage(*result.report);
    }
}
BENCHMARK_CAPTURE(BM_WorkOrderDocumentPreview, invoice, "QARVOFACODT.rpt")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WorkOrderDocumentPreview, joint_invoice, "QARVOFACODT2.rpt")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WorkOrderDocumentPreview, internal_invoice, "QARVOFACODTI.rpt")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WorkOrderDocumentPreview, ticket, "TICKETODT.rpt")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WorkOrderDocumentPreview, delivery_note, "qarvoalbodt.rpt")
    ->Unit(benchmark::kMillisecond);

}  // namespace
