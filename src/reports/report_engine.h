#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

#include "reports/report_output.h"
#include "reports/report_page.h"

namespace torvane {
class Database;
}

namespace torvane::reports {

// Renders report definition files over an open database into pages.
class ReportEngine {
  public:
    // folders: where the ".rpt" files are looked up, in order.
    // printDate: the date printed on listings.
    ReportEngine(Database& db, QStringList folders, QDate printDate);

    struct Result {
        std::optional<RenderedReport> report;
        QString error;  // a whole Spanish sentence naming the report, when report is empty
    };

    // file as the screens write it ("\QARVOLFAC.rpt"); formula may be empty.
    // pageLimit > 0 lays out only the first pages of a listing (the report comes back
    // with complete = false), so a preview shows its first page at once.
    Result render(const QString& file, const QString& formula, int pageLimit = 0);
    // The same report laid out on demand, for the preview. The source keeps a copy of
    // this engine, so it may outlive it (not the database).
    ReportSource source(const QString& file, const QString& formula) const;

  private:
    Database& db_;
    QStringList folders_;
    QDate printDate_;
};

}  // namespace torvane::reports
