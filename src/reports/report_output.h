#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "reports/report_page.h"

namespace torvane {
class Dialogs;
}

namespace torvane::reports {

// A report laid out as its pages are asked for: the first look lays out only the first
// page of a listing, the rest is laid out once something needs it (moving on, a search,
// printing). Everything else is laid out whole at the first look.
class ReportSource {
  public:
    // Lays out the report's first pageLimit pages (0: all); empty with *error on failure.
    using Render = std::function<std::optional<RenderedReport>(int pageLimit, QString* error)>;
    explicit ReportSource(Render render) : render_(std::move(render)) {}

    // The report with at least its first page; nullptr, with *error, when it cannot be made.
    const RenderedReport* first(QString* error);
    // The report with all its pages; nullptr, with *error, when it cannot be made (the
    // first pages stay available through first()).
    const RenderedReport* whole(QString* error);

  private:
    Render render_;
    std::optional<RenderedReport> report_;
};

// Where rendered reports go: the preview window or the default printer.
// The program passes the Qt one in its Services; tests pass a RecordingReportOutput.
class ReportOutput {
  public:
    virtual ~ReportOutput() = default;
    // Shows the report in a modal, maximised preview and returns when it is closed; the
    // preview asks the source for further pages as they are needed.
    virtual void preview(ReportSource& report, Dialogs& dialogs) = 0;
    // Name of the system's default printer; empty when no printer is installed.
    virtual QString defaultPrinter() const = 0;
    // Sends the report to the default printer without a dialog.
    virtual bool print(const RenderedReport& report, QString* reason) = 0;
};

// Keeps what would have been shown or printed, for tests and scripts.
class RecordingReportOutput : public ReportOutput {
  public:
    struct Job {
        bool preview = false;
        RenderedReport report;  // a preview: its first look, as the window gets it
    };
    explicit RecordingReportOutput(QString printerName = QStringLiteral("Impresora"))
        : printer_(std::move(printerName)) {}

    void preview(ReportSource& report, Dialogs& dialogs) override;
    QString defaultPrinter() const override { return printer_; }
    bool print(const RenderedReport& report, QString* reason) override;

    void setPrinter(const QString& name) { printer_ = name; }
    const std::vector<Job>& jobs() const { return jobs_; }

  private:
    QString printer_;
    std::vector<Job> jobs_;
};

// The Qt output: QPrintPreviewWidget window and QPrinterInfo::defaultPrinter().
class QtReportOutput : public ReportOutput {
  public:
    void preview(ReportSource& report, Dialogs& dialogs) override;
    QString defaultPrinter() const override;
    bool print(const RenderedReport& report, QString* reason) override;
};

}  // namespace torvane::reports
