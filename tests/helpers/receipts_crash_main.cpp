// A program that stores receipts and saves and deletes commission invoices on a database
// without end, for the crash tests: they kill it at random moments.
//   run HOME DB SEED
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <cstdio>

#include "billing/commissions.h"
#include "billing/receipts.h"
#include "core/session.h"

using namespace torvane;

namespace {

void step(Session& session, QRandomGenerator& random, int& stores) {
    Database& db = session.db();
    switch (random.bounded(3)) {
        case 0: {
            const QString terms = receipts::termsNames()[random.bounded(8)];
            const auto rows = receipts::rows(session, terms, QDate(2024, 3, 1), 5,
                                             Money::fromCents(1 + random.bounded(100000)));
            // The group names how many receipts it must hold.
            receipts::store(session, QDate(2024, 3, 1), rows, {1, {}, {}, {}},
                            {QStringLiteral("G%1-%2").arg(random.generate()).arg(++stores),
                             QStringLiteral("N%1").arg(rows.size())});
            break;
        }
        case 1: {
            std::vector<DocumentLine> lines;
            const int n = 1 + random.bounded(6);
            for (int i = 0; i < n; ++i) {
                DocumentLine line;
                line.description = QStringLiteral("COMISION %1").arg(i);
                line.units = Quantity::whole(1 + random.bounded(5));
                line.price = Money::fromCents(random.bounded(100000));
                lines.push_back(line);
            }
            commissions::store(db,
                               {commissions::nextNumber(db, QDate(2024, 3, 1)), QDate(2024, 3, 1),
                                1, Quantity::whole(random.bounded(20))},
                               lines);
            break;
        }
        default: {
            const QVariant number = db.scalar(
                QStringLiteral("SELECT NFactura FROM Comisiones ORDER BY random() LIMIT 1"));
            if (number.isValid()) commissions::remove(db, number.toString());
            break;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() != 5 || a[1] != QLatin1String("run")) {
        std::fprintf(stderr, "uso: torvane-receipts-crash run HOME DB SEED\n");
        return 2;
    }
    Session session(a[2]);
    QString reason;
    if (!session.openDatabase(a[3], &reason)) {
        std::fprintf(stderr, "open: %s\n", reason.toLocal8Bit().constData());
        return 2;
    }
    session.setToday(QDate(2024, 3, 1));
    QRandomGenerator random(a[4].toUInt());
    int stores = 0;
    // Never outlives a test that died before killing it.
    QElapsedTimer alive;
    alive.start();
    while (alive.elapsed() < 30000) {
        try {
            step(session, random, stores);
        } catch (const DbError&) {
            // Locked by the checking side: the next step tries again.
        }
    }
    return 0;
}
