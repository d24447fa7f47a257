#pragma once

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <functional>
#include <memory>

#include "core/money.h"
#include "data/database.h"

namespace torvane::testing {

// A few rounds in the suite; `make torture` sets TORVANE_TORTURE and runs them long.
inline int tortureRounds(int suite, int torture) {
    return qEnvironmentVariableIsSet("TORVANE_TORTURE") ? torture : suite;
}

// The second program of tests/helpers, built next to the tests.
inline QString helperPath() {
    return QDir(qEnvironmentVariable("TORVANE_BIN", QStringLiteral(".")))
        .filePath(QStringLiteral("torvane-testhelper"));
}

// Starts the helper; the caller waits for it or kills it.
inline std::unique_ptr<QProcess> startHelper(const QStringList& args) {
    auto p = std::make_unique<QProcess>();
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p->start(helperPath(), args);
    EXPECT_TRUE(p->waitForStarted()) << helperPath().toStdString();
    return p;
}

// Starts the helper with args(round) `kills` times, kills it after a random pause of
// [fromMs, toMs) and runs check on what it left.
inline void killRepeatedly(int kills, quint32 seed, int fromMs, int toMs,
                           const std::function<QStringList(int)>& args,
                           const std::function<void()>& check) {
    QRandomGenerator random(seed);
    for (int round = 0; round < kills && !::testing::Test::HasFatalFailure(); ++round) {
        SCOPED_TRACE(round);
        auto victim = startHelper(args(round));
        QThread::msleep(static_cast<unsigned long>(random.bounded(fromMs, toMs)));
        victim->kill();
        victim->waitForFinished(10000);
        check();
    }
}

// The lines a helper logged, each flushed once its row was committed.
inline QStringList logLines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

inline void expectIntact(Database& db) {
    EXPECT_EQ(db.scalar(QStringLiteral("PRAGMA integrity_check")).toString(), "ok");
}

// A query for rows that must not exist: a half-written step.
inline void expectNoRows(Database& db, const QString& sql) {
    const auto rows = db.rows(sql);
    EXPECT_TRUE(rows.empty()) << sql.toStdString()
                              << "\nfirst: " << rows.front().first().toString().toStdString();
}

// What no killed program may leave, whatever it was writing: a damaged file, a Pagado out
// of step with its payments, or part of an invoice, note, receipt or commission.
inline void expectWholeDocuments(Database& db) {
    expectIntact(db);
    for (const Row& r : db.rows("SELECT NFactura AS n, Pagado FROM FacturasODT UNION ALL "
                                "SELECT Id_Fac, Pagado FROM Facturas")) {
        Money paid;
        for (const Row& c : db.rows("SELECT Cantidad FROM Cobros WHERE NFactura = ?", {r["n"]}))
            paid += Money::fromDb(c["Cantidad"]);
        EXPECT_EQ(Money::fromDb(r["Pagado"]), paid) << r["n"].toString().toStdString();
    }
    const char* const halves[] = {
        "SELECT NFactura FROM Cobros WHERE NFactura NOT IN (SELECT NFactura FROM FacturasODT "
        "UNION SELECT Id_Fac FROM Facturas)",
        "SELECT NFactura FROM FacturasODT GROUP BY NFactura HAVING count(*) > 1",
        "SELECT NFactura FROM ODTS WHERE NFactura <> 'No' AND NFactura NOT IN "
        "(SELECT NFactura FROM FacturasODT)",
        "SELECT NFactura FROM FacturasODT WHERE NFactura NOT IN (SELECT NFactura FROM ODTS)",
        "SELECT Id_Fac FROM Facturas GROUP BY Id_Fac HAVING count(*) > 1",
        "SELECT Id_Alb FROM Albaranes a WHERE NFactura <> 'No' AND NOT EXISTS "
        "(SELECT 1 FROM Facturas f WHERE f.Id_Fac = a.NFactura)",
        "SELECT Id_Fac FROM Facturas f WHERE NOT EXISTS "
        "(SELECT 1 FROM Albaranes a WHERE a.NFactura = f.Id_Fac)",
        "SELECT NFactura FROM SalidasLibres s WHERE NOT EXISTS "
        "(SELECT 1 FROM FacturasLibres f WHERE f.NFactura = s.NFactura)",
        "SELECT NFactura FROM FacturasLibres f WHERE NOT EXISTS "
        "(SELECT 1 FROM SalidasLibres s WHERE s.NFactura = f.NFactura)",
        "SELECT NFactura FROM SalidasComisiones s WHERE NOT EXISTS "
        "(SELECT 1 FROM Comisiones c WHERE c.NFactura = s.NFactura)",
        "SELECT NFactura FROM Comisiones c WHERE NOT EXISTS "
        "(SELECT 1 FROM SalidasComisiones s WHERE s.NFactura = c.NFactura)",
        // Every store holds as many receipts as its terms give ("..., N3").
        "SELECT NFactura FROM (SELECT NFactura, count(*) AS n FROM Recibos GROUP BY NFactura) "
        "WHERE NFactura NOT LIKE '%, N' || n",
        "SELECT NRecibo FROM Recibos GROUP BY NRecibo HAVING count(*) > 1",
    };
    for (const char* sql : halves) expectNoRows(db, QString::fromUtf8(sql));
}

}  // namespace torvane::testing
