// A second program sells, invoices and deletes on the same file and is killed at
// random points; after each kill the file must hold whole steps only.
// `make torture` sets TORVANE_TORTURE and runs it long.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QThread>

#include "sales/counter_sale.h"
#include "sales_fixture.h"
#include "support/temp_home.h"

using namespace torvane;
using namespace torvane::testing;

namespace {

constexpr double kStartStock = 1000;

int rounds(int suite, int torture) {
    return qEnvironmentVariableIsSet("TORVANE_TORTURE") ? torture : suite;
}

QString helperPath() {
    return QDir(qEnvironmentVariable("TORVANE_BIN", QStringLiteral(".")))
        .filePath(QStringLiteral("torvane-sales-crash"));
}

int count(Database& db, const char* sql) {
    return db.scalar(QString::fromLatin1(sql)).toInt();
}

// What a killed sale must never leave behind.
void expectWholeSteps(Database& db) {
    EXPECT_EQ(db.scalar("PRAGMA integrity_check").toString(), "ok");
    // Every line moved its units: stock plus the units sold is what there was.
    QSqlQuery q = db.exec(
        "SELECT Articulos.Id_Art, StockInicial, IFNULL((SELECT SUM(Cantidad) "
        "FROM Salidas WHERE Salidas.Id_Art = Articulos.Id_Art), 0) "
        "FROM Articulos");
    while (q.next())
        EXPECT_EQ(q.value(1).toDouble() + q.value(2).toDouble(), kStartStock)
            << "article " << q.value(0).toLongLong();
    // No invoice without its notes, no note pointing at a missing invoice.
    EXPECT_EQ(count(db,
                    "SELECT COUNT(*) FROM Albaranes WHERE NFactura <> 'No' AND NOT EXISTS "
                    "(SELECT 1 FROM Facturas WHERE Id_Fac = Albaranes.NFactura)"),
              0);
    EXPECT_EQ(count(db,
                    "SELECT COUNT(*) FROM Facturas WHERE NOT EXISTS (SELECT 1 FROM "
                    "Albaranes WHERE NFactura = Facturas.Id_Fac)"),
              0);
    EXPECT_EQ(count(db,
                    "SELECT COUNT(*) FROM (SELECT Id_Fac FROM Facturas GROUP BY Id_Fac "
                    "HAVING COUNT(*) > 1)"),
              0);
    // An invoice is its notes' total; Pagado is the sum of its payments.
    QSqlQuery f = db.exec(
        "SELECT Id_Fac, Total, Pagado, (SELECT SUM(Total) FROM Albaranes "
        "WHERE NFactura = Id_Fac), IFNULL((SELECT SUM(Cantidad) FROM Cobros "
        "WHERE Cobros.NFactura = Id_Fac), 0) FROM Facturas");
    while (f.next()) {
        const QString id = f.value(0).toString();
        EXPECT_EQ(Money::fromDb(f.value(1)), Money::fromDb(f.value(3))) << id.toStdString();
        EXPECT_EQ(Money::fromDb(f.value(2)), Money::fromDb(f.value(4))) << id.toStdString();
    }
    EXPECT_EQ(count(db,
                    "SELECT COUNT(*) FROM Cobros WHERE NOT EXISTS (SELECT 1 FROM Facturas "
                    "WHERE Id_Fac = Cobros.NFactura)"),
              0);
    // A stored header holds the totals of its stored lines.
    QSqlQuery h = db.exec("SELECT Id_Alb, Nominal, IVA, Total FROM Albaranes");
    while (h.next()) {
        std::vector<DocumentLine> lines;
        for (sales::SaleLine& s : sales::linesOf(db, h.value(0).toString()))
            lines.push_back(std::move(s.line));
        const sales::SaleTotals t = sales::totalsOf(lines, Quantity::whole(16));
        EXPECT_EQ(Money::fromDb(h.value(1)), t.sum) << h.value(0).toString().toStdString();
        EXPECT_EQ(Money::fromDb(h.value(2)), t.vat);
        EXPECT_EQ(Money::fromDb(h.value(3)), t.total);
    }
}

TEST(Torture, KilledSalesLeaveWholeSteps) {
    TempHome home;
    Database& db = home.db();
    for (int i = 0; i < 3; ++i) addCustomer(db, QStringLiteral("C%1").arg(i), "CLIENTE");
    for (int i = 0; i < 5; ++i) addArticle(db, QStringLiteral("A%1").arg(i), "PIEZA", kStartStock);
    const QString path = home.session().databasePath();
    home.session().closeDatabase();

    QRandomGenerator random(29);
    for (int round = 0; round < rounds(10, 200); ++round) {
        SCOPED_TRACE(round);
        QProcess victim;
        victim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        victim.start(helperPath(), {home.folder(), path, QString::number(round + 1)});
        ASSERT_TRUE(victim.waitForStarted()) << helperPath().toStdString();
        QThread::msleep(static_cast<unsigned long>(60 + random.bounded(300)));
        victim.kill();
        victim.waitForFinished(10000);

        ASSERT_TRUE(home.session().openDatabase(path));
        expectWholeSteps(home.db());
        home.session().closeDatabase();
    }
    ASSERT_TRUE(home.session().openDatabase(path));
    // The helper got through real work.
    EXPECT_GT(count(home.db(), "SELECT COUNT(*) FROM Salidas"), 0);
    EXPECT_GT(count(home.db(), "SELECT COUNT(*) FROM Facturas"), 0);
}

}  // namespace
