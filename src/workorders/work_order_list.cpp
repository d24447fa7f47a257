#include "workorders/work_order_list.h"

#include <QDate>

#include "core/numbering.h"
#include "core/session.h"

namespace torvane::odtlist {

namespace {

const char* const kSelect =
    "SELECT ODTS.Interna, ODTS.NODT, ODTS.Fecha, Clientes.Nombre, "
    "IFNULL(Vehiculos.Marca, '') || ' ' || IFNULL(Vehiculos.Modelo, '') AS Vehiculo, "
    "Vehiculos.Matricula, ODTS.NAlbaran, ODTS.NFactura, ODTS.Id_ODT, Vehiculos.Id_Veh "
    "FROM ODTS INNER JOIN Clientes ON ODTS.Id_Cli = Clientes.Id_Cli "
    "INNER JOIN Vehiculos ON ODTS.Id_Coche = Vehiculos.Id_Veh ";

// Newest first. The date walk reads the date index backwards and stops after the first
// screenful; the sorted form ("+") is for the few rows an index search found.
const char* const kByDate = " ORDER BY ODTS.Fecha DESC, ODTS.Id_ODT DESC";
const char* const kSorted = " ORDER BY +ODTS.Fecha DESC, ODTS.Id_ODT DESC";

// The "+" keeps NFactura from leading the plan: NFactura = 'No' holds for every unbilled
// order.
QString filterCondition(Filter filter) {
    switch (filter) {
        case Filter::Unbilled:
            return QStringLiteral(" AND +ODTS.NFactura = 'No'");
        case Filter::Billed:
            return QStringLiteral(" AND +ODTS.NFactura <> 'No'");
        case Filter::All:
            break;
    }
    return {};
}

// Ordinary work orders: the "+" keeps the internal index from leading the plan.
const char* const kOrdinaryOnly = " AND +ODTS.Interna = 'No'";

// A searched column: the table and column behind the index, and how a work order
// refers to that table's rows.
struct Searched {
    const char* table;
    const char* column;
    const char* key;      // the searched table's key
    const char* odtLink;  // the ODTS column holding it; nullptr when the column is in ODTS
};

Searched searchedFor(Field field) {
    switch (field) {
        case Field::Plate:
            return {"Vehiculos", "Matricula", "Id_Veh", "Id_Coche"};
        case Field::Customer:
            return {"Clientes", "Nombre", "Id_Cli", "Id_Cli"};
        case Field::Make:
            return {"Vehiculos", "Marca", "Id_Veh", "Id_Coche"};
        case Field::Model:
            return {"Vehiculos", "Modelo", "Id_Veh", "Id_Coche"};
        case Field::Number:
        case Field::Date:
            break;
    }
    return {"ODTS", "NODT", "Id_ODT", nullptr};
}

// Whether a prefix selects few enough rows of the searched table to sort them.
bool selective(Database& db, const Searched& s, const QString& pattern) {
    const QString sql = QStringLiteral(
                            "SELECT count(*) FROM (SELECT 1 FROM %1 WHERE %2 LIKE ? "
                            "LIMIT ?)")
                            .arg(QLatin1String(s.table), QLatin1String(s.column));
    return db.scalar(sql, {pattern, kSelectiveLimit + 1}).toInt() <= kSelectiveLimit;
}

// The searched column's condition for the chosen plan, with the conditions that go with
// each plan: `sorted` beside an index search, `walkLead` and `walked` around the walk.
struct Plan {
    QString sorted;    // after the index search
    QString walkLead;  // before the walked condition (an index to walk instead of the dates)
    QString walked;    // after it
};

SqlStatement prefixSearch(Database& db, Field field, const QString& typed, const Plan& plan) {
    const Searched s = searchedFor(field);
    const QString pattern = likePrefix(typed);
    QString where;
    if (!typed.isEmpty() && selective(db, s, pattern)) {
        where = (s.odtLink ? QStringLiteral("ODTS.%1 IN (SELECT %2 FROM %3 WHERE %4 LIKE ?)")
                                 .arg(QLatin1String(s.odtLink), QLatin1String(s.key),
                                      QLatin1String(s.table), QLatin1String(s.column))
                           : QStringLiteral("ODTS.NODT LIKE ?")) +
                plan.sorted + QString::fromLatin1(kSorted);
    } else {
        where =
            plan.walkLead +
            QStringLiteral("+%1.%2 LIKE ?").arg(QLatin1String(s.table), QLatin1String(s.column)) +
            plan.walked + QString::fromLatin1(kByDate);
    }
    return {QString::fromLatin1(kSelect) + QStringLiteral("WHERE ") + where, {pattern}};
}

// Both plans with the same conditions.
Plan samePlan(const QString& conditions) {
    return {conditions, {}, conditions};
}

QString shownDate() {
    return QStringLiteral(
        "(substr(ODTS.Fecha, 9, 2) || '/' || substr(ODTS.Fecha, 6, 2) || '/' || "
        "substr(ODTS.Fecha, 1, 4))");
}

// The date search: the work orders whose date, as shown (dd/mm/yyyy), begins with the
// typed text. A few matching days are looked up in the date index; many are found by
// walking it.
SqlStatement dateSearch(Database& db, const QString& typed, const QString& conditions) {
    const auto bounds =
        db.firstRow(QStringLiteral("SELECT (SELECT min(Fecha) FROM ODTS) AS Primera, "
                                   "(SELECT max(Fecha) FROM ODTS) AS Ultima"));
    const QDate first = QDate::fromString(
        bounds ? bounds->value(QStringLiteral("Primera")).toString() : QString(), Qt::ISODate);
    const QDate last = QDate::fromString(
        bounds ? bounds->value(QStringLiteral("Ultima")).toString() : QString(), Qt::ISODate);
    const bool wildcards = typed.contains(QLatin1Char('%')) || typed.contains(QLatin1Char('_'));
    if (!typed.isEmpty() && !wildcards && first.isValid() && last.isValid()) {
        if (const auto days = datesBeginningWith(typed, first, last, kSelectiveLimit)) {
            if (days->isEmpty())
                return {QString::fromLatin1(kSelect) + QStringLiteral("WHERE 0"), {}};
            QStringList marks;
            QVariantList params;
            for (const QString& d : *days) {
                marks << QStringLiteral("?");
                params << d;
            }
            return {QString::fromLatin1(kSelect) + QStringLiteral("WHERE ODTS.Fecha IN (") +
                        marks.join(QLatin1Char(',')) + QLatin1Char(')') + conditions +
                        QString::fromLatin1(kSorted),
                    params};
        }
    }
    return {QString::fromLatin1(kSelect) + QStringLiteral("WHERE ") + shownDate() +
                QStringLiteral(" LIKE ?") + conditions + QString::fromLatin1(kByDate),
            {likePrefix(typed)}};
}

}  // namespace

QList<GridColumn> columns() {
    return {
        {QStringLiteral("Interna"), QStringLiteral("Interna"), ColumnKind::Hidden},
        {QStringLiteral("NODT"), QStringLiteral("NODT"), ColumnKind::Text, 95},
        {QStringLiteral("Fecha"), QStringLiteral("Fecha"), ColumnKind::Date, 80},
        {QStringLiteral("Nombre"), QStringLiteral("Cliente"), ColumnKind::Text, 210},
        {QStringLiteral("Vehiculo"), QStringLiteral("Vehículo"), ColumnKind::Text, 170},
        {QStringLiteral("Matricula"), QStringLiteral("Matrícula"), ColumnKind::Text, 85},
        {QStringLiteral("NAlbaran"), QStringLiteral("Albarán"), ColumnKind::Text, 105},
        {QStringLiteral("NFactura"), QStringLiteral("Factura"), ColumnKind::Text, 105},
        {QStringLiteral("Id_ODT"), {}, ColumnKind::Hidden},
        {QStringLiteral("Id_Veh"), {}, ColumnKind::Hidden},
    };
}

SqlStatement ordinaryOpen() {
    return {QString::fromLatin1(kSelect) + QStringLiteral("WHERE +ODTS.Interna = 'No'") +
                QString::fromLatin1(kByDate),
            {}};
}

SqlStatement ordinarySearch(Database& db, Field field, const QString& typed, Filter filter) {
    if (field == Field::Date) return dateSearch(db, typed, filterCondition(filter));
    return prefixSearch(db, field, typed,
                        samePlan(filterCondition(filter) + QString::fromLatin1(kOrdinaryOnly)));
}

SqlStatement estimatesOpen() {
    return {QString::fromLatin1(kSelect) + QStringLiteral("WHERE +ODTS.Presupuesto <> 0") +
                QString::fromLatin1(kByDate),
            {}};
}

std::optional<SqlStatement> estimatesSearch(Database& db, int option, const QString& typed) {
    const QString temp = QStringLiteral("WHERE ODTS.NODT LIKE 'TEMP%' AND ");
    switch (option) {
        case 0:
            return prefixSearch(db, Field::Customer, typed, {});
        case 2:
            return SqlStatement{QString::fromLatin1(kSelect) + temp +
                                    QStringLiteral("+ODTS.Id_Coche IN (SELECT Id_Veh FROM "
                                                   "Vehiculos WHERE Matricula LIKE ?)") +
                                    QString::fromLatin1(kSorted),
                                {likePrefix(typed)}};
        case 3:
            return SqlStatement{QString::fromLatin1(kSelect) + temp +
                                    QStringLiteral("+ODTS.NODT LIKE ?") +
                                    QString::fromLatin1(kSorted),
                                {likePrefix(typed)}};
        default:
            return std::nullopt;
    }
}

// Internal work orders are few: their index is walked newest first. A search that selects
// few rows reaches them through the searched index instead.
SqlStatement internalOpen(Filter filter) {
    return {QString::fromLatin1(kSelect) + QStringLiteral("WHERE ODTS.Interna = 'Si'") +
                filterCondition(filter) + QString::fromLatin1(kByDate),
            {}};
}

std::optional<SqlStatement> internalSearch(Database& db, int option, const QString& typed,
                                           Filter filter) {
    static constexpr Field fields[] = {Field::Number, Field::Plate, Field::Date, Field::Customer};
    if (option < 0 || option > 3 || fields[option] == Field::Date) return std::nullopt;
    return prefixSearch(db, fields[option], typed,
                        {filterCondition(filter) + QStringLiteral(" AND +ODTS.Interna = 'Si'"),
                         QStringLiteral("ODTS.Interna = 'Si' AND "), filterCondition(filter)});
}

SqlStatement unbilledOfCustomer(qint64 customerId) {
    return {QString::fromLatin1(kSelect) +
                QStringLiteral("WHERE ODTS.Id_Cli = ? AND +ODTS.Interna = 'No' AND "
                               "+ODTS.NFactura = 'No'") +
                QString::fromLatin1(kSorted),
            {customerId}};
}

SqlStatement multiInvoiceCandidates(Quantity vatRate) {
    // The VAT in whole numbers: the base and the rate in ten-thousandths multiply to the
    // VAT in hundred-millionths of a cent, taken to cents with halves away from zero.
    return {
        QStringLiteral("SELECT ODTS.Id_ODT, ODTS.NODT, ODTS.Fecha, ODTS.Nominal, "
                       "((CAST(round(ODTS.Nominal * 10000) AS INTEGER) * ? + "
                       "CASE WHEN ODTS.Nominal < 0 THEN -50000000 ELSE 50000000 END) / 100000000) "
                       "/ 100.0 AS Total, "
                       "Clientes.Nombre, Clientes.NIF FROM Clientes INNER JOIN ODTS ON "
                       "Clientes.Id_Cli = ODTS.Id_Cli WHERE ODTS.NFactura = 'No' AND "
                       "+ODTS.Interna = 'No' ORDER BY ODTS.Id_ODT"),
        {QVariant::fromValue<qlonglong>(vatRate.units())}};
}

QList<GridColumn> multiInvoiceColumns() {
    return {
        {QStringLiteral("Id_ODT"), {}, ColumnKind::Hidden},
        {QStringLiteral("NODT"), QStringLiteral("NODT"), ColumnKind::Text, 95},
        {QStringLiteral("Fecha"), QStringLiteral("Fecha"), ColumnKind::Date, 80},
        {QStringLiteral("Nominal"), QStringLiteral("Base"), ColumnKind::Money, 90},
        {QStringLiteral("Total"), QStringLiteral("IVA"), ColumnKind::Money, 80},
        {QStringLiteral("Nombre"), QStringLiteral("Cliente"), ColumnKind::Text, 220},
        {QStringLiteral("NIF"), QStringLiteral("NIF"), ColumnKind::Text, 90},
    };
}

QString proposedInvoiceNumber(Session& session) {
    return nextDocumentNumber(session, NumberConsumer::WorkOrderListInvoiceProposal);
}

std::optional<QStringList> datesBeginningWith(const QString& typed, const QDate& first,
                                              const QDate& last, int limit) {
    QStringList out;
    // Walk the days of the range; a text longer than a date matches nothing.
    if (typed.size() > 10 || !first.isValid() || !last.isValid() || first > last) return out;
    for (QDate d = last; d >= first; d = d.addDays(-1)) {
        if (!d.toString(QStringLiteral("dd/MM/yyyy")).startsWith(typed, Qt::CaseInsensitive))
            continue;
        if (out.size() == limit) return std::nullopt;
        out << d.toString(Qt::ISODate);
    }
    return out;
}

}  // namespace torvane::odtlist
