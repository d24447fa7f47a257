#pragma once

#include <QString>
#include <vector>

#include "reports/report_page.h"

namespace torvane {
class Dialogs;
}

namespace torvane::reports {

// Where rendered reports go: the preview window or the default printer.
// The program uses the Qt one; tests install a RecordingReportOutput.
class ReportOutput {
  public:
    virtual ~ReportOutput() = default;
    // Shows the report in a modal, maximised preview and returns when it is closed.
    virtual void preview(const RenderedReport& report, Dialogs& dialogs) = 0;
    // Name of the system's default printer; empty when no printer is installed.
    virtual QString defaultPrinter() const = 0;
    // Sends the report to the default printer without a dialog.
    virtual bool print(const RenderedReport& report, QString* reason) = 0;
};

// The output the report routines use now.
ReportOutput& reportOutput();

// Installs an output for the lifetime of the object (tests, the command line).
class ScopedReportOutput {
  public:
    explicit ScopedReportOutput(ReportOutput& output);
    ~ScopedReportOutput();
    ScopedReportOutput(const ScopedReportOutput&) = delete;
    ScopedReportOutput& operator=(const ScopedReportOutput&) = delete;

  private:
    ReportOutput* previous_;
};

// Keeps what would have been shown or printed, for tests and scripts.
class RecordingReportOutput : public ReportOutput {
  public:
    struct Job {
        bool preview = false;
        RenderedReport report;
    };
    explicit RecordingReportOutput(QString printerName = QStringLiteral("Impresora"))
        : printer_(std::move(printerName)) {}

    void preview(const RenderedReport& report, Dialogs& dialogs) override;
    QString defaultPrinter() const override { return printer_; }
    bool print(const RenderedReport& report, QString* reason) override;

    void setPrinter(const QString& name) { printer_ = name; }
    const std::vector<Job>& jobs() const { return jobs_; }

  private:
    QString printer_;
    std::vector<Job> jobs_;
};

// The Qt output: QPrintPreviewWidget window and QPrinterInfo::defaultPrinter().
// Under a headless platform (offscreen, minimal) the preview is not opened, so
// nothing can wait for a user who is not there.
class QtReportOutput : public ReportOutput {
  public:
    void preview(const RenderedReport& report, Dialogs& dialogs) override;
    QString defaultPrinter() const override;
    bool print(const RenderedReport& report, QString* reason) override;
};

}  // namespace torvane::reports
