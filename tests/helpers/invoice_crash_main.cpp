// A program that invoices work orders without pause, to be killed at random points:
//   invoice HOME DB STEPS   runs STEPS invoicing steps (editor, list, joint, separate
//                           invoices and removals, in turn) on the work orders of DB
#include <QCoreApplication>
#include <cstdio>

#include "core/session.h"
#include "data/database.h"
#include "workorders/work_order_invoicing.h"
#include "workorders/work_order_list.h"

namespace inv = torvane::invoicing;

namespace {

QStringList pending(torvane::Database& db, int limit) {
    QStringList out;
    for (const auto& r : db.rows(QStringLiteral("SELECT NODT FROM ODTS WHERE NFactura = 'No' "
                                                "ORDER BY Id_ODT LIMIT ?"),
                                 {limit}))
        out << r.value(QStringLiteral("NODT")).toString();
    return out;
}

void step(torvane::Session& session, int i) {
    torvane::Database& db = session.db();
    const QStringList next = pending(db, 2);
    const QDate today = session.today();
    const bool paid = i % 3 == 0;
    if (next.isEmpty() || i % 5 == 4) {
        // Free the invoice of some invoiced work order.
        const QVariant id = db.scalar(QStringLiteral(
            "SELECT Id_ODT FROM ODTS WHERE NFactura <> 'No' ORDER BY random() LIMIT 1"));
        if (id.isValid()) inv::removeInvoice(db, id.toLongLong());
        return;
    }
    const auto first = inv::workOrderByNumber(db, next.first());
    const QString number = torvane::odtlist::proposedInvoiceNumber(session);
    switch (i % 5) {
        case 0:
            inv::invoiceFromEditor(session, {next.first(), today, first->nominal, paid, {}});
            break;
        case 1:
            inv::invoiceFromList(session, {first->id, number, today, paid});
            break;
        case 2:
            if (const auto p = inv::pendingOfCustomerOf(db, next.first()))
                inv::invoiceTogether(session, {p->workOrders, number, today, paid});
            break;
        default:
            inv::invoiceEach(session, {next, number, today, paid});
            break;
    }
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5 || args[1] != QLatin1String("invoice")) {
        std::fprintf(stderr, "uso: torvane-invoice-crash invoice HOME DB STEPS\n");
        return 2;
    }
    torvane::Session session(args[2]);
    QString reason;
    if (!session.openDatabase(args[3], &reason)) {
        std::fprintf(stderr, "open: %s\n", reason.toLocal8Bit().constData());
        return 2;
    }
    const int steps = args[4].toInt();
    for (int i = 0; i < steps; ++i) {
        try {
            step(session, i);
        } catch (const torvane::DbError& e) {
            std::fprintf(stderr, "%s\n", e.message().toLocal8Bit().constData());
        }
    }
    return 0;
}
