#include "listings/address_labels.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include "data/database.h"

namespace torvane::listings {

namespace {

const char* const kSelect =
    "SELECT Id_Cli, Codigo, NIF, Nombre, Direccion, Localidad, Provincia, CP FROM Clientes ";

SqlStatement select(const char* rest, const QVariantList& params = {}) {
    return {QString::fromLatin1(kSelect) + QString::fromLatin1(rest), params};
}

QStringList linesOf(const QSqlQuery& q) {
    const QSqlRecord r = q.record();
    const auto text = [&](const char* field) { return q.value(r.indexOf(field)).toString(); };
    return addressLines(text("Nombre"), text("Direccion"), text("CP"), text("Localidad"),
                        text("Provincia"));
}

}  // namespace

QList<GridColumn> labelGridColumns() {
    // About 1200 and 3700 twips; the NIF a little wider, so a marked (bold) one fits.
    return {{QStringLiteral("Id_Cli"), {}, ColumnKind::Hidden},
            {QStringLiteral("Codigo"), {}, ColumnKind::Hidden},
            {QStringLiteral("NIF"), QStringLiteral("NIF"), ColumnKind::Text, 90},
            {QStringLiteral("Nombre"), QStringLiteral("Nombre"), ColumnKind::Text, 247},
            {QStringLiteral("Direccion"), {}, ColumnKind::Hidden},
            {QStringLiteral("Localidad"), {}, ColumnKind::Hidden},
            {QStringLiteral("Provincia"), {}, ColumnKind::Hidden},
            {QStringLiteral("CP"), {}, ColumnKind::Hidden}};
}

SqlStatement labelCustomersInitial() {
    return select("WHERE Codigo LIKE '%' ORDER BY Codigo, Id_Cli");
}

SqlStatement labelCustomerSearch(int option, const QString& typed) {
    // Each list comes in the order of the column searched, so the index that filters
    // also sorts; the plate search lists its customers by code.
    switch (option) {
        case 1:
            return select("WHERE NIF LIKE ? ORDER BY NIF, Id_Cli", {likePrefix(typed)});
        case 2:
            return select("WHERE Nombre LIKE ? ORDER BY Nombre, Id_Cli", {likePrefix(typed)});
        case 3:
            return select("WHERE Nombre LIKE ? ORDER BY Nombre, Id_Cli", {likeWordInside(typed)});
        case 4:
            return select(
                "WHERE Id_Cli IN (SELECT Id_Cli FROM Vehiculos WHERE Matricula LIKE ?) "
                "ORDER BY Codigo, Id_Cli",
                {likePrefix(typed)});
        default:
            return select("WHERE Codigo LIKE ? ORDER BY Codigo, Id_Cli", {likePrefix(typed)});
    }
}

std::set<qint64> listedCustomers(Database& db, const SqlStatement& listed) {
    std::set<qint64> ids;
    QSqlQuery q = db.execForward(listed.sql, listed.params);
    const int id = q.record().indexOf(QStringLiteral("Id_Cli"));
    while (q.next()) ids.insert(q.value(id).toLongLong());
    return ids;
}

QStringList addressLines(const QString& nombre, const QString& direccion, const QString& cp,
                         const QString& localidad, const QString& provincia) {
    return {nombre, direccion, cp + QStringLiteral("   ") + localidad, provincia};
}

std::vector<QStringList> labelsOfListed(Database& db, const SqlStatement& listed) {
    std::vector<QStringList> labels;
    QSqlQuery q = db.execForward(listed.sql, listed.params);
    while (q.next()) labels.push_back(linesOf(q));
    return labels;
}

std::vector<QStringList> labelsOfMarked(Database& db, const std::set<qint64>& marked) {
    std::vector<QStringList> labels;
    if (marked.empty()) return labels;
    // The marks may come from several searches: read the customers once, in code order.
    QSqlQuery q =
        db.execForward(QString::fromLatin1(kSelect) + QStringLiteral("ORDER BY Codigo, Id_Cli"));
    const int id = q.record().indexOf(QStringLiteral("Id_Cli"));
    while (q.next())
        if (marked.count(q.value(id).toLongLong())) labels.push_back(linesOf(q));
    return labels;
}

}  // namespace torvane::listings
