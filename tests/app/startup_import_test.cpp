#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "app/program_fixture.h"
#include "import/import_fixture.h"

using namespace torvane;
using namespace torvane::testing;
using From = Inicial::From;
using Outcome = Inicial::Outcome;

namespace {

const QString kFolderTitle = QStringLiteral("Carpeta de la base de datos importada");

QString offer(const QString& old) {
    return "No se puede abrir la base de datos " + old +
           ": el archivo es una base de datos de la versión anterior del programa y debe "
           "importarse antes de usarla. ¿Desea importarla ahora?";
}

struct ImportProgram : Program {
    QTemporaryDir elsewhere;
    QString current;
    QString old;
    QByteArray oldBytes;

    // The main window up on a database of ours, and an older file beside it.
    bool prepare() {
        const QString sample = jetSample();
        if (sample.isEmpty()) return false;
        current = startOn("a.erm", "TALLERES PEREZ");
        old = home.file("taller.erm");
        EXPECT_TRUE(QFile::copy(sample, old));
        QFile::setPermissions(old, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        oldBytes = fileBytes(old);
        return true;
    }
};

class ImportStartupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!p.prepare()) GTEST_SKIP() << "the Jet sample database is not beside the checkout";
    }
    ImportProgram p;
};

// Refusing, cancelling or choosing the old file's own folder changes nothing; accepting
// imports beside it and opens the new file.
TEST_F(ImportStartupTest, RefusedImpossibleAndAcceptedImports) {
    struct Case {
        const char* name;
        bool yes;
        bool sameFolder;
        bool cancelFolder;
        Outcome outcome;
    };
    const Case cases[] = {
        {"no", false, false, false, Outcome::Failed},
        {"sin carpeta", true, false, true, Outcome::Ignored},
        {"misma carpeta", true, true, false, Outcome::Failed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        p.dialogs.clear();
        const QByteArray ruta = fileBytes(p.home.file("ruta.fpl"));
        const QStringList folder = QDir(p.home.folder()).entryList(QDir::Files);
        p.dialogs.answerFile(p.old);
        c.yes ? p.dialogs.answerYes() : p.dialogs.answerNo();
        if (c.yes)
            p.dialogs.answerFile(c.cancelFolder ? QString()
                                 : c.sameFolder ? p.home.folder()
                                                : p.elsewhere.path());
        EXPECT_EQ(p.inicial.OpenDatabase(From::MainMenu), c.outcome);
        if (c.sameFolder) {
            EXPECT_EQ(p.dialogs.lastText(),
                      "No se puede escribir la base de datos nueva " + p.old +
                          ": el archivo nuevo no puede sustituir al anterior. Elija otra carpeta "
                          "o otro nombre.");
        }
        EXPECT_EQ(p.session().databasePath(), p.current);
        EXPECT_EQ(fileBytes(p.home.file("ruta.fpl")), ruta);
        EXPECT_EQ(QDir(p.home.folder()).entryList(QDir::Files), folder);
        EXPECT_TRUE(QDir(p.elsewhere.path()).isEmpty());
        EXPECT_EQ(fileBytes(p.old), p.oldBytes);
    }

    p.dialogs.clear();
    p.dialogs.answerFile(p.old);
    p.dialogs.answerYes();
    p.dialogs.answerFile(p.elsewhere.path());
    EXPECT_EQ(p.inicial.OpenDatabase(From::MainMenu), Outcome::Opened);

    const QString created = QDir(p.elsewhere.path()).filePath("taller.erm");
    const QStringList texts = p.dialogs.texts();
    ASSERT_EQ(texts.size(), 4);
    EXPECT_EQ(texts[0], kOpenTitle);
    EXPECT_EQ(texts[1], offer(p.old));
    EXPECT_EQ(texts[2], kFolderTitle);
    EXPECT_TRUE(texts[3].startsWith("Se ha importado la base de datos " + p.old + " en " + created +
                                    ".\nFilas copiadas: 0."))
        << texts[3].toStdString();
    EXPECT_EQ(p.dialogs.messages().back().icon, Dialogs::Icon::Information);
    EXPECT_EQ(p.session().databasePath(), created);
    EXPECT_EQ(readRuta(p.session()).value_or(QString()), created);
    EXPECT_EQ(fileBytes(p.old), p.oldBytes);
    EXPECT_TRUE(p.dialogs.allAnswersUsed());
}

// A "ruta.fpl" left pointing at the older file offers the import at start-up.
TEST_F(ImportStartupTest, StartUpOnAnOlderFileOffersTheImport) {
    ImportProgram q;
    ASSERT_TRUE(QFile::copy(p.old, q.home.file("taller.erm")));
    const QString old = q.home.file("taller.erm");
    ASSERT_TRUE(writeRuta(q.session(), old));
    q.dialogs.answerYes();
    q.dialogs.answerFile(q.elsewhere.path());
    q.inicial.StartUp();
    const QString created = QDir(q.elsewhere.path()).filePath("taller.erm");
    ASSERT_GE(q.dialogs.texts().size(), 2);
    EXPECT_EQ(q.dialogs.texts()[0], offer(old));
    EXPECT_EQ(q.session().databasePath(), created);
    EXPECT_TRUE(q.menu.isVisible());
    EXPECT_FALSE(q.inicial.dialog() && q.inicial.dialog()->isVisible());
}

}  // namespace
