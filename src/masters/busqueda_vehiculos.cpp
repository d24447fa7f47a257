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
    : SearchScreen(session, services, parent),
      caller_(caller),
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

    QPushButton* select = addCommand(
        QStringLiteral("CmdSeleccionar"),
        fromTowReport_ ? QStringLiteral("Seleccionar") : QStringLiteral("Nueva orden de trabajo"));
    connect(select, &QPushButton::clicked, this, &BusquedaVehiculos::onSelect);
    connect(addCommand(QStringLiteral("CmdHistorial"), QStringLiteral("Historial")),
            &QPushButton::clicked, this, &BusquedaVehiculos::onHistory);
    connect(addCommand(QStringLiteral("KewlButtons2"), QStringLiteral("Cambio de propietario")),
            &QPushButton::clicked, this, &BusquedaVehiculos::onChangeOwner);
    connect(addCommand(QStringLiteral("KewlButtons1"), QStringLiteral("Nuevo cliente")),
            &QPushButton::clicked, this, &BusquedaVehiculos::onNewCustomer);
    connect(addCommand(QStringLiteral("CmdNuevoVehiculo"), QStringLiteral("Nuevo vehículo")),
            &QPushButton::clicked, this, &BusquedaVehiculos::onNewVehicle);
    connect(addCommand(QStringLiteral("CmdSalir"), QStringLiteral("Salir")), &QPushButton::clicked,
            this, &QWidget::close);
    setDefaultCommand(select);
    connect(this, &SearchScreen::selectedRowChanged, this, &BusquedaVehiculos::updateCommands);

    runQuery(customers::vehicleSearchInitial(fromTowReport_ ? towCustomerId_ : QVariant()));
    startedEmpty_ = grid()->rowCount() == 0;
    updateCommands();
    resize(720, 480);
}

void BusquedaVehiculos::updateCommands() {
    const bool row = !selectedId().isEmpty();
    bool canSelect = false;
    if (fromTowReport_)
        canSelect = services_.handoffs().vehicleChoices.hasCaller(kTowReport);
    else
        canSelect = use_ == Use::WorkOrder && services_.handoffs().workOrders.hasOpener();
    auto enable = [this](const char* name, bool on) {
        if (auto* b = findChild<QPushButton*>(QString::fromLatin1(name))) b->setEnabled(on);
    };
    enable("CmdSeleccionar", row && canSelect);
    enable("CmdHistorial", row);
    enable("KewlButtons2", row);
    enable("CmdNuevoVehiculo", row || (fromTowReport_ && towCustomerId_.isValid()));
    // An empty first list leaves the new-customer command off, as it always has.
    enable("KewlButtons1", !startedEmpty_);
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
