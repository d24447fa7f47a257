#include "app/startup.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>
#include <QSaveFile>

#include "app/inicial2.h"
#include "app/main_window.h"
#include "controls/screen.h"
#include "core/database_setup.h"
#include "core/numbering.h"
#include "import/importer.h"
#include "import/jet_reader.h"
#include "masters/datos_empresa.h"

namespace torvane {

namespace {

const QString kFilter = QStringLiteral("Archivos Torvane (*.erm)|*.erm");
const QString kOpenTitle = QStringLiteral("Abrir base de datos");
const QString kCreateTitle = QStringLiteral("Crear base de datos");
const QString kUpgradeQuestion = QStringLiteral(
    "La base de datos no está en fomato Torvane 2007. ¿Desea actualizarla al nuevo formato?");
const QString kUpgraded = QStringLiteral("Se ha actualizado la base de datos.");
const QString kUpgradeRefused =
    QStringLiteral("Para utilizar Torvane 2007 debe Actualizar la Base de Datos");
const QString kFillCompany = QStringLiteral("Por favor rellene los datos de la empresa");
const QString kTemplate = QStringLiteral("Nueva");
const QString kImportQuestion = QStringLiteral(" ¿Desea importarla ahora?");
const QString kImportFolderTitle = QStringLiteral("Carpeta de la base de datos importada");
const QString kImportTitle = QStringLiteral("Importar base de datos");

QString sharedWarning(const QString& path) {
    return QStringLiteral("La base de datos ") + path +
           QStringLiteral(
               " ya está abierta en otro Torvane (en este equipo o en otro). Se puede trabajar "
               "en los dos a la vez: cada cambio se guarda entero, pero una pantalla abierta no "
               "muestra lo que el otro guarde hasta que se vuelva a cargar.");
}

QString rutaWriteFailed(const QString& reason) {
    return QStringLiteral("No se puede guardar la ruta de la base de datos en \"ruta.fpl\": ") +
           reason;
}

}  // namespace

Inicial::Inicial(Session& session, Dialogs& dialogs, Menu& mainWindow, std::function<void()> quit,
                 QObject* parent)
    : QObject(parent),
      session_(session),
      dialogs_(dialogs),
      menu_(mainWindow),
      quit_(std::move(quit)) {}

Inicial::~Inicial() {
    // The windows it opened hold references to the session; they go with it.
    if (company_) delete company_.data();
    if (dialog_) delete dialog_.data();
}

Inicial2* Inicial::dialog() const {
    return dialog_;
}

DatosEmpresa* Inicial::companyScreen() const {
    return company_;
}

void Inicial::StartUp() {
    if (!rutaExists(session_)) {
        loadSeries();
        showDialog();
        return;
    }
    const QString path = readRuta(session_).value_or(QString());
    session_.setDatabasePath(path);
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        loadSeries();
        showDialog();
        return;
    }
    loadSeries();

    QString reason;
    if (!session_.openDatabase(path, &reason)) {
        if (import::isJetFile(path)) {
            showDialog();
            offerImport(path, reason, From::Dialog);
            return;
        }
        // ruta.fpl stays: the file may be back next time (a network drive, a USB disk).
        dialogs_.critical(cannotOpenDatabaseMessage(path, reason));
        showDialog();
        return;
    }
    if (session_.databaseSharedWithOther()) dialogs_.exclamation(sharedWarning(path));
    std::optional<QString> name;
    try {
        session_.db().applyMigrations();
        name = readCompanyName(session_.db());
    } catch (const DbError& e) {
        dialogs_.critical(cannotOpenDatabaseMessage(path, e.message()));
        session_.closeDatabase();
        showDialog();
        return;
    }
    if (!name) {
        dialogs_.message(kFillCompany);
        openCompanyScreen(nullptr);
        return;
    }
    session_.setCompanyName(*name);
    showMainWindow();
}

Inicial::Outcome Inicial::OpenDatabase(From from) {
    const QString file = dialogs_.openFile(kOpenTitle, kFilter);
    if (file.right(4) != QLatin1String(".erm")) return Outcome::Ignored;

    // A file that cannot be used changes nothing: ruta.fpl and the open database stay.
    {
        Database probe;
        QString reason;
        if (!probe.open(file, &reason)) {
            if (import::isJetFile(file)) return offerImport(file, reason, from);
            dialogs_.critical(cannotOpenDatabaseMessage(file, reason));
            return Outcome::Failed;
        }
    }
    return openChosen(file, from);
}

Inicial::Outcome Inicial::offerImport(const QString& file, const QString& reason, From from) {
    if (!dialogs_.question(cannotOpenDatabaseMessage(file, reason) + kImportQuestion))
        return Outcome::Failed;
    const QString folder = dialogs_.chooseFolder(kImportFolderTitle);
    if (folder.isEmpty()) return Outcome::Ignored;
    const QString target = import::importTargetIn(file, folder);

    QProgressDialog progress(from == From::Dialog ? static_cast<QWidget*>(dialog_.data()) : &menu_);
    progress.setObjectName(QStringLiteral("ProgresoImportacion"));
    progress.setWindowTitle(kImportTitle);
    progress.setCancelButton(nullptr);
    progress.setMinimumDuration(0);
    progress.setWindowModality(Qt::ApplicationModal);
    import::ImportOptions options;
    options.templatePath = session_.programFile(kTemplate);
    options.progress = [&](const QString& table, int index, int count) {
        progress.setRange(0, count);
        progress.setValue(index - 1);
        progress.setLabelText(
            QStringLiteral("Importando %1 (%2 de %3)...").arg(table).arg(index).arg(count));
        QApplication::processEvents();
    };
    import::ImportReport report;
    try {
        report = import::importJetFile(file, target, options);
    } catch (const import::ImportError& e) {
        progress.close();
        dialogs_.critical(e.message());
        return Outcome::Failed;
    }
    progress.close();
    dialogs_.information(report.summary(), kImportTitle);
    return openChosen(target, from);
}

Inicial::Outcome Inicial::openChosen(const QString& file, From from) {
    const Previous previous = remember();
    if (!switchTo(file, previous)) return Outcome::Failed;

    const FormatCheck check = checkFormat(session_.databasePath());
    if (!check.current()) {
        if (!dialogs_.question(kUpgradeQuestion)) {
            dialogs_.critical(kUpgradeRefused);
            removeRuta(session_);
            quit_();
            return Outcome::Quit;
        }
        QString error;
        if (!upgradeFormat(session_.db(), check, &error)) {
            restore(previous);
            dialogs_.critical(QStringLiteral("No se ha podido actualizar la base de datos ") +
                              file + QStringLiteral(": ") + error);
            return Outcome::Failed;
        }
        dialogs_.information(kUpgraded);
    }

    QString name;
    try {
        session_.db().applyMigrations();
        createSavedQueriesIfNone(session_.db(), dialogs_);
        name = readCompanyName(session_.db()).value_or(QString());
    } catch (const DbError& e) {
        restore(previous);
        dialogs_.critical(cannotOpenDatabaseMessage(file, e.message()));
        return Outcome::Failed;
    }
    session_.setCompanyName(name);
    if (from == From::Dialog) {
        showMainWindow();
        closeDialog();
    }
    return Outcome::Opened;
}

Inicial::Outcome Inicial::CreateDatabase(From from) {
    const QString file = dialogs_.saveFile(kCreateTitle, kFilter);
    if (file.isEmpty()) {
        // At start-up the dialog is the only window: closing it ends the program.
        if (from == From::Dialog) {
            closeDialog();
            quit_();
            return Outcome::Quit;
        }
        return Outcome::Ignored;
    }
    if (isOpenDatabase(file)) {
        dialogs_.exclamation(QStringLiteral("La base de datos ") + file +
                             QStringLiteral(" está abierta y no se puede sustituir por una nueva. "
                                            "Elija otro nombre."));
        return Outcome::Failed;
    }
    QString reason;
    if (!makeDatabaseFile(file, &reason)) {
        dialogs_.critical(QStringLiteral("No se puede crear la base de datos ") + file +
                          QStringLiteral(": ") + reason);
        return Outcome::Failed;
    }

    const Previous previous = remember();
    if (!switchTo(file, previous)) return Outcome::Failed;
    try {
        session_.db().applyMigrations();
    } catch (const DbError& e) {
        restore(previous);
        dialogs_.critical(cannotOpenDatabaseMessage(file, e.message()));
        return Outcome::Failed;
    }
    session_.setCompanyName(QString());

    dialogs_.message(kFillCompany);
    openCompanyScreen(from == From::Dialog ? static_cast<QWidget*>(dialog_.data()) : &menu_);
    if (from == From::Dialog) closeDialog();
    return Outcome::Created;
}

bool Inicial::switchTo(const QString& file, const Previous& previous) {
    QString error;
    if (!writeRuta(session_, file, &error)) {
        dialogs_.critical(rutaWriteFailed(error));
        return false;
    }
    if (!session_.openDatabase(file, &error)) {
        restore(previous);
        dialogs_.critical(cannotOpenDatabaseMessage(file, error));
        return false;
    }
    if (session_.databaseSharedWithOther()) dialogs_.exclamation(sharedWarning(file));
    return true;
}

Inicial::Previous Inicial::remember() const {
    Previous p;
    p.databasePath = session_.databasePath();
    p.hadDatabase = session_.hasDatabase();
    QFile ruta(session_.programFile(QString::fromLatin1(kRutaFile)));
    if (ruta.open(QIODevice::ReadOnly)) p.ruta = ruta.readAll();
    return p;
}

void Inicial::restore(const Previous& previous) {
    if (!previous.hadDatabase || !session_.openDatabase(previous.databasePath))
        session_.closeDatabase();
    session_.setDatabasePath(previous.databasePath);
    const QString rutaPath = session_.programFile(QString::fromLatin1(kRutaFile));
    if (!previous.ruta) {
        QFile::remove(rutaPath);
        return;
    }
    QSaveFile f(rutaPath);
    if (f.open(QIODevice::WriteOnly) && f.write(*previous.ruta) == previous.ruta->size())
        f.commit();
}

void Inicial::loadSeries() {
    LoadSeries(session_, dialogs_);
}

void Inicial::showDialog() {
    if (!dialog_) {
        dialog_ = new Inicial2;
        dialog_->setAttribute(Qt::WA_DeleteOnClose);
        connect(dialog_, &Inicial2::abrir, this, [this] { OpenDatabase(From::Dialog); });
        connect(dialog_, &Inicial2::nuevo, this, [this] { CreateDatabase(From::Dialog); });
        connect(dialog_, &Inicial2::salir, this, [this] {
            quit_();
            closeDialog();
        });
    }
    centreOnScreen(dialog_);
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
}

void Inicial::closeDialog() {
    if (dialog_) dialog_->dismiss();
}

void Inicial::showMainWindow() {
    if (!menu_.isVisible()) centreOnScreen(&menu_);
    menu_.show();
    menu_.raise();
    menu_.activateWindow();
}

void Inicial::openCompanyScreen(QWidget* caller) {
    auto* screen = new DatosEmpresa(session_, menu_.services());
    company_ = screen;
    // Saving at start-up brings up the main window, which then waits for the screen like
    // the caller of any screen; closing before that ends the program.
    connect(screen, &DatosEmpresa::saved, this, [this] {
        if (menu_.isVisible()) return;
        showMainWindow();
        menu_.setEnabled(false);
    });
    connect(screen, &DatosEmpresa::closed, this, [this] {
        if (menu_.isVisible())
            menu_.setEnabled(true);
        else
            quit_();
    });
    openScreen(caller, screen);
    screen->startEditing();
}

bool Inicial::makeDatabaseFile(const QString& target, QString* reason) const {
    // Built beside the target first, so an existing file is only replaced by a complete one.
    const QString building = target + QStringLiteral(".nueva");
    QFile::remove(building);
    const QString templatePath = session_.programFile(kTemplate);
    if (QFileInfo(templatePath).isFile()) {
        QFile source(templatePath);
        if (!source.copy(building)) {
            *reason = source.errorString();
            QFile::remove(building);
            return false;
        }
        // A template installed read-only must not give a read-only database.
        QFile::setPermissions(building, QFile::permissions(building) | QFileDevice::ReadOwner |
                                            QFileDevice::WriteOwner);
    } else if (!Database::createFromSchema(building, reason)) {
        return false;
    }
    if (QFileInfo::exists(target) && !QFile::remove(target)) {
        *reason = QStringLiteral("no se puede sustituir el archivo que ya existe.");
        QFile::remove(building);
        return false;
    }
    if (!QFile::rename(building, target)) {
        *reason = QStringLiteral("no se puede escribir en la carpeta elegida.");
        QFile::remove(building);
        return false;
    }
    return true;
}

bool Inicial::isOpenDatabase(const QString& path) const {
    if (!session_.hasDatabase()) return false;
    const QFileInfo chosen(path), open(session_.databasePath());
    if (chosen.exists() && open.exists())
        return chosen.canonicalFilePath() == open.canonicalFilePath();
    return chosen.absoluteFilePath() == open.absoluteFilePath();
}

}  // namespace torvane
