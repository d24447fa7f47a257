#include "core/maintenance.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
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

bool sameDevice(const QString& a, const QString& b) {
    struct stat sa {};
    struct stat sb {};
    if (::stat(native(a).constData(), &sa) != 0 || ::stat(native(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev;
}

// What SQLite writes to a plain file it does not flush; a backup on a USB stick must be on it.
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

// A name beside `near` that nothing uses yet, created empty (SQLite accepts an empty file).
std::optional<QString> reserveTempFile(const QString& folder, const QString& stem) {
    QTemporaryFile tmp(QDir(folder).filePath(stem + QStringLiteral("-XXXXXX.tmp")));
    tmp.setAutoRemove(false);
    if (!tmp.open()) return std::nullopt;
    const QString name = tmp.fileName();
    tmp.close();
    return name;
}

QString engineMessage(sqlite3* db, int rc) {
    const char* text = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    return QString::fromUtf8(text ? text : sqlite3_errstr(rc));
}

// Copies every page of `from` into `to` in one step. Returns the engine's result code.
int copyPages(sqlite3* to, sqlite3* from, QString* error) {
    sqlite3_backup* b = sqlite3_backup_init(to, "main", from, "main");
    if (!b) {
        *error = engineMessage(to, SQLITE_ERROR);
        return sqlite3_errcode(to);
    }
    int rc = sqlite3_backup_step(b, -1);
    const int finish = sqlite3_backup_finish(b);
    if (rc == SQLITE_DONE) rc = finish;
    if (rc != SQLITE_OK) *error = engineMessage(to, rc);
    return rc;
}

// A raw connection to a file of our own making (the copy or the compacted file).
struct RawFile {
    sqlite3* db = nullptr;
    RawFile(const QString& path, int flags) {
        if (sqlite3_open_v2(native(path).constData(), &db, flags, nullptr) != SQLITE_OK) {
            sqlite3_close(db);
            db = nullptr;
        }
    }
    ~RawFile() { sqlite3_close(db); }
    RawFile(const RawFile&) = delete;
    RawFile& operator=(const RawFile&) = delete;
};

bool isCompactionLeftover(const QString& name) {
    const QRegularExpression pattern(QStringLiteral("^DBT_[0-9]{4}\\.mdb(-journal|-wal|-shm)?$"));
    return pattern.match(name).hasMatch();
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
    const auto copyFailed = [&](const QString& why) {
        QFile::remove(*tmp);
        QFile::remove(*tmp + QStringLiteral("-journal"));
        return QStringLiteral("No se ha podido copiar la base de datos: %1").arg(why);
    };
    {
        Database db;
        QString reason;
        if (!db.open(source, &reason, Database::Mode::Copy))
            return copyFailed(
                QStringLiteral("No se puede abrir la base de datos %1: %2").arg(source, reason));
        RawFile copy(*tmp, SQLITE_OPEN_READWRITE);
        if (!copy.db) return copyFailed(QStringLiteral("no se puede crear la copia."));
        // The copy is one file written once: no journal needed, it is flushed below.
        sqlite3_exec(copy.db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF", nullptr, nullptr,
                     nullptr);
        QString error;
        const int rc = copyPages(copy.db, db.rawHandle(), &error);
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
            return copyFailed(QStringLiteral("el archivo está bloqueado por otro programa."));
        if (rc != SQLITE_OK) return copyFailed(error);
    }
    // A copy on another disk (a USB stick the user takes away once told it is done) is
    // flushed before it counts; on the database's own disk the system writes it back like any
    // copied file, which keeps the backup close to the time of a plain copy.
    if (!sameDevice(source, folder)) flushToDisk(*tmp);
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

    // Whatever an interrupted compaction left behind goes first, whatever its minute and second.
    const QDir folder(session.programFolder());
    for (const QString& name : folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System)) {
        if (!isCompactionLeftover(name)) continue;
        const QString stale = folder.filePath(name);
        if (::unlink(native(stale).constData()) != 0) {
            const int err = errno;
            return MaintenanceError{
                err, QStringLiteral("No se puede borrar el archivo temporal %1: %2")
                         .arg(QDir::toNativeSeparators(stale), systemErrorText(err))};
        }
    }

    // The session's grids may hold read cursors; they would keep the lock from us.
    const bool wasOpen = session.hasDatabase();
    session.closeDatabase();
    std::optional<MaintenanceError> failure;
    const auto engineFailure = [&](const QString& what) { failure = MaintenanceError{1, what}; };
    const auto refuse = [&] {
        failure = MaintenanceError{
            kDatabaseInUse,
            QStringLiteral("La base de datos %1 está bloqueada por otro programa; no se ha "
                           "compactado ni cambiado nada. Inténtelo cuando el otro programa "
                           "termine.")
                .arg(QDir::toNativeSeparators(dbPath))};
    };
    {
        Database db;
        QString reason;
        if (!db.open(dbPath, &reason)) {
            if (reason.contains(QStringLiteral("bloqueado")))
                refuse();
            else
                engineFailure(QStringLiteral("No se puede abrir la base de datos %1: %2")
                                  .arg(dbPath, reason));
        } else {
            sqlite3* h = db.rawHandle();
            db.setBusyTimeout(options.busyTimeoutMs);
            // The exclusive lock, taken once and kept until the copy is back in the file: no
            // other connection reads or writes in between.
            // The lock is waited for in normal mode, which lets go between attempts (so a
            // writer that is committing can finish), and then kept by the exclusive mode.
            int rc = sqlite3_exec(h, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
            if (rc == SQLITE_OK)
                rc = sqlite3_exec(h, "PRAGMA locking_mode=EXCLUSIVE; COMMIT", nullptr, nullptr,
                                  nullptr);
            if (rc != SQLITE_OK) {
                sqlite3_exec(h, "ROLLBACK", nullptr, nullptr, nullptr);
                if ((rc & 0xFF) == SQLITE_BUSY || (rc & 0xFF) == SQLITE_LOCKED)
                    refuse();
                else
                    engineFailure(engineMessage(h, rc));
            } else {
                try {
                    db.compactInto(temp);
                    flushToDisk(temp);
                    RawFile compacted(temp, SQLITE_OPEN_READONLY);
                    QString error;
                    if (!compacted.db)
                        engineFailure(QStringLiteral("No se puede leer la copia compactada %1.")
                                          .arg(QDir::toNativeSeparators(temp)));
                    else if (copyPages(h, compacted.db, &error) != SQLITE_OK)
                        engineFailure(error);
                } catch (const DbError& e) {
                    engineFailure(e.message());
                }
            }
            sqlite3_exec(h, "PRAGMA locking_mode=NORMAL; SELECT count(*) FROM sqlite_master",
                         nullptr, nullptr, nullptr);
        }
    }
    QFile::remove(temp);
    QFile::remove(temp + QStringLiteral("-journal"));

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
