// Address labels: sheets of 16 self-adhesive labels, two columns by eight rows, each
// label's lines drawn at fixed positions measured in millimetres from the sheet's corner.

#include "reports/report_layout.h"

namespace torvane::reports {

namespace {

constexpr int kPerSheet = 16;
constexpr double kColumnMm[2] = {10, 112};
constexpr double kLabelWidthMm = 95;
// Top of each of the four lines, by row of labels (row 8 has 6 mm between lines 1 and 2).
constexpr double kLineMm[8][4] = {
    {20, 25, 30, 35},     {55, 60, 65, 70},     {88, 93, 98, 103},    {122, 127, 132, 137},
    {156, 161, 166, 171}, {191, 196, 201, 206}, {224, 229, 234, 239}, {257, 263, 268, 273},
};
constexpr double kFontSize = 10;
constexpr double kSmallestFont = 6;

class LabelsLayout : public ContextLayout {
  public:
    using ContextLayout::ContextLayout;

    bool render(const Loaded& rep, const SqlCondition& cond, const QString&,
                RenderedReport* out) override {
        const ReportDefinition& def = rep.def;
        SelectList select;
        QString problem;
        std::vector<Bound> lines;
        for (const Template& t : def.label) {
            const auto b = bind(t, ValueFormat::Text, select, *rep.fields, &problem);
            if (!b) return ctx_.damaged(def.name, problem);
            lines.push_back(*b);
        }
        const std::vector<Record> records =
            fetch(ctx_.db, def, select, cond.sql.isEmpty() ? QStringList() : QStringList{cond.sql},
                  cond.params);
        if (records.empty()) return ctx_.noData(def.name);

        Pages pages(out->paperSize());
        const double width = kLabelWidthMm * kPointsPerMm;
        for (size_t n = 0; n < records.size(); ++n) {
            const int position = int(n % kPerSheet);  // 0 to 15, by rows of two
            if (position == 0) pages.newPage();
            const double x = kColumnMm[position % 2] * kPointsPerMm;
            const int row = position / 2;
            // Empty lines keep their place, as on a printed label.
            for (size_t l = 0; l < lines.size() && l < 4; ++l) {
                const QString text = lines[l].render(records[n]);
                const bool bold = l == 0;
                // A long name is set smaller rather than cut or run into the next line.
                double size = kFontSize;
                while (size > kSmallestFont && ctx_.measure.width(text, size, bold) > width)
                    size -= 0.5;
                pages.text(x, kLineMm[row][l] * kPointsPerMm, width, 5 * kPointsPerMm, text, size,
                           bold);
            }
        }
        out->pages = pages.finish(false);
        return true;
    }
};

}  // namespace

std::unique_ptr<ReportLayout> makeLabelsLayout(LayoutContext& ctx) {
    return std::make_unique<LabelsLayout>(ctx);
}

}  // namespace torvane::reports
