// The listings of "Listados" on the large database: a whole year of each dated listing
// written to PDF, and the labels screen opening and answering a keystroke.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>

#include "app/desktop_launcher.h"
#include "bench_support.h"
#include "controls/qt_dialogs.h"
#include "core/services.h"
#include "core/session.h"
#include "data/database.h"
#include "listings/address_labels.h"
#include "listings/etiquetas.h"
#include "listings/listing_keys.h"
#include "reports/report_engine.h"
#include "reports/report_output.h"

namespace {

using torvane::Database;

// The large database ends on 15/06/2024: 2023 is its last whole year.
const QString kFrom = QStringLiteral("01/01/2023");
const QString kTo = QStringLiteral("31/12/2023");

// The busiest party for the keys that take one, so the year is as long as it gets.
qint64 busiest(Database& db, const char* sql) {
    return db.scalar(QString::fromLatin1(sql)).toLongLong();
}

qint64 idFor(Database& db, const QString& key) {
    if (key == QLatin1String("qarvolfac2.rpt"))
        return busiest(
            db,
            "SELECT ODTS.Id_Cli FROM ODTS INNER JOIN FacturasODT ON FacturasODT.NFactura "
            "= ODTS.NFactura GROUP BY ODTS.Id_Cli ORDER BY count(*) DESC LIMIT 1");
    if (key == QLatin1String("qarvolfacven2.rpt"))
        return busiest(
            db, "SELECT Id_Cli FROM Facturas GROUP BY Id_Cli ORDER BY count(*) DESC LIMIT 1");
    if (key == QLatin1String("qarvolgrua2.rpt"))
        return busiest(db,
                       "SELECT Id_Ase FROM Partes GROUP BY Id_Ase ORDER BY count(*) DESC LIMIT 1");
    return 0;
}

// A year of the listing a key prints, laid out whole and written to PDF.
void listings_YearToPdf(benchmark::State& state, const char* keyText) {
    Database* db = torvane::bench::benchDatabase();
    if (!db) return state.SkipWithError("TORVANE_BENCH_DB is not set");
    const QString key = QString::fromLatin1(keyText);
    QString file, formula;
    if (key == QLatin1String("ComprasProv")) {
        // The supplier search adds the supplier chosen to the formula it was handed.
        const auto handed = torvane::listings::datedListing(key, kFrom, kTo);
        const qint64 supplier = busiest(
            *db, "SELECT Id_Pro FROM Entradas GROUP BY Id_Pro ORDER BY count(*) DESC LIMIT 1");
        file = QStringLiteral("\\qarvolentrp.rpt");
        formula = handed->formula + QStringLiteral(" and {Proveedores.Id_Pro}=") +
                  QString::number(supplier);
    } else {
        const auto listing = torvane::listings::datedListing(key, kFrom, kTo, idFor(*db, key));
        if (!listing) return state.SkipWithError("unknown key");
        file = listing->file;
        formula = listing->formula;
    }
    torvane::reports::ReportEngine engine(*db, {QCoreApplication::applicationDirPath()},
                                          QDate(2024, 6, 15));
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("listado.pdf"));
    size_t pages = 0;
    for (auto _ : state) {
        const auto result = engine.render(file, formula);
        if (!result.report) return state.SkipWithError(qPrintable(result.error));
        QString reason;
        if (!torvane::reports::writePdf(*result.report, pdf, &reason))
            return state.SkipWithError(qPrintable(reason));
        pages = result.report->pages.size();
    }
    state.counters["pages"] = double(pages);
}

#define LISTING_YEAR(name, key) \
    BENCHMARK_CAPTURE(listings_YearToPdf, name, key)->Unit(benchmark::kMillisecond)->Iterations(2)

LISTING_YEAR(QARVOLFAC, "QARVOLFAC.rpt");
LISTING_YEAR(QARVOLFACCC, "QARVOLFACCC.rpt");
LISTING_YEAR(qarvolfac2_customer, "qarvolfac2.rpt");
LISTING_YEAR(QARVOLFAC22, "QARVOLFAC22.rpt");
LISTING_YEAR(qarvolfacven, "qarvolfacven.rpt");
LISTING_YEAR(qarvolfacven2_customer, "qarvolfacven2.rpt");
LISTING_YEAR(qarvolfacven3, "qarvolfacven3.rpt");
LISTING_YEAR(qarvolfacven22, "qarvolfacven22.rpt");
LISTING_YEAR(QARVOLFACpend, "QARVOLFACpend.rpt");
LISTING_YEAR(qarvolgrua, "qarvolgrua.rpt");
LISTING_YEAR(qarvolgrua2_insurer, "qarvolgrua2.rpt");
LISTING_YEAR(qarvolfaccomi, "qarvolfaccomi.rpt");
LISTING_YEAR(qarvolodt, "qarvolodt.rpt");
LISTING_YEAR(Comprasgeneral, "Comprasgeneral");
LISTING_YEAR(Comprasgeneraltot, "Comprasgeneraltot");
LISTING_YEAR(ComprasProv_supplier, "ComprasProv");
LISTING_YEAR(QARVOCLIENTESIMPMEN, "QARVOCLIENTESIMPMEN.rpt");
LISTING_YEAR(QARVOCLIENTESIMPMAS, "QARVOCLIENTESIMPMAS.rpt");
LISTING_YEAR(QARVOCLIENTESIMPORTE, "QARVOCLIENTESIMPORTE.rpt");
LISTING_YEAR(QARVOLPROIMPMEN, "QARVOLPROIMPMEN.rpt");
LISTING_YEAR(QARVOLPROIMPMAS, "QARVOLPROIMPMAS.rpt");
LISTING_YEAR(QARVOLPROIMPORTE, "QARVOLPROIMPORTE.rpt");
LISTING_YEAR(qarvolbenodt, "qarvolbenodt.rpt");

// The labels screen on the large database, as the menu opens it.
struct LabelsScreen {
    QTemporaryDir home;
    torvane::Session session{home.path()};
    torvane::QtDialogs dialogs;
    torvane::reports::RecordingReportOutput output;
    torvane::DesktopLauncher launcher;
    torvane::Services services{dialogs, output, launcher};
    bool open() {
        return session.openDatabase(torvane::bench::benchDatabasePath(), nullptr,
                                    Database::Mode::ReadOnly);
    }
};

// The screen built with its first screenful of customers.
void listings_EtiquetasOpen(benchmark::State& state) {
    if (!torvane::bench::benchDatabase()) return state.SkipWithError("TORVANE_BENCH_DB is not set");
    LabelsScreen s;
    if (!s.open()) return state.SkipWithError("cannot open the database");
    int rows = 0;
    for (auto _ : state) {
        torvane::Etiquetas screen(s.session, s.services);
        rows = screen.grid()->rowCount();
    }
    state.counters["rows"] = rows;
}
BENCHMARK(listings_EtiquetasOpen)->Unit(benchmark::kMillisecond);

// One keystroke in the search box: the list refilled for the text, by each option.
void listings_EtiquetasKeystroke(benchmark::State& state, int option, const char* typed) {
    if (!torvane::bench::benchDatabase()) return state.SkipWithError("TORVANE_BENCH_DB is not set");
    LabelsScreen s;
    if (!s.open()) return state.SkipWithError("cannot open the database");
    torvane::Etiquetas screen(s.session, s.services);
    screen.setOption(option);
    const QString full = QString::fromLatin1(typed);
    const QString shorter = full.left(full.size() - 1);
    QString plan;
    if (torvane::bench::readsWholeTable(*torvane::bench::benchDatabase(),
                                        torvane::listings::labelCustomerSearch(option, full),
                                        &plan))
        state.SetLabel(("reads a whole table: " + plan).toStdString());
    bool longer = true;
    int rows = 0;
    for (auto _ : state) {
        screen.searchBox()->setText(longer ? full : shorter);
        longer = !longer;
        rows = screen.grid()->rowCount();
    }
    state.counters["rows"] = rows;
}
BENCHMARK_CAPTURE(listings_EtiquetasKeystroke, Codigo, 0, "01")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(listings_EtiquetasKeystroke, NIF, 1, "123")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(listings_EtiquetasKeystroke, Nombre, 2, "MAR")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(listings_EtiquetasKeystroke, PalabraNombre, 3, "GAR")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(listings_EtiquetasKeystroke, Matricula, 4, "12")->Unit(benchmark::kMillisecond);

}  // namespace
