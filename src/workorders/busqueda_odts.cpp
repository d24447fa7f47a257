#include "workorders/busqueda_odts.h"

#include "workorders/work_order_search.h"

namespace torvane {

BusquedaODTS::BusquedaODTS(Session& session, Services& services, Chosen chosen, QWidget* parent)
    : SearchScreen(session, services, parent), chosen_(std::move(chosen)) {
    setObjectName(QStringLiteral("BusquedaODTS"));
    setWindowTitle(QStringLiteral("Ordenes de Trabajo"));
    setOptions(workorders::pickerOptionCaptions(), [this](int option, const QString& typed) {
        return workorders::pickerSearch(session_.db(), option, typed);
    });
    setColumns(workorders::pickerColumns());
    setIdField(QStringLiteral("Id_ODT"));
    using When = RecordMode::When;
    CommandBar* bar = setCommands(
        {{QStringLiteral("CmdSeleccionar"), QStringLiteral("Seleccionar"), [this] { accept(); },
          When::BrowseWithRecord},
         {QStringLiteral("CmdSalir"), QStringLiteral("Salir"), [this] { close(); }, When::Browse}});
    setDefaultCommand(bar->button(QStringLiteral("CmdSeleccionar")));
    runQuery(workorders::pickerAll());
}

void BusquedaODTS::accept() {
    const QString number = grid()->currentValue(QStringLiteral("NODT")).toString();
    if (number.isEmpty()) return;
    if (chosen_) chosen_(number);
    close();
}

}  // namespace torvane
