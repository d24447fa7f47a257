#pragma once

#include <QString>

#include "data/database.h"

namespace torvane::testing {

// Operators, suppliers and insurers put straight into a test database.
inline qint64 addOperator(Database& db, const QString& code, const QString& name = "PEPE") {
    return db.insert("INSERT INTO Operarios (Codigo, Nombre, NIF, Telefono1) VALUES (?,?,?,?)",
                     {code, name, "12345678Z", "911111111"});
}

inline qint64 addSupplier(Database& db, const QString& code, const QString& name = "RECAMBIOS",
                          const QString& nif = "B12345678") {
    return db.insert("INSERT INTO Proveedores (Codigo_Pro, Nombre, NIF) VALUES (?,?,?)",
                     {code, name, nif});
}

inline qint64 addInsurer(Database& db, const QString& code, const QString& name) {
    return db.insert("INSERT INTO Aseguradoras (Codigo, Nombre, NIF) VALUES (?,?,?)",
                     {code, name, "A28000000"});
}

}  // namespace torvane::testing
