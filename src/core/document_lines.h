#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

#include "core/money.h"

namespace torvane {

// One line of a document as an editor holds it before it is stored: the work
// order's jobs and materials, a counter sale's parts, a purchase, an invoice.
struct DocumentLine {
    QVariant id;  // stored key; invalid for a line not stored yet
    QString code;
    QString description;
    Quantity units;
    Money price;
    Quantity discount;  // %
    bool deleted = false;
    // Lines whose amount is converted to currency (four decimals) before the cell
    // rounds it to cents: work-order labour and free lines.
    bool toCurrencyFirst = false;
    // Further columns shown as they are (an operator's name, a date), by index.
    QStringList texts{};
    QVariant articleId{};  // Articulos.Id_Art of a catalogue line; invalid for a free line
    QString workOrder{};   // the work order a purchase line is sent to; empty when none

    // Units × price less the discount, to cents.
    Money amount() const {
        const ExactAmount exact = (price * units).lessPercent(discount);
        return toCurrencyFirst ? exact.toCurrency().roundCents() : exact.roundCents();
    }
};

struct LineTotals {
    int lines = 0;
    Quantity units;
    Money amount;  // sum of the lines' amounts, each rounded to cents
};

// What the document's foot shows: the lines not marked deleted, counted and summed.
LineTotals lineTotals(const std::vector<DocumentLine>& lines);

}  // namespace torvane
