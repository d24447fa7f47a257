#pragma once

#include <QDialog>
#include <QPrinter>

#include "reports/report_page.h"

class QLabel;
class QLineEdit;
class QPrintPreviewWidget;

namespace torvane {
class Dialogs;
}

namespace torvane::reports {

class ReportSource;

// The preview host window: the pages at 88 %, page navigation, zoom, print,
// save as PDF and a text search that highlights what it finds. It shows the source's
// first look at once and lays out the rest right after, or as soon as something needs it.
class ReportPreview : public QDialog {
    Q_OBJECT
  public:
    // source must have its first look (ReportSource::first succeeded).
    ReportPreview(ReportSource& source, Dialogs& dialogs, QWidget* parent = nullptr);

    int currentPage() const;  // 1-based
    int pageCount() const;    // of the pages laid out so far
    QString highlight() const { return highlight_; }
    // Highlights text and moves to the next page that has it; false when no page has it.
    bool find(const QString& text);

    // Lays out the pages not yet laid out; false (with a message) when that fails.
    bool layOutRest();
    // "Exportar": the whole listing to a spreadsheet file chosen by the user (".xlsx" or
    // ".csv"); false when cancelled or not written (with a message).
    bool exportListing();

  private:
    void paint(QPrinter* printer);
    void updatePageLabel();
    void printWithDialog();
    void saveAsPdf();
    void search();

    ReportSource& source_;
    const RenderedReport* report_;
    Dialogs& dialogs_;
    QPrinter printer_;
    QPrintPreviewWidget* view_ = nullptr;
    QLabel* pageLabel_ = nullptr;
    QLineEdit* searchEdit_ = nullptr;
    QString highlight_;
};

}  // namespace torvane::reports
