#pragma once

#include <QString>

namespace torvane {

// How a grid shows one column of its query. Plain data, so the logic that
// writes a grid's statement can declare its columns beside it.
enum class ColumnKind {
    Text,
    Money,   // "1.234,50", right-aligned
    Date,    // ISO in the database, dd/mm/yyyy on screen
    Number,  // right-aligned, "," as decimal mark
    Hidden,  // read by the screen (keys), never shown
};

struct GridColumn {
    QString field;    // column name as the query returns it
    QString caption;  // empty: the field name
    ColumnKind kind = ColumnKind::Text;
    int width = 0;  // pixels; 0 sizes to the contents of the first rows
};

}  // namespace torvane
