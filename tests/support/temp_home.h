#pragma once

#include <QTemporaryDir>
#include <memory>

#include "core/session.h"

namespace torvane::testing {

// A temporary program folder with a fresh database made from the schema,
// opened in a Session. Each test gets its own.
class TempHome {
  public:
    // withDatabase=false leaves the folder empty (no database, no settings files).
    explicit TempHome(bool withDatabase = true);

    QString folder() const { return dir_.path(); }
    QString file(const QString& name) const;
    Session& session() { return *session_; }
    Database& db() { return session_->db(); }
    // Creates another fresh database file in the folder and returns its path.
    QString makeDatabase(const QString& name);
    // The template "Nueva" built next to the test executables.
    static QString builtTemplate();

  private:
    QTemporaryDir dir_;
    std::unique_ptr<Session> session_;
};

}  // namespace torvane::testing
