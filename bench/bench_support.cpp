#include "bench_support.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

#include "core/format.h"
#include "core/maintenance.h"
#include "core/numbering.h"
#include "core/session.h"
#include "core/sql_statement.h"
#include "data/database.h"
#include "listings/address_labels.h"
#include "masters/customers.h"
#include "purchasing/purchases.h"
#include "reports/report_cli.h"
#include "reports/report_page.h"
#include "workorders/work_order_list.h"
#include "workorders/work_order_search.h"

namespace torvane::bench {

ScratchDatabase::ScratchDatabase(const QString& fileName) {
    const QString path = QDir(dir.path()).filePath(fileName);
    QString reason;
    if (!Database::createFromSchema(path, &reason) || !db.open(path, &reason))
        qFatal("cannot create the benchmark database: %s", qPrintable(reason));
}

int firstRows(Database& db, const SqlStatement& statement) {
    QSqlQuery q = db.execForward(statement.sql, statement.params);
    int rows = 0;
    const int columns = q.record().count();
    while (rows < 100 && q.next()) {
        for (int c = 0; c < columns; ++c) benchmark::DoNotOptimize(q.value(c));
        ++rows;
    }
    return rows;
}

void runList(benchmark::State& state, const std::function<SqlStatement(Database&)>& statement) {
    Database* db = benchDatabase();
    if (!db) return state.SkipWithError("TORVANE_BENCH_DB is not set");
    const SqlStatement s = statement(*db);
    int rows = 0;
    for (auto _ : state) rows = firstRows(*db, s);
    state.counters["rows"] = rows;
}

namespace {

// A grid fetches rows lazily: the first screenful is what the user waits for.
constexpr int kScreenful = 100;

const char* const kBigTables[] = {"Clientes",
                                  "Vehiculos",
                                  "Articulos",
                                  "ODTS",
                                  "TrabajosRealizar_ODT",
                                  "TrabajosRealizadosODT",
                                  "MaterialesODT",
                                  "LineasLibresODT",
                                  "FacturasODT",
                                  "Albaranes",
                                  "Salidas",
                                  "Facturas",
                                  "Entradas",
                                  "Cobros"};

// ---- plain SQLite, for the "same SQL alone" side of each pair ----

struct RawDb {
    sqlite3* db = nullptr;
    explicit RawDb(const QString& path) {
        if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) !=
            SQLITE_OK) {
            sqlite3_close(db);
            db = nullptr;
        }
    }
    ~RawDb() { sqlite3_close(db); }
};

void bindAll(sqlite3_stmt* st, const QVariantList& params) {
    int i = 1;
    for (const QVariant& v : params) {
        switch (v.typeId()) {
            case QMetaType::Int:
            case QMetaType::LongLong:
                sqlite3_bind_int64(st, i, v.toLongLong());
                break;
            case QMetaType::Double:
                sqlite3_bind_double(st, i, v.toDouble());
                break;
            default: {
                const QByteArray t = v.toString().toUtf8();
                sqlite3_bind_text(st, i, t.constData(), static_cast<int>(t.size()),
                                  SQLITE_TRANSIENT);
            }
        }
        ++i;
    }
}

// Prepares, binds, reads up to `limit` rows with every column, finalizes: what our layer does.
int rawQuery(sqlite3* db, const QString& sql, const QVariantList& params, int limit) {
    sqlite3_stmt* st = nullptr;
    const QByteArray s = sql.toUtf8();
    if (sqlite3_prepare_v2(db, s.constData(), static_cast<int>(s.size()), &st, nullptr) !=
        SQLITE_OK)
        return -1;
    bindAll(st, params);
    int rows = 0;
    const int cols = sqlite3_column_count(st);
    while (rows < limit && sqlite3_step(st) == SQLITE_ROW) {
        for (int c = 0; c < cols; ++c) benchmark::DoNotOptimize(sqlite3_column_text(st, c));
        ++rows;
    }
    sqlite3_finalize(st);
    return rows;
}

int ourQuery(Database& db, const QString& sql, const QVariantList& params, int limit) {
    QSqlQuery q = db.execForward(sql, params);
    const int cols = q.record().count();
    int rows = 0;
    while (rows < limit && q.next()) {
        for (int c = 0; c < cols; ++c) benchmark::DoNotOptimize(q.value(c));
        ++rows;
    }
    return rows;
}

bool needDatabase(benchmark::State& state) {
    if (benchDatabase()) return true;
    state.SkipWithError("TORVANE_BENCH_DB is not set or cannot be opened");
    return false;
}

void registerQuery(const QueryCase& c) {
    benchmark::RegisterBenchmark(("Query/" + c.name).toStdString().c_str(), [c](benchmark::State&
                                                                                    state) {
        if (!needDatabase(state)) return;
        int rows = 0;
        for (auto _ : state) rows = ourQuery(*benchDatabase(), c.sql, c.params, kScreenful);
        state.counters["rows"] = rows;
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("Query/" + c.name + "/sqlite").toStdString().c_str(),
                                 [c](benchmark::State& state) {
                                     if (!needDatabase(state)) return;
                                     RawDb raw(benchDatabasePath());
                                     int rows = 0;
                                     for (auto _ : state)
                                         rows = rawQuery(raw.db, c.sql, c.params, kScreenful);
                                     state.counters["rows"] = rows;
                                 })
        ->Unit(benchmark::kMillisecond);
}

// ---- start-up: open the file and read what the main window shows ----

void BM_OpenDatabase(benchmark::State& state) {
    if (!needDatabase(state)) return;
    for (auto _ : state) {
        Database db;
        QString reason;
        if (!db.open(benchDatabasePath(), &reason)) state.SkipWithError("cannot open");
        db.applyMigrations();
        benchmark::DoNotOptimize(db.scalar(QStringLiteral("select Nombre from DatosEmpresa")));
    }
}

void BM_OpenDatabase_sqlite(benchmark::State& state) {
    if (!needDatabase(state)) return;
    for (auto _ : state) {
        RawDb raw(benchDatabasePath());
        rawQuery(raw.db, QStringLiteral("select Nombre from DatosEmpresa"), {}, 1);
    }
}

// ---- next document numbers on the big tables ----

void registerNumbers() {
    struct Case {
        const char* name;
        NumberConsumer consumer;
    };
    static const Case cases[] = {
        {"FR_invoice_editor", NumberConsumer::WorkOrderInvoice},
        {"FR_list_proposal", NumberConsumer::WorkOrderListInvoiceProposal},
        {"FR_multi_invoice", NumberConsumer::WorkOrderMultiInvoice},
        {"AL_delivery_note", NumberConsumer::WorkOrderDeliveryNote},
        {"ODT_vehicle_search", NumberConsumer::WorkOrderFromVehicleSearch},
        {"AR_counter_sale", NumberConsumer::CounterSaleDeliveryNote},
        {"FV_counter_sale", NumberConsumer::CounterSaleInvoice},
        {"FV_sales_list", NumberConsumer::SalesListInvoiceProposal},
        {"FV_multi_invoice", NumberConsumer::SalesMultiInvoice},
        {"EN_purchase", NumberConsumer::PurchaseEntry},
        {"FL_free_invoice", NumberConsumer::FreeInvoice},
        {"REC_receipt", NumberConsumer::Receipt},
        {"PG_tow_report", NumberConsumer::TowReportScreen},
    };
    for (const Case& c : cases) {
        const NumberConsumer consumer = c.consumer;
        benchmark::RegisterBenchmark(
            (QStringLiteral("NextNumber/") + QLatin1String(c.name)).toStdString().c_str(),
            [consumer](benchmark::State& state) {
                if (!needDatabase(state)) return;
                Database& db = *benchDatabase();
                // The busiest month of the file: its last one.
                const QDate day = QDate::fromString(
                    db.scalar(QStringLiteral("SELECT max(Fecha) FROM ODTS")).toString(),
                    Qt::ISODate);
                const QString prefix = ExpandSeries(defaultSeriesText(seriesOf(consumer)), day);
                for (auto _ : state) benchmark::DoNotOptimize(nextNumberIn(db, consumer, prefix));
            })
            ->Unit(benchmark::kMillisecond);
    }
    struct Probe {
        const char* name;
        QString (*fn)(Database&, const QString&);
        Series series;
    };
    static const Probe probes[] = {
        {"ODT_customer_screen_probe", &probeWorkOrderNumber, Series::ODT},
        {"A_article_code_probe", &probeArticleCode, Series::A},
        {"PG_toolbar_probe", &probeTowReportNumber, Series::PG},
    };
    for (const Probe& p : probes) {
        const Probe probe = p;
        benchmark::RegisterBenchmark(
            (QStringLiteral("NextNumber/") + QLatin1String(p.name)).toStdString().c_str(),
            [probe](benchmark::State& state) {
                if (!needDatabase(state)) return;
                Database& db = *benchDatabase();
                const QDate day = QDate::fromString(
                    db.scalar(QStringLiteral("SELECT max(Fecha) FROM ODTS")).toString(),
                    Qt::ISODate);
                const QString prefix = ExpandSeries(defaultSeriesText(probe.series), day);
                for (auto _ : state) benchmark::DoNotOptimize(probe.fn(db, prefix));
            })
            ->Unit(benchmark::kMillisecond);
    }
}

// ---- printing to PDF through the report command ----

void registerReports() {
    struct Case {
        const char* name;
        const char* report;
        std::function<QString(Database&)> formula;
    };
    static const std::vector<Case> cases{
        {"Invoice_QARVOFACODT", "QARVOFACODT.rpt",
         [](Database& db) {
             return QStringLiteral("{ODTS.NODT} ='%1'")
                 .arg(db.scalar(QStringLiteral("SELECT NODT FROM ODTS WHERE NFactura <> 'No' "
                                               "ORDER BY Id_ODT DESC LIMIT 1"))
                          .toString());
         }},
        {"Listing_QARVOVEHICULOSCLI", "QARVOVEHICULOSCLI.rpt",
         [](Database&) { return QStringLiteral("{Clientes.Id_Cli}=1"); }},
        {"Listing_QARVOARTICULOS_all", "QARVOARTICULOS.rpt", [](Database&) { return QString(); }},
    };
    for (const Case& c : cases) {
        const Case rc = c;
        benchmark::RegisterBenchmark(
            (QStringLiteral("Print/") + QLatin1String(c.name)).toStdString().c_str(),
            [rc](benchmark::State& state) {
                if (!needDatabase(state)) return;
                QTemporaryDir dir;
                const QString out = dir.filePath(QStringLiteral("out.pdf"));
                QStringList args{QString::fromUtf8(rc.report), QStringLiteral("--db"),
                                 benchDatabasePath(), QStringLiteral("--pdf"), out};
                const QString f = rc.formula(*benchDatabase());
                if (!f.isEmpty()) args << QStringLiteral("--formula") << f;
                for (auto _ : state)
                    if (reports::runReportCommand(args) != 0) {
                        state.SkipWithError("the report could not be rendered");
                        break;
                    }
                state.counters["pdf_kB"] = QFile(out).size() / 1024.0;
            })
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
    }
}

// ---- backup and compaction ----

void BM_Backup(benchmark::State& state) {
    if (!needDatabase(state)) return;
    QTemporaryDir dir;
    for (auto _ : state)
        if (backupDatabase(benchDatabasePath(), dir.filePath(QStringLiteral("copia.erm"))))
            state.SkipWithError("backup failed");
}

void BM_Backup_filecopy(benchmark::State& state) {
    if (!needDatabase(state)) return;
    QTemporaryDir dir;
    for (auto _ : state) {
        const QString target = dir.filePath(QStringLiteral("copia.erm"));
        QFile::remove(target);
        QFile::copy(benchDatabasePath(), target);
    }
}

void BM_Compact(benchmark::State& state) {
    if (!needDatabase(state)) return;
    QTemporaryDir dir;
    for (auto _ : state) {
        const QString target = dir.filePath(QStringLiteral("compacta.erm"));
        QFile::remove(target);
        benchDatabase()->compactInto(target);
    }
}

// The whole compaction as the menu runs it, on a copy of the file: exclusive lock,
// VACUUM INTO the temporary file, backup of it back into the database, session reopened.
void BM_CompactInPlace(benchmark::State& state) {
    if (!needDatabase(state)) return;
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("taller.erm"));
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(copy);
        QFile::copy(benchDatabasePath(), copy);
        Session session(dir.path());
        const bool opened = session.openDatabase(copy);
        state.ResumeTiming();
        if (!opened || compactDatabase(session)) state.SkipWithError("compaction failed");
    }
}

void BM_Compact_sqlite(benchmark::State& state) {
    if (!needDatabase(state)) return;
    QTemporaryDir dir;
    RawDb raw(benchDatabasePath());
    for (auto _ : state) {
        const QString target = dir.filePath(QStringLiteral("compacta.erm"));
        QFile::remove(target);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(raw.db, "VACUUM INTO ?", -1, &st, nullptr);
        const QByteArray t = target.toUtf8();
        sqlite3_bind_text(st, 1, t.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_step(st);
        sqlite3_finalize(st);
    }
}

QString salesListColumns() {
    return QStringLiteral(
        "SELECT DISTINCT Albaranes.Id, Albaranes.Id_Alb AS Albaran, Albaranes.Fecha, "
        "Albaranes.Nominal, Albaranes.Total, Albaranes.NFactura AS Factura, Clientes.Nombre AS "
        "Cliente, Clientes.NIF, Clientes.Id_Cli FROM (Albaranes INNER JOIN Salidas ON "
        "Albaranes.Id_Alb = Salidas.Id_Alb) INNER JOIN Clientes ON Albaranes.Id_Cli = "
        "Clientes.Id_Cli ");
}

}  // namespace

QString benchDatabasePath() {
    return qEnvironmentVariable("TORVANE_BENCH_DB");
}

Database* benchDatabase() {
    static Database* db = [] {
        const QString path = benchDatabasePath();
        if (path.isEmpty() || !QFile::exists(path)) return static_cast<Database*>(nullptr);
        auto* d = new Database;
        if (!d->open(path)) {
            delete d;
            return static_cast<Database*>(nullptr);
        }
        // As the program opens it: a file from an older generator gets the newer tables.
        try {
            d->applyMigrations();
        } catch (const DbError&) {
            delete d;
            return static_cast<Database*>(nullptr);
        }
        return d;
    }();
    return db;
}

std::vector<QueryCase> workshopQueries(Database& db) {
    std::vector<QueryCase> out;
    // Customer and vehicle searches, keystroke by keystroke, with the screens' own queries.
    static const char* const customerOptions[] = {"Codigo", "NIF", "Nombre", "Apellido",
                                                  "Matricula"};
    static const char* const customerTyping[] = {"0", "4", "J", "G", "1"};
    static const char* const customerTyping2[] = {"012", "452", "JOS", "GAR", "12"};
    for (int o = 0; o < customers::kCustomerSearchOptions; ++o) {
        for (const char* typed : {customerTyping[o], customerTyping2[o]}) {
            const SqlStatement s = customers::customerSearch(o, QString::fromUtf8(typed));
            out.push_back({QStringLiteral("BusquedaClientes/%1/%2")
                               .arg(QLatin1String(customerOptions[o]), QString::fromUtf8(typed)),
                           s.sql, s.params});
        }
    }
    {
        const SqlStatement s = customers::customerSearchInitial();
        out.push_back({QStringLiteral("BusquedaClientes/initial"), s.sql, s.params});
    }
    // The labels screen: its opening list and its five searches.
    {
        const SqlStatement s = listings::labelCustomersInitial();
        out.push_back({QStringLiteral("listings_Etiquetas/initial"), s.sql, s.params});
        static const char* const labelOptions[] = {"Codigo", "NIF", "Nombre", "PalabraNombre",
                                                   "Matricula"};
        for (int o = 0; o < listings::kLabelSearchOptions; ++o) {
            const SqlStatement t =
                listings::labelCustomerSearch(o, QString::fromUtf8(customerTyping2[o]));
            out.push_back(
                {QStringLiteral("listings_Etiquetas/%1/%2")
                     .arg(QLatin1String(labelOptions[o]), QString::fromUtf8(customerTyping2[o])),
                 t.sql, t.params});
        }
    }
    static const char* const vehicleOptions[] = {"Matricula", "Marca", "Modelo", "Cliente"};
    static const char* const vehicleTyping[] = {"1", "S", "C", "M"};
    static const char* const vehicleTyping2[] = {"123", "SEA", "CLI", "MAR"};
    for (int o = 0; o < customers::kVehicleSearchOptions; ++o) {
        for (const char* typed : {vehicleTyping[o], vehicleTyping2[o]}) {
            const SqlStatement s = customers::vehicleSearch(o, QString::fromUtf8(typed));
            out.push_back({QStringLiteral("BusquedaVehiculos/%1/%2")
                               .arg(QLatin1String(vehicleOptions[o]), QString::fromUtf8(typed)),
                           s.sql, s.params});
        }
    }
    {
        const SqlStatement s = customers::vehicleSearchInitial();
        out.push_back({QStringLiteral("BusquedaVehiculos/initial"), s.sql, s.params});
    }

    // Loading the busiest customer with its vehicles and history.
    const qint64 customer = 1;
    const qint64 vehicle =
        db.scalar(QStringLiteral("SELECT min(Id_Veh) FROM Vehiculos WHERE Id_Cli = ?"), {customer})
            .toLongLong();
    const QString order =
        db.scalar(QStringLiteral(
                      "SELECT NODT FROM ODTS WHERE Id_Coche = ? ORDER BY Id_ODT DESC LIMIT 1"),
                  {vehicle})
            .toString();
    out.push_back({QStringLiteral("Clientes/record"),
                   QStringLiteral("SELECT * FROM Clientes WHERE Id_Cli = ?"),
                   {customer}});
    for (const auto& [name, s] : std::vector<std::pair<QString, SqlStatement>>{
             {QStringLiteral("Clientes/vehicles"), customers::vehiclesOf(customer)},
             {QStringLiteral("Clientes/parts_bought"), customers::partsBoughtBy(customer)},
             {QStringLiteral("Clientes/work_orders_of_vehicle"),
              customers::workOrdersOfVehicle(vehicle)},
             {QStringLiteral("Clientes/jobs_of_work_order"), customers::jobsOfWorkOrder(order)},
             {QStringLiteral("Clientes/materials_of_work_order"),
              customers::materialsOfWorkOrder(order)},
             {QStringLiteral("HistorialVeh/history"), customers::vehicleHistory(vehicle)}})
        out.push_back({name, s.sql, s.params});

    // The work-order list as its screen runs it (the statement built at the keystroke).
    out.push_back({QStringLiteral("ListOdt/open"), odtlist::ordinaryOpen().sql, {}});
    for (const auto& [name, field, typed] :
         std::vector<std::tuple<QString, odtlist::Field, QString>>{
             {"NODT", odtlist::Field::Number, "ODT/1"},
             {"Matricula", odtlist::Field::Plate, "12"},
             {"Cliente", odtlist::Field::Customer, "JOS"},
             {"Marca", odtlist::Field::Make, "SEA"}}) {
        const SqlStatement st =
            odtlist::ordinarySearch(db, field, typed, odtlist::Filter::Unbilled);
        out.push_back({QStringLiteral("ListOdt/search_%1/%2").arg(name, typed), st.sql, st.params});
    }
    const QString sl = salesListColumns();
    out.push_back({QStringLiteral("LVRecambios/open"),
                   sl + QStringLiteral("ORDER BY Albaranes.Fecha DESC"),
                   {}});
    out.push_back(
        {QStringLiteral("LVRecambios/search_Cliente/GAR"),
         sl + QStringLiteral("WHERE Clientes.Nombre LIKE ? ORDER BY Albaranes.Fecha DESC"),
         {QStringLiteral("GAR%")}});
    out.push_back(
        {QStringLiteral("GestorCobros/open_ODT"),
         QStringLiteral(
             "SELECT FacturasODT.Id_FAct, min(FacturasODT.NFactura) AS PrimeroDeNFactura, "
             "FacturasODT.Fecha, Clientes.Nombre, FacturasODT.Importe, FacturasODT.Pagado, "
             "FacturasODT.Importe - FacturasODT.Pagado AS Debido FROM FacturasODT INNER JOIN "
             "(ODTS INNER JOIN Clientes ON ODTS.Id_Cli = Clientes.Id_Cli) ON "
             "FacturasODT.NFactura = ODTS.NFactura GROUP BY FacturasODT.Id_FAct ORDER BY "
             "FacturasODT.Fecha DESC"),
         {}});
    out.push_back(
        {QStringLiteral("GestorCobros/open_ventas"),
         QStringLiteral(
             "SELECT Facturas.Id, Facturas.Id_Fac, Facturas.Fecha, Clientes.Nombre, "
             "Facturas.Total AS Importe, Facturas.Pagado, Facturas.Total - Facturas.Pagado AS "
             "Debido FROM (Albaranes INNER JOIN Facturas ON Albaranes.NFactura = "
             "Facturas.Id_Fac) INNER JOIN Clientes ON Facturas.Id_Cli = Clientes.Id_Cli "
             "GROUP BY Facturas.Id ORDER BY Facturas.Fecha DESC"),
         {}});
    // The same lists shaped so that the plan walks the date index and stops at a screenful.
    out.push_back(
        {QStringLiteral("LVRecambios/search_Cliente_customer_first/GAR"),
         sl + QStringLiteral("WHERE Albaranes.Id_Cli IN (SELECT Id_Cli FROM Clientes WHERE "
                             "Nombre LIKE ?) ORDER BY +Albaranes.Fecha DESC"),
         {QStringLiteral("GAR%")}});
    out.push_back(
        {QStringLiteral("GestorCobros/open_ODT_date_walk"),
         QStringLiteral(
             "SELECT FacturasODT.Id_FAct, FacturasODT.NFactura, FacturasODT.Fecha, "
             "(SELECT Clientes.Nombre FROM ODTS INNER JOIN Clientes ON ODTS.Id_Cli = "
             "Clientes.Id_Cli WHERE ODTS.NFactura = FacturasODT.NFactura LIMIT 1) AS Nombre, "
             "FacturasODT.Importe, FacturasODT.Pagado, FacturasODT.Importe - "
             "FacturasODT.Pagado AS Debido FROM FacturasODT WHERE EXISTS (SELECT 1 FROM ODTS "
             "WHERE ODTS.NFactura = FacturasODT.NFactura) ORDER BY FacturasODT.Fecha DESC"),
         {}});
    out.push_back(
        {QStringLiteral("GestorCobros/open_ventas_date_walk"),
         QStringLiteral(
             "SELECT Facturas.Id, Facturas.Id_Fac, Facturas.Fecha, Clientes.Nombre, "
             "Facturas.Total AS Importe, Facturas.Pagado, Facturas.Total - Facturas.Pagado AS "
             "Debido FROM Facturas INNER JOIN Clientes ON Facturas.Id_Cli = Clientes.Id_Cli "
             "WHERE EXISTS (SELECT 1 FROM Albaranes WHERE Albaranes.NFactura = "
             "Facturas.Id_Fac) ORDER BY Facturas.Fecha DESC"),
         {}});
    // The purchase list and the work-order picker, as their screens run them.
    {
        const auto add = [&out](const QString& name, const SqlStatement& st) {
            out.push_back({name, st.sql, st.params});
        };
        add(QStringLiteral("ListCompras/open"), purchases::listAll());
        const auto first = [&db](const char* sql) { return db.scalar(QLatin1String(sql)); };
        const QString article =
            first(
                "SELECT Nombre FROM Articulos WHERE Id_Art = (SELECT max(Id_Art) / 2 FROM "
                "Articulos)")
                .toString();
        const QString supplier =
            first("SELECT Nombre FROM Proveedores ORDER BY Id_Pro LIMIT 1").toString();
        const QString delivery =
            first("SELECT NAlbaran FROM Entradas ORDER BY Id_Ent LIMIT 1").toString();
        const QString entry =
            first("SELECT NEntrada FROM Entradas ORDER BY Id_Ent LIMIT 1").toString();
        const QString date =
            formatDate(first("SELECT Fecha FROM Entradas ORDER BY Id_Ent LIMIT 1"));
        const QString typed[purchases::kListOptions][2] = {{delivery.left(1), delivery},
                                                           {entry.left(2), entry},
                                                           {article.left(1), article.left(4)},
                                                           {supplier.left(1), supplier.left(4)},
                                                           {date.left(2), date}};
        const QStringList captions = purchases::listOptionCaptions();
        for (int o = 0; o < purchases::kListOptions; ++o)
            for (const QString& t : typed[o])
                add(QStringLiteral("ListCompras/%1/%2").arg(captions[o].trimmed(), t),
                    purchases::listSearch(db, o, t));
        add(QStringLiteral("BusquedaODTS/open"), workorders::pickerAll());
        const QString customer =
            first("SELECT Nombre FROM Clientes ORDER BY Id_Cli LIMIT 1").toString();
        const QString odt = first("SELECT NODT FROM ODTS ORDER BY Id_ODT DESC LIMIT 1").toString();
        const QString pickerTyped[2][2] = {{odt.left(5), odt},
                                           {customer.left(1), customer.left(4)}};
        const QStringList pickerCaptions = workorders::pickerOptionCaptions();
        for (int o = 0; o < 2; ++o)
            for (const QString& t : pickerTyped[o])
                add(QStringLiteral("BusquedaODTS/%1/%2").arg(pickerCaptions[o], t),
                    workorders::pickerSearch(db, o, t));
    }
    out.push_back({QStringLiteral("BusquedaArticulos/Nombre/FIL"),
                   QStringLiteral("SELECT Id_Art, Codigo, Nombre, StockInicial, PrecioVenta FROM "
                                  "Articulos WHERE Nombre LIKE ?"),
                   {QStringLiteral("FIL%")}});
    out.push_back(
        {QStringLiteral("Recibos/unpaid_ODT_invoices"),
         QStringLiteral("SELECT Id_FAct, FacturasODT.NFactura, FacturasODT.Fecha, Importe FROM "
                        "FacturasODT INNER JOIN ODTS ON FacturasODT.NFactura = ODTS.NFactura "
                        "WHERE ODTS.Id_Cli = ? AND FacturasODT.Pagado = 0"),
         {customer}});
    out.push_back(
        {QStringLiteral("ListadoRecibos/open"),
         QStringLiteral("SELECT Recibos.Id_cli, Recibos.Id, Recibos.NRecibo, Recibos.Fecha, "
                        "Recibos.Vto, Recibos.Importe, Clientes.Nombre FROM Clientes INNER JOIN "
                        "Recibos ON Clientes.Id_Cli = Recibos.Id_cli ORDER BY Recibos.Fecha DESC"),
         {}});
    out.push_back(
        {QStringLiteral("GestorPartes/open"),
         QStringLiteral("SELECT Partes.Id, Partes.NParte, Partes.Fecha, Partes.\"Compañia\", "
                        "Partes.Nombre, Partes.Matricula, Partes.NFactura FROM Partes"),
         {}});
    return out;
}

void registerWorkshopBenchmarks() {
    benchmark::RegisterBenchmark("Startup/OpenDatabase", BM_OpenDatabase)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Startup/OpenDatabase/sqlite", BM_OpenDatabase_sqlite)
        ->Unit(benchmark::kMillisecond);
    if (Database* db = benchDatabase())
        for (const QueryCase& c : workshopQueries(*db)) registerQuery(c);
    registerNumbers();
    registerReports();
    benchmark::RegisterBenchmark("Maintenance/Backup", BM_Backup)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(2);
    benchmark::RegisterBenchmark("Maintenance/Backup/filecopy", BM_Backup_filecopy)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(2);
    benchmark::RegisterBenchmark("Maintenance/Compact", BM_Compact)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
    benchmark::RegisterBenchmark("Maintenance/CompactInPlace", BM_CompactInPlace)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
    benchmark::RegisterBenchmark("Maintenance/Compact/sqlite", BM_Compact_sqlite)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
}

int printQueryPlans() {
    Database* db = benchDatabase();
    if (!db) {
        std::fprintf(stderr, "TORVANE_BENCH_DB is not set or cannot be opened\n");
        return 1;
    }
    RawDb raw(benchDatabasePath());
    int bad = 0;
    for (const QueryCase& c : workshopQueries(*db)) {
        sqlite3_stmt* st = nullptr;
        const QByteArray s = ("EXPLAIN QUERY PLAN " + c.sql).toUtf8();
        if (sqlite3_prepare_v2(raw.db, s.constData(), -1, &st, nullptr) != SQLITE_OK) {
            std::printf("%s: %s\n", qPrintable(c.name), sqlite3_errmsg(raw.db));
            continue;
        }
        bindAll(st, c.params);
        QStringList steps;
        bool scans = false, walks = false;
        while (sqlite3_step(st) == SQLITE_ROW) {
            const QString detail =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 3)));
            steps << detail;
            for (const char* t : kBigTables) {
                const QString head = QStringLiteral("SCAN %1").arg(QLatin1String(t));
                if (detail == head) scans = true;  // every row of the table is read
                // Walking an index in its order: fine while the first screenful comes early.
                if (detail.startsWith(head + QStringLiteral(" USING"))) walks = true;
            }
        }
        sqlite3_finalize(st);
        if (scans) ++bad;
        std::printf("%s %s\n    %s\n",
                    scans   ? "SCAN"
                    : walks ? "walk"
                            : "ok  ",
                    qPrintable(c.name), qPrintable(steps.join(QStringLiteral("\n    "))));
    }
    std::printf("%d queries scan a large table\n", bad);
    return 0;
}

bool readsWholeTable(Database& db, const SqlStatement& statement, QString* plan) {
    QSqlQuery q = db.exec(QStringLiteral("EXPLAIN QUERY PLAN ") + statement.sql, statement.params);
    bool scan = false;
    while (q.next()) {
        const QString detail = q.value(3).toString();
        *plan += detail + QStringLiteral("; ");
        if (detail.startsWith(QStringLiteral("SCAN ")) &&
            !detail.contains(QStringLiteral(" USING ")))
            scan = true;
    }
    return scan;
}

void paintFirstPage(const reports::RenderedReport& report) {
    const QSizeF paper = report.paperSize() * (96.0 / 72.0) * 0.88;
    QImage image(paper.toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(0.88, 0.88);
    reports::paintPage(painter, report, 0);
}

}  // namespace torvane::bench
