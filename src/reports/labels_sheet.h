#pragma once

#include <QStringList>
#include <vector>

#include "reports/report_page.h"

namespace torvane::reports {

class Measure;

// Sheets of 16 self-adhesive labels, two columns by eight rows, numbered 1 to 16 left to
// right and top to bottom. Each label's four lines are drawn at fixed positions from the
// sheet's corner: the first line bold, empty lines keeping their place.
class LabelSheet {
  public:
    static constexpr int kPerSheet = 16;

    // start: the label where the first sheet begins (a sheet already partly used).
    explicit LabelSheet(Measure& measure, int start = 1);

    // Puts lines on the next label; after label 16 a new sheet starts at label 1.
    void add(const QStringList& lines);
    // The label the next add() uses: 1 to 16, or 17 once a sheet is full.
    int position() const { return position_; }
    bool empty() const { return pages_.empty(); }
    std::vector<Page> finish() { return std::move(pages_); }

    // Left edge and the top of each line of label p (1 to 16), in millimetres.
    static double columnMm(int position);
    static double lineTopMm(int position, int line);

  private:
    Measure& measure_;
    int position_;
    std::vector<Page> pages_;
};

// Address labels for the default printer: one label per entry of lines (name, address,
// post code and locality, province), from label start of the first sheet.
RenderedReport addressLabels(const std::vector<QStringList>& lines, int start);

}  // namespace torvane::reports
