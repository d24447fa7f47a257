#pragma once

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <functional>
#include <memory>

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

}  // namespace torvane::testing
