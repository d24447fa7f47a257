#include "core/database_setup.h"

#include <QFile>
#include <QFileInfo>

#include "core/dialogs.h"
#include "core/session.h"
#include "core/settings_file.h"
#include "data/database.h"

namespace torvane {

namespace {
QString rutaPath(const Session& session) {
    return session.programFile(QString::fromLatin1(kRutaFile));
}
}  // namespace

bool rutaExists(const Session& session) {
    return QFileInfo::exists(rutaPath(session));
}

std::optional<QString> readRuta(const Session& session) {
    return readFirstField(rutaPath(session));
}

bool writeRuta(const Session& session, const QString& path, QString* error) {
    auto fail = [&](const QString& why) {
        if (error) *error = why;
        return false;
    };
    if (path.contains(QLatin1Char('"')))
        return fail(QStringLiteral("la ruta contiene comillas dobles y no se puede guardar."));
    if (decodeWindows1252(encodeWindows1252(path)) != path)
        return fail(QStringLiteral("la ruta contiene caracteres que no se pueden guardar."));
    return writeSettingsFile(rutaPath(session), {path}, error);
}

bool removeRuta(const Session& session) {
    const QString p = rutaPath(session);
    return !QFileInfo::exists(p) || QFile::remove(p);
}

QString cannotOpenDatabaseMessage(const QString& path, const QString& reason) {
    return QStringLiteral("No se puede abrir la base de datos ") + path + QStringLiteral(": ") +
           reason;
}

bool ComprobarDB(const QString& path, const QString& table, const QString& column) {
    int position = -1;
    if (column == QLatin1String("Id_Proveedor"))
        position = 10;
    else if (column == QLatin1String("Total"))
        position = 6;
    else
        return false;
    try {
        Database db;
        // Reads the catalogue only; the caller has already opened and checked the file.
        if (!db.open(path, nullptr, Database::Mode::Copy)) return false;
        const QStringList columns = db.columnNames(table);
        return columns.size() > position && columns.at(position) == column;
    } catch (const DbError&) {
        return false;
    }
}

FormatCheck checkFormat(const QString& path) {
    FormatCheck c;
    c.articulosOk = ComprobarDB(path, QStringLiteral("Articulos"), QStringLiteral("Id_Proveedor"));
    c.facturasOk = ComprobarDB(path, QStringLiteral("Facturas"), QStringLiteral("Total"));
    return c;
}

QStringList upgradeStatements(const FormatCheck& check) {
    QStringList out;
    if (!check.articulosOk) out << QStringLiteral("ALTER TABLE Articulos ADD Id_Proveedor integer");
    if (!check.facturasOk) out << QStringLiteral("ALTER TABLE Facturas ADD Total double");
    return out;
}

bool upgradeFormat(Database& db, const FormatCheck& check, QString* error) {
    try {
        Database::Transaction t(db);
        for (const QString& sql : upgradeStatements(check)) db.execForward(sql);
        t.commit();
        return true;
    } catch (const DbError& e) {
        if (error) *error = e.message();
        return false;
    }
}

const std::vector<SavedQuery>& savedQueries() {
    static const std::vector<SavedQuery> queries = {
        {QStringLiteral("ConFacAlb"),
         QStringLiteral("SELECT Facturas.Id_Cli, Facturas.Fecha, Albaranes.Total, 'Fac' AS tipo "
                        "FROM Facturas INNER JOIN Albaranes ON Facturas.Id_Fac = "
                        "Albaranes.NFactura")},
        {QStringLiteral("ConFacCoches"),
         QStringLiteral("SELECT FacturasCoches.Id_Cli, FacturasCoches.Fecha, FacturasCoches.Total, "
                        "'Coch' AS tipo FROM FacturasCoches")},
        {QStringLiteral("ConFacLibres"),
         QStringLiteral("SELECT FacturasLibres.Id_Cli, FacturasLibres.Fecha, FacturasLibres.Total, "
                        "'Libr' AS tipo FROM FacturasLibres")},
        {QStringLiteral("ConFacOdt"),
         QStringLiteral(
             "SELECT ODTS.Id_Cli, FacturasODT.Fecha, FacturasODT.Importe, 'Odt' AS tipo "
             "FROM ODTS INNER JOIN FacturasODT ON ODTS.NFactura = FacturasODT.NFactura")},
        {QStringLiteral("ConUnion"),
         QStringLiteral("select * from ConFacAlb union select * from ConFacCoches union select * "
                        "from ConFacLibres UNION select * from ConFacOdt")},
    };
    return queries;
}

void CreateSavedQuery(Database& db, Dialogs& dialogs, const QString& sql, const QString& name) {
    try {
        Database::Transaction t(db);
        db.createView(name, sql);
        // SQLite accepts a view over a missing table; reading it once brings the error out now.
        QString quoted = name;
        quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
        db.execForward(QStringLiteral("SELECT * FROM \"%1\" LIMIT 0").arg(quoted));
        t.commit();
    } catch (const DbError& e) {
        dialogs.message(
            QString::fromLatin1(kSavedQueryErrorSource) + QStringLiteral("-->") + e.message(),
            Dialogs::Icon::None, QStringLiteral("Error"));
    }
}

int createSavedQueriesIfNone(Database& db, Dialogs& dialogs) {
    if (!db.viewNames().isEmpty()) return 0;
    for (const SavedQuery& q : savedQueries()) CreateSavedQuery(db, dialogs, q.sql, q.name);
    return static_cast<int>(savedQueries().size());
}

std::optional<QString> readCompanyName(Database& db) {
    // The first row in stored order; the table is meant to hold just one.
    auto row =
        db.firstRow(QStringLiteral("select Nombre from DatosEmpresa ORDER BY rowid LIMIT 1"));
    if (!row) return std::nullopt;
    return row->value(QStringLiteral("Nombre")).toString();
}

}  // namespace torvane
