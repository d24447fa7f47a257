#pragma once

#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <memory>
#include <vector>

class QPainter;
class QPagedPaintDevice;

namespace torvane::reports {

struct ListTable;

// What the renderer draws, in points (1/72 inch) from the paper's top-left corner.
struct PageItem {
    enum class Kind { Text, Line, Box, Qr };  // Qr: text is what the code holds
    Kind kind = Kind::Text;
    QRectF rect;  // Line: from topLeft to bottomRight
    QString text;
    Qt::Alignment align = Qt::AlignLeft;
    double size = 9;  // font size in points
    bool bold = false;
};

struct Page {
    std::vector<PageItem> items;
};

// A rendered report: the pages that go to the preview, the printer or a PDF.
struct RenderedReport {
    QString name;     // the report file name
    QString title;    // window title, PDF title
    QString formula;  // the selection formula it was made with
    bool landscape = false;
    QSizeF paper;          // points; empty means A4 (a till roll sets its own length)
    bool complete = true;  // false: only the first pages, laid out for a first look
    std::vector<Page> pages;
    // A listing's rows as data, for export; none for other kinds of report.
    std::shared_ptr<const ListTable> table;

    QPageLayout pageLayout() const;
    QSizeF paperSize() const;  // points
    // The pages as text: one line per row of items (left to right, joined by " | "),
    // each page headed by "--- página N ---". Used by tests and the text search.
    QString toText() const;
    // Page numbers (0-based) whose text contains what (without regard to case).
    std::vector<int> pagesContaining(const QString& what) const;
};

// Draws one page on a painter whose device is the paper (full page, no margins);
// items containing highlight (without regard to case) get a yellow background.
void paintPage(QPainter& painter, const RenderedReport& report, int page,
               const QString& highlight = {});
// Draws all pages on a printer or PDF writer set up for the report's paper.
// Returns false when the device cannot be painted on.
bool paintAll(QPagedPaintDevice& device, const RenderedReport& report);
// Writes the report to a PDF file; *reason says why when it fails.
bool writePdf(const RenderedReport& report, const QString& path, QString* reason = nullptr);

// The font family every report uses.
QString reportFontFamily();

// Qt's PDF writer takes two 10 MB scratch buffers for each page it compresses. With the C
// library's own thresholds they go back to the system after every page and are faulted in
// again for the next one, which cost about half the time of writing a long listing. Call
// once at start-up, before any other thread: blocks up to 32 MB come from the heap and up
// to 64 MB of freed heap is kept for reuse. Does nothing outside glibc.
void keepPdfBuffersInHeap();

}  // namespace torvane::reports
