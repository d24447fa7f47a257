#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <vector>

#include "core/document_lines.h"
#include "core/grid_column.h"
#include "core/money.h"
#include "core/sql_statement.h"
#include "data/database.h"

namespace torvane::commissions {

inline constexpr const char* kReportFile = "\\qarvofaccomi.rpt";

QString reportFormula(const QString& number);

// "FC" + yy + "/" + mm + "/" + counter, the counter four digits at least.
QString numberText(const QDate& today, qint64 counter);
// The number the next invoice gets: its counter is the key the row will get, so a deleted
// invoice's number never comes back; a number already stored is skipped.
QString nextNumber(Database& db, const QDate& today);

// The foot: VAT at vatRate % and the withholding on the sum, each to the cent; payable is
// sum + VAT - withholding. Storing takes the rate set for invoicing.
struct Totals {
    Money suma;
    Money iva;
    Money retencion;
    Money resto;
};
Totals computeTotals(Money suma, Quantity vatRate, Quantity withholdingRate);

struct Header {
    QString number;
    QDate date;
    qint64 customerId = 0;
    Quantity withholdingRate;
};
// Stores the lines not marked deleted and the header, all or nothing. A number taken
// meanwhile gives way to the next free one; returns the number stored. Throws DbError.
QString store(Database& db, const Header& header, const std::vector<DocumentLine>& lines);
// Deletes the invoice's lines and header, all or nothing. Throws DbError.
void remove(Database& db, const QString& number);

// ListComisiones: one row per line; by customer name (0) or by number (1).
SqlStatement list(int option, const QString& typed);
const QList<GridColumn>& listColumns();

}  // namespace torvane::commissions
