// Killed while it stores receipts, saves or deletes a commission invoice, the database
// never holds part of one. `make torture` runs it long.
#include <gtest/gtest.h>

#include "billing_fixture.h"
#include "support/second_program.h"
#include "support/temp_home.h"

using namespace torvane;
using namespace torvane::testing;

namespace {

TEST(Torture, ReceiptsAndCommissionsKilledWhileWritingAreWhole) {
    TempHome home;
    Database& db = home.db();
    addClient(db, "GARCIA");
    const QString path = home.session().databasePath();
    int writes = 0;
    killRepeatedly(
        tortureRounds(10, 200), 21, 80, 380,
        [&](int round) {
            return QStringList{"receipts", home.folder(), path, QString::number(round + 1)};
        },
        [&] {
            expectIntact(db);
            // Every store holds as many receipts as its terms give ("..., N3").
            expectNoRows(db,
                         "SELECT NFactura FROM (SELECT NFactura, COUNT(*) AS n FROM Recibos "
                         "GROUP BY NFactura) WHERE NFactura NOT LIKE '%, N' || n");
            expectNoRows(db, "SELECT NRecibo FROM Recibos GROUP BY NRecibo HAVING COUNT(*) > 1");
            expectNoRows(db,
                         "SELECT NFactura FROM SalidasComisiones s WHERE NOT EXISTS "
                         "(SELECT 1 FROM Comisiones c WHERE c.NFactura = s.NFactura)");
            expectNoRows(db,
                         "SELECT NFactura FROM Comisiones c WHERE NOT EXISTS "
                         "(SELECT 1 FROM SalidasComisiones s WHERE s.NFactura = c.NFactura)");
            writes = db.scalar(
                           "SELECT (SELECT COUNT(*) FROM Recibos) + "
                           "(SELECT COUNT(*) FROM Comisiones)")
                         .toInt();
        });
    // The program did write between the kills.
    EXPECT_GT(writes, 0);
}

}  // namespace
