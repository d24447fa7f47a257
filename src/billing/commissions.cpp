#include "billing/commissions.h"

#include "core/format.h"
#include "verifactu/records.h"

namespace torvane::commissions {

QString reportFormula(const QString& number) {
    return QStringLiteral("{Comisiones.NFactura}='") + number + QLatin1Char('\'');
}

QString numberText(const QDate& today, qint64 counter) {
    return QStringLiteral("FC") + today.toString(QStringLiteral("yy/MM/")) +
           QString::number(counter).rightJustified(4, QLatin1Char('0'));
}

QString nextNumber(Database& db, const QDate& today) {
    // The key sequence remembers deleted rows; MAX(Id) covers a file without it.
    qint64 counter =
        db.scalar(
              QStringLiteral("SELECT MAX(COALESCE((SELECT seq FROM sqlite_sequence WHERE name = "
                             "'Comisiones'), 0), COALESCE((SELECT MAX(Id) FROM Comisiones), 0))"))
            .toLongLong() +
        1;
    QString number = numberText(today, counter);
    while (
        db.scalar(QStringLiteral("SELECT 1 FROM Comisiones WHERE NFactura = ? LIMIT 1"), {number})
            .isValid())
        number = numberText(today, ++counter);
    return number;
}

Totals computeTotals(Money suma, Quantity vatRate, Quantity withholdingRate) {
    Totals t;
    t.suma = suma;
    t.iva = suma.percent(vatRate).roundCents();
    t.retencion = suma.percent(withholdingRate).roundCents();
    t.resto = suma + t.iva - t.retencion;
    return t;
}

QString store(Database& db, const Header& header, const std::vector<DocumentLine>& lines) {
    Database::Transaction tx(db);
    QString number = header.number;
    if (db.scalar(QStringLiteral("SELECT 1 FROM Comisiones WHERE NFactura = ? LIMIT 1"), {number})
            .isValid())
        number = nextNumber(db, header.date);
    for (const DocumentLine& line : lines) {
        if (line.deleted) continue;
        db.insert(QStringLiteral("INSERT INTO SalidasComisiones (NFactura, Concepto, Unidades, "
                                 "Precio, Dto, Total) VALUES (?, ?, ?, ?, ?, ?)"),
                  {number, line.description, line.units.toDb(), line.price.toDb(),
                   line.discount.toDb(), line.amount().toDb()});
    }
    const Totals t =
        computeTotals(lineTotals(lines).amount, verifactu::vatRate(db), header.withholdingRate);
    db.insert(QStringLiteral("INSERT INTO Comisiones (NFactura, Fecha, Id_Cli, Suma, Iva, "
                             "Retencion, Resto, TipoRetencion) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
              {number, toIsoDate(header.date), header.customerId, t.suma.toDb(), t.iva.toDb(),
               t.retencion.toDb(), t.resto.toDb(), header.withholdingRate.toDb()});
    tx.commit();
    return number;
}

void remove(Database& db, const QString& number) {
    Database::Transaction tx(db);
    db.exec(QStringLiteral("DELETE FROM SalidasComisiones WHERE NFactura = ?"), {number});
    db.exec(QStringLiteral("DELETE FROM Comisiones WHERE NFactura = ?"), {number});
    tx.commit();
}

SqlStatement list(int option, const QString& typed) {
    const QString select = QStringLiteral(
        "SELECT s.Id AS Id, s.NFactura AS NFactura, c.Fecha AS Fecha, k.Nombre AS Nombre, "
        "s.Total AS Total, c.Retencion AS Ret, c.Resto AS Importe FROM SalidasComisiones s "
        "JOIN Comisiones c ON c.NFactura = s.NFactura JOIN Clientes k ON k.Id_Cli = c.Id_Cli ");
    const QString order = QStringLiteral(" ORDER BY c.Fecha DESC, c.Id DESC, s.Id");
    if (typed.isEmpty()) return {select + order, {}};
    if (option == 1)
        return {select + QStringLiteral("WHERE s.NFactura LIKE ?") + order, {likePrefix(typed)}};
    return {select + QStringLiteral("WHERE k.Nombre LIKE ?") + order, {likePrefix(typed)}};
}

const QList<GridColumn>& listColumns() {
    static const QList<GridColumn> columns = {
        {QStringLiteral("Id"), {}, ColumnKind::Hidden},
        {QStringLiteral("NFactura"), QStringLiteral("Factura"), ColumnKind::Text, 120},
        {QStringLiteral("Fecha"), QStringLiteral("Fecha"), ColumnKind::Date, 90},
        {QStringLiteral("Nombre"), QStringLiteral("Cliente"), ColumnKind::Text, 240},
        {QStringLiteral("Total"), QStringLiteral("Total"), ColumnKind::Money, 90},
        {QStringLiteral("Ret"), QStringLiteral("Ret"), ColumnKind::Money, 80},
        {QStringLiteral("Importe"), QStringLiteral("Importe"), ColumnKind::Money, 90},
    };
    return columns;
}

}  // namespace torvane::commissions
