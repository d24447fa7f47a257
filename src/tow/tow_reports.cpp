#include "tow/tow_reports.h"

#include "core/format.h"
#include "core/numbering.h"
#include "core/session.h"

namespace torvane::tow {

QString reportFormula(const QString& number) {
    return QStringLiteral("{Partes.NParte}='") + number + QLatin1Char('\'');
}

QString deleteQuestion(const QString& number) {
    return QStringLiteral("¿Seguro que quiere eliminar el parte ") + number + QLatin1Char('?');
}

std::vector<TowLine> loadLines(Database& db, const QString& number) {
    std::vector<TowLine> out;
    for (const Row& r :
         db.rows(QStringLiteral("SELECT Texto, Cantidad, Precio, Importe FROM LineasPartes "
                                "WHERE NParte = ? ORDER BY Id"),
                 {number}))
        out.push_back({r.value(QStringLiteral("Texto")).toString(),
                       Quantity::fromDb(r.value(QStringLiteral("Cantidad"))),
                       Money::fromDb(r.value(QStringLiteral("Precio"))),
                       Money::fromDb(r.value(QStringLiteral("Importe")))});
    return out;
}

bool hasLines(Database& db, const QString& number) {
    return db
        .scalar(QStringLiteral("SELECT 1 FROM LineasPartes WHERE NParte = ? LIMIT 1"), {number})
        .isValid();
}

void appendLine(Database& db, const QString& number, const TowLine& line) {
    db.insert(QStringLiteral("INSERT INTO LineasPartes (NParte, Texto, Cantidad, Precio, Importe) "
                             "VALUES (?, ?, ?, ?, ?)"),
              {number, line.texto, line.cantidad.toDb(), line.precio.toDb(), line.importe.toDb()});
}

void replaceLines(Database& db, const QString& number, const std::vector<TowLine>& lines) {
    Database::Transaction tx(db);
    db.exec(QStringLiteral("DELETE FROM LineasPartes WHERE NParte = ?"), {number});
    for (const TowLine& l : lines) appendLine(db, number, l);
    tx.commit();
}

ManualLine readManualLine(const QString& units, const QString& texto, const QString& price) {
    if (units.trimmed().isEmpty() || texto.trimmed().isEmpty() || price.trimmed().isEmpty())
        return {std::nullopt, QString::fromUtf8(kIncompleteLine)};
    const auto u = Quantity::parse(units.trimmed());
    const auto p = Money::parse(price.trimmed());
    if (!u || !p) return {std::nullopt, QString::fromUtf8(kLineNotNumeric)};
    return {TowLine{texto, *u, *p, (ExactAmount(*p) * *u).roundCents()}, {}};
}

Totals totals(const std::vector<TowLine>& lines, Quantity vatRate) {
    Totals t;
    for (const TowLine& l : lines) t.base += l.importe;
    t.iva = ExactAmount(t.base).percent(vatRate).roundCents();
    t.total = t.base + t.iva;
    return t;
}

const QStringList& reportColumns() {
    static const QStringList columns = {
        "NParte",     "Referencia",   "Fecha",         "Compañia",     "Matricula",
        "Marca",      "Modelo",       "Color",         "TipoVehiculo", "OtroVehiculo",
        "Conductor",  "TipoDia",      "TipoSalida",    "Desde",        "Hasta",
        "Kilometros", "TiempoEspera", "TiempoRescate", "DiasDeposito", "Nombre",
        "Direccion",  "Localidad",    "Provincia",     "CP",           "Telefono",
        "Movil",      "Fax",          "Observaciones", "NFactura",     "Id_Ase",
        "IVA"};
    return columns;
}

qint64 saveReport(Database& db, const Row& values, std::optional<qint64> id) {
    const QStringList& columns = reportColumns();
    QVariantList params;
    for (const QString& c : columns)
        params << (c == QLatin1String("NFactura") ? QVariant(QString::fromUtf8(kNotInvoiced))
                                                  : values.value(c));
    QStringList quoted, marks;
    for (const QString& c : columns) {
        quoted << QLatin1Char('"') + c + QLatin1Char('"');
        marks << QStringLiteral("?");
    }
    Database::Transaction tx(db);
    qint64 key = 0;
    if (id) {
        db.exec(QStringLiteral("UPDATE Partes SET %1 = ?, FechaFactura = NULL WHERE Id = ?")
                    .arg(quoted.join(QStringLiteral(" = ?, "))),
                params << *id);
        key = *id;
    } else {
        key =
            db.insert(QStringLiteral("INSERT INTO Partes (%1) VALUES (%2)")
                          .arg(quoted.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
                      params);
    }
    tx.commit();
    return key;
}

std::optional<Row> loadReport(Database& db, const QString& number) {
    return db.firstRow(QStringLiteral("SELECT * FROM Partes WHERE NParte = ? ORDER BY Id"),
                       {number});
}

QString nextInvoiceNumber(Session& session) {
    const QString prefix = seriesPrefix(session, Series::FV);
    return freePartsInvoiceNumber(
        session.db(), prefix,
        nextNumberIn(session.db(), NumberConsumer::SalesMultiInvoice, prefix));
}

QString checkInvoice(Database& db, const QString& number) {
    const auto report = loadReport(db, number);
    if (report &&
        report->value(QStringLiteral("NFactura")).toString() != QLatin1String(kNotInvoiced))
        return QString::fromUtf8(kAlreadyInvoiced);
    if (!hasLines(db, number)) return QString::fromUtf8(kNoLinesToInvoice);
    return {};
}

QString invoice(Session& session, const QString& number) {
    Database& db = session.db();
    Database::Transaction tx(db);
    const auto report = loadReport(db, number);
    const Quantity vat =
        report ? Quantity::fromDb(report->value(QStringLiteral("IVA"))) : Quantity();
    const Totals t = totals(loadLines(db, number), vat);
    const QString fv = nextInvoiceNumber(session);
    const QString today = toIsoDate(session.today());
    db.insert(QStringLiteral("INSERT INTO Facturas (Id_Fac, Fecha, Id_Cli, Pagado, Total) "
                             "VALUES (?, ?, 0, 0, ?)"),
              {fv, today, t.total.toDb()});
    db.exec(QStringLiteral("UPDATE Partes SET NFactura = ?, FechaFactura = ? WHERE NParte = ?"),
            {fv, today, number});
    tx.commit();
    return fv;
}

void removeInvoice(Database& db, const QString& number) {
    Database::Transaction tx(db);
    const auto report = loadReport(db, number);
    const QString fv = report ? report->value(QStringLiteral("NFactura")).toString() : QString();
    db.exec(QStringLiteral("DELETE FROM Facturas WHERE Id_Fac = ?"), {fv});
    db.exec(QStringLiteral("UPDATE Partes SET NFactura = ?, FechaFactura = NULL WHERE NParte = ?"),
            {QString::fromUtf8(kNotInvoiced), number});
    tx.commit();
}

void deleteReport(Database& db, const QString& number) {
    Database::Transaction tx(db);
    db.exec(QStringLiteral("DELETE FROM LineasPartes WHERE NParte = ?"), {number});
    db.exec(QStringLiteral("DELETE FROM Partes WHERE NParte = ?"), {number});
    tx.commit();
}

SqlStatement linesStatement(const QString& number) {
    return {
        QStringLiteral(
            "SELECT Id, NParte, CASE WHEN Texto IN (?, ?) THEN printf('%02d:%02d', "
            "CAST(ROUND(Cantidad * 60) AS INTEGER) / 60, "
            "CAST(ROUND(Cantidad * 60) AS INTEGER) % 60) "
            "ELSE replace(printf('%g', Cantidad), '.', ',') END AS Unidades, "
            "Texto AS Concepto, Precio, Importe FROM LineasPartes WHERE NParte = ? ORDER BY Id"),
        {QStringLiteral("ESPERA PARA REALIZAR EL SERVICIO"), QStringLiteral("RESCATE DEL VEHÍCULO"),
         number}};
}

const QList<GridColumn>& lineColumns() {
    static const QList<GridColumn> columns = {
        {QStringLiteral("Id"), {}, ColumnKind::Hidden, 0},
        {QStringLiteral("NParte"), {}, ColumnKind::Hidden, 0},
        {QStringLiteral("Unidades"), {}, ColumnKind::Text, 70},
        {QStringLiteral("Concepto"), {}, ColumnKind::Text, 360},
        {QStringLiteral("Precio"), {}, ColumnKind::Money, 90},
        {QStringLiteral("Importe"), {}, ColumnKind::Money, 90}};
    return columns;
}

SqlStatement reportList() {
    return {QStringLiteral("SELECT Id, NParte AS \"NºParte\", Fecha, \"Compañia\", "
                           "Nombre AS Cliente, Matricula, Marca || ' ' || Modelo AS \"Vehículo\", "
                           "NFactura AS \"NºFactura\", FechaFactura AS FecFac FROM Partes "
                           "ORDER BY Id"),
            {}};
}

const QList<GridColumn>& reportListColumns() {
    static const QList<GridColumn> columns = {
        {QStringLiteral("Id"), {}, ColumnKind::Hidden, 0},
        {QStringLiteral("NºParte"), {}, ColumnKind::Text, 100},
        {QStringLiteral("Fecha"), {}, ColumnKind::Date, 80},
        {QStringLiteral("Compañia"), {}, ColumnKind::Text, 150},
        {QStringLiteral("Cliente"), {}, ColumnKind::Text, 180},
        {QStringLiteral("Matricula"), {}, ColumnKind::Text, 80},
        {QStringLiteral("Vehículo"), {}, ColumnKind::Text, 150},
        {QStringLiteral("NºFactura"), {}, ColumnKind::Text, 100},
        {QStringLiteral("FecFac"), {}, ColumnKind::Date, 80}};
    return columns;
}

std::vector<Insurer> insurerList(Database& db) {
    std::vector<Insurer> out;
    for (const Row& r : db.rows(QStringLiteral("SELECT Id_Ase, Nombre FROM Aseguradoras")))
        out.push_back({r.value(QStringLiteral("Id_Ase")).toLongLong(),
                       r.value(QStringLiteral("Nombre")).toString()});
    return out;
}

QStringList ownerFields(Database& db, qint64 customerId) {
    const auto r =
        db.firstRow(QStringLiteral("SELECT * FROM Clientes WHERE Id_Cli = ?"), {customerId});
    QStringList out;
    if (!r) return out;
    for (const char* c :
         {"Nombre", "Direccion", "CP", "Localidad", "Provincia", "Telefono", "Movil", "Fax"})
        out << r->value(QString::fromLatin1(c)).toString();
    return out;
}

QStringList vehicleFields(Database& db, qint64 vehicleId) {
    const auto r = db.firstRow(
        QStringLiteral("SELECT Matricula, Marca, Modelo, Color FROM Vehiculos WHERE Id_Veh = ?"),
        {vehicleId});
    QStringList out;
    if (!r) return out;
    for (const char* c : {"Matricula", "Marca", "Modelo", "Color"})
        out << r->value(QString::fromLatin1(c)).toString();
    return out;
}

}  // namespace torvane::tow
