#include "billing/list_fac_libres.h"

#include "billing/free_invoices.h"
#include "reports/informes.h"

namespace torvane {

namespace fi = free_invoices;

ListFacLibres::ListFacLibres(Session& session, Services& services, QWidget* parent)
    : SearchScreen(session, services, parent) {
    setObjectName(QStringLiteral("ListFacLibres"));
    setWindowTitle(QStringLiteral("Listado de facturas libres"));
    grid()->setObjectName(QStringLiteral("MSHFacturas"));
    setOptions({QStringLiteral("Nombre"), QStringLiteral("Número")}, fi::list);
    setColumns(fi::listColumns());
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

void ListFacLibres::imprimir() {
    const QString number = grid()->currentValue(QStringLiteral("NFactura")).toString();
    if (number.isEmpty()) return;
    Informes::ImprimirInforme(session_, services_, fi::reportFormula(number),
                              QString::fromLatin1(fi::kReportFile), true);
}

void ListFacLibres::eliminar() {
    if (selectedId().isEmpty()) return;
    try {
        fi::remove(session_.db(), selectedId().toLongLong());
    } catch (const DbError& e) {
        dialogs_.critical(e.message());
    }
    requery();
}

}  // namespace torvane
