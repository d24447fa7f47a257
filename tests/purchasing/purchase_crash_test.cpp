// A purchase saved by a second program killed at random points: every purchase is stored
// whole (20 entry rows, its stock and its 10 material rows) or not at all. The suite runs a
// few kills; `make torture` sets TORVANE_TORTURE and runs 200.
#include <gtest/gtest.h>
#include <QElapsedTimer>

#include "core/session.h"
#include "purchases_fixture.h"
#include "support/second_program.h"
#include "support/temp_home.h"

using namespace torvane;
using namespace torvane::testing;

namespace {

TEST(Torture, APurchaseKilledWhileSavingIsStoredWholeOrNotAtAll) {
    TempHome home;
    const QString path = home.session().databasePath();
    addSupplier(home.db(), "0001", "NORTE");
    for (int i = 0; i < 7; ++i) addArticle(home.db(), QStringLiteral("A%1").arg(i), "PIEZA", 0);
    addWorkOrder(home.db(), "ODT/CRASH");
    home.session().closeDatabase();

    // How long one purchase takes in a program of its own, to spread the kills over it.
    QElapsedTimer timer;
    timer.start();
    auto whole = startHelper({"purchases", path, "1"});
    ASSERT_TRUE(whole->waitForFinished(60000));
    ASSERT_EQ(whole->exitCode(), 0);
    const int span = int(std::max<qint64>(timer.elapsed(), 20));

    killRepeatedly(
        tortureRounds(10, 200), 19, 0, span * 3,
        [&](int) {
            Database db;
            EXPECT_TRUE(db.open(path));
            db.exec("DELETE FROM Entradas");
            db.exec("DELETE FROM MaterialesODT");
            db.exec("UPDATE Articulos SET StockInicial = 0");
            return QStringList{"purchases", path, "3"};
        },
        [&] {
            Database db;
            ASSERT_TRUE(db.open(path));
            expectIntact(db);
            // Only whole purchases.
            expectNoRows(db,
                         "SELECT NEntrada FROM Entradas GROUP BY NEntrada HAVING count(*) <> 20");
            const int stored = db.scalar("SELECT count(DISTINCT NEntrada) FROM Entradas").toInt();
            EXPECT_EQ(db.scalar("SELECT count(*) FROM MaterialesODT").toInt(), stored * 10);
            // Every article's stock is what its stored entries brought.
            expectNoRows(db,
                         "SELECT Id_Art FROM Articulos WHERE StockInicial <> "
                         "(SELECT coalesce(sum(Cantidad), 0) FROM Entradas "
                         "WHERE Entradas.Id_Art = Articulos.Id_Art)");
        });
}

}  // namespace
