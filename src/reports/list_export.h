#pragma once

#include <QString>

#include "reports/list_table.h"

namespace torvane::reports {

// A listing as a spreadsheet file: a header row with the column titles, then the rows with
// their group headers and totals. Amounts are numbers with two decimals, dates are dates.
// Each returns false with *reason (Spanish, no final stop) when the file cannot be written.

// UTF-8 with a byte-order mark, ";" between fields and a decimal comma, as a Spanish
// spreadsheet opens it with a double click.
bool writeCsv(const ListTable& table, const QString& path, QString* reason);
// An Excel workbook with one sheet, "Listado".
bool writeXlsx(const ListTable& table, const QString& path, QString* reason);

// By the file's extension: ".csv" or ".xlsx".
bool writeExport(const ListTable& table, const QString& path, QString* reason);

}  // namespace torvane::reports
