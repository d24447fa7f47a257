#pragma once

#include <QString>
#include <QVariant>

namespace torvane {

// Which control of a record screen edits which column. The table lives with the
// logic that saves the record; the screen fills and reads its fields through it.
struct FieldBinding {
    const char* control;
    const char* column;
    bool date = false;  // shown dd/mm/yyyy, stored ISO
};

// The text a bound field shows for a stored value: dates dd/mm/yyyy, numbers
// without a needless ",0" (10 -> "10", 2.5 -> "2,5"), no value as empty text.
QString boundText(const QVariant& value, bool date);

}  // namespace torvane
