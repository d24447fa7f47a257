#include "workorders/work_order_invoicing.h"

#include "core/numbering.h"
#include "core/session.h"
#include "verifactu/records.h"

namespace torvane::invoicing {

namespace {

const QString kNo = QString::fromLatin1(kNone);

QString isoDate(const QDate& d) {
    return d.toString(Qt::ISODate);
}

// Quotes a value for a selection formula; a quote inside is doubled.
QString quoted(const QString& value, QChar quote) {
    QString v = value;
    v.replace(quote, QString(2, quote));
    return quote + v + quote;
}

std::optional<WorkOrderState> readWorkOrder(Database& db, const QString& where,
                                            const QVariant& key) {
    const auto row = db.firstRow(
        QStringLiteral("SELECT Id_ODT, NODT, Id_Cli, Id_Coche, Interna, NAlbaran, NFactura, "
                       "Nominal FROM ODTS WHERE ") +
            where,
        {key});
    if (!row) return std::nullopt;
    WorkOrderState s;
    s.id = row->value(QStringLiteral("Id_ODT")).toLongLong();
    s.number = row->value(QStringLiteral("NODT")).toString();
    s.customerId = row->value(QStringLiteral("Id_Cli")).toLongLong();
    s.vehicleId = row->value(QStringLiteral("Id_Coche")).toLongLong();
    s.internal = row->value(QStringLiteral("Interna"))
                     .toString()
                     .compare(QLatin1String("Si"), Qt::CaseInsensitive) == 0;
    // An empty document number reads as none.
    s.deliveryNote = row->value(QStringLiteral("NAlbaran")).toString();
    if (s.deliveryNote.isEmpty()) s.deliveryNote = kNo;
    s.invoice = row->value(QStringLiteral("NFactura")).toString();
    if (s.invoice.isEmpty()) s.invoice = kNo;
    s.nominal = Money::fromDb(row->value(QStringLiteral("Nominal")));
    return s;
}

// The invoice row by position: number, date, base, VAT, total, paid.
void insertInvoiceRow(Database& db, const QString& number, const QDate& date, const Amounts& a,
                      bool paid) {
    db.insert(QStringLiteral("INSERT INTO FacturasODT (NFactura, Fecha, Base, IVA, Importe, "
                             "Pagado) VALUES (?, ?, ?, ?, ?, ?)"),
              {number, isoDate(date), a.base.toDb(), a.vat.toDb(), a.total.toDb(),
               (paid ? a.total : Money()).toDb()});
}

void insertPayment(Database& db, const QString& number, const QDate& date, Money amount) {
    db.insert(QStringLiteral("INSERT INTO Cobros (NFactura, Fecha, Cantidad) VALUES (?, ?, ?)"),
              {number, isoDate(date), amount.toDb()});
}

// Writes one invoice (row, payment) for work orders already marked with its number.
Amounts writeInvoice(Database& db, const QString& number, const QDate& date, Money base, bool paid,
                     const QDate& paymentDate) {
    const Amounts a = amountsFor(base, verifactu::vatRate(db));
    insertInvoiceRow(db, number, date, a, paid);
    if (paid) insertPayment(db, number, paymentDate, a.total);
    return a;
}

// Marks a work order as invoiced, only while it is not; false when it was.
bool markInvoiced(Database& db, const QString& workOrder, const QString& number) {
    QSqlQuery q =
        db.exec(QStringLiteral("UPDATE ODTS SET NFactura = ? WHERE NODT = ? AND NFactura = 'No'"),
                {number, workOrder});
    return q.numRowsAffected() > 0;
}

}  // namespace

QString numberInUseMessage(const QString& number) {
    return QStringLiteral("El número de factura ") + number + QStringLiteral(" ya está en uso.");
}

QString workOrderNotStoredMessage(const QString& workOrder) {
    return QStringLiteral("La orden de trabajo ") + workOrder +
           QStringLiteral(" no está guardada.");
}

Amounts amountsFor(Money base, Quantity vatRate) {
    Amounts a;
    a.base = base;
    a.vat = base.percent(vatRate).roundCents();
    a.total = a.base + a.vat;
    return a;
}

bool numberInUse(Database& db, const QString& number) {
    return db.scalar(QStringLiteral("SELECT EXISTS (SELECT 1 FROM ODTS WHERE NFactura = ?) OR "
                                    "EXISTS (SELECT 1 FROM FacturasODT WHERE NFactura = ?)"),
                     {number, number})
               .toInt() != 0;
}

Result Result::refused(const QString& message, Dialogs::Icon icon) {
    Result r;
    r.refusal = message;
    r.icon = icon;
    return r;
}

QString workOrderFormula(const QString& workOrder) {
    return QStringLiteral("{ODTS.NODT} ='") +
           QString(workOrder).replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

QString workOrdersFormula(const QStringList& workOrders) {
    QStringList items;
    for (const QString& n : workOrders) items << quoted(n, QLatin1Char('"'));
    return QStringLiteral("{ODTS.NODT} like [") + items.join(QLatin1Char(',')) + QLatin1Char(']');
}

std::optional<WorkOrderState> workOrderById(Database& db, qint64 id) {
    return readWorkOrder(db, QStringLiteral("Id_ODT = ?"), id);
}

std::optional<WorkOrderState> workOrderByNumber(Database& db, const QString& number) {
    return readWorkOrder(db, QStringLiteral("NODT = ? ORDER BY Id_ODT LIMIT 1"), number);
}

// ---- Editor ----

QString checkEditorDocument(bool jobsRemain, const QString& kilometres) {
    if (!jobsRemain) return QString::fromUtf8(kNoJobs);
    if (kilometres.trimmed().isEmpty()) return QString::fromUtf8(kCheckKilometres);
    return {};
}

Result deliveryNoteFromEditor(Session& session, const QString& workOrder,
                              const StoreWorkOrder& storeWorkOrder) {
    Database& db = session.db();
    Database::Transaction t(db);
    const QString number = nextDocumentNumber(session, NumberConsumer::WorkOrderDeliveryNote);
    if (storeWorkOrder) storeWorkOrder(db, number);
    QSqlQuery q =
        db.exec(QStringLiteral("UPDATE ODTS SET NAlbaran = ? WHERE NODT = ?"), {number, workOrder});
    if (q.numRowsAffected() <= 0) return Result::refused(workOrderNotStoredMessage(workOrder));
    t.commit();
    Result r;
    r.numbers << number;
    r.formula = QStringLiteral("{ODTS.NODT}='") + workOrder + QLatin1Char('\'');
    return r;
}

Result invoiceFromEditor(Session& session, const EditorInvoice& in) {
    Database& db = session.db();
    Database::Transaction t(db);
    const QString number = nextDocumentNumber(session, NumberConsumer::WorkOrderInvoice);
    if (numberInUse(db, number)) return Result::refused(numberInUseMessage(number));
    Result r;
    r.amounts = writeInvoice(db, number, in.exitDate, in.base, in.paid, in.exitDate);
    if (in.storeWorkOrder) in.storeWorkOrder(db, number);
    QSqlQuery q = db.exec(QStringLiteral("UPDATE ODTS SET NFactura = ? WHERE NODT = ?"),
                          {number, in.workOrder});
    if (q.numRowsAffected() <= 0) return Result::refused(workOrderNotStoredMessage(in.workOrder));
    t.commit();
    r.numbers << number;
    r.formula = workOrderFormula(in.workOrder);
    return r;
}

PrintTarget printTarget(InvoiceDocument document) {
    switch (document) {
        case InvoiceDocument::Internal:
            return {QString::fromLatin1(kInternalInvoiceReport), true};
        case InvoiceDocument::Ticket:
            return {QString::fromLatin1(kTicketReport), false};
        case InvoiceDocument::Invoice:
            break;
    }
    return {QString::fromLatin1(kInvoiceReport), true};
}

// ---- List ----

QString checkListInvoice(Database& db, qint64 workOrderId, const QString& number) {
    const auto wo = workOrderById(db, workOrderId);
    if (!wo) return QString::fromUtf8(kNoActiveRecord);
    if (wo->invoiced()) return QString::fromUtf8(kAlreadyInvoiced);
    if (number.trimmed().isEmpty() || number.compare(kNo, Qt::CaseInsensitive) == 0)
        return QStringLiteral("Escriba el número de la factura.");
    if (numberInUse(db, number)) return numberInUseMessage(number);
    return {};
}

Result invoiceFromList(Session& session, const ListInvoice& in) {
    Database& db = session.db();
    Database::Transaction t(db);
    if (const QString why = checkListInvoice(db, in.workOrderId, in.number); !why.isEmpty())
        return Result::refused(why);
    const auto wo = workOrderById(db, in.workOrderId);
    if (!markInvoiced(db, wo->number, in.number))
        return Result::refused(QString::fromUtf8(kAlreadyInvoiced));
    Result r;
    r.amounts = writeInvoice(db, in.number, in.date, wo->nominal, in.paid, session.today());
    t.commit();
    r.numbers << in.number;
    r.formula = workOrderFormula(wo->number);
    return r;
}

std::optional<PendingWorkOrders> pendingOfCustomerOf(Database& db, const QString& workOrder) {
    const QVariant customer =
        db.scalar(QStringLiteral("SELECT Id_Cli FROM ODTS WHERE NODT = ? ORDER BY Id_ODT LIMIT 1"),
                  {workOrder});
    if (!customer.isValid()) return std::nullopt;
    PendingWorkOrders p;
    p.customerId = customer.toLongLong();
    for (const Row& row :
         db.rows(QStringLiteral("SELECT NODT FROM ODTS WHERE Id_Cli = ? AND NFactura = 'No' "
                                "ORDER BY Id_ODT"),
                 {p.customerId}))
        p.workOrders << row.value(QStringLiteral("NODT")).toString();
    return p;
}

Result invoiceTogether(Session& session, const JointInvoice& in) {
    if (in.workOrders.isEmpty()) return Result::refused(QString::fromUtf8(kNoActiveRecord));
    Database& db = session.db();
    Database::Transaction t(db);
    if (numberInUse(db, in.number)) return Result::refused(numberInUseMessage(in.number));
    Money base;
    for (const QString& n : in.workOrders) {
        const auto wo = workOrderByNumber(db, n);
        if (!wo) return Result::refused(workOrderNotStoredMessage(n));
        if (!markInvoiced(db, n, in.number))
            return Result::refused(QStringLiteral("La ODT ") + n +
                                   QStringLiteral(" ya está facturada."));
        base += wo->nominal;
    }
    Result r;
    r.amounts = writeInvoice(db, in.number, in.date, base, in.paid, session.today());
    t.commit();
    r.numbers << in.number;
    r.formula = workOrdersFormula(in.workOrders);
    return r;
}

bool anyPendingWorkOrder(Database& db) {
    return db.scalar(QStringLiteral("SELECT EXISTS (SELECT 1 FROM ODTS WHERE NFactura = 'No')"))
               .toInt() != 0;
}

Result invoiceEach(Session& session, const SeparateInvoices& in) {
    if (in.workOrders.isEmpty()) return Result::refused(QString::fromUtf8(kNoActiveRecord));
    Database& db = session.db();
    Database::Transaction t(db);
    Result r;
    QString number = in.firstNumber;
    for (int i = 0; i < in.workOrders.size(); ++i) {
        const QString& n = in.workOrders.at(i);
        if (i > 0) number = nextDocumentNumber(session, NumberConsumer::WorkOrderMultiInvoice);
        if (numberInUse(db, number)) return Result::refused(numberInUseMessage(number));
        const auto wo = workOrderByNumber(db, n);
        if (!wo) return Result::refused(workOrderNotStoredMessage(n));
        if (!markInvoiced(db, n, number))
            return Result::refused(QStringLiteral("La ODT ") + n +
                                   QStringLiteral(" ya está facturada."));
        r.amounts = writeInvoice(db, number, in.date, wo->nominal, in.paid, session.today());
        r.numbers << number;
    }
    t.commit();
    return r;
}

Result removeInvoice(Database& db, qint64 workOrderId) {
    Database::Transaction t(db);
    const auto wo = workOrderById(db, workOrderId);
    if (!wo) return Result::refused(QString::fromUtf8(kNoActiveRecord));
    if (!wo->invoiced()) return Result::refused(QString::fromUtf8(kNoInvoice), Dialogs::Icon::None);
    const QVariantList number{wo->invoice};
    db.exec(QStringLiteral("UPDATE ODTS SET NFactura = 'No' WHERE NFactura = ?"), number);
    db.exec(QStringLiteral("DELETE FROM Cobros WHERE NFactura = ?"), number);
    db.exec(QStringLiteral("DELETE FROM FacturasODT WHERE NFactura = ?"), number);
    t.commit();
    Result r;
    r.numbers << wo->invoice;
    return r;
}

Result createDeliveryNote(Session& session, qint64 workOrderId) {
    Database& db = session.db();
    Database::Transaction t(db);
    const auto wo = workOrderById(db, workOrderId);
    if (!wo) return Result::refused(QString::fromUtf8(kNoActiveRecord));
    if (wo->invoiced()) return Result::refused(QString::fromUtf8(kNoteAfterInvoice));
    const QString number = nextDocumentNumber(session, NumberConsumer::WorkOrderDeliveryNote);
    db.exec(QStringLiteral("UPDATE ODTS SET NAlbaran = ? WHERE Id_ODT = ?"), {number, wo->id});
    t.commit();
    Result r;
    r.numbers << number;
    return r;
}

Result removeDeliveryNote(Database& db, qint64 workOrderId) {
    Database::Transaction t(db);
    const auto wo = workOrderById(db, workOrderId);
    if (!wo) return Result::refused(QString::fromUtf8(kNoActiveRecord));
    if (!wo->hasDeliveryNote())
        return Result::refused(QString::fromUtf8(kNoDeliveryNote), Dialogs::Icon::None);
    db.exec(QStringLiteral("DELETE FROM Albaranes WHERE Id_Alb = ?"), {wo->deliveryNote});
    db.exec(QStringLiteral("UPDATE ODTS SET NAlbaran = 'No' WHERE Id_ODT = ?"), {wo->id});
    t.commit();
    Result r;
    r.numbers << wo->deliveryNote;
    return r;
}

Result deleteWorkOrder(Database& db, qint64 workOrderId) {
    Database::Transaction t(db);
    const auto wo = workOrderById(db, workOrderId);
    if (!wo) return Result::refused(QString::fromUtf8(kNoActiveRecord));
    db.exec(QStringLiteral("DELETE FROM ODTS WHERE Id_ODT = ?"), {wo->id});
    if (wo->invoiced()) {
        const QVariantList number{wo->invoice};
        db.exec(QStringLiteral("DELETE FROM FacturasODT WHERE NFactura = ?"), number);
        // A number no work order carries may be issued again: its payments go too.
        if (db.scalar(QStringLiteral("SELECT count(*) FROM ODTS WHERE NFactura = ?"), number)
                .toInt() == 0)
            db.exec(QStringLiteral("DELETE FROM Cobros WHERE NFactura = ?"), number);
    }
    const QVariantList nodt{wo->number};
    db.exec(QStringLiteral("DELETE FROM TrabajosRealizar_ODT WHERE NODT = ?"), nodt);
    db.exec(QStringLiteral("DELETE FROM TrabajosRealizadosODT WHERE NODT = ?"), nodt);
    db.exec(QStringLiteral("DELETE FROM MaterialesODT WHERE NODT = ?"), nodt);
    db.exec(QStringLiteral("DELETE FROM LineasLibresODT WHERE nODT = ?"), nodt);
    t.commit();
    return {};
}

Result deleteInternalWorkOrder(Database& db, qint64 workOrderId) {
    Database::Transaction t(db);
    const auto wo = workOrderById(db, workOrderId);
    if (!wo) return Result::refused(QString::fromUtf8(kNoActiveRecord));
    db.exec(QStringLiteral("DELETE FROM ODTS WHERE Id_ODT = ?"), {wo->id});
    t.commit();
    return {};
}

void setInternal(Database& db, qint64 workOrderId, bool internal) {
    db.exec(QStringLiteral("UPDATE ODTS SET Interna = ? WHERE Id_ODT = ?"),
            {internal ? QStringLiteral("Si") : QStringLiteral("No"), workOrderId});
}

}  // namespace torvane::invoicing
