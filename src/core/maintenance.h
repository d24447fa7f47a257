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
// the program has it open: SQLite's online backup copies the whole file in one
// step (under a shared lock, so every page is of one committed state) into a
// temporary file beside target, which is then renamed over it, so an old target
// stays as it was on failure.
// A target that is the source file itself is left alone and counts as done.
// Returns the Spanish reason on failure.
std::optional<QString> backupDatabase(const QString& source, const QString& target);

// "DBT_" + minute + second (two digits each) + ".mdb".
QString compactionTempName(const QTime& time);

struct CompactionOptions {
    // The time that names the temporary file.
    std::function<QTime()> clock = [] { return QTime::currentTime(); };
    // How long to wait for another program's lock before refusing.
    int busyTimeoutMs = 5000;
};

// The error number of a compaction refused because another program holds the database.
inline constexpr int kDatabaseInUse = 5;

// Compacts the session's database. Leftover temporary files of earlier compactions
// ("DBT_????.mdb" and their journals) are removed first. Then, holding the file's
// exclusive lock throughout, the database is compacted into "DBT_mmss.mdb" in the
// program folder and copied back into the database by SQLite's backup API, inside
// SQLite's own journal: no other program's work can fall between the two steps, and
// nothing ever replaces the file under another connection. When another program holds
// a lock past the busy timeout the compaction is refused and nothing changes. The
// session's connection is closed meanwhile and reopened afterwards. Returns the error
// of the failing step.
std::optional<MaintenanceError> compactDatabase(Session& session,
                                                const CompactionOptions& options = {});

// The operating system's error number as a Spanish sentence.
QString systemErrorText(int err);

}  // namespace torvane
