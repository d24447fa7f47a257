// Documents on A4: invoices, delivery notes, work-order sheets. The workshop block top
// left, the heading and its fields top right, the customer where a window envelope shows
// it, then each record with its sections of lines, the totals and the foot.

#include "reports/document_data.h"

namespace torvane::reports {

namespace {

class DocumentLayout : public ContextLayout {
  public:
    using ContextLayout::ContextLayout;

    bool render(const Loaded& rep, const SqlCondition& cond, const QString&,
                RenderedReport* out) override {
        DocumentData data;
        if (!data.prepare(ctx_, rep, cond)) return false;
        const ReportDefinition& def = rep.def;
        Measure& measure = ctx_.measure;
        const Record& first = data.records.front();

        Pages pages(out->paperSize());
        const double left = kMargin, width = pages.width() - 2 * kMargin, right = left + width;
        double y = kMargin;
        const double rowH = 11.5, size = 8.5;
        QString continuation = def.heading;
        if (!data.fields.empty()) continuation += ' ' + data.fields.front().render(first);
        continuation += QStringLiteral(" (continuación)");

        const SectionData* openSection = nullptr;
        const Table* openTable = nullptr;
        const auto sectionHead = [&](const SectionData& s, const Table& t, bool continued) {
            QString title = s.rep->def.title;
            if (continued) title += QStringLiteral(" (continuación)");
            pages.text(left, y, width, 14, title, 10, true);
            y += 15;
            const auto cells = t.cells(headingsOf(s.rep->def.columns), measure, 8, true);
            const double h = Table::height(cells, rowH);
            t.draw(pages, y, cells, 8, true, rowH);
            y += h + 1;
            pages.line(left, y, right);
            y += 3;
        };
        const auto ensure = [&](double h) {
            if (y + h <= pages.bottom()) return;
            pages.newPage();
            y = kMargin;
            pages.text(left, y, width, 13, continuation, 10, true);
            y += 15;
            pages.line(left, y, right);
            y += 8;
            if (openSection) sectionHead(*openSection, *openTable, true);
        };
        // Lines that grow to as many as the text needs.
        const auto grow = [&](double x, double w, const QString& t, double sz, bool bold,
                              double lineH, Qt::Alignment align = Qt::AlignLeft) {
            growingText(pages, measure, x, &y, w, t, sz, bold, lineH, align);
        };

        pages.newPage();
        // Company block, top left.
        const double top = y;
        bool firstLine = true;
        for (const QString& t : DocumentData::lines(data.company, data.companyRow)) {
            grow(left, width * 0.55, t, firstLine ? 12 : 8.5, firstLine, firstLine ? 16 : 11);
            if (firstLine) y += 1;
            firstLine = false;
        }
        const double companyBottom = y;
        // Document heading and its fields, top right.
        y = top;
        const double fx = left + width * 0.58, fw = right - fx;
        if (!def.heading.isEmpty()) {
            pages.text(fx, y, fw, 22, def.heading, 18, true, Qt::AlignRight);
            y += 26;
        }
        if (!data.fields.empty()) {
            const double boxTop = y;
            y += 3;
            // The labels take what the longest needs; the values the rest.
            double labelW = 0;
            for (const FieldDef& f : def.fields)
                labelW = std::max(labelW, measure.width(f.label, 8.5, true));
            labelW = std::min(labelW + 8, fw * 0.5);
            for (size_t i = 0; i < data.fields.size(); ++i) {
                const QString value = data.fields[i].render(first);
                if (value.isEmpty()) continue;  // a field that does not apply
                const double rowTop = y;
                pages.text(fx + 5, y, labelW, 13, def.fields[i].label, 8.5, true);
                grow(fx + 5 + labelW, fw - labelW - 10, value, 9, false, 13, Qt::AlignRight);
                y = std::max(y, rowTop + 13);
            }
            y += 3;
            pages.box(QRectF(fx, boxTop, fw, y - boxTop));
        }
        y = std::max(companyBottom, y) + 14;
        // Customer block, right half, where a window envelope shows it.
        const QStringList customerLines = DocumentData::lines(data.customer, first);
        if (!customerLines.isEmpty()) {
            const double bx = left + width * 0.5, bw = right - bx;
            pages.text(bx, y, bw, 11, def.customerTitle, 8, true);
            y += 12;
            const double boxTop = y;
            y += 4;
            for (int i = 0; i < customerLines.size(); ++i)
                grow(bx + 6, bw - 12, customerLines[i], 9.5, i == 0, 13);
            y += 4;
            pages.box(QRectF(bx, boxTop, bw, y - boxTop));
            y += 14;
        }

        Money baseSum;
        for (const Record& r : data.records) {
            const QStringList recordLines = DocumentData::lines(data.record, r);
            if (!recordLines.isEmpty()) {
                ensure(recordLines.size() * 13 + 40);
                for (const QString& t : recordLines) grow(left, width, t, 9.5, true, 13);
                y += 6;
            }
            for (const SectionData& s : data.sections) {
                const std::vector<Record> lines = data.sectionLines(ctx_, s, r);
                if (lines.empty()) continue;
                const Table t(s.rep->def.columns, left, width);
                ensure(15 + 16 + rowH);
                sectionHead(s, t, false);
                openSection = &s;
                openTable = &t;
                std::vector<Money> sums(s.cols.size());
                for (const Record& line : lines) {
                    QStringList texts;
                    for (const Bound& b : s.cols) texts << b.render(line);
                    const auto cells = t.cells(texts, measure, size, false);
                    const double h = Table::height(cells, rowH);
                    ensure(h);
                    t.draw(pages, y, cells, size, false, rowH);
                    y += h;
                    for (size_t i = 0; i < s.cols.size(); ++i)
                        if (s.rep->def.columns[i].total)
                            sums[i] += Money::fromDb(s.cols[i].value(line, 0)).roundCents();
                }
                openSection = nullptr;
                openTable = nullptr;
                if (s.amountColumn >= 0) {
                    ensure(16);
                    pages.line(t.x[size_t(s.amountColumn)], y + 1, right);
                    y += t.drawTotals(pages, y + 2,
                                      QStringLiteral("Total %1").arg(s.rep->def.title.toLower()),
                                      s.rep->def.columns, sums, measure, size) +
                         4;
                    baseSum += sums[size_t(s.amountColumn)];
                }
                y += 8;
            }
        }

        const std::vector<TotalLine> totals = data.totals(baseSum);
        if (!totals.empty()) {
            int amounts = 0;
            for (const TotalLine& t : totals) amounts += t.words ? 0 : 1;
            ensure(amounts * 16 + 30);
            y += 6;
            const double bx = left + width * 0.55, bw = right - bx, boxTop = y;
            bool lineDrawn = false;
            for (const TotalLine& t : totals) {
                if (t.words) continue;
                if (t.bold && !lineDrawn) {
                    pages.line(bx, y + 1, right);
                    y += 2;
                    lineDrawn = true;
                }
                const double sz = t.bold ? 11 : 9.5;
                pages.text(bx + 6, y + 2, bw * 0.55, 14, t.label, sz, t.bold);
                pages.text(bx + bw * 0.45, y + 2, bw * 0.55 - 6, 14, t.amount, sz, t.bold,
                           Qt::AlignRight);
                y += 16;
            }
            y += 2;
            if (amounts > 0) pages.box(QRectF(bx, boxTop, bw, y - boxTop));
            y += 8;
            for (const TotalLine& t : totals) {
                if (!t.words) continue;
                const QString text = t.label.isEmpty() ? t.amount : t.label + ' ' + t.amount;
                ensure(13);
                grow(left, width, text, 9, false, 12);
            }
            y += 4;
        }
        for (const Bound& b : data.foot) {
            const QString t = b.render(first);
            if (t.isEmpty()) continue;
            for (const QString& l : measure.wrap(t, width, 8, false)) {
                ensure(11);
                pages.text(left, y, width, 11, l, 8);
                y += 11;
            }
        }
        const QString address = data.qrAddress(ctx_, first);
        if (!address.isEmpty()) {
            // 35 mm, with its caption above and the mode beside it.
            const double side = 35 * kPointsPerMm;
            ensure(side + 30);
            y += 8;
            pages.text(left, y, width, 12, QStringLiteral("QR tributario:"), 8.5, true);
            y += 14;
            pages.qr(QRectF(left, y, side, side), address);
            // The mode's name only on invoices whose records go to the agency.
            if (!address.contains(QLatin1String("ValidarQRNoVerifactu")))
                pages.text(left + side + 10, y + side / 2 - 7, width - side - 10, 14,
                           QStringLiteral("VERI*FACTU"), 10, true);
            y += side + 4;
        }
        out->pages = pages.finish();
        return true;
    }
};

}  // namespace

std::unique_ptr<ReportLayout> makeDocumentLayout(LayoutContext& ctx) {
    return std::make_unique<DocumentLayout>(ctx);
}

}  // namespace torvane::reports
