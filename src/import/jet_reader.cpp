#include "import/jet_reader.h"

#include <mdbtools.h>

#include <QFile>
#include <QFileInfo>
#include <array>
#include <cstring>

namespace torvane::import {

namespace {

// Jet 3 keeps its database password at 0x42, masked with this fixed key; an empty password
// leaves the key itself there.
constexpr std::array<unsigned char, 20> kJet3PasswordMask = {
    0x86, 0xFB, 0xEC, 0x37, 0x5D, 0x44, 0x9C, 0xFA, 0xC6, 0x5E,
    0x28, 0xE6, 0x13, 0xB6, 0x8A, 0x60, 0x54, 0x94, 0x7B, 0x36};

// Memo fields hold up to 64K characters; UTF-8 may need three bytes for each.
constexpr std::size_t kBindSize = 200 * 1024;

const QString kDamaged = QStringLiteral("el archivo está dañado.");

QByteArray header(const QString& path, int size) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.read(size);
}

// Four decimals exactly from the engine's text ("-12.3450"); more decimals round half to even.
std::optional<Money> decimalText(const QByteArray& text) {
    QByteArray t = text.trimmed();
    if (t.isEmpty()) return std::nullopt;
    const bool negative = t.startsWith('-');
    if (negative || t.startsWith('+')) t.remove(0, 1);
    const int dot = t.indexOf('.');
    const QByteArray whole = dot < 0 ? t : t.left(dot);
    const QByteArray fraction = dot < 0 ? QByteArray() : t.mid(dot + 1);
    for (char c : whole + fraction)
        if (c < '0' || c > '9') return std::nullopt;
    if (fraction.size() > 4 || whole.size() > 14) return Money::fromDouble(text.toDouble());
    const qint64 units = whole.toLongLong() * Money::kScale +
                         (fraction + QByteArray(4 - fraction.size(), '0')).toLongLong();
    return Money::fromUnits(negative ? -units : units);
}

}  // namespace

JetKind sniffJet(const QString& path) {
    // Never open a pipe or a device: reading one would block.
    if (!QFileInfo(path).isFile()) return JetKind::NotJet;
    const QByteArray h = header(path, 0x20);
    if (h.size() < 0x15) return JetKind::NotJet;
    if (h.mid(4, 15) == "Standard ACE DB") return JetKind::Ace;
    if (h.mid(4, 15) != "Standard Jet DB") return JetKind::NotJet;
    switch (static_cast<unsigned char>(h.at(0x14))) {
        case 0:
            return JetKind::Jet3;
        case 1:
            return JetKind::Jet4;
        default:
            return JetKind::Ace;
    }
}

struct JetReader::Handle {
    MdbHandle* mdb = nullptr;
    std::vector<MdbCatalogEntry*> tables;
    ~Handle() {
        if (mdb) mdb_close(mdb);
    }
    MdbCatalogEntry* find(const QString& name) const {
        for (MdbCatalogEntry* e : tables)
            if (QString::fromUtf8(e->object_name).compare(name, Qt::CaseInsensitive) == 0) return e;
        return nullptr;
    }
};

JetReader::JetReader(const QString& path) : h_(std::make_unique<Handle>()) {
    const QFileInfo info(path);
    if (!info.exists()) throw ImportError(QStringLiteral("el archivo no existe."));
    if (!info.isFile()) throw ImportError(QStringLiteral("no es un archivo sino una carpeta."));
    if (!info.isReadable())
        throw ImportError(
            QStringLiteral("no se puede leer el archivo: no tiene permiso de lectura."));
    kind_ = sniffJet(path);
    switch (kind_) {
        case JetKind::NotJet:
            throw ImportError(QStringLiteral(
                "el archivo no es una base de datos de la versión anterior del programa."));
        case JetKind::Ace:
            throw ImportError(QStringLiteral(
                "el archivo es de una versión de Access posterior (.accdb, Access 2007 o más "
                "nueva); solo se importan archivos de Access 97 y Access 2000."));
        case JetKind::Jet3:
        case JetKind::Jet4:
            break;
    }
    // Access keeps a lock file beside a database it has open.
    const QString lockFile =
        info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".ldb");
    if (QFileInfo::exists(lockFile))
        throw ImportError(QStringLiteral("el archivo está abierto en otro programa (existe ") +
                          QFileInfo(lockFile).fileName() +
                          QStringLiteral("). Ciérrelo y vuelva a intentarlo."));
    // Every page is whole in a sound file: a cut copy is refused before anything reads it.
    const qint64 pageSize = kind_ == JetKind::Jet3 ? 2048 : 4096;
    if (info.size() < 2 * pageSize || info.size() % pageSize != 0) throw ImportError(kDamaged);
    if (kind_ == JetKind::Jet3) {
        const QByteArray h = header(path, 0x42 + 20);
        if (h.size() < 0x42 + 20) throw ImportError(kDamaged);
        for (std::size_t i = 0; i < kJet3PasswordMask.size(); ++i)
            if (static_cast<unsigned char>(h.at(0x42 + static_cast<int>(i))) !=
                kJet3PasswordMask[i])
                throw ImportError(QStringLiteral(
                    "el archivo está protegido con contraseña. Quítela en el programa anterior "
                    "(Herramientas, Seguridad) y vuelva a importarlo."));
    }

    h_->mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (!h_->mdb) throw ImportError(kDamaged);
    mdb_set_date_fmt(h_->mdb, "%Y-%m-%d %H:%M:%S");
    mdb_set_shortdate_fmt(h_->mdb, "%Y-%m-%d %H:%M:%S");
    mdb_set_boolean_fmt_numbers(h_->mdb);
    mdb_set_bind_size(h_->mdb, kBindSize);
    if (!mdb_read_catalog(h_->mdb, MDB_TABLE)) throw ImportError(kDamaged);
    for (unsigned i = 0; i < h_->mdb->num_catalog; ++i) {
        auto* e = static_cast<MdbCatalogEntry*>(g_ptr_array_index(h_->mdb->catalog, i));
        if (e->object_type != MDB_TABLE || mdb_is_system_table(e)) continue;
        h_->tables.push_back(e);
    }
}

JetReader::~JetReader() = default;

QStringList JetReader::tables() {
    QStringList names;
    for (MdbCatalogEntry* e : h_->tables) names << QString::fromUtf8(e->object_name);
    return names;
}

namespace {

struct TableDef {
    MdbTableDef* t = nullptr;
    explicit TableDef(MdbCatalogEntry* e) : t(e ? mdb_read_table(e) : nullptr) {
        if (t && !mdb_read_columns(t)) {
            mdb_free_tabledef(t);
            t = nullptr;
        }
    }
    ~TableDef() {
        if (t) mdb_free_tabledef(t);
    }
    TableDef(const TableDef&) = delete;
    TableDef& operator=(const TableDef&) = delete;
};

MdbColumn* column(MdbTableDef* t, unsigned i) {
    return static_cast<MdbColumn*>(g_ptr_array_index(t->columns, i));
}

}  // namespace

QStringList JetReader::columns(const QString& table) {
    TableDef def(h_->find(table));
    if (!def.t) return {};
    QStringList names;
    for (unsigned i = 0; i < def.t->num_cols; ++i)
        names << QString::fromUtf8(column(def.t, i)->name);
    return names;
}

void JetReader::readRows(const QString& table,
                         const std::function<void(const std::vector<Value>&)>& row) {
    MdbHandle* mdb = h_->mdb;
    TableDef def(h_->find(table));
    if (!def.t)
        throw ImportError(QStringLiteral("el archivo está dañado: no se puede leer la tabla ") +
                          table + QLatin1Char('.'));
    MdbTableDef* t = def.t;
    const unsigned n = t->num_cols;
    std::vector<QByteArray> buffers(n, QByteArray(static_cast<int>(kBindSize), '\0'));
    std::vector<int> lengths(n, 0);
    for (unsigned i = 0; i < n; ++i)
        mdb_bind_column(t, static_cast<int>(i) + 1, buffers[i].data(), &lengths[i]);
    mdb_rewind_table(t);

    // The bound text of an empty and of a null value are both empty; the row's null mask
    // tells them apart.
    std::vector<MdbField> fields(256 + n);
    std::vector<bool> nulls(n);
    std::vector<Value> values(n);
    unsigned read = 0;
    while (mdb_fetch_row(t)) {
        ++read;
        std::fill(nulls.begin(), nulls.end(), true);
        int start = 0;
        size_t size = 0;
        if (t->cur_row > 0 &&
            mdb_find_row(mdb, static_cast<int>(t->cur_row) - 1, &start, &size) == 0 &&
            (start & 0x8000) == 0) {
            const int cracked = mdb_crack_row(t, start & 0x1fff, size, fields.data());
            for (int f = 0; f < cracked; ++f)
                if (fields[f].colnum >= 0 && static_cast<unsigned>(fields[f].colnum) < n)
                    nulls[fields[f].colnum] = fields[f].is_null;
        }
        for (unsigned i = 0; i < n; ++i) {
            MdbColumn* c = column(t, i);
            const QByteArray text(buffers[i].constData(), lengths[i]);
            Value& v = values[i];
            if (c->col_type == MDB_BOOL) {
                v = text == "1";
                continue;
            }
            if (lengths[i] == 0 &&
                (nulls[i] || (c->col_type != MDB_TEXT && c->col_type != MDB_MEMO))) {
                v = std::monostate();
                continue;
            }
            switch (c->col_type) {
                case MDB_BYTE:
                case MDB_INT:
                case MDB_LONGINT:
                    v = text.toLongLong();
                    break;
                case MDB_MONEY:
                case MDB_NUMERIC:
                    if (auto m = decimalText(text))
                        v = *m;
                    else
                        v = QString::fromUtf8(text);
                    break;
                case MDB_FLOAT:
                case MDB_DOUBLE:
                    v = text.toDouble();
                    break;
                case MDB_DATETIME: {
                    QDateTime d = QDateTime::fromString(QString::fromLatin1(text),
                                                        QStringLiteral("yyyy-MM-dd HH:mm:ss"));
                    if (d.isValid())
                        v = d;
                    else
                        v = QString::fromUtf8(text);
                    break;
                }
                case MDB_OLE: {
                    size_t length = 0;
                    void* data = mdb_ole_read_full(mdb, c, &length);
                    v = QByteArray(static_cast<const char*>(data), static_cast<qsizetype>(length));
                    g_free(data);
                    break;
                }
                default:
                    v = QString::fromUtf8(text);
            }
        }
        row(values);
    }
    // Pages the file lacks end the walk early; the table's own count says so.
    if (read != t->num_rows)
        throw ImportError(QStringLiteral("el archivo está dañado: la tabla %1 tiene %2 filas y "
                                         "solo se han podido leer %3.")
                              .arg(table)
                              .arg(t->num_rows)
                              .arg(read));
}

}  // namespace torvane::import
