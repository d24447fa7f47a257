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
        tortureRounds(20, 400), 20, 80, 380,
        [&](int round) {
            return QStringList{"billing", home.folder(), path, QString::number(round + 1)};
        },
        [&] {
            // The next reader rolls back what the killed program left half done.
            expectWholeDocuments(db);
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
