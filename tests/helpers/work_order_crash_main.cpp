// A second program that saves one work order over and over, to be killed at random
// points by the crash test:
//   save DB NUMBER FROM LOG   from round FROM on: adds two material lines that take
//                             stock, then saves the work order with the kilometres of
//                             the round and one of the two lines marked deleted.
// Before each save it logs "round deleted-id kept-id", flushed.
#include <QCoreApplication>
#include <QFile>
#include <cstdio>

#include "data/database.h"
#include "workorders/work_order.h"

using namespace torvane;
using namespace torvane::workorders;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 6 || args[1] != QLatin1String("save")) {
        std::fprintf(stderr, "usage: save DB NUMBER FROM LOG\n");
        return 2;
    }
    Database db;
    QString reason;
    if (!db.open(args[2], &reason)) {
        std::fprintf(stderr, "open: %s\n", qPrintable(reason));
        return 2;
    }
    const QString number = args[3];
    QFile log(args[5]);
    log.open(QIODevice::Append | QIODevice::Unbuffered);
    auto header = headerByNumber(db, number);
    if (!header) return 3;
    for (int round = args[4].toInt();; ++round) {
        MaterialLine line{{},
                          QStringLiteral("FIL"),
                          QStringLiteral("FILTRO"),
                          Quantity::whole(1 + round % 3),
                          Money::whole(10),
                          Quantity()};
        const qint64 gone = storeMaterial(db, number, line);
        const qint64 kept = storeMaterial(db, number, line);
        log.write(QStringLiteral("%1 %2 %3\n").arg(round).arg(gone).arg(kept).toUtf8());
        header->kilometres = QString::number(round);
        Deletions d;
        d.materials = {gone};
        if (save(db, *header, d).check != SaveCheck::Ok) return 4;
    }
}
