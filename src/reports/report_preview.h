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

// The preview host window: the pages at 88 %, page navigation, zoom, print,
// save as PDF and a text search that highlights what it finds.
class ReportPreview : public QDialog {
    Q_OBJECT
  public:
    ReportPreview(const RenderedReport& report, Dialogs& dialogs, QWidget* parent = nullptr);

    int currentPage() const;  // 1-based
    QString highlight() const { return highlight_; }
    // Highlights text and moves to the next page that has it; false when no page has it.
    bool find(const QString& text);

  private:
    void paint(QPrinter* printer);
    void updatePageLabel();
    void printWithDialog();
    void saveAsPdf();
    void search();

    const RenderedReport& report_;
    Dialogs& dialogs_;
    QPrinter printer_;
    QPrintPreviewWidget* view_ = nullptr;
    QLabel* pageLabel_ = nullptr;
    QLineEdit* searchEdit_ = nullptr;
    QString highlight_;
};

}  // namespace torvane::reports
