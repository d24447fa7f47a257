#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>
#include <optional>

#include "core/grid_column.h"
#include "core/money.h"
#include "core/sql_statement.h"
#include "data/database.h"

namespace torvane::collections {

// The two kinds of invoice that take part payments, in the order of the list's tabs.
enum class InvoiceKind { WorkOrder = 0, PartsSale = 1 };

// One row per invoice, newest first, paid ones included; an empty text lists every
// invoice, any other text the invoices of customers whose name starts with it. Columns:
// Id, NFactura ("Factura"), Fecha, Nombre ("Cliente"), Importe, Pagado, Debido.
//
// A name search is written one of two ways, with the same rows: walking the invoices by
// date and testing the name (quick when many customers match, so the first screenful
// comes soon), or starting from the matching customers and sorting their invoices (quick
// when few match). Auto looks at how many customers match.
enum class SearchPlan { Auto, DateWalk, CustomersFirst };
inline constexpr int kManyCustomers = 300;
SqlStatement invoiceList(Database& db, InvoiceKind kind, const QString& namePrefix = {},
                         SearchPlan plan = SearchPlan::Auto);
const QList<GridColumn>& invoiceColumns();

// The payments of an invoice that are shown (Cantidad > 0), oldest first.
SqlStatement paymentsOf(const QString& invoiceNumber);
const QList<GridColumn>& paymentColumns();

// Amount, paid and pending of one invoice as stored now. A work-order invoice's amount
// is FacturasODT.Importe; a parts-sale invoice's is Facturas.Total.
struct InvoiceState {
    bool found = false;
    Money amount;
    Money paid;
    Money pending() const { return amount - paid; }
    // Nothing more can be collected.
    bool settled() const { return pending() <= Money(); }
};
InvoiceState invoiceState(Database& db, InvoiceKind kind, const QString& invoiceNumber);

// A payment as typed: date dd/mm/yyyy and an amount above zero.
struct PaymentEntry {
    QDate date;
    Money amount;
};
inline constexpr const char* kPaymentIncomplete =
    "Debe introducir una fecha y una cantidad para la entrega";
inline constexpr const char* kPaymentAbovePending =
    "La cantidad supera el importe pendiente. ¿Desea registrar la entrega igualmente?";
// The entry, or nothing when the date or the amount is missing or unreadable (the
// screen then shows kPaymentIncomplete).
std::optional<PaymentEntry> readPayment(const QString& dateText, const QString& amountText);

// Adds the Cobros row and the amount to the invoice's Pagado, both or neither.
// Returns the key of the payment. Throws DbError.
qint64 recordPayment(Database& db, InvoiceKind kind, const QString& invoiceNumber,
                     const PaymentEntry& payment);
// Takes the payment's amount off its invoice's Pagado and deletes the row, both or
// neither. False when the payment no longer exists. Throws DbError.
bool removePayment(Database& db, InvoiceKind kind, qint64 paymentId);

}  // namespace torvane::collections
