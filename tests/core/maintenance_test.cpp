#include "core/maintenance.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <cstdio>

#include "support/file_bytes.h"
#include "support/legacy_databases.h"
#include "support/temp_home.h"

using torvane::compactDatabase;
using torvane::CompactionOptions;
using torvane::Database;
using torvane::testing::fileBytes;
using torvane::testing::TempHome;
using torvane::testing::writeBytes;

namespace {

void addFamilies(Database& db, int count, int width = 10) {
    Database::Transaction t(db);
    for (int i = 0; i < count; ++i)
        db.exec(QStringLiteral("INSERT INTO Familias (Familia) VALUES (?)"),
                {QStringLiteral("F%1-").arg(i) + QString(width, QLatin1Char('x'))});
    t.commit();
}

int familiesIn(const QString& path) {
    Database db;
    QString reason;
    if (!db.open(path, &reason)) return -1;
    return db.scalar(QStringLiteral("SELECT COUNT(*) FROM Familias")).toInt();
}

CompactionOptions at(int minute, int second) {
    CompactionOptions o;
    o.clock = [=] { return QTime(13, minute, second); };
    return o;
}

}  // namespace

TEST(CompactionTempName, IsMinuteAndSecondWithTwoDigitsEach) {
    EXPECT_EQ(torvane::compactionTempName(QTime(1, 7, 4)), "DBT_0704.mdb");
    EXPECT_EQ(torvane::compactionTempName(QTime(23, 59, 15)), "DBT_5915.mdb");
}

// The copy is taken while a write of the program is underway, over an old backup.
TEST(Backup, CopiesTheCommittedRowsOverAnOldTarget) {
    TempHome home;
    addFamilies(home.db(), 120);
    QTemporaryDir other;
    const QString target = QDir(other.path()).filePath(QStringLiteral("copia.erm"));
    writeBytes(target, "an old backup");
    {
        Database::Transaction t(home.db());
        home.db().exec(QStringLiteral("INSERT INTO Familias (Familia) VALUES ('PENDIENTE')"));
        EXPECT_FALSE(torvane::backupDatabase(home.session().databasePath(), target));
    }
    EXPECT_EQ(familiesIn(target), 120);
    // No temporary file is left beside the copy.
    EXPECT_EQ(QDir(other.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    // The program keeps working on its own file.
    EXPECT_EQ(home.db().scalar(QStringLiteral("SELECT COUNT(*) FROM Familias")).toInt(), 120);
}

TEST(Backup, OntoTheDatabaseItselfChangesNothing) {
    TempHome home;
    addFamilies(home.db(), 5);
    const QString db = home.session().databasePath();
    const QByteArray before = fileBytes(db);
    const QString sameFileOtherSpelling =
        QFileInfo(db).absolutePath() + QStringLiteral("/./") + QFileInfo(db).fileName();

    EXPECT_FALSE(torvane::backupDatabase(db, db));
    EXPECT_FALSE(torvane::backupDatabase(db, sameFileOtherSpelling));
    EXPECT_EQ(fileBytes(db), before);
    EXPECT_EQ(familiesIn(db), 5);
}

TEST(Backup, UnwritableTargetsAreReportedAndLeaveTheOldTarget) {
    TempHome home;
    const QString db = home.session().databasePath();
    QTemporaryDir other;
    const QString folderTarget = QDir(other.path()).filePath(QStringLiteral("copia.erm"));
    ASSERT_TRUE(QDir().mkpath(folderTarget + QStringLiteral("/dentro")));
    const QString missingFolder = QDir(other.path()).filePath(QStringLiteral("no/existe.erm"));

    auto error = torvane::backupDatabase(db, missingFolder);
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->contains(QStringLiteral("No existe la carpeta"))) << error->toStdString();
    EXPECT_FALSE(QFileInfo::exists(missingFolder));

    error = torvane::backupDatabase(db, folderTarget);
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->contains(QStringLiteral("es una carpeta"))) << error->toStdString();
    EXPECT_TRUE(QFileInfo(folderTarget + QStringLiteral("/dentro")).isDir());

    // A source that cannot be read leaves an existing target as it was.
    const QString target = QDir(other.path()).filePath(QStringLiteral("vieja.erm"));
    writeBytes(target, "old copy");
    error =
        torvane::backupDatabase(QDir(other.path()).filePath(QStringLiteral("nada.erm")), target);
    ASSERT_TRUE(error);
    EXPECT_EQ(fileBytes(target), QByteArray("old copy"));
    EXPECT_EQ(QDir(other.path())
                  .entryList({QStringLiteral(".torvane-copia*")}, QDir::Files | QDir::Hidden)
                  .size(),
              0);
}

TEST(Compaction, ShrinksTheFileInPlaceKeepsTheDataAndReopensTheSession) {
    TempHome home;
    const QString db = home.session().databasePath();
    addFamilies(home.db(), 4000, 200);
    home.db().exec(QStringLiteral("DELETE FROM Familias WHERE Id_Fam > 20"));
    const qint64 before = QFileInfo(db).size();
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(db).constData(), &st), 0);
    const ino_t inode = st.st_ino;
    // Leftovers of interrupted compactions of any minute and second, and their journals.
    const QStringList stale = {"DBT_0734.mdb", "DBT_5959.mdb", "DBT_0101.mdb-journal",
                               "DBT_1200.mdb-wal"};
    for (const QString& name : stale) writeBytes(home.file(name), "stale");
    writeBytes(home.file(QStringLiteral("DBT_notes.txt")), "keep");

    EXPECT_FALSE(compactDatabase(home.session(), at(7, 34)));

    for (const QString& name : stale)
        EXPECT_FALSE(QFileInfo::exists(home.file(name))) << name.toStdString();
    EXPECT_TRUE(QFileInfo::exists(home.file(QStringLiteral("DBT_notes.txt"))));
    EXPECT_FALSE(QFileInfo::exists(home.file(QStringLiteral("DBT_0734.mdb"))));
    EXPECT_FALSE(QFileInfo::exists(db + QStringLiteral("-journal")));
    EXPECT_LT(QFileInfo(db).size(), before / 4);
    // The same file, never replaced: other connections keep working on it.
    ASSERT_EQ(::stat(QFile::encodeName(db).constData(), &st), 0);
    EXPECT_EQ(st.st_ino, inode);
    ASSERT_TRUE(home.session().hasDatabase());
    EXPECT_EQ(home.db().scalar(QStringLiteral("SELECT COUNT(*) FROM Familias")).toInt(), 20);
    EXPECT_EQ(home.db()
                  .scalar(QStringLiteral("SELECT Familia FROM Familias WHERE Id_Fam = 20"))
                  .toString()
                  .left(4),
              QStringLiteral("F19-"));
    EXPECT_EQ(home.db().scalar(QStringLiteral("PRAGMA integrity_check")).toString(),
              QStringLiteral("ok"));
}

TEST(Compaction, ALockHeldByAnotherConnectionRefusesAndChangesNothing) {
    TempHome home;
    const QString db = home.session().databasePath();
    addFamilies(home.db(), 300, 100);
    home.db().exec(QStringLiteral("DELETE FROM Familias WHERE Id_Fam > 10"));
    Database other;
    ASSERT_TRUE(other.open(db));
    {
        Database::Transaction t(other);
        other.exec(QStringLiteral("INSERT INTO Familias (Familia) VALUES ('PENDIENTE')"));
        CompactionOptions options = at(2, 2);
        options.busyTimeoutMs = 100;
        const auto error = compactDatabase(home.session(), options);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->number, torvane::kDatabaseInUse);
        EXPECT_EQ(error->description,
                  QStringLiteral("La base de datos %1 está bloqueada por otro programa; no se "
                                 "ha compactado ni cambiado nada. Inténtelo cuando el otro "
                                 "programa termine.")
                      .arg(db));
        EXPECT_FALSE(QFileInfo::exists(home.file(QStringLiteral("DBT_0202.mdb"))));
        t.commit();
    }
    EXPECT_EQ(familiesIn(db), 11);
    ASSERT_TRUE(home.session().hasDatabase());
}

TEST(Compaction, AStaleTemporaryThatCannotBeDeletedStopsBeforeTouchingAnything) {
    TempHome home;
    const QString db = home.session().databasePath();
    ASSERT_TRUE(QDir().mkpath(home.file(QStringLiteral("DBT_1212.mdb/x"))));
    const QByteArray before = fileBytes(db);

    const auto error = compactDatabase(home.session(), at(3, 3));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number, EISDIR);
    EXPECT_TRUE(
        error->description.startsWith(QStringLiteral("No se puede borrar el archivo temporal")));
    EXPECT_EQ(fileBytes(db), before);
    EXPECT_TRUE(home.session().hasDatabase());
}

TEST(Compaction, ADamagedDatabaseIsReportedAndLeftAsItWas) {
    TempHome home;
    const QString db = home.session().databasePath();
    addFamilies(home.db(), 2000, 100);
    // The file gets damaged under the running program (table pages overwritten).
    QByteArray bytes = fileBytes(db);
    ASSERT_GT(bytes.size(), 40000);
    for (int i = 8192; i < bytes.size() - 4096; ++i) bytes[i] = char(0x5A);
    writeBytes(db, bytes);

    const auto error = compactDatabase(home.session(), at(1, 2));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number, 1);
    EXPECT_EQ(error->description, QStringLiteral("No se puede abrir la base de datos %1: el "
                                                 "archivo está dañado.")
                                      .arg(db));
    EXPECT_EQ(fileBytes(db), bytes);
    EXPECT_FALSE(QFileInfo::exists(home.file(QStringLiteral("DBT_0102.mdb"))));
}
