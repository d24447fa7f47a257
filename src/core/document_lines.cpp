#include "core/document_lines.h"

namespace torvane {

LineTotals lineTotals(const std::vector<DocumentLine>& lines) {
    LineTotals t;
    for (const DocumentLine& line : lines) {
        if (line.deleted) continue;
        ++t.lines;
        t.units = t.units + line.units;
        t.amount += line.amount();
    }
    return t;
}

}  // namespace torvane
