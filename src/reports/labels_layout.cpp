// Address labels: sheets of 16 self-adhesive labels, two columns by eight rows, each
// label's lines drawn at fixed positions measured from the sheet's corner.

#include "reports/labels_sheet.h"
#include "reports/report_layout.h"

namespace torvane::reports {

namespace {

constexpr double kColumnMm[2] = {10, 112};
constexpr double kLabelWidthMm = 95;
// Top of each of the four lines, by row of labels (row 8 has 6 mm between lines 1 and 2).
constexpr double kLineMm[8][4] = {
    {20, 25, 30, 35},     {55, 60, 65, 70},     {88, 93, 98, 103},    {122, 127, 132, 137},
    {156, 161, 166, 171}, {191, 196, 201, 206}, {224, 229, 234, 239}, {257, 263, 268, 273},
};
constexpr double kFontSize = 10;
constexpr double kSmallestFont = 7;

}  // namespace

LabelSheet::LabelSheet(Measure& measure, int start) : measure_(measure), position_(start) {}

double LabelSheet::columnMm(int position) {
    return kColumnMm[(position - 1) % 2];
}

double LabelSheet::lineTopMm(int position, int line) {
    return kLineMm[(position - 1) / 2][line];
}

void LabelSheet::add(const QStringList& lines) {
    if (position_ > kPerSheet || pages_.empty()) {
        if (position_ > kPerSheet) position_ = 1;
        pages_.emplace_back();
    }
    // A start outside the sheet prints nothing but still counts the label.
    if (position_ >= 1) {
        const double x = columnMm(position_) * kPointsPerMm;
        const double width = kLabelWidthMm * kPointsPerMm;
        for (int l = 0; l < lines.size() && l < 4; ++l) {
            const QString& text = lines[l];
            if (text.isEmpty()) continue;
            const bool bold = l == 0;
            // A long name is set smaller rather than cut or run into the next line.
            double size = kFontSize;
            while (size > kSmallestFont && measure_.width(text, size, bold) > width) size -= 0.5;
            // The box is exactly one line high, so the text's top is the line's position.
            PageItem it;
            it.rect = QRectF(x, lineTopMm(position_, l) * kPointsPerMm, width,
                             measure_.lineHeight(size, bold));
            it.text = text;
            it.size = size;
            it.bold = bold;
            pages_.back().items.push_back(it);
        }
    }
    ++position_;
}

RenderedReport addressLabels(const std::vector<QStringList>& lines, int start) {
    RenderedReport report;
    report.name = QStringLiteral("Etiquetas");
    report.title = QStringLiteral("Etiquetas");
    Measure measure;
    LabelSheet sheet(measure, start);
    for (const QStringList& label : lines) sheet.add(label);
    report.pages = sheet.finish();
    return report;
}

namespace {

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

        LabelSheet sheet(ctx_.measure);
        for (const Record& r : records) {
            QStringList texts;
            for (const Bound& b : lines) texts << b.render(r);
            sheet.add(texts);
        }
        out->pages = sheet.finish();
        return true;
    }
};

}  // namespace

std::unique_ptr<ReportLayout> makeLabelsLayout(LayoutContext& ctx) {
    return std::make_unique<LabelsLayout>(ctx);
}

}  // namespace torvane::reports
