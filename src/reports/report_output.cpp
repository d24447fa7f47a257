#include "reports/report_output.h"

namespace torvane::reports {

const RenderedReport* ReportSource::first(QString* error) {
    if (!report_) report_ = render_(1, error);
    return report_ ? &*report_ : nullptr;
}

const RenderedReport* ReportSource::whole(QString* error) {
    if (!first(error)) return nullptr;
    if (!report_->complete) {
        auto all = render_(0, error);
        if (!all) return nullptr;
        report_ = std::move(all);
    }
    return &*report_;
}

void RecordingReportOutput::preview(ReportSource& report, Dialogs&) {
    QString error;
    const RenderedReport* first = report.first(&error);
    jobs_.push_back({true, first ? *first : RenderedReport{}});
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
