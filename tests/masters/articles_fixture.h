#pragma once

#include <QString>
#include <QVariant>

#include "data/database.h"

namespace torvane::testing {

// Articles, families, warehouses, suppliers and movements in a test database.
inline qint64 addArticle(Database& db, const QString& code, const QString& name, double stock = 10,
                         double minimum = 5, double price = 12.5, const QString& family = {},
                         const QString& warehouse = {}, const QVariant& supplier = {}) {
    return db.insert(
        "INSERT INTO Articulos (Codigo, Nombre, StockInicial, StockMinimo, "
        "PrecioVenta, Descuento, Familia, Almacen, Id_Proveedor) "
        "VALUES (?,?,?,?,?,0,?,?,?)",
        {code, name, stock, minimum, price, family.isEmpty() ? QVariant() : family,
         warehouse.isEmpty() ? QVariant() : warehouse, supplier});
}

inline qint64 addFamily(Database& db, const QString& name) {
    return db.insert("INSERT INTO Familias (Familia) VALUES (?)", {name});
}

inline qint64 addWarehouse(Database& db, const QString& name) {
    return db.insert("INSERT INTO Almacenes (Almacen) VALUES (?)", {name});
}

inline qint64 addSupplier(Database& db, const QString& name) {
    return db.insert("INSERT INTO Proveedores (Nombre) VALUES (?)", {name});
}

}  // namespace torvane::testing
