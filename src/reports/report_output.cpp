#include "reports/report_output.h"

namespace torvane::reports {

namespace {
ReportOutput* g_current = nullptr;
}

ReportOutput& reportOutput() {
    static QtReportOutput qtOutput;
    return g_current ? *g_current : qtOutput;
}

ScopedReportOutput::ScopedReportOutput(ReportOutput& output) : previous_(g_current) {
    g_current = &output;
}

ScopedReportOutput::~ScopedReportOutput() {
    g_current = previous_;
}

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
