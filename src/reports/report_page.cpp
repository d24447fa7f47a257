#include "reports/report_page.h"

#include <qrencode.h>
#include <QFile>
#include <QGlyphRun>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>
#include <algorithm>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <cmath>
#include <limits>

namespace torvane::reports {

QString reportFontFamily() {
    return QStringLiteral("DejaVu Sans");
}

void keepPdfBuffersInHeap() {
#ifdef __GLIBC__
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
#endif
}

QPageLayout RenderedReport::pageLayout() const {
    if (!paper.isEmpty())
        return QPageLayout(QPageSize(paper, QPageSize::Point, QString(), QPageSize::ExactMatch),
                           QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    return QPageLayout(QPageSize(QPageSize::A4),
                       landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Point);
}

QSizeF RenderedReport::paperSize() const {
    return pageLayout().fullRect(QPageLayout::Point).size();
}

namespace {

// Rows of a page: items whose tops are within half a point belong together.
std::vector<std::vector<const PageItem*>> rowsOf(const Page& page) {
    std::vector<const PageItem*> texts;
    for (const PageItem& it : page.items)
        if (it.kind == PageItem::Kind::Text && !it.text.isEmpty()) texts.push_back(&it);
    std::stable_sort(texts.begin(), texts.end(), [](const PageItem* a, const PageItem* b) {
        const double ya = std::round(a->rect.top() * 2), yb = std::round(b->rect.top() * 2);
        if (ya != yb) return ya < yb;
        return a->rect.left() < b->rect.left();
    });
    std::vector<std::vector<const PageItem*>> rows;
    double lastTop = -1e9;
    for (const PageItem* it : texts) {
        if (rows.empty() || std::fabs(it->rect.top() - lastTop) > 0.5) rows.emplace_back();
        rows.back().push_back(it);
        lastTop = it->rect.top();
    }
    return rows;
}

// Error correction M, drawn as black squares filling the rect (a quiet zone is left
// around it by the layout).
void paintQr(QPainter& painter, const QRectF& r, const QString& payload) {
    QRcode* code = QRcode_encodeString(payload.toUtf8().constData(), 0, QR_ECLEVEL_M, QR_MODE_8, 1);
    if (!code) return;
    const double module = r.width() / code->width;
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    for (int y = 0; y < code->width; ++y)
        for (int x = 0; x < code->width; ++x)
            if (code->data[y * code->width + x] & 1)
                painter.drawRect(
                    QRectF(r.left() + x * module, r.top() + y * module, module, module));
    painter.setBrush(Qt::NoBrush);
    QRcode_free(code);
}

QString pageText(const Page& page) {
    QString out;
    for (const auto& row : rowsOf(page)) {
        QStringList parts;
        for (const PageItem* it : row) parts << it->text;
        out += parts.join(QStringLiteral(" | ")) + '\n';
    }
    return out;
}

}  // namespace

QString RenderedReport::toText() const {
    QString out;
    for (size_t i = 0; i < pages.size(); ++i) {
        out += QStringLiteral("--- página %1 ---\n").arg(i + 1);
        out += pageText(pages[i]);
    }
    return out;
}

std::vector<int> RenderedReport::pagesContaining(const QString& what) const {
    std::vector<int> out;
    if (what.isEmpty()) return out;
    for (size_t i = 0; i < pages.size(); ++i)
        for (const PageItem& it : pages[i].items)
            if (it.kind == PageItem::Kind::Text && it.text.contains(what, Qt::CaseInsensitive)) {
                out.push_back(int(i));
                break;
            }
    return out;
}

namespace {

// One report font on one device: the raw font the glyphs come from, with the metrics
// every line asks for.
struct ReportFont {
    double size = 0;
    bool bold = false;
    QFont font;
    QRawFont raw;
    double ascent = 0, descent = 0;
    std::vector<double> advances;  // by glyph index; NaN: not asked yet

    // FreeType loads a glyph to give its advance: each is asked once per document.
    double advance(quint32 glyph) {
        if (glyph >= advances.size())
            advances.resize(glyph + 1, std::numeric_limits<double>::quiet_NaN());
        double& a = advances[glyph];
        if (std::isnan(a)) {
            QPointF p;
            a = raw.advancesForGlyphIndexes(&glyph, &p, 1) ? p.x() : 0;
        }
        return a;
    }
};

// Glyphs of one font on one baseline, waiting to be drawn as a single run.
struct PendingRun {
    int font = 0;
    double baseline = 0;
    QList<quint32> glyphs;
    QList<QPointF> positions;
};

// Paints the pages of one report on one device. The cells of a row (same font, same baseline) are
// drawn as one glyph run, each glyph where it would be on its own: the PDF engine's cost is per run
// (a text object with its font and state), not per glyph. Runs are drawn before anything else is,
// so lines, boxes and highlights keep their order with the text; only black glyphs that do not
// overlap change order among themselves.
class PagePainter {
  public:
    explicit PagePainter(QPainter& painter)
        : painter_(painter),
          kx_(painter.device()->logicalDpiX() / 72.0),
          ky_(painter.device()->logicalDpiY() / 72.0) {}

    void paint(const Page& page, const QString& highlight) {
        painter_.save();
        painter_.setRenderHint(QPainter::Antialiasing, true);
        painter_.setRenderHint(QPainter::TextAntialiasing, true);
        pen_ = Pen::None;
        painterFont_ = -1;
        for (const PageItem& it : page.items) {
            switch (it.kind) {
                case PageItem::Kind::Line:
                    line(it.rect);
                    break;
                case PageItem::Kind::Qr:
                    qr(it.rect, it.text);
                    break;
                case PageItem::Kind::Box:
                    box(it.rect);
                    break;
                case PageItem::Kind::Text:
                    text(it, highlight);
                    break;
            }
        }
        flush();
        painter_.restore();
    }

  private:
    enum class Pen { None, Text, Line, Box };

    QRectF map(const QRectF& r) const {
        return QRectF(r.left() * kx_, r.top() * ky_, r.width() * kx_, r.height() * ky_);
    }

    void line(const QRectF& r) {
        flush();
        setPen(Pen::Line);
        painter_.drawLine(QPointF(r.left() * kx_, r.top() * ky_),
                          QPointF(r.right() * kx_, r.bottom() * ky_));
    }

    void box(const QRectF& r) {
        flush();
        setPen(Pen::Box);
        painter_.setBrush(Qt::NoBrush);
        painter_.drawRect(map(r));
    }

    void qr(const QRectF& r, const QString& payload) {
        flush();
        paintQr(painter_, map(r), payload);
        pen_ = Pen::None;
    }

    void text(const PageItem& it, const QString& highlight) {
        const QRectF r = map(it.rect);
        const int f = fontFor(it.size, it.bold);
        ReportFont& font = fonts_[size_t(f)];
        if (!highlight.isEmpty() && it.text.contains(highlight, Qt::CaseInsensitive)) {
            flush();
            if (painterFont_ != f) painter_.setFont(font.font);
            painterFont_ = f;
            const int flags = int(it.align | Qt::AlignVCenter) | Qt::TextSingleLine;
            painter_.fillRect(painter_.boundingRect(r, flags, it.text).intersected(r),
                              QColor(255, 235, 59));
        }
        const double baseline =
            r.top() + (r.height() - font.ascent - font.descent) / 2 + font.ascent;
        PendingRun& run = runFor(f, baseline);
        // One line of Latin text needs no shaping: its glyphs straight from the font's
        // character map, placed on the baseline by their advances.
        const qsizetype first = run.glyphs.size();
        int count = int(it.text.size());
        run.glyphs.resize(first + count);
        if (!font.raw.glyphIndexesForChars(it.text.constData(), int(it.text.size()),
                                           run.glyphs.data() + first, &count))
            count = 0;
        run.glyphs.resize(first + count);
        advances_.resize(size_t(count));
        for (int i = 0; i < count; ++i) advances_[size_t(i)] = font.advance(run.glyphs[first + i]);
        double advance = 0;
        for (const double a : advances_) advance += a;
        double x = r.left();
        if (it.align & Qt::AlignRight) x = r.right() - advance;
        if (it.align & Qt::AlignHCenter) x = r.left() + (r.width() - advance) / 2;
        // The run is drawn from (0, 0): each position is the sum a run of its own would
        // have made (origin plus offset), so glyphs land exactly where they did.
        run.positions.reserve(first + count);
        double offset = 0;
        for (const double a : advances_) {
            run.positions << QPointF(x + offset, baseline);
            offset += a;
        }
    }

    // Draws the waiting runs in the order they were started (rows top to bottom).
    void flush() {
        if (pending_ == 0) return;
        setPen(Pen::Text);
        for (size_t i = 0; i < pending_; ++i) {
            PendingRun& p = runs_[i];
            {
                QGlyphRun run;
                run.setRawFont(fonts_[size_t(p.font)].raw);
                run.setGlyphIndexes(p.glyphs);
                run.setPositions(p.positions);
                painter_.drawGlyphRun(QPointF(0, 0), run);
            }
            // Unshared again once the run is gone: the buffers keep their capacity.
            p.glyphs.clear();
            p.positions.clear();
        }
        pending_ = 0;
    }

    void setPen(Pen pen) {
        if (pen == pen_) return;
        switch (pen) {
            case Pen::Text:
                painter_.setPen(Qt::black);
                break;
            case Pen::Line:
                painter_.setPen(QPen(Qt::black, 0.5 * kx_));
                break;
            case Pen::Box:
                painter_.setPen(QPen(Qt::black, 0.6 * kx_));
                break;
            case Pen::None:
                break;
        }
        pen_ = pen;
    }

    int fontFor(double size, bool bold) {
        if (lastFont_ >= 0 && fonts_[size_t(lastFont_)].size == size &&
            fonts_[size_t(lastFont_)].bold == bold)
            return lastFont_;
        for (size_t i = 0; i < fonts_.size(); ++i)
            if (fonts_[i].size == size && fonts_[i].bold == bold) return lastFont_ = int(i);
        ReportFont f;
        f.size = size;
        f.bold = bold;
        f.font = QFont(reportFontFamily());
        f.font.setPointSizeF(size);
        f.font.setBold(bold);
        f.raw = QRawFont::fromFont(f.font);
        f.raw.setPixelSize(size * painter_.device()->logicalDpiY() / 72.0);
        f.ascent = f.raw.ascent();
        f.descent = f.raw.descent();
        fonts_.push_back(std::move(f));
        return lastFont_ = int(fonts_.size() - 1);
    }

    PendingRun& runFor(int font, double baseline) {
        // The row being filled is nearly always the latest one started.
        for (size_t i = pending_; i-- > 0;)
            if (runs_[i].font == font && runs_[i].baseline == baseline) return runs_[i];
        if (pending_ == runs_.size()) runs_.emplace_back();
        PendingRun& run = runs_[pending_++];
        run.font = font;
        run.baseline = baseline;
        return run;
    }

    QPainter& painter_;
    const double kx_, ky_;
    Pen pen_ = Pen::None;
    std::vector<ReportFont> fonts_;
    int lastFont_ = -1;
    int painterFont_ = -1;
    std::vector<PendingRun> runs_;
    size_t pending_ = 0;
    std::vector<double> advances_;
};

}  // namespace

void paintPage(QPainter& painter, const RenderedReport& report, int page,
               const QString& highlight) {
    if (page < 0 || page >= int(report.pages.size())) return;
    PagePainter(painter).paint(report.pages[size_t(page)], highlight);
}

bool paintAll(QPagedPaintDevice& device, const RenderedReport& report) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    PagePainter pages(painter);  // fonts and buffers made once for the whole report
    for (size_t i = 0; i < report.pages.size(); ++i) {
        if (i > 0) device.newPage();
        pages.paint(report.pages[i], {});
    }
    painter.end();
    return true;
}

bool writePdf(const RenderedReport& report, const QString& path, QString* reason) {
    {
        QFile probe(path);
        if (!probe.open(QIODevice::WriteOnly)) {
            if (reason) *reason = probe.errorString();
            return false;
        }
    }
    QPdfWriter writer(path);
    writer.setResolution(600);
    writer.setTitle(report.title);
    writer.setCreator(QStringLiteral("Torvane"));
    writer.setPageLayout(report.pageLayout());
    if (!paintAll(writer, report)) {
        if (reason) *reason = QStringLiteral("no se puede escribir el PDF");
        return false;
    }
    return true;
}

}  // namespace torvane::reports
