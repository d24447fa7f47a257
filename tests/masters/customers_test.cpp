#include "masters/customers.h"

#include <gtest/gtest.h>
#include <QSqlQuery>
#include <tuple>

#include "customers_fixture.h"
#include "support/temp_home.h"

using namespace torvane;
using namespace torvane::testing;
namespace cu = torvane::customers;

namespace {

TEST(CustomerCode, FirstFreeCodeReusesGaps) {
    const std::tuple<QStringList, const char*> cases[] = {
        {QStringList(), "0001"},
        {{"0001", "0003"}, "0002"},
        // Codes that are not exactly a candidate do not take its place.
        {{"1", "01", "001", "00001", "0000", "ABCD", "0001A", "0001"}, "0002"},
        // Duplicates typed over a proposal count once.
        {{"0001", "0001", "0002"}, "0003"},
    };
    for (const auto& [existing, expected] : cases) {
        TempHome home;
        for (const QString& code : existing) addCustomer(home.db(), code, "X");
        EXPECT_EQ(cu::proposeCustomerCode(home.db()), QString::fromLatin1(expected))
            << existing.join(",").toStdString();
    }
}

TEST(CustomerCode, GrowsToFiveDigitsPastTheLastFourDigitCode) {
    TempHome home;
    Database::Transaction t(home.db());
    for (int n = 1; n <= 9999; ++n) addCustomer(home.db(), cu::customerCodeFor(n), "X");
    t.commit();
    EXPECT_EQ(cu::proposeCustomerCode(home.db()), "10000");
    home.db().exec("DELETE FROM Clientes WHERE Codigo = '0500'");
    EXPECT_EQ(cu::proposeCustomerCode(home.db()), "0500");
}

TEST(CustomerRecord, MandatoryFieldsAndDiscount) {
    const QString mandatory = "Los campos Codigo Nombre y NIF son obligatorios";
    const std::tuple<const char*, const char*, const char*, const char*, QString> cases[] = {
        {"0001", "GARCIA", "12345678Z", "12,5", ""},
        {"", "GARCIA", "12345678Z", "", mandatory},
        // A discount that does not read is told before anything is written.
        {"0001", "GARCIA", "12345678Z", "1,2,3", "El importe no es válido: 1,2,3"},
    };
    for (const auto& [code, name, nif, discount, message] : cases) {
        const Row values{{"Codigo", code}, {"Nombre", name}, {"NIF", nif}, {"Descuento", discount}};
        EXPECT_EQ(cu::checkCustomer(values), message) << code << "|" << name << "|" << nif;
    }
}

// A text, a number and an emptied text column; the emptied discount on saving again.
TEST(CustomerRecord, SaveInsertsThenUpdates) {
    TempHome home;
    Row values{{"Codigo", "0001"},
               {"Nombre", "GARCIA"},
               {"DiaDePago", "5"},
               {"Descuento", "15"},
               {"Fax", ""}};
    const qint64 id = cu::saveCustomer(home.db(), {}, values);
    auto row = home.db().firstRow("SELECT * FROM Clientes WHERE Id_Cli = ?", {id});
    ASSERT_TRUE(row);
    EXPECT_EQ(row->value("DiaDePago").toString(), "5");
    EXPECT_EQ(cu::fieldText(*row, "Descuento"), "15");
    EXPECT_TRUE(row->value("Fax").isNull());

    values["Descuento"] = "";
    EXPECT_EQ(cu::saveCustomer(home.db(), id, values), id);
    EXPECT_TRUE(home.db().scalar("SELECT Descuento FROM Clientes").isNull());
}

// Puts n rows of a document table for the customer.
void addDocuments(Database& db, const char* table, qint64 customer, int n) {
    const QString t = QString::fromLatin1(table);
    const char* key = t == "Facturas" ? "Id_Fac" : t == "ODTS" ? "NODT" : "NFactura";
    for (int i = 0; i < n; ++i)
        db.exec(QString("INSERT INTO %1 (%2, Id_Cli) VALUES (?,?)").arg(t, key),
                {QString("%1-%2").arg(t).arg(i), customer});
}

TEST(CustomerDelete, FirstBlockingReasonWithTheCountTheJoinGives) {
    // The customer's documents of each kind, then the count and the documents the message
    // names (0: deleted).
    const std::tuple<int, int, int, int, int, const char*> cases[] = {
        {0, 0, 0, 0, 0, ""},
        {1, 0, 0, 0, 1, "Facturas"},
        {0, 1, 0, 0, 1, "Facturas de venta de Vehiculos"},
        {0, 0, 0, 2, 2, "Ordenes de trabajo"},
        // One free invoice and two work orders: only the free invoices are named,
        // counted once per work order by the join.
        {0, 0, 1, 2, 2, "Facturas libres"},
    };
    for (const auto& [parts, vehicles, free, orders, named, what] : cases) {
        TempHome home;
        auto& db = home.db();
        const qint64 id = addCustomer(db, "0001", "GARCIA");
        const qint64 other = addCustomer(db, "0002", "OTRO");
        addDocuments(db, "Facturas", other, 2);  // another customer's documents never count
        addDocuments(db, "Facturas", id, parts);
        addDocuments(db, "FacturasCoches", id, vehicles);
        addDocuments(db, "FacturasLibres", id, free);
        addDocuments(db, "ODTS", id, orders);
        addVehicle(db, id, "1234ABC", "SEAT", "IBIZA");
        const QString message =
            QString("No se puede eliminar este cliente porque tiene %1 %2 a su nombre.")
                .arg(named)
                .arg(what);
        EXPECT_EQ(cu::deleteCustomer(db, id), named ? message : QString())
            << parts << vehicles << free << orders;
        EXPECT_EQ(db.scalar("SELECT count(*) FROM Clientes WHERE Id_Cli = ?", {id}).toInt(),
                  named == 0 ? 0 : 1);
        // Vehicles are never deleted with their owner.
        EXPECT_EQ(db.scalar("SELECT count(*) FROM Vehiculos").toInt(), 1);
    }
}

TEST(VehicleRecord, CheckAndSaveDates) {
    const std::tuple<const char*, const char*, const char*, const char*, const char*> checks[] = {
        {"1234ABC", "SEAT", "IBIZA", "", ""},
        {"", "SEAT", "IBIZA", "", "Los campos Matrícula, Marca y Modelo son obligatorios"},
        {"1234ABC", "SEAT", "IBIZA", "31/02/2008", "La fecha no es válida"},
    };
    for (const auto& [plate, make, model, sold, message] : checks) {
        const Row v{{"Matricula", plate}, {"Marca", make}, {"Modelo", model}, {"FechaVenta", sold}};
        EXPECT_EQ(cu::checkVehicle(v), QString::fromUtf8(message)) << plate << model << sold;
    }

    TempHome home;
    auto& db = home.db();
    const qint64 a = addCustomer(db, "0001", "A");
    Row v{{"Matricula", "1234ABC"},     {"Marca", "SEAT"}, {"Modelo", "IBIZA"},
          {"FechaVenta", "05/03/2008"}, {"FechaITV", ""},  {"Notas", "RUIDO"}};
    const qint64 veh = cu::saveVehicle(db, {}, a, v);

    v["FechaITV"] = "1/6/2009";
    cu::saveVehicle(db, veh, a, v);
    EXPECT_EQ(db.scalar("SELECT FechaITV FROM Vehiculos WHERE Id_Veh = ?", {veh}).toString(),
              "2009-06-01");
}

// Rows of a statement as "col0|col1|..." strings.
QStringList resultOf(Database& db, const SqlStatement& s, const QStringList& columns) {
    QStringList out;
    QSqlQuery q = db.execForward(s.sql, s.params);
    while (q.next()) {
        QStringList parts;
        for (const QString& c : columns) parts << q.value(c).toString();
        out << parts.join("|");
    }
    return out;
}

// The customer search's options, and the vehicle list joining make and model with two blanks.
TEST(CustomerSearch, EachOptionMatchesAndVehiclesShowMakeAndModel) {
    TempHome home;
    auto& db = home.db();
    const qint64 garcia = addCustomer(db, "0001", "JUAN GARCIA LOPEZ", "11111111H");
    const qint64 garcilaso = addCustomer(db, "0002", "GARCILASO VEGA", "22222222J");
    addCustomer(db, "0010", "PAT", "B12345678");
    addCustomer(db, "0100", "ANA 50% SUR", "33333333P");
    addVehicle(db, garcia, "1234ABC", "SEAT", "IBIZA");
    addVehicle(db, garcilaso, "1299XYZ", "FORD", QVariant());  // no model

    const std::tuple<int, const char*, QStringList> cases[] = {
        {0, "", {"0001", "0002", "0010", "0100"}},
        {1, "B1", {"0010"}},
        {2, "garci", {"0002"}},       // prefix of the name only, in any case
        {4, "12", {"0001", "0002"}},  // through the plate
        {2, "%GARCIA", {"0001"}},     // the user's own wildcard
    };
    for (const auto& [option, typed, codes] : cases) {
        EXPECT_EQ(resultOf(db, cu::customerSearch(option, typed), {"Codigo"}), codes)
            << option << " '" << typed << "'";
    }

    EXPECT_EQ(
        resultOf(db, cu::vehicleSearchInitial(), {"Matricula", "Vehiculo", "Cliente"}),
        (QStringList{"1234ABC|SEAT  IBIZA|JUAN GARCIA LOPEZ", "1299XYZ|FORD  |GARCILASO VEGA"}));
    const std::tuple<const char*, const char*, const char*> splits[] = {
        {"SEAT  IBIZA", "SEAT", "IBIZA"}, {"SEAT  LEON FR", "SEAT", "FR"}, {"MINI", "MINI", ""}};
    for (const auto& [text, make, model] : splits)
        EXPECT_EQ(cu::splitVehicleText(text), std::make_pair(QString(make), QString(model)))
            << text;
}

}  // namespace
