#include "workorders/odts.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

#include "controls/command_bar.h"
#include "controls/keyboard_classes.h"
#include "controls/opc_entrada.h"
#include "controls/screen.h"
#include "core/format.h"
#include "core/numbering.h"
#include "masters/alta_articulos.h"
#include "masters/articles.h"
#include "masters/busqueda_articulos.h"
#include "masters/busqueda_vehiculos.h"
#include "reports/informes.h"
#include "verifactu/records.h"
#include "workorders/frm_impr_odt.h"

namespace torvane {

using namespace workorders;

namespace {

const QString kIncomplete = QStringLiteral("Debe completar todos los campos");
const QString kNoStock = QStringLiteral("No hay ninguna unidad del artículo en stock");
const QString kUnknownArticle = QStringLiteral(
    "No existe ningún articulo en la base de datos con este código. ¿Desea crearlo ahora?");
const QString kUnknownArticleTitle = QStringLiteral("Articulo no registrado");
const QString kHint = QStringLiteral("Haga doble clik para Editar o pulse Supr para Eliminar.");
const QString kInvoiced = QStringLiteral("No se puede editar una Orden de Trabajo ya facturada");

QComboBox* addCombo(QWidget* owner, QGridLayout* grid, int row, int column, const QString& caption,
                    const char* name, int span = 1) {
    auto* combo = new QComboBox(owner);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    auto* label = new QLabel(caption, owner);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setBuddy(combo);
    grid->addWidget(label, row, column);
    grid->addWidget(combo, row, column + 1, 1, span);
    return combo;
}

QCheckBox* addCheck(QWidget* owner, QGridLayout* grid, int row, int column, const QString& caption,
                    const char* name) {
    auto* check = new QCheckBox(caption, owner);
    check->setObjectName(QString::fromLatin1(name));
    grid->addWidget(check, row, column, 1, 2);
    return check;
}

QPushButton* addButton(QWidget* owner, QGridLayout* grid, int row, int column,
                       const QString& caption, const char* name) {
    auto* button = new QPushButton(caption, owner);
    button->setObjectName(QString::fromLatin1(name));
    grid->addWidget(button, row, column);
    return button;
}

LineTable* addLineGrid(QWidget* owner, QBoxLayout* into, const char* name, LineTableModel* model,
                       std::initializer_list<int> hidden) {
    auto* hint = new QLabel(kHint, owner);
    into->addWidget(hint);
    auto* grid = new LineTable(QString::fromLatin1(name), model, owner);
    for (int column : hidden) grid->setColumnHidden(column, true);
    grid->horizontalHeader()->setStretchLastSection(true);
    into->addWidget(grid, 1);
    return grid;
}

// What an entry field shows of a stored value: exact, with the decimal comma; amounts
// of whole cents with two decimals ("30,00"), finer ones with all of theirs.
QString quantityText(Quantity q) {
    return Money::fromUnits(q.units()).toPlainString().replace(QLatin1Char('.'), QLatin1Char(','));
}

QString moneyText(Money m) {
    return m.roundCents() == m ? m.format().remove(QLatin1Char('.'))
                               : m.toPlainString().replace(QLatin1Char('.'), QLatin1Char(','));
}

// A decimal typed with "," (or empty, when allowed).
std::optional<Quantity> quantityOf(const QString& text) {
    return Quantity::parse(text.trimmed());
}

QString invalidNumber(const QString& text) {
    return QStringLiteral("El número no es válido: ") + text;
}

}  // namespace

ODTS::ODTS(Session& session, Services& services, QWidget* parent)
    : QWidget(parent), session_(session), services_(services), dialogs_(services.dialogs()) {
    setObjectName(QStringLiteral("ODTS"));
    setWindowTitle(QStringLiteral("Ordenes de trabajo"));
    auto* layout = new QVBoxLayout(this);
    buildVehicleFrames(layout);
    tabs_ = addTabs(this, layout,
                    {QStringLiteral("Orden de trabajo"), QStringLiteral("Trabajos realizados"),
                     QStringLiteral("Materiales empleados"), QStringLiteral("Lineas libres")});
    buildJobsTab(tabs_->widget(0));
    buildLabourTab(tabs_->widget(1));
    buildMaterialsTab(tabs_->widget(2));
    buildFreeLinesTab(tabs_->widget(3));
    buildTotalsAndCommands(layout);
    applyInputRules();
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int tab) {
        refreshTotals();
        if (tab < 0 || tab >= kLineKinds) return;
        const char* first[] = {"txtKm", "Combo4", "TxtCodArt", "Text13"};
        if (QWidget* w = findChild<QWidget*>(QString::fromLatin1(first[tab]))) w->setFocus();
    });
    // Loading: the choices of the labour panel (nothing chosen yet), today's dates.
    {
        const QSignalBlocker quietOperators(operator_);
        const QSignalBlocker quietDepartments(department_);
        try {
            operator_->addItems(operatorNames(session_.db()));
            department_->addItems(departmentNames(session_.db()));
        } catch (const DbError& e) {
            dialogs_.critical(e.message());
        }
        for (QComboBox* c : {operator_, department_}) {
            c->setCurrentIndex(-1);
            c->setEditText({});
        }
    }
    const QString today = formatDate(session_.today());
    for (const DateField* d : {&entryDate_, &exitDate_, &labourDate_}) d->masked->setText(today);
}

QLineEdit* ODTS::field(const char* name) const {
    return findChild<QLineEdit*>(QString::fromLatin1(name));
}

LineTableModel* ODTS::model(LineKind kind) const {
    return models_[int(kind)];
}

// ---- Building ----

void ODTS::buildVehicleFrames(QBoxLayout* into) {
    auto* row = new QHBoxLayout;
    auto* vehicle = new QGroupBox(QStringLiteral("Vehículo:"), this);
    auto* vg = new QGridLayout(vehicle);
    addFields(
        vehicle, vg,
        {{"Marca:", "Text1", 0, 0}, {"Modelo:", "Text2", 1, 0}, {"Matrícula:", "Text3", 2, 0}});
    auto* search = addButton(vehicle, vg, 2, 2, QStringLiteral("..."), "Command1");
    connect(search, &QPushButton::clicked, this, [this] {
        openScreen(this, new BusquedaVehiculos(session_, services_, this,
                                               BusquedaVehiculos::Use::Browser));
    });
    auto* owner = new QGroupBox(QStringLiteral("Propietario:"), this);
    auto* og = new QGridLayout(owner);
    addFields(owner, og,
              {{"Nombre:", "Text4", 0, 0, 3},
               {"Nombre comercial:", "Text7", 1, 0, 3},
               {"Teléfono:", "Text5", 2, 0},
               {"Tel. Móvil:", "Text6", 2, 2}});
    row->addWidget(vehicle);
    row->addWidget(owner, 1);
    into->addLayout(row);
    for (const char* name : {"TxtIdCli2", "TxtIdVeh2"})
        addHiddenField(this, QString::fromLatin1(name));
    // The customer and vehicle are shown, never edited here.
    for (const char* name : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7"})
        field(name)->setReadOnly(true);
}

void ODTS::buildJobsTab(QWidget* tab) {
    auto* layout = new QVBoxLayout(tab);
    auto* grid = addFormGrid(layout);
    addFields(tab, grid, {{"Nº Orden:", "TxtNODT", 0, 0}, {"Kilometros:", "txtKm", 0, 2}});
    entryDate_ = addDateField(tab, grid, 1, 0, QStringLiteral("Fecha Entrada:"),
                              QStringLiteral("txtFechaEntrada"), QStringLiteral("OpcEntrada1"),
                              dialogs_, [this] { return session_.today(); });
    exitDate_ = addDateField(tab, grid, 1, 2, QStringLiteral("Fecha Salida:"),
                             QStringLiteral("txtFechaSalida"), QStringLiteral("OpcEntrada2"),
                             dialogs_, [this] { return session_.today(); });
    entryDate_.setEditing(true);
    exitDate_.setEditing(true);
    fuel_ = addCombo(tab, grid, 2, 0, QStringLiteral("Combustible:"), "ComboCombustible");
    fuel_->addItems({QString::fromLatin1(kUnknownFuel), QStringLiteral("RESERVA"),
                     QStringLiteral("1/4"), QStringLiteral("1/2"), QStringLiteral("3/4"),
                     QStringLiteral("LLENO")});
    addFields(tab, grid, {{"Nº Presupuesto:", "txtNPresupuesto", 2, 2}});
    estimate_ =
        addCheck(tab, grid, 3, 0, QStringLiteral("Con presupuesto previo"), "CheckPresupuesto");
    collects_ =
        addCheck(tab, grid, 3, 2, QStringLiteral("Recoge las piezas substituidas"), "Check1");
    unforeseen_ = addCheck(tab, grid, 4, 0,
                           QStringLiteral("Continuar reparacion en caso de imprevisto"), "Check2");
    internal_ = addCheck(tab, grid, 4, 2, QStringLiteral("Orden Interna"), "CheckOrden");
    for (const char* name : {"TxtNAlbaran", "TxtNFactura", "TxtIdCli", "txtIdVeh"})
        addHiddenField(tab, QString::fromLatin1(name));
    field("TxtNAlbaran")->setText(QString::fromLatin1(kNoDocument));
    field("TxtNFactura")->setText(QString::fromLatin1(kNoDocument));
    field("TxtNAlbaran")->setReadOnly(true);
    field("TxtNFactura")->setReadOnly(true);

    auto* jobs = new QGridLayout;
    jobEntry_ = addCombo(tab, jobs, 0, 0, QStringLiteral("Trabajos a realizar"), "Combo2");
    layout->addLayout(jobs);
    models_[int(LineKind::Jobs)] =
        new LineTableModel({{LineField::Text, QStringLiteral("Id"), false, 0},
                            {LineField::Text, QStringLiteral("Nº ODT"), false, 1},
                            {LineField::Description, QStringLiteral("Trabajo a realizar"), false}},
                           DeletedLines::Hidden, this);
    addLineGrid(tab, layout, "MSHFlexGrid1", model(LineKind::Jobs), {0, 1});
    jobEntry_->lineEdit()->installEventFilter(this);
    field("TxtNODT")->installEventFilter(this);
}

void ODTS::buildLabourTab(QWidget* tab) {
    auto* layout = new QVBoxLayout(tab);
    auto* grid = addFormGrid(layout);
    operator_ = addCombo(tab, grid, 0, 0, QStringLiteral("Operario:"), "Combo1");
    department_ = addCombo(tab, grid, 0, 2, QStringLiteral("Departamento:"), "ComboDepartamento");
    work_ = addCombo(tab, grid, 1, 0, QStringLiteral("Trabajo realizado:"), "Combo4");
    labourDate_ =
        addDateField(tab, grid, 1, 2, QStringLiteral("Fecha:"), QStringLiteral("TxtFecha"),
                     QStringLiteral("OpcEntrada3"), dialogs_, [this] { return session_.today(); });
    labourDate_.setEditing(true);
    addFields(tab, grid,
              {{"Tpo. real:", "TxtTReal", 2, 0},
               {"Tpo. Fact:", "TxtTFact", 2, 2},
               {"Precio Hr:", "TxtPrecioHr", 3, 0},
               {"Desc:", "TxtDesc", 3, 2}});
    field("TxtDesc")->setText(QStringLiteral("0"));
    addHiddenField(tab, QStringLiteral("TxtCodigoOperario"));
    auto* add = addButton(tab, grid, 4, 3, QStringLiteral("Añadir"), "KewlButtons4");
    connect(add, &QPushButton::clicked, this, &ODTS::addLabour);
    connect(operator_, &QComboBox::currentTextChanged, this, &ODTS::chooseOperator);
    connect(department_, &QComboBox::currentTextChanged, this, &ODTS::chooseDepartment);

    models_[int(LineKind::Labour)] =
        new LineTableModel({{LineField::Text, QStringLiteral("Id"), false, 0},
                            {LineField::Text, QStringLiteral("Operario"), false, 1},
                            {LineField::Text, QStringLiteral("Departamento"), false, 2},
                            {LineField::Description, QStringLiteral("Trabajo"), false},
                            {LineField::Text, QStringLiteral("Fecha"), false, 3},
                            {LineField::Text, QStringLiteral("T. real"), false, 4},
                            {LineField::Text, QStringLiteral("T. fact."), false, 5},
                            {LineField::Price, QStringLiteral("Precio"), false},
                            {LineField::Discount, QStringLiteral("Dto."), false},
                            {LineField::Amount, QStringLiteral("Importe"), false}},
                           DeletedLines::Hidden, this);
    auto* table = addLineGrid(tab, layout, "MSHTrabajosRealizados", model(LineKind::Labour), {0});
    connect(table, &LineTable::lineActivated, this, &ODTS::editLabour);
}

void ODTS::buildMaterialsTab(QWidget* tab) {
    auto* layout = new QVBoxLayout(tab);
    auto* grid = addFormGrid(layout);
    addFields(tab, grid,
              {{"Cód. Artículo:", "TxtCodArt", 0, 0},
               {"Artículo:", "TxtArticulo", 1, 0, 3},
               {"Unidades:", "TxtUnidades", 2, 0},
               {"Precio Und:", "TxtPrecUnidad", 2, 2},
               {"Desc:", "TxtDescArt", 3, 0}});
    auto* search = addButton(tab, grid, 0, 2, QStringLiteral("..."), "CmdBuscarCli");
    connect(search, &QPushButton::clicked, this,
            [this] { openScreen(this, new BusquedaArticulos(session_, services_)); });
    addHiddenField(tab, QStringLiteral("TxtStock"));
    fromWarehouse_ = new QLabel(QStringLiteral("Salida desde almacen"), tab);
    fromWarehouse_->setObjectName(QStringLiteral("LabelDesdeAlmacen"));
    withoutWarehouse_ = new QLabel(QStringLiteral("Salida sin control de almacen"), tab);
    withoutWarehouse_->setObjectName(QStringLiteral("LabelSinAlmacen"));
    grid->addWidget(fromWarehouse_, 0, 3);
    grid->addWidget(withoutWarehouse_, 0, 3);
    showStockMarker(false);
    auto* add = addButton(tab, grid, 3, 3, QStringLiteral("Añadir"), "KewlButtons5");
    connect(add, &QPushButton::clicked, this, &ODTS::addMaterial);
    connect(field("TxtCodArt"), &QLineEdit::textChanged, this, &ODTS::lookUpArticle);
    connect(field("TxtArticulo"), &QLineEdit::textEdited, this, [this] {
        if (field("TxtCodArt")->text().isEmpty()) showStockMarker(false);
    });
    field("TxtCodArt")->installEventFilter(this);

    models_[int(LineKind::Materials)] =
        new LineTableModel({{LineField::Text, QStringLiteral("Nº ODT"), false, 1},
                            {LineField::Code, QStringLiteral("Código"), false},
                            {LineField::Description, QStringLiteral("Descripción"), false},
                            {LineField::Units, QStringLiteral("Unidades"), false},
                            {LineField::Price, QStringLiteral("Precio"), false},
                            {LineField::Discount, QStringLiteral("Dto."), false},
                            {LineField::Amount, QStringLiteral("Importe"), false},
                            {LineField::Text, QStringLiteral("Id"), false, 0}},
                           DeletedLines::Hidden, this);
    auto* table = addLineGrid(tab, layout, "MSHMateriales", model(LineKind::Materials), {0, 7});
    connect(table, &LineTable::lineActivated, this, &ODTS::editMaterial);
}

void ODTS::buildFreeLinesTab(QWidget* tab) {
    auto* layout = new QVBoxLayout(tab);
    auto* grid = addFormGrid(layout);
    addFields(tab, grid,
              {{"Referencia:", "Text13", 0, 0},
               {"Concepto:", "Text9", 1, 0, 3},
               {"Unidades:", "Text10", 2, 0},
               {"Precio Und:", "Text11", 2, 2},
               {"Desc:", "Text12", 3, 0}});
    field("Text12")->setText(QStringLiteral("0"));
    auto* add = addButton(tab, grid, 3, 3, QStringLiteral("Añadir"), "KewlButtons6");
    connect(add, &QPushButton::clicked, this, &ODTS::addFreeLine);
    models_[int(LineKind::FreeLines)] =
        new LineTableModel({{LineField::Text, QStringLiteral("Id"), false, 0},
                            {LineField::Text, QStringLiteral("Nº ODT"), false, 1},
                            {LineField::Code, QStringLiteral("Referencia"), false},
                            {LineField::Description, QStringLiteral("Concepto"), false},
                            {LineField::Units, QStringLiteral("Unidades"), false},
                            {LineField::Price, QStringLiteral("Precio"), false},
                            {LineField::Discount, QStringLiteral("Dto."), false},
                            {LineField::Amount, QStringLiteral("Importe"), false}},
                           DeletedLines::Hidden, this);
    auto* table = addLineGrid(tab, layout, "MSHLibres", model(LineKind::FreeLines), {0, 1});
    connect(table, &LineTable::lineActivated, this, &ODTS::editFreeLine);
}

void ODTS::buildTotalsAndCommands(QBoxLayout* into) {
    auto* grid = new QGridLayout;
    into->addLayout(grid);
    addFields(this, grid,
              {{"Total:", "TxtTotal", 0, 0, 1, 120},
               {"IVA:", "TxtIVA", 0, 2, 1, 120},
               {"IMPORTE:", "TxtImporte", 0, 4, 1, 120}});
    for (const char* name : {"TxtTotal", "TxtIVA", "TxtImporte"}) {
        field(name)->setReadOnly(true);
        field(name)->setAlignment(Qt::AlignRight);
    }
    for (LineKind kind : {LineKind::Labour, LineKind::Materials, LineKind::FreeLines})
        connect(model(kind), &LineTableModel::totalsChanged, this, &ODTS::refreshTotals);

    commands_ = new CommandBar(
        this,
        {{QStringLiteral("CmdGuardar"), QStringLiteral("Guardar ODT"), [this] { runSave(false); }},
         {QStringLiteral("CmdAlbaran"), QStringLiteral("Crear albaran"),
          [this] { makeDeliveryNote(); }},
         {QStringLiteral("CmdFacturar"), QStringLiteral("Facturar"),
          [this] { makeInvoice(invoicing::InvoiceDocument::Invoice); }},
         {QStringLiteral("KewlButtons1"), QStringLiteral("Factura interna"),
          [this] { makeInvoice(invoicing::InvoiceDocument::Internal); }},
         {QStringLiteral("KewlButtons2"), QStringLiteral("Ticket"),
          [this] { makeInvoice(invoicing::InvoiceDocument::Ticket); }},
         {QStringLiteral("CmdPresupuesto"), QStringLiteral("Presup."), [] {}},
         {QStringLiteral("Command6"), QStringLiteral("Salir"), [this] { close(); }}});
    into->addWidget(commands_);
}

void ODTS::applyInputRules() {
    applyKeyClasses(this,
                    QList<QPair<KeyClass, const char*>>{
                        {KeyClass::K4,
                         "Combo1 Combo4 ComboCombustible ComboDepartamento Text1 Text2 Text3 Text4 "
                         "Text7 Text9 Text13 TxtCodArt TxtArticulo TxtNODT"},
                        {KeyClass::K5, "Text10 Text11 TxtPrecioHr TxtPrecUnidad TxtTFact TxtTReal"},
                        {KeyClass::K6, "TxtUnidades"},
                        {KeyClass::K3, "Text5 Text6 Text12 txtKm TxtDesc TxtDescArt"},
                        {KeyClass::K2, "TxtNAlbaran TxtNFactura txtNPresupuesto Combo2"},
                    });
    for (const char* name : {"TxtDesc", "TxtDescArt", "Text12"}) {
        QLineEdit* e = field(name);
        connect(e, &QLineEdit::textChanged, this, [e](const QString& t) {
            const QString bounded = boundDiscount(t, false);
            if (bounded != t) e->setText(bounded);
        });
        e->installEventFilter(this);
    }
    for (const DateField* d : {&entryDate_, &exitDate_, &labourDate_})
        d->masked->maskEdit()->installEventFilter(this);
}

// ---- Opening ----

bool ODTS::startNew(qint64 vehicleId, WorkOrderNumbering numbering) {
    try {
        if (!vehicleOwner(session_.db(), vehicleId)) return false;
        const QString number = numbering == WorkOrderNumbering::ProbeLoop
                                   ? nextWorkOrderNumberByProbe(session_)
                                   : nextDocumentNumber(session_, dialogs_,
                                                        NumberConsumer::WorkOrderFromVehicleSearch);
        header_ = newHeader(session_.db(), number, vehicleId, session_.today());
    } catch (const DbError& e) {
        dialogs_.critical(e.message());
        return false;
    }
    newOrder_ = true;
    countsAtOpening_ = {0, 0, 0, 0};
    showHeader();
    reloadAll();
    return true;
}

bool ODTS::startExisting(qint64 workOrderId) {
    try {
        const auto h = headerById(session_.db(), workOrderId);
        if (!h) return false;
        if (h->invoice.trimmed() != QLatin1String(kNoDocument)) {
            dialogs_.critical(kInvoiced);
            return false;
        }
        header_ = *h;
        countsAtOpening_ = lineCounts(session_.db(), header_.number);
    } catch (const DbError& e) {
        dialogs_.critical(e.message());
        return false;
    }
    newOrder_ = false;
    showHeader();
    reloadAll();
    // A stored work order keeps its number, estimate and documents.
    for (const char* name : {"TxtNODT", "txtNPresupuesto", "TxtNFactura", "TxtNAlbaran"})
        field(name)->setReadOnly(true);
    internal_->setEnabled(false);
    return true;
}

void ODTS::showHeader() {
    const Header& h = header_;
    field("TxtNODT")->setText(h.number);
    entryDate_.masked->setText(formatDate(h.entryDate));
    exitDate_.masked->setText(formatDate(h.exitDate));
    field("txtKm")->setText(h.kilometres);
    fuel_->setEditText(h.fuel);
    estimate_->setChecked(h.estimate);
    collects_->setChecked(h.collects);
    unforeseen_->setChecked(h.unforeseen);
    internal_->setChecked(h.internal);
    field("txtNPresupuesto")
        ->setText(h.estimateNumber == QLatin1String(kNoDocument) ? QString() : h.estimateNumber);
    field("TxtNAlbaran")
        ->setText(h.deliveryNote.isEmpty() ? QString::fromLatin1(kNoDocument) : h.deliveryNote);
    field("TxtNFactura")
        ->setText(h.invoice.isEmpty() ? QString::fromLatin1(kNoDocument) : h.invoice);
    field("TxtIdCli")->setText(QString::number(h.customerId));
    field("txtIdVeh")->setText(QString::number(h.vehicleId));
    showVehicle(h.vehicleId);
}

void ODTS::showVehicle(qint64 vehicleId) {
    std::optional<VehicleOwner> o;
    try {
        o = vehicleOwner(session_.db(), vehicleId);
    } catch (const DbError& e) {
        dialogs_.critical(e.message());
    }
    const VehicleOwner v = o.value_or(VehicleOwner{});
    const std::pair<const char*, QString> shown[] = {
        {"Text1", v.make},
        {"Text2", v.model},
        {"Text3", v.plate},
        {"Text4", v.name},
        {"Text7", v.tradeName},
        {"Text5", v.phone},
        {"Text6", v.mobile},
        {"TxtIdCli2", QString::number(header_.customerId)},
        {"TxtIdVeh2", QString::number(vehicleId)}};
    for (const auto& [name, value] : shown) field(name)->setText(value);
}

// ---- Grids and totals ----

void ODTS::reload(LineKind kind) {
    const QString n = header_.number;
    const QList<qint64> marked = model(kind)->deletedIds();
    std::vector<DocumentLine> shown;
    auto push = [&](DocumentLine d) {
        d.texts.insert(1, n);
        d.deleted = marked.contains(d.id.toLongLong());
        shown.push_back(std::move(d));
    };
    try {
        switch (kind) {
            case LineKind::Jobs:
                lines_.jobs = jobsOf(session_.db(), n);
                for (const JobLine& l : lines_.jobs) push(toDocumentLine(l));
                break;
            case LineKind::Labour:
                lines_.labour = labourOf(session_.db(), n);
                for (const LabourLine& l : lines_.labour) {
                    DocumentLine d = toDocumentLine(l);
                    d.deleted = marked.contains(d.id.toLongLong());
                    shown.push_back(std::move(d));
                }
                break;
            case LineKind::Materials:
                lines_.materials = materialsOf(session_.db(), n);
                for (const MaterialLine& l : lines_.materials) push(toDocumentLine(l));
                break;
            case LineKind::FreeLines:
                lines_.freeLines = freeLinesOf(session_.db(), n);
                for (const FreeLine& l : lines_.freeLines) push(toDocumentLine(l));
                break;
        }
    } catch (const DbError& e) {
        dialogs_.critical(e.message());
        return;
    }
    model(kind)->setLines(std::move(shown));
    lockNumberOnceLinesExist();
}

void ODTS::reloadAll() {
    for (int k = 0; k < kLineKinds; ++k) reload(LineKind(k));
    refreshTotals();
}

// Lines are stored under the number as they are added, so a new work order's number
// cannot change once it has lines.
void ODTS::lockNumberOnceLinesExist() {
    bool any = false;
    for (const LineTableModel* m : models_) any = any || (m && !m->lines().empty());
    if (any) field("TxtNODT")->setReadOnly(true);
}

void ODTS::refreshTotals() {
    const Totals t =
        tabTotals(tabs_->currentIndex(), model(LineKind::Labour)->lines(),
                  model(LineKind::Materials)->lines(), model(LineKind::FreeLines)->lines(),
                  verifactu::vatRate(session_.db()));
    field("TxtTotal")->setText(t.base.format());
    field("TxtIVA")->setText(t.vat.format());
    field("TxtImporte")->setText(t.total.format());
}

Totals ODTS::totals() const {
    return tabTotals(0, model(LineKind::Labour)->lines(), model(LineKind::Materials)->lines(),
                     model(LineKind::FreeLines)->lines(), verifactu::vatRate(session_.db()));
}

Deletions ODTS::deletions() const {
    Deletions d;
    d.jobs = model(LineKind::Jobs)->deletedIds();
    d.labour = model(LineKind::Labour)->deletedIds();
    d.materials = model(LineKind::Materials)->deletedIds();
    d.freeLines = model(LineKind::FreeLines)->deletedIds();
    return d;
}

bool ODTS::store(const std::function<void()>& step) {
    try {
        step();
        return true;
    } catch (const DbError& e) {
        dialogs_.critical(e.message());
        return false;
    }
}

// Adding a material or a free line counts every line of its kind as there at opening,
// so closing without saving keeps them.
bool ODTS::storeCounted(LineKind kind, const std::function<void()>& step) {
    return store([&] {
        step();
        countsAtOpening_[int(kind)] = lineCounts(session_.db(), header_.number)[int(kind)];
    });
}

// ---- Jobs to do ----

void ODTS::addJob() {
    const QString text = jobEntry_->currentText().trimmed();
    if (text.isEmpty()) return;
    if (!store([&] { storeJob(session_.db(), header_.number, JobLine{{}, text}); })) return;
    reload(LineKind::Jobs);
    jobEntry_->setEditText({});
    jobEntry_->setFocus();
}

// ---- Labour ----

void ODTS::chooseOperator(const QString& name) {
    std::optional<OperatorChoice> op;
    try {
        if (!name.trimmed().isEmpty()) op = operatorByName(session_.db(), name.trimmed());
    } catch (const DbError& e) {
        dialogs_.critical(e.message());
    }
    // A name that is no operator leaves the line without one.
    field("TxtCodigoOperario")->setText(op ? op->code : QString());
    if (op) department_->setEditText(op->department);
}

void ODTS::chooseDepartment(const QString& department) {
    std::optional<Money> price;
    try {
        if (!department.trimmed().isEmpty())
            price = departmentPrice(session_.db(), department.trimmed());
    } catch (const DbError& e) {
        dialogs_.critical(e.message());
    }
    if (price) field("TxtPrecioHr")->setText(moneyText(*price));
}

void ODTS::addLabour() {
    const QString date = labourDate_.masked->text();
    for (const QString& t :
         {work_->currentText(), date, field("TxtTReal")->text(), field("TxtTFact")->text(),
          field("TxtPrecioHr")->text(), field("TxtDesc")->text()}) {
        if (t.trimmed().isEmpty()) {
            dialogs_.critical(kIncomplete);
            return;
        }
    }
    LabourLine l;
    l.id = editingLabour_;
    l.work = work_->currentText().trimmed();
    l.department = department_->currentText().trimmed();
    l.operatorCode = operator_->currentText().trimmed().isEmpty()
                         ? QString()
                         : field("TxtCodigoOperario")->text();
    const auto day = parseDisplayDate(date);
    const auto real = quantityOf(field("TxtTReal")->text());
    const auto billed = quantityOf(field("TxtTFact")->text());
    const auto price = Money::parse(field("TxtPrecioHr")->text().trimmed());
    const auto discount = quantityOf(field("TxtDesc")->text());
    const std::pair<bool, QString> checks[] = {
        {bool(day), QStringLiteral("La fecha no es válida")},
        {bool(real), invalidNumber(field("TxtTReal")->text())},
        {bool(billed), invalidNumber(field("TxtTFact")->text())},
        {bool(price), invalidNumber(field("TxtPrecioHr")->text())},
        {bool(discount), invalidNumber(field("TxtDesc")->text())}};
    for (const auto& [ok, message] : checks) {
        if (!ok) {
            dialogs_.critical(message);
            return;
        }
    }
    l.date = *day;
    l.realTime = *real;
    l.billedTime = *billed;
    l.price = *price;
    l.discount = *discount;
    if (!store([&] { storeLabour(session_.db(), header_.number, l); })) return;
    editingLabour_ = {};
    reload(LineKind::Labour);
    field("TxtDesc")->setText(QStringLiteral("0"));
    chooseOperator(operator_->currentText());
    refreshTotals();
}

void ODTS::editLabour(int row) {
    const QVariant id = model(LineKind::Labour)->lineAt(row).id;
    for (const LabourLine& l : lines_.labour) {
        if (l.id != id) continue;
        editingLabour_ = id;
        operator_->setEditText(l.operatorName);
        department_->setEditText(l.department);
        field("TxtCodigoOperario")->setText(l.operatorCode);
        work_->setEditText(l.work);
        labourDate_.masked->setText(formatDate(l.date));
        field("TxtTReal")->setText(quantityText(l.realTime));
        field("TxtTFact")->setText(quantityText(l.billedTime));
        field("TxtPrecioHr")->setText(moneyText(l.price));
        field("TxtDesc")->setText(quantityText(l.discount));
        work_->setFocus();
        return;
    }
}

// ---- Priced lines ----

std::optional<ODTS::PricedEntry> ODTS::readPriced(std::initializer_list<const char*> required,
                                                  const char* units, const char* price,
                                                  const char* discount) {
    for (const char* name : required) {
        if (field(name)->text().trimmed().isEmpty()) {
            dialogs_.critical(kIncomplete);
            return std::nullopt;
        }
    }
    const auto u = quantityOf(field(units)->text());
    const auto p = Money::parse(field(price)->text().trimmed());
    const auto d = quantityOf(field(discount)->text());
    for (const auto& [ok, name] :
         {std::pair{bool(u), units}, std::pair{bool(p), price}, std::pair{bool(d), discount}}) {
        if (!ok) {
            dialogs_.critical(invalidNumber(field(name)->text()));
            return std::nullopt;
        }
    }
    return PricedEntry{*u, *p, *d};
}

// ---- Materials ----

void ODTS::showStockMarker(bool fromWarehouse) {
    fromWarehouse_->setVisible(fromWarehouse);
    withoutWarehouse_->setVisible(!fromWarehouse);
}

void ODTS::lookUpArticle(const QString& code) {
    if (skipLookup_) {
        skipLookup_ = false;
        return;
    }
    if (code.trimmed().isEmpty()) {
        showStockMarker(false);
        return;
    }
    std::optional<articles::Article> a;
    try {
        a = articles::articleByCode(session_.db(), code.trimmed());
    } catch (const DbError& e) {
        dialogs_.critical(e.message());
        return;
    }
    if (!a) return;
    showStockMarker(true);
    field("TxtArticulo")->setText(a->description);
    field("TxtPrecUnidad")->setText(moneyText(a->price));
    field("TxtDescArt")->setText(QStringLiteral("0"));
    field("TxtStock")->setText(quantityText(a->stock));
    if (a->stock <= Quantity()) dialogs_.information(kNoStock);
    field("TxtUnidades")->setText(QStringLiteral("1"));
}

void ODTS::checkUnknownCode() {
    const QString code = field("TxtCodArt")->text().trimmed();
    if (code.isEmpty()) return;
    bool known = true;
    try {
        known = articles::articleByCode(session_.db(), code).has_value();
    } catch (const DbError& e) {
        dialogs_.critical(e.message());
        return;
    }
    if (known) return;
    const bool create = dialogs_.question(kUnknownArticle, kUnknownArticleTitle);
    showStockMarker(false);
    for (const char* name : {"TxtArticulo", "TxtPrecUnidad", "TxtDescArt"}) field(name)->clear();
    if (create) {
        auto* alta = new AltaArticulos(session_, services_);
        alta->setCode(code);
        openScreen(this, alta);
    }
}

void ODTS::takeArticleCode(const QString& code) {
    // The same code again still looks the article up.
    if (field("TxtCodArt")->text() == code)
        lookUpArticle(code);
    else
        field("TxtCodArt")->setText(code);
    field("TxtUnidades")->setFocus();
    field("TxtUnidades")->selectAll();
}

void ODTS::takeNewArticle(const NewArticle& article) {
    if (article.saved) takeArticleCode(article.code);
}

void ODTS::addMaterial() {
    const auto entry = readPriced({"TxtArticulo", "TxtUnidades", "TxtPrecUnidad", "TxtDescArt"},
                                  "TxtUnidades", "TxtPrecUnidad", "TxtDescArt");
    if (!entry) return;
    MaterialLine l{editingMaterial_,
                   field("TxtCodArt")->text().trimmed(),
                   field("TxtArticulo")->text().trimmed(),
                   entry->units,
                   entry->price,
                   entry->discount};
    if (!storeCounted(LineKind::Materials,
                      [&] { storeMaterial(session_.db(), header_.number, l); }))
        return;
    editingMaterial_ = {};
    reload(LineKind::Materials);
    refreshTotals();
    skipLookup_ = false;
    for (const char* name :
         {"TxtCodArt", "TxtArticulo", "TxtUnidades", "TxtPrecUnidad", "TxtDescArt", "TxtStock"})
        field(name)->clear();
    showStockMarker(false);
    field("TxtCodArt")->setFocus();
}

void ODTS::editMaterial(int row) {
    const QVariant id = model(LineKind::Materials)->lineAt(row).id;
    for (const MaterialLine& l : lines_.materials) {
        if (l.id != id) continue;
        editingMaterial_ = id;
        // The line keeps its own description, units, price and discount.
        skipLookup_ = field("TxtCodArt")->text() != l.code;
        field("TxtCodArt")->setText(l.code);
        skipLookup_ = false;
        auto putBack = [&] {
            field("TxtArticulo")->setText(l.description);
            field("TxtUnidades")->setText(quantityText(l.units));
            field("TxtPrecUnidad")->setText(moneyText(l.price));
            field("TxtDescArt")->setText(quantityText(l.discount));
        };
        putBack();
        checkUnknownCode();
        std::optional<articles::Article> a;
        try {
            if (!l.code.trimmed().isEmpty())
                a = articles::articleByCode(session_.db(), l.code.trimmed());
        } catch (const DbError& e) {
            dialogs_.critical(e.message());
        }
        showStockMarker(a.has_value());
        if (!a) putBack();
        // Adding again takes only the new units from the stock left before the line.
        field("TxtStock")->setText(a ? quantityText(a->stock + l.units) : QString());
        field("TxtUnidades")->setFocus();
        return;
    }
}

// ---- Free lines ----

void ODTS::addFreeLine() {
    const auto entry =
        readPriced({"Text9", "Text10", "Text11", "Text12"}, "Text10", "Text11", "Text12");
    if (!entry) return;
    FreeLine l{editingFreeLine_,
               field("Text13")->text().trimmed(),
               field("Text9")->text().trimmed(),
               entry->units,
               entry->price,
               entry->discount};
    if (!storeCounted(LineKind::FreeLines,
                      [&] { storeFreeLine(session_.db(), header_.number, l); }))
        return;
    editingFreeLine_ = {};
    reload(LineKind::FreeLines);
    for (const char* name : {"Text13", "Text9", "Text10", "Text11"}) field(name)->clear();
    field("Text12")->setText(QStringLiteral("0"));
    refreshTotals();
    field("Text13")->setFocus();
}

void ODTS::editFreeLine(int row) {
    const QVariant id = model(LineKind::FreeLines)->lineAt(row).id;
    for (const FreeLine& l : lines_.freeLines) {
        if (l.id != id) continue;
        editingFreeLine_ = id;
        field("Text13")->setText(l.reference);
        field("Text9")->setText(l.text);
        field("Text10")->setText(quantityText(l.units));
        field("Text11")->setText(moneyText(l.price));
        field("Text12")->setText(quantityText(l.discount));
        field("Text9")->setFocus();
        return;
    }
}

// ---- Header, saving and closing ----

void ODTS::checkDuplicateNumber() {
    QLineEdit* number = field("TxtNODT");
    if (!newOrder_ || number->isReadOnly()) return;
    bool exists = false;
    try {
        exists = numberExists(session_.db(), number->text().trimmed());
    } catch (const DbError& e) {
        dialogs_.critical(e.message());
        return;
    }
    if (!exists) {
        header_.number = number->text().trimmed();
        return;
    }
    dialogs_.critical(duplicateNumberMessage(number->text().trimmed()));
    // Back to the number once the focus has finished moving away.
    QTimer::singleShot(0, number, [number] { number->setFocus(Qt::OtherFocusReason); });
}

Header ODTS::headerFromScreen() const {
    Header h = header_;
    h.entryDate = parseDisplayDate(entryDate_.masked->text()).value_or(QDate());
    h.exitDate = parseDisplayDate(exitDate_.masked->text()).value_or(QDate());
    h.kilometres = field("txtKm")->text();
    h.fuel = fuel_->currentText();
    h.estimate = estimate_->isChecked();
    h.collects = collects_->isChecked();
    h.unforeseen = unforeseen_->isChecked();
    h.internal = internal_->isChecked();
    h.estimateNumber = field("txtNPresupuesto")->text();
    h.deliveryNote = field("TxtNAlbaran")->text();
    h.invoice = field("TxtNFactura")->text();
    return h;
}

bool ODTS::kilometresGiven() const {
    return !field("txtKm")->text().trimmed().isEmpty();
}

bool ODTS::jobsLeft() const {
    for (const DocumentLine& l : model(LineKind::Jobs)->lines())
        if (!l.deleted) return true;
    return false;
}

QDate ODTS::exitDate() const {
    return parseDisplayDate(exitDate_.masked->text()).value_or(QDate());
}

QString ODTS::number() const {
    return header_.number;
}

void ODTS::setInvoiceNumber(const QString& number) {
    field("TxtNFactura")->setText(number);
}

void ODTS::setDeliveryNoteNumber(const QString& number) {
    field("TxtNAlbaran")->setText(number);
}

bool ODTS::quietSave() {
    quiet_ = true;
    const bool ok = runSave(true);
    quiet_ = false;
    return ok;
}

bool ODTS::runSave(bool quiet) {
    SaveResult result;
    try {
        result = save(session_.db(), headerFromScreen(), deletions());
    } catch (const DbError& e) {
        if (!quiet) dialogs_.critical(e.message());
        return false;
    }
    lastCheck_ = result.check;
    if (result.check != SaveCheck::Ok) {
        if (!quiet) dialogs_.critical(saveCheckMessage(result.check));
        return false;
    }
    takeStored(result.id);
    if (quiet) return true;
    dialogs_.message(QStringLiteral("ODT Guardada con éxito"));
    if (dialogs_.question(QStringLiteral("¿Desea imprimirla ahora?")))
        openScreen(nullptr, new FrmImprODT(session_, services_, header_.number));
    close();
    return true;
}

void ODTS::takeStored(qint64 id) {
    header_ = headerFromScreen();
    header_.id = id;
    saved_ = true;
    newOrder_ = false;
    countsAtOpening_ = lineCounts(session_.db(), header_.number);
    reloadAll();
}

bool ODTS::documentChecksPass() {
    refreshTotals();
    const QString refusal = invoicing::checkEditorDocument(jobsLeft(), field("txtKm")->text());
    if (refusal.isEmpty()) return true;
    dialogs_.critical(refusal);
    return false;
}

invoicing::StoreWorkOrder ODTS::storeWithNumber(bool invoice, qint64& storedId) {
    return [this, invoice, &storedId](Database& db, const QString& number) {
        Header h = headerFromScreen();
        (invoice ? h.invoice : h.deliveryNote) = number;
        const SaveResult r = saveWithin(db, h, deletions());
        // A refused save undoes the whole step.
        if (r.check != SaveCheck::Ok) throw DbError(saveCheckMessage(r.check));
        storedId = r.id;
    };
}

void ODTS::makeDeliveryNote() {
    if (!documentChecksPass()) return;
    qint64 id = 0;
    invoicing::Result r;
    try {
        r = invoicing::deliveryNoteFromEditor(session_, number(), storeWithNumber(false, id));
    } catch (const DbError& e) {
        dialogs_.critical(e.message());
        return;
    }
    if (!r) {
        dialogs_.message(r.refusal, r.icon);
        return;
    }
    setDeliveryNoteNumber(r.numbers.value(0));
    takeStored(id);
    Informes::ImprimirAlbaranODT(session_, services_, r.formula,
                                 QString::fromLatin1(invoicing::kDeliveryNoteReport));
}

void ODTS::makeInvoice(invoicing::InvoiceDocument document) {
    if (!documentChecksPass()) return;
    qint64 id = 0;
    invoicing::EditorInvoice in;
    in.workOrder = number();
    in.exitDate = exitDate();
    in.base = totals().base;
    in.paid = dialogs_.question(QString::fromUtf8(invoicing::kMarkPaid));
    in.storeWorkOrder = storeWithNumber(true, id);
    invoicing::Result r;
    try {
        r = invoicing::invoiceFromEditor(session_, in);
    } catch (const DbError& e) {
        dialogs_.critical(e.message());
        return;
    }
    if (!r) {
        dialogs_.message(r.refusal, r.icon);
        return;
    }
    setInvoiceNumber(r.numbers.value(0));
    takeStored(id);
    const invoicing::PrintTarget target = invoicing::printTarget(document);
    Informes::ImprimirFacturaODT(session_, services_, number(), target.file, target.preview);
    close();
}

void ODTS::closeEvent(QCloseEvent* event) {
    if (!saved_) {
        if (dialogs_.question(QStringLiteral("¿Desea guardar esta ODT?"))) {
            // A refused save keeps the screen and everything typed.
            if (!runSave(false)) {
                event->ignore();
                return;
            }
        } else {
            try {
                if (newOrder_)
                    discardNew(session_.db(), header_.number);
                else
                    discardExisting(session_.db(), header_.number, countsAtOpening_);
            } catch (const DbError& e) {
                dialogs_.critical(e.message());
                event->ignore();
                return;
            }
            saved_ = true;  // nothing left to ask
        }
    }
    event->accept();
}

bool ODTS::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        if (enter && watched == jobEntry_->lineEdit()) {
            addJob();
            return true;
        }
        for (const DateField* d : {&entryDate_, &exitDate_, &labourDate_}) {
            if (enter && watched == d->masked->maskEdit()) {
                focusNextField(d->masked);
                return true;
            }
        }
    }
    if (type == QEvent::FocusOut || type == QEvent::FocusIn) {
        for (const char* name : {"TxtDesc", "TxtDescArt", "Text12"}) {
            QLineEdit* e = field(name);
            if (watched == e) e->setText(boundDiscount(e->text(), true));
        }
    }
    if (type == QEvent::FocusOut) {
        if (watched == field("TxtNODT")) checkDuplicateNumber();
        if (watched == field("TxtCodArt")) checkUnknownCode();
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace torvane
