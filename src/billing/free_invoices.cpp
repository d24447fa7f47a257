#include "billing/free_invoices.h"

#include "core/format.h"
#include "core/numbering.h"
#include "core/session.h"

namespace torvane::free_invoices {

QString reportFormula(const QString& number) {
    return QStringLiteral("{FacturasLibres.NFactura}='") + number + QLatin1Char('\'');
}

Totals computeTotals(Money suma, Quantity vatRate, Quantity discountRate) {
    Totals t;
    t.suma = suma;
    t.iva = suma.percent(vatRate).roundCents();
    // The discount is taken from the amount with VAT.
    t.descuento = (suma + t.iva).percent(discountRate).roundCents();
    t.nominal = suma - t.descuento;
    t.total = suma + t.iva - t.descuento;
    return t;
}

std::optional<Quantity> readRate(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return Quantity();
    return Quantity::parse(t);
}

LineEntry readLine(const QString& description, const QString& units, const QString& price,
                   const QString& discount) {
    LineEntry entry;
    if (description.trimmed().isEmpty() || units.trimmed().isEmpty() || price.trimmed().isEmpty() ||
        discount.trimmed().isEmpty()) {
        entry.error = QString::fromUtf8(kIncompleteLine);
        return entry;
    }
    const auto u = Quantity::parse(units.trimmed());
    if (!u) {
        entry.error = QStringLiteral("Las unidades no son un número válido");
        return entry;
    }
    const auto p = Money::parse(price.trimmed());
    if (!p) {
        entry.error = QStringLiteral("El precio por unidad no es un importe válido");
        return entry;
    }
    const auto d = Quantity::parse(discount.trimmed());
    if (!d) {
        entry.error = QStringLiteral("El descuento no es un número válido");
        return entry;
    }
    DocumentLine line;
    line.description = description.trimmed();
    line.units = *u;
    line.price = *p;
    line.discount = *d;
    entry.line = line;
    return entry;
}

QString nextNumber(Session& session) {
    return nextDocumentNumber(session, NumberConsumer::FreeInvoice);
}

std::optional<Customer> customer(Database& db, qint64 customerId) {
    const auto row =
        db.firstRow(QStringLiteral("SELECT Id_Cli, Codigo, Nombre FROM Clientes WHERE Id_Cli = ?"),
                    {customerId});
    if (!row) return std::nullopt;
    return Customer{customerId, row->value(QStringLiteral("Codigo")).toString(),
                    row->value(QStringLiteral("Nombre")).toString()};
}

QString store(Session& session, const Header& header, const std::vector<DocumentLine>& lines) {
    Database& db = session.db();
    Database::Transaction tx(db);
    QString number = header.number;
    if (db.scalar(QStringLiteral("SELECT 1 FROM FacturasLibres WHERE NFactura = ? LIMIT 1"),
                  {number})
            .isValid())
        number = nextDocumentNumber(session, NumberConsumer::FreeInvoice);
    for (const DocumentLine& line : lines) {
        if (line.deleted) continue;
        db.insert(QStringLiteral("INSERT INTO SalidasLibres (NFactura, Concepto, Unidades, Precio, "
                                 "Dto, Importe) VALUES (?, ?, ?, ?, ?, ?)"),
                  {number, line.description, line.units.toDb(), line.price.toDb(),
                   line.discount.toDb(), line.amount().toDb()});
    }
    const Totals t = computeTotals(lineTotals(lines).amount, header.vatRate, header.discountRate);
    db.insert(
        QStringLiteral("INSERT INTO FacturasLibres (Fecha, NFactura, Id_Cli, Suma, Iva, "
                       "Total, Descuento, Dto, TipoIva) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {toIsoDate(header.date), number, header.customerId, t.suma.toDb(), t.iva.toDb(),
         t.total.toDb(), t.descuento.toDb(), header.discountRate.toDb(), header.vatRate.toDb()});
    tx.commit();
    return number;
}

void remove(Database& db, qint64 invoiceId) {
    Database::Transaction tx(db);
    const QVariant number =
        db.scalar(QStringLiteral("SELECT NFactura FROM FacturasLibres WHERE Id = ?"), {invoiceId});
    // Lines of another invoice with the same number stay while that invoice exists.
    if (number.isValid() &&
        db.scalar(QStringLiteral("SELECT COUNT(*) FROM FacturasLibres WHERE NFactura = ?"),
                  {number})
                .toInt() == 1)
        db.exec(QStringLiteral("DELETE FROM SalidasLibres WHERE NFactura = ?"), {number});
    db.exec(QStringLiteral("DELETE FROM FacturasLibres WHERE Id = ?"), {invoiceId});
    tx.commit();
}

SqlStatement list(int option, const QString& typed) {
    const QString select = QStringLiteral(
        "SELECT f.Id AS Id, f.NFactura AS NFactura, f.Fecha AS Fecha, c.Nombre AS Nombre, "
        "f.Total AS Total FROM FacturasLibres f JOIN Clientes c ON c.Id_Cli = f.Id_Cli ");
    if (typed.isEmpty()) return {select + QStringLiteral("ORDER BY f.Fecha DESC, f.Id DESC"), {}};
    // Start from the index of what is searched, then sort the few matches by date.
    if (option == 1)
        return {
            select + QStringLiteral("WHERE f.NFactura LIKE ? ORDER BY +f.Fecha DESC, f.Id DESC"),
            {likePrefix(typed)}};
    return {select + QStringLiteral("WHERE f.Id_Cli IN (SELECT Id_Cli FROM Clientes WHERE Nombre "
                                    "LIKE ?) ORDER BY +f.Fecha DESC, f.Id DESC"),
            {likePrefix(typed)}};
}

const QList<GridColumn>& listColumns() {
    static const QList<GridColumn> columns = {
        {QStringLiteral("Id"), {}, ColumnKind::Hidden},
        {QStringLiteral("NFactura"), QStringLiteral("Factura"), ColumnKind::Text, 110},
        {QStringLiteral("Fecha"), QStringLiteral("Fecha"), ColumnKind::Date, 90},
        {QStringLiteral("Nombre"), QStringLiteral("Cliente"), ColumnKind::Text, 260},
        {QStringLiteral("Total"), QStringLiteral("Total"), ColumnKind::Money, 100},
    };
    return columns;
}

}  // namespace torvane::free_invoices
