#include <QAction>
#include <QApplication>
#include <QMetaObject>
#include <QTextStream>
#include <cstdio>
#include <cstring>

#include "app/desktop_launcher.h"
#include "app/main_window.h"
#include "app/screen_wiring.h"
#include "app/startup.h"
#include "controls/qt_dialogs.h"
#include "controls/screen.h"
#include "core/program_folders.h"
#include "core/services.h"
#include "core/session.h"
#include "import/import_cli.h"
#include "masters/datos_empresa.h"
#include "reports/report_cli.h"
#include "reports/report_output.h"
#include "reports/report_page.h"
#include "verifactu/verifactu_cli.h"

namespace {

// The program folder: the one given with --home DIR, else the executable's, or the user's
// data folder when installed. An installed program keeps its template there too.
QString programFolder(const QStringList& args) {
    const QString exe = QApplication::applicationDirPath();
    const int at = args.indexOf(QStringLiteral("--home"));
    const QString home =
        at >= 0 && at + 1 < args.size() ? args.at(at + 1) : torvane::defaultProgramFolder(exe);
    const QString data = torvane::installedDataFolder(exe);
    QString reason;
    if (!data.isEmpty() && !torvane::provideTemplate(home, data, &reason))
        std::fprintf(stderr, "%s\n", reason.toLocal8Bit().constData());
    return home;
}

const char kHelp[] =
    "Uso: torvane [--home CARPETA]\n"
    "     torvane report INFORME.rpt --db FICHERO.erm [--formula FORMULA] [--home CARPETA]\n"
    "                    [--pdf SALIDA.pdf] [--csv SALIDA.csv] [--xlsx SALIDA.xlsx]\n"
    "     torvane import ANTIGUA.erm --out NUEVA.erm\n"
    "     torvane --version | --help\n"
    "\n"
    "Gestión de talleres de reparación de vehículos.\n"
    "\n"
    "Sin orden, abre el programa con la base de datos de la última vez.\n"
    "\n"
    "Órdenes:\n"
    "  report   imprime un informe sin ventana: a PDF, o un listado a CSV (UTF-8, \";\")\n"
    "           o a libro de Excel\n"
    "  import   importa una base de datos de una versión anterior a un fichero nuevo\n"
    "\n"
    "Opciones:\n"
    "  --home CARPETA  carpeta de los ficheros de configuración (ruta.fpl, conf.fpl) y\n"
    "                  de los informes propios\n"
    "  --version       muestra la versión y termina\n"
    "  --help          muestra esta ayuda y termina\n";

// --version and --help answer before any window system is touched.
int answerInformation(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("torvane %s\n", TORVANE_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kHelp, stdout);
            return 0;
        }
    }
    return -1;
}

int runDesktop(const QString& home) {
    torvane::Session session(home);
    torvane::QtDialogs dialogs;
    torvane::reports::QtReportOutput reportOutput;
    torvane::DesktopLauncher launcher;
    torvane::Services services(dialogs, reportOutput, launcher);
    torvane::Menu menu(session, services);
    // Queued, so that ending the program also works before the event loop has started.
    auto quit = [] {
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    };
    menu.setQuitHandler(quit);
    torvane::Inicial inicial(session, dialogs, menu, quit);
    torvane::wireScreens(menu, session, services);

    QObject::connect(&menu, &torvane::Menu::newDatabaseRequested, &inicial,
                     [&] { inicial.CreateDatabase(torvane::Inicial::From::MainMenu); });
    QObject::connect(&menu, &torvane::Menu::openDatabaseRequested, &inicial,
                     [&] { inicial.OpenDatabase(torvane::Inicial::From::MainMenu); });
    if (auto* datosTaller = menu.findChild<QAction*>(QStringLiteral("mDatosTaller"))) {
        QObject::connect(datosTaller, &QAction::triggered, &menu, [&] {
            torvane::openScreen(&menu, new torvane::DatosEmpresa(session, services));
        });
    }

    inicial.StartUp();
    return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
    torvane::reports::keepPdfBuffersInHeap();
    if (const int code = answerInformation(argc, argv); code >= 0) return code;
    // "torvane verifactu --check --db FILE.erm" checks the invoice records' chain.
    if (argc > 1 && qstrcmp(argv[1], "verifactu") == 0) {
        QCoreApplication app(argc, argv);
        QTextStream out(stdout), err(stderr);
        return torvane::verifactu::runCommand(QCoreApplication::arguments().mid(2), out, err);
    }
    // Rendering a report from the command line needs no screen.
    const bool reportCommand = argc > 1 && qstrcmp(argv[1], "report") == 0;
    const bool importCommand = argc > 1 && qstrcmp(argv[1], "import") == 0;
    if ((reportCommand || importCommand) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Torvane"));
    const QStringList args = QApplication::arguments();
    // "torvane report NAME --db FILE.erm --pdf OUT.pdf" renders without a window.
    if (reportCommand) return torvane::reports::runReportCommand(args.mid(2));
    const QString home = programFolder(args);
    // "torvane import OLD.erm --out NEW.erm" brings an older file in without a window.
    if (importCommand) return torvane::import::runImportCommand(args.mid(2), home);

    return runDesktop(home);
}
