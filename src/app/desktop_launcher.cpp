#include "app/desktop_launcher.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace torvane {

bool DesktopLauncher::startProgram(const QString& program, const QStringList& arguments) {
    // Run from its own folder, as outside programs often look for their files there.
    return QProcess::startDetached(program, arguments, QFileInfo(program).absolutePath());
}

bool DesktopLauncher::openUrl(const QString& url) {
    return QDesktopServices::openUrl(QUrl(url));
}

QString DesktopLauncher::findExecutable(const QString& name) {
    return QStandardPaths::findExecutable(name);
}

}  // namespace torvane
