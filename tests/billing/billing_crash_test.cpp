// Killed while it pays, removes a payment, invoices or deletes a free invoice, stores
// receipts, saves or deletes a commission invoice, the database never holds a Pagado out
// of step with its payments, nor part of a document. `make torture` runs it long.
#include <gtest/gtest.h>

#include "billing_fixture.h"
#include "support/second_program.h"
#include "support/temp_home.h"

using namespace torvane;
using namespace torvane::testing;

namespace {

// Every invoice whose Pagado is not the exact sum of its payments.
QStringList paidOutOfStep(Database& db) {
    QStringList out;
    for (const Row& r : db.rows("SELECT NFactura AS n, Pagado FROM FacturasODT UNION ALL "
                                "SELECT Id_Fac, Pagado FROM Facturas")) {
        Money sum;
        for (const Row& c : db.rows("SELECT Cantidad FROM Cobros WHERE NFactura = ?", {r["n"]}))
            sum += Money::fromDb(c["Cantidad"]);
        if (sum != Money::fromDb(r["Pagado"])) out << r["n"].toString();
    }
    return out;
}

TEST(Torture, BillingKilledWhileWritingKeepsPaidAndLinesInStep) {
    TempHome home;
    Database& db = home.db();
    const qint64 cli = addClient(db, "GARCIA");
    for (int i = 0; i < 5; ++i) {
        addWorkOrderInvoice(db, QStringLiteral("FR24/03/%1").arg(i), "2024-03-01", cli, eur(1000));
        addPartsInvoice(db, QStringLiteral("FV24/03/%1").arg(i), "2024-03-01", cli, eur(1000),
                        {eur(1000)});
    }
    const QString path = home.session().databasePath();
    int writes = 0;
    killRepeatedly(
        tortureRounds(10, 200), 20, 80, 380,
        [&](int round) {
            return QStringList{"billing", home.folder(), path, QString::number(round + 1)};
        },
        [&] {
            // The next reader rolls back what the killed program left half done.
            expectIntact(db);
            EXPECT_EQ(paidOutOfStep(db), QStringList{});
            expectNoRows(db,
                         "SELECT NFactura FROM SalidasLibres s WHERE NOT EXISTS "
                         "(SELECT 1 FROM FacturasLibres f WHERE f.NFactura = s.NFactura)");
            expectNoRows(db,
                         "SELECT NFactura FROM FacturasLibres f WHERE NOT EXISTS "
                         "(SELECT 1 FROM SalidasLibres s WHERE s.NFactura = f.NFactura)");
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
                           "SELECT (SELECT COUNT(*) FROM Cobros) + (SELECT COUNT(*) FROM "
                           "FacturasLibres) + (SELECT COUNT(*) FROM Recibos) + "
                           "(SELECT COUNT(*) FROM Comisiones)")
                         .toInt();
        });
    // The program did write between the kills.
    EXPECT_GT(writes, 0);
}

}  // namespace
