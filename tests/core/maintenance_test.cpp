#include "core/maintenance.h"

#include <gtest/gtest.h>
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
    struct Case {
        QTime time;
        const char* name;
    };
    const Case cases[] = {
        {QTime(10, 7, 34), "DBT_0734.mdb"},  {QTime(0, 0, 0), "DBT_0000.mdb"},
        {QTime(23, 59, 5), "DBT_5905.mdb"},  {QTime(1, 7, 34), "DBT_0734.mdb"},
        {QTime(12, 10, 10), "DBT_1010.mdb"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(torvane::compactionTempName(c.time).toStdString(), c.name)
            << c.time.toString().toStdString();
}

TEST(Backup, CopiesTheOpenDatabaseOverAnOldTarget) {
    TempHome home;
    addFamilies(home.db(), 120);
    QTemporaryDir other;
    const QString target = QDir(other.path()).filePath(QStringLiteral("copia.erm"));
    writeBytes(target, "an old backup");

    EXPECT_FALSE(torvane::backupDatabase(home.session().databasePath(), target));
    EXPECT_EQ(familiesIn(target), 120);
    // No temporary file is left beside the copy.
    EXPECT_EQ(QDir(other.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    // The program keeps working on its own file.
    EXPECT_EQ(home.db().scalar(QStringLiteral("SELECT COUNT(*) FROM Familias")).toInt(), 120);
}

TEST(Backup, TakesOnlyCommittedRowsWhileAWriteIsUnderway) {
    TempHome home;
    addFamilies(home.db(), 10);
    QTemporaryDir other;
    const QString target = QDir(other.path()).filePath(QStringLiteral("copia.erm"));
    {
        Database::Transaction t(home.db());
        home.db().exec(QStringLiteral("INSERT INTO Familias (Familia) VALUES ('PENDIENTE')"));
        EXPECT_FALSE(torvane::backupDatabase(home.session().databasePath(), target));
    }
    EXPECT_EQ(familiesIn(target), 10);
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

TEST(Compaction, ShrinksTheFileKeepsTheDataAndReopensTheSession) {
    TempHome home;
    const QString db = home.session().databasePath();
    addFamilies(home.db(), 4000, 200);
    home.db().exec(QStringLiteral("DELETE FROM Familias WHERE Id_Fam > 20"));
    const qint64 before = QFileInfo(db).size();
    // A stale temporary file of an earlier hour is replaced.
    writeBytes(home.file(QStringLiteral("DBT_0734.mdb")), "stale");

    QStringList renames;
    CompactionOptions options = at(7, 34);
    options.replaceFile = [&](const QString& from, const QString& to, int* err) {
        renames << from << to;
        if (std::rename(QFile::encodeName(from), QFile::encodeName(to)) == 0) return true;
        *err = errno;
        return false;
    };
    EXPECT_FALSE(compactDatabase(home.session(), options));

    ASSERT_EQ(renames.size(), 2);
    EXPECT_EQ(renames[0], home.file(QStringLiteral("DBT_0734.mdb")));
    EXPECT_EQ(renames[1], QFileInfo(db).canonicalFilePath());
    EXPECT_FALSE(QFileInfo::exists(home.file(QStringLiteral("DBT_0734.mdb"))));
    EXPECT_LT(QFileInfo(db).size(), before / 4);
    ASSERT_TRUE(home.session().hasDatabase());
    EXPECT_EQ(home.db().scalar(QStringLiteral("SELECT COUNT(*) FROM Familias")).toInt(), 20);
    EXPECT_EQ(home.db()
                  .scalar(QStringLiteral("SELECT Familia FROM Familias WHERE Id_Fam = 20"))
                  .toString()
                  .left(4),
              QStringLiteral("F19-"));
}

TEST(Compaction, AFailedRenameLeavesTheDatabaseAndTheCompactedCopy) {
    TempHome home;
    const QString db = home.session().databasePath();
    addFamilies(home.db(), 50);
    home.session().closeDatabase();
    const QByteArray before = fileBytes(db);
    ASSERT_TRUE(home.session().openDatabase(db));

    CompactionOptions options = at(0, 5);
    options.replaceFile = [](const QString&, const QString&, int* err) {
        *err = EACCES;
        return false;
    };
    const auto error = compactDatabase(home.session(), options);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number, EACCES);
    EXPECT_TRUE(error->description.contains(QStringLiteral("Permiso denegado")));
    EXPECT_EQ(fileBytes(db), before);
    EXPECT_EQ(familiesIn(home.file(QStringLiteral("DBT_0005.mdb"))), 50);
    ASSERT_TRUE(home.session().hasDatabase());
    EXPECT_EQ(home.db().scalar(QStringLiteral("SELECT COUNT(*) FROM Familias")).toInt(), 50);
}

TEST(Compaction, AStaleTemporaryThatCannotBeDeletedStopsBeforeTouchingAnything) {
    TempHome home;
    const QString db = home.session().databasePath();
    ASSERT_TRUE(QDir().mkpath(home.file(QStringLiteral("DBT_1212.mdb/x"))));
    const QByteArray before = fileBytes(db);

    const auto error = compactDatabase(home.session(), at(12, 12));
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
    EXPECT_TRUE(error->description.contains(QStringLiteral("dañado")))
        << error->description.toStdString();
    EXPECT_EQ(fileBytes(db), bytes);
}

TEST(Compaction, AcrossDisksTheCopyIsBroughtBesideTheDatabaseFirst) {
    TempHome home;
    const QString db = home.session().databasePath();
    addFamilies(home.db(), 30);
    const QString temp = home.file(QStringLiteral("DBT_3030.mdb"));
    CompactionOptions options = at(30, 30);
    int calls = 0;
    options.replaceFile = [&](const QString& from, const QString& to, int* err) {
        ++calls;
        if (from == temp) {  // as if the program folder were another disk
            *err = EXDEV;
            return false;
        }
        return std::rename(QFile::encodeName(from), QFile::encodeName(to)) == 0;
    };
    EXPECT_FALSE(compactDatabase(home.session(), options));
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(QFileInfo::exists(temp));
    EXPECT_EQ(familiesIn(db), 30);
    EXPECT_EQ(
        QDir(home.folder()).entryList({QStringLiteral(".DBT*")}, QDir::Files | QDir::Hidden).size(),
        0);
}
