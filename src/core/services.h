#pragma once

#include "core/dialogs.h"
#include "core/handoff.h"
#include "core/launchers.h"

namespace torvane::reports {
class ReportOutput;  // the report library's; core only passes it along
}

namespace torvane {

// What every screen reaches besides the session: the dialogs, where reports go,
// the hand-off registries and the launcher of outside programs. Created in main
// (tests build their own with recording parts) and passed explicitly.
class Services {
  public:
    Services(Dialogs& dialogs, reports::ReportOutput& reportOutput, ProgramLauncher& launcher)
        : dialogs_(dialogs), reportOutput_(reportOutput), launcher_(launcher) {}
    Services(const Services&) = delete;
    Services& operator=(const Services&) = delete;

    Dialogs& dialogs() const { return dialogs_; }
    reports::ReportOutput& reportOutput() const { return reportOutput_; }
    ProgramLauncher& launcher() const { return launcher_; }
    Handoffs& handoffs() { return handoffs_; }
    const Handoffs& handoffs() const { return handoffs_; }

  private:
    Dialogs& dialogs_;
    reports::ReportOutput& reportOutput_;
    ProgramLauncher& launcher_;
    Handoffs handoffs_;
};

}  // namespace torvane
