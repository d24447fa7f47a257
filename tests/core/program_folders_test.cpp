// Where an installed program finds its files, and the template copied for the user.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/program_folders.h"
#include "support/file_bytes.h"
#include "support/legacy_databases.h"

namespace {

// The file with its folders.
void write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    torvane::testing::writeBytes(path, bytes);
}

TEST(ProgramFolders, InstalledOnlyWithTheSharedTemplateBesideBinAndTheUsersCopyFollowsIt) {
    QTemporaryDir dir;
    const QString root = dir.path();
    write(root + "/usr/share/torvane/Nueva", "plantilla");
    write(root + "/build/share/torvane/README", "x");
    QDir().mkpath(root + "/usr/bin");
    QDir().mkpath(root + "/build/bin");
    EXPECT_EQ(torvane::installedDataFolder(root + "/usr/bin"), root + "/usr/share/torvane");
    // A build folder: no template there, so the program folder is its own.
    EXPECT_EQ(torvane::installedDataFolder(root + "/build/bin"), QString());
    EXPECT_EQ(torvane::defaultProgramFolder(root + "/build/bin"), root + "/build/bin");
    qputenv("XDG_DATA_HOME", (root + "/datos").toLocal8Bit());
    const QString user = torvane::defaultProgramFolder(root + "/usr/bin");
    EXPECT_TRUE(user.startsWith(root + "/datos/")) << user.toStdString();
    EXPECT_TRUE(QFileInfo(user).isDir());
    qunsetenv("XDG_DATA_HOME");

    // The user's template follows the installed one.
    const QString shared = dir.filePath("share"), home = dir.filePath("home");
    QDir().mkpath(home);
    write(shared + "/Nueva", "plantilla 1");
    QFile(shared + "/Nueva").setPermissions(QFile::ReadOwner | QFile::ReadOther);
    QString reason;
    ASSERT_TRUE(torvane::provideTemplate(home, shared, &reason)) << reason.toStdString();
    EXPECT_EQ(torvane::testing::fileBytes(home + "/Nueva"), "plantilla 1");
    EXPECT_TRUE(QFileInfo(home + "/Nueva").isWritable()) << "the user's copy is the user's";
    // A newer package: same size, other bytes.
    QFile(shared + "/Nueva").setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    write(shared + "/Nueva", "plantilla 2");
    ASSERT_TRUE(torvane::provideTemplate(home, shared, &reason));
    EXPECT_EQ(torvane::testing::fileBytes(home + "/Nueva"), "plantilla 2");
}

}  // namespace
