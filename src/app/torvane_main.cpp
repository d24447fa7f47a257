#include <QApplication>
#include <QCommandLineParser>
#include <QDir>

#include "app/main_window.h"
#include "controls/qt_dialogs.h"
#include "core/session.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Torvane"));
    QStringList args = QApplication::arguments();
    QString home = QApplication::applicationDirPath();
    const int h = args.indexOf(QStringLiteral("--home"));
    if (h >= 0 && h + 1 < args.size()) home = args[h + 1];

    torvane::Session session(home);
    torvane::QtDialogs dialogs;
    torvane::Menu menu(session, dialogs);
    menu.show();
    return app.exec();
}
