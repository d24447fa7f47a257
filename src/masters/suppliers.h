#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include "core/field_binding.h"
#include "core/grid_column.h"
#include "core/sql_statement.h"
#include "data/database.h"

namespace torvane::suppliers {

// Supplier fields in screen order (the hidden key TxtId excluded).
const QList<FieldBinding>& supplierFields();

inline constexpr const char* kMandatorySupplierFields =
    "Los campos Codigo Nombre y NIF son obligatorios";

// The first free code "0001", "0002", ...
QString proposeSupplierCode(Database& db);
QString checkSupplier(const Row& values);
qint64 saveSupplier(Database& db, const QVariant& id, const Row& values);
// Purchases and articles that name the supplier stay.
void deleteSupplier(Database& db, qint64 id);

SqlStatement supplierKeys();
// The supplier's purchases (history tab).
SqlStatement purchasesOf(qint64 supplierId);
const QList<GridColumn>& purchaseColumns();

// Supplier search: 0 code, 1 NIF, 2 name, 3 a word inside the name.
SqlStatement supplierSearchInitial();
SqlStatement supplierSearch(int option, const QString& typed);
const QList<GridColumn>& supplierSearchColumns();

// What the supplier search prints for an origin: "Informe" lists the supplier's
// articles; any origin but "Proveedores" and "Compras" is a date-range formula
// from the listings screen, narrowed to the supplier.
struct SupplierListing {
    QString file;  // empty: the origin prints nothing
    QString formula;
};
SupplierListing supplierListing(const QString& origin, qint64 supplierId);

}  // namespace torvane::suppliers
