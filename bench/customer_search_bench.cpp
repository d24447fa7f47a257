// The customer and vehicle searches as the search screens run them at every
// keystroke: the query with its bound pattern and the first batch of rows the
// grid shows. Runs on the database of TORVANE_BENCH_DB when set, otherwise on
// a generated file of 20,000 customers and 25,000 vehicles.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>
#include <memory>

#include "bench_support.h"
#include "controls/data_grid.h"
#include "core/record_list.h"
#include "data/database.h"
#include "masters/customers.h"

namespace {

using torvane::Database;
namespace cu = torvane::customers;

constexpr int kCustomers = 20000;
constexpr int kVehicles = 25000;

// A fixed pseudo-random sequence, so every run measures the same file.
struct Lcg {
    quint32 state = 12345;
    quint32 next() { return state = state * 1664525u + 1013904223u; }
    int below(int n) { return int(next() >> 8) % n; }
};

struct Fixture {
    QTemporaryDir dir;
    Database own;
    Database* db = nullptr;
    QString code, nif, name, word, plate, make, model;
    // A text nobody has: the word search walks the whole name index.
    QString missing = QStringLiteral("QXZW");

    Fixture() {
        db = torvane::bench::benchDatabase();
        if (!db) generate();
        pickTexts();
    }

    void generate() {
        const QString path = QDir(dir.path()).filePath(QStringLiteral("customers.erm"));
        QString reason;
        if (!Database::createFromSchema(path, &reason) || !own.open(path, &reason))
            qFatal("cannot create the benchmark database: %s", qPrintable(reason));
        db = &own;
        const char* first[] = {"JUAN",  "MARIA",  "JOSE",   "CARMEN",    "ANTONIO",
                               "ANA",   "MANUEL", "LAURA",  "FRANCISCO", "ISABEL",
                               "DAVID", "PILAR",  "JAVIER", "LUCIA",     "PEDRO"};
        const char* last[] = {"GARCIA", "LOPEZ",  "MARTINEZ", "SANCHEZ", "PEREZ",
                              "GOMEZ",  "MARTIN", "JIMENEZ",  "RUIZ",    "HERNANDEZ",
                              "DIAZ",   "MORENO", "ALVAREZ",  "ROMERO"};
        const char* makes[] = {"SEAT",    "RENAULT", "FORD",      "OPEL",
                               "PEUGEOT", "CITROEN", "VOLKSWAGEN"};
        const char* models[] = {"IBIZA", "CLIO", "FOCUS", "CORSA", "206", "XSARA", "GOLF", "LEON"};
        Lcg r;
        Database::Transaction t(own);
        for (int i = 1; i <= kCustomers; ++i) {
            const QString nifDigits =
                QStringLiteral("%1").arg(r.below(99999999), 8, 10, QLatin1Char('0'));
            const QString fullName = QStringLiteral("%1 %2 %3")
                                         .arg(QString::fromLatin1(first[r.below(15)]),
                                              QString::fromLatin1(last[r.below(14)]),
                                              QString::fromLatin1(last[r.below(14)]));
            own.exec(QStringLiteral(
                         "INSERT INTO Clientes (Codigo, NIF, Nombre, Localidad) VALUES (?,?,?,?)"),
                     {cu::customerCodeFor(i), nifDigits + QLatin1Char('X'), fullName,
                      QStringLiteral("MADRID")});
        }
        const QString letters = QStringLiteral("BCDFGHJKLMNPRSTVWXYZ");
        for (int i = 1; i <= kVehicles; ++i) {
            QString plate = QStringLiteral("%1").arg(r.below(10000), 4, 10, QLatin1Char('0'));
            for (int k = 0; k < 3; ++k) plate += letters[r.below(letters.size())];
            own.exec(
                QStringLiteral(
                    "INSERT INTO Vehiculos (Id_Cli, Matricula, Marca, Modelo) VALUES (?,?,?,?)"),
                {1 + r.below(kCustomers), plate, QString::fromLatin1(makes[r.below(7)]),
                 QString::fromLatin1(models[r.below(8)])});
        }
        t.commit();
    }

    // Texts a user would type, taken from a row in the middle of the file.
    void pickTexts() {
        const qint64 count =
            db->scalar(QStringLiteral("SELECT count(*) FROM Clientes")).toLongLong();
        auto c = db->firstRow(
            QStringLiteral("SELECT * FROM Clientes ORDER BY Id_Cli LIMIT 1 OFFSET ?"), {count / 2});
        auto v =
            db->firstRow(QStringLiteral("SELECT * FROM Vehiculos ORDER BY Id_Veh LIMIT 1 OFFSET ?"),
                         {count / 2});
        if (!c || !v) qFatal("the benchmark database has no customers or vehicles");
        code = c->value(QStringLiteral("Codigo")).toString();
        nif = c->value(QStringLiteral("NIF")).toString();
        name = c->value(QStringLiteral("Nombre")).toString();
        word = name.section(QLatin1Char(' '), 1, 1);
        plate = v->value(QStringLiteral("Matricula")).toString();
        make = v->value(QStringLiteral("Marca")).toString();
        model = v->value(QStringLiteral("Modelo")).toString();
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

// One keystroke: the text typed so far is the first `typed` characters of full.
void runKeystroke(benchmark::State& state, torvane::SqlStatement (*query)(int, const QString&),
                  int option, QString Fixture::*text) {
    Fixture& f = fixture();
    const QString typed = (f.*text).left(int(state.range(0)));
    torvane::GridModel model;
    for (auto _ : state) {
        model.run(*f.db, query(option, typed));
        benchmark::DoNotOptimize(model.rowCount());
    }
    state.counters["rows"] = model.rowCount();
    state.SetLabel(typed.toStdString());
}

void BM_CustomerByCode(benchmark::State& s) {
    runKeystroke(s, cu::customerSearch, 0, &Fixture::code);
}
void BM_CustomerByNif(benchmark::State& s) {
    runKeystroke(s, cu::customerSearch, 1, &Fixture::nif);
}
void BM_CustomerByName(benchmark::State& s) {
    runKeystroke(s, cu::customerSearch, 2, &Fixture::name);
}
void BM_CustomerByWordInName(benchmark::State& s) {
    runKeystroke(s, cu::customerSearch, 3, &Fixture::word);
}
void BM_CustomerByMissingWord(benchmark::State& s) {
    runKeystroke(s, cu::customerSearch, 3, &Fixture::missing);
}
void BM_CustomerByPlate(benchmark::State& s) {
    runKeystroke(s, cu::customerSearch, 4, &Fixture::plate);
}
void BM_VehicleByPlate(benchmark::State& s) {
    runKeystroke(s, cu::vehicleSearch, 0, &Fixture::plate);
}
void BM_VehicleByMake(benchmark::State& s) {
    runKeystroke(s, cu::vehicleSearch, 1, &Fixture::make);
}
void BM_VehicleByModel(benchmark::State& s) {
    runKeystroke(s, cu::vehicleSearch, 2, &Fixture::model);
}
void BM_VehicleByCustomer(benchmark::State& s) {
    runKeystroke(s, cu::vehicleSearch, 3, &Fixture::name);
}

BENCHMARK(BM_CustomerByCode)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CustomerByNif)->DenseRange(1, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CustomerByName)->DenseRange(1, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CustomerByWordInName)->DenseRange(0, 4, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CustomerByMissingWord)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CustomerByPlate)->DenseRange(1, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VehicleByPlate)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VehicleByMake)->DenseRange(1, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VehicleByModel)->DenseRange(1, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VehicleByCustomer)->DenseRange(1, 3)->Unit(benchmark::kMillisecond);

// Opening the customer file reads every key; a new customer reads the codes in use.
void BM_CustomerFileOpen(benchmark::State& state) {
    Fixture& f = fixture();
    torvane::RecordList list;
    for (auto _ : state) {
        list.load(*f.db, QStringLiteral("Clientes"), QStringLiteral("Id_Cli"),
                  cu::customerKeys(cu::CustomerOrder::Stored).sql);
        benchmark::DoNotOptimize(list.current());
    }
    state.counters["rows"] = list.count();
}
BENCHMARK(BM_CustomerFileOpen)->Unit(benchmark::kMillisecond);

void BM_NewCustomerCode(benchmark::State& state) {
    Fixture& f = fixture();
    QString code;
    for (auto _ : state) code = cu::proposeCustomerCode(*f.db);
    state.SetLabel(code.toStdString());
}
BENCHMARK(BM_NewCustomerCode)->Unit(benchmark::kMillisecond);

void BM_CustomerDeleteGuard(benchmark::State& state) {
    Fixture& f = fixture();
    const qint64 id =
        f.db->scalar(QStringLiteral("SELECT Id_Cli FROM Clientes WHERE Codigo = ?"), {f.code})
            .toLongLong();
    for (auto _ : state) benchmark::DoNotOptimize(cu::countDocuments(*f.db, id));
}
BENCHMARK(BM_CustomerDeleteGuard)->Unit(benchmark::kMillisecond);

}  // namespace
