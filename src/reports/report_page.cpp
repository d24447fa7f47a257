#include "reports/report_page.h"

#include <qrencode.h>
#include <QFile>
#include <QGlyphRun>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>
#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

namespace torvane::reports {

QString reportFontFamily() {
    return QStringLiteral("DejaVu Sans");
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

void paintPage(QPainter& painter, const RenderedReport& report, int page,
               const QString& highlight) {
    if (page < 0 || page >= int(report.pages.size())) return;
    const QPaintDevice* dev = painter.device();
    const double kx = dev->logicalDpiX() / 72.0, ky = dev->logicalDpiY() / 72.0;
    const auto map = [&](const QRectF& r) {
        return QRectF(r.left() * kx, r.top() * ky, r.width() * kx, r.height() * ky);
    };
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    // Font and pen change only when an item needs another: a listing page has hundreds
    // of cells in two or three fonts.
    QFont font(reportFontFamily());
    double fontSize = -1;
    bool fontBold = false;
    std::optional<QRawFont> raw;
    enum class Pen { None, Text, Line, Box } pen = Pen::None;
    for (const PageItem& it : report.pages[page].items) {
        switch (it.kind) {
            case PageItem::Kind::Line: {
                if (pen != Pen::Line) painter.setPen(QPen(Qt::black, 0.5 * kx));
                pen = Pen::Line;
                painter.drawLine(QPointF(it.rect.left() * kx, it.rect.top() * ky),
                                 QPointF(it.rect.right() * kx, it.rect.bottom() * ky));
                break;
            }
            case PageItem::Kind::Qr:
                paintQr(painter, map(it.rect), it.text);
                pen = Pen::None;
                break;
            case PageItem::Kind::Box:
                if (pen != Pen::Box) painter.setPen(QPen(Qt::black, 0.6 * kx));
                pen = Pen::Box;
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(map(it.rect));
                break;
            case PageItem::Kind::Text: {
                const QRectF r = map(it.rect);
                const int flags = int(it.align | Qt::AlignVCenter) | Qt::TextSingleLine;
                if (it.size != fontSize || it.bold != fontBold) {
                    font.setPointSizeF(it.size);
                    font.setBold(it.bold);
                    painter.setFont(font);
                    raw = QRawFont::fromFont(font);
                    raw->setPixelSize(it.size * dev->logicalDpiY() / 72.0);
                    fontSize = it.size;
                    fontBold = it.bold;
                }
                if (!highlight.isEmpty() && it.text.contains(highlight, Qt::CaseInsensitive))
                    painter.fillRect(painter.boundingRect(r, flags, it.text).intersected(r),
                                     QColor(255, 235, 59));
                if (pen != Pen::Text) painter.setPen(Qt::black);
                pen = Pen::Text;
                // One line of Latin text needs no shaping: its glyphs straight from the
                // font's character map, placed on the baseline by their advances.
                const QList<quint32> glyphs = raw->glyphIndexesForString(it.text);
                const QList<QPointF> advances = raw->advancesForGlyphIndexes(glyphs);
                QList<QPointF> positions;
                positions.reserve(advances.size());
                double advance = 0;
                for (const QPointF& a : advances) {
                    positions << QPointF(advance, 0);
                    advance += a.x();
                }
                double x = r.left();
                if (it.align & Qt::AlignRight) x = r.right() - advance;
                if (it.align & Qt::AlignHCenter) x = r.left() + (r.width() - advance) / 2;
                const double baseline =
                    r.top() + (r.height() - raw->ascent() - raw->descent()) / 2 + raw->ascent();
                QGlyphRun run;
                run.setRawFont(*raw);
                run.setGlyphIndexes(glyphs);
                run.setPositions(positions);
                painter.drawGlyphRun(QPointF(x, baseline), run);
                break;
            }
        }
    }
    painter.restore();
}

bool paintAll(QPagedPaintDevice& device, const RenderedReport& report) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    for (size_t i = 0; i < report.pages.size(); ++i) {
        if (i > 0) device.newPage();
        paintPage(painter, report, int(i));
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
