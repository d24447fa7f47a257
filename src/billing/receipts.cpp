#include "billing/receipts.h"

#include "core/format.h"
#include "core/numbering.h"
#include "core/session.h"
#include "core/validation.h"

namespace torvane::receipts {

namespace {

struct TermsDays {
    const char* name;
    std::vector<int> days;
};

const std::vector<TermsDays>& termsTable() {
    static const std::vector<TermsDays> table = {
        {"A LA VISTA", {0}},      {"30 DÍAS", {30}},
        {"45 DÍAS", {45}},        {"60 DÍAS", {60}},
        {"90 DÍAS", {90}},        {"30-60 DÍAS", {30, 60}},
        {"60-90 DÍAS", {60, 90}}, {"30-60-90 DÍAS", {30, 60, 90}},
    };
    return table;
}

}  // namespace

const QStringList& termsNames() {
    static const QStringList names = [] {
        QStringList n;
        for (const TermsDays& t : termsTable()) n << QString::fromUtf8(t.name);
        return n;
    }();
    return names;
}

std::optional<std::vector<int>> dueDays(const QString& terms) {
    for (const TermsDays& t : termsTable())
        if (terms == QString::fromUtf8(t.name)) return t.days;
    return std::nullopt;
}

std::optional<int> readPaymentDay(const QString& typed, const QDate& issueDate) {
    const QString t = typed.trimmed();
    if (t.isEmpty()) return issueDate.day();
    bool ok = false;
    const int day = t.toInt(&ok);
    if (!ok) return std::nullopt;
    if (day == 0) return issueDate.day();
    if (day < 1 || day > 31) return std::nullopt;
    return day;
}

QString dueText(const QDate& issueDate, int days, int paymentDay) {
    const QDate due = issueDate.addDays(days);
    const int day = std::min(paymentDay, due.daysInMonth());
    return QString::number(day) + due.toString(QStringLiteral("/MM/yyyy"));
}

std::vector<Row> rows(Session& session, const QString& terms, const QDate& issueDate,
                      int paymentDay, Money total) {
    const auto days = dueDays(terms);
    if (!days) return {};
    const Money share = total.shareCents(std::int64_t(days->size()));
    std::vector<Row> out;
    for (int k = 0; k < int(days->size()); ++k)
        out.push_back({nextDocumentNumber(session, NumberConsumer::Receipt, k),
                       dueText(issueDate, (*days)[k], paymentDay), share});
    return out;
}

QStringList store(Session& session, const QDate& issueDate, const std::vector<Row>& rows,
                  const Payer& payer, const QStringList& invoices) {
    Database& db = session.db();
    Database::Transaction tx(db);
    QStringList numbers;
    // All numbers first: each inserted row would otherwise move the highest one.
    for (int k = 0; k < int(rows.size()); ++k)
        numbers << nextDocumentNumber(session, NumberConsumer::Receipt, k);
    const QString invoiceList = invoices.join(QStringLiteral(", "));
    for (int k = 0; k < int(rows.size()); ++k) {
        const Row& r = rows[std::size_t(k)];
        db.insert(
            QStringLiteral("INSERT INTO Recibos (NRecibo, Fecha, Vto, Importe, Id_cli, Banco, "
                           "Sucursal, NCuenta, ImporteLetras, NFactura) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            {numbers[k], toIsoDate(issueDate), r.due, r.amount.toDb(), payer.customerId,
             payer.banco, payer.sucursal, payer.cuenta,
             MonedaLetras(r.amount, QString::fromUtf8(kCurrencyWord)), invoiceList});
    }
    tx.commit();
    return numbers;
}

bool anyInReceipts(Database& db, const QStringList& invoices) {
    // NFactura holds the numbers joined by ", ".
    for (const QString& n : invoices)
        if (db.scalar(QStringLiteral("SELECT 1 FROM Recibos WHERE ', ' || NFactura || ', ' "
                                     "LIKE '%, ' || ? || ', %' ESCAPE '\\' LIMIT 1"),
                      {QString(n)
                           .replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
                           .replace(QLatin1Char('%'), QStringLiteral("\\%"))
                           .replace(QLatin1Char('_'), QStringLiteral("\\_"))})
                .isValid())
            return true;
    return false;
}

SqlStatement unpaidWorkOrderInvoices(qint64 customerId) {
    // An invoice over several work orders is one row.
    return {QStringLiteral("SELECT f.Id_FAct AS Id, f.NFactura AS NFactura, f.Fecha AS Fecha, "
                           "f.Importe AS Importe FROM FacturasODT f WHERE f.Pagado = 0 AND "
                           "f.NFactura IN (SELECT NFactura FROM ODTS WHERE Id_Cli = ?) "
                           "ORDER BY f.Fecha, f.Id_FAct"),
            {customerId}};
}

SqlStatement unpaidPartsInvoices(qint64 customerId) {
    return {QStringLiteral("SELECT f.Id AS Id, f.Id_Fac AS NFactura, f.Fecha AS Fecha, "
                           "f.Total AS Importe FROM Facturas f WHERE f.Id_Cli = ? AND "
                           "f.Pagado = 0 ORDER BY f.Fecha, f.Id"),
            {customerId}};
}

const QList<GridColumn>& unpaidColumns() {
    static const QList<GridColumn> columns = {
        {QStringLiteral("Id"), {}, ColumnKind::Hidden},
        {QStringLiteral("NFactura"), QStringLiteral("Nº Factura"), ColumnKind::Text, 110},
        {QStringLiteral("Fecha"), QStringLiteral("Fecha"), ColumnKind::Date, 90},
        {QStringLiteral("Importe"), QStringLiteral("Importe"), ColumnKind::Money, 100},
    };
    return columns;
}

std::optional<Customer> customer(Database& db, qint64 customerId) {
    const auto row = db.firstRow(
        QStringLiteral("SELECT Codigo, Nombre, Banco, Sucursal, NumeroCuenta, DiaDePago "
                       "FROM Clientes WHERE Id_Cli = ?"),
        {customerId});
    if (!row) return std::nullopt;
    const auto s = [&](const char* f) { return row->value(QString::fromLatin1(f)).toString(); };
    return Customer{customerId,    s("Codigo"),       s("Nombre"),   s("Banco"),
                    s("Sucursal"), s("NumeroCuenta"), s("DiaDePago")};
}

SqlStatement list() {
    return {QStringLiteral(
                "SELECT r.Id_cli AS Id_cli, r.Id AS Id, r.NRecibo AS NRecibo, r.Fecha AS Fecha, "
                "r.Vto AS Vto, r.Importe AS Importe, c.Nombre AS Nombre, r.NCuenta AS NCuenta, "
                "r.NFactura AS NFactura FROM Recibos r JOIN Clientes c ON c.Id_Cli = r.Id_cli "
                "ORDER BY r.Fecha DESC, r.Id DESC"),
            {}};
}

const QList<GridColumn>& listColumns() {
    static const QList<GridColumn> columns = {
        {QStringLiteral("Id_cli"), {}, ColumnKind::Hidden},
        {QStringLiteral("Id"), QStringLiteral("Nº"), ColumnKind::Number, 50},
        {QStringLiteral("NRecibo"), QStringLiteral("NºRecibo"), ColumnKind::Text, 100},
        {QStringLiteral("Fecha"), QStringLiteral("Fecha"), ColumnKind::Date, 90},
        {QStringLiteral("Vto"), QStringLiteral("Vencim"), ColumnKind::Text, 90},
        {QStringLiteral("Importe"), QStringLiteral("Importe"), ColumnKind::Money, 90},
        {QStringLiteral("Nombre"), QStringLiteral("Cliente"), ColumnKind::Text, 220},
        {QStringLiteral("NCuenta"), QStringLiteral("NºCuenta"), ColumnKind::Text, 160},
        {QStringLiteral("NFactura"), QStringLiteral("NºFactura"), ColumnKind::Text, 160},
    };
    return columns;
}

QString reportFormula(qint64 receiptId) {
    return QStringLiteral("{Recibos.id}=") + QString::number(receiptId);
}

bool remove(Database& db, qint64 receiptId) {
    return db.exec(QStringLiteral("DELETE FROM Recibos WHERE Id = ?"), {receiptId})
               .numRowsAffected() > 0;
}

}  // namespace torvane::receipts
