// Killed while it pays, removes a payment, invoices or deletes a free invoice, the
// database never holds a Pagado out of step with its payments, nor lines without
// their invoice. `make torture` runs it long.
#include <gtest/gtest.h>
#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include "billing_fixture.h"
#include "support/temp_home.h"

using namespace torvane;
using namespace torvane::testing;

namespace {

int kills() {
    return qEnvironmentVariableIsSet("TORVANE_TORTURE") ? 200 : 10;
}

QString helperPath() {
    return QDir(qEnvironmentVariable("TORVANE_BIN", QStringLiteral(".")))
        .filePath(QStringLiteral("torvane-billing-crash"));
}

// Every invoice whose Pagado is not the exact sum of its payments.
QStringList paidOutOfStep(Database& db) {
    QStringList out;
    const char* const sql[] = {
        "SELECT NFactura AS n, Pagado FROM FacturasODT",
        "SELECT Id_Fac AS n, Pagado FROM Facturas",
    };
    for (const char* s : sql)
        for (const Row& r : db.rows(QString::fromLatin1(s))) {
            Money sum;
            for (const Row& c :
                 db.rows(QStringLiteral("SELECT Cantidad FROM Cobros WHERE NFactura = ?"),
                         {r.value(QStringLiteral("n"))}))
                sum += Money::fromDb(c.value(QStringLiteral("Cantidad")));
            if (sum != Money::fromDb(r.value(QStringLiteral("Pagado"))))
                out << r.value(QStringLiteral("n")).toString();
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
    QRandomGenerator random(20);
    int writes = 0;
    for (int round = 0; round < kills(); ++round) {
        SCOPED_TRACE(round);
        QProcess victim;
        victim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        victim.start(helperPath(), {"run", home.folder(), path, QString::number(round + 1)});
        ASSERT_TRUE(victim.waitForStarted()) << helperPath().toStdString();
        QThread::msleep(static_cast<unsigned long>(80 + random.bounded(300)));
        victim.kill();
        victim.waitForFinished(10000);

        // The next reader rolls back what the killed program left half done.
        EXPECT_EQ(db.scalar(QStringLiteral("PRAGMA integrity_check")).toString(), "ok");
        EXPECT_EQ(paidOutOfStep(db), QStringList{});
        EXPECT_EQ(db.scalar(QStringLiteral(
                                "SELECT COUNT(*) FROM SalidasLibres s WHERE NOT EXISTS "
                                "(SELECT 1 FROM FacturasLibres f WHERE f.NFactura = s.NFactura)"))
                      .toInt(),
                  0);
        EXPECT_EQ(db.scalar(QStringLiteral(
                                "SELECT COUNT(*) FROM FacturasLibres f WHERE NOT EXISTS "
                                "(SELECT 1 FROM SalidasLibres s WHERE s.NFactura = f.NFactura)"))
                      .toInt(),
                  0);
        writes = db.scalar(QStringLiteral("SELECT (SELECT COUNT(*) FROM Cobros) + "
                                          "(SELECT COUNT(*) FROM FacturasLibres)"))
                     .toInt();
    }
    // The program did write between the kills.
    EXPECT_GT(writes, 0);
}

}  // namespace
