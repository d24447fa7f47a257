#pragma once

#include <QStringList>

namespace torvane::reports {

// "torvane report NAME --db FILE.erm [--formula F] [--home DIR] --pdf OUT.pdf":
// renders a report to PDF without a window; a listing also goes to a spreadsheet with
// "--csv OUT.csv" or "--xlsx OUT.xlsx". args are the words after "report".
// Errors go to stderr; returns 0 on success, 1 when the report cannot be made,
// 2 for a wrong command line.
int runReportCommand(const QStringList& args);

}  // namespace torvane::reports
