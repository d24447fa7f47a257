#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <optional>
#include <vector>

#include "core/document_lines.h"
#include "core/grid_column.h"
#include "core/money.h"
#include "core/sql_statement.h"
#include "data/database.h"

namespace torvane {
class Session;
}

namespace torvane::free_invoices {

inline constexpr const char* kReportFile = "\\qarvofli.rpt";
inline constexpr const char* kIncompleteLine = "Debe completar todos los campos";
inline constexpr const char* kNoLines = "No hay detalles de compra";

// The selection that prints one free invoice.
QString reportFormula(const QString& number);

// The foot of the invoice, in this order: VAT on the sum of the lines, the discount on
// the sum plus VAT, the net is the sum less the discount; each amount to the cent.
struct Totals {
    Money suma;
    Money iva;
    Money descuento;
    Money nominal;
    Money total;
};
Totals computeTotals(Money suma, Quantity vatRate, Quantity discountRate);
// A rate field: digits and ",", empty reads 0; unreadable text gives nothing.
std::optional<Quantity> readRate(const QString& text);

// A line as typed: concept, units, unit price, discount %. The line, or the message
// that refuses it.
struct LineEntry {
    std::optional<DocumentLine> line;
    QString error;
};
LineEntry readLine(const QString& description, const QString& units, const QString& price,
                   const QString& discount);

// The next number of the FL series (the last row of FacturasLibres decides).
QString nextNumber(Session& session);

// The customer's code and name for the header.
struct Customer {
    qint64 id = 0;
    QString codigo;
    QString nombre;
};
std::optional<Customer> customer(Database& db, qint64 customerId);

struct Header {
    QString number;
    QDate date;
    qint64 customerId = 0;
    Quantity vatRate;
    Quantity discountRate;
};
// Stores the lines not marked deleted and the invoice, all or nothing. When the number
// was taken meanwhile (another program invoiced), the next free one of the series is
// used; returns the number stored. Throws DbError.
QString store(Session& session, const Header& header, const std::vector<DocumentLine>& lines);
// Deletes the invoice and its lines, all or nothing. Throws DbError.
void remove(Database& db, qint64 invoiceId);

// ListFacLibres: by customer name (0) or by number (1); newest first.
SqlStatement list(int option, const QString& typed);
const QList<GridColumn>& listColumns();

}  // namespace torvane::free_invoices
