#include "data/database.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>
#include <QThread>
#include <QUuid>
#include <cerrno>
#include <cmath>
#include <cstring>

#include "schema_sql.h"

namespace torvane {

namespace {

// Unique without a process-wide counter: every Database owns its own connection.
QString nextConnectionName() {
    return QStringLiteral("torvane-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

// The first bytes of the file say what it is, before SQLite gets to touch it.
enum class FileKind {
    Missing,
    Folder,
    Special,
    NoReadPermission,
    Empty,
    Sqlite,
    Jet,
    Other,
    Unreadable
};

FileKind sniff(const QString& path, QByteArray* header, int* openError) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return FileKind::Missing;
    if (S_ISDIR(st.st_mode)) return FileKind::Folder;
    // A FIFO or a device would block or stream forever; never open one.
    if (!S_ISREG(st.st_mode)) return FileKind::Special;
    // The permission bits, not this user's access: an administrator reads anything, but a
    // file nobody may read is not meant to be opened.
    if ((st.st_mode & (S_IRUSR | S_IRGRP | S_IROTH)) == 0) return FileKind::NoReadPermission;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        *openError = errno;
        return errno == EACCES || errno == EPERM ? FileKind::NoReadPermission
                                                 : FileKind::Unreadable;
    }
    char buf[100];
    const ssize_t n = ::read(fd, buf, sizeof buf);
    ::close(fd);
    if (n < 0) {
        *openError = errno;
        return FileKind::Unreadable;
    }
    *header = QByteArray(buf, static_cast<int>(n));
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

// The tables every file of ours has had since the first build.
constexpr const char* kOwnTables[] = {"Clientes", "Articulos", "ODTS", "Facturas", "DatosEmpresa"};

// A byte past SQLite's own lock bytes (0x40000000..0x400001FF); each running Torvane holds a
// shared lock on it for the file it has open.
constexpr off_t kPresenceByte = 0x40000400;

// SQLite's result code (primary part) behind a failed statement; 0 when unknown.
int engineCode(const QSqlError& e) {
    bool ok = false;
    const int code = e.nativeErrorCode().toInt(&ok);
    return ok ? (code & 0xFF) : 0;
}

enum class Trouble { None, Locked, Damaged };

Trouble troubleOf(int code, const QString& text) {
    if (code == SQLITE_BUSY || code == SQLITE_LOCKED || text.contains(QLatin1String("is locked")))
        return Trouble::Locked;
    if (code == SQLITE_CORRUPT || code == SQLITE_NOTADB || code == SQLITE_IOERR ||
        text.contains(QLatin1String("malformed")) ||
        text.contains(QLatin1String("not a database")) ||
        text.contains(QLatin1String("disk I/O error")))
        return Trouble::Damaged;
    return Trouble::None;
}

QString engineText(const QSqlError& e) {
    return e.databaseText().isEmpty() ? e.text() : e.databaseText();
}

const QString kLocked = QStringLiteral("el archivo está bloqueado por otro programa.");
const QString kDamaged = QStringLiteral("el archivo está dañado.");
const QString kForeign =
    QStringLiteral("el archivo es una base de datos de otro programa, no de Torvane.");

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
    // After SQLite has let go of the file, so that closing this descriptor cannot drop its locks.
    if (presenceFd_ >= 0) {
        ::close(presenceFd_);
        presenceFd_ = -1;
    }
    path_.clear();
}

bool Database::open(const QString& path, QString* reason, Mode mode) {
    auto fail = [&](const QString& why) {
        if (reason) *reason = why;
        return false;
    };
    QByteArray header;
    int openError = 0;
    switch (sniff(path, &header, &openError)) {
        case FileKind::Missing:
            return fail(QStringLiteral("el archivo no existe."));
        case FileKind::Folder:
            return fail(QStringLiteral("no es un archivo sino una carpeta."));
        case FileKind::Special:
            return fail(QStringLiteral("no es un archivo sino un dispositivo o una tubería."));
        case FileKind::NoReadPermission:
            return fail(
                QStringLiteral("no se puede leer el archivo: no tiene permiso de lectura."));
        case FileKind::Unreadable:
            return fail(QStringLiteral("no se puede leer el archivo: ") +
                        QString::fromLocal8Bit(std::strerror(openError)) + QLatin1Char('.'));
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
    if (looksTruncated(path, header)) return fail(kDamaged);
    const quint32 applicationId = bigEndian(header, 68, 4);
    if (applicationId != 0 && applicationId != static_cast<quint32>(kApplicationId))
        return fail(kForeign);
    if (mode == Mode::ReadWrite &&
        (hasNoWriteBits(path) || ::access(QFile::encodeName(path).constData(), W_OK) != 0))
        return fail(QStringLiteral("el archivo es de solo lectura."));

    close();
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
    db_.setDatabaseName(path);
    if (mode != Mode::ReadWrite) db_.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    // The engine's reason, in Spanish when it is one the user can act on.
    const auto rawFail = [&](const QSqlError& e) {
        close();
        const Trouble t = troubleOf(engineCode(e), engineText(e));
        return fail(t == Trouble::Locked    ? kLocked
                    : t == Trouble::Damaged ? kDamaged
                                            : engineText(e));
    };
    if (!db_.open()) return rawFail(db_.lastError());
    path_ = path;
    registerFunctions();
    setBusyTimeout(kBusyTimeoutMs);
    // Reads only, until the file is known to be ours and sound.
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    QStringList names;
    for (const char* t : kOwnTables) names << QStringLiteral("'%1'").arg(QLatin1String(t));
    const QString identity = QStringLiteral(
                                 "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND "
                                 "name COLLATE NOCASE IN (%1)")
                                 .arg(names.join(QLatin1Char(',')));
    // The first read waits for the file like any statement, and like them tries again.
    bool read = false;
    for (int attempt = 1; !read && attempt <= kBusyAttempts; ++attempt) {
        read = q.exec(identity) && q.next();
        if (!read &&
            troubleOf(engineCode(q.lastError()), engineText(q.lastError())) != Trouble::Locked)
            break;
    }
    if (!read) return rawFail(q.lastError());
    if (q.value(0).toInt() < static_cast<int>(std::size(kOwnTables))) {
        close();
        return fail(applicationId == 0 ? kForeign : kDamaged);
    }
    q.finish();
    if (mode != Mode::Copy && QFileInfo(path).size() <= kQuickCheckLimit) {
        if (!q.exec(QStringLiteral("PRAGMA quick_check(1)")) || !q.next())
            return rawFail(q.lastError());
        if (q.value(0).toString() != QLatin1String("ok")) {
            close();
            return fail(kDamaged);
        }
        q.finish();
    }
    if (mode == Mode::ReadWrite) {
        // One file the user can copy, written safely; links are by value, not enforced.
        if (!q.exec(QStringLiteral("PRAGMA journal_mode")) || !q.next())
            return rawFail(q.lastError());
        const bool isDelete =
            q.value(0).toString().compare(QLatin1String("delete"), Qt::CaseInsensitive) == 0;
        q.finish();
        if ((!isDelete && !q.exec(QStringLiteral("PRAGMA journal_mode=DELETE"))) ||
            !q.exec(QStringLiteral("PRAGMA synchronous=FULL")) ||
            !q.exec(QStringLiteral("PRAGMA foreign_keys=OFF")))
            return rawFail(q.lastError());
        q.finish();
    }
    return true;
}

bool Database::announce() {
    if (!isOpen()) return false;
    if (presenceFd_ < 0)
        presenceFd_ = ::open(QFile::encodeName(path_).constData(), O_RDONLY | O_CLOEXEC);
    if (presenceFd_ < 0) return false;
#ifdef F_OFD_SETLK
    // Open-file-description locks: they belong to this descriptor, not to the process, so
    // they never interfere with SQLite's own locks on the same file.
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = kPresenceByte;
    probe.l_len = 1;
    const bool others = ::fcntl(presenceFd_, F_OFD_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
    struct flock mine {};
    mine.l_type = F_RDLCK;
    mine.l_whence = SEEK_SET;
    mine.l_start = kPresenceByte;
    mine.l_len = 1;
    ::fcntl(presenceFd_, F_OFD_SETLK, &mine);
    return others;
#else
    return false;
#endif
}

namespace {
// SQLite's own busy handler sleeps ever longer (up to 100 ms) between attempts, and so keeps
// missing the short gaps a fast writer leaves; this one looks every millisecond.
int waitBriefly(void* timeoutMs, int count) {
    if (count >= *static_cast<int*>(timeoutMs)) return 0;
    ::usleep(1000);
    return 1;
}
}  // namespace

namespace {
// sha256_hex(text): upper-case hexadecimal SHA-256 of the text's UTF-8 bytes. The invoice
// record triggers chain their fingerprints with it.
void sha256Hex(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (argc != 1 || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const QByteArray bytes(text, sqlite3_value_bytes(argv[0]));
    const QByteArray hex =
        QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().toUpper();
    sqlite3_result_text(ctx, hex.constData(), int(hex.size()), SQLITE_TRANSIENT);
}
}  // namespace

void Database::registerFunctions() {
    if (sqlite3* h = rawHandle())
        sqlite3_create_function_v2(h, "sha256_hex", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                   sha256Hex, nullptr, nullptr, nullptr);
}

void Database::setBusyTimeout(int ms) {
    busyTimeoutMs_ = ms;
    if (sqlite3* h = rawHandle()) sqlite3_busy_handler(h, waitBriefly, &busyTimeoutMs_);
}

sqlite3* Database::rawHandle() {
    if (!isOpen()) return nullptr;
    const QVariant v = db_.driver()->handle();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0) return nullptr;
    return *static_cast<sqlite3* const*>(v.constData());
}

QString Database::translate(const QString& text) const {
    const QString file = QFileInfo(path_).fileName();
    switch (troubleOf(0, text)) {
        case Trouble::Locked:
            return QStringLiteral("El archivo %1 está bloqueado por otro programa.").arg(file);
        case Trouble::Damaged:
            return QStringLiteral("El archivo %1 está dañado.").arg(file);
        case Trouble::None:
            break;
    }
    return text;
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

namespace {

// "2", " 2.5 ", "1,5" read as numbers; anything else stays as it was written.
std::optional<double> quantityNumber(const QString& text) {
    QString t = text.trimmed();
    if (t.count(QLatin1Char(',')) == 1 && !t.contains(QLatin1Char('.')))
        t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

void makeTowQuantityNumeric(Database& db) {
    const auto type = db.scalar(QStringLiteral(
        "SELECT type FROM pragma_table_info('LineasPartes') WHERE name = 'Cantidad'"));
    if (!type.isValid() || type.toString().compare(QLatin1String("REAL"), Qt::CaseInsensitive) == 0)
        return;
    const QStringList columns = {QStringLiteral("Id"),     QStringLiteral("NParte"),
                                 QStringLiteral("Texto"),  QStringLiteral("Cantidad"),
                                 QStringLiteral("Precio"), QStringLiteral("Importe")};
    if (db.columnNames(QStringLiteral("LineasPartes")) != columns) return;
    QString create, index;
    for (const QString& s : schemaStatements()) {
        if (s.startsWith(QLatin1String("CREATE TABLE \"LineasPartes\""))) create = s;
        if (s.startsWith(QLatin1String("CREATE INDEX \"ix_LineasPartes_NParte\""))) index = s;
    }
    create.replace(QLatin1String("\"LineasPartes\""), QLatin1String("\"LineasPartes_nueva\""));
    const QVariant sequence =
        db.scalar(QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = 'LineasPartes'"));
    db.execForward(create);
    const QString list = columns.join(QLatin1Char(','));
    db.execForward(QStringLiteral("INSERT INTO LineasPartes_nueva (%1) SELECT %1 FROM "
                                  "LineasPartes ORDER BY Id")
                       .arg(list));
    // The column's numeric affinity took the plain numbers; texts with blanks or a decimal
    // comma are converted here, the rest is kept as written.
    std::vector<std::pair<qint64, double>> fixes;
    QSqlQuery q = db.execForward(QStringLiteral(
        "SELECT Id, Cantidad FROM LineasPartes_nueva WHERE typeof(Cantidad) = 'text'"));
    while (q.next())
        if (auto v = quantityNumber(q.value(1).toString()))
            fixes.emplace_back(q.value(0).toLongLong(), *v);
    q.finish();
    for (const auto& [id, value] : fixes)
        db.execForward(QStringLiteral("UPDATE LineasPartes_nueva SET Cantidad = ? WHERE Id = ?"),
                       {value, id});
    db.execForward(QStringLiteral("DROP TABLE LineasPartes"));
    db.execForward(QStringLiteral("ALTER TABLE LineasPartes_nueva RENAME TO LineasPartes"));
    if (sequence.isValid()) {
        db.execForward(QStringLiteral("DELETE FROM sqlite_sequence WHERE name = 'LineasPartes'"));
        db.execForward(QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES "
                                      "('LineasPartes', max(?, (SELECT ifnull(max(Id), 0) FROM "
                                      "LineasPartes)))"),
                       {sequence});
    }
    db.execForward(index);
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
                q.exec(QStringLiteral("PRAGMA application_id=%1").arg(kApplicationId));
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
    // A statement outside a transaction that found the file locked past the busy timeout is
    // tried again: a busy writer can starve a reader for a while without holding it for good.
    for (int attempt = 1;; ++attempt) {
        QSqlQuery q(db_);
        q.setForwardOnly(forwardOnly);
        if (q.prepare(sql)) {
            for (const QVariant& p : params) q.addBindValue(p);
            if (q.exec()) return q;
        }
        const QSqlError e = q.lastError();
        sqlite3* h = rawHandle();
        const bool retry = troubleOf(engineCode(e), engineText(e)) == Trouble::Locked &&
                           attempt < kBusyAttempts && h && sqlite3_get_autocommit(h);
        if (!retry) throw DbError(translate(engineText(e)));
        q.finish();
    }
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
                      db_.translate(engineText(db_.db_.lastError())));
}

Database::Transaction::~Transaction() {
    if (!done_) db_.db_.rollback();
}

void Database::Transaction::commit() {
    if (!db_.db_.commit()) {
        const QString why = db_.translate(engineText(db_.db_.lastError()));
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
    // 3: the tow-line quantity becomes a number. SQLite cannot change a column's type, so the
    // table is rebuilt in place with its column order, keys, key sequence and index.
    if (version < 3 && hasTable(QStringLiteral("LineasPartes"))) makeTowQuantityNumeric(*this);
    // 4: the index that lists the internal work orders.
    if (version < 4 && hasTable(QStringLiteral("ODTS")))
        execForward(QStringLiteral(
            "CREATE INDEX IF NOT EXISTS \"ix_ODTS_Interna\" ON \"ODTS\" (\"Interna\", \"Fecha\")"));
    // 5: the purchase list searches the supplier's delivery-note number.
    if (version < 5 && hasTable(QStringLiteral("Entradas")))
        execForward(QStringLiteral(
            "CREATE INDEX IF NOT EXISTS \"ix_Entradas_NAlbaran\" ON \"Entradas\" (\"NAlbaran\")"));
    // 6: a commission invoice keeps the withholding rate it was made with, so a reprint shows
    // 7 % and not the 6,99 % that the rounded amounts give back.
    if (version < 6 && hasTable(QStringLiteral("Comisiones")) &&
        !columnNames(QStringLiteral("Comisiones"))
             .contains(QStringLiteral("TipoRetencion"), Qt::CaseInsensitive))
        execForward(QStringLiteral("ALTER TABLE Comisiones ADD COLUMN TipoRetencion REAL"));
    // 7: the invoice registration records, their settings and the triggers that write them,
    // taken from the schema; switched off until the user turns them on. And an index for an
    // article's latest purchase before a day.
    if (version < 7 && hasTable(QStringLiteral("Entradas")))
        execForward(
            QStringLiteral("CREATE INDEX IF NOT EXISTS \"ix_Entradas_Id_Art_Fecha\" ON "
                           "\"Entradas\" (\"Id_Art\", \"Fecha\")"));
    if (version < 7 && hasTable(QStringLiteral("FacturasODT")) &&
        !hasTable(QStringLiteral("RegistrosFacturacion"))) {
        for (const QString& s : schemaStatements())
            if (s.contains(QLatin1String("Facturacion\"")) &&
                !s.contains(QLatin1String("\"RegistrosPendientes")) &&
                (s.startsWith(QLatin1String("CREATE ")) || s.startsWith(QLatin1String("INSERT "))))
                execForward(s);
    }
    // 8: the records still waiting for the agency's verdict, listed apart and kept by
    // triggers, filled from the answers stored so far.
    if (version < 8 && hasTable(QStringLiteral("RegistrosFacturacion")) &&
        !hasTable(QStringLiteral("RegistrosPendientes"))) {
        for (const QString& s : schemaStatements())
            if (s.contains(QLatin1String("\"RegistrosPendientes")) &&
                s.startsWith(QLatin1String("CREATE ")))
                execForward(s);
        execForward(QStringLiteral(
            "INSERT INTO RegistrosPendientes (IdRegistro) SELECT r.Id FROM RegistrosFacturacion r "
            "WHERE NOT EXISTS (SELECT 1 FROM EnviosFacturacion e WHERE e.IdRegistro = r.Id AND "
            "e.Estado IN ('Correcto', 'AceptadoConErrores', 'Incorrecto'))"));
    }
    execForward(QStringLiteral("PRAGMA user_version=%1").arg(kSchemaVersion));
    // Files of earlier builds are recognised by their tables; from now on by the id too.
    if (scalar(QStringLiteral("PRAGMA application_id")).toInt() == 0)
        execForward(QStringLiteral("PRAGMA application_id=%1").arg(kApplicationId));
    t.commit();
}

}  // namespace torvane
