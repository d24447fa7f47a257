#include "core/maintenance.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

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

TEST(Backup, CopiesCommittedRowsAndRefusesWhatItCannotWrite) {
    TempHome home;
    const QString db = home.session().databasePath();
    addFamilies(home.db(), 120);
    QTemporaryDir other;
    auto at = [&](const char* name) { return QDir(other.path()).filePath(QString(name)); };
    // The copy is taken while a write of the program is underway, over an old backup.
    writeBytes(at("copia.erm"), "an old backup");
    {
        Database::Transaction t(home.db());
        home.db().exec(QStringLiteral("INSERT INTO Familias (Familia) VALUES ('PENDIENTE')"));
        EXPECT_FALSE(torvane::backupDatabase(db, at("copia.erm")));
    }
    EXPECT_EQ(familiesIn(at("copia.erm")), 120);
    // A source that cannot be read leaves that backup as it was.
    writeBytes(at("texto.erm"), "not a database");
    EXPECT_TRUE(torvane::backupDatabase(at("texto.erm"), at("copia.erm")));
    EXPECT_EQ(familiesIn(at("copia.erm")), 120);
    // No temporary file is left beside the copy.
    EXPECT_EQ(QDir(other.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);

    // Onto the database itself, however spelled, changes nothing.
    const QByteArray before = fileBytes(db);
    EXPECT_FALSE(torvane::backupDatabase(
        db, QFileInfo(db).absolutePath() + QStringLiteral("/./") + QFileInfo(db).fileName()));
    EXPECT_EQ(fileBytes(db), before);

    auto error = torvane::backupDatabase(db, at("no/existe.erm"));
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->contains(QStringLiteral("No existe la carpeta"))) << error->toStdString();
    EXPECT_FALSE(QFileInfo::exists(at("no/existe.erm")));
    ASSERT_TRUE(QDir().mkpath(at("carpeta.erm/dentro")));
    error = torvane::backupDatabase(db, at("carpeta.erm"));
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->contains(QStringLiteral("es una carpeta"))) << error->toStdString();
    EXPECT_EQ(QDir(other.path())
                  .entryList({QStringLiteral(".torvane-copia*")}, QDir::Files | QDir::Hidden),
              QStringList());
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
    EXPECT_FALSE(compactDatabase(home.session(), at(7, 34)));

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
}

// Each refusal leaves the database as it was; the damaged file comes last.
TEST(Compaction, RefusalsChangeNothing) {
    TempHome home;
    const QString db = home.session().databasePath();
    addFamilies(home.db(), 2000, 100);
    home.db().exec(QStringLiteral("DELETE FROM Familias WHERE Id_Fam > 1000"));

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
    other.close();
    EXPECT_EQ(familiesIn(db), 1001);
    ASSERT_TRUE(home.session().hasDatabase());

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
