// A second program invoicing work orders, killed at random points: whatever it had
// committed is whole. `make torture` sets TORVANE_TORTURE and kills it 200 times.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include "core/money.h"
#include "workorders/wolist_fixture.h"
#include "workorders/work_order_invoicing.h"

namespace torvane::testing {
namespace {

int rounds(int suite, int torture) {
    return qEnvironmentVariableIsSet("TORVANE_TORTURE") ? torture : suite;
}

QString helperPath() {
    return QDir(qEnvironmentVariable("TORVANE_BIN", QStringLiteral(".")))
        .filePath(QStringLiteral("torvane-invoice-crash"));
}

// Every way an invoice could be half-written, as one text per fault (empty: none).
QStringList faults(Database& db) {
    QStringList out;
    const QString check = db.scalar("PRAGMA integrity_check").toString();
    if (check != "ok") out << "integrity: " + check;
    for (const Row& r : db.rows("SELECT NFactura, count(*) AS n FROM FacturasODT GROUP BY "
                                "NFactura HAVING n > 1"))
        out << "number twice: " + r.value("NFactura").toString();
    for (const Row& r : db.rows("SELECT DISTINCT NFactura FROM ODTS WHERE NFactura <> 'No' AND "
                                "NFactura NOT IN (SELECT NFactura FROM FacturasODT)"))
        out << "work order marked without invoice: " + r.value("NFactura").toString();
    for (const Row& r : db.rows("SELECT NFactura FROM FacturasODT WHERE NFactura NOT IN "
                                "(SELECT NFactura FROM ODTS)"))
        out << "invoice without work orders: " + r.value("NFactura").toString();
    for (const Row& r : db.rows("SELECT NFactura FROM Cobros WHERE NFactura NOT IN (SELECT "
                                "NFactura FROM FacturasODT)"))
        out << "payment without invoice: " + r.value("NFactura").toString();
    for (const Row& r : db.rows("SELECT NFactura, Base, IVA, Importe, Pagado FROM FacturasODT")) {
        const QString n = r.value("NFactura").toString();
        Money base, paid;
        for (const Row& o : db.rows("SELECT Nominal FROM ODTS WHERE NFactura = ?", {n}))
            base += Money::fromDb(o.value("Nominal"));
        for (const Row& c : db.rows("SELECT Cantidad FROM Cobros WHERE NFactura = ?", {n}))
            paid += Money::fromDb(c.value("Cantidad"));
        const invoicing::Amounts a = invoicing::amountsFor(base, Quantity::whole(16));
        if (Money::fromDb(r.value("Base")) != a.base || Money::fromDb(r.value("IVA")) != a.vat ||
            Money::fromDb(r.value("Importe")) != a.total)
            out << "amounts of " + n;
        if (Money::fromDb(r.value("Pagado")) != paid) out << "paid of " + n;
    }
    return out;
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
    const QString path = db.path();
    // A first run to the end: the steps do invoice.
    {
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(helperPath(), {"invoice", home.folder(), path, "40"});
        ASSERT_TRUE(p.waitForFinished(60000)) << helperPath().toStdString();
        ASSERT_EQ(p.exitCode(), 0);
        EXPECT_GT(db.scalar("SELECT count(*) FROM FacturasODT").toInt(), 0);
        EXPECT_EQ(faults(db), QStringList());
    }
    const int kills = rounds(10, 200);
    for (int round = 0; round < kills; ++round) {
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(helperPath(), {"invoice", home.folder(), path, "100000"});
        ASSERT_TRUE(p.waitForStarted());
        QThread::msleep(20 + QRandomGenerator::global()->bounded(180));
        p.kill();
        p.waitForFinished();
        const QStringList found = faults(db);
        ASSERT_EQ(found, QStringList()) << "after kill " << round;
    }
}

}  // namespace
}  // namespace torvane::testing
