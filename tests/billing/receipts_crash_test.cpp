// Killed while it stores receipts, saves or deletes a commission invoice, the database
// never holds part of one. `make torture` runs it long.
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
        .filePath(QStringLiteral("torvane-receipts-crash"));
}

TEST(Torture, ReceiptsAndCommissionsKilledWhileWritingAreWhole) {
    TempHome home;
    Database& db = home.db();
    addClient(db, "GARCIA");
    const QString path = home.session().databasePath();
    QRandomGenerator random(21);
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

        EXPECT_EQ(db.scalar(QStringLiteral("PRAGMA integrity_check")).toString(), "ok");
        // Every store holds as many receipts as its terms give ("..., N3").
        EXPECT_EQ(db.scalar(QStringLiteral(
                                "SELECT COUNT(*) FROM (SELECT NFactura, COUNT(*) AS n FROM "
                                "Recibos GROUP BY NFactura) WHERE NFactura NOT LIKE '%, N' || n"))
                      .toInt(),
                  0);
        EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM (SELECT NRecibo FROM Recibos "
                                           "GROUP BY NRecibo HAVING COUNT(*) > 1)"))
                      .toInt(),
                  0);
        EXPECT_EQ(
            db.scalar(QStringLiteral("SELECT COUNT(*) FROM SalidasComisiones s WHERE NOT EXISTS "
                                     "(SELECT 1 FROM Comisiones c WHERE c.NFactura = s.NFactura)"))
                .toInt(),
            0);
        EXPECT_EQ(
            db.scalar(QStringLiteral(
                          "SELECT COUNT(*) FROM Comisiones c WHERE NOT EXISTS "
                          "(SELECT 1 FROM SalidasComisiones s WHERE s.NFactura = c.NFactura)"))
                .toInt(),
            0);
        writes = db.scalar(QStringLiteral("SELECT (SELECT COUNT(*) FROM Recibos) + "
                                          "(SELECT COUNT(*) FROM Comisiones)"))
                     .toInt();
    }
    // The program did write between the kills.
    EXPECT_GT(writes, 0);
}

}  // namespace
