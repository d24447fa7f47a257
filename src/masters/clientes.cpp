#include "masters/clientes.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSplitter>
#include <QVBoxLayout>

#include "controls/keyboard_classes.h"
#include "controls/navigation_bar.h"
#include "controls/opc_entrada.h"
#include "controls/record_screen_binder.h"
#include "controls/screen.h"
#include "controls/tax_id_field.h"
#include "core/handoff.h"
#include "masters/busqueda_clientes.h"
#include "masters/historial_veh.h"

namespace torvane {

using customers::CustomerOrder;

namespace {

QLineEdit* addField(QWidget* owner, QGridLayout* grid, int row, int column, const QString& caption,
                    const QString& name, int span = 1) {
    auto* label = new QLabel(caption, owner);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* edit = new QLineEdit(owner);
    edit->setObjectName(name);
    label->setBuddy(edit);
    grid->addWidget(label, row, column);
    grid->addWidget(edit, row, column + 1, 1, span);
    return edit;
}

QPushButton* addButton(QWidget* owner, QBoxLayout* row, const QString& name,
                       const QString& caption) {
    auto* b = new QPushButton(caption, owner);
    b->setObjectName(name);
    b->setAutoDefault(false);
    row->addWidget(b);
    return b;
}

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
    customerFields_ = BoundFields(this, customers::customerFields());
    vehicleFields_ = BoundFields(this, customers::vehicleFields());

    customerCommands_ = new QWidget(this);
    customerCommands_->setObjectName(QStringLiteral("FrameComandos"));
    auto* commands = new QHBoxLayout(customerCommands_);
    commands->setContentsMargins(0, 0, 0, 0);
    auto* nav = new NavigationBar(QStringLiteral("KewlButtons1"), customerCommands_);
    commands->addWidget(nav);
    commands->addStretch();
    connect(
        addButton(customerCommands_, commands, QStringLiteral("CmdNuevo"), QStringLiteral("Nuevo")),
        &QPushButton::clicked, this, &Clientes::onNew);
    connect(addButton(customerCommands_, commands, QStringLiteral("CmdModificar"),
                      QStringLiteral("Modificar")),
            &QPushButton::clicked, this, &Clientes::onModify);
    connect(addButton(customerCommands_, commands, QStringLiteral("CmdGuardar"),
                      QStringLiteral("Guardar")),
            &QPushButton::clicked, this, &Clientes::onSave);
    connect(addButton(customerCommands_, commands, QStringLiteral("CmdCancelar"),
                      QStringLiteral("Cancelar")),
            &QPushButton::clicked, this, &Clientes::onCancel);
    connect(addButton(customerCommands_, commands, QStringLiteral("CmdEliminar"),
                      QStringLiteral("Eliminar")),
            &QPushButton::clicked, this, &Clientes::onDelete);
    connect(addButton(customerCommands_, commands, QStringLiteral("CmdBuscarCli"),
                      QStringLiteral("Buscar")),
            &QPushButton::clicked, this, &Clientes::onSearch);
    connect(
        addButton(customerCommands_, commands, QStringLiteral("CmdSalir"), QStringLiteral("Salir")),
        &QPushButton::clicked, this, &QWidget::close);
    layout->addWidget(customerCommands_);

    connect(nav, &NavigationBar::first, this, [this] { navigate(0); });
    connect(nav, &NavigationBar::previous, this, [this] { navigate(1); });
    connect(nav, &NavigationBar::next, this, [this] { navigate(2); });
    connect(nav, &NavigationBar::last, this, [this] { navigate(3); });

    // Keyboard behaviour of every field.
    applyKeyClasses(
        this,
        {
            {KeyClass::K2, {QStringLiteral("TxtCodigo")}},
            {KeyClass::K3,
             {QStringLiteral("TxtDescuento"), QStringLiteral("txtDiaPago"),
              QStringLiteral("txtFax"), QStringLiteral("txtMovil"), QStringLiteral("txtTelefono")}},
            {KeyClass::K4, {QStringLiteral("txtBanco"),     QStringLiteral("txtCalle"),
                            QStringLiteral("txtCodColor"),  QStringLiteral("txtCodContable"),
                            QStringLiteral("txtCodLlave"),  QStringLiteral("txtCodRadio"),
                            QStringLiteral("txtColor"),     QStringLiteral("txtEmpresa"),
                            QStringLiteral("txtFormaPago"), QStringLiteral("txtLocalidad"),
                            QStringLiteral("txtMarca"),     QStringLiteral("txtMatricula"),
                            QStringLiteral("txtModelo"),    QStringLiteral("TxtNif"),
                            QStringLiteral("txtNombre"),    QStringLiteral("txtNotas"),
                            QStringLiteral("txtNumChasis"), QStringLiteral("txtNumCuenta"),
                            QStringLiteral("TxtNumMotor"),  QStringLiteral("txtProvincia"),
                            QStringLiteral("txtSucursal")}},
            {KeyClass::K7, {QStringLiteral("txtCodPostal")}},
        });
    TaxIdOptions taxOptions;
    taxOptions.validateCifOnOption = true;
    TaxIdField::attach(this, dialogs_, QStringLiteral("txtCodContable"), taxOptions);

    // Browse/edit of the customer record.
    customerMode_.configure(
        {QStringLiteral("CmdNuevo"), QStringLiteral("CmdSalir"), QStringLiteral("KewlButtons1")},
        {QStringLiteral("CmdModificar"), QStringLiteral("CmdEliminar"),
         QStringLiteral("CmdBuscarCli")},
        {QStringLiteral("CmdGuardar"), QStringLiteral("CmdCancelar")});
    new RecordScreenBinder(this, &customerMode_,
                           customerFields_.controlNames() +
                               QStringList{QStringLiteral("OptNIF"), QStringLiteral("OptCIF"),
                                           QStringLiteral("OptLIBRE")});
    // Browse/edit of the vehicle record, within the vehicles tab.
    vehicleMode_.configure({QStringLiteral("CmdNuevoV")},
                           {QStringLiteral("CmdModificarV"), QStringLiteral("CmdEliminarV"),
                            QStringLiteral("KewlButtons2"), QStringLiteral("CmdSeleccionar"),
                            QStringLiteral("CmdHistorial")},
                           {QStringLiteral("CmdGuardarV"), QStringLiteral("CmdCancelarV")});
    new RecordScreenBinder(this, &vehicleMode_, vehicleFields_.controlNames());
    connect(&customerMode_, &RecordMode::changed, this, &Clientes::updateTabs);
    connect(&vehicleMode_, &RecordMode::changed, this, &Clientes::updateTabs);

    connect(txtId_, &QLineEdit::textChanged, this, &Clientes::refreshCustomerGrids);

    loadList(CustomerOrder::Stored);
    showCurrent();
    resize(960, 620);
}

QLineEdit* Clientes::field(const QString& name) const {
    return findChild<QLineEdit*>(name);
}

void Clientes::buildPersonalTab(QWidget* tab) {
    auto* outer = new QVBoxLayout(tab);
    auto* grid = new QGridLayout;
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    outer->addLayout(grid);

    txtId_ = new QLineEdit(tab);
    txtId_->setObjectName(QStringLiteral("TxtId"));
    txtId_->setVisible(false);

    QLineEdit* code =
        addField(tab, grid, 0, 0, QStringLiteral("Código:"), QStringLiteral("TxtCodigo"));
    code->setMaximumWidth(120);
    addField(tab, grid, 1, 0, QStringLiteral("Nombre:"), QStringLiteral("txtNombre"), 3);
    addField(tab, grid, 2, 0, QStringLiteral("Empresa:"), QStringLiteral("txtEmpresa"), 3);

    auto* nifLabel = new QLabel(QStringLiteral("NIF:"), tab);
    nifLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* nifRow = new QHBoxLayout;
    auto* nif = new QLineEdit(tab);
    nif->setObjectName(QStringLiteral("TxtNif"));
    nifLabel->setBuddy(nif);
    nifRow->addWidget(nif, 1);
    auto* optNif = new QRadioButton(QStringLiteral("NIF"), tab);
    optNif->setObjectName(QStringLiteral("OptNIF"));
    auto* optCif = new QRadioButton(QStringLiteral("CIF"), tab);
    optCif->setObjectName(QStringLiteral("OptCIF"));
    auto* optLibre = new QRadioButton(QStringLiteral("LIBRE"), tab);
    optLibre->setObjectName(QStringLiteral("OptLIBRE"));
    optNif->setFocusPolicy(Qt::NoFocus);
    optCif->setFocusPolicy(Qt::NoFocus);
    optLibre->setFocusPolicy(Qt::NoFocus);
    {
        // The customer file starts on free text so that opening it asks nothing.
        const QSignalBlocker block(optLibre);
        optLibre->setChecked(true);
    }
    nifRow->addWidget(optNif);
    nifRow->addWidget(optCif);
    nifRow->addWidget(optLibre);
    grid->addWidget(nifLabel, 3, 0);
    grid->addLayout(nifRow, 3, 1);
    addField(tab, grid, 3, 2, QStringLiteral("Cód. contable:"), QStringLiteral("txtCodContable"));

    addField(tab, grid, 4, 0, QStringLiteral("Dirección:"), QStringLiteral("txtCalle"), 3);
    addField(tab, grid, 5, 0, QStringLiteral("Localidad:"), QStringLiteral("txtLocalidad"));
    addField(tab, grid, 5, 2, QStringLiteral("Provincia:"), QStringLiteral("txtProvincia"));
    addField(tab, grid, 6, 0, QStringLiteral("C.P.:"), QStringLiteral("txtCodPostal"))
        ->setMaximumWidth(120);
    addField(tab, grid, 6, 2, QStringLiteral("Teléfono:"), QStringLiteral("txtTelefono"));
    addField(tab, grid, 7, 0, QStringLiteral("Móvil:"), QStringLiteral("txtMovil"));
    addField(tab, grid, 7, 2, QStringLiteral("Fax:"), QStringLiteral("txtFax"));

    auto* bank = new QGroupBox(QStringLiteral("Datos Bancarios"), tab);
    bank->setObjectName(QStringLiteral("Frame2"));
    auto* bankGrid = new QGridLayout(bank);
    bankGrid->setColumnStretch(1, 1);
    bankGrid->setColumnStretch(3, 1);
    addField(bank, bankGrid, 0, 0, QStringLiteral("Forma de pago:"), QStringLiteral("txtFormaPago"),
             3);
    addField(bank, bankGrid, 1, 0, QStringLiteral("Descuento %:"), QStringLiteral("TxtDescuento"))
        ->setMaximumWidth(80);
    addField(bank, bankGrid, 1, 2, QStringLiteral("Día de pago:"), QStringLiteral("txtDiaPago"))
        ->setMaximumWidth(80);
    addField(bank, bankGrid, 2, 0, QStringLiteral("Nº cuenta:"), QStringLiteral("txtNumCuenta"), 3);
    addField(bank, bankGrid, 3, 0, QStringLiteral("Banco:"), QStringLiteral("txtBanco"));
    addField(bank, bankGrid, 3, 2, QStringLiteral("Sucursal:"), QStringLiteral("txtSucursal"));
    outer->addWidget(bank);
    outer->addStretch();
}

void Clientes::buildVehiclesTab(QWidget* tab) {
    auto* outer = new QVBoxLayout(tab);
    vehicles_ = new DataGrid(QStringLiteral("MSHVehiculos"), tab);
    const QList<GridColumn> vehicleColumns = {
        {QStringLiteral("Id_Veh"), {}, ColumnKind::Hidden},
        {QStringLiteral("Id_Cli"), {}, ColumnKind::Hidden},
        {QStringLiteral("Matricula"), QStringLiteral("Matrícula")},
        {QStringLiteral("CodigoColor"), QStringLiteral("Cód. color")},
        {QStringLiteral("NChasis"), QStringLiteral("Nº chasis")},
        {QStringLiteral("NMotor"), QStringLiteral("Nº motor")},
        {QStringLiteral("CodigoLLave"), QStringLiteral("Cód. llave")},
        {QStringLiteral("CodigoRadio"), QStringLiteral("Cód. radio")},
        {QStringLiteral("FechaITV"), QStringLiteral("Fecha ITV"), ColumnKind::Date},
        {QStringLiteral("FechaVenta"), QStringLiteral("Fecha venta"), ColumnKind::Date},
    };
    vehicles_->setColumns(vehicleColumns);
    vehicles_->setMinimumHeight(120);
    outer->addWidget(vehicles_, 1);

    auto* newRow = new QHBoxLayout;
    connect(addButton(tab, newRow, QStringLiteral("CmdNuevoV"), QStringLiteral("Nuevo vehículo")),
            &QPushButton::clicked, this, &Clientes::onNewVehicle);
    newRow->addStretch();
    outer->addLayout(newRow);

    frame3_ = new QGroupBox(QStringLiteral("Datos del vehículo"), tab);
    frame3_->setObjectName(QStringLiteral("Frame3"));
    auto* frameLayout = new QVBoxLayout(frame3_);
    auto* grid = new QGridLayout;
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    frameLayout->addLayout(grid);

    txtIdCliVeh_ = new QLineEdit(frame3_);
    txtIdCliVeh_->setObjectName(QStringLiteral("TxtIdCliVeh"));
    txtIdCliVeh_->setVisible(false);

    addField(frame3_, grid, 0, 0, QStringLiteral("Matrícula:"), QStringLiteral("txtMatricula"));
    addField(frame3_, grid, 0, 2, QStringLiteral("Color:"), QStringLiteral("txtColor"));
    addField(frame3_, grid, 1, 0, QStringLiteral("Marca:"), QStringLiteral("txtMarca"));
    addField(frame3_, grid, 1, 2, QStringLiteral("Cód. color:"), QStringLiteral("txtCodColor"));
    addField(frame3_, grid, 2, 0, QStringLiteral("Modelo:"), QStringLiteral("txtModelo"));
    addField(frame3_, grid, 2, 2, QStringLiteral("Cód. llave:"), QStringLiteral("txtCodLlave"));
    addField(frame3_, grid, 3, 0, QStringLiteral("Nº chasis:"), QStringLiteral("txtNumChasis"));
    addField(frame3_, grid, 3, 2, QStringLiteral("Cód. radio:"), QStringLiteral("txtCodRadio"));
    addField(frame3_, grid, 4, 0, QStringLiteral("Nº motor:"), QStringLiteral("TxtNumMotor"));

    // Each date: the bound field, and the masked field shown over it while editing.
    auto addDate = [&](int row, int column, const QString& caption, const QString& bound,
                       const QString& masked) {
        auto* label = new QLabel(caption, frame3_);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* cell = new QHBoxLayout;
        auto* text = new QLineEdit(frame3_);
        text->setObjectName(bound);
        auto* opc = new OpcEntrada(frame3_);
        opc->setObjectName(masked);
        opc->setTypeInput(OpcEntrada::Date);
        opc->setDialogs(&dialogs_);
        opc->setTodaySource([this] { return session_.today(); });
        opc->setVisible(false);
        connect(opc, &OpcEntrada::textChanged, text, [text, opc] { text->setText(opc->text()); });
        cell->addWidget(text);
        cell->addWidget(opc);
        label->setBuddy(text);
        grid->addWidget(label, row, column);
        grid->addLayout(cell, row, column + 1);
        return opc;
    };
    opcFechaVenta_ = addDate(4, 2, QStringLiteral("Fecha venta:"), QStringLiteral("txtFechaVenta"),
                             QStringLiteral("OpcFechaVenta"));
    opcFechaItv_ = addDate(5, 2, QStringLiteral("Próxima ITV:"), QStringLiteral("txtFechaItv"),
                           QStringLiteral("OpcFechaItv"));
    addField(frame3_, grid, 6, 0, QStringLiteral("Notas:"), QStringLiteral("txtNotas"), 3);

    auto* commands = new QHBoxLayout;
    connect(
        addButton(frame3_, commands, QStringLiteral("CmdModificarV"), QStringLiteral("Modificar")),
        &QPushButton::clicked, this, &Clientes::onModifyVehicle);
    connect(addButton(frame3_, commands, QStringLiteral("CmdGuardarV"), QStringLiteral("Guardar")),
            &QPushButton::clicked, this, &Clientes::onSaveVehicle);
    connect(
        addButton(frame3_, commands, QStringLiteral("CmdCancelarV"), QStringLiteral("Cancelar")),
        &QPushButton::clicked, this, &Clientes::onCancelVehicle);
    connect(
        addButton(frame3_, commands, QStringLiteral("CmdEliminarV"), QStringLiteral("Eliminar")),
        &QPushButton::clicked, this, &Clientes::onDeleteVehicle);
    commands->addStretch();
    connect(addButton(frame3_, commands, QStringLiteral("KewlButtons2"),
                      QStringLiteral("Cambio de propietario")),
            &QPushButton::clicked, this, &Clientes::onChangeOwner);
    connect(
        addButton(frame3_, commands, QStringLiteral("CmdHistorial"), QStringLiteral("Historial")),
        &QPushButton::clicked, this, &Clientes::onHistory);
    connect(addButton(frame3_, commands, QStringLiteral("CmdSeleccionar"),
                      QStringLiteral("Nueva orden de trabajo")),
            &QPushButton::clicked, this, &Clientes::onNewWorkOrder);
    frameLayout->addLayout(commands);
    outer->addWidget(frame3_);

    connect(vehicles_, &DataGrid::currentRowChanged, this, [this](int row) {
        if (!vehicleMode_.isEditing()) showVehicle(row);
    });
}

void Clientes::buildHistoryTab(QWidget* tab) {
    auto* outer = new QVBoxLayout(tab);
    auto* caption = new QLabel(QStringLiteral("Vehículos del cliente"), tab);
    outer->addWidget(caption);
    vehicles2_ = new DataGrid(QStringLiteral("MSHVehiculos2"), tab);
    vehicles2_->setColumns({
        {QStringLiteral("Id_Veh"), {}, ColumnKind::Hidden},
        {QStringLiteral("Id_Cli"), {}, ColumnKind::Hidden},
        {QStringLiteral("Matricula"), QStringLiteral("Matrícula")},
        {QStringLiteral("CodigoColor"), QStringLiteral("Cód. color")},
        {QStringLiteral("NChasis"), QStringLiteral("Nº chasis")},
        {QStringLiteral("NMotor"), QStringLiteral("Nº motor")},
        {QStringLiteral("CodigoLLave"), QStringLiteral("Cód. llave")},
        {QStringLiteral("CodigoRadio"), QStringLiteral("Cód. radio")},
        {QStringLiteral("FechaITV"), QStringLiteral("Fecha ITV"), ColumnKind::Date},
        {QStringLiteral("FechaVenta"), QStringLiteral("Fecha venta"), ColumnKind::Date},
    });
    vehicles2_->setMaximumHeight(130);
    outer->addWidget(vehicles2_);

    auto* inner = new QTabWidget(tab);
    inner->setObjectName(QStringLiteral("SSTab2"));
    auto* partsTab = new QWidget(inner);
    auto* repairsTab = new QWidget(inner);
    inner->addTab(partsTab, QStringLiteral("Recambios"));
    inner->addTab(repairsTab, QStringLiteral("Reparaciones"));
    outer->addWidget(inner, 1);

    auto* partsLayout = new QVBoxLayout(partsTab);
    parts_ = new DataGrid(QStringLiteral("MSHRecambios"), partsTab);
    parts_->setColumns({
        {QStringLiteral("Id"), {}, ColumnKind::Hidden},
        {QStringLiteral("Albaran"), QStringLiteral("Albarán")},
        {QStringLiteral("Cant"), QStringLiteral("Cant."), ColumnKind::Number},
        {QStringLiteral("Dto"), QStringLiteral("Dto. %"), ColumnKind::Number},
        {QStringLiteral("Codigo"), QStringLiteral("Código")},
        {QStringLiteral("Descripcion"), QStringLiteral("Descripción")},
        {QStringLiteral("Precio"), QStringLiteral("Precio"), ColumnKind::Money},
    });
    partsLayout->addWidget(parts_);

    auto* repairs = new QVBoxLayout(repairsTab);
    repairs->addWidget(new QLabel(QStringLiteral("ODTS (Ordenes de Trabajo)"), repairsTab));
    workOrders_ = new DataGrid(QStringLiteral("MSHODTS"), repairsTab);
    workOrders_->setColumns({
        {QStringLiteral("Id_ODT"), {}, ColumnKind::Hidden},
        {QStringLiteral("Id_Cli"), {}, ColumnKind::Hidden},
        {QStringLiteral("Id_Coche"), {}, ColumnKind::Hidden},
        {QStringLiteral("NODT"), QStringLiteral("Nº O.T.")},
        {QStringLiteral("Fecha"), QStringLiteral("Fecha"), ColumnKind::Date},
        {QStringLiteral("FechaEntrega"), QStringLiteral("Entrega"), ColumnKind::Date},
        {QStringLiteral("Kilometros"), QStringLiteral("Km"), ColumnKind::Number},
        {QStringLiteral("NPresupuesto"), QStringLiteral("Presupuesto")},
        {QStringLiteral("NAlbaran"), QStringLiteral("Albarán")},
        {QStringLiteral("NFactura"), QStringLiteral("Factura")},
        {QStringLiteral("Nominal"), QStringLiteral("Importe"), ColumnKind::Money},
        {QStringLiteral("Recoge"), {}, ColumnKind::Hidden},
        {QStringLiteral("Imprevisto"), {}, ColumnKind::Hidden},
        {QStringLiteral("Presupuesto"), {}, ColumnKind::Hidden},
        {QStringLiteral("Combustible"), {}, ColumnKind::Hidden},
        {QStringLiteral("Interna"), {}, ColumnKind::Hidden},
    });
    repairs->addWidget(workOrders_, 1);
    auto* details = new QHBoxLayout;
    auto* jobsBox = new QVBoxLayout;
    jobsBox->addWidget(
        new QLabel(QStringLiteral("Trabajos realizados para la odt seleccionada"), repairsTab));
    jobs_ = new DataGrid(QStringLiteral("MSHTrabajosODT"), repairsTab);
    jobs_->setColumns({
        {QStringLiteral("Id"), {}, ColumnKind::Hidden},
        {QStringLiteral("NODT"), {}, ColumnKind::Hidden},
        {QStringLiteral("NOperario"), QStringLiteral("Operario")},
        {QStringLiteral("TRealizado"), QStringLiteral("Trabajo realizado")},
        {QStringLiteral("Fecha"), QStringLiteral("Fecha"), ColumnKind::Date},
        {QStringLiteral("TReal"), QStringLiteral("T. real"), ColumnKind::Number},
        {QStringLiteral("TFacturado"), QStringLiteral("T. fact."), ColumnKind::Number},
        {QStringLiteral("Precio"), QStringLiteral("Precio"), ColumnKind::Money},
        {QStringLiteral("Dto"), QStringLiteral("Dto. %"), ColumnKind::Number},
    });
    jobsBox->addWidget(jobs_);
    auto* materialsBox = new QVBoxLayout;
    materialsBox->addWidget(new QLabel(QStringLiteral("Materiales empleados"), repairsTab));
    materials_ = new DataGrid(QStringLiteral("MSHMateriales"), repairsTab);
    materials_->setColumns({
        {QStringLiteral("Id"), {}, ColumnKind::Hidden},
        {QStringLiteral("NODT"), {}, ColumnKind::Hidden},
        {QStringLiteral("NArticulo"), QStringLiteral("Artículo")},
        {QStringLiteral("Descripcion"), QStringLiteral("Descripción")},
        {QStringLiteral("Unidades"), QStringLiteral("Uds."), ColumnKind::Number},
        {QStringLiteral("Precio"), QStringLiteral("Precio"), ColumnKind::Money},
        {QStringLiteral("Dto"), QStringLiteral("Dto. %"), ColumnKind::Number},
    });
    materialsBox->addWidget(materials_);
    details->addLayout(jobsBox);
    details->addLayout(materialsBox);
    repairs->addLayout(details, 1);

    connect(vehicles2_, &DataGrid::currentRowChanged, this, &Clientes::onHistoryVehicleChanged);
    connect(workOrders_, &DataGrid::currentRowChanged, this, &Clientes::onWorkOrderChanged);
}

// ---- Customer record ----

void Clientes::reportDbError(const DbError& e) {
    dialogs_.critical(e.message());
}

void Clientes::setCallerName(const QString& name) {
    callerName_ = name;
    updateVehicleCommands();
}

QVariant Clientes::currentCustomerId() const {
    return txtId_->text().isEmpty() ? QVariant() : QVariant(txtId_->text().toLongLong());
}

QVariant Clientes::currentVehicleId() const {
    const QVariant id = vehicles_->currentValue(QStringLiteral("Id_Veh"));
    return id.isNull() ? QVariant() : id;
}

void Clientes::loadList(CustomerOrder order) {
    order_ = order;
    try {
        list_.load(session_.db(), QStringLiteral("Clientes"), QStringLiteral("Id_Cli"),
                   customers::customerKeysSql(order));
    } catch (const DbError& e) {
        reportDbError(e);
    }
    customerMode_.setHasRecords(!list_.isEmpty());
    vehicleMode_.setForcedOff(QStringLiteral("CmdNuevoV"), list_.isEmpty());
}

void Clientes::showCurrent() {
    Row row;
    try {
        row = list_.current();
    } catch (const DbError& e) {
        reportDbError(e);
    }
    if (row.isEmpty()) {
        customerFields_.clear();
        txtId_->clear();
        return;
    }
    customerFields_.fill(row);
    txtId_->setText(row.value(QStringLiteral("Id_Cli")).toString());
}

void Clientes::startNewCustomer() {
    onNew();
}

bool Clientes::moveToCustomer(qint64 customerId) {
    if (isEditing()) return false;
    if (!list_.moveToKey(customerId)) {
        try {
            list_.reload();
        } catch (const DbError& e) {
            reportDbError(e);
            return false;
        }
        customerMode_.setHasRecords(!list_.isEmpty());
        vehicleMode_.setForcedOff(QStringLiteral("CmdNuevoV"), list_.isEmpty());
        if (!list_.moveToKey(customerId)) return false;
    }
    showCurrent();
    return true;
}

void Clientes::onNew() {
    QString code;
    try {
        code = customers::proposeCustomerCode(session_.db());
    } catch (const DbError& e) {
        reportDbError(e);
        return;
    }
    keyBeforeEdit_ = list_.currentKey();
    loadList(CustomerOrder::CodeValue);
    if (keyBeforeEdit_.isValid()) list_.moveToKey(keyBeforeEdit_);
    newCustomer_ = true;
    customerFields_.clear();
    txtId_->clear();
    field(QStringLiteral("TxtCodigo"))->setText(code);
    customerMode_.setMode(RecordMode::Mode::Edit);
    tabs_->setCurrentIndex(0);
    field(QStringLiteral("txtNombre"))->setFocus();
}

void Clientes::onModify() {
    if (!list_.hasCurrent()) {
        dialogs_.critical(kNoCurrent);
        return;
    }
    keyBeforeEdit_ = list_.currentKey();
    newCustomer_ = false;
    customerMode_.setMode(RecordMode::Mode::Edit);
    tabs_->setCurrentIndex(0);
    field(QStringLiteral("txtNombre"))->setFocus();
}

void Clientes::onSave() {
    const Row values = customerFields_.read();
    const QString problem = customers::checkCustomer(values);
    if (!problem.isEmpty()) {
        dialogs_.critical(problem);
        field(QStringLiteral("txtNombre"))->setFocus();
        return;
    }
    qint64 id = 0;
    try {
        id = customers::saveCustomer(session_.db(), newCustomer_ ? QVariant() : currentCustomerId(),
                                     values);
        list_.reload();
    } catch (const DbError& e) {
        reportDbError(e);
        return;
    }
    newCustomer_ = false;
    customerMode_.setHasRecords(!list_.isEmpty());
    vehicleMode_.setForcedOff(QStringLiteral("CmdNuevoV"), list_.isEmpty());
    list_.moveToKey(id);
    customerMode_.setMode(RecordMode::Mode::Browse);
    txtId_->clear();  // the grids follow the saved customer even when it was current
    showCurrent();
}

void Clientes::onCancel() {
    newCustomer_ = false;
    if (keyBeforeEdit_.isValid()) list_.moveToKey(keyBeforeEdit_);
    customerMode_.setMode(RecordMode::Mode::Browse);
    showCurrent();
}

void Clientes::onDelete() {
    if (!list_.hasCurrent()) {
        dialogs_.critical(kNoCurrent);
        return;
    }
    const qint64 id = list_.currentKey().toLongLong();
    if (!dialogs_.question(QStringLiteral("Seguro que quiere eliminar el registro ") +
                           field(QStringLiteral("txtNombre"))->text()))
        return;
    try {
        const QString blocked = customers::deleteCustomer(session_.db(), id);
        if (!blocked.isEmpty()) {
            dialogs_.critical(blocked);
            return;
        }
        list_.reload();
    } catch (const DbError& e) {
        reportDbError(e);
        return;
    }
    if (!list_.isEmpty()) {
        list_.first();
        showCurrent();
        return;
    }
    customerFields_.clear();
    txtId_->clear();
    loadList(CustomerOrder::CodeText);
    dialogs_.exclamation(QStringLiteral("Se han eliminado todos los clientes"));
}

void Clientes::onSearch() {
    auto* search = new BusquedaClientes(session_, services_, this, QStringLiteral("Clientes"));
    openScreen(this, search);
}

void Clientes::navigate(int button) {
    switch (button) {
        case 0:
            list_.first();
            break;
        case 1:
            list_.previous();
            break;
        case 2:
            list_.next();
            break;
        default:
            list_.last();
            break;
    }
    showCurrent();
}

void Clientes::updateTabs() {
    const bool editingCustomer = customerMode_.isEditing();
    const bool editingVehicle = vehicleMode_.isEditing();
    const bool hasCustomer = !list_.isEmpty();
    tabs_->setTabEnabled(0, !editingVehicle);
    tabs_->setTabEnabled(1, !editingCustomer && hasCustomer);
    tabs_->setTabEnabled(2, !editingCustomer && !editingVehicle && hasCustomer);
    customerCommands_->setEnabled(!editingVehicle);
    vehicles_->setEnabled(!editingVehicle);
}

// ---- Vehicles and history ----

void Clientes::refreshCustomerGrids() {
    const QVariant id = currentCustomerId();
    try {
        if (id.isValid())
            parts_->run(session_.db(), customers::partsBoughtBy(id.toLongLong()));
        else
            parts_->clearRows();
    } catch (const DbError& e) {
        reportDbError(e);
    }
    refreshVehicleGrids();
}

void Clientes::refreshVehicleGrids(const QVariant& selectVehicle) {
    const QVariant id = currentCustomerId();
    try {
        if (id.isValid()) {
            vehicles_->run(session_.db(), customers::vehiclesOf(id.toLongLong()));
            vehicles2_->run(session_.db(), customers::vehiclesOf(id.toLongLong()));
        } else {
            vehicles_->clearRows();
            vehicles2_->clearRows();
        }
    } catch (const DbError& e) {
        reportDbError(e);
    }
    if (selectVehicle.isValid()) vehicles_->selectWhere(QStringLiteral("Id_Veh"), selectVehicle);
    showVehicle(vehicles_->currentRowIndex());
}

void Clientes::showVehicle(int row) {
    if (row < 0) {
        clearVehicleFields();
    } else {
        Row values;
        for (const QString& column : vehicleFields_.columns())
            values.insert(column, vehicles_->value(row, column));
        vehicleFields_.fill(values);
        txtIdCliVeh_->setText(vehicles_->value(row, QStringLiteral("Id_Cli")).toString());
    }
    updateVehicleCommands();
}

void Clientes::clearVehicleFields() {
    vehicleFields_.clear();
    txtIdCliVeh_->clear();
}

void Clientes::updateVehicleCommands() {
    const bool hasVehicles = vehicles_->rowCount() > 0;
    if (!vehicleMode_.isEditing()) frame3_->setVisible(hasVehicles);
    vehicleMode_.setHasRecords(hasVehicles && vehicles_->currentRowIndex() >= 0);
    // Until the work-order editor registers, a new work order cannot be opened.
    vehicleMode_.setForcedOff(
        QStringLiteral("CmdSeleccionar"),
        !services_.handoffs().workOrders.hasOpener() || callerName_ == QLatin1String("PartesGrua"));
}

void Clientes::setDateEditorsVisible(bool visible) {
    for (auto [opc, bound] : {std::pair{opcFechaVenta_, QStringLiteral("txtFechaVenta")},
                              std::pair{opcFechaItv_, QStringLiteral("txtFechaItv")}}) {
        QLineEdit* text = field(bound);
        if (visible) opc->setText(text->text());
        opc->setVisible(visible);
        text->setVisible(!visible);
    }
}

void Clientes::startNewVehicle() {
    tabs_->setCurrentIndex(1);
    onNewVehicle();
}

void Clientes::onNewVehicle() {
    if (!currentCustomerId().isValid()) {
        dialogs_.critical(kNoCurrent);
        return;
    }
    frame3_->setVisible(true);
    if (vehicles_->rowCount() > 0) vehicles_->setCurrentRowIndex(vehicles_->rowCount() - 1);
    newVehicle_ = true;
    vehicleMode_.setMode(RecordMode::Mode::Edit);
    clearVehicleFields();
    txtIdCliVeh_->setText(txtId_->text());
    setDateEditorsVisible(true);
    field(QStringLiteral("txtMatricula"))->setFocus();
}

void Clientes::onModifyVehicle() {
    if (vehicles_->currentRowIndex() < 0) {
        dialogs_.critical(kNoCurrent);
        return;
    }
    newVehicle_ = false;
    vehicleMode_.setMode(RecordMode::Mode::Edit);
    setDateEditorsVisible(true);
    field(QStringLiteral("txtMatricula"))->setFocus();
}

void Clientes::onSaveVehicle() {
    const Row values = vehicleFields_.read();
    const QString problem = customers::checkVehicle(values);
    if (!problem.isEmpty()) {
        dialogs_.critical(problem);
        field(QStringLiteral("txtMatricula"))->setFocus();
        return;
    }
    qint64 id = 0;
    try {
        id = customers::saveVehicle(session_.db(), newVehicle_ ? QVariant() : currentVehicleId(),
                                    txtIdCliVeh_->text().toLongLong(), values);
    } catch (const DbError& e) {
        reportDbError(e);
        return;
    }
    newVehicle_ = false;
    setDateEditorsVisible(false);
    vehicleMode_.setMode(RecordMode::Mode::Browse);
    refreshVehicleGrids(id);
}

void Clientes::onCancelVehicle() {
    newVehicle_ = false;
    setDateEditorsVisible(false);
    vehicleMode_.setMode(RecordMode::Mode::Browse);
    showVehicle(vehicles_->currentRowIndex());
}

void Clientes::onDeleteVehicle() {
    const QVariant id = currentVehicleId();
    if (!id.isValid()) {
        dialogs_.critical(kNoCurrent);
        return;
    }
    if (!dialogs_.question(QStringLiteral("Seguro que quiere eliminar el vehículo con matrícula ") +
                           field(QStringLiteral("txtMatricula"))->text()))
        return;
    try {
        customers::deleteVehicle(session_.db(), id.toLongLong());
    } catch (const DbError& e) {
        reportDbError(e);
        return;
    }
    refreshVehicleGrids();
    if (vehicles_->rowCount() == 0)
        dialogs_.exclamation(
            QStringLiteral("Se han eliminado todos los vehiculos para este cliente"));
}

void Clientes::onChangeOwner() {
    const QVariant id = currentVehicleId();
    if (!id.isValid()) {
        dialogs_.critical(kNoCurrent);
        return;
    }
    dialogs_.information(QStringLiteral("Seleccione el nuevo propietario para este vehiculo."));
    auto* search =
        new BusquedaClientes(session_, services_, this, QStringLiteral("CambioPropietario"), id);
    openScreen(this, search);
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

void Clientes::onHistoryVehicleChanged(int row) {
    try {
        if (row >= 0)
            workOrders_->run(session_.db(),
                             customers::workOrdersOfVehicle(
                                 vehicles2_->value(row, QStringLiteral("Id_Veh")).toLongLong()));
        else
            workOrders_->clearRows();
    } catch (const DbError& e) {
        reportDbError(e);
    }
}

void Clientes::onWorkOrderChanged(int row) {
    try {
        if (row >= 0) {
            const QString number = workOrders_->value(row, QStringLiteral("NODT")).toString();
            jobs_->run(session_.db(), customers::jobsOfWorkOrder(number));
            materials_->run(session_.db(), customers::materialsOfWorkOrder(number));
        } else {
            jobs_->clearRows();
            materials_->clearRows();
        }
    } catch (const DbError& e) {
        reportDbError(e);
    }
}

}  // namespace torvane
