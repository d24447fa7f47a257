#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "data/database.h"
#include "import/import_cli.h"
#include "import_fixture.h"
#include "support/file_bytes.h"

namespace ti = torvane::import;
using torvane::testing::fileBytes;

namespace {

class ImportCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        sample_ = torvane::testing::jetSample();
        if (sample_.isEmpty()) GTEST_SKIP() << "the Jet sample database is not beside the checkout";
    }
    QString sample_;
    QTemporaryDir dir_;
};

TEST_F(ImportCommandTest, ExitCodesSayWhatHappened) {
    const QString text = dir_.filePath("texto.erm");
    {
        QFile f(text);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("nada");
    }
    struct Case {
        QStringList args;
        int code;
        const char* created;  // file expected afterwards, or nullptr
    };
    const Case cases[] = {
        {{sample_}, 2, nullptr},
        {{"--out", dir_.filePath("a.erm")}, 2, nullptr},
        {{sample_, "--out", dir_.filePath("a.erm"), "sobra"}, 2, nullptr},
        {{text, "--out", dir_.filePath("b.erm")}, 1, nullptr},
        {{sample_, "--out", dir_.filePath("no_existe/c.erm")}, 1, nullptr},
        {{sample_, "--out", dir_.filePath("d.erm")}, 0, "d.erm"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        EXPECT_EQ(ti::runImportCommand(c.args, dir_.path()), c.code);
        QStringList expected{"texto.erm"};
        if (c.created) expected << QString::fromLatin1(c.created);
        expected.sort();
        EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files, QDir::Name), expected);
    }
}

// The program itself: "torvane import OLD --out NEW" prints the summary.
TEST_F(ImportCommandTest, TheProgramPrintsTheSummary) {
    const QString program = QCoreApplication::applicationDirPath() + "/torvane";
    if (!QFile::exists(program)) GTEST_SKIP() << "torvane is not built";
    const QString target = dir_.filePath("nueva.erm");
    const QByteArray before = fileBytes(sample_);
    QProcess p;
    p.start(program, {"import", sample_, "--out", target});
    ASSERT_TRUE(p.waitForFinished(120000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_TRUE(out.startsWith("Se ha importado la base de datos " + sample_ + " en " + target +
                               ".\nFilas copiadas: 0.\n"))
        << out.toStdString();
    // The sample is not a workshop: every table is listed as not copied, with its rows, and
    // the new file is a complete, empty database.
    EXPECT_TRUE(out.contains("Orders (830 filas)"));
    EXPECT_TRUE(out.contains("Order Details (2155 filas)"));
    torvane::Database db;
    QString reason;
    EXPECT_TRUE(db.open(target, &reason)) << reason.toStdString();
    EXPECT_EQ(db.scalar("SELECT count(*) FROM Clientes").toInt(), 0);
    db.close();
    EXPECT_EQ(fileBytes(sample_), before);

    QProcess again;
    again.start(program, {"import", sample_, "--out", target});
    ASSERT_TRUE(again.waitForFinished(120000));
    EXPECT_EQ(again.exitCode(), 1);
    // The last line: Qt may write its own warnings before.
    EXPECT_EQ(QString::fromUtf8(again.readAllStandardError()).trimmed().split('\n').last(),
              "No se puede escribir la base de datos nueva " + target +
                  ": ya existe un archivo con ese nombre. Elija otra carpeta o otro nombre.");
}

}  // namespace
