#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace torvane {

class Database;
class Dialogs;
class Session;

// "ruta.fpl" in the program folder: the path of the current database.
inline constexpr const char* kRutaFile = "ruta.fpl";

bool rutaExists(const Session& session);
// The path held by "ruta.fpl"; std::nullopt when the file is missing or unreadable.
std::optional<QString> readRuta(const Session& session);
// Rewrites "ruta.fpl" whole. A path that the file cannot hold (a double quote, characters
// outside Windows-1252) is refused with a Spanish reason in *error, and the file is untouched.
bool writeRuta(const Session& session, const QString& path, QString* error = nullptr);
bool removeRuta(const Session& session);

// "No se puede abrir la base de datos <path>: <reason>", shared by every place that opens a file.
QString cannotOpenDatabaseMessage(const QString& path, const QString& reason);

// The positional format check of one column: true when "Id_Proveedor" is the 11th column of
// the table or "Total" its 7th. Opens the file on its own connection; any error gives false.
bool ComprobarDB(const QString& path, const QString& table, const QString& column);

// Both checks that a database opened by the user goes through.
struct FormatCheck {
    bool articulosOk = false;  // Articulos.Id_Proveedor at position 10
    bool facturasOk = false;   // Facturas.Total at position 6
    bool current() const { return articulosOk && facturasOk; }
};
FormatCheck checkFormat(const QString& path);

// The ALTER TABLE texts of the failed checks, in the order they run.
QStringList upgradeStatements(const FormatCheck& check);
// Runs them in one transaction: on failure nothing is changed and *error holds the
// database's own text.
bool upgradeFormat(Database& db, const FormatCheck& check, QString* error = nullptr);

// The five saved queries the listings use, in creation order.
struct SavedQuery {
    QString name;
    QString sql;
};
const std::vector<SavedQuery>& savedQueries();

// Who raised a saved-query error, shown before "-->" in its message.
inline constexpr const char* kSavedQueryErrorSource = "SQLite";

// Stores sql as the view `name`. A failure (including a query that names a missing table
// or view, which SQLite would only notice when the view is used) shows
// "<source>--><description>" titled "Error" and returns normally.
void CreateSavedQuery(Database& db, Dialogs& dialogs, const QString& sql, const QString& name);
// Creates the five only when the database holds no view at all.
// Returns how many were attempted (0 or 5).
int createSavedQueriesIfNone(Database& db, Dialogs& dialogs);

// "select Nombre from DatosEmpresa": the name of the first row, std::nullopt when the table
// has no row.
std::optional<QString> readCompanyName(Database& db);

}  // namespace torvane
