#include "sales/counter_sale.h"

#include <QSqlQuery>

#include "core/numbering.h"
#include "core/session.h"
#include "core/stock_moves.h"
#include "verifactu/records.h"

namespace torvane::sales {

namespace {

QString iso(const QDate& d) {
    return d.toString(Qt::ISODate);
}

SaleLine lineFrom(const QSqlQuery& q) {
    SaleLine s;
    s.line.id = q.value(0).toLongLong();
    s.articleId = q.value(1).toLongLong();
    s.line.code = q.value(2).toString();
    s.line.description = q.value(3).toString();
    s.line.units = Quantity::fromDb(q.value(4));
    s.line.price = Money::fromDb(q.value(5));
    s.line.discount = Quantity::fromDb(q.value(6));
    return s;
}

const QString kLineColumns =
    QStringLiteral("Id, IFNULL(Id_Art, 0), Codigo, Descripcion, Cantidad, Precio, Dto");

std::optional<SaleLine> storedLine(Database& db, qint64 id) {
    QSqlQuery q =
        db.exec(QStringLiteral("SELECT %1 FROM Salidas WHERE Id = ?").arg(kLineColumns), {id});
    if (!q.next()) return std::nullopt;
    return lineFrom(q);
}

// Removes a stored line and gives its units back to its article.
void removeLine(Database& db, qint64 id) {
    const auto line = storedLine(db, id);
    if (!line) return;
    moveStock(db, line->articleId, line->line.units);
    db.exec(QStringLiteral("DELETE FROM Salidas WHERE Id = ?"), {id});
}

std::vector<DocumentLine> remainingLines(Database& db, const QString& number,
                                         const QList<qint64>& deleted) {
    std::vector<DocumentLine> out;
    for (SaleLine& s : linesOf(db, number))
        if (!deleted.contains(s.line.id.toLongLong())) out.push_back(std::move(s.line));
    return out;
}

void writeHeader(Database& db, const NoteHeader& h, const SaleTotals& t) {
    const QVariantList values = {iso(h.date),  h.customerId, h.invoice,      h.notes, t.sum.toDb(),
                                 t.sum.toDb(), t.vat.toDb(), t.total.toDb(), h.number};
    const QVariant id =
        db.scalar(QStringLiteral("SELECT Id FROM Albaranes WHERE Id_Alb = ? ORDER BY Id LIMIT 1"),
                  {h.number});
    if (id.isValid()) {
        QVariantList params = values;
        params.removeLast();
        params << id;
        db.exec(QStringLiteral("UPDATE Albaranes SET Fecha = ?, Id_Cli = ?, NFactura = ?, "
                               "Notas = ?, Suma = ?, Nominal = ?, IVA = ?, Total = ? WHERE Id = ?"),
                params);
    } else {
        db.insert(QStringLiteral("INSERT INTO Albaranes (Fecha, Id_Cli, NFactura, Notas, Suma, "
                                 "Nominal, IVA, Total, Id_Alb) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                  values);
    }
}

SaleTotals saveNoteIn(Database& db, const NoteHeader& header, const QList<qint64>& deleted) {
    const std::vector<DocumentLine> lines = remainingLines(db, header.number, deleted);
    if (lines.empty()) throw Refused(QString::fromUtf8(kNoLines));
    const SaleTotals totals = totalsOf(lines, verifactu::vatRate(db));
    writeHeader(db, header, totals);
    for (qint64 id : deleted) removeLine(db, id);
    return totals;
}

}  // namespace

std::optional<SaleCustomer> customerOf(Database& db, qint64 customerId) {
    const auto r =
        db.firstRow(QStringLiteral("SELECT Id_Cli, Codigo, Nombre FROM Clientes WHERE Id_Cli = ?"),
                    {customerId});
    if (!r) return std::nullopt;
    return SaleCustomer{r->value(QStringLiteral("Id_Cli")).toLongLong(),
                        r->value(QStringLiteral("Codigo")).toString(),
                        r->value(QStringLiteral("Nombre")).toString()};
}

std::optional<NoteHeader> noteByNumber(Database& db, const QString& number) {
    const auto r =
        db.firstRow(QStringLiteral("SELECT Id_Alb, Fecha, Id_Cli, NFactura, Notas "
                                   "FROM Albaranes WHERE Id_Alb = ? ORDER BY Id LIMIT 1"),
                    {number});
    if (!r) return std::nullopt;
    NoteHeader h;
    h.number = r->value(QStringLiteral("Id_Alb")).toString();
    h.date = QDate::fromString(r->value(QStringLiteral("Fecha")).toString(), Qt::ISODate);
    h.customerId = r->value(QStringLiteral("Id_Cli")).toLongLong();
    h.invoice = r->value(QStringLiteral("NFactura")).toString();
    if (h.invoice.isEmpty()) h.invoice = QString::fromLatin1(kNotInvoiced);
    h.notes = r->value(QStringLiteral("Notas")).toString();
    return h;
}

std::vector<SaleLine> linesOf(Database& db, const QString& number) {
    std::vector<SaleLine> out;
    QSqlQuery q = db.exec(
        QStringLiteral("SELECT %1 FROM Salidas WHERE Id_Alb = ? ORDER BY Id").arg(kLineColumns),
        {number});
    while (q.next()) out.push_back(lineFrom(q));
    return out;
}

LineCheck checkLine(const TypedLine& typed) {
    LineCheck c;
    const QString discount =
        typed.discount.trimmed().isEmpty() ? QStringLiteral("0") : typed.discount.trimmed();
    if (typed.description.trimmed().isEmpty() || typed.units.trimmed().isEmpty() ||
        typed.price.trimmed().isEmpty()) {
        c.message = QString::fromUtf8(kIncompleteLine);
        return c;
    }
    const auto units = Quantity::parse(typed.units.trimmed());
    const auto price = Money::parse(typed.price.trimmed());
    const auto dto = Quantity::parse(discount);
    if (!units) {
        c.message = QStringLiteral("Las unidades no son válidas: ") + typed.units.trimmed();
        return c;
    }
    if (!price) {
        c.message = QStringLiteral("El precio no es válido: ") + typed.price.trimmed();
        return c;
    }
    if (!dto || *dto < Quantity()) {
        c.message = QStringLiteral("El descuento no es válido: ") + discount;
        return c;
    }
    if (*dto > Quantity::whole(100)) {
        c.message = QString::fromUtf8(kDiscountTooHigh);
        return c;
    }
    DocumentLine line;
    line.code = typed.code.trimmed();
    line.description = typed.description.trimmed();
    line.units = *units;
    line.price = *price;
    line.discount = *dto;
    c.line = line;
    return c;
}

qint64 storeLine(Database& db, const QString& number, const SaleLine& s) {
    Database::Transaction tx(db);
    const DocumentLine& l = s.line;
    const QVariantList values = {number,         s.articleId,    l.code,           l.description,
                                 l.units.toDb(), l.price.toDb(), l.discount.toDb()};
    qint64 id = 0;
    const auto old = l.id.isValid() ? storedLine(db, l.id.toLongLong()) : std::nullopt;
    if (old) {
        id = l.id.toLongLong();
        moveStockForEdit(db, old->articleId, old->line.units, s.articleId, l.units);
        QVariantList params = values;
        params << id;
        db.exec(QStringLiteral("UPDATE Salidas SET Id_Alb = ?, Id_Art = ?, Codigo = ?, "
                               "Descripcion = ?, Cantidad = ?, Precio = ?, Dto = ? WHERE Id = ?"),
                params);
    } else {
        id = db.insert(QStringLiteral("INSERT INTO Salidas (Id_Alb, Id_Art, Codigo, Descripcion, "
                                      "Cantidad, Precio, Dto) VALUES (?, ?, ?, ?, ?, ?, ?)"),
                       values);
        moveStock(db, s.articleId, -l.units);
    }
    tx.commit();
    return id;
}

SaleTotals totalsOf(const std::vector<DocumentLine>& lines, Quantity vatRate) {
    SaleTotals t;
    t.sum = lineTotals(lines).amount;
    t.vat = t.sum.percent(vatRate).roundCents();
    t.total = t.sum + t.vat;
    return t;
}

SaleTotals saveNote(Database& db, const NoteHeader& header, const QList<qint64>& deletedLines) {
    Database::Transaction tx(db);
    const SaleTotals t = saveNoteIn(db, header, deletedLines);
    tx.commit();
    return t;
}

void discardVisit(Database& db, const QString& number, int linesAtOpen, bool newNote) {
    Database::Transaction tx(db);
    std::vector<SaleLine> lines = linesOf(db, number);
    for (int i = int(lines.size()) - 1; i >= 0 && i >= linesAtOpen; --i)
        removeLine(db, lines[i].line.id.toLongLong());
    if (newNote) db.exec(QStringLiteral("DELETE FROM Albaranes WHERE Id_Alb = ?"), {number});
    tx.commit();
}

QString startNewNote(Session& session) {
    Database& db = session.db();
    Database::Transaction tx(db);
    const QString number = nextDocumentNumber(session, NumberConsumer::CounterSaleDeliveryNote);
    QSqlQuery q = db.exec(QStringLiteral("SELECT Id FROM Salidas WHERE Id_Alb = ? AND NOT EXISTS "
                                         "(SELECT 1 FROM Albaranes WHERE Albaranes.Id_Alb = ?)"),
                          {number, number});
    QList<qint64> orphans;
    while (q.next()) orphans << q.value(0).toLongLong();
    for (qint64 id : orphans) removeLine(db, id);
    tx.commit();
    return number;
}

QString inUseMessage(const QString& number) {
    return QStringLiteral("El número de factura ") + number + QStringLiteral(" ya está en uso.");
}

void addInvoice(Database& db, const QString& number, qint64 customerId, const QDate& date,
                Money total, bool paid, const QDate& paymentDate) {
    db.insert(QStringLiteral("INSERT INTO Facturas (Id_Fac, Fecha, Id_Cli, Pagado, Total) "
                             "VALUES (?, ?, ?, ?, ?)"),
              {number, iso(date), customerId, (paid ? total : Money()).toDb(), total.toDb()});
    if (paid)
        db.insert(QStringLiteral("INSERT INTO Cobros (NFactura, Fecha, Cantidad) VALUES (?, ?, ?)"),
                  {number, iso(paymentDate), total.toDb()});
}

QString invoiceSale(Session& session, NoteHeader header, const QList<qint64>& deletedLines,
                    bool paid) {
    if (header.invoice != QLatin1String(kNotInvoiced))
        throw Refused(QString::fromUtf8(kAlreadyInvoiced));
    Database& db = session.db();
    Database::Transaction tx(db);
    if (remainingLines(db, header.number, deletedLines).empty())
        throw Refused(QString::fromUtf8(kNoLines));
    const QString prefix = seriesPrefix(session, Series::FV);
    header.invoice = freePartsInvoiceNumber(
        db, prefix, nextDocumentNumber(session, NumberConsumer::CounterSaleInvoice));
    const SaleTotals t = saveNoteIn(db, header, deletedLines);
    addInvoice(db, header.invoice, header.customerId, header.date, t.total, paid, header.date);
    tx.commit();
    return header.invoice;
}

QString noteFormula(const QString& number) {
    return QStringLiteral("{Albaranes.Id_Alb}='") + number + QLatin1Char('\'');
}

}  // namespace torvane::sales
