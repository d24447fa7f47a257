#pragma once

#include <QString>
#include <QStringList>

#include "core/money.h"
#include "data/database.h"

namespace torvane::testing {

// Rows the collections and free invoices work on, written as the invoicing screens
// leave them.
inline qint64 addClient(Database& db, const QString& name,
                        const QString& code = QStringLiteral("0001")) {
    return db.insert(
        "INSERT INTO Clientes (Codigo, Nombre, NIF, Direccion, CP, Localidad, Provincia) "
        "VALUES (?, ?, '12345678Z', 'C/ MAYOR 1', '46001', 'VALENCIA', 'VALENCIA')",
        {code, name});
}

// A work-order invoice over the given work orders of one customer.
inline void addWorkOrderInvoice(Database& db, const QString& number, const QString& isoDate,
                                qint64 customer, Money amount, Money paid = {},
                                int workOrders = 1) {
    db.insert(
        "INSERT INTO FacturasODT (NFactura, Fecha, Base, IVA, Importe, Pagado) "
        "VALUES (?, ?, 0, 0, ?, ?)",
        {number, isoDate, amount.toDb(), paid.toDb()});
    for (int i = 0; i < workOrders; ++i)
        db.insert(
            "INSERT INTO ODTS (NODT, Fecha, Id_Cli, NAlbaran, NFactura, Interna) "
            "VALUES (?, ?, ?, 'No', ?, 'No')",
            {number + QStringLiteral("-ODT") + QString::number(i), isoDate, customer, number});
}

// A parts-sale invoice over delivery notes with the given totals.
inline void addPartsInvoice(Database& db, const QString& number, const QString& isoDate,
                            qint64 customer, Money total, const QList<Money>& notes,
                            Money paid = {}) {
    db.insert("INSERT INTO Facturas (Id_Fac, Fecha, Id_Cli, Total, Pagado) VALUES (?, ?, ?, ?, ?)",
              {number, isoDate, customer, total.toDb(), paid.toDb()});
    int n = 0;
    for (Money note : notes)
        db.insert(
            "INSERT INTO Albaranes (Id_Alb, Fecha, Id_Cli, NFactura, Total) VALUES (?, ?, ?, ?, ?)",
            {number + QStringLiteral("-AR") + QString::number(n++), isoDate, customer, number,
             note.toDb()});
}

inline Money eur(double euros) {
    return Money::fromDouble(euros);
}

}  // namespace torvane::testing
