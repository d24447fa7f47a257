#include "core/program_folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace torvane {

namespace {
const QString kTemplate = QStringLiteral("Nueva");
}

QString installedDataFolder(const QString& executableFolder) {
    const QDir exe(executableFolder);
    if (exe.dirName() != QLatin1String("bin")) return {};
    const QString data = QDir::cleanPath(exe.filePath(QStringLiteral("../share/torvane")));
    return QFileInfo(QDir(data).filePath(kTemplate)).isFile() ? data : QString();
}

QString defaultProgramFolder(const QString& executableFolder) {
    if (installedDataFolder(executableFolder).isEmpty()) return executableFolder;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(folder);
    return folder;
}

bool provideTemplate(const QString& programFolder, const QString& dataFolder, QString* reason) {
    const QFileInfo shipped(QDir(dataFolder).filePath(kTemplate));
    const QFileInfo own(QDir(programFolder).filePath(kTemplate));
    if (!shipped.isFile()) return true;
    if (own.isFile() && own.size() == shipped.size()) {
        QFile a(shipped.filePath()), b(own.filePath());
        if (a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly) &&
            a.readAll() == b.readAll())
            return true;
    }
    QFile::remove(own.filePath());
    if (!QFile::copy(shipped.filePath(), own.filePath())) {
        if (reason)
            *reason = QStringLiteral("no se puede copiar la plantilla \"%1\" a \"%2\"")
                          .arg(shipped.filePath(), programFolder);
        return false;
    }
    // The shipped file is read-only; the copy is the user's.
    QFile(own.filePath())
        .setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return true;
}

}  // namespace torvane
