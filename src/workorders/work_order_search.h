#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "core/grid_column.h"
#include "core/sql_statement.h"

namespace torvane {
class Database;
}

namespace torvane::workorders {

// The work-order picker: every work order with its customer, newest first.
const QList<GridColumn>& pickerColumns();
SqlStatement pickerAll();
// Options: 0 "NODT", 1 "Cliente", each a prefix match; nothing typed lists them all.
QStringList pickerOptionCaptions();
SqlStatement pickerSearch(Database& db, int option, const QString& typed);

}  // namespace torvane::workorders
