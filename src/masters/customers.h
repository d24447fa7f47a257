#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <optional>

#include "core/field_binding.h"
#include "core/grid_column.h"
#include "core/sql_statement.h"
#include "data/database.h"

namespace torvane::customers {

using torvane::FieldBinding;

// Customer fields in screen order (the hidden key TxtId excluded).
const QList<FieldBinding>& customerFields();
// Vehicle fields (the hidden owner TxtIdCliVeh and the key excluded); the two
// date columns are shown dd/mm/yyyy and stored ISO.
const QList<FieldBinding>& vehicleFields();

// The text a customer or vehicle field shows for a stored column (see boundText).
QString fieldText(const Row& row, const QString& column);

// ---- Customers ----

// The first free code "0001", "0002", ... (gaps reused, lowest first; past
// "9999" the codes grow to five digits). One query reads the codes in use.
QString proposeCustomerCode(Database& db);
// The code for a number, as proposed: "7" -> "0007", "12345" -> "12345".
QString customerCodeFor(int n);

inline constexpr const char* kMandatoryCustomerFields =
    "Los campos Codigo Nombre y NIF son obligatorios";

// Row of column -> screen text; empty when the customer can be saved, else the message.
QString checkCustomer(const Row& values);
// Inserts (id invalid) or updates the customer; returns its id. Descuento is a
// number (empty text = no value); the other columns are stored as typed.
qint64 saveCustomer(Database& db, const QVariant& id, const Row& values);

// The document counts that block deleting a customer. They come from one query
// joining the four document tables, so a customer with documents in several
// tables gets each count multiplied by the others (the counts are reported as
// that query gives them).
struct DocumentCounts {
    qint64 partsInvoices = 0;    // Facturas
    qint64 vehicleInvoices = 0;  // FacturasCoches
    qint64 freeInvoices = 0;     // FacturasLibres
    qint64 workOrders = 0;       // ODTS
};
DocumentCounts countDocuments(Database& db, qint64 customerId);
// The message naming the first blocking reason; empty when nothing blocks.
QString deleteBlockedMessage(const DocumentCounts& counts);
// Deletes the customer unless its documents block it. Returns the blocking
// message (nothing deleted) or an empty text. Its vehicles stay.
QString deleteCustomer(Database& db, qint64 customerId);

// The customer list in the orders the screen uses.
enum class CustomerOrder { Stored, CodeValue, CodeText };
SqlStatement customerKeys(CustomerOrder order);

// ---- Vehicles ----

inline constexpr const char* kMandatoryVehicleFields =
    "Los campos Matrícula, Marca y Modelo son obligatorios";

QString checkVehicle(const Row& values);
// Inserts (id invalid) or updates; FechaVenta / FechaITV are given as shown
// (dd/mm/yyyy or empty) and stored ISO. Returns the vehicle id.
qint64 saveVehicle(Database& db, const QVariant& id, qint64 ownerId, const Row& values);
void deleteVehicle(Database& db, qint64 vehicleId);
void changeOwner(Database& db, qint64 vehicleId, qint64 newOwnerId);

// ---- Queries of the screens ----

SqlStatement vehiclesOf(qint64 customerId);
// The keys of vehiclesOf, in the same order; none for an invalid customer.
SqlStatement vehicleKeysOf(const QVariant& customerId);
// The grids' columns, one list per statement (the vehicle list is shown twice).
const QList<GridColumn>& vehicleColumns();
const QList<GridColumn>& partsColumns();
const QList<GridColumn>& workOrderColumns();
const QList<GridColumn>& jobColumns();
const QList<GridColumn>& materialColumns();
SqlStatement partsBoughtBy(qint64 customerId);
SqlStatement workOrdersOfVehicle(qint64 vehicleId);
SqlStatement jobsOfWorkOrder(const QString& workOrderNumber);
SqlStatement materialsOfWorkOrder(const QString& workOrderNumber);

// Customer search: 0 code, 1 NIF, 2 name, 3 a word inside the name, 4 plate.
inline constexpr int kCustomerSearchOptions = 5;
SqlStatement customerSearchInitial();
SqlStatement customerSearch(int option, const QString& typed);

// Vehicle search: 0 plate, 1 make, 2 model, 3 customer name. The tow report
// limits the list to one customer.
inline constexpr int kVehicleSearchOptions = 4;
SqlStatement vehicleSearchInitial(const QVariant& onlyCustomerId = {});
SqlStatement vehicleSearch(int option, const QString& typed);
// The "make  model" column of the vehicle search split back: make is the text
// before the first blank, model the text after the last blank.
std::pair<QString, QString> splitVehicleText(const QString& vehiculo);

// Vehicle history: the vehicle's work orders with the vehicle and its owner.
SqlStatement vehicleHistory(qint64 vehicleId);
SqlStatement historyJobs(const QString& workOrderNumber);
SqlStatement historyMaterials(const QString& workOrderNumber);

}  // namespace torvane::customers
