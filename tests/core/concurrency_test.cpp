// Two programs on one database file. Each test runs a small count in the suite;
// `make torture` sets TORVANE_TORTURE and runs them long.
#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSet>

#include "core/maintenance.h"
#include "support/second_program.h"
#include "support/temp_home.h"

using namespace torvane;
using namespace torvane::testing;

namespace {

QString integrity(const QString& path) {
    Database db;
    QString reason;
    if (!db.open(path, &reason, Database::Mode::Copy)) return reason;
    return db.scalar(QStringLiteral("PRAGMA integrity_check")).toString();
}

QSet<QString> families(const QString& path) {
    Database db;
    QSet<QString> out;
    if (!db.open(path, nullptr, Database::Mode::Copy)) return out;
    auto q = db.execForward(QStringLiteral("SELECT Familia FROM Familias"));
    while (q.next()) out.insert(q.value(0).toString());
    return out;
}

// Pages to free, so that a compaction has work to do.
void addAndDelete(Database& db, int count) {
    {
        Database::Transaction t(db);
        for (int i = 0; i < count; ++i)
            db.exec(QStringLiteral("INSERT INTO Familias (Familia) VALUES (?)"),
                    {QStringLiteral("BORRAR-") + QString(200, QLatin1Char('x'))});
        t.commit();
    }
    db.exec(QStringLiteral("DELETE FROM Familias WHERE Familia LIKE 'BORRAR-%'"));
}

QStringList leftovers(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral("DBT_*")},
                                  QDir::AllEntries | QDir::Hidden | QDir::System);
}

}  // namespace

// First another program holds a transaction: the compaction waits for a lock that clears
// within its timeout (one that outlasts it is refused: Compaction.RefusalsChangeNothing).
// Then it inserts row by row between compactions; reads in between never give up either.
TEST(Torture, CompactionWhileAnotherProgramWritesKeepsEveryCommittedRow) {
    for (int round = 0; round < tortureRounds(2, 25); ++round) {
        SCOPED_TRACE(round);
        TempHome home;
        const QString db = home.session().databasePath();
        addAndDelete(home.db(), 500);
        const QString ready = home.file(QStringLiteral("ready"));
        const QString held = home.file(QStringLiteral("hold.log"));
        auto holder = startHelper({"hold", db, "300", ready, held});
        for (int i = 0; i < 500 && !QFileInfo::exists(ready); ++i) QThread::msleep(10);
        ASSERT_TRUE(QFileInfo::exists(ready));
        CompactionOptions options;
        options.busyTimeoutMs = 5000;
        EXPECT_FALSE(compactDatabase(home.session(), options));
        ASSERT_TRUE(holder->waitForFinished(60000));
        EXPECT_EQ(logLines(held), QStringList{QStringLiteral("committed")});

        const QString log = home.file(QStringLiteral("insert.log"));
        auto writer = startHelper({"insert", db, "100", log});
        int compacted = 0;
        for (int i = 0; i < 4; ++i) {
            QThread::msleep(40);
            if (!compactDatabase(home.session())) ++compacted;
            addAndDelete(home.db(), 100);
            Database reader;
            QString reason;
            ASSERT_TRUE(reader.open(db, &reason, Database::Mode::ReadOnly)) << reason.toStdString();
            EXPECT_NO_THROW(reader.scalar(QStringLiteral("SELECT count(*) FROM Familias")));
        }
        ASSERT_TRUE(writer->waitForFinished(60000));
        EXPECT_EQ(writer->exitCode(), 0);
        EXPECT_GT(compacted, 0);
        home.session().closeDatabase();
        EXPECT_EQ(integrity(db), QStringLiteral("ok"));
        const QSet<QString> stored = families(db);
        for (int i = 0; i < 300; ++i)
            EXPECT_TRUE(stored.contains(QStringLiteral("H%1").arg(i))) << i;
        const QStringList seen = logLines(log);
        EXPECT_EQ(seen.size(), 100);
        for (const QString& i : seen)
            EXPECT_TRUE(stored.contains(QStringLiteral("W") + i)) << i.toStdString();
        EXPECT_TRUE(leftovers(home.folder()).isEmpty());
    }
}

TEST(Torture, KilledCompactionsLeaveNothingAfterTheNextOne) {
    TempHome home;
    const QString db = home.session().databasePath();
    {
        Database::Transaction t(home.db());
        for (int i = 0; i < 3000; ++i)
            home.db().exec(QStringLiteral("INSERT INTO Familias (Familia) VALUES (?)"),
                           {QStringLiteral("K%1-").arg(i) + QString(150, QLatin1Char('k'))});
        t.commit();
    }
    const int kept = families(db).size();
    home.session().closeDatabase();

    // How long one compaction in a process of its own takes, to spread the kills over it.
    QElapsedTimer timer;
    timer.start();
    auto whole = startHelper({"compact", home.folder(), db});
    ASSERT_TRUE(whole->waitForFinished(60000));

    const int span = int(std::max<qint64>(timer.elapsed(), 20));
    killRepeatedly(
        tortureRounds(5, 200), 13, 0, span * 12 / 10,
        [&](int) {
            return QStringList{"compact", home.folder(), db};
        },
        [&] {
            ASSERT_TRUE(home.session().openDatabase(db));
            EXPECT_FALSE(compactDatabase(home.session()));
            home.session().closeDatabase();
            EXPECT_EQ(leftovers(home.folder()), QStringList{});
            EXPECT_FALSE(QFileInfo::exists(db + QStringLiteral("-journal")));
            EXPECT_EQ(integrity(db), QStringLiteral("ok"));
            EXPECT_EQ(families(db).size(), kept);
        });
}

TEST(Torture, TwoProgramsSavingCustomersAtOnceLoseNothing) {
    for (int round = 0; round < tortureRounds(1, 10); ++round) {
        TempHome home;
        const QString db = home.session().databasePath();
        const int count = tortureRounds(60, 300);
        const QString logA = home.file(QStringLiteral("a.log"));
        const QString logB = home.file(QStringLiteral("b.log"));
        auto a = startHelper({"customers", db, QString::number(count), "A", logA});
        auto b = startHelper({"customers", db, QString::number(count), "B", logB});
        ASSERT_TRUE(a->waitForFinished(120000));
        ASSERT_TRUE(b->waitForFinished(120000));
        EXPECT_EQ(a->exitCode(), 0);
        EXPECT_EQ(b->exitCode(), 0);
        EXPECT_EQ(integrity(db), QStringLiteral("ok"));
        for (const auto& [log, tag] : {std::pair{logA, QStringLiteral("A")}, {logB, "B"}}) {
            const QStringList ids = logLines(log);
            EXPECT_EQ(ids.size(), count);
            for (int i = 0; i < ids.size(); ++i)
                EXPECT_EQ(
                    home.db()
                        .scalar(QStringLiteral("SELECT Nombre FROM Clientes WHERE Id_Cli = ?"),
                                {ids[i].toLongLong()})
                        .toString(),
                    QStringLiteral("%1-%2").arg(tag).arg(i));
        }
        EXPECT_EQ(home.db().scalar(QStringLiteral("SELECT count(*) FROM Clientes")).toInt(),
                  2 * count);
    }
}

TEST(Presence, ASecondProgramOnTheSameFileIsTold) {
    TempHome home;
    const QString db = home.session().databasePath();
    EXPECT_FALSE(home.session().databaseSharedWithOther());
    Session second(home.folder());
    ASSERT_TRUE(second.openDatabase(db));
    EXPECT_TRUE(second.databaseSharedWithOther());
    // Reopening its own file does not count the program itself.
    ASSERT_TRUE(home.session().openDatabase(db));
    EXPECT_TRUE(home.session().databaseSharedWithOther());
    second.closeDatabase();
    ASSERT_TRUE(home.session().openDatabase(db));
    EXPECT_FALSE(home.session().databaseSharedWithOther());
    // A report reading the file does not mark it.
    Session reader(home.folder());
    ASSERT_TRUE(reader.openDatabase(db, nullptr, Database::Mode::ReadOnly));
    EXPECT_FALSE(reader.databaseSharedWithOther());
}
