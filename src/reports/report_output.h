#pragma once

#include <QString>
#include <vector>

#include "reports/report_page.h"

namespace torvane {
class Dialogs;
}

namespace torvane::reports {

// Where rendered reports go: the preview window or the default printer.
// The program passes the Qt one in its Services; tests pass a RecordingReportOutput.
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
class QtReportOutput : public ReportOutput {
  public:
    void preview(const RenderedReport& report, Dialogs& dialogs) override;
    QString defaultPrinter() const override;
    bool print(const RenderedReport& report, QString* reason) override;
};

}  // namespace torvane::reports
