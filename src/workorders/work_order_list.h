#pragma once

#include <QList>
#include <QString>
#include <optional>

#include "core/grid_column.h"
#include "core/money.h"
#include "core/sql_statement.h"
#include "data/database.h"

namespace torvane {
class Session;
}

// The statements of the work-order list's three tabs. Every statement reaches its
// first screenful through an index whatever the file's planner statistics: a
// search leads with the searched column's index when it selects few rows, and
// walks the date index (newest first) when it selects many.
namespace torvane::odtlist {

// What "Mostrar:" keeps.
enum class Filter { Unbilled, Billed, All };

// Tab 0 ("ODTS"): the options of "Búsqueda por:" in their order.
enum class Field { Number, Plate, Date, Customer, Make, Model };
inline constexpr int kFieldCount = 6;

// Columns: Interna, NODT, Fecha, Nombre, Vehiculo, Matricula, NAlbaran, NFactura,
// Id_ODT, Id_Veh (every tab's statement returns all of them).
QList<GridColumn> columns();

SqlStatement ordinaryOpen();
// Prefix match of the typed text on the field, with the filter. Ordinary work orders
// only, except the date search, which shows internal ones too.
SqlStatement ordinarySearch(Database& db, Field field, const QString& typed, Filter filter);

// Tab 1 ("Presupuestos"): options "Cliente", "provisional Fecha", "Matricula", "NODT".
SqlStatement estimatesOpen();
// Number and plate searches find only numbers beginning with "TEMP"; the customer
// search lists every work order of the customers found. The date option searches
// nothing (no statement).
std::optional<SqlStatement> estimatesSearch(Database& db, int option, const QString& typed);

// Tab 2 ("ODTS Internas"): options "NODT", "Matricula", "provisional Fecha", "Cliente".
SqlStatement internalOpen(Filter filter);
std::optional<SqlStatement> internalSearch(Database& db, int option, const QString& typed,
                                           Filter filter);

// "Uni Factura": the customer's ordinary work orders not yet invoiced, newest first
// (the list's columns).
SqlStatement unbilledOfCustomer(qint64 customerId);
// "Multi Factura": every ordinary work order not yet invoiced, with its base (Nominal)
// and its VAT at vatRate (Total, to the cent).
SqlStatement multiInvoiceCandidates(Quantity vatRate);
QList<GridColumn> multiInvoiceColumns();

// The invoice number proposed on opening (the greatest stored number of the prefix,
// plus one).
QString proposedInvoiceNumber(Session& session);

// Above this many matching vehicles, customers or numbers a search walks the date
// index instead of sorting what it found.
inline constexpr int kSelectiveLimit = 400;

// Which ISO dates ("yyyy-mm-dd") have a dd/mm/yyyy text that begins with typed, between
// first and last; nullopt when there are more than limit of them.
std::optional<QStringList> datesBeginningWith(const QString& typed, const QDate& first,
                                              const QDate& last, int limit);

}  // namespace torvane::odtlist
