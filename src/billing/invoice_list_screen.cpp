#include "billing/invoice_list_screen.h"

#include "reports/informes.h"

namespace torvane {

InvoiceListScreen::InvoiceListScreen(Session& session, Services& services, Kind kind,
                                     QWidget* parent)
    : SearchScreen(session, services, parent), kind_(std::move(kind)) {
    setObjectName(kind_.name);
    setWindowTitle(kind_.title);
    grid()->setObjectName(QStringLiteral("MSHFacturas"));
    setOptions({QStringLiteral("Nombre"), QStringLiteral("Número")}, kind_.query);
    setColumns(kind_.columns);
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

void InvoiceListScreen::imprimir() {
    const QString number = grid()->currentValue(QStringLiteral("NFactura")).toString();
    if (number.isEmpty()) return;
    Informes::ImprimirInforme(session_, services_, kind_.formula(number), kind_.reportFile, true);
}

void InvoiceListScreen::eliminar() {
    const QString number = grid()->currentValue(QStringLiteral("NFactura")).toString();
    if (number.isEmpty()) return;
    try {
        kind_.remove(session_.db(), number, selectedId().toLongLong());
    } catch (const DbError& e) {
        dialogs_.critical(e.message());
    }
    requery();
}

}  // namespace torvane
