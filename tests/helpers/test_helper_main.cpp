// A second program on the same database file, for the tests that run one beside them or
// kill one at random moments and check what it left:
//   insert DB COUNT LOG           inserts families one by one, logging each once committed
//   hold DB MS READY LOG          inserts 300 families in one transaction held open MS ms
//   customers DB COUNT TAG LOG    saves COUNT customers, logging each id once committed
//   workorder DB NUMBER FROM LOG  saves one work order over and over (see saveWorkOrder)
//   purchases DB COUNT            saves COUNT purchases of 20 lines (entry numbers P0, P1...;
//                                 the first ten lines of each go to work order ODT/CRASH)
//   compact HOME DB               compacts DB with the program folder HOME
//   invoice HOME DB STEPS         invoices work orders STEPS times, every way in turn
//   billing HOME DB SEED          pays, removes payments, stores and deletes free invoices,
//                                 stores receipts, saves and deletes commission invoices
//   sales HOME DB SEED            sells, invoices, deletes notes and invoices
// The last two run until they are killed (30 s at most).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QThread>
#include <cstdio>

#include "billing/collections.h"
#include "billing/commissions.h"
#include "billing/free_invoices.h"
#include "billing/receipts.h"
#include "core/maintenance.h"
#include "core/session.h"
#include "masters/customers.h"
#include "purchasing/purchases.h"
#include "sales/counter_sale.h"
#include "sales/sales_list.h"
#include "workorders/work_order.h"
#include "workorders/work_order_invoicing.h"
#include "workorders/work_order_list.h"

using namespace torvane;

namespace {

// One line per committed row, flushed at once so that a killed helper has logged
// exactly what it saw committed.
class Log {
  public:
    explicit Log(const QString& path) : f_(path) {
        f_.open(QIODevice::Append | QIODevice::Unbuffered);
    }
    void line(const QString& text) { f_.write((text + QLatin1Char('\n')).toUtf8()); }

  private:
    QFile f_;
};

bool openDb(Database& db, const QString& path) {
    QString reason;
    if (db.open(path, &reason)) return true;
    std::fprintf(stderr, "open: %s\n", reason.toLocal8Bit().constData());
    return false;
}

QStringList column(Database& db, const QString& sql, const QVariantList& values = {}) {
    QStringList out;
    for (const Row& r : db.rows(sql, values)) out << r.first().toString();
    return out;
}

// Runs step(i) for i in [0, count), logging what each returns once committed; a step
// locked past the timeout (a compaction) is tried again.
int logEach(const QString& path, int count, const QString& logPath,
            const std::function<QString(Database&, int)>& step) {
    Database db;
    if (!openDb(db, path)) return 2;
    Log log(logPath);
    for (int i = 0; i < count;) {
        try {
            log.line(step(db, i));
            ++i;
        } catch (const DbError&) {
        }
    }
    return 0;
}

QString insertFamily(Database& db, int i) {
    db.exec(QStringLiteral("INSERT INTO Familias (Familia) VALUES (?)"),
            {QStringLiteral("W%1").arg(i)});
    QThread::msleep(2);
    return QString::number(i);
}

int hold(const QString& path, int ms, const QString& ready, const QString& logPath) {
    Database db;
    if (!openDb(db, path)) return 2;
    Log log(logPath);
    Database::Transaction t(db);
    for (int i = 0; i < 300; ++i)
        db.exec(QStringLiteral("INSERT INTO Familias (Familia) VALUES (?)"),
                {QStringLiteral("H%1").arg(i)});
    QFile(ready).open(QIODevice::WriteOnly);
    QThread::msleep(static_cast<unsigned long>(ms));
    t.commit();  // a failure ends the helper without "committed" in the log
    log.line(QStringLiteral("committed"));
    return 0;
}

QString saveCustomer(Database& db, const QString& tag, int i) {
    Row values;
    values.insert(QStringLiteral("Codigo"), customers::proposeCustomerCode(db));
    values.insert(QStringLiteral("Nombre"), QStringLiteral("%1-%2").arg(tag).arg(i));
    values.insert(QStringLiteral("NIF"), QStringLiteral("B12345678"));
    return QString::number(customers::saveCustomer(db, QVariant(), values));
}

// From round FROM on: adds two material lines that take stock, logs "round deleted-id
// kept-id" and saves the work order with the kilometres of the round and the first line
// marked deleted.
int saveWorkOrder(const QString& path, const QString& number, int from, const QString& logPath) {
    Database db;
    if (!openDb(db, path)) return 2;
    Log log(logPath);
    auto header = workorders::headerByNumber(db, number);
    if (!header) return 3;
    for (int round = from;; ++round) {
        const workorders::MaterialLine line{{},
                                            QStringLiteral("FIL"),
                                            QStringLiteral("FILTRO"),
                                            Quantity::whole(1 + round % 3),
                                            Money::whole(10),
                                            Quantity()};
        const qint64 gone = workorders::storeMaterial(db, number, line);
        const qint64 kept = workorders::storeMaterial(db, number, line);
        log.line(QStringLiteral("%1 %2 %3").arg(round).arg(gone).arg(kept));
        header->kilometres = QString::number(round);
        workorders::Deletions d;
        d.materials = {gone};
        if (workorders::save(db, *header, d).check != workorders::SaveCheck::Ok) return 4;
    }
}

int savePurchases(const QString& path, int count) {
    Database db;
    if (!openDb(db, path)) return 2;
    const auto articles =
        db.rows(QStringLiteral("SELECT Id_Art, Codigo FROM Articulos ORDER BY Id_Art"));
    const QVariant supplier = db.scalar(QStringLiteral("SELECT min(Id_Pro) FROM Proveedores"));
    for (int n = 0; n < count; ++n) {
        std::vector<DocumentLine> lines;
        for (int i = 0; i < 20; ++i) {
            const auto& a = articles[size_t(i) % articles.size()];
            DocumentLine l;
            l.articleId = a.value(QStringLiteral("Id_Art"));
            l.code = a.value(QStringLiteral("Codigo")).toString();
            l.description = QStringLiteral("LINEA %1").arg(i);
            l.units = Quantity::whole(1 + i % 3);
            l.price = Money::fromCents(1000 + n);
            l.workOrder = i < 10 ? QStringLiteral("ODT/CRASH") : QString();
            lines.push_back(l);
        }
        // A failure ends the helper with an uncaught exception, which the test sees.
        purchases::savePurchase(
            db, {QStringLiteral("P%1").arg(n), QStringLiteral("ALB"), QDate(2008, 3, 5), supplier},
            lines);
    }
    return 0;
}

// Invoicing from the editor, the list, jointly and separately in turn, and every fifth
// step the removal of an invoice.
void invoiceStep(Session& session, int i) {
    Database& db = session.db();
    const QStringList next = column(
        db, QStringLiteral("SELECT NODT FROM ODTS WHERE NFactura = 'No' ORDER BY Id_ODT LIMIT 2"));
    const QDate today = session.today();
    const bool paid = i % 3 == 0;
    if (next.isEmpty() || i % 5 == 4) {
        const QVariant id = db.scalar(QStringLiteral(
            "SELECT Id_ODT FROM ODTS WHERE NFactura <> 'No' ORDER BY random() LIMIT 1"));
        if (id.isValid()) invoicing::removeInvoice(db, id.toLongLong());
        return;
    }
    const auto first = invoicing::workOrderByNumber(db, next.first());
    const QString number = odtlist::proposedInvoiceNumber(session);
    switch (i % 5) {
        case 0:
            invoicing::invoiceFromEditor(session, {next.first(), today, first->nominal, paid, {}});
            break;
        case 1:
            invoicing::invoiceFromList(session, {first->id, number, today, paid});
            break;
        case 2:
            if (const auto p = invoicing::pendingOfCustomerOf(db, next.first()))
                invoicing::invoiceTogether(session, {p->workOrders, number, today, paid});
            break;
        default:
            invoicing::invoiceEach(session, {next, number, today, paid});
            break;
    }
}

collections::InvoiceKind kindOf(const QString& number) {
    return number.startsWith(QLatin1String("FV")) ? collections::InvoiceKind::PartsSale
                                                  : collections::InvoiceKind::WorkOrder;
}

std::vector<DocumentLine> randomLines(QRandomGenerator& random, const QString& text) {
    std::vector<DocumentLine> lines(1 + random.bounded(6));
    for (size_t i = 0; i < lines.size(); ++i) {
        lines[i].description = text + QString::number(i);
        lines[i].units = Quantity::whole(1 + random.bounded(5));
        lines[i].price = Money::fromCents(random.bounded(100000));
    }
    return lines;
}

void billingStep(Session& session, QRandomGenerator& random, int& stores) {
    Database& db = session.db();
    const QDate day(2024, 3, 1);
    switch (random.bounded(7)) {
        case 0: {
            const QString number =
                db.scalar(QStringLiteral("SELECT NFactura FROM (SELECT NFactura FROM FacturasODT "
                                         "UNION ALL SELECT Id_Fac FROM Facturas) ORDER BY "
                                         "random() LIMIT 1"))
                    .toString();
            collections::recordPayment(db, kindOf(number), number,
                                       {day, Money::fromCents(1 + random.bounded(5000))});
            break;
        }
        case 1: {
            const auto row = db.firstRow(
                QStringLiteral("SELECT Id, NFactura FROM Cobros ORDER BY random() LIMIT 1"));
            if (row)
                collections::removePayment(
                    db, kindOf(row->value(QStringLiteral("NFactura")).toString()),
                    row->value(QStringLiteral("Id")).toLongLong());
            break;
        }
        case 2:
            free_invoices::store(session,
                                 {free_invoices::nextNumber(session), day, 1, Quantity::whole(16),
                                  Quantity::whole(random.bounded(10))},
                                 randomLines(random, QStringLiteral("CONCEPTO ")));
            break;
        case 3: {
            const QVariant id = db.scalar(
                QStringLiteral("SELECT Id FROM FacturasLibres ORDER BY random() LIMIT 1"));
            if (id.isValid()) free_invoices::remove(db, id.toLongLong());
            break;
        }
        case 4: {
            const QString terms = receipts::termsNames()[random.bounded(8)];
            const auto rows = receipts::rows(session, terms, day, 5,
                                             Money::fromCents(1 + random.bounded(100000)));
            // The group names how many receipts it must hold.
            receipts::store(session, day, rows, {1, {}, {}, {}},
                            {QStringLiteral("G%1-%2").arg(random.generate()).arg(++stores),
                             QStringLiteral("N%1").arg(rows.size())});
            break;
        }
        case 5:
            commissions::store(
                db, {commissions::nextNumber(db, day), day, 1, Quantity::whole(random.bounded(20))},
                randomLines(random, QStringLiteral("COMISION ")));
            break;
        default: {
            const QVariant number = db.scalar(
                QStringLiteral("SELECT NFactura FROM Comisiones ORDER BY random() LIMIT 1"));
            if (number.isValid()) commissions::remove(db, number.toString());
            break;
        }
    }
}

QString pick(QRandomGenerator& r, const QStringList& from) {
    return from.isEmpty() ? QString() : from[int(r.bounded(from.size()))];
}

// A counter sale of one to three lines, some free, perhaps with an edited first line and a
// deleted last one; discarded, saved or invoiced.
void sell(Session& s, QRandomGenerator& r, const QStringList& customers,
          const QStringList& articles) {
    Database& db = s.db();
    const QString number = sales::startNewNote(s);
    QList<qint64> ids;
    const int lines = 1 + int(r.bounded(3));
    for (int i = 0; i < lines; ++i) {
        sales::SaleLine line;
        line.articleId = r.bounded(3) ? pick(r, articles).toLongLong() : 0;
        line.line.code = QStringLiteral("C%1").arg(line.articleId);
        line.line.description = QStringLiteral("LINEA");
        line.line.units = Quantity::whole(1 + r.bounded(4));
        line.line.price = Money::fromCents(100 + r.bounded(5000));
        line.line.discount = Quantity::whole(r.bounded(3) * 5);
        ids << sales::storeLine(db, number, line);
    }
    if (r.bounded(3) == 0) {
        sales::SaleLine again;
        again.articleId = pick(r, articles).toLongLong();
        again.line.id = ids.first();
        again.line.description = QStringLiteral("EDITADA");
        again.line.units = Quantity::whole(1 + r.bounded(5));
        again.line.price = Money::whole(7);
        sales::storeLine(db, number, again);
    }
    if (r.bounded(5) == 0) {
        sales::discardVisit(db, number, 0, true);
        return;
    }
    sales::NoteHeader h;
    h.number = number;
    h.date = s.today();
    h.customerId = pick(r, customers).toLongLong();
    const QList<qint64> deleted =
        ids.size() > 1 && r.bounded(2) ? QList<qint64>{ids.last()} : QList<qint64>{};
    if (r.bounded(3) == 0)
        sales::invoiceSale(s, h, deleted, r.bounded(2));
    else
        sales::saveNote(db, h, deleted);
}

// Notes are deleted only while they are not invoiced and have free lines alone (deleting a
// note leaves the stock as it is), so the checks can count units.
void salesStep(Session& s, QRandomGenerator& r, const QStringList& customers,
               const QStringList& articles) {
    Database& db = s.db();
    const QStringList pending = column(
        db, QStringLiteral("SELECT Id_Alb FROM Albaranes WHERE NFactura = 'No' ORDER BY Id"));
    switch (r.bounded(7)) {
        case 0:
        case 1:
            sell(s, r, customers, articles);
            break;
        case 2:
            if (!pending.isEmpty())
                sales::invoiceNote(db, pick(r, pending), sales::proposedInvoiceNumber(s), s.today(),
                                   r.bounded(2));
            break;
        case 3: {
            const QString cli =
                pick(r, column(db, QStringLiteral("SELECT Id_Cli FROM Albaranes WHERE "
                                                  "NFactura = 'No' GROUP BY Id_Cli HAVING "
                                                  "COUNT(*) > 1")));
            if (!cli.isEmpty())
                sales::invoiceTogether(db, sales::pendingNotesOf(db, cli.toLongLong()),
                                       cli.toLongLong(), sales::proposedInvoiceNumber(s), s.today(),
                                       r.bounded(2));
            break;
        }
        case 4:
            if (pending.size() > 1)
                sales::invoiceEach(s, pending.mid(0, 2), sales::proposedInvoiceNumber(s), s.today(),
                                   r.bounded(2), s.today());
            break;
        case 5: {
            const QString invoice =
                pick(r, column(db, QStringLiteral("SELECT Id_Fac FROM Facturas")));
            if (!invoice.isEmpty()) sales::deleteInvoice(db, invoice);
            break;
        }
        case 6: {
            const QString note = pick(
                r,
                column(db, QStringLiteral("SELECT Id_Alb FROM Albaranes WHERE NFactura = 'No' "
                                          "AND NOT EXISTS (SELECT 1 FROM Salidas WHERE "
                                          "Salidas.Id_Alb = Albaranes.Id_Alb AND Id_Art <> 0)")));
            if (!note.isEmpty()) sales::deleteNote(db, note);
            break;
        }
    }
}

int untilKilled(const std::function<void()>& step) {
    // Never outlives a test that died before killing it.
    QElapsedTimer alive;
    alive.start();
    while (alive.elapsed() < 30000) {
        try {
            step();
        } catch (const DbError&) {
            // Locked by the checking side: the next step tries again.
        } catch (const sales::Refused&) {
        }
    }
    return 0;
}

int withSession(const QStringList& a) {
    Session session(a[2]);
    QString reason;
    if (!session.openDatabase(a[3], &reason)) {
        std::fprintf(stderr, "open: %s\n", reason.toLocal8Bit().constData());
        return 2;
    }
    if (a[1] == QLatin1String("compact")) return compactDatabase(session) ? 1 : 0;
    if (a[1] == QLatin1String("invoice")) {
        for (int i = 0; i < a[4].toInt(); ++i) {
            try {
                invoiceStep(session, i);
            } catch (const DbError& e) {
                std::fprintf(stderr, "%s\n", e.message().toLocal8Bit().constData());
            }
        }
        return 0;
    }
    QRandomGenerator random(a[4].toUInt());
    if (a[1] == QLatin1String("billing")) {
        session.setToday(QDate(2024, 3, 1));
        int stores = 0;
        return untilKilled([&] { billingStep(session, random, stores); });
    }
    const QStringList customers =
        column(session.db(), QStringLiteral("SELECT Id_Cli FROM Clientes"));
    const QStringList articles =
        column(session.db(), QStringLiteral("SELECT Id_Art FROM Articulos"));
    return untilKilled([&] { salesStep(session, random, customers, articles); });
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    const QString c = a.value(1);
    const auto n = a.size();
    if (n == 5 && c == "insert") return logEach(a[2], a[3].toInt(), a[4], insertFamily);
    if (n == 6 && c == "hold") return hold(a[2], a[3].toInt(), a[4], a[5]);
    if (n == 6 && c == "customers")
        return logEach(a[2], a[3].toInt(), a[5],
                       [&](Database& db, int i) { return saveCustomer(db, a[4], i); });
    if (n == 6 && c == "workorder") return saveWorkOrder(a[2], a[3], a[4].toInt(), a[5]);
    if (n == 4 && c == "purchases") return savePurchases(a[2], a[3].toInt());
    if ((n == 4 && c == "compact") ||
        (n == 5 && QStringList{"invoice", "billing", "sales"}.contains(c)))
        return withSession(a);
    std::fprintf(stderr,
                 "uso: torvane-testhelper ORDEN ARGUMENTOS (vea el principio del fuente)\n");
    return 2;
}
