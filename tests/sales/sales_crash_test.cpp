// A second program sells, invoices and deletes on the same file and is killed at
// random points; after each kill the file must hold whole steps only.
// `make torture` sets TORVANE_TORTURE and runs it long.
#include <gtest/gtest.h>

#include "sales/counter_sale.h"
#include "sales_fixture.h"
#include "support/second_program.h"
#include "support/temp_home.h"

using namespace torvane;
using namespace torvane::testing;

namespace {

constexpr double kStartStock = 1000;

// What a killed sale must never leave behind.
void expectWholeSteps(Database& db) {
    expectWholeDocuments(db);
    // Every line moved its units: stock plus the units sold is what there was.
    expectNoRows(db, QStringLiteral("SELECT Id_Art FROM Articulos WHERE StockInicial + "
                                    "IFNULL((SELECT SUM(Cantidad) FROM Salidas WHERE "
                                    "Salidas.Id_Art = Articulos.Id_Art), 0) <> %1")
                         .arg(kStartStock));
    // An invoice is its notes' total.
    for (const Row& f : db.rows("SELECT Id_Fac, Total FROM Facturas")) {
        Money notes;
        for (const Row& n :
             db.rows("SELECT Total FROM Albaranes WHERE NFactura = ?", {f["Id_Fac"]}))
            notes += Money::fromDb(n["Total"]);
        EXPECT_EQ(Money::fromDb(f["Total"]), notes) << f["Id_Fac"].toString().toStdString();
    }
    // A stored header holds the totals of its stored lines.
    for (const Row& h : db.rows("SELECT Id_Alb, Nominal, IVA, Total FROM Albaranes")) {
        std::vector<DocumentLine> lines;
        for (sales::SaleLine& s : sales::linesOf(db, h["Id_Alb"].toString()))
            lines.push_back(std::move(s.line));
        const sales::SaleTotals t = sales::totalsOf(lines, Quantity::whole(16));
        EXPECT_EQ(Money::fromDb(h["Nominal"]), t.sum) << h["Id_Alb"].toString().toStdString();
        EXPECT_EQ(Money::fromDb(h["IVA"]), t.vat);
        EXPECT_EQ(Money::fromDb(h["Total"]), t.total);
    }
}

TEST(Torture, KilledSalesLeaveWholeSteps) {
    TempHome home;
    Database& db = home.db();
    for (int i = 0; i < 3; ++i) addCustomer(db, QStringLiteral("C%1").arg(i), "CLIENTE");
    for (int i = 0; i < 5; ++i) addArticle(db, QStringLiteral("A%1").arg(i), "PIEZA", kStartStock);
    const QString path = home.session().databasePath();
    home.session().closeDatabase();
    killRepeatedly(
        tortureRounds(10, 200), 29, 60, 360,
        [&](int round) {
            return QStringList{"sales", home.folder(), path, QString::number(round + 1)};
        },
        [&] {
            ASSERT_TRUE(home.session().openDatabase(path));
            expectWholeSteps(home.db());
            home.session().closeDatabase();
        });
    ASSERT_TRUE(home.session().openDatabase(path));
    // The helper got through real work.
    EXPECT_GT(home.db().scalar("SELECT COUNT(*) FROM Salidas").toInt(), 0);
    EXPECT_GT(home.db().scalar("SELECT COUNT(*) FROM Facturas").toInt(), 0);
}

}  // namespace
