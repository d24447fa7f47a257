#pragma once

#include <QString>

#include "data/database.h"
#include "masters/articles_fixture.h"

namespace torvane::testing {

// A customer with one vehicle; returns the vehicle's id.
inline qint64 addCustomerWithVehicle(Database& db, const QString& name = "JUAN PEREZ",
                                     const QString& plate = "1234-BCD") {
    const qint64 customer = db.insert(
        "INSERT INTO Clientes (Codigo, Nombre, Apellido1, Telefono, Movil) VALUES (?,?,?,?,?)",
        {"0001", name, "TALLERES PEREZ", "961234567", "600123456"});
    return db.insert("INSERT INTO Vehiculos (Id_Cli, Matricula, Marca, Modelo) VALUES (?,?,?,?)",
                     {customer, plate, "SEAT", "IBIZA"});
}

inline void addOperator(Database& db, const QString& code, const QString& name,
                        const QString& department) {
    db.exec("INSERT INTO Operarios (Codigo, Nombre, Departamento) VALUES (?,?,?)",
            {code, name, department});
}

inline void addDepartment(Database& db, const QString& name, double price) {
    db.exec("INSERT INTO PreciosHora (Departamento, Precio) VALUES (?,?)", {name, price});
}

inline double stockOf(Database& db, const QString& code) {
    return db.scalar("SELECT StockInicial FROM Articulos WHERE Codigo = ?", {code}).toDouble();
}

}  // namespace torvane::testing
