// Importing a whole large workshop (150,000 work orders) through the table-reader interface:
// every table of the bench database read row by row as typed values, as the Jet reader gives
// them, and written into a new file with its consistency check. Peak memory is the process's.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

#include "bench_support.h"
#include "data/database.h"
#include "import/importer.h"

namespace {

using torvane::Database;
namespace ti = torvane::import;

// A workshop database read as an older file would be: dates as dates, keys as integers.
class DatabaseTables : public ti::TableReader {
  public:
    explicit DatabaseTables(Database& db) : db_(db) {}
    QStringList tables() override {
        QStringList names;
        QSqlQuery q = db_.exec(QStringLiteral(
            "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' "
            "ORDER BY rowid"));
        while (q.next())
            if (!ti::notInOlderFiles(q.value(0).toString())) names << q.value(0).toString();
        return names;
    }
    QStringList columns(const QString& table) override { return db_.columnNames(table); }
    void readRows(const QString& table,
                  const std::function<void(const std::vector<ti::Value>&)>& row) override {
        QSqlQuery q = db_.execForward(QStringLiteral("SELECT * FROM \"%1\"").arg(table));
        const int n = q.record().count();
        std::vector<ti::Value> values(static_cast<std::size_t>(n));
        while (q.next()) {
            for (int i = 0; i < n; ++i) {
                const QVariant v = q.value(i);
                auto& out = values[static_cast<std::size_t>(i)];
                if (v.isNull())
                    out = std::monostate();
                else if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int)
                    out = v.toLongLong();
                else if (v.typeId() == QMetaType::Double)
                    out = v.toDouble();
                else if (const QString s = v.toString();
                         s.size() == 10 && s[4] == '-' && s[7] == '-')
                    out = QDateTime(QDate::fromString(s, Qt::ISODate), QTime(0, 0));
                else
                    out = s;
            }
            row(values);
        }
    }

  private:
    Database& db_;
};

void import_LargeWorkshop(benchmark::State& state) {
    Database* db = torvane::bench::benchDatabase();
    if (!db) {
        state.SkipWithError("TORVANE_BENCH_DB not set");
        return;
    }
    qint64 rows = 0;
    qsizetype problems = 0;
    for (auto _ : state) {
        QTemporaryDir dir;
        DatabaseTables reader(*db);
        const ti::ImportReport report = ti::importTables(
            reader, torvane::bench::benchDatabasePath(), dir.filePath("importada.erm"));
        rows = report.totalRows();
        problems = report.problems.size();
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["problems"] = static_cast<double>(problems);
    state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(import_LargeWorkshop)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
