// A work order saved by another program killed at random points. The suite runs a few
// kills; `make torture` sets TORVANE_TORTURE and runs 200.
#include <gtest/gtest.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include "support/temp_home.h"
#include "workorders/work_order.h"
#include "workorders/work_order_fixture.h"

namespace torvane::testing {
namespace {

using namespace torvane::workorders;

QString helperPath() {
    return QDir(qEnvironmentVariable("TORVANE_BIN", QStringLiteral(".")))
        .filePath(QStringLiteral("torvane-wo-crash"));
}

QStringList logLines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

TEST(Torture, KilledWorkOrderSavesLeaveHeaderLinesAndStockInStep) {
    const int kills = qEnvironmentVariableIsSet("TORVANE_TORTURE") ? 200 : 10;
    TempHome home;
    const QString number = QStringLiteral("ODT/0001");
    const double initialStock = 1000000;
    {
        Database& db = home.db();
        addArticle(db, "FIL", "FILTRO", initialStock);
        const qint64 vehicle = addCustomerWithVehicle(db);
        storeJob(db, number, JobLine{{}, QStringLiteral("REVISION")});
        Header h = newHeader(db, number, vehicle, QDate(2026, 3, 5));
        h.kilometres = QStringLiteral("0");
        ASSERT_EQ(save(db, h, {}).check, SaveCheck::Ok);
    }
    const QString path = home.session().databasePath();
    const QString log = home.file(QStringLiteral("saves.log"));
    home.session().closeDatabase();

    QRandomGenerator random(16);
    int saved = 0;
    for (int kill = 0; kill < kills; ++kill) {
        SCOPED_TRACE(kill);
        QProcess victim;
        victim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        victim.start(helperPath(),
                     {QStringLiteral("save"), path, number, QString::number(saved + 1), log});
        ASSERT_TRUE(victim.waitForStarted()) << helperPath().toStdString();
        QThread::msleep(30 + random.bounded(400));
        victim.kill();
        victim.waitForFinished(10000);

        Database db;
        ASSERT_TRUE(db.open(path));
        ASSERT_EQ(db.scalar("PRAGMA integrity_check").toString(), "ok");
        // Stock changed only with its line: what is gone equals the units still stored.
        const double used =
            db.scalar(
                  "SELECT coalesce(sum(Unidades), 0) FROM MaterialesODT WHERE NArticulo = 'FIL'")
                .toDouble();
        EXPECT_DOUBLE_EQ(stockOf(db, "FIL"), initialStock - used);
        // The header of the last committed save came with that save's deletion; the
        // save after it left nothing behind.
        saved = db.scalar("SELECT Kilometros FROM ODTS WHERE NODT = ?", {number}).toInt();
        // A round killed before its save committed is run again with new lines: only its
        // last attempt can have been saved, the earlier ones deleted nothing.
        const QStringList lines = logLines(log);
        for (int i = 0; i < lines.size(); ++i) {
            const QStringList f = lines[i].split(QLatin1Char(' '));
            ASSERT_EQ(f.size(), 3) << lines[i].toStdString();
            const int round = f[0].toInt();
            bool retried = false;
            for (int j = i + 1; j < lines.size(); ++j)
                retried = retried || lines[j].section(QLatin1Char(' '), 0, 0).toInt() == round;
            const bool gone =
                !db.scalar("SELECT 1 FROM MaterialesODT WHERE Id = ?", {f[1].toLongLong()})
                     .isValid();
            const bool kept =
                db.scalar("SELECT 1 FROM MaterialesODT WHERE Id = ?", {f[2].toLongLong()})
                    .isValid();
            EXPECT_EQ(gone, !retried && round <= saved) << "round " << round << " saved " << saved;
            EXPECT_TRUE(kept) << "round " << round;
        }
        EXPECT_EQ(db.scalar("SELECT count(*) FROM ODTS").toInt(), 1);
        EXPECT_EQ(db.scalar("SELECT count(*) FROM TrabajosRealizar_ODT").toInt(), 1);
    }
    EXPECT_GT(saved, 0) << "no save was ever committed: the kills came too early";
}

}  // namespace
}  // namespace torvane::testing
