#include "core/maintenance.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "data/database.h"

namespace torvane {

namespace {

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

bool sameFile(const QString& a, const QString& b) {
    struct stat sa {};
    struct stat sb {};
    if (::stat(native(a).constData(), &sa) != 0 || ::stat(native(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// VACUUM INTO does not flush what it writes; a backup on a USB stick must be on it.
void flushToDisk(const QString& path) {
    const int fd = ::open(native(path).constData(), O_RDONLY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

bool renameOver(const QString& from, const QString& to, int* err) {
    if (std::rename(native(from).constData(), native(to).constData()) == 0) return true;
    if (err) *err = errno;
    return false;
}

// A name beside `near` that nothing uses yet, created empty (VACUUM INTO accepts an empty file).
std::optional<QString> reserveTempFile(const QString& folder, const QString& stem) {
    QTemporaryFile tmp(QDir(folder).filePath(stem + QStringLiteral("-XXXXXX.tmp")));
    tmp.setAutoRemove(false);
    if (!tmp.open()) return std::nullopt;
    const QString name = tmp.fileName();
    tmp.close();
    return name;
}

// Copies the database at source into the empty file target.
std::optional<QString> vacuumInto(const QString& source, const QString& target) {
    Database db;
    QString reason;
    if (!db.open(source, &reason))
        return QStringLiteral("No se puede abrir la base de datos %1: %2").arg(source, reason);
    try {
        db.compactInto(target);
    } catch (const DbError& e) {
        return e.message();
    }
    db.close();
    flushToDisk(target);
    return std::nullopt;
}

}  // namespace

QString systemErrorText(int err) {
    switch (err) {
        case EACCES:
        case EPERM:
            return QStringLiteral("Permiso denegado.");
        case ENOENT:
            return QStringLiteral("No existe el archivo o la carpeta.");
        case ENOSPC:
            return QStringLiteral("No queda espacio en el disco.");
        case EROFS:
            return QStringLiteral("El disco es de solo lectura.");
        case EISDIR:
            return QStringLiteral("Es una carpeta, no un archivo.");
        case ENOTDIR:
            return QStringLiteral("Una parte de la ruta no es una carpeta.");
        case EBUSY:
            return QStringLiteral("El archivo está en uso.");
        case EXDEV:
            return QStringLiteral("Los archivos están en discos distintos.");
        case ENOTEMPTY:
        case EEXIST:
            return QStringLiteral("La carpeta no está vacía.");
        default:
            return QString::fromLocal8Bit(std::strerror(err));
    }
}

std::optional<QString> backupDatabase(const QString& source, const QString& target) {
    if (!QFileInfo::exists(source))
        return QStringLiteral("No se encuentra la base de datos %1.").arg(source);
    // Copying the file onto itself would only destroy it.
    if (sameFile(source, target)) return std::nullopt;

    const QFileInfo info(target);
    const QString folder = info.absolutePath();
    if (!QFileInfo(folder).isDir())
        return QStringLiteral("No existe la carpeta %1.").arg(QDir::toNativeSeparators(folder));
    if (info.isDir())
        return QStringLiteral("%1 es una carpeta; elija un nombre de archivo.")
            .arg(QDir::toNativeSeparators(target));

    const auto tmp = reserveTempFile(folder, QStringLiteral(".torvane-copia"));
    if (!tmp)
        return QStringLiteral("No se puede escribir en la carpeta %1.")
            .arg(QDir::toNativeSeparators(folder));
    if (auto err = vacuumInto(source, *tmp)) {
        QFile::remove(*tmp);
        return QStringLiteral("No se ha podido copiar la base de datos: %1").arg(*err);
    }
    int err = 0;
    if (!renameOver(*tmp, info.absoluteFilePath(), &err)) {
        QFile::remove(*tmp);
        return QStringLiteral("No se puede escribir el archivo %1: %2")
            .arg(QDir::toNativeSeparators(target), systemErrorText(err));
    }
    return std::nullopt;
}

QString compactionTempName(const QTime& time) {
    return QStringLiteral("DBT_%1%2.mdb")
        .arg(time.minute(), 2, 10, QLatin1Char('0'))
        .arg(time.second(), 2, 10, QLatin1Char('0'));
}

std::optional<MaintenanceError> compactDatabase(Session& session,
                                                const CompactionOptions& options) {
    const QString dbPath = session.databasePath();
    const QString temp = session.programFile(
        compactionTempName(options.clock ? options.clock() : QTime::currentTime()));
    const std::function<bool(const QString&, const QString&, int*)> replace =
        options.replaceFile ? options.replaceFile : renameOver;

    const QFileInfo tempInfo(temp);
    if (tempInfo.exists() || tempInfo.isSymLink()) {
        if (::unlink(native(temp).constData()) != 0) {
            const int err = errno;
            return MaintenanceError{err,
                                    QStringLiteral("No se puede borrar el archivo temporal %1: %2")
                                        .arg(QDir::toNativeSeparators(temp), systemErrorText(err))};
        }
    }

    // Nothing may hold the file while it is replaced; the session gets it back in any case.
    const bool wasOpen = session.hasDatabase();
    session.closeDatabase();
    std::optional<MaintenanceError> failure;
    if (auto engineError = vacuumInto(dbPath, temp)) {
        failure = MaintenanceError{1, *engineError};
    } else {
        // Replace the link's target, not the link, when the database is reached through one.
        const QString canonical = QFileInfo(dbPath).canonicalFilePath();
        const QString dest = canonical.isEmpty() ? dbPath : canonical;
        int err = 0;
        if (!replace(temp, dest, &err) && err == EXDEV) {
            // The program folder is on another disk: bring the copy beside the database first,
            // so that the final step is still one rename.
            const QString folder = QFileInfo(dest).absolutePath();
            const auto beside = reserveTempFile(folder, QStringLiteral(".DBT"));
            err = beside ? 0 : EACCES;
            if (beside) {
                QFile::remove(*beside);
                if (!QFile::copy(temp, *beside)) {
                    err = EIO;
                } else {
                    flushToDisk(*beside);
                    if (replace(*beside, dest, &err)) {
                        QFile::remove(temp);
                        err = 0;
                    }
                }
                if (err != 0) QFile::remove(*beside);
            }
        }
        if (err != 0) {
            failure = MaintenanceError{
                err, QStringLiteral("No se puede sustituir la base de datos %1 por la copia "
                                    "compactada %2: %3")
                         .arg(QDir::toNativeSeparators(dbPath), QDir::toNativeSeparators(temp),
                              systemErrorText(err))};
        }
    }

    if (wasOpen) {
        QString reason;
        if (!session.openDatabase(dbPath, &reason) && !failure)
            failure =
                MaintenanceError{1, QStringLiteral("No se puede abrir la base de datos %1: %2")
                                        .arg(QDir::toNativeSeparators(dbPath), reason)};
    }
    return failure;
}

}  // namespace torvane
