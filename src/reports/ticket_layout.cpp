// Till tickets on an 80 mm roll: one narrow page as long as its content, centred
// workshop block, the heading and fields, the lines, the totals and the foot.

#include "reports/document_data.h"

namespace torvane::reports {

namespace {

constexpr double kRollWidthMm = 80;
constexpr double kRollMarginMm = 4;
// Laid out on a strip longer than any ticket, then cut to its content.
constexpr double kStripLength = 1e6;

class TicketLayout : public ContextLayout {
  public:
    using ContextLayout::ContextLayout;

    bool render(const Loaded& rep, const SqlCondition& cond, const QString&,
                RenderedReport* out) override {
        DocumentData data;
        if (!data.prepare(ctx_, rep, cond)) return false;
        const ReportDefinition& def = rep.def;
        Measure& measure = ctx_.measure;
        const Record& first = data.records.front();

        const double paperWidth = kRollWidthMm * kPointsPerMm;
        const double margin = kRollMarginMm * kPointsPerMm;
        Pages pages(QSizeF(paperWidth, kStripLength));
        const double left = margin, width = paperWidth - 2 * margin, right = left + width;
        double y = margin;
        const double size = 7.5, rowH = 10;
        const auto grow = [&](const QString& t, double sz, bool bold, Qt::Alignment align,
                              double lineH) {
            growingText(pages, measure, left, &y, width, t, sz, bold, lineH, align);
        };

        pages.newPage();
        bool firstLine = true;
        for (const QString& t : DocumentData::lines(data.company, data.companyRow)) {
            grow(t, firstLine ? 10 : size, firstLine, Qt::AlignHCenter, firstLine ? 13 : rowH);
            firstLine = false;
        }
        y += 4;
        if (!def.heading.isEmpty()) grow(def.heading, 10, true, Qt::AlignHCenter, 13);
        for (size_t i = 0; i < data.fields.size(); ++i) {
            const QString value = data.fields[i].render(first);
            if (!value.isEmpty())
                grow(def.fields[i].label + QStringLiteral(": ") + value, size, false, Qt::AlignLeft,
                     rowH);
        }
        for (const QString& t : DocumentData::lines(data.customer, first))
            grow(t, size, false, Qt::AlignLeft, rowH);
        pages.line(left, y + 2, right);
        y += 5;

        Money baseSum;
        for (const Record& r : data.records) {
            for (const QString& t : DocumentData::lines(data.record, r))
                grow(t, size, true, Qt::AlignLeft, rowH);
            for (const SectionData& s : data.sections) {
                const std::vector<Record> lines = data.sectionLines(ctx_, s, r);
                if (lines.empty()) continue;
                const Table t(s.rep->def.columns, left, width);
                const auto heads = t.cells(headingsOf(s.rep->def.columns), measure, 6.5, true);
                t.draw(pages, y, heads, 6.5, true, 9);
                y += Table::height(heads, 9) + 1;
                for (const Record& line : lines) {
                    QStringList texts;
                    for (const Bound& b : s.cols) texts << b.render(line);
                    const auto cells = t.cells(texts, measure, size, false);
                    t.draw(pages, y, cells, size, false, rowH);
                    y += Table::height(cells, rowH);
                    baseSum += DocumentData::lineAmount(s, line);
                }
                y += 3;
            }
        }
        pages.line(left, y, right);
        y += 3;
        for (const TotalLine& t : data.totals(baseSum)) {
            if (t.words) {
                grow(t.label.isEmpty() ? t.amount : t.label + ' ' + t.amount, size, false,
                     Qt::AlignLeft, rowH);
                continue;
            }
            const double sz = t.bold ? 9.5 : size;
            pages.text(left, y, width * 0.6, rowH + 2, t.label, sz, t.bold);
            pages.text(left + width * 0.4, y, width * 0.6, rowH + 2, t.amount, sz, t.bold,
                       Qt::AlignRight);
            y += rowH + (t.bold ? 3 : 0);
        }
        y += 4;
        for (const Bound& b : data.foot) {
            const QString t = b.render(first);
            if (!t.isEmpty()) grow(t, 7, false, Qt::AlignHCenter, 9);
        }
        out->paper = QSizeF(paperWidth, y + margin);
        out->pages = pages.finish(false);
        return true;
    }
};

}  // namespace

std::unique_ptr<ReportLayout> makeTicketLayout(LayoutContext& ctx) {
    return std::make_unique<TicketLayout>(ctx);
}

}  // namespace torvane::reports
