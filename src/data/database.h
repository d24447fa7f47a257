#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>
#include <stdexcept>
#include <vector>

struct sqlite3;

namespace torvane {

// A database statement that failed. The message is the database's own text,
// prefixed with what was being done, ready to show to the user.
class DbError : public std::runtime_error {
  public:
    explicit DbError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

  private:
    QString message_;
};

using Row = QVariantMap;

// The one way into a ".erm" file. Every statement takes bound parameters;
// user text never goes into the SQL string.
class Database {
  public:
    // Bumped when a migration is added; new files are created at this version.
    static constexpr int kSchemaVersion = 8;
    // PRAGMA application_id of our files ("TRVN"). Files of earlier builds carry 0 and are
    // recognised by their tables; any other value is another program's file.
    static constexpr int kApplicationId = 0x5452564E;
    // Files up to this size get PRAGMA quick_check when opened (it reads every page at about
    // 320 MB/s: some 0.15 s, inside the start-up budget). Larger files are not checked there.
    static constexpr qint64 kQuickCheckLimit = 48LL * 1024 * 1024;

    // How long a statement waits for another program's lock, and how many times a statement
    // outside a transaction that still found it locked is run.
    static constexpr int kBusyTimeoutMs = 5000;
    static constexpr int kBusyAttempts = 3;

    enum class Mode {
        ReadWrite,
        // Nothing is written to the file: no pragma, no migration, journal mode kept.
        ReadOnly,
        // Read-only without the page check: a copy takes the file as it is.
        Copy,
    };

    Database();
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens an existing file. On failure returns false and puts a short Spanish
    // reason (without the path) in *reason; nothing is written to the file. The file
    // is known to be ours (header, application id, tables) and passes a bounded
    // check before anything may change it.
    bool open(const QString& path, QString* reason = nullptr, Mode mode = Mode::ReadWrite);
    void close();
    bool isOpen() const;
    QString path() const { return path_; }

    // Marks the file as open in this program (a shared lock on a byte SQLite never uses,
    // released by the system when the process ends). Returns true when another running
    // Torvane already had it marked.
    bool announce();
    // Milliseconds a statement waits for another program's lock before giving up.
    void setBusyTimeout(int ms);
    // The engine handle, for the backup API.
    sqlite3* rawHandle();

    // Creates a new database file from the built-in schema (overwriting nothing:
    // the target must not exist). Returns false with a reason on failure.
    static bool createFromSchema(const QString& path, QString* reason = nullptr);
    static QString schemaSql();

    // Runs a statement; throws DbError on failure. The returned query is
    // positioned before its first row and can scroll.
    QSqlQuery exec(const QString& sql, const QVariantList& params = {});
    // A forward-only query for large reads that are walked once.
    QSqlQuery execForward(const QString& sql, const QVariantList& params = {});
    // First column of the first row, or an invalid QVariant when there is no row.
    QVariant scalar(const QString& sql, const QVariantList& params = {});
    // All rows as column-name maps (use for small results).
    std::vector<Row> rows(const QString& sql, const QVariantList& params = {});
    std::optional<Row> firstRow(const QString& sql, const QVariantList& params = {});
    // Runs an INSERT and returns the new key.
    qint64 insert(const QString& sql, const QVariantList& params = {});

    // All of it or none of it. Rolls back on destruction unless committed.
    class Transaction {
      public:
        explicit Transaction(Database& db);
        ~Transaction();
        Transaction(const Transaction&) = delete;
        Transaction& operator=(const Transaction&) = delete;
        void commit();

      private:
        Database& db_;
        bool done_ = false;
    };

    // Column names of a table in stored order; empty when the table is missing.
    QStringList columnNames(const QString& table);
    bool hasTable(const QString& table);
    QStringList viewNames();
    // Throws DbError with the engine's text when the view cannot be created.
    void createView(const QString& name, const QString& sql);

    // Writes a compacted copy of the database to target (which must not exist).
    void compactInto(const QString& target);

    int userVersion();
    // Brings a database made by an earlier build up to kSchemaVersion.
    void applyMigrations();

    // For item models that fetch lazily; screens get queries, not the handle.
    QSqlDatabase& handle() { return db_; }

  private:
    QSqlQuery run(const QString& sql, const QVariantList& params, bool forwardOnly);

    QString translate(const QString& engineText) const;
    // SQL functions of our own that the schema's triggers call.
    void registerFunctions();

    QSqlDatabase db_;
    QString connectionName_;
    QString path_;
    int presenceFd_ = -1;
    int busyTimeoutMs_ = kBusyTimeoutMs;
};

}  // namespace torvane
