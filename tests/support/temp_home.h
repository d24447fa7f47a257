#pragma once

#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>
#include <memory>

#include "core/session.h"

namespace torvane::testing {

// A temporary program folder with a fresh database made from the schema,
// opened in a Session. Each test gets its own.
class TempHome {
  public:
    // withDatabase=false leaves the folder empty (no database, no settings files).
    explicit TempHome(bool withDatabase = true) {
        EXPECT_TRUE(dir_.isValid());
        session_ = std::make_unique<Session>(dir_.path());
        if (!withDatabase) return;
        QString reason;
        EXPECT_TRUE(session_->openDatabase(makeDatabase(QStringLiteral("taller.erm")), &reason))
            << reason.toStdString();
    }

    QString folder() const { return dir_.path(); }
    QString file(const QString& name) const { return QDir(dir_.path()).filePath(name); }
    Session& session() { return *session_; }
    Database& db() { return session_->db(); }
    // Creates another fresh database file in the folder and returns its path.
    QString makeDatabase(const QString& name) {
        const QString path = file(name);
        QString reason;
        EXPECT_TRUE(Database::createFromSchema(path, &reason)) << reason.toStdString();
        return path;
    }
    // The template "Nueva" built next to the test executables.
    static QString builtTemplate() {
        return QDir(qEnvironmentVariable("TORVANE_BIN", QStringLiteral("."))).filePath("Nueva");
    }

  private:
    QTemporaryDir dir_;
    std::unique_ptr<Session> session_;
};

}  // namespace torvane::testing
