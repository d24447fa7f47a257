#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

namespace torvane {

class Database;

// The workshop's own data: the single row of DatosEmpresa, as the texts the screen shows,
// keyed by column name.
using CompanyData = QMap<QString, QString>;

// The eleven columns the company screen edits, in the order of its fields.
const QStringList& companyColumns();

// The first row of DatosEmpresa; std::nullopt when the table is empty.
std::optional<CompanyData> loadCompanyData(Database& db);

// True when none of the eleven values is empty (blanks count as empty).
bool companyDataComplete(const CompanyData& data);

// Writes the values into the first row, or adds the row when the table is empty, as one
// transaction. On failure nothing is stored and *error holds a Spanish reason.
bool saveCompanyData(Database& db, const CompanyData& data, QString* error = nullptr);

}  // namespace torvane
