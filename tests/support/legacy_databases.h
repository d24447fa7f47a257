#pragma once

#include <QString>

#include "data/database.h"

namespace torvane::testing {

// Databases as older versions of the program left them.
enum class OldFormat {
    Current,
    NoIdProveedor,         // Articulos lacks Id_Proveedor
    NoTotal,               // Facturas lacks Total
    NoIdProveedorNoTotal,  // both
    IdProveedorMisplaced,  // Articulos.Id_Proveedor exists, but as the 12th column
};

// Creates a fresh database at path (which must not exist) and reshapes it.
void makeDatabaseInFormat(const QString& path, OldFormat format);
// Reshapes an open database.
void reshape(Database& db, OldFormat format);
void dropAllViews(Database& db);
// Takes the invoice records' tables and triggers away, as a file of version 6 had none.
void dropInvoiceRecords(Database& db);
// A file of the program folder's kind: text renamed, cut short, old Jet file.
void writeBytes(const QString& path, const QByteArray& bytes);

}  // namespace torvane::testing
