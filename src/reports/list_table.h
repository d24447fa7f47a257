#pragma once

#include <QDate>
#include <QString>
#include <vector>

#include "core/money.h"
#include "reports/report_definition.h"

namespace torvane::reports {

// A listing's rows and columns as data, for export: what the pages show, but typed.
struct ListCell {
    enum class Kind { Empty, Text, Amount, Number, Date };
    Kind kind = Kind::Empty;
    QString text;
    Money amount;  // to the cent, as printed
    double number = 0;
    QDate date;

    static ListCell ofText(const QString& t) {
        ListCell c;
        c.kind = t.isEmpty() ? Kind::Empty : Kind::Text;
        c.text = t;
        return c;
    }
    static ListCell ofAmount(Money m) {
        ListCell c;
        c.kind = Kind::Amount;
        c.amount = m;
        return c;
    }
};

struct ListTable {
    struct Column {
        QString heading;
        ValueFormat format = ValueFormat::Text;
        bool total = false;
    };
    enum class RowKind { Detail, GroupHeader, GroupTotal, GrandTotal };
    struct Row {
        RowKind kind = RowKind::Detail;
        int level = 0;  // group level of a group header or total
        std::vector<ListCell> cells;
    };

    QString title;
    std::vector<Column> columns;
    std::vector<Row> rows;

    // The column a header or total row puts its words in: the first not summed.
    size_t labelColumn() const;
    // A header or total row with its words in the label column.
    Row labelled(RowKind kind, int level, const QString& label) const;
};

}  // namespace torvane::reports
