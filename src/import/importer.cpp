#include "import/importer.h"

#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <cmath>
#include <map>

#include "data/database.h"
#include "import/jet_reader.h"
#include "tools/generator.h"

namespace torvane::import {

bool notInOlderFiles(const QString& table) {
    for (const char* own : {"ContadoresODT", "ConfigFacturacion", "RegistrosFacturacion",
                            "EnviosFacturacion", "NuevoRegistroFacturacion", "RegistrosPendientes"})
        if (table.compare(QLatin1String(own), Qt::CaseInsensitive) == 0) return true;
    return false;
}

namespace {

// Document-number columns hold "No" while the document does not exist, never an empty text.
bool holdsNoMarker(const QString& table, const QString& column) {
    static constexpr const char* kMarkers[][2] = {
        {"ODTS", "NPresupuesto"}, {"ODTS", "NAlbaran"},      {"ODTS", "NFactura"},
        {"ODTS", "Interna"},      {"Albaranes", "NFactura"}, {"Partes", "NFactura"},
    };
    for (const auto& m : kMarkers)
        if (table.compare(QLatin1String(m[0]), Qt::CaseInsensitive) == 0 &&
            column.compare(QLatin1String(m[1]), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

enum class Affinity { Integer, Real, Text };

struct Target {
    QString name;
    Affinity affinity = Affinity::Text;
    int source = -1;  // column of the old table, -1 when none
    bool marker = false;
};

// What a value becomes in a column of the new file. A value that does not fit is left
// out (NULL) and counted.
class Converter {
  public:
    QVariant operator()(const Value& v, const Target& t) {
        if (t.marker) {
            const QString s = isNull(v) ? QString() : valueText(v).trimmed();
            if (s.isEmpty()) {
                ++markers_[t.name];
                return QStringLiteral("No");
            }
            return s;
        }
        if (isNull(v)) return QVariant();
        switch (t.affinity) {
            case Affinity::Text:
                return text(v, t);
            case Affinity::Integer:
                return integer(v, t);
            case Affinity::Real:
                return real(v, t);
        }
        return QVariant();
    }

    std::map<QString, qint64> markers_;
    std::map<QString, qint64> dropped_;

  private:
    QVariant drop(const Target& t) {
        ++dropped_[t.name];
        return QVariant();
    }
    QVariant text(const Value& v, const Target& t) {
        if (const auto* d = std::get_if<QDateTime>(&v)) return d->date().toString(Qt::ISODate);
        if (const auto* m = std::get_if<Money>(&v)) return m->toPlainString();
        if (std::holds_alternative<QByteArray>(v)) return drop(t);
        // A null QString would be bound as NULL; an empty text is not a missing one.
        const QString s = valueText(v);
        return s.isNull() ? QStringLiteral("") : s;
    }
    QVariant integer(const Value& v, const Target& t) {
        if (const auto* n = std::get_if<qint64>(&v)) return *n;
        if (const auto* b = std::get_if<bool>(&v)) return *b ? 1 : 0;
        if (const auto* d = std::get_if<double>(&v))
            return std::isfinite(*d) ? QVariant(static_cast<qint64>(std::llround(*d))) : drop(t);
        if (const auto* m = std::get_if<Money>(&v))
            return static_cast<qint64>(std::llround(m->toDouble()));
        if (const auto* s = std::get_if<QString>(&v)) {
            if (s->trimmed().isEmpty()) return QVariant();
            bool ok = false;
            const qint64 n = s->trimmed().toLongLong(&ok);
            return ok ? QVariant(n) : drop(t);
        }
        return drop(t);
    }
    QVariant real(const Value& v, const Target& t) {
        if (const auto* m = std::get_if<Money>(&v)) return m->toDb();
        if (const auto* d = std::get_if<double>(&v))
            return std::isfinite(*d) ? QVariant(*d) : drop(t);
        if (const auto* n = std::get_if<qint64>(&v)) return static_cast<double>(*n);
        if (const auto* b = std::get_if<bool>(&v)) return *b ? 1.0 : 0.0;
        if (const auto* s = std::get_if<QString>(&v)) {
            if (s->trimmed().isEmpty()) return QVariant();
            const auto m = Money::parse(*s);
            return m ? m->toDb() : drop(t);
        }
        return drop(t);
    }
};

Affinity affinityOf(const QString& declared) {
    const QString d = declared.toUpper();
    if (d.contains(QLatin1String("INT"))) return Affinity::Integer;
    if (d.contains(QLatin1String("REAL")) || d.contains(QLatin1String("FLOA")) ||
        d.contains(QLatin1String("DOUB")))
        return Affinity::Real;
    return Affinity::Text;
}

int indexOf(const QStringList& names, const QString& name) {
    for (int i = 0; i < names.size(); ++i)
        if (names[i].compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

void removeWithJournal(const QString& path) {
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(suffix));
}

QString cannotImport(const QString& source, const QString& reason) {
    return QStringLiteral("No se puede importar la base de datos ") + source +
           QStringLiteral(": ") + reason;
}

QString cannotWrite(const QString& target, const QString& reason) {
    return QStringLiteral("No se puede escribir la base de datos nueva ") + target +
           QStringLiteral(": ") + reason;
}

// Refuses a target that would replace anything, before the old file is even read.
void checkTarget(const QString& source, const QString& target) {
    if (target.trimmed().isEmpty())
        throw ImportError(cannotWrite(target, QStringLiteral("falta el nombre del archivo.")));
    const QFileInfo t(target), s(source);
    if (t.absoluteFilePath() == s.absoluteFilePath() ||
        (t.exists() && s.exists() && t.canonicalFilePath() == s.canonicalFilePath()))
        throw ImportError(cannotWrite(
            target, QStringLiteral("el archivo nuevo no puede sustituir al anterior. Elija otra "
                                   "carpeta o otro nombre.")));
    if (t.exists())
        throw ImportError(cannotWrite(
            target, QStringLiteral(
                        "ya existe un archivo con ese nombre. Elija otra carpeta o otro nombre.")));
    const QFileInfo dir(t.absolutePath());
    if (!dir.isDir())
        throw ImportError(cannotWrite(target, QStringLiteral("la carpeta no existe.")));
    const auto p = dir.permissions();
    if (!(p & (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther)) ||
        ::access(QFile::encodeName(dir.absoluteFilePath()).constData(), W_OK) != 0)
        throw ImportError(
            cannotWrite(target, QStringLiteral("no se puede escribir en la carpeta elegida.")));
}

class Copier {
  public:
    Copier(TableReader& reader, Database& db, ImportReport& report, const ImportOptions& options)
        : reader_(reader), db_(db), report_(report), options_(options) {}

    void run() {
        const QStringList sourceTables = reader_.tables();
        QStringList targets;
        QSqlQuery q = db_.exec(QStringLiteral(
            "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' "
            "ORDER BY rowid"));
        while (q.next())
            if (!notInOlderFiles(q.value(0).toString())) targets << q.value(0).toString();

        std::vector<bool> used(static_cast<std::size_t>(sourceTables.size()), false);
        for (int i = 0; i < targets.size(); ++i) {
            if (options_.progress) options_.progress(targets[i], i + 1, int(targets.size()));
            const int s = indexOf(sourceTables, targets[i]);
            ImportReport::Table result{targets[i], 0, 0};
            if (s < 0) {
                report_.absentTables << targets[i];
            } else {
                used[static_cast<std::size_t>(s)] = true;
                copy(sourceTables[s], targets[i], result);
            }
            report_.tables.push_back(result);
        }
        for (int s = 0; s < sourceTables.size(); ++s) {
            if (used[static_cast<std::size_t>(s)]) continue;
            qint64 n = 0;
            reader_.readRows(sourceTables[s], [&](const std::vector<Value>&) { ++n; });
            report_.unknownTables << QStringLiteral("%1 (%2 filas)").arg(sourceTables[s]).arg(n);
        }
    }

  private:
    std::vector<Target> targetsOf(const QString& table, const QStringList& sourceColumns) {
        std::vector<Target> out;
        QSqlQuery q = db_.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table));
        while (q.next())
            out.push_back({q.value(1).toString(), affinityOf(q.value(2).toString()), -1,
                           holdsNoMarker(table, q.value(1).toString())});
        std::vector<bool> matched(static_cast<std::size_t>(sourceColumns.size()), false);
        for (auto& t : out) {
            t.source = indexOf(sourceColumns, t.name);
            if (t.source >= 0) matched[static_cast<std::size_t>(t.source)] = true;
        }
        // The older layout has columns that only their place names; such a column goes to
        // the same place when that one found no column of its name.
        for (int s = 0; s < sourceColumns.size(); ++s) {
            if (matched[static_cast<std::size_t>(s)]) continue;
            if (s < static_cast<int>(out.size()) && out[static_cast<std::size_t>(s)].source < 0) {
                out[static_cast<std::size_t>(s)].source = s;
                report_.notes << QStringLiteral(
                                     "%1: la columna %2 se ha copiado en %3 por su "
                                     "posición.")
                                     .arg(table, sourceColumns[s],
                                          out[static_cast<std::size_t>(s)].name);
                continue;
            }
            report_.unknownColumns << table + QLatin1Char('.') + sourceColumns[s];
        }
        return out;
    }

    void copy(const QString& sourceTable, const QString& table, ImportReport::Table& result) {
        const QStringList sourceColumns = reader_.columns(sourceTable);
        std::vector<Target> targets = targetsOf(table, sourceColumns);
        // Only the columns that receive something: the rest take their default.
        std::vector<Target> filled;
        QStringList names, marks;
        for (const auto& t : targets) {
            if (t.source < 0 && !t.marker) continue;
            filled.push_back(t);
            names << QStringLiteral("\"%1\"").arg(t.name);
            marks << QStringLiteral("?");
        }
        if (filled.empty()) return;
        QSqlQuery insert(db_.handle());
        if (!insert.prepare(
                QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                    .arg(table, names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')))))
            throw DbError(insert.lastError().text());
        Converter convert;
        qint64 rowNumber = 0;
        reader_.readRows(sourceTable, [&](const std::vector<Value>& row) {
            ++rowNumber;
            for (int i = 0; i < static_cast<int>(filled.size()); ++i) {
                const Target& t = filled[static_cast<std::size_t>(i)];
                const Value empty;
                const Value& v = t.source >= 0 && t.source < static_cast<int>(row.size())
                                     ? row[static_cast<std::size_t>(t.source)]
                                     : empty;
                insert.bindValue(i, convert(v, t));
            }
            if (insert.exec()) {
                ++result.rows;
                return;
            }
            // A row the new file refuses (a repeated key) is left out and listed; anything
            // else (a full disk) stops the import.
            constexpr int kConstraint = 19;
            if ((insert.lastError().nativeErrorCode().toInt() & 0xFF) != kConstraint)
                throw DbError(insert.lastError().databaseText());
            ++result.skipped;
            if (report_.skippedRows.size() < 20)
                report_.skippedRows << QStringLiteral("%1, fila %2: %3")
                                           .arg(table)
                                           .arg(rowNumber)
                                           .arg(insert.lastError().databaseText());
        });
        for (const auto& [column, n] : convert.markers_)
            report_.notes << QStringLiteral("%1: %2 valores vacíos de %3 puestos a \"No\".")
                                 .arg(table)
                                 .arg(n)
                                 .arg(column);
        for (const auto& [column, n] : convert.dropped_)
            report_.notes << QStringLiteral(
                                 "%1: %2 valores de %3 no válidos para la columna; se "
                                 "han dejado vacíos.")
                                 .arg(table)
                                 .arg(n)
                                 .arg(column);
    }

    TableReader& reader_;
    Database& db_;
    ImportReport& report_;
    const ImportOptions& options_;
};

}  // namespace

qint64 ImportReport::rows(const QString& table) const {
    for (const auto& t : tables)
        if (t.name.compare(table, Qt::CaseInsensitive) == 0) return t.rows;
    return 0;
}

qint64 ImportReport::totalRows() const {
    qint64 n = 0;
    for (const auto& t : tables) n += t.rows;
    return n;
}

QString ImportReport::summary() const {
    QStringList out;
    out << QStringLiteral("Se ha importado la base de datos %1 en %2.").arg(source, target);
    out << QStringLiteral("Filas copiadas: %1.").arg(totalRows());
    for (const auto& t : tables) {
        if (absentTables.contains(t.name)) continue;
        QString line = QStringLiteral("  %1: %2").arg(t.name).arg(t.rows);
        if (t.skipped) line += QStringLiteral(" (%1 filas no copiadas)").arg(t.skipped);
        out << line;
    }
    if (!absentTables.isEmpty())
        out << QStringLiteral("Tablas que el archivo anterior no tiene (quedan vacías): ") +
                   absentTables.join(QStringLiteral(", "));
    if (!unknownTables.isEmpty())
        out << QStringLiteral("Tablas del archivo anterior que no se han copiado: ") +
                   unknownTables.join(QStringLiteral(", "));
    if (!unknownColumns.isEmpty())
        out << QStringLiteral("Columnas del archivo anterior que no se han copiado: ") +
                   unknownColumns.join(QStringLiteral(", "));
    if (!skippedRows.isEmpty()) {
        out << QStringLiteral("Filas no copiadas:");
        for (const auto& s : skippedRows) out << QStringLiteral("  ") + s;
    }
    if (!notes.isEmpty()) {
        out << QStringLiteral("Avisos:");
        for (const auto& s : notes) out << QStringLiteral("  ") + s;
    }
    if (problems.isEmpty()) {
        out << QStringLiteral("Comprobación: los datos importados cumplen todas las reglas.");
    } else {
        out << QStringLiteral(
            "Comprobación: los datos importados no cumplen estas reglas "
            "(se han importado igualmente):");
        for (const auto& s : problems) out << QStringLiteral("  ") + s;
    }
    return out.join(QLatin1Char('\n'));
}

QString importTargetIn(const QString& source, const QString& folder) {
    return QDir(folder).absoluteFilePath(QFileInfo(source).completeBaseName() +
                                         QStringLiteral(".erm"));
}

ImportReport importTables(TableReader& reader, const QString& source, const QString& target,
                          const ImportOptions& options) {
    checkTarget(source, target);
    ImportReport report;
    report.source = source;
    report.target = target;
    // Built under another name beside the target: a failure leaves nothing at target.
    const QString building = target + QStringLiteral(".importando");
    removeWithJournal(building);
    try {
        QString reason;
        if (!options.templatePath.isEmpty() && QFileInfo(options.templatePath).isFile()) {
            QFile source(options.templatePath);
            if (!source.copy(building))
                throw ImportError(cannotWrite(target, source.errorString()));
            QFile::setPermissions(building, QFile::permissions(building) | QFileDevice::ReadOwner |
                                                QFileDevice::WriteOwner);
        } else if (!Database::createFromSchema(building, &reason)) {
            throw ImportError(cannotWrite(target, reason));
        }
        {
            Database db;
            if (!db.open(building, &reason)) throw ImportError(cannotWrite(target, reason));
            try {
                db.applyMigrations();
                {
                    Database::Transaction transaction(db);
                    Copier(reader, db, report, options).run();
                    transaction.commit();
                }
                report.problems = gen::checkConsistency(db, 5);
            } catch (const DbError& e) {
                throw ImportError(cannotWrite(target, e.message()));
            }
            db.close();
        }
        if (QFileInfo::exists(target) || !QFile::rename(building, target))
            throw ImportError(
                cannotWrite(target, QStringLiteral("no se puede poner el nombre al archivo.")));
    } catch (const ImportError& e) {
        removeWithJournal(building);
        // Reasons from the reader come without the path.
        if (e.message().startsWith(QLatin1String("No se puede"))) throw;
        throw ImportError(cannotImport(source, e.message()));
    } catch (...) {
        removeWithJournal(building);
        throw;
    }
    return report;
}

ImportReport importJetFile(const QString& source, const QString& target,
                           const ImportOptions& options) {
    checkTarget(source, target);
    std::unique_ptr<JetReader> reader;
    try {
        reader = std::make_unique<JetReader>(source);
    } catch (const ImportError& e) {
        throw ImportError(cannotImport(source, e.message()));
    }
    return importTables(*reader, source, target, options);
}

}  // namespace torvane::import
