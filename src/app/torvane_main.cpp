#include <QAction>
#include <QApplication>
#include <QMetaObject>
#include <QTextStream>

#include "app/desktop_launcher.h"
#include "app/main_window.h"
#include "app/screen_wiring.h"
#include "app/startup.h"
#include "controls/qt_dialogs.h"
#include "controls/screen.h"
#include "core/services.h"
#include "core/session.h"
#include "masters/datos_empresa.h"
#include "reports/report_cli.h"
#include "reports/report_output.h"
#include "verifactu/verifactu_cli.h"

namespace {

// The program folder: the executable's, or the one given with --home DIR.
QString programFolder(const QStringList& args) {
    const int at = args.indexOf(QStringLiteral("--home"));
    if (at >= 0 && at + 1 < args.size()) return args.at(at + 1);
    return QApplication::applicationDirPath();
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
    // "torvane verifactu --check --db FILE.erm" checks the invoice records' chain.
    if (argc > 1 && qstrcmp(argv[1], "verifactu") == 0) {
        QCoreApplication app(argc, argv);
        QTextStream out(stdout), err(stderr);
        return torvane::verifactu::runCommand(QCoreApplication::arguments().mid(2), out, err);
    }
    // Rendering a report from the command line needs no screen.
    const bool reportCommand = argc > 1 && qstrcmp(argv[1], "report") == 0;
    if (reportCommand && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Torvane"));
    const QStringList args = QApplication::arguments();
    // "torvane report NAME --db FILE.erm --pdf OUT.pdf" renders without a window.
    if (reportCommand) return torvane::reports::runReportCommand(args.mid(2));
    const QString home = programFolder(args);

    return runDesktop(home);
}
