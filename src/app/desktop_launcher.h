#pragma once

#include "core/launchers.h"

namespace torvane {

// Starts programs and opens web pages on the user's desktop.
class DesktopLauncher : public ProgramLauncher {
  public:
    bool startProgram(const QString& program, const QStringList& arguments) override;
    bool openUrl(const QString& url) override;
    QString findExecutable(const QString& name) override;
};

}  // namespace torvane
