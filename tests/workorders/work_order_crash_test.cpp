// A work order saved by another program killed at random points. The suite runs a few
// kills; `make torture` sets TORVANE_TORTURE and runs 200.
#include <gtest/gtest.h>

#include "support/second_program.h"
#include "support/temp_home.h"
#include "workorders/work_order.h"
#include "workorders/work_order_fixture.h"

namespace torvane::testing {
namespace {

using namespace torvane::workorders;

TEST(Torture, KilledWorkOrderSavesLeaveHeaderLinesAndStockInStep) {
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
    int saved = 0;
    killRepeatedly(
        tortureRounds(10, 200), 16, 30, 430,
        [&](int) {
            return QStringList{"workorder", path, number, QString::number(saved + 1), log};
        },
        [&] {
            Database db;
            ASSERT_TRUE(db.open(path));
            expectIntact(db);
            // Stock changed only with its line: what is gone equals the units still stored.
            const double used = db.scalar(
                                      "SELECT coalesce(sum(Unidades), 0) FROM MaterialesODT "
                                      "WHERE NArticulo = 'FIL'")
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
                auto stored = [&](const QString& id) {
                    return db.scalar("SELECT 1 FROM MaterialesODT WHERE Id = ?", {id.toLongLong()})
                        .isValid();
                };
                EXPECT_EQ(!stored(f[1]), !retried && round <= saved)
                    << "round " << round << " saved " << saved;
                EXPECT_TRUE(stored(f[2])) << "round " << round;
            }
            EXPECT_EQ(db.scalar("SELECT count(*) FROM ODTS").toInt(), 1);
            EXPECT_EQ(db.scalar("SELECT count(*) FROM TrabajosRealizar_ODT").toInt(), 1);
        });
    EXPECT_GT(saved, 0) << "no save was ever committed: the kills came too early";
}

}  // namespace
}  // namespace torvane::testing
