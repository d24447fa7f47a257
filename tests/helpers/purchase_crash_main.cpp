// A second program that saves purchases until it is killed, for the purchase crash test:
//   purchases DB COUNT    saves COUNT purchases of 20 lines each (entry numbers P0, P1, ...;
//                         the first ten lines of each go to work order ODT/CRASH)
#include <QCoreApplication>
#include <QDate>
#include <cstdio>

#include "data/database.h"
#include "purchasing/purchases.h"

using torvane::Database;
using torvane::DbError;
namespace purchases = torvane::purchases;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4 || args[1] != QLatin1String("purchases")) {
        std::fprintf(stderr, "usage: purchases DB COUNT\n");
        return 1;
    }
    Database db;
    QString reason;
    if (!db.open(args[2], &reason)) {
        std::fprintf(stderr, "open: %s\n", reason.toLocal8Bit().constData());
        return 2;
    }
    const auto articles =
        db.rows(QStringLiteral("SELECT Id_Art, Codigo FROM Articulos ORDER BY Id_Art"));
    const QVariant supplier = db.scalar(QStringLiteral("SELECT min(Id_Pro) FROM Proveedores"));
    const int count = args[3].toInt();
    for (int n = 0; n < count; ++n) {
        std::vector<torvane::DocumentLine> lines;
        for (int i = 0; i < 20; ++i) {
            const auto& a = articles[size_t(i) % articles.size()];
            torvane::DocumentLine l;
            l.articleId = a.value(QStringLiteral("Id_Art"));
            l.code = a.value(QStringLiteral("Codigo")).toString();
            l.description = QStringLiteral("LINEA %1").arg(i);
            l.units = torvane::Quantity::whole(1 + i % 3);
            l.price = torvane::Money::fromCents(1000 + n);
            l.workOrder = i < 10 ? QStringLiteral("ODT/CRASH") : QString();
            lines.push_back(l);
        }
        try {
            purchases::savePurchase(
                db,
                {QStringLiteral("P%1").arg(n), QStringLiteral("ALB"), QDate(2008, 3, 5), supplier},
                lines);
        } catch (const DbError& e) {
            std::fprintf(stderr, "save: %s\n", e.message().toLocal8Bit().constData());
            return 3;
        }
    }
    return 0;
}
