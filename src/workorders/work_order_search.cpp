#include "workorders/work_order_search.h"

#include "data/database.h"

namespace torvane::workorders {

namespace {
// ODTS leads the join so the list walks the work orders' date index, newest first.
const char* const kPickerSelect =
    "SELECT ODTS.Id_ODT, ODTS.NODT, ODTS.Fecha, Clientes.Nombre FROM ODTS "
    "CROSS JOIN Clientes ON Clientes.Id_Cli = ODTS.Id_Cli ";
// Counting up to this many matches through the index tells a dense text from a rare one.
constexpr int kDense = 4000;
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

SqlStatement pickerSearch(Database& db, int option, const QString& typed) {
    if (typed.isEmpty()) return pickerAll();
    const QString condition =
        option == 0
            ? QStringLiteral("ODTS.NODT LIKE ?")
            : QStringLiteral("ODTS.Id_Cli IN (SELECT Id_Cli FROM Clientes WHERE Nombre LIKE ?)");
    const QVariantList like = {likePrefix(typed)};
    // A text that matches many work orders walks the date index newest first ("+" keeps the
    // column's own index out); one that matches few leads with its own index and sorts them.
    const bool dense = db.scalar(QStringLiteral("SELECT count(*) FROM (SELECT 1 FROM ODTS WHERE ") +
                                     condition + QStringLiteral(" LIMIT %1)").arg(kDense),
                                 like)
                           .toInt() >= kDense;
    return {
        QString::fromLatin1(kPickerSelect) + QStringLiteral("WHERE ") +
            (dense ? QStringLiteral("+") + condition + QStringLiteral(" ORDER BY ODTS.Fecha DESC")
                   : condition + QStringLiteral(" ORDER BY +ODTS.Fecha DESC")),
        like};
}

}  // namespace torvane::workorders
