// Bank receipts: one framed receipt per record, three to an A4 sheet, each with the
// workshop, the heading and its fields, the payer, the amount and the amount in words.

#include "reports/document_data.h"

namespace torvane::reports {

namespace {

constexpr int kPerSheet = 3;

class ReceiptLayout : public ContextLayout {
  public:
    using ContextLayout::ContextLayout;

    bool render(const Loaded& rep, const SqlCondition& cond, const QString&,
                RenderedReport* out) override {
        DocumentData data;
        if (!data.prepare(ctx_, rep, cond)) return false;
        const ReportDefinition& def = rep.def;
        Measure& measure = ctx_.measure;

        Pages pages(out->paperSize());
        const double left = kMargin, width = pages.width() - 2 * kMargin;
        const double slot = (pages.height() - 2 * kMargin) / kPerSheet;
        double y = 0;
        const auto grow = [&](double x, double w, const QString& t, double sz, bool bold,
                              double lineH, Qt::Alignment align = Qt::AlignLeft) {
            growingText(pages, measure, x, &y, w, t, sz, bold, lineH, align);
        };

        for (size_t n = 0; n < data.records.size(); ++n) {
            if (n % kPerSheet == 0) pages.newPage();
            const Record& r = data.records[n];
            const double top = kMargin + slot * double(n % kPerSheet);
            const double inner = left + 8, innerW = width - 16;
            y = top + 8;
            bool firstLine = true;
            for (const QString& t : DocumentData::lines(data.company, data.companyRow)) {
                grow(inner, innerW * 0.5, t, firstLine ? 10 : 8, firstLine, firstLine ? 13 : 10);
                firstLine = false;
            }
            const double companyBottom = y;
            y = top + 8;
            const double fx = inner + innerW * 0.55, fw = innerW * 0.45;
            if (!def.heading.isEmpty()) {
                pages.text(fx, y, fw, 18, def.heading, 14, true, Qt::AlignRight);
                y += 20;
            }
            for (size_t i = 0; i < data.fields.size(); ++i) {
                const QString value = data.fields[i].render(r);
                if (value.isEmpty()) continue;
                const double rowTop = y;
                pages.text(fx, y, fw * 0.45, 12, def.fields[i].label, 8.5, true);
                grow(fx + fw * 0.45, fw * 0.55, value, 9, false, 12, Qt::AlignRight);
                y = std::max(y, rowTop + 12);
            }
            y = std::max(y, companyBottom) + 8;
            const QStringList payer = DocumentData::lines(data.customer, r);
            if (!payer.isEmpty()) {
                pages.text(inner, y, innerW, 11, def.customerTitle, 8, true);
                y += 12;
                for (int i = 0; i < payer.size(); ++i)
                    grow(inner + 6, innerW - 12, payer[i], 9, i == 0, 12);
                y += 4;
            }
            for (const QString& t : DocumentData::lines(data.record, r))
                grow(inner, innerW, t, 9, false, 12);
            // The totals of this receipt alone.
            for (const TotalLine& t : data.totals(Money(), {r})) {
                if (t.words) {
                    grow(inner, innerW, t.label.isEmpty() ? t.amount : t.label + ' ' + t.amount, 9,
                         false, 12);
                    continue;
                }
                pages.text(inner, y, innerW * 0.6, 14, t.label, t.bold ? 11 : 9, t.bold);
                pages.text(inner + innerW * 0.4, y, innerW * 0.6, 14, t.amount, t.bold ? 11 : 9,
                           t.bold, Qt::AlignRight);
                y += 15;
            }
            for (const Bound& b : data.foot) {
                const QString t = b.render(r);
                if (!t.isEmpty()) grow(inner, innerW, t, 7.5, false, 10);
            }
            pages.box(QRectF(left, top, width, std::max(y + 6, top + slot - 10) - top));
        }
        out->pages = pages.finish();
        return true;
    }
};

}  // namespace

std::unique_ptr<ReportLayout> makeReceiptLayout(LayoutContext& ctx) {
    return std::make_unique<ReceiptLayout>(ctx);
}

}  // namespace torvane::reports
