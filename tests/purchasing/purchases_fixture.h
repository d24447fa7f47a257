#pragma once

#include <QString>

#include "data/database.h"
#include "masters/master_files_fixture.h"

namespace torvane::testing {

// Articles and work orders put straight into a test database.
inline qint64 addArticle(Database& db, const QString& code, const QString& name, double stock,
                         double price = 10, double discount = 0) {
    return db.insert(
        "INSERT INTO Articulos (Codigo, Nombre, StockInicial, PrecioVenta, Descuento) "
        "VALUES (?,?,?,?,?)",
        {code, name, stock, price, discount});
}

inline qint64 addWorkOrder(Database& db, const QString& number, const QString& invoice = "No") {
    const qint64 cli = db.insert("INSERT INTO Clientes (Codigo, Nombre) VALUES ('C', 'CLIENTE')");
    return db.insert(
        "INSERT INTO ODTS (NODT, Fecha, Id_Cli, Id_Coche, Interna, NAlbaran, NFactura) "
        "VALUES (?, '2008-03-01', ?, 0, 'No', 'No', ?)",
        {number, cli, invoice});
}

inline qint64 addEntry(Database& db, const QString& number, const QString& delivery,
                       const QString& date, qint64 supplier, qint64 article, double units = 1,
                       double price = 10, double discount = 0) {
    return db.insert(
        "INSERT INTO Entradas (NEntrada, NAlbaran, Fecha, Id_Pro, Id_Art, Cantidad, Precio, "
        "Descuento) VALUES (?,?,?,?,?,?,?,?)",
        {number, delivery, date, supplier, article, units, price, discount});
}

}  // namespace torvane::testing
