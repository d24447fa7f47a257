#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "core/grid_column.h"
#include "core/money.h"
#include "core/sql_statement.h"
#include "data/database.h"

namespace torvane {
class Session;
}

namespace torvane::receipts {

inline constexpr const char* kReportFile = "qarvorecibo.rpt";
inline constexpr const char* kImpossibleDay = "El nº de dia que ha introducido no es posible";
inline constexpr const char* kNothingToStore =
    "Debe marcar alguna factura y elegir la forma de pago";
inline constexpr const char* kAlreadyInReceipts =
    "Alguna factura ya tiene recibos. ¿Desea crearlos igualmente?";
inline constexpr const char* kNoneSelected = "No hay ningún recibo seleccionado";
inline constexpr const char* kSeveralSelected = "No se pueden eliminar varios recibos a la vez";
inline constexpr const char* kCurrencyWord = "Euros";
inline constexpr int kMaxReceipts = 3;

// The eight payment terms, in the order the combo offers them.
const QStringList& termsNames();
// Days after the issue date of each receipt of the terms; nothing for unknown terms.
std::optional<std::vector<int>> dueDays(const QString& terms);

// The payment day as typed: empty or 0 is the issue date's day; 1..31 is itself;
// anything else is refused (nothing).
std::optional<int> readPaymentDay(const QString& typed, const QDate& issueDate);

// "d/MM/yyyy" of issue + days with the day replaced by the payment day; month and year
// stay. A day beyond the month's length is the month's last day.
QString dueText(const QDate& issueDate, int days, int paymentDay);

struct Row {
    QString number;
    QString due;
    Money amount;
};
// The receipt rows for the terms: one amount per receipt, the total's equal share to the
// cent; numbers continue series REC after the highest stored. Empty for unknown terms.
std::vector<Row> rows(Session& session, const QString& terms, const QDate& issueDate,
                      int paymentDay, Money total);

// What goes into each receipt besides its row.
struct Payer {
    qint64 customerId = 0;
    QString banco;
    QString sucursal;
    QString cuenta;
};
// Adds the rows to Recibos, all or nothing. The numbers are drawn again inside the
// transaction, so a second store never repeats one. Returns the numbers stored.
// Throws DbError.
QStringList store(Session& session, const QDate& issueDate, const std::vector<Row>& rows,
                  const Payer& payer, const QStringList& invoices);

// True when any of the invoice numbers is already named by a stored receipt.
bool anyInReceipts(Database& db, const QStringList& invoices);

// The customer's unpaid invoices, one row per invoice: Id, NFactura, Fecha, Importe.
SqlStatement unpaidWorkOrderInvoices(qint64 customerId);
SqlStatement unpaidPartsInvoices(qint64 customerId);
const QList<GridColumn>& unpaidColumns();

// The customer's bank details and payment day, for the screen's header.
struct Customer {
    qint64 id = 0;
    QString codigo;
    QString nombre;
    QString banco;
    QString sucursal;
    QString cuenta;
    QString diaPago;
};
std::optional<Customer> customer(Database& db, qint64 customerId);

// ListadoRecibos: every receipt with its customer, newest first.
SqlStatement list();
const QList<GridColumn>& listColumns();
QString reportFormula(qint64 receiptId);
// False when the receipt no longer exists. Throws DbError.
bool remove(Database& db, qint64 receiptId);

}  // namespace torvane::receipts
