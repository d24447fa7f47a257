#include "billing/collections.h"

#include "core/format.h"

namespace torvane::collections {

namespace {

// Where an invoice kind keeps its number, amount and paid amount.
struct InvoiceTable {
    const char* table;
    const char* number;
    const char* amount;
};

InvoiceTable tableOf(InvoiceKind kind) {
    if (kind == InvoiceKind::PartsSale) return {"Facturas", "Id_Fac", "Total"};
    return {"FacturasODT", "NFactura", "Importe"};
}

// Debido is shown from the stored values; ROUND(.., 4) gives back exactly the currency
// difference of two four-decimal amounts.
//
// The lists walk the invoice date index and stop after a screenful: the link to the work
// orders (or delivery notes) is an EXISTS test and the customer's name a correlated
// subquery, so no grouping has to read every invoice first.
const char* const kWorkOrderSelect =
    "SELECT f.Id_FAct AS Id, f.NFactura AS NFactura, f.Fecha AS Fecha, "
    "(SELECT c.Nombre FROM ODTS o JOIN Clientes c ON c.Id_Cli = o.Id_Cli "
    " WHERE o.NFactura = f.NFactura ORDER BY o.Id_ODT LIMIT 1) AS Nombre, "
    "IFNULL(f.Importe, 0) AS Importe, IFNULL(f.Pagado, 0) AS Pagado, "
    "ROUND(IFNULL(f.Importe, 0) - IFNULL(f.Pagado, 0), 4) AS Debido FROM FacturasODT f ";
const char* const kWorkOrderAll =
    "WHERE EXISTS (SELECT 1 FROM ODTS o JOIN Clientes c ON c.Id_Cli = o.Id_Cli "
    "WHERE o.NFactura = f.NFactura) ORDER BY f.Fecha DESC, f.Id_FAct DESC";
const char* const kWorkOrderCustomersFirst =
    "WHERE f.NFactura IN (SELECT o.NFactura FROM ODTS o WHERE o.Id_Cli IN "
    "(SELECT c.Id_Cli FROM Clientes c WHERE c.Nombre LIKE ?)) "
    "ORDER BY +f.Fecha DESC, f.Id_FAct DESC";
const char* const kWorkOrderDateWalk =
    "WHERE EXISTS (SELECT 1 FROM ODTS o JOIN Clientes c ON c.Id_Cli = o.Id_Cli "
    "WHERE o.NFactura = f.NFactura AND c.Nombre LIKE ?) ORDER BY f.Fecha DESC, f.Id_FAct DESC";

const char* const kPartsSaleSelect =
    "SELECT f.Id AS Id, f.Id_Fac AS NFactura, f.Fecha AS Fecha, "
    "(SELECT c.Nombre FROM Clientes c WHERE c.Id_Cli = f.Id_Cli) AS Nombre, "
    "IFNULL(f.Total, 0) AS Importe, IFNULL(f.Pagado, 0) AS Pagado, "
    "ROUND(IFNULL(f.Total, 0) - IFNULL(f.Pagado, 0), 4) AS Debido FROM Facturas f ";
const char* const kPartsSaleAll =
    "WHERE EXISTS (SELECT 1 FROM Albaranes a WHERE a.NFactura = f.Id_Fac) "
    "AND EXISTS (SELECT 1 FROM Clientes c WHERE c.Id_Cli = f.Id_Cli) "
    "ORDER BY f.Fecha DESC, f.Id DESC";
const char* const kPartsSaleCustomersFirst =
    "WHERE f.Id_Cli IN (SELECT c.Id_Cli FROM Clientes c WHERE c.Nombre LIKE ?) "
    "AND EXISTS (SELECT 1 FROM Albaranes a WHERE a.NFactura = f.Id_Fac) "
    "ORDER BY +f.Fecha DESC, f.Id DESC";
const char* const kPartsSaleDateWalk =
    "WHERE EXISTS (SELECT 1 FROM Clientes c WHERE c.Id_Cli = f.Id_Cli AND c.Nombre LIKE ?) "
    "AND EXISTS (SELECT 1 FROM Albaranes a WHERE a.NFactura = f.Id_Fac) "
    "ORDER BY f.Fecha DESC, f.Id DESC";

}  // namespace

SqlStatement invoiceList(Database& db, InvoiceKind kind, const QString& namePrefix,
                         SearchPlan plan) {
    const bool parts = kind == InvoiceKind::PartsSale;
    QString sql = QString::fromLatin1(parts ? kPartsSaleSelect : kWorkOrderSelect);
    if (namePrefix.isEmpty()) {
        sql += QString::fromLatin1(parts ? kPartsSaleAll : kWorkOrderAll);
        return {sql, {}};
    }
    const QString pattern = likePrefix(namePrefix);
    if (plan == SearchPlan::Auto)
        plan = db.scalar(QStringLiteral("SELECT count(*) FROM (SELECT 1 FROM Clientes "
                                        "WHERE Nombre LIKE ? LIMIT ?)"),
                         {pattern, kManyCustomers})
                           .toInt() >= kManyCustomers
                   ? SearchPlan::DateWalk
                   : SearchPlan::CustomersFirst;
    if (plan == SearchPlan::DateWalk)
        sql += QString::fromLatin1(parts ? kPartsSaleDateWalk : kWorkOrderDateWalk);
    else
        sql += QString::fromLatin1(parts ? kPartsSaleCustomersFirst : kWorkOrderCustomersFirst);
    return {sql, {pattern}};
}

const QList<GridColumn>& invoiceColumns() {
    static const QList<GridColumn> columns = {
        {QStringLiteral("Id"), {}, ColumnKind::Hidden},
        {QStringLiteral("NFactura"), QStringLiteral("Factura"), ColumnKind::Text, 120},
        {QStringLiteral("Fecha"), QStringLiteral("Fecha"), ColumnKind::Date, 90},
        {QStringLiteral("Nombre"), QStringLiteral("Cliente"), ColumnKind::Text, 240},
        {QStringLiteral("Importe"), QStringLiteral("Importe"), ColumnKind::Money, 90},
        {QStringLiteral("Pagado"), QStringLiteral("Pagado"), ColumnKind::Money, 90},
        {QStringLiteral("Debido"), QStringLiteral("Debido"), ColumnKind::Money, 90},
    };
    return columns;
}

SqlStatement paymentsOf(const QString& invoiceNumber) {
    return {QStringLiteral("SELECT Id, NFactura, Fecha, Cantidad FROM Cobros "
                           "WHERE NFactura = ? AND Cantidad > 0 ORDER BY Id"),
            {invoiceNumber}};
}

const QList<GridColumn>& paymentColumns() {
    static const QList<GridColumn> columns = {
        {QStringLiteral("Id"), {}, ColumnKind::Hidden},
        {QStringLiteral("NFactura"), QStringLiteral("Factura"), ColumnKind::Text, 120},
        {QStringLiteral("Fecha"), QStringLiteral("Fecha"), ColumnKind::Date, 90},
        {QStringLiteral("Cantidad"), QStringLiteral("Cantidad"), ColumnKind::Money, 100},
    };
    return columns;
}

InvoiceState invoiceState(Database& db, InvoiceKind kind, const QString& invoiceNumber) {
    const InvoiceTable t = tableOf(kind);
    const auto row =
        db.firstRow(QStringLiteral("SELECT %1 AS Importe, Pagado FROM %2 WHERE %3 = ? "
                                   "ORDER BY 1 DESC LIMIT 1")
                        .arg(QString::fromLatin1(t.amount), QString::fromLatin1(t.table),
                             QString::fromLatin1(t.number)),
                    {invoiceNumber});
    InvoiceState state;
    if (!row) return state;
    state.found = true;
    state.amount = Money::fromDb(row->value(QStringLiteral("Importe")));
    state.paid = Money::fromDb(row->value(QStringLiteral("Pagado")));
    return state;
}

std::optional<PaymentEntry> readPayment(const QString& dateText, const QString& amountText) {
    const auto date = parseDisplayDate(dateText.trimmed());
    const auto amount = Money::parse(amountText.trimmed());
    if (!date || !amount || *amount <= Money()) return std::nullopt;
    return PaymentEntry{*date, *amount};
}

namespace {

// Adds delta to the Pagado of the invoice, read and written inside the caller's
// transaction, as an exact currency sum.
void addToPaid(Database& db, InvoiceKind kind, const QString& invoiceNumber, Money delta) {
    const InvoiceTable t = tableOf(kind);
    const QString table = QString::fromLatin1(t.table);
    const QString number = QString::fromLatin1(t.number);
    const auto rows =
        db.rows(QStringLiteral("SELECT rowid AS k, Pagado FROM %1 WHERE %2 = ?").arg(table, number),
                {invoiceNumber});
    for (const Row& r : rows) {
        const Money paid = Money::fromDb(r.value(QStringLiteral("Pagado"))) + delta;
        db.exec(QStringLiteral("UPDATE %1 SET Pagado = ? WHERE rowid = ?").arg(table),
                {paid.toDb(), r.value(QStringLiteral("k"))});
    }
}

}  // namespace

qint64 recordPayment(Database& db, InvoiceKind kind, const QString& invoiceNumber,
                     const PaymentEntry& payment) {
    Database::Transaction tx(db);
    const qint64 id =
        db.insert(QStringLiteral("INSERT INTO Cobros (NFactura, Fecha, Cantidad) VALUES (?, ?, ?)"),
                  {invoiceNumber, toIsoDate(payment.date), payment.amount.toDb()});
    addToPaid(db, kind, invoiceNumber, payment.amount);
    tx.commit();
    return id;
}

bool removePayment(Database& db, InvoiceKind kind, qint64 paymentId) {
    Database::Transaction tx(db);
    const auto row = db.firstRow(
        QStringLiteral("SELECT NFactura, Cantidad FROM Cobros WHERE Id = ?"), {paymentId});
    if (!row) return false;
    addToPaid(db, kind, row->value(QStringLiteral("NFactura")).toString(),
              -Money::fromDb(row->value(QStringLiteral("Cantidad"))));
    db.exec(QStringLiteral("DELETE FROM Cobros WHERE Id = ?"), {paymentId});
    tx.commit();
    return true;
}

}  // namespace torvane::collections
