#include "sales/sales_list.h"

#include <QSqlQuery>

#include "core/numbering.h"
#include "core/session.h"
#include "sales/counter_sale.h"
#include "verifactu/records.h"

namespace torvane::sales {

namespace {

QString iso(const QDate& d) {
    return d.toString(Qt::ISODate);
}

const QString kListSelect = QStringLiteral(
    "SELECT Albaranes.Id, Albaranes.Id_Alb AS Albaran, Albaranes.Fecha, Albaranes.Nominal, "
    "Albaranes.Total, Albaranes.NFactura AS Factura, Clientes.Nombre AS Cliente, Clientes.NIF, "
    "Clientes.Id_Cli FROM Albaranes INNER JOIN Clientes ON Albaranes.Id_Cli = Clientes.Id_Cli "
    "WHERE EXISTS (SELECT 1 FROM Salidas WHERE Salidas.Id_Alb = Albaranes.Id_Alb)");

const QString kPendingSelect = QStringLiteral(
    "SELECT Albaranes.Id, Albaranes.Id_Alb AS Albaran, Albaranes.Fecha, Albaranes.Nominal, "
    "Albaranes.Total, Albaranes.NFactura AS Factura, Clientes.Id_Cli FROM Albaranes "
    "INNER JOIN Clientes ON Albaranes.Id_Cli = Clientes.Id_Cli "
    "WHERE Albaranes.NFactura = 'No' "
    "AND EXISTS (SELECT 1 FROM Salidas WHERE Salidas.Id_Alb = Albaranes.Id_Alb)");

struct NoteRow {
    qint64 id = 0;
    qint64 customerId = 0;
    QString invoice;
    Money nominal;
    Money total;
};

NoteRow noteRow(Database& db, const QString& note) {
    const auto r = db.firstRow(QStringLiteral("SELECT Id, Id_Cli, NFactura, Nominal, Total FROM "
                                              "Albaranes WHERE Id_Alb = ? ORDER BY Id LIMIT 1"),
                               {note});
    if (!r) throw Refused(QStringLiteral("El albarán ") + note + QStringLiteral(" no existe."));
    NoteRow n;
    n.id = r->value(QStringLiteral("Id")).toLongLong();
    n.customerId = r->value(QStringLiteral("Id_Cli")).toLongLong();
    n.invoice = r->value(QStringLiteral("NFactura")).toString();
    n.nominal = Money::fromDb(r->value(QStringLiteral("Nominal")));
    n.total = Money::fromDb(r->value(QStringLiteral("Total")));
    return n;
}

bool invoiced(const NoteRow& n) {
    return !n.invoice.isEmpty() && n.invoice != QLatin1String(kNotInvoiced);
}

void refuseUsedNumber(Database& db, const QString& invoice) {
    if (invoice.trimmed().isEmpty())
        throw Refused(QStringLiteral("Debe indicar el número de factura"));
    if (partsInvoiceNumberInUse(db, invoice)) throw Refused(inUseMessage(invoice));
}

void setInvoice(Database& db, qint64 noteId, const QString& invoice) {
    db.exec(QStringLiteral("UPDATE Albaranes SET NFactura = ? WHERE Id = ?"), {invoice, noteId});
}

}  // namespace

QStringList searchColumnCaptions() {
    return {QStringLiteral("Albaran"), QStringLiteral("Factura"), QStringLiteral("Cliente"),
            QStringLiteral("NIF")};
}

QStringList noteStateCaptions() {
    return {QStringLiteral("Todos"), QStringLiteral("Facturadas"), QStringLiteral("Sin Facturar")};
}

const QList<GridColumn>& listColumns() {
    static const QList<GridColumn> columns = {
        {QStringLiteral("Id"), {}, ColumnKind::Hidden},
        {QStringLiteral("Albaran"), QStringLiteral("Albarán"), ColumnKind::Text, 120},
        {QStringLiteral("Fecha"), {}, ColumnKind::Date, 90},
        {QStringLiteral("Nominal"), {}, ColumnKind::Money, 90},
        {QStringLiteral("Total"), {}, ColumnKind::Money, 90},
        {QStringLiteral("Factura"), {}, ColumnKind::Text, 120},
        {QStringLiteral("Cliente"), {}, ColumnKind::Text, 260},
        {QStringLiteral("NIF"), {}, ColumnKind::Text, 100},
        {QStringLiteral("Id_Cli"), {}, ColumnKind::Hidden},
    };
    return columns;
}

SqlStatement listAll() {
    return {kListSelect + QStringLiteral(" ORDER BY Albaranes.Fecha DESC, Albaranes.Id DESC"), {}};
}

namespace {

// The search's conditions. Led by their own indexes (few matching notes, sorted
// afterwards) or, with a leading "+", only checked while the date index is
// walked newest first (many matching notes: the first screenful comes at once).
QString searchConditions(SearchColumn column, NoteState state, bool walkDates) {
    const QString plus = walkDates ? QStringLiteral("+") : QString();
    QString sql;
    if (state == NoteState::Facturadas) sql += QStringLiteral(" AND Albaranes.NFactura <> 'No'");
    if (state == NoteState::SinFacturar)
        sql += QStringLiteral(" AND %1Albaranes.NFactura = 'No'").arg(plus);
    switch (column) {
        case SearchColumn::Albaran:
            return sql + QStringLiteral(" AND %1Albaranes.Id_Alb LIKE ?").arg(plus);
        case SearchColumn::Factura:
            return sql + QStringLiteral(" AND %1Albaranes.NFactura LIKE ?").arg(plus);
        case SearchColumn::Cliente:
            return sql + QStringLiteral(
                             " AND %1Albaranes.Id_Cli IN (SELECT Id_Cli FROM Clientes "
                             "WHERE Nombre LIKE ?)")
                             .arg(plus);
        case SearchColumn::NIF:
            return sql + QStringLiteral(
                             " AND %1Albaranes.Id_Cli IN (SELECT Id_Cli FROM Clientes "
                             "WHERE NIF LIKE ?)")
                             .arg(plus);
    }
    return sql;
}

// Above this many matching notes the list walks the date index.
constexpr int kManyNotes = 3000;

}  // namespace

SqlStatement listSearch(Database& db, SearchColumn column, NoteState state, const QString& typed) {
    const QVariantList params = {likePrefix(typed)};
    const int matching =
        db.scalar(QStringLiteral("SELECT count(*) FROM (SELECT 1 FROM Albaranes WHERE 1") +
                      searchConditions(column, state, false) +
                      QStringLiteral(" LIMIT %1)").arg(kManyNotes),
                  params)
            .toInt();
    const bool walkDates = matching >= kManyNotes;
    return {kListSelect + searchConditions(column, state, walkDates) +
                (walkDates ? QStringLiteral(" ORDER BY Albaranes.Fecha DESC, Albaranes.Id DESC")
                           : QStringLiteral(" ORDER BY +Albaranes.Fecha DESC, Albaranes.Id DESC")),
            params};
}

const QList<GridColumn>& pendingColumns() {
    // The list's columns without the customer's name and NIF.
    static const QList<GridColumn> columns = [] {
        QList<GridColumn> c = listColumns();
        c.removeIf([](const GridColumn& g) {
            return g.field == QLatin1String("Cliente") || g.field == QLatin1String("NIF");
        });
        return c;
    }();
    return columns;
}

SqlStatement pendingOf(qint64 customerId) {
    return {kPendingSelect + QStringLiteral(" AND Albaranes.Id_Cli = ? ORDER BY Albaranes.Id"),
            {customerId}};
}

SqlStatement allPending() {
    return {kPendingSelect + QStringLiteral(" ORDER BY Albaranes.Id"), {}};
}

QString proposedInvoiceNumber(Session& session) {
    return freePartsInvoiceNumber(
        session.db(), seriesPrefix(session, Series::FV),
        nextDocumentNumber(session, NumberConsumer::SalesListInvoiceProposal));
}

QString checkTypedNumber(Database& db, const QString& number) {
    return partsInvoiceNumberInUse(db, number) ? inUseMessage(number) : QString();
}

void invoiceNote(Database& db, const QString& note, const QString& invoice, const QDate& date,
                 bool paid) {
    Database::Transaction tx(db);
    const NoteRow n = noteRow(db, note);
    if (invoiced(n)) throw Refused(QString::fromUtf8(kAlreadyInvoiced));
    refuseUsedNumber(db, invoice);
    addInvoice(db, invoice, n.customerId, date, n.total, paid, date);
    db.exec(QStringLiteral("UPDATE Albaranes SET NFactura = ?, Fecha = ? WHERE Id = ?"),
            {invoice, iso(date), n.id});
    tx.commit();
}

QStringList pendingNotesOf(Database& db, qint64 customerId) {
    QStringList out;
    QSqlQuery q = db.exec(QStringLiteral("SELECT Id_Alb FROM Albaranes WHERE Id_Cli = ? AND "
                                         "NFactura = 'No' ORDER BY Id"),
                          {customerId});
    while (q.next()) out << q.value(0).toString();
    return out;
}

Money invoiceTogether(Database& db, const QStringList& notes, qint64 customerId,
                      const QString& invoice, const QDate& date, bool paid) {
    if (notes.isEmpty()) throw Refused(QStringLiteral("No hay ningún albarán seleccionado"));
    Database::Transaction tx(db);
    refuseUsedNumber(db, invoice);
    Money sum;
    for (const QString& note : notes) {
        const NoteRow n = noteRow(db, note);
        if (invoiced(n))
            throw Refused(QStringLiteral("El albarán ") + note +
                          QStringLiteral(" ya se ha facturado."));
        if (n.customerId != customerId)
            throw Refused(QStringLiteral("El albarán ") + note +
                          QStringLiteral(" es de otro cliente."));
        setInvoice(db, n.id, invoice);
        sum += n.total;
    }
    addInvoice(db, invoice, customerId, date, sum, paid, date);
    tx.commit();
    return sum;
}

QString notesFormula(const QStringList& notes) {
    QString f = QStringLiteral("{Albaranes.Id_Alb} like [");
    for (int i = 0; i < notes.size(); ++i) {
        if (i) f += QLatin1Char(',');
        f += QLatin1Char('"') + notes[i] + QLatin1Char('"');
    }
    return f + QLatin1Char(']');
}

QStringList invoiceEach(Session& session, const QStringList& notes, const QString& first,
                        const QDate& date, bool paid, const QDate& paymentDate) {
    Database& db = session.db();
    const QString prefix = seriesPrefix(session, Series::FV);
    const Quantity vatRate = verifactu::vatRate(db);
    Database::Transaction tx(db);
    QStringList numbers;
    QString number = first;
    for (const QString& note : notes) {
        const NoteRow n = noteRow(db, note);
        if (invoiced(n))
            throw Refused(QStringLiteral("El albarán ") + note +
                          QStringLiteral(" ya se ha facturado."));
        refuseUsedNumber(db, number);
        // The invoice is the note's base plus its VAT, to cents.
        const Money total = n.nominal + n.nominal.percent(vatRate).roundCents();
        setInvoice(db, n.id, number);
        addInvoice(db, number, n.customerId, date, total, paid, paymentDate);
        numbers << number;
        number = freePartsInvoiceNumber(
            db, prefix, nextNumberIn(db, NumberConsumer::SalesMultiInvoice, prefix));
    }
    tx.commit();
    return numbers;
}

void deleteNote(Database& db, const QString& note) {
    Database::Transaction tx(db);
    const NoteRow n = noteRow(db, note);
    db.exec(QStringLiteral("DELETE FROM Salidas WHERE Id_Alb = ?"), {note});
    db.exec(QStringLiteral("DELETE FROM Albaranes WHERE Id_Alb = ?"), {note});
    if (invoiced(n)) db.exec(QStringLiteral("DELETE FROM Facturas WHERE Id_Fac = ?"), {n.invoice});
    tx.commit();
}

void deleteInvoice(Database& db, const QString& invoice) {
    if (invoice.isEmpty() || invoice == QLatin1String(kNotInvoiced))
        throw Refused(QString::fromUtf8(kNoInvoice));
    Database::Transaction tx(db);
    db.exec(QStringLiteral("DELETE FROM Facturas WHERE Id_Fac = ?"), {invoice});
    db.exec(QStringLiteral("DELETE FROM Cobros WHERE NFactura = ?"), {invoice});
    db.exec(QStringLiteral("UPDATE Albaranes SET NFactura = 'No' WHERE NFactura = ?"), {invoice});
    tx.commit();
}

}  // namespace torvane::sales
