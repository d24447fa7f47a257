#include "data/database.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlRecord>
#include <atomic>

#include "schema_sql.h"

namespace torvane {

namespace {

QString nextConnectionName() {
    static std::atomic<int> counter{0};
    return QStringLiteral("torvane-%1").arg(counter++);
}

// The first bytes of the file say what it is, before SQLite gets to touch it.
enum class FileKind { Missing, Empty, Sqlite, Jet, Other, Unreadable };

FileKind sniff(const QString& path, QByteArray* header) {
    QFileInfo info(path);
    if (!info.exists() || !info.isFile()) return FileKind::Missing;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return FileKind::Unreadable;
    *header = f.read(100);
    if (header->isEmpty()) return FileKind::Empty;
    if (header->startsWith(QByteArray("SQLite format 3\0", 16))) return FileKind::Sqlite;
    // Access/Jet files carry their signature at offset 4.
    if (header->mid(4, 15) == "Standard Jet DB" || header->mid(4, 15) == "Standard ACE DB")
        return FileKind::Jet;
    return FileKind::Other;
}

quint32 bigEndian(const QByteArray& b, int at, int len) {
    quint32 v = 0;
    for (int i = 0; i < len; ++i) v = (v << 8) | static_cast<unsigned char>(b.at(at + i));
    return v;
}

// A file cut short (a failed copy, a full disk) still opens; its header says how big it should be.
bool looksTruncated(const QString& path, const QByteArray& header) {
    if (header.size() < 100) return true;
    quint32 pageSize = bigEndian(header, 16, 2);
    if (pageSize == 1) pageSize = 65536;
    const quint32 pages = bigEndian(header, 28, 4);
    const quint32 changeCounter = bigEndian(header, 24, 4);
    const quint32 validFor = bigEndian(header, 92, 4);
    if (pages == 0 || changeCounter != validFor) return false;  // header size not trustworthy
    return static_cast<qint64>(pages) * pageSize > QFileInfo(path).size();
}

bool hasNoWriteBits(const QString& path) {
    const auto p = QFileInfo(path).permissions();
    // The owner/group/other bits, not the current user's access: an administrator can write
    // anything, but a file marked read-only is meant to stay untouched.
    return !(p & (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther));
}

QString describe(const QString& sql, const QSqlError& e) {
    QString text = e.databaseText().isEmpty() ? e.text() : e.databaseText();
    Q_UNUSED(sql);
    return text;
}

}  // namespace

Database::Database() : connectionName_(nextConnectionName()) {}

Database::~Database() {
    close();
}

bool Database::isOpen() const {
    return db_.isValid() && db_.isOpen();
}

void Database::close() {
    if (db_.isValid()) {
        db_.close();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName_);
    }
    path_.clear();
}

bool Database::open(const QString& path, QString* reason) {
    auto fail = [&](const QString& why) {
        if (reason) *reason = why;
        return false;
    };
    QByteArray header;
    switch (sniff(path, &header)) {
        case FileKind::Missing:
            return fail(QStringLiteral("el archivo no existe."));
        case FileKind::Unreadable:
            return fail(QStringLiteral("no se puede leer el archivo."));
        case FileKind::Jet:
            return fail(QStringLiteral(
                "el archivo es una base de datos de la versión anterior del programa y debe "
                "importarse antes de usarla."));
        case FileKind::Empty:
        case FileKind::Other:
            return fail(QStringLiteral("el archivo no es una base de datos de Torvane."));
        case FileKind::Sqlite:
            break;
    }
    if (looksTruncated(path, header)) return fail(QStringLiteral("el archivo está dañado."));
    if (hasNoWriteBits(path)) return fail(QStringLiteral("el archivo es de solo lectura."));

    close();
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
    db_.setDatabaseName(path);
    if (!db_.open()) {
        const QString why = db_.lastError().text();
        close();
        return fail(why);
    }
    path_ = path;
    try {
        // One file the user can copy, written safely; links are by value, not enforced.
        execForward(QStringLiteral("PRAGMA journal_mode=DELETE"));
        execForward(QStringLiteral("PRAGMA synchronous=FULL"));
        execForward(QStringLiteral("PRAGMA foreign_keys=OFF"));
        execForward(QStringLiteral("PRAGMA busy_timeout=5000"));
        execForward(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    } catch (const DbError& e) {
        close();
        const QString msg = e.message();
        if (msg.contains(QLatin1String("malformed")) ||
            msg.contains(QLatin1String("not a database")))
            return fail(QStringLiteral("el archivo está dañado."));
        return fail(msg);
    }
    return true;
}

QString Database::schemaSql() {
    return QString::fromUtf8(kSchemaSql);
}

namespace {
// The schema's statements without comments. They are separated by ";" at line ends; the
// schema has no ";" inside text and trigger bodies keep theirs mid-line.
QStringList schemaStatements() {
    QStringList out;
    for (QString s : Database::schemaSql().split(QStringLiteral(";\n"))) {
        QStringList lines;
        for (const QString& l : s.split('\n'))
            if (!l.trimmed().startsWith(QLatin1String("--"))) lines << l;
        s = lines.join('\n').trimmed();
        if (s.endsWith(';')) s.chop(1);
        if (!s.isEmpty()) out << s;
    }
    return out;
}
}  // namespace

bool Database::createFromSchema(const QString& path, QString* reason) {
    if (QFileInfo::exists(path)) {
        if (reason) *reason = QStringLiteral("el archivo ya existe.");
        return false;
    }
    const QString name = nextConnectionName();
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open()) {
            if (reason) *reason = db.lastError().text();
            ok = false;
        } else {
            QSqlQuery q(db);
            q.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
            db.transaction();
            // Statements are separated by ";" at line ends; the schema has no ";" inside text.
            for (const QString& s : schemaStatements()) {
                if (!q.exec(s)) {
                    if (reason) *reason = q.lastError().text();
                    ok = false;
                    break;
                }
            }
            if (ok) {
                q.exec(QStringLiteral("PRAGMA user_version=%1").arg(kSchemaVersion));
                ok = db.commit();
            } else {
                db.rollback();
            }
            q.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    if (!ok) QFile::remove(path);
    return ok;
}

QSqlQuery Database::run(const QString& sql, const QVariantList& params, bool forwardOnly) {
    if (!isOpen()) throw DbError(QStringLiteral("No hay ninguna base de datos abierta."));
    QSqlQuery q(db_);
    q.setForwardOnly(forwardOnly);
    if (!q.prepare(sql)) throw DbError(describe(sql, q.lastError()));
    for (const QVariant& p : params) q.addBindValue(p);
    if (!q.exec()) throw DbError(describe(sql, q.lastError()));
    return q;
}

QSqlQuery Database::exec(const QString& sql, const QVariantList& params) {
    return run(sql, params, false);
}

QSqlQuery Database::execForward(const QString& sql, const QVariantList& params) {
    return run(sql, params, true);
}

QVariant Database::scalar(const QString& sql, const QVariantList& params) {
    QSqlQuery q = run(sql, params, true);
    return q.next() ? q.value(0) : QVariant();
}

std::vector<Row> Database::rows(const QString& sql, const QVariantList& params) {
    QSqlQuery q = run(sql, params, true);
    std::vector<Row> out;
    while (q.next()) {
        const QSqlRecord rec = q.record();
        Row r;
        for (int i = 0; i < rec.count(); ++i) r.insert(rec.fieldName(i), rec.value(i));
        out.push_back(std::move(r));
    }
    return out;
}

std::optional<Row> Database::firstRow(const QString& sql, const QVariantList& params) {
    QSqlQuery q = run(sql, params, true);
    if (!q.next()) return std::nullopt;
    const QSqlRecord rec = q.record();
    Row r;
    for (int i = 0; i < rec.count(); ++i) r.insert(rec.fieldName(i), rec.value(i));
    return r;
}

qint64 Database::insert(const QString& sql, const QVariantList& params) {
    QSqlQuery q = run(sql, params, true);
    return q.lastInsertId().toLongLong();
}

Database::Transaction::Transaction(Database& db) : db_(db) {
    if (!db_.db_.transaction())
        throw DbError(QStringLiteral("No se puede iniciar la transacción: ") +
                      db_.db_.lastError().text());
}

Database::Transaction::~Transaction() {
    if (!done_) db_.db_.rollback();
}

void Database::Transaction::commit() {
    if (!db_.db_.commit()) {
        const QString why = db_.db_.lastError().text();
        db_.db_.rollback();
        done_ = true;
        throw DbError(QStringLiteral("No se han podido guardar los cambios: ") + why);
    }
    done_ = true;
}

QStringList Database::columnNames(const QString& table) {
    QStringList out;
    QSqlQuery q =
        run(QStringLiteral("SELECT name FROM pragma_table_info(?) ORDER BY cid"), {table}, true);
    while (q.next()) out << q.value(0).toString();
    return out;
}

bool Database::hasTable(const QString& table) {
    return scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type='table' AND "
                                 "name=? COLLATE NOCASE"),
                  {table})
               .toInt() > 0;
}

QStringList Database::viewNames() {
    QStringList out;
    QSqlQuery q = run(
        QStringLiteral("SELECT name FROM sqlite_master WHERE type='view' ORDER BY name"), {}, true);
    while (q.next()) out << q.value(0).toString();
    return out;
}

void Database::createView(const QString& name, const QString& sql) {
    // A view name cannot be bound; quote it as an identifier.
    QString quoted = name;
    quoted.replace('"', QLatin1String("\"\""));
    run(QStringLiteral("CREATE VIEW \"%1\" AS %2").arg(quoted, sql), {}, true);
}

void Database::compactInto(const QString& target) {
    run(QStringLiteral("VACUUM INTO ?"), {target}, true);
}

int Database::userVersion() {
    return scalar(QStringLiteral("PRAGMA user_version")).toInt();
}

void Database::applyMigrations() {
    const int version = userVersion();
    if (version >= kSchemaVersion) return;
    Transaction t(*this);
    // 1: the customer's accounting code is stored.
    if (version < 1 && hasTable(QStringLiteral("Clientes")) &&
        !columnNames(QStringLiteral("Clientes"))
             .contains(QStringLiteral("CodigoContable"), Qt::CaseInsensitive)) {
        execForward(
            QStringLiteral("ALTER TABLE Clientes ADD COLUMN CodigoContable TEXT COLLATE NOCASE"));
    }
    // 2: the summary of work-order counters and the triggers that keep it, taken from the
    // schema itself so old and new files hold the same definitions; filled in one pass.
    if (version < 2 && hasTable(QStringLiteral("ODTS")) &&
        !hasTable(QStringLiteral("ContadoresODT"))) {
        for (const QString& s : schemaStatements())
            if (s.contains(QLatin1String("\"ContadoresODT\"")) &&
                (s.startsWith(QLatin1String("CREATE TABLE")) ||
                 s.startsWith(QLatin1String("CREATE TRIGGER"))))
                execForward(s);
        execForward(QStringLiteral(
            "INSERT INTO ContadoresODT (Cabeza, Cuantos, Minimo, Maximo) "
            "SELECT Cabeza, count(*), min(Contador), max(Contador) FROM ("
            " SELECT DISTINCT rtrim(NODT, '0123456789') COLLATE NOCASE AS Cabeza,"
            "  CAST(substr(NODT, length(rtrim(NODT, '0123456789')) + 1) AS INTEGER) AS Contador,"
            "  length(NODT) - length(rtrim(NODT, '0123456789')) AS Cifras"
            " FROM ODTS WHERE NODT IS NOT NULL)"
            " WHERE Cifras BETWEEN 4 AND 18 AND Contador >= 1"
            "  AND (Cifras = 4 OR length(Contador) = Cifras)"
            " GROUP BY Cabeza COLLATE NOCASE"));
    }
    execForward(QStringLiteral("PRAGMA user_version=%1").arg(kSchemaVersion));
    t.commit();
}

}  // namespace torvane
