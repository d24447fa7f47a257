#include "masters/busqueda_vehiculos.h"

#include "controls/screen.h"
#include "core/handoff.h"
#include "masters/busqueda_clientes.h"
#include "masters/clientes.h"
#include "masters/customers.h"
#include "masters/historial_veh.h"

namespace torvane {

namespace {
const QString kTowReport = QStringLiteral("PartesGrua");
}

BusquedaVehiculos::BusquedaVehiculos(Session& session, Services& services, QWidget* caller, Use use,
                                     const QVariant& towCustomerId, QWidget* parent)
    : SearchScreen(session, services, caller, {}, parent),
      use_(use),
      towCustomerId_(towCustomerId),
      fromTowReport_(caller && caller->objectName() == kTowReport) {
    setObjectName(QStringLiteral("BusquedaVehiculos"));
    setWindowTitle(QStringLiteral("Búsqueda de vehículos"));

    QList<SearchOption> options;
    const char* const captions[] = {"Matrícula", "Marca", "Modelo", "Cliente"};
    for (int i = 0; i < customers::kVehicleSearchOptions; ++i)
        options << SearchOption{QString::fromUtf8(captions[i]), [i](const QString& typed) {
                                    return customers::vehicleSearch(i, typed);
                                }};
    setOptions(options, 0);
    setColumns({
        {QStringLiteral("Id_Cli"), {}, ColumnKind::Hidden},
        {QStringLiteral("Matricula"), QStringLiteral("Matrícula"), ColumnKind::Text, 100},
        {QStringLiteral("Vehiculo"), QStringLiteral("Vehículo"), ColumnKind::Text, 200},
        {QStringLiteral("Cliente"), QStringLiteral("Cliente"), ColumnKind::Text, 220},
        {QStringLiteral("Id_Veh"), {}, ColumnKind::Hidden},
        {QStringLiteral("Color"), QStringLiteral("Color")},
    });
    setIdField(QStringLiteral("Id_Veh"));

    using When = RecordMode::When;
    const bool newVehicleForTow = fromTowReport_ && towCustomerId_.isValid();
    CommandBar* bar = setCommands({
        {QStringLiteral("CmdSeleccionar"),
         fromTowReport_ ? QStringLiteral("Seleccionar") : QStringLiteral("Nueva orden de trabajo"),
         [this] { onSelect(); }, When::BrowseWithRecord},
        {QStringLiteral("CmdHistorial"), QStringLiteral("Historial"), [this] { onHistory(); },
         When::BrowseWithRecord},
        {QStringLiteral("KewlButtons2"), QStringLiteral("Cambio de propietario"),
         [this] { onChangeOwner(); }, When::BrowseWithRecord},
        {QStringLiteral("KewlButtons1"), QStringLiteral("Nuevo cliente"),
         [this] { onNewCustomer(); }, When::Browse},
        {QStringLiteral("CmdNuevoVehiculo"), QStringLiteral("Nuevo vehículo"),
         [this] { onNewVehicle(); }, newVehicleForTow ? When::Browse : When::BrowseWithRecord},
        {QStringLiteral("CmdSalir"), QStringLiteral("Salir"), [this] { close(); }, When::Browse},
    });
    setDefaultCommand(bar->button(QStringLiteral("CmdSeleccionar")));
    // Choosing needs the screen that takes the choice.
    const bool canSelect =
        fromTowReport_ ? services_.handoffs().vehicleChoices.hasCaller(kTowReport)
                       : use_ == Use::WorkOrder && services_.handoffs().workOrders.hasOpener();
    mode().setForcedOff(QStringLiteral("CmdSeleccionar"), !canSelect);

    runQuery(customers::vehicleSearchInitial(fromTowReport_ ? towCustomerId_ : QVariant()));
    // An empty first list leaves the new-customer command off.
    mode().setForcedOff(QStringLiteral("KewlButtons1"), grid()->rowCount() == 0);
    resize(720, 480);
}

void BusquedaVehiculos::onSelect() {
    if (selectedId().isEmpty()) return;
    const int row = grid()->currentRowIndex();
    if (fromTowReport_) {
        VehicleChoice choice;
        choice.caller = caller_.data();
        choice.vehicleId = selectedId().toLongLong();
        choice.customerId = grid()->value(row, QStringLiteral("Id_Cli")).toLongLong();
        choice.plate = grid()->value(row, QStringLiteral("Matricula")).toString();
        const auto [make, model] =
            customers::splitVehicleText(grid()->value(row, QStringLiteral("Vehiculo")).toString());
        choice.make = make;
        choice.model = model;
        services_.handoffs().vehicleChoices.dispatch(kTowReport, choice);
        close();
        return;
    }
    NewWorkOrderRequest request;
    request.caller = this;
    request.vehicleId = selectedId().toLongLong();
    request.numbering = WorkOrderNumbering::NextNumber;
    services_.handoffs().workOrders.open(request);
}

void BusquedaVehiculos::onHistory() {
    if (selectedId().isEmpty()) return;
    openScreen(this, new HistorialVeh(session_, services_, selectedId().toLongLong()));
}

void BusquedaVehiculos::onChangeOwner() {
    if (selectedId().isEmpty()) return;
    dialogs_.information(QStringLiteral("Seleccione el nuevo propietario para este vehiculo."));
    openScreen(this,
               new BusquedaClientes(session_, services_, this, QStringLiteral("CambioPropietario"),
                                    selectedId().toLongLong()));
}

void BusquedaVehiculos::onNewCustomer() {
    auto* file = new Clientes(session_, services_);
    openScreen(this, file);
    file->startNewCustomer();
}

void BusquedaVehiculos::onNewVehicle() {
    QVariant owner = grid()->currentValue(QStringLiteral("Id_Cli"));
    if (fromTowReport_ && towCustomerId_.isValid()) owner = towCustomerId_;
    if (!owner.isValid() || owner.isNull()) return;
    auto* file = new Clientes(session_, services_);
    if (fromTowReport_) file->setCallerName(kTowReport);
    file->moveToCustomer(owner.toLongLong());
    openScreenInstead(this, file);
    file->startNewVehicle();
}

}  // namespace torvane
