// The report command only reads the database file, whatever its journal mode.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>

#include "reports/report_cli.h"
#include "support/file_bytes.h"
#include "support/temp_home.h"

using torvane::testing::fileBytes;
using torvane::testing::TempHome;

namespace {

void setJournalMode(const QString& path, const QString& mode) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "journal");
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec("INSERT INTO Clientes (Codigo, Nombre) VALUES ('0001', 'PEREZ')"));
        ASSERT_TRUE(q.exec("PRAGMA journal_mode=" + mode));
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase("journal");
}

TEST(ReportCommand, ReadsTheFileWithoutChangingItInAnyJournalMode) {
    for (const char* mode : {"WAL", "DELETE", "TRUNCATE"}) {
        SCOPED_TRACE(mode);
        TempHome home(false);
        const QString db = home.makeDatabase("taller.erm");
        setJournalMode(db, QString::fromLatin1(mode));
        const QByteArray before = fileBytes(db);
        const QString out = home.file("clientes.pdf");
        EXPECT_EQ(torvane::reports::runReportCommand(
                      {"QARVOCLIENTES2.rpt", "--db", db, "--pdf", out, "--home", home.folder()}),
                  0);
        EXPECT_TRUE(QFileInfo(out).size() > 0);
        EXPECT_EQ(fileBytes(db), before);
        EXPECT_FALSE(QFileInfo::exists(db + "-journal"));
        // A WAL file stays WAL: its header still says so.
        EXPECT_EQ(before.at(18) == 2, QLatin1String(mode) == QLatin1String("WAL"));
    }
}

TEST(ReportCommand, ADamagedOrForeignFileIsReportedAndLeftAlone) {
    TempHome home(false);
    const QString db = home.file("carpeta.erm");
    ASSERT_TRUE(QDir().mkpath(db));
    EXPECT_EQ(torvane::reports::runReportCommand({"QARVOCLIENTES2.rpt", "--db", db, "--pdf",
                                                  home.file("x.pdf"), "--home", home.folder()}),
              1);
    EXPECT_FALSE(QFileInfo::exists(home.file("x.pdf")));
}

}  // namespace
