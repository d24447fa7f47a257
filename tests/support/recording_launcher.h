#pragma once

#include <QSet>
#include <QStringList>

#include "core/launchers.h"

namespace torvane::testing {

// Starts nothing: records the programs and addresses it is asked to open. Only the
// names in `installed` are found on the path, as /usr/bin/<name>.
class RecordingLauncher : public ProgramLauncher {
  public:
    QSet<QString> installed;
    bool startWorks = true;
    QStringList started;
    QStringList urls;

    bool startProgram(const QString& program, const QStringList&) override {
        started << program;
        return startWorks;
    }
    bool openUrl(const QString& url) override {
        urls << url;
        return startWorks;
    }
    QString findExecutable(const QString& name) override {
        return installed.contains(name) ? QStringLiteral("/usr/bin/") + name : QString();
    }
};

}  // namespace torvane::testing
