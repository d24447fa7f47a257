#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "core/grid_column.h"
#include "core/money.h"
#include "core/sql_statement.h"
#include "data/database.h"
#include "tow/tow_pricing.h"

namespace torvane {
class Session;
}

namespace torvane::tow {

inline constexpr const char* kReportFile = "\\QARVOpgrua.rpt";
inline constexpr const char* kInvoiceFile = "\\QARVOFACGRUA.rpt";
inline constexpr const char* kNotInvoiced = "No";

inline constexpr const char* kIncompleteLine = "Debe completar todos los campos";
inline constexpr const char* kLineNotNumeric = "Las unidades y el precio deben ser números";
inline constexpr const char* kAlreadyInvoiced = "El parte seleccionado ya está facturado";
inline constexpr const char* kNoLinesToInvoice = "El parte seleccionado no tiene líneas";
inline constexpr const char* kNoInvoiceToPrint =
    "El parte seleccionado no tiene factura para imprimir";
inline constexpr const char* kNoInvoiceToDelete =
    "El parte seleccionado no tiene factura para eliminar";
inline constexpr const char* kInvoicedNotDeleted =
    "El parte seleccionado está facturado: elimine antes su factura";
inline constexpr const char* kInvoicedNotEdited =
    "El parte seleccionado está facturado y no se puede modificar";

// The selection that prints one report or its invoice.
QString reportFormula(const QString& number);
QString deleteQuestion(const QString& number);

// ---- Lines ----

struct StoredLine {
    qint64 id = 0;
    TowLine line;
};
// The report's lines in the order they were written.
std::vector<TowLine> loadLines(Database& db, const QString& number);
bool hasLines(Database& db, const QString& number);
// Every line of the report replaced by these, all or nothing: a generation, or the copy
// written back on cancel. Throws DbError.
void replaceLines(Database& db, const QString& number, const std::vector<TowLine>& lines);
void appendLine(Database& db, const QString& number, const TowLine& line);

// A manual line as typed: units, concept, unit price. The line or the refusal.
struct ManualLine {
    std::optional<TowLine> line;
    QString error;
};
ManualLine readManualLine(const QString& units, const QString& texto, const QString& price);

// The sum of the lines, the VAT at the report's per cent, and their total; to the cent.
struct Totals {
    Money base;
    Money iva;
    Money total;
};
Totals totals(const std::vector<TowLine>& lines, Quantity vatRate);

// ---- The report row ----

// The columns of a stored report, in the order they are written.
const QStringList& reportColumns();
// Adds the report (id empty) or replaces the stored row of that id, keeping the id.
// `values` is keyed by reportColumns(); the invoice number is written "No".
// Returns the row's id. Throws DbError.
qint64 saveReport(Database& db, const Row& values, std::optional<qint64> id = std::nullopt);
std::optional<Row> loadReport(Database& db, const QString& number);

// ---- Invoicing from the list ----

// The next FV number: continues Facturas.Id_Fac, skipping any number already used in
// Facturas.Id_Fac or Albaranes.NFactura.
QString nextInvoiceNumber(Session& session);

// Why the report cannot be invoiced, or empty.
QString checkInvoice(Database& db, const QString& number);
// The invoice row and the report's invoice number and date, all or nothing. Returns the
// invoice number. Throws DbError.
QString invoice(Session& session, const QString& number);
// Deletes the invoice row and marks the report not invoiced, all or nothing.
void removeInvoice(Database& db, const QString& number);
// Deletes the report and its lines, all or nothing.
void deleteReport(Database& db, const QString& number);

// ---- What the screens show and fill ----

// The report's lines for MSHLineas: a time line's hours as "hh:mm", other units with ",".
SqlStatement linesStatement(const QString& number);
const QList<GridColumn>& lineColumns();
// MSHPartes: every report, oldest first.
SqlStatement reportList();
const QList<GridColumn>& reportListColumns();

struct Insurer {
    qint64 id = 0;
    QString nombre;
};
std::vector<Insurer> insurerList(Database& db);
// The owner's eight fields in screen order: name, address, postcode, town, province,
// phone, mobile, fax. Empty when the customer is not found.
QStringList ownerFields(Database& db, qint64 customerId);
// Plate, make, model and colour of the vehicle.
QStringList vehicleFields(Database& db, qint64 vehicleId);

}  // namespace torvane::tow
