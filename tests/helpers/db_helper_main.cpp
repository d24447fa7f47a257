// A second program on the same database file, for the concurrency tests:
//   insert DB COUNT LOG        inserts families one by one, logging each one once committed
//   hold DB MS READY LOG       inserts 300 families in one transaction held open for MS ms
//   compact HOME DB            compacts DB with the program folder HOME
//   customers DB COUNT TAG LOG saves COUNT customers, logging each id once committed
#include <QCoreApplication>
#include <QFile>
#include <QThread>
#include <cstdio>

#include "core/maintenance.h"
#include "core/session.h"
#include "data/database.h"
#include "masters/customers.h"

using torvane::Database;
using torvane::DbError;

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

int insert(const QString& path, int count, const QString& logPath) {
    Database db;
    if (!openDb(db, path)) return 2;
    Log log(logPath);
    for (int i = 0; i < count;) {
        try {
            db.exec(QStringLiteral("INSERT INTO Familias (Familia) VALUES (?)"),
                    {QStringLiteral("W%1").arg(i)});
            log.line(QString::number(i));
            ++i;
        } catch (const DbError&) {
            // Locked past the timeout (a compaction): try the same row again.
        }
        QThread::msleep(2);
    }
    return 0;
}

int hold(const QString& path, int ms, const QString& ready, const QString& logPath) {
    Database db;
    if (!openDb(db, path)) return 2;
    Log log(logPath);
    try {
        Database::Transaction t(db);
        for (int i = 0; i < 300; ++i)
            db.exec(QStringLiteral("INSERT INTO Familias (Familia) VALUES (?)"),
                    {QStringLiteral("H%1").arg(i)});
        QFile(ready).open(QIODevice::WriteOnly);
        QThread::msleep(static_cast<unsigned long>(ms));
        t.commit();
        log.line(QStringLiteral("committed"));
    } catch (const DbError& e) {
        log.line(QStringLiteral("failed: ") + e.message());
    }
    return 0;
}

int compact(const QString& home, const QString& path) {
    torvane::Session session(home);
    QString reason;
    if (!session.openDatabase(path, &reason)) return 2;
    return torvane::compactDatabase(session) ? 1 : 0;
}

int saveCustomers(const QString& path, int count, const QString& tag, const QString& logPath) {
    Database db;
    if (!openDb(db, path)) return 2;
    Log log(logPath);
    for (int i = 0; i < count;) {
        try {
            torvane::Row values;
            values.insert(QStringLiteral("Codigo"), torvane::customers::proposeCustomerCode(db));
            values.insert(QStringLiteral("Nombre"), QStringLiteral("%1-%2").arg(tag).arg(i));
            values.insert(QStringLiteral("NIF"), QStringLiteral("B12345678"));
            const qint64 id = torvane::customers::saveCustomer(db, QVariant(), values);
            log.line(QString::number(id));
            ++i;
        } catch (const DbError&) {
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() == 5 && a[1] == QLatin1String("insert")) return insert(a[2], a[3].toInt(), a[4]);
    if (a.size() == 6 && a[1] == QLatin1String("hold")) return hold(a[2], a[3].toInt(), a[4], a[5]);
    if (a.size() == 4 && a[1] == QLatin1String("compact")) return compact(a[2], a[3]);
    if (a.size() == 6 && a[1] == QLatin1String("customers"))
        return saveCustomers(a[2], a[3].toInt(), a[4], a[5]);
    std::fprintf(stderr, "uso: torvane-dbhelper insert|hold|compact|customers ...\n");
    return 2;
}
