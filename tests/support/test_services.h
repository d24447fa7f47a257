#pragma once

#include "core/services.h"
#include "reports/report_output.h"
#include "support/recording_launcher.h"
#include "support/scripted_dialogs.h"

namespace torvane::testing {

// The recording parts, built before the Services that refers to them.
struct RecordingParts {
    ScriptedDialogs scripted;
    reports::RecordingReportOutput output;
    RecordingLauncher programs;
};

// Services for a test: scripted dialogs, reports kept instead of shown, programs
// recorded instead of started, and hand-off registries of its own.
class TestServices : public RecordingParts, public Services {
  public:
    TestServices() : Services(scripted, output, programs) {}
};

}  // namespace torvane::testing
