// A second program that sells, invoices and deletes on one database file without
// end, so that a test can kill it at any point:
//   torvane-sales-crash HOME DB SEED
// Notes are deleted only while they are not invoiced and have free lines alone
// (deleting a note leaves the stock as it is), so the checks can count units.
#include <QCoreApplication>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <cstdio>

#include "core/session.h"
#include "sales/counter_sale.h"
#include "sales/sales_list.h"

using namespace torvane;

namespace {

QStringList column(Database& db, const QString& sql) {
    QStringList out;
    QSqlQuery q = db.exec(sql);
    while (q.next()) out << q.value(0).toString();
    return out;
}

QString pick(QRandomGenerator& r, const QStringList& from) {
    return from.isEmpty() ? QString() : from[int(r.bounded(from.size()))];
}

void sell(Session& s, QRandomGenerator& r, const QList<qint64>& customers,
          const QList<qint64>& articles) {
    Database& db = s.db();
    const QString number = sales::startNewNote(s);
    QList<qint64> ids;
    const int lines = 1 + int(r.bounded(3));
    for (int i = 0; i < lines; ++i) {
        sales::SaleLine line;
        line.articleId = r.bounded(3) ? articles[int(r.bounded(articles.size()))] : 0;
        line.line.code = QStringLiteral("C%1").arg(line.articleId);
        line.line.description = QStringLiteral("LINEA");
        line.line.units = Quantity::whole(1 + r.bounded(4));
        line.line.price = Money::fromCents(100 + r.bounded(5000));
        line.line.discount = Quantity::whole(r.bounded(3) * 5);
        ids << sales::storeLine(db, number, line);
    }
    if (r.bounded(3) == 0) {  // an edit of the first line
        sales::SaleLine again;
        again.articleId = articles[int(r.bounded(articles.size()))];
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
    h.customerId = customers[int(r.bounded(customers.size()))];
    const QList<qint64> deleted =
        ids.size() > 1 && r.bounded(2) ? QList<qint64>{ids.last()} : QList<qint64>{};
    if (r.bounded(3) == 0)
        sales::invoiceSale(s, h, deleted, r.bounded(2));
    else
        sales::saveNote(db, h, deleted);
}

void step(Session& s, QRandomGenerator& r, const QList<qint64>& customers,
          const QList<qint64>& articles) {
    Database& db = s.db();
    const QStringList pending = column(db, QStringLiteral("SELECT Id_Alb FROM Albaranes WHERE "
                                                          "NFactura = 'No' ORDER BY Id"));
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

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() != 4) {
        std::fprintf(stderr, "uso: torvane-sales-crash HOME DB SEMILLA\n");
        return 2;
    }
    Session session(a[1]);
    QString reason;
    if (!session.openDatabase(a[2], &reason)) {
        std::fprintf(stderr, "open: %s\n", reason.toLocal8Bit().constData());
        return 2;
    }
    Database& db = session.db();
    QList<qint64> customers, articles;
    for (const QString& id : column(db, QStringLiteral("SELECT Id_Cli FROM Clientes")))
        customers << id.toLongLong();
    for (const QString& id : column(db, QStringLiteral("SELECT Id_Art FROM Articulos")))
        articles << id.toLongLong();
    QRandomGenerator random(a[3].toUInt());
    for (;;) {
        try {
            step(session, random, customers, articles);
        } catch (const sales::Refused&) {
        } catch (const DbError&) {
        }
    }
}
