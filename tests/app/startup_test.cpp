// Start-up, opening, creating and importing databases, with the program as main builds it.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

#include "app/inicial2.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "core/database_setup.h"
#include "import/import_fixture.h"
#include "masters/company_data.h"
#include "masters/datos_empresa.h"
#include "support/file_bytes.h"
#include "support/legacy_databases.h"
#include "support/screen_helpers.h"
#include "support/scripted_dialogs.h"
#include "support/temp_home.h"
#include "support/test_services.h"

using namespace torvane;
using namespace torvane::testing;
namespace tt = torvane::testing;

namespace {

const QString kOpenTitle = QStringLiteral("Abrir base de datos");

// A program folder with the main window and the start-up form, as main builds them.
struct Program {
    TempHome home{false};
    TestServices services;
    ScriptedDialogs& dialogs = services.scripted;
    Menu menu{home.session(), services};
    int quits = 0;
    Inicial inicial{home.session(), dialogs, menu, [this] { ++quits; }};

    Session& session() { return home.session(); }

    // A database file in the folder, in a format, with or without its company row (the
    // program needs only the name; the company screen asks for the rest).
    QString database(const QString& name, OldFormat format = OldFormat::Current,
                     const QString& companyName = {}) {
        const QString path = home.file(name);
        makeDatabaseInFormat(path, format);
        if (!companyName.isNull()) {
            Database db;
            EXPECT_TRUE(db.open(path));
            EXPECT_TRUE(saveCompanyData(db, {{"Nombre", companyName}, {"IVA", "16"}}));
        }
        return path;
    }
    void pointRutaAt(const QString& path) { ASSERT_TRUE(writeRuta(session(), path)); }
    QByteArray ruta() { return fileBytes(home.file("ruta.fpl")); }
    static QByteArray rutaFor(const QString& path) { return "\"" + path.toLatin1() + "\"\r\n"; }

    // The program works on `path`: session, connection, status bar and ruta.fpl agree.
    void expectOn(const QString& path, const QByteArray& rutaBytes) {
        EXPECT_EQ(session().databasePath(), path);
        EXPECT_EQ(session().db().path(), path);
        EXPECT_EQ(menu.panel(1)->text(), path);
        EXPECT_EQ(ruta(), rutaBytes);
    }

    bool dialogShown() { return inicial.dialog() && inicial.dialog()->isVisible(); }
    bool companyShown() { return inicial.companyScreen() && inicial.companyScreen()->isVisible(); }

    // Normal start on a database with company data, the main window up.
    QString startOn(const QString& name, const QString& companyName) {
        const QString path = database(name, OldFormat::Current, companyName);
        pointRutaAt(path);
        inicial.StartUp();
        EXPECT_TRUE(menu.isVisible());
        EXPECT_EQ(menu.companyLabel()->text(), companyName);
        dialogs.clear();
        return path;
    }
};

const QString kFilter = QStringLiteral("Archivos Torvane (*.erm)|*.erm");
const QString kCreateTitle = QStringLiteral("Crear base de datos");
const QString kUpgradeQuestion = QString::fromUtf8(
    "La base de datos no está en fomato Torvane 2007. ¿Desea actualizarla al nuevo formato?");
const QString kUpgraded = QStringLiteral("Se ha actualizado la base de datos.");
const QString kRefused =
    QStringLiteral("Para utilizar Torvane 2007 debe Actualizar la Base de Datos");
const QString kFillCompany = QStringLiteral("Por favor rellene los datos de la empresa");

using Outcome = Inicial::Outcome;
using From = Inicial::From;

// Fills every field of the company screen, all required ("16" also does for the VAT rate).
void typeCompany(QWidget& screen, const QString& name) {
    for (auto* e : screen.findChildren<QLineEdit*>()) QTest::keyClicks(e, "16");
    auto* e = screen.findChild<QLineEdit*>("txtNombre");
    e->clear();
    QTest::keyClicks(e, name);
}

// The text a case expects, "%1" standing for the file it uses.
QString withFile(QString text, const QString& path) {
    return text.replace(QStringLiteral("%1"), path);
}

// ---------------------------------------------------------------- start-up

TEST(StartUp, EachPathShowsTheRightWindow) {
    // The normal start: Program::startOn, at the start of most tests here.
    enum class Setup { NoRuta, MissingFile, Unusable, NoCompany, Shared };
    struct Case {
        Setup setup;
        bool dialog, company, mainWindow;
        QString text;  // the one message shown, if any
        Dialogs::Icon icon;
    };
    const Case cases[] = {
        {Setup::NoRuta, true, false, false, {}, {}},
        {Setup::MissingFile, true, false, false, {}, {}},
        {Setup::Unusable, true, false, false,
         "No se puede abrir la base de datos %1: el archivo no es una base de datos de Torvane.",
         Dialogs::Icon::Critical},
        {Setup::NoCompany, false, true, false, kFillCompany, Dialogs::Icon::None},
        {Setup::Shared, false, false, true,
         QString::fromUtf8("La base de datos %1 ya está abierta en otro Torvane (en este equipo o "
                           "en otro). Se puede trabajar en los dos a la vez: cada cambio se guarda "
                           "entero, pero una pantalla abierta no muestra lo que el otro guarde "
                           "hasta que se vuelva a cargar."),
         Dialogs::Icon::Exclamation},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.setup));
        Program p;
        std::optional<Session> other;
        QString path;
        switch (c.setup) {
            case Setup::NoRuta:
                break;
            case Setup::MissingFile:
                p.pointRutaAt(path = p.home.file("borrada.erm"));
                break;
            case Setup::Unusable:
                path = p.home.file("texto.erm");
                tt::writeBytes(path, "no soy una base de datos\r\n");
                p.pointRutaAt(path);
                break;
            case Setup::NoCompany:
                p.pointRutaAt(path = p.database("taller.erm"));
                break;
            case Setup::Shared:
                path = p.database("taller.erm", OldFormat::Current, "TALLERES PEREZ");
                p.pointRutaAt(path);
                ASSERT_TRUE(other.emplace(p.home.folder()).openDatabase(path));
                break;
        }
        const QByteArray rutaBefore = p.ruta();
        p.inicial.StartUp();
        EXPECT_EQ(p.dialogShown(), c.dialog);
        EXPECT_EQ(p.companyShown(), c.company);
        EXPECT_EQ(p.menu.isVisible(), c.mainWindow);
        EXPECT_EQ(p.dialogs.texts(),
                  c.text.isEmpty() ? QStringList() : QStringList{withFile(c.text, path)});
        if (!c.text.isEmpty()) {
            EXPECT_EQ(p.dialogs.messages()[0].icon, c.icon);
        }
        EXPECT_EQ(p.quits, 0);
        EXPECT_EQ(p.ruta(), rutaBefore);
        EXPECT_EQ(p.session().databasePath(), path);
        // The numbering series are there whichever way start-up went.
        EXPECT_TRUE(QFile::exists(p.home.file("conf.fpl")));
        EXPECT_EQ(p.session().series().size(), 10);
        if (c.setup == Setup::NoRuta) {
            click(p.inicial.dialog(), "CmdSalir");
            EXPECT_EQ(p.quits, 1);
        }
        if (c.setup == Setup::MissingFile) {  // "Nuevo" cancelled ends the program too
            p.dialogs.answerFile(QString());
            click(p.inicial.dialog(), "CmdNuevo");
            EXPECT_EQ(p.dialogs.entries().back().title, kCreateTitle);
            EXPECT_EQ(p.dialogs.entries().back().extra, kFilter);
            EXPECT_EQ(p.quits, 1);
            EXPECT_FALSE(p.dialogShown());
        }
        if (c.setup == Setup::NoCompany) {
            auto* screen = p.inicial.companyScreen();
            typeCompany(*screen, "TALLERES GOMEZ");
            click(screen, "CmdGuardar");
            EXPECT_TRUE(p.menu.isVisible());
            EXPECT_EQ(p.menu.panel(1)->text(), path);
            EXPECT_EQ(p.menu.companyLabel()->text(), "TALLERES GOMEZ");
            // The main window waits for the screen; closing it now leaves the program running.
            EXPECT_FALSE(p.menu.isEnabled());
            screen->close();
            EXPECT_TRUE(p.menu.isEnabled());
            EXPECT_EQ(p.quits, 0);
        }
    }
}

// ---------------------------------------------------------------- open

TEST(OpenDatabase, FormatCheckAndUpgradeQuestionAtFirstStart) {
    struct Case {
        OldFormat format;
        std::optional<bool> answer;  // to the upgrade question, when it is asked
        QString result;              // the message after the answer
        Outcome outcome;
    };
    // Which columns each format lacks and adds is the upgrade's own test; here the question.
    const Case cases[] = {
        {OldFormat::Current, {}, {}, Outcome::Opened},
        {OldFormat::NoIdProveedor, true, kUpgraded, Outcome::Opened},
        {OldFormat::NoTotal, false, kRefused, Outcome::Quit},
        {OldFormat::IdProveedorMisplaced, true,
         "No se ha podido actualizar la base de datos %1: duplicate column name: Id_Proveedor",
         Outcome::Failed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.format));
        Program p;
        const QString path = p.database("taller.erm", c.format, "TALLERES PEREZ");
        p.inicial.StartUp();
        ASSERT_TRUE(p.dialogShown());
        p.dialogs.answerFile(path);
        if (c.answer) *c.answer ? p.dialogs.answerYes() : p.dialogs.answerNo();
        click(p.inicial.dialog(), "cmdAbrir");

        ASSERT_FALSE(p.dialogs.entries().empty());
        EXPECT_EQ(p.dialogs.entries()[0].title, kOpenTitle);
        EXPECT_EQ(p.dialogs.entries()[0].extra, kFilter);
        QStringList texts{kOpenTitle};
        if (c.answer) texts << kUpgradeQuestion << withFile(c.result, path);
        EXPECT_EQ(p.dialogs.texts(), texts);
        if (c.outcome == Outcome::Opened) {
            EXPECT_TRUE(checkFormat(path).current());
            EXPECT_TRUE(p.menu.isVisible());
            EXPECT_FALSE(p.dialogShown());
            p.expectOn(path, Program::rutaFor(path));
            EXPECT_EQ(p.menu.companyLabel()->text(), "TALLERES PEREZ");
            EXPECT_EQ(p.quits, 0);
            if (c.answer) {
                EXPECT_EQ(p.dialogs.messages().back().icon, Dialogs::Icon::Information);
            }
            continue;
        }
        EXPECT_EQ(p.dialogs.messages().back().icon, Dialogs::Icon::Critical);
        EXPECT_FALSE(QFile::exists(p.home.file("ruta.fpl")));
        EXPECT_FALSE(p.menu.isVisible());
        EXPECT_FALSE(checkFormat(path).current());
        EXPECT_EQ(p.quits, c.outcome == Outcome::Quit ? 1 : 0);
        if (c.outcome == Outcome::Failed) {
            EXPECT_TRUE(p.dialogShown());
            EXPECT_FALSE(p.session().hasDatabase());
            EXPECT_TRUE(p.session().databasePath().isEmpty());
        }
    }
}

// From the main window: a cancelled or refused choice changes nothing,
// another database is switched to without prompting, and a new one holds the main window.
TEST(OpenAndCreate, FromTheMainMenu) {
    Program p;
    const QString a = p.startOn("a.erm", "TALLERES PEREZ");
    const QByteArray rutaBefore = p.ruta();
    const QByteArray aBytes = fileBytes(a);

    // Only names ending in lower-case ".erm" are opened; cancelling creates nothing.
    p.dialogs.answerFile(p.database("TALLER.ERM", OldFormat::NoTotal, "OTRO"));
    EXPECT_EQ(p.inicial.OpenDatabase(From::MainMenu), Outcome::Ignored);
    EXPECT_EQ(p.dialogs.texts(), QStringList{kOpenTitle});
    p.dialogs.answerFile(QString());
    EXPECT_EQ(p.inicial.CreateDatabase(From::MainMenu), Outcome::Ignored);
    EXPECT_EQ(p.quits, 0);
    EXPECT_TRUE(p.menu.isVisible());
    p.expectOn(a, rutaBefore);

    p.dialogs.answerFile(a);
    EXPECT_EQ(p.inicial.CreateDatabase(From::MainMenu), Outcome::Failed);
    EXPECT_EQ(p.dialogs.lastText(), "La base de datos " + a +
                                        QString::fromUtf8(" está abierta y no se puede sustituir "
                                                          "por una nueva. Elija otro nombre."));
    EXPECT_EQ(p.dialogs.messages().back().icon, Dialogs::Icon::Exclamation);
    EXPECT_EQ(fileBytes(a), aBytes);
    EXPECT_FALSE(p.companyShown());

    const QString d = p.home.file("d.erm");
    p.dialogs.answerFile(d);
    EXPECT_EQ(p.inicial.CreateDatabase(From::MainMenu), Outcome::Created);
    // Without a template the schema is used.
    EXPECT_TRUE(checkFormat(d).current());
    EXPECT_FALSE(QFile::exists(d + ".nueva"));
    EXPECT_EQ(p.menu.panel(1)->text(), d);
    EXPECT_EQ(p.menu.companyLabel()->text(), "");
    EXPECT_FALSE(p.menu.isEnabled());
    ASSERT_TRUE(p.companyShown());
    p.inicial.companyScreen()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(p.menu.isEnabled());
    EXPECT_EQ(p.quits, 0);

    // Opened from the menu, a database without company data does not ask for it. Its saved
    // queries are made again when it has none, and left alone when it has any.
    p.session().setCompanyName("TALLERES PEREZ");
    const QString c = p.database("c.erm"), one = p.database("one.erm");
    for (const QString& path : {c, one}) {
        Database db;
        ASSERT_TRUE(db.open(path));
        tt::dropAllViews(db);
        if (path == one) db.exec("CREATE VIEW ConFacLibres AS SELECT 1 AS x");
    }
    p.dialogs.clear();
    p.dialogs.answerFile(c);
    EXPECT_EQ(p.inicial.OpenDatabase(From::MainMenu), Outcome::Opened);
    EXPECT_EQ(p.dialogs.texts(), QStringList{kOpenTitle});
    p.expectOn(c, Program::rutaFor(c));
    EXPECT_EQ(p.menu.companyLabel()->text(), "");
    EXPECT_FALSE(p.companyShown());
    EXPECT_EQ(p.session().db().viewNames(),
              (QStringList{"ConFacAlb", "ConFacCoches", "ConFacLibres", "ConFacOdt", "ConUnion"}));
    p.dialogs.answerFile(one);
    EXPECT_EQ(p.inicial.OpenDatabase(From::MainMenu), Outcome::Opened);
    EXPECT_EQ(p.session().db().viewNames(), QStringList{"ConFacLibres"});
}

TEST(OpenDatabase, BadFilesAreReportedAndChangeNothing) {
    struct Case {
        const char* name;
        const char* reason;
    };
    const Case cases[] = {
        {"texto.erm", "el archivo no es una base de datos de Torvane."},
        {"cortada.erm", "el archivo está dañado."},
        {"lectura.erm", "el archivo es de solo lectura."},
        {"otra.erm", "el archivo es una base de datos de otro programa, no de Torvane."},
        {"carpeta.erm", "no es un archivo sino una carpeta."},
        {"sin_permiso.erm", "no se puede leer el archivo: no tiene permiso de lectura."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Program p;
        const QString a = p.startOn("a.erm", "TALLERES PEREZ");
        const QByteArray rutaBefore = p.ruta();
        const QString bad = p.home.file(c.name);
        const QString name = QString::fromLatin1(c.name);
        // Files of ours first made as a good database, then damaged.
        const QStringList ours{"cortada.erm", "lectura.erm", "sin_permiso.erm"};
        if (ours.contains(name)) p.database(name, OldFormat::Current, "OTRO");
        if (name == "texto.erm") tt::writeBytes(bad, "Esto es un texto.\r\nNada mas.\r\n");
        bool made = true;
        if (name == "cortada.erm") made = QFile(bad).resize(QFile(bad).size() / 2);
        if (name == "lectura.erm")
            QFile::setPermissions(bad, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
        if (name == "otra.erm") {  // another program's tables, no program id
            QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
            other.setDatabaseName(bad);
            ASSERT_TRUE(other.open());
            ASSERT_TRUE(QSqlQuery(other).exec("CREATE TABLE Recetas (Nombre TEXT)"));
            other.close();
            other = QSqlDatabase();
            QSqlDatabase::removeDatabase("other");
        }
        if (name == "carpeta.erm") made = QDir().mkpath(bad);
        if (name == "sin_permiso.erm") QFile::setPermissions(bad, QFileDevice::Permissions());
        ASSERT_TRUE(made);
        const bool plainFile = name != "carpeta.erm";  // a folder has no bytes
        const QByteArray badBefore = plainFile ? fileBytes(bad) : QByteArray();

        p.dialogs.answerFile(bad);
        EXPECT_EQ(p.inicial.OpenDatabase(From::MainMenu), Outcome::Failed);
        EXPECT_EQ(p.dialogs.texts(),
                  (QStringList{kOpenTitle, "No se puede abrir la base de datos " + bad + ": " +
                                               QString::fromUtf8(c.reason)}));
        EXPECT_EQ(p.dialogs.messages().back().icon, Dialogs::Icon::Critical);
        p.expectOn(a, rutaBefore);
        QFile::setPermissions(bad, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        if (plainFile) {
            EXPECT_EQ(fileBytes(bad), badBefore) << c.name;
        }
        EXPECT_FALSE(QFileInfo::exists(bad + "-journal"));
    }
}

// ---------------------------------------------------------------- create

TEST(CreateDatabase, CopiesTheTemplateAndAsksForTheCompanyData) {
    Program p;
    ASSERT_TRUE(QFile::copy(TempHome::builtTemplate(), p.home.file("Nueva")));
    {
        // Mark the template so the copy can be told apart from a database built from the schema.
        Database tpl;
        ASSERT_TRUE(tpl.open(p.home.file("Nueva")));
        tpl.exec("INSERT INTO Familias (Familia) VALUES ('DE LA PLANTILLA')");
    }
    const QString target = p.home.file("nuevo taller.erm");
    tt::writeBytes(target, "un archivo viejo que se sustituye");
    p.inicial.StartUp();
    p.dialogs.answerFile(target);
    click(p.inicial.dialog(), "CmdNuevo");

    EXPECT_EQ(p.dialogs.texts(), (QStringList{kCreateTitle, kFillCompany}));
    EXPECT_EQ(p.session().databasePath(), target);
    EXPECT_EQ(p.ruta(), Program::rutaFor(target));
    EXPECT_EQ(p.session().db().scalar("SELECT Familia FROM Familias").toString(),
              "DE LA PLANTILLA");
    EXPECT_FALSE(p.dialogShown());
    ASSERT_TRUE(p.companyShown());
    // Saving it: StartUp.EachPathShowsTheRightWindow, through the same screen. Closed without
    // saving at first start, it ends the program.
    p.inicial.companyScreen()->close();
    EXPECT_EQ(p.quits, 1);
    EXPECT_FALSE(p.menu.isVisible());
}

// ---------------------------------------------------------------- import

// A ruta.fpl left pointing at an older file offers the import at start-up. Refusing it
// changes nothing (a target beside the old file is refused by the
// import itself: JetSample.TargetsThatCannotBe...); accepted, the new file is written in the
// chosen folder and opened. The menu's open goes through the same routine.
TEST(ImportAtStartUp, RefusedThenAccepted) {
    const QString sample = jetSample();
    if (sample.isEmpty()) GTEST_SKIP() << "the Jet sample database is not beside the checkout";
    Program p;
    QTemporaryDir elsewhere;
    const QString old = p.home.file("taller.erm");
    ASSERT_TRUE(QFile::copy(sample, old));
    QFile::setPermissions(old, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QByteArray oldBytes = fileBytes(old);
    p.pointRutaAt(old);
    const QString offer = "No se puede abrir la base de datos " + old +
                          ": el archivo es una base de datos de la versión anterior del programa "
                          "y debe importarse antes de usarla. ¿Desea importarla ahora?";
    p.dialogs.answerNo();
    p.inicial.StartUp();
    EXPECT_EQ(p.dialogs.texts(), QStringList{offer});
    const QStringList folder = QDir(p.home.folder()).entryList(QDir::Files);
    EXPECT_TRUE(p.dialogShown());
    EXPECT_FALSE(p.menu.isVisible());
    EXPECT_EQ(p.ruta(), Program::rutaFor(old));
    EXPECT_EQ(QDir(p.home.folder()).entryList(QDir::Files), folder);
    EXPECT_TRUE(QDir(elsewhere.path()).isEmpty());

    p.dialogs.clear();
    p.dialogs.answerFile(old);
    p.dialogs.answerYes();
    p.dialogs.answerFile(elsewhere.path());
    EXPECT_EQ(p.inicial.OpenDatabase(From::Dialog), Outcome::Opened);
    const QString created = QDir(elsewhere.path()).filePath("taller.erm");
    const QStringList texts = p.dialogs.texts();
    ASSERT_EQ(texts.size(), 4);
    EXPECT_EQ(texts[0], kOpenTitle);
    EXPECT_EQ(texts[1], offer);
    EXPECT_EQ(texts[2], QStringLiteral("Carpeta de la base de datos importada"));
    EXPECT_TRUE(texts[3].startsWith("Se ha importado la base de datos " + old + " en " + created +
                                    ".\nFilas copiadas: 0."))
        << texts[3].toStdString();
    EXPECT_EQ(p.dialogs.messages().back().icon, Dialogs::Icon::Information);
    p.expectOn(created, Program::rutaFor(created));
    EXPECT_EQ(fileBytes(old), oldBytes);
    EXPECT_TRUE(p.menu.isVisible());
    EXPECT_FALSE(p.dialogShown());
}

}  // namespace
