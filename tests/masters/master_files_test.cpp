#include <gtest/gtest.h>
#include <tuple>

#include "core/record_store.h"
#include "master_files_fixture.h"
#include "masters/insurers.h"
#include "masters/operators.h"
#include "masters/suppliers.h"
#include "support/temp_home.h"

using namespace torvane;
using namespace torvane::testing;
namespace op = torvane::operators;
namespace su = torvane::suppliers;
namespace in = torvane::insurers;

namespace {

// Operators take the last stored code plus one. Suppliers take the first free four-digit code
// as customers do (CustomerCode's); ProveedoresScreen proposes it.
TEST(ProposedCodes, OperatorsFollowTheLastStoredCode) {
    // The codes in the order they were stored, then the code proposed.
    const std::tuple<QStringList, const char*> cases[] = {
        {QStringList(), ""},
        {{"1", "A3"}, ""},
        {{"A3", "4"}, "5"},  // the last stored, not the highest
        {{"009"}, "10"},     // a plain number, not padded
    };
    for (const auto& [codes, expected] : cases) {
        TempHome home;
        for (const QString& code : codes) addOperator(home.db(), code);
        EXPECT_EQ(op::proposeOperatorCode(home.db()), QString::fromLatin1(expected))
            << codes.join(",").toStdString();
    }
}

// Suppliers and insurers list their columns for the same check; their screens refuse a missing
// NIF with their own message.
TEST(MandatoryFields, EachOperatorColumnIsNeeded) {
    const Row full = {{"Codigo", "7"},     {"Nombre", "PEPE"}, {"NIF", "1Z"},
                      {"Telefono1", "91"}, {"Telefono2", ""},  {"Movil", ""}};
    EXPECT_EQ(op::checkOperator(full), "");
    for (const char* column : {"Codigo", "Nombre", "NIF", "Telefono1"}) {
        Row missing = full;
        missing[column] = QStringLiteral("  ");
        EXPECT_EQ(op::checkOperator(missing),
                  QString::fromUtf8("Los campos Codigo, Nombre, NIF y Teléfono1 son obligatorios"))
            << column;
    }
}

TEST(OperatorRecord, DatesAndHourlyCostAreStoredAsValues) {
    TempHome home;
    Row values = {{"Codigo", "1"},     {"Nombre", "PEPE"},           {"NIF", "12345678Z"},
                  {"Telefono1", "91"}, {"Fecha_Alta", "05/03/2008"}, {"PrecioHora", "30,5"}};
    EXPECT_EQ(op::checkOperator(values), "");
    const qint64 id = op::saveOperator(home.db(), {}, values);
    const char* sql = "SELECT * FROM Operarios WHERE Id_Ope = ?";
    auto row = home.db().firstRow(sql, {id});
    ASSERT_TRUE(row);
    EXPECT_EQ(row->value("Fecha_Alta").toString(), "2008-03-05");
    EXPECT_EQ(row->value("PrecioHora"), QVariant(30.5));

    values["Fecha_Alta"] = "";
    values["PrecioHora"] = "";
    op::saveOperator(home.db(), id, values);
    row = home.db().firstRow(sql, {id});
    EXPECT_TRUE(row->value("Fecha_Alta").isNull());
    EXPECT_TRUE(row->value("PrecioHora").isNull());
}

TEST(Searches, BindTheTypedTextAndSearchTheRightColumn) {
    TempHome home;
    addOperator(home.db(), "1", "JUAN GARCIA");
    addOperator(home.db(), "2", "GARCIA PEREZ");
    home.db().exec("UPDATE Operarios SET Departamento = 'CHAPA' WHERE Codigo = '2'");
    addSupplier(home.db(), "0001", "AUTO O'NEILL", "B111");
    addSupplier(home.db(), "0002", "DISTRIBUCIONES NORTE", "A222");
    addInsurer(home.db(), "MAP", "MAPFRE");
    addInsurer(home.db(), "ALL", "ALLIANZ");
    // The second column of each row found.
    // The option each screen test types (suppliers 3, insurers 0) is left to it.
    const std::tuple<SqlStatement, QStringList> cases[] = {
        {op::operatorSearch(0, "1"), {"1"}},      {op::operatorSearch(2, "GARCIA"), {"1"}},
        {op::operatorSearch(3, "CH"), {"2"}},     {su::supplierSearch(0, "0002"), {"0002"}},
        {su::supplierSearch(1, "B"), {"0001"}},   {su::supplierSearch(2, "AUTO O'"), {"0001"}},
        {su::supplierSearch(3, "AUTO"), {}},      {in::insurerSearch(1, "ALLI"), {"ALL"}},
        {op::operatorSearch(1, "garcia"), {"2"}},
    };
    for (const auto& [statement, expected] : cases) {
        QStringList got;
        QSqlQuery q = home.db().execForward(statement.sql, statement.params);
        while (q.next()) got << q.value(1).toString();
        EXPECT_EQ(got, expected) << statement.sql.toStdString();
    }
}

TEST(SupplierListing, OriginChoosesTheReport) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"Compras", "", ""},
        {"Informe", "\\QARVOARTICULOS.rpt", "{Proveedores.Id_Pro}=12"},
        {"{Entradas.Fecha} in DateTime (2008,1,1,00, 00, 00) to DateTime (2008,1,31,00, 00, 00)",
         "\\qarvolentrp.rpt",
         "{Entradas.Fecha} in DateTime (2008,1,1,00, 00, 00) to DateTime (2008,1,31,00, 00, 00) "
         "and {Proveedores.Id_Pro}=12"},
    };
    for (const auto& [origin, file, formula] : cases) {
        const auto listing = su::supplierListing(QString::fromUtf8(origin), 12);
        EXPECT_EQ(listing.file, QString::fromUtf8(file)) << origin;
        EXPECT_EQ(listing.formula, QString::fromUtf8(formula)) << origin;
    }
}

// Reading a missing row as zeros and storing through the screen are AseguradorasScreen's.
TEST(Tariffs, SavingAgainRewritesTheInsurersOwnRow) {
    TempHome home;
    const qint64 a = addInsurer(home.db(), "A", "UNA");
    const qint64 b = addInsurer(home.db(), "B", "OTRA");
    QList<Money> amounts(in::kTariffFieldCount, Money::whole(1));
    in::saveTariff(home.db(), b, amounts);
    amounts[28] = *Money::parse("12,5");
    in::saveTariff(home.db(), a, amounts);
    amounts[0] = Money::whole(50);
    in::saveTariff(home.db(), a, amounts);  // the same row again
    EXPECT_EQ(home.db().scalar("SELECT count(*) FROM Tarifas").toInt(), 2);
    EXPECT_EQ(in::loadTariff(home.db(), a).amounts, amounts);
    EXPECT_EQ(home.db().scalar("SELECT UTL FROM Tarifas WHERE Id_Ase = ?", {b}).toDouble(), 1.0);
    EXPECT_EQ(in::checkTariff({"1", "x"}), "El importe no es válido: x");
}

}  // namespace
