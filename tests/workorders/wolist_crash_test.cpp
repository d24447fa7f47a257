// A second program invoicing work orders, killed at random points: whatever it had
// committed is whole. `make torture` sets TORVANE_TORTURE and kills it 200 times.
#include <gtest/gtest.h>

#include "core/money.h"
#include "support/second_program.h"
#include "workorders/wolist_fixture.h"
#include "workorders/work_order_invoicing.h"

namespace torvane::testing {
namespace {

// Every way an invoice could be half-written.
void expectWholeInvoices(Database& db) {
    expectWholeDocuments(db);
    for (const Row& r : db.rows("SELECT NFactura, Base, IVA, Importe FROM FacturasODT")) {
        const QString n = r.value("NFactura").toString();
        Money base;
        for (const Row& o : db.rows("SELECT Nominal FROM ODTS WHERE NFactura = ?", {n}))
            base += Money::fromDb(o.value("Nominal"));
        const invoicing::Amounts a = invoicing::amountsFor(base, Quantity::whole(16));
        EXPECT_EQ(Money::fromDb(r.value("Base")), a.base) << n.toStdString();
        EXPECT_EQ(Money::fromDb(r.value("IVA")), a.vat) << n.toStdString();
        EXPECT_EQ(Money::fromDb(r.value("Importe")), a.total) << n.toStdString();
    }
}

TEST(InvoicingCrash, KilledInvoicingLeavesWholeInvoices) {
    TempHome home;
    Database& db = home.db();
    {
        Database::Transaction t(db);
        for (int c = 0; c < 12; ++c) {
            const qint64 customer = insertCustomer(db, QStringLiteral("CLIENTE %1").arg(c));
            const qint64 vehicle = insertVehicle(db, customer, QStringLiteral("P%1").arg(c));
            for (int k = 0; k < 8; ++k)
                insertOrder(db,
                            {.number = QStringLiteral("ODT/%1").arg(c * 8 + k, 5, 10, QChar('0')),
                             .customer = customer,
                             .vehicle = vehicle,
                             .internal = k == 7 ? "Si" : "No",
                             .nominal = QStringLiteral("%1,%2").arg(10 + c * k).arg(k * 7)});
        }
        t.commit();
    }
    // A first run to the end: the steps do invoice.
    auto whole = startHelper({"invoice", home.folder(), db.path(), "40"});
    ASSERT_TRUE(whole->waitForFinished(60000));
    ASSERT_EQ(whole->exitCode(), 0);
    EXPECT_GT(db.scalar("SELECT count(*) FROM FacturasODT").toInt(), 0);
    expectWholeInvoices(db);
    killRepeatedly(
        tortureRounds(10, 200), 18, 20, 200,
        [&](int) {
            return QStringList{"invoice", home.folder(), db.path(), "100000"};
        },
        [&] { expectWholeInvoices(db); });
}

}  // namespace
}  // namespace torvane::testing
