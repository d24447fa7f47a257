#include "workorders/work_order_search.h"

namespace torvane::workorders {

namespace {
// ODTS leads the join so the list walks the work orders' date index, newest first.
const char* const kPickerSelect =
    "SELECT ODTS.Id_ODT, ODTS.NODT, ODTS.Fecha, Clientes.Nombre FROM ODTS "
    "CROSS JOIN Clientes ON Clientes.Id_Cli = ODTS.Id_Cli ";
}  // namespace

const QList<GridColumn>& pickerColumns() {
    static const QList<GridColumn> columns = {
        {QStringLiteral("Id_ODT"), {}, ColumnKind::Hidden},
        {QStringLiteral("NODT"), {}, ColumnKind::Text, 110},
        {QStringLiteral("Fecha"), {}, ColumnKind::Date, 80},
        {QStringLiteral("Nombre"), QStringLiteral("Cliente"), ColumnKind::Text, 300},
    };
    return columns;
}

SqlStatement pickerAll() {
    return {QString::fromLatin1(kPickerSelect) + QStringLiteral("ORDER BY ODTS.Fecha DESC"), {}};
}

QStringList pickerOptionCaptions() {
    return {QStringLiteral("NODT"), QStringLiteral("Cliente")};
}

SqlStatement pickerSearch(int option, const QString& typed) {
    if (typed.isEmpty()) return pickerAll();
    // A typed text leads with the index of what it matches; "+" keeps the date index out.
    const QString where =
        option == 0
            ? QStringLiteral("WHERE ODTS.NODT LIKE ? ")
            : QStringLiteral(
                  "WHERE ODTS.Id_Cli IN (SELECT Id_Cli FROM Clientes WHERE Nombre LIKE ?) ");
    return {
        QString::fromLatin1(kPickerSelect) + where + QStringLiteral("ORDER BY +ODTS.Fecha DESC"),
        {likePrefix(typed)}};
}

}  // namespace torvane::workorders
