#pragma once

#include <QString>
#include <QVariant>

#include "data/database.h"

namespace torvane::testing {

// Small helpers to put customers, vehicles and documents in a test database.
inline qint64 addCustomer(Database& db, const QString& code, const QString& name,
                          const QString& nif = QStringLiteral("12345678Z")) {
    return db.insert("INSERT INTO Clientes (Codigo, Nombre, NIF) VALUES (?,?,?)",
                     {code, name, nif});
}

inline qint64 addVehicle(Database& db, qint64 owner, const QString& plate, const QString& make,
                         const QVariant& model) {
    return db.insert("INSERT INTO Vehiculos (Id_Cli, Matricula, Marca, Modelo) VALUES (?,?,?,?)",
                     {owner, plate, make, model});
}

inline qint64 addWorkOrder(Database& db, qint64 customer, qint64 vehicle, const QString& number,
                           const QString& isoDate = QStringLiteral("2008-03-05"),
                           double amount = 0) {
    return db.insert(
        "INSERT INTO ODTS (NODT, Fecha, Id_Cli, Id_Coche, Kilometros, NAlbaran, NFactura, Nominal) "
        "VALUES (?,?,?,?,?,?,?,?)",
        {number, isoDate, customer, vehicle, 120000, "No", "No", amount});
}

}  // namespace torvane::testing
