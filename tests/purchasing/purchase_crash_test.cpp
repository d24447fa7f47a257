// A purchase saved by a second program killed at random points: every purchase is stored
// whole (20 entry rows, its stock and its 10 material rows) or not at all. The suite runs a
// few kills; `make torture` sets TORVANE_TORTURE and runs 200.
#include <gtest/gtest.h>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include "core/session.h"
#include "purchases_fixture.h"
#include "support/temp_home.h"

using namespace torvane;
using namespace torvane::testing;

namespace {

int rounds(int suite, int torture) {
    return qEnvironmentVariableIsSet("TORVANE_TORTURE") ? torture : suite;
}

std::unique_ptr<QProcess> startSaving(const QString& db, int count) {
    auto p = std::make_unique<QProcess>();
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const QString helper = QDir(qEnvironmentVariable("TORVANE_BIN", QStringLiteral(".")))
                               .filePath(QStringLiteral("torvane-purchase-crash"));
    p->start(helper, {QStringLiteral("purchases"), db, QString::number(count)});
    EXPECT_TRUE(p->waitForStarted()) << helper.toStdString();
    return p;
}

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
    auto whole = startSaving(path, 1);
    ASSERT_TRUE(whole->waitForFinished(60000));
    ASSERT_EQ(whole->exitCode(), 0);
    const qint64 span = std::max<qint64>(timer.elapsed(), 20);

    QRandomGenerator random(19);
    for (int round = 0; round < rounds(10, 200); ++round) {
        SCOPED_TRACE(round);
        {
            Database db;
            ASSERT_TRUE(db.open(path));
            db.exec("DELETE FROM Entradas");
            db.exec("DELETE FROM MaterialesODT");
            db.exec("UPDATE Articulos SET StockInicial = 0");
        }
        auto victim = startSaving(path, 3);
        QThread::msleep(static_cast<unsigned long>(random.bounded(span * 3)));
        victim->kill();
        victim->waitForFinished(10000);

        Database db;
        ASSERT_TRUE(db.open(path));
        EXPECT_EQ(db.scalar("PRAGMA integrity_check").toString(), "ok");
        // Only whole purchases.
        for (const Row& r :
             db.rows("SELECT NEntrada, count(*) AS n FROM Entradas GROUP BY NEntrada"))
            EXPECT_EQ(r["n"].toInt(), 20) << r["NEntrada"].toString().toStdString();
        const int stored = db.scalar("SELECT count(DISTINCT NEntrada) FROM Entradas").toInt();
        EXPECT_EQ(db.scalar("SELECT count(*) FROM MaterialesODT").toInt(), stored * 10);
        // Every article's stock is what its stored entries brought.
        EXPECT_EQ(db.scalar("SELECT count(*) FROM Articulos WHERE StockInicial <> "
                            "(SELECT coalesce(sum(Cantidad), 0) FROM Entradas "
                            "WHERE Entradas.Id_Art = Articulos.Id_Art)")
                      .toInt(),
                  0);
    }
}

}  // namespace
