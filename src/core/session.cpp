#include "core/session.h"

#include <QDir>

namespace torvane {

Session::Session(const QString& programFolder, QObject* parent)
    : QObject(parent), programFolder_(QDir(programFolder).absolutePath()) {}

Session::~Session() = default;

QString Session::programFile(const QString& name) const {
    return QDir(programFolder_).filePath(name);
}

void Session::setDatabasePath(const QString& path) {
    if (path == databasePath_) return;
    databasePath_ = path;
    Q_EMIT databasePathChanged(path);
}

bool Session::openDatabase(const QString& path, QString* reason, Database::Mode mode) {
    auto fresh = std::make_unique<Database>();
    if (!fresh->open(path, reason, mode)) return false;
    // Ours goes first, so that it cannot count as the other program.
    db_.reset();
    sharedWithOther_ = mode == Database::Mode::ReadWrite && fresh->announce();
    db_ = std::move(fresh);
    setDatabasePath(path);
    return true;
}

void Session::closeDatabase() {
    db_.reset();
    sharedWithOther_ = false;
}

bool Session::hasDatabase() const {
    return db_ && db_->isOpen();
}

Database& Session::db() {
    if (!db_) db_ = std::make_unique<Database>();
    return *db_;
}

void Session::setCompanyName(const QString& name) {
    if (name == companyName_) return;
    companyName_ = name;
    Q_EMIT companyNameChanged(name);
}

}  // namespace torvane
