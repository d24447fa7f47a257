#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

#include "core/document_lines.h"
#include "core/grid_column.h"
#include "core/sql_statement.h"
#include "data/database.h"

namespace torvane {
class Session;
}

namespace torvane::purchases {

// ---- Messages ----
inline constexpr const char* kEntryInUse = "El número de entrada utilizado ya existe";
inline constexpr const char* kNoWorkOrder =
    "La orden de trabajo especificada no existe. No se pueden enviar articulos.";
inline constexpr const char* kInvoicedWorkOrder =
    "La orden de trabajo especificada ya está facturada. No se pueden enviar articulos.";
inline constexpr const char* kNoStock = "No hay ninguna unidad del artículo en stock";
inline constexpr const char* kUnknownArticle = "Articulo inexistente. ¿Desea crearlo?";
inline constexpr const char* kMissingFields = "Debe completar todos los campos";
inline constexpr const char* kDiscountTooHigh = "El descuento no puede ser mayor de 100";
inline constexpr const char* kBadNumbers =
    "Las unidades, el precio y el descuento deben ser números válidos";
inline constexpr const char* kNoLines = "No hay detalles de compra";
inline constexpr const char* kNoSupplier = "Debe indicar el proveedor de la compra";
inline constexpr const char* kBadDate = "La fecha no es válida";
inline constexpr const char* kNoEntryNumber = "Debe indicar el número de entrada";
inline constexpr const char* kSaveQuestion = "¿Desea guardar los cambios realizados?";
// An article removed from the catalogue while the purchase was on screen.
QString articleGoneMessage(const QString& code);

// ---- Supplier shown in the purchase ----
struct SupplierShown {
    qint64 id = 0;
    QString code;  // Codigo_Pro
    QString name;
};
std::optional<SupplierShown> supplierById(Database& db, qint64 id);

// ---- Entry number ----
// The next number of series EN after the last row of Entradas (no prefix filter).
QString proposeEntryNumber(Session& session);
bool entryNumberInUse(Database& db, const QString& number);

// ---- Work order a line is sent to ----
enum class WorkOrderState { Missing, Open, Invoiced };
WorkOrderState workOrderState(Database& db, const QString& number);
// The message that refuses sending lines to it; empty when it takes them.
QString workOrderRefusal(WorkOrderState state);

// ---- A line as typed ----
struct LineEntry {
    QVariant articleId;  // the article found for the code
    QString code;
    QString description;
    QString units;
    QString price;
    QString discount;
    QString workOrder;
};
struct CheckedLine {
    QString problem;  // empty when the line can be added
    DocumentLine line;
};
// Empty fields, unreadable numbers and a discount above 100 are refused with their message.
CheckedLine checkLine(const LineEntry& entry);

// ---- Saving ----
struct Header {
    QString number;    // NEntrada
    QString delivery;  // the supplier's NAlbaran
    QDate date;
    QVariant supplierId;  // Id_Pro
};
// What stops the purchase from being saved (no visible line, no supplier, a bad date, the
// number in use), or empty.
QString checkPurchase(Database& db, const Header& header, const std::vector<DocumentLine>& lines);
// In one transaction, per line not deleted, in order: an Entradas row; the article's stock
// raised by the units (lowered by a return) and its price, discount and supplier taken from
// the line; a MaterialesODT row when the line goes to a work order. Throws DbError (nothing
// stored) when the database fails or an article no longer exists.
void savePurchase(Database& db, const Header& header, const std::vector<DocumentLine>& lines);

// ---- Purchase list ----
const QList<GridColumn>& listColumns();
SqlStatement listAll();
// Options: 0 " Albaran", 1 " Entrada", 2 "Articulo", 3 "Proveedor", 4 "Fecha" (dd/mm/yyyy as
// shown), each a prefix match, newest first. The statement depends on how many entries the
// text matches (see purchases.cpp), so it is made against the database.
inline constexpr int kListOptions = 5;
QStringList listOptionCaptions();
SqlStatement listSearch(Database& db, int option, const QString& typed);
// Deletes one entry row; the article's stock and prices stay as they are.
void deleteEntry(Database& db, qint64 entryId);

}  // namespace torvane::purchases
