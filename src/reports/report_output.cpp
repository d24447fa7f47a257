#include "reports/report_output.h"

namespace torvane::reports {

void RecordingReportOutput::preview(const RenderedReport& report, Dialogs&) {
    jobs_.push_back({true, report});
}

bool RecordingReportOutput::print(const RenderedReport& report, QString* reason) {
    if (printer_.isEmpty()) {
        if (reason) *reason = QStringLiteral("no hay impresora");
        return false;
    }
    jobs_.push_back({false, report});
    return true;
}

}  // namespace torvane::reports
