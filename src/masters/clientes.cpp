#include "masters/clientes.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "controls/command_bar.h"
#include "controls/form_fields.h"
#include "controls/keyboard_classes.h"
#include "controls/opc_entrada.h"
#include "controls/screen.h"
#include "controls/tax_id_field.h"
#include "masters/busqueda_clientes.h"
#include "masters/customers.h"
#include "masters/historial_veh.h"

namespace torvane {

using Action = RecordController::Action;
using When = RecordMode::When;

namespace {

const QString kNoCurrent = QStringLiteral("Ningún registro activo");

}  // namespace

Clientes::Clientes(Session& session, Services& services, QWidget* parent)
    : QWidget(parent), session_(session), services_(services), dialogs_(services.dialogs()) {
    setObjectName(QStringLiteral("Clientes"));
    setWindowTitle(QStringLiteral("Clientes"));

    auto* layout = new QVBoxLayout(this);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("SSTab1"));
    layout->addWidget(tabs_, 1);
    auto* personal = new QWidget(tabs_);
    auto* vehiclesTab = new QWidget(tabs_);
    auto* historyTab = new QWidget(tabs_);
    tabs_->addTab(personal, QStringLiteral("Datos personales"));
    tabs_->addTab(vehiclesTab, QStringLiteral("Vehículos"));
    tabs_->addTab(historyTab, QStringLiteral("Historial"));
    buildPersonalTab(personal);
    buildVehiclesTab(vehiclesTab);
    buildHistoryTab(historyTab);

    applyKeyClasses(this, {{KeyClass::K2, "TxtCodigo"},
                           {KeyClass::K3, "TxtDescuento txtDiaPago txtFax txtMovil txtTelefono"},
                           {KeyClass::K4,
                            "txtBanco txtCalle txtCodColor txtCodContable txtCodLlave "
                            "txtCodRadio txtColor txtEmpresa txtFormaPago txtLocalidad "
                            "txtMarca txtMatricula txtModelo TxtNif txtNombre txtNotas "
                            "txtNumChasis txtNumCuenta TxtNumMotor txtProvincia txtSucursal"},
                           {KeyClass::K7, "txtCodPostal"}});
    TaxIdOptions taxOptions;
    taxOptions.validateCifOnOption = true;
    TaxIdField::attach(this, dialogs_, QStringLiteral("txtCodContable"), taxOptions);

    setUpCustomerRecord();
    setUpVehicleRecord();
    layout->addWidget(customerCommands_);
    customer_->open();
    connect(txtId_, &QLineEdit::textChanged, this, [this] {
        const QVariant id = currentCustomerId();
        if (id.isValid())
            parts_->run(session_.db(), customers::partsBoughtBy(id.toLongLong()), dialogs_);
        else
            parts_->clearRows();
        vehicle_->setKeys(customers::vehicleKeysOf(id));
    });
    Q_EMIT txtId_->textChanged(txtId_->text());
    resize(960, 620);
}

void Clientes::setUpCustomerRecord() {
    RecordController::Setup setup;
    setup.table = QStringLiteral("Clientes");
    setup.keyColumn = QStringLiteral("Id_Cli");
    setup.keys = customers::customerKeys(customers::CustomerOrder::Stored);
    setup.fields = customers::customerFields();
    setup.lockedControls = {QStringLiteral("OptNIF"), QStringLiteral("OptCIF"),
                            QStringLiteral("OptLIBRE")};
    setup.keyField = QStringLiteral("TxtId");
    setup.firstField = QStringLiteral("txtNombre");
    setup.deleteQuestion = QStringLiteral("Seguro que quiere eliminar el registro ");
    setup.deleteQuestionField = QStringLiteral("txtNombre");
    setup.allDeletedMessage = QStringLiteral("Se han eliminado todos los clientes");
    setup.tabs = tabs_;

    RecordController::Hooks hooks;
    hooks.propose = [this]() -> std::optional<Row> {
        const QString code = customers::proposeCustomerCode(session_.db());
        // New customers are walked in code order from here on.
        customer_->setKeys(customers::customerKeys(customers::CustomerOrder::CodeValue));
        return Row{{QStringLiteral("Codigo"), code}};
    };
    hooks.check = customers::checkCustomer;
    hooks.save = [this](const QVariant& key, const Row& values) -> QVariant {
        const qint64 id = customers::saveCustomer(session_.db(), key, values);
        txtId_->clear();  // the grids follow the saved customer even when it was current
        return id;
    };
    hooks.remove = [this](const QVariant& key) {
        return customers::deleteCustomer(session_.db(), key.toLongLong());
    };
    customer_ = new RecordController(this, session_, dialogs_, setup, hooks);

    auto* bar = customer_->commandBar(
        this, customer_->standardCommands(QStringLiteral("CmdBuscarCli"), [this] {
            openScreen(this,
                       new BusquedaClientes(session_, services_, this, QStringLiteral("Clientes")));
        }));
    bar->setObjectName(QStringLiteral("FrameComandos"));
    customerCommands_ = bar;
    connect(&customer_->mode(), &RecordMode::changed, this, &Clientes::updateTabs);
    connect(customer_, &RecordController::reloaded, this, &Clientes::updateTabs);
}

void Clientes::setUpVehicleRecord() {
    RecordController::Setup setup;
    setup.table = QStringLiteral("Vehiculos");
    setup.keyColumn = QStringLiteral("Id_Veh");
    setup.keys = customers::vehicleKeysOf({});
    setup.fields = customers::vehicleFields();
    setup.firstField = QStringLiteral("txtMatricula");
    setup.deleteQuestion = QStringLiteral("Seguro que quiere eliminar el vehículo con matrícula ");
    setup.deleteQuestionField = QStringLiteral("txtMatricula");
    setup.allDeletedMessage =
        QStringLiteral("Se han eliminado todos los vehiculos para este cliente");
    setup.dates = {dates_[0], dates_[1]};
    setup.listGrid = vehicles_;

    RecordController::Hooks hooks;
    hooks.propose = [this]() -> std::optional<Row> {
        if (!currentCustomerId().isValid()) return std::nullopt;
        vehicle_->last();  // a new vehicle goes after the others
        frame3_->setVisible(true);
        return Row{{QStringLiteral("Id_Cli"), currentCustomerId()}};
    };
    hooks.check = customers::checkVehicle;
    hooks.save = [this](const QVariant& key, const Row& values) -> QVariant {
        return customers::saveVehicle(session_.db(), key, txtIdCliVeh_->text().toLongLong(),
                                      values);
    };
    hooks.remove = [this](const QVariant& key) {
        customers::deleteVehicle(session_.db(), key.toLongLong());
        return QString();
    };
    hooks.shown = [this](const Row& row) { vehicleShown(row); };
    vehicle_ = new RecordController(this, session_, dialogs_, setup, hooks);
    connect(vehicle_, &RecordController::reloaded, this, &Clientes::vehiclesReloaded);
    connect(&vehicle_->mode(), &RecordMode::changed, this, &Clientes::updateTabs);

    newVehicleRow_->addWidget(
        new CommandBar(this,
                       {vehicle_->command(Action::New, QStringLiteral("CmdNuevoV"),
                                          QStringLiteral("Nuevo vehículo"))},
                       &vehicle_->mode()));
    vehicleCommandsRow_->addWidget(new CommandBar(
        frame3_,
        vehicle_->editCommands(QStringLiteral("V")) +
            QList<CommandRow>{
                {QStringLiteral("KewlButtons2"), QStringLiteral("Cambio de propietario"),
                 [this] { onChangeOwner(); }, When::BrowseWithRecord},
                {QStringLiteral("CmdHistorial"), QStringLiteral("Historial"),
                 [this] { onHistory(); }, When::BrowseWithRecord},
                {QStringLiteral("CmdSeleccionar"), QStringLiteral("Nueva orden de trabajo"),
                 [this] { onNewWorkOrder(); }, When::BrowseWithRecord},
            },
        &vehicle_->mode()));
    setCallerName(callerName_);
}

void Clientes::buildPersonalTab(QWidget* tab) {
    auto* outer = new QVBoxLayout(tab);
    QGridLayout* grid = addFormGrid(outer);
    txtId_ = addHiddenField(tab, QStringLiteral("TxtId"));
    addFields(tab, grid,
              {{"Código:", "TxtCodigo", 0, 0, 1, 120},
               {"Nombre:", "txtNombre", 1, 0, 3},
               {"Empresa:", "txtEmpresa", 2, 0, 3}});
    auto* nifLabel = new QLabel(QStringLiteral("NIF:"), tab);  // fields in tab order
    nifLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(nifLabel, 3, 0);
    grid->addLayout(taxIdRow(tab, false), 3, 1);
    addFields(tab, grid,
              {{"Cód. contable:", "txtCodContable", 3, 2},
               {"Dirección:", "txtCalle", 4, 0, 3},
               {"Localidad:", "txtLocalidad", 5, 0},
               {"Provincia:", "txtProvincia", 5, 2},
               {"C.P.:", "txtCodPostal", 6, 0, 1, 120},
               {"Teléfono:", "txtTelefono", 6, 2},
               {"Móvil:", "txtMovil", 7, 0},
               {"Fax:", "txtFax", 7, 2}});

    auto* bank = new QGroupBox(QStringLiteral("Datos Bancarios"), tab);
    bank->setObjectName(QStringLiteral("Frame2"));
    addFields(bank, addFormGrid(new QVBoxLayout(bank)),
              {{"Forma de pago:", "txtFormaPago", 0, 0, 3},
               {"Descuento %:", "TxtDescuento", 1, 0, 1, 80},
               {"Día de pago:", "txtDiaPago", 1, 2, 1, 80},
               {"Nº cuenta:", "txtNumCuenta", 2, 0, 3},
               {"Banco:", "txtBanco", 3, 0},
               {"Sucursal:", "txtSucursal", 3, 2}});
    outer->addWidget(bank);
    outer->addStretch();
}

void Clientes::buildVehiclesTab(QWidget* tab) {
    auto* outer = new QVBoxLayout(tab);
    vehicles_ = new DataGrid(QStringLiteral("MSHVehiculos"), tab);
    vehicles_->setColumns(customers::vehicleColumns());
    vehicles_->setMinimumHeight(120);
    outer->addWidget(vehicles_, 1);
    newVehicleRow_ = new QHBoxLayout;
    outer->addLayout(newVehicleRow_);

    frame3_ = new QGroupBox(QStringLiteral("Datos del vehículo"), tab);
    frame3_->setObjectName(QStringLiteral("Frame3"));
    auto* frameLayout = new QVBoxLayout(frame3_);
    QGridLayout* grid = addFormGrid(frameLayout);
    txtIdCliVeh_ = addHiddenField(frame3_, QStringLiteral("TxtIdCliVeh"));
    addFields(frame3_, grid,
              {{"Matrícula:", "txtMatricula", 0, 0},
               {"Color:", "txtColor", 0, 2},
               {"Marca:", "txtMarca", 1, 0},
               {"Cód. color:", "txtCodColor", 1, 2},
               {"Modelo:", "txtModelo", 2, 0},
               {"Cód. llave:", "txtCodLlave", 2, 2},
               {"Nº chasis:", "txtNumChasis", 3, 0},
               {"Cód. radio:", "txtCodRadio", 3, 2},
               {"Nº motor:", "TxtNumMotor", 4, 0}});
    auto today = [this] { return session_.today(); };
    dates_[0] = addDateField(frame3_, grid, 4, 2, QStringLiteral("Fecha venta:"),
                             QStringLiteral("txtFechaVenta"), QStringLiteral("OpcFechaVenta"),
                             dialogs_, today);
    dates_[1] =
        addDateField(frame3_, grid, 5, 2, QStringLiteral("Próxima ITV:"),
                     QStringLiteral("txtFechaItv"), QStringLiteral("OpcFechaItv"), dialogs_, today);
    addFields(frame3_, grid, {{"Notas:", "txtNotas", 6, 0, 3}});
    vehicleCommandsRow_ = new QHBoxLayout;
    frameLayout->addLayout(vehicleCommandsRow_);
    outer->addWidget(frame3_);
}

void Clientes::buildHistoryTab(QWidget* tab) {
    auto* outer = new QVBoxLayout(tab);
    vehicles2_ = addGrid(tab, outer, QStringLiteral("Vehículos del cliente"),
                         QStringLiteral("MSHVehiculos2"), customers::vehicleColumns(), 0);
    vehicles2_->setMaximumHeight(130);
    auto* inner = new QTabWidget(tab);
    inner->setObjectName(QStringLiteral("SSTab2"));
    auto* partsTab = new QWidget(inner);
    auto* repairsTab = new QWidget(inner);
    inner->addTab(partsTab, QStringLiteral("Recambios"));
    inner->addTab(repairsTab, QStringLiteral("Reparaciones"));
    outer->addWidget(inner, 1);
    parts_ = addGrid(partsTab, new QVBoxLayout(partsTab), {}, QStringLiteral("MSHRecambios"),
                     customers::partsColumns());

    auto* repairs = new QVBoxLayout(repairsTab);
    workOrders_ = addGrid(repairsTab, repairs, QStringLiteral("ODTS (Ordenes de Trabajo)"),
                          QStringLiteral("MSHODTS"), customers::workOrderColumns());
    addDetailPair(repairsTab, repairs, workOrders_, QStringLiteral("NODT"),
                  {QStringLiteral("Trabajos realizados para la odt seleccionada"),
                   QStringLiteral("MSHTrabajosODT"), customers::jobColumns(),
                   [](const QVariant& v) { return customers::jobsOfWorkOrder(v.toString()); }},
                  {QStringLiteral("Materiales empleados"), QStringLiteral("MSHMateriales"),
                   customers::materialColumns(),
                   [](const QVariant& v) { return customers::materialsOfWorkOrder(v.toString()); }},
                  session_, dialogs_);
    followSelection(
        vehicles2_, QStringLiteral("Id_Veh"), workOrders_,
        [](const QVariant& v) { return customers::workOrdersOfVehicle(v.toLongLong()); }, session_,
        dialogs_);
}

void Clientes::setCallerName(const QString& name) {
    callerName_ = name;
    // Without a work-order editor, or for the tow report, no work order starts here.
    vehicle_->mode().setForcedOff(
        QStringLiteral("CmdSeleccionar"),
        !services_.handoffs().workOrders.hasOpener() || callerName_ == QLatin1String("PartesGrua"));
}

QVariant Clientes::currentCustomerId() const {
    return txtId_->text().isEmpty() ? QVariant() : QVariant(txtId_->text().toLongLong());
}

QVariant Clientes::currentVehicleId() const {
    return vehicle_->currentKey();
}

void Clientes::startNewCustomer() {
    customer_->startNew();
}

bool Clientes::moveToCustomer(qint64 customerId) {
    return !isEditing() && customer_->moveToKey(customerId);
}

void Clientes::startNewVehicle() {
    tabs_->setCurrentIndex(1);
    vehicle_->startNew();
}

void Clientes::vehiclesReloaded() {
    const QVariant id = currentCustomerId();
    for (DataGrid* grid : {vehicles_, vehicles2_}) {
        if (id.isValid())
            grid->run(session_.db(), customers::vehiclesOf(id.toLongLong()), dialogs_);
        else
            grid->clearRows();
    }
}

void Clientes::vehicleShown(const Row& row) {
    txtIdCliVeh_->setText(row.value(QStringLiteral("Id_Cli")).toString());
    if (!vehicle_->isEditing()) frame3_->setVisible(!vehicle_->list().isEmpty());
}

void Clientes::updateTabs() {
    const bool editingCustomer = customer_->isEditing();
    const bool editingVehicle = vehicle_ && vehicle_->isEditing();
    const bool hasCustomer = !customer_->list().isEmpty();
    tabs_->setTabEnabled(0, !editingVehicle);
    tabs_->setTabEnabled(1, !editingCustomer && hasCustomer);
    tabs_->setTabEnabled(2, !editingCustomer && !editingVehicle && hasCustomer);
    if (customerCommands_) customerCommands_->setEnabled(!editingVehicle);
    vehicles_->setEnabled(!editingVehicle);
    if (vehicle_) vehicle_->mode().setForcedOff(QStringLiteral("CmdNuevoV"), !hasCustomer);
}

void Clientes::onChangeOwner() {
    const QVariant id = currentVehicleId();
    if (!id.isValid()) {
        dialogs_.critical(kNoCurrent);
        return;
    }
    dialogs_.information(QStringLiteral("Seleccione el nuevo propietario para este vehiculo."));
    openScreen(this, new BusquedaClientes(session_, services_, this,
                                          QStringLiteral("CambioPropietario"), id));
}

void Clientes::onNewWorkOrder() {
    const QVariant id = currentVehicleId();
    if (!id.isValid()) return;
    NewWorkOrderRequest request;
    request.caller = this;
    request.vehicleId = id.toLongLong();
    request.numbering = WorkOrderNumbering::ProbeLoop;
    services_.handoffs().workOrders.open(request);
}

void Clientes::onHistory() {
    QVariant id = currentVehicleId();
    if (tabs_->currentIndex() == 2 && vehicles2_->currentRowIndex() >= 0)
        id = vehicles2_->currentValue(QStringLiteral("Id_Veh"));
    if (!id.isValid() || id.isNull()) {
        dialogs_.critical(kNoCurrent);
        return;
    }
    openScreen(this, new HistorialVeh(session_, services_, id.toLongLong()));
}

}  // namespace torvane
