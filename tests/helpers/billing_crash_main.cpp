// A program that pays, removes payments, invoices and deletes free invoices on a
// database without end, for the crash tests: they kill it at random moments.
//   run HOME DB SEED
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <cstdio>

#include "billing/collections.h"
#include "billing/free_invoices.h"
#include "core/session.h"

using namespace torvane;

namespace {

collections::InvoiceKind kindOf(const QString& number) {
    return number.startsWith(QLatin1String("FV")) ? collections::InvoiceKind::PartsSale
                                                  : collections::InvoiceKind::WorkOrder;
}

void step(Session& session, QRandomGenerator& random) {
    Database& db = session.db();
    switch (random.bounded(4)) {
        case 0: {
            const QVariant number = db.scalar(
                QStringLiteral("SELECT NFactura FROM (SELECT NFactura FROM FacturasODT UNION ALL "
                               "SELECT Id_Fac FROM Facturas) ORDER BY random() LIMIT 1"));
            const Money amount = Money::fromCents(1 + random.bounded(5000));
            collections::recordPayment(db, kindOf(number.toString()), number.toString(),
                                       {QDate(2024, 3, 1), amount});
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
        case 2: {
            std::vector<DocumentLine> lines;
            const int n = 1 + random.bounded(6);
            for (int i = 0; i < n; ++i) {
                DocumentLine line;
                line.description = QStringLiteral("CONCEPTO %1").arg(i);
                line.units = Quantity::whole(1 + random.bounded(5));
                line.price = Money::fromCents(random.bounded(100000));
                lines.push_back(line);
            }
            free_invoices::store(session,
                                 {free_invoices::nextNumber(session), QDate(2024, 3, 1), 1,
                                  Quantity::whole(16), Quantity::whole(random.bounded(10))},
                                 lines);
            break;
        }
        default: {
            const QVariant id = db.scalar(
                QStringLiteral("SELECT Id FROM FacturasLibres ORDER BY random() LIMIT 1"));
            if (id.isValid()) free_invoices::remove(db, id.toLongLong());
            break;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() != 5 || a[1] != QLatin1String("run")) {
        std::fprintf(stderr, "uso: torvane-billing-crash run HOME DB SEED\n");
        return 2;
    }
    Session session(a[2]);
    QString reason;
    if (!session.openDatabase(a[3], &reason)) {
        std::fprintf(stderr, "open: %s\n", reason.toLocal8Bit().constData());
        return 2;
    }
    QRandomGenerator random(a[4].toUInt());
    // Never outlives a test that died before killing it.
    QElapsedTimer alive;
    alive.start();
    while (alive.elapsed() < 30000) {
        try {
            step(session, random);
        } catch (const DbError&) {
            // Locked by the checking side: the next step tries again.
        }
    }
    return 0;
}
