#include "billing/list_comisiones.h"

#include "billing/commissions.h"
#include "reports/informes.h"

namespace torvane {

namespace fc = commissions;

ListComisiones::ListComisiones(Session& session, Services& services, QWidget* parent)
    : SearchScreen(session, services, parent) {
    setObjectName(QStringLiteral("ListComisiones"));
    setWindowTitle(QStringLiteral("Listado de facturas de comisiones"));
    grid()->setObjectName(QStringLiteral("MSHFacturas"));
    setOptions({QStringLiteral("Nombre"), QStringLiteral("Número")}, fc::list);
    setColumns(fc::listColumns());
    setIdField(QStringLiteral("Id"));
    using When = RecordMode::When;
    setCommands(
        {{QStringLiteral("CmdImprimir"), QStringLiteral("Imprimir"), [this] { imprimir(); },
          When::BrowseWithRecord},
         {QStringLiteral("CmdEliminarFact"), QStringLiteral("Eliminar"), [this] { eliminar(); },
          When::BrowseWithRecord},
         {QStringLiteral("CmdSalir"), QStringLiteral("Salir"), [this] { close(); }, When::Browse}});
    requery();
}

void ListComisiones::imprimir() {
    const QString number = grid()->currentValue(QStringLiteral("NFactura")).toString();
    if (number.isEmpty()) return;
    Informes::ImprimirInforme(session_, services_, fc::reportFormula(number),
                              QString::fromLatin1(fc::kReportFile), true);
}

void ListComisiones::eliminar() {
    const QString number = grid()->currentValue(QStringLiteral("NFactura")).toString();
    if (number.isEmpty()) return;
    try {
        fc::remove(session_.db(), number);
    } catch (const DbError& e) {
        dialogs_.critical(e.message());
    }
    requery();
}

}  // namespace torvane
