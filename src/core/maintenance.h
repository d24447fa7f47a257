#pragma once

#include <QString>
#include <QTime>
#include <functional>
#include <optional>

#include "core/session.h"

namespace torvane {

// Backup copy and compaction of the open database file.

// Why a maintenance step failed: a number (the system's errno for file
// operations, 1 for a database-engine error) and a Spanish description.
struct MaintenanceError {
    int number = 0;
    QString description;
};

// Writes a consistent copy of the database at source to target, even while
// the program has it open: the copy is built beside target under a temporary
// name and then renamed over it, so an old target stays as it was on failure.
// A target that is the source file itself is left alone and counts as done.
// Returns the Spanish reason on failure.
std::optional<QString> backupDatabase(const QString& source, const QString& target);

// "DBT_" + minute + second (two digits each) + ".mdb".
QString compactionTempName(const QTime& time);

struct CompactionOptions {
    // The time that names the temporary file.
    std::function<QTime()> clock = [] { return QTime::currentTime(); };
    // Replaces `to` by `from` in one step; on failure returns false and sets *err to an errno.
    std::function<bool(const QString& from, const QString& to, int* err)> replaceFile;
};

// Compacts the session's database into the temporary file of the program
// folder, then renames that file over the database in one atomic step, so the
// database is never missing. The session's connection is closed meanwhile
// and reopened afterwards. Returns the error of the failing step.
std::optional<MaintenanceError> compactDatabase(Session& session,
                                                const CompactionOptions& options = {});

// The operating system's error number as a Spanish sentence.
QString systemErrorText(int err);

}  // namespace torvane
