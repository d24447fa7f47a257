#pragma once

#include <gtest/gtest.h>

#include <QDate>
#include <QString>
#include <QVariant>

#include "core/money.h"
#include "core/session.h"
#include "data/database.h"
#include "support/temp_home.h"

namespace torvane::testing {

// A work order as the list and the invoicing see it, inserted straight into ODTS.
struct OrderRow {
    QString number{};
    qint64 customer = 0;
    qint64 vehicle = 0;
    QString date = QStringLiteral("2008-03-05");
    QString internal = QStringLiteral("No");
    QString nominal = QStringLiteral("0");  // as typed: "100", "250,50"
    QString invoice = QStringLiteral("No");
    QString deliveryNote = QStringLiteral("No");
    bool estimate = false;
};

inline qint64 insertOrder(Database& db, const OrderRow& o) {
    return db.insert(
        "INSERT INTO ODTS (NODT, Fecha, FechaEntrega, Id_Cli, Id_Coche, Kilometros, Presupuesto, "
        "NPresupuesto, NAlbaran, NFactura, Nominal, Interna) VALUES (?,?,?,?,?,?,?,?,?,?,?,?)",
        {o.number, o.date, o.date, o.customer, o.vehicle, 1000, o.estimate ? 1 : 0, "No",
         o.deliveryNote, o.invoice, Money::parse(o.nominal).value_or(Money()).toDb(), o.internal});
}

inline qint64 insertCustomer(Database& db, const QString& name) {
    return db.insert("INSERT INTO Clientes (Codigo, Nombre, NIF) VALUES (?,?,?)",
                     {name.left(4), name, "12345678Z"});
}

inline qint64 insertVehicle(Database& db, qint64 owner, const QString& plate,
                            const QString& make = QStringLiteral("SEAT"),
                            const QString& model = QStringLiteral("IBIZA")) {
    return db.insert("INSERT INTO Vehiculos (Id_Cli, Matricula, Marca, Modelo) VALUES (?,?,?,?)",
                     {owner, plate, make, model});
}

// A fresh workshop dated 5 March 2008 (prefixes FR08/03/, AL08/03/).
class WorkOrderListTest : public ::testing::Test {
  protected:
    WorkOrderListTest() { home.session().setToday(QDate(2008, 3, 5)); }
    Session& session() { return home.session(); }
    Database& db() { return home.db(); }
    int count(const char* sql, const QVariantList& params = {}) {
        return db().scalar(sql, params).toInt();
    }
    QString text(const char* sql, const QVariantList& params = {}) {
        return db().scalar(sql, params).toString();
    }
    Money money(const char* sql, const QVariantList& params = {}) {
        return Money::fromDb(db().scalar(sql, params));
    }
    QString invoiceOf(const QString& number) {
        return text("SELECT NFactura FROM ODTS WHERE NODT = ?", {number});
    }
    TempHome home;
};

}  // namespace torvane::testing
