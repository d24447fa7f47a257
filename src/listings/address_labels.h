#pragma once

#include <QList>
#include <QStringList>
#include <set>
#include <vector>

#include "core/grid_column.h"
#include "core/sql_statement.h"

namespace torvane {
class Database;
}

// Customers' postal addresses for the labels screen: its lists and the lines of each label.
namespace torvane::listings {

// Id_Cli, Codigo, NIF, Nombre, Direccion, Localidad, Provincia, CP; only NIF and Nombre
// are shown.
QList<GridColumn> labelGridColumns();
// Every customer with a code, by code.
SqlStatement labelCustomersInitial();
// 0 code, 1 NIF, 2 name beginning with the text, 3 a word of the name, 4 a plate of one
// of the customer's vehicles (each customer once, with the address of the customer).
inline constexpr int kLabelSearchOptions = 5;
SqlStatement labelCustomerSearch(int option, const QString& typed);

// The customers a list statement gives, by Id_Cli.
std::set<qint64> listedCustomers(Database& db, const SqlStatement& listed);

// A label's four lines: name, address, post code and locality (three spaces between them,
// kept when the post code is empty), province.
QStringList addressLines(const QString& nombre, const QString& direccion, const QString& cp,
                         const QString& localidad, const QString& provincia);
// The labels of every customer a list statement gives, in its order.
std::vector<QStringList> labelsOfListed(Database& db, const SqlStatement& listed);
// The labels of the customers marked, by code.
std::vector<QStringList> labelsOfMarked(Database& db, const std::set<qint64>& marked);

}  // namespace torvane::listings
