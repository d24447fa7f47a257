// Build step: writes the empty template database "Nueva" from the schema.
#include <QCoreApplication>
#include <cstdio>

#include "data/database.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: torvane-mktemplate OUTPUT\n");
        return 2;
    }
    QString reason;
    if (!torvane::Database::createFromSchema(QString::fromLocal8Bit(argv[1]), &reason)) {
        std::fprintf(stderr, "%s\n", qPrintable(reason));
        return 1;
    }
    return 0;
}
