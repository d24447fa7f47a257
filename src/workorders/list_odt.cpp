#include "workorders/list_odt.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>
#include <algorithm>

#include "controls/command_bar.h"
#include "controls/form_fields.h"
#include "controls/keyboard_classes.h"
#include "controls/option_group.h"
#include "controls/screen.h"
#include "core/mimsgbox.h"
#include "masters/historial_veh.h"
#include "reports/informes.h"
#include "workorders/multifactura_odt.h"
#include "workorders/unifactura_odt.h"

namespace torvane {

namespace {

using When = RecordMode::When;
namespace inv = invoicing;

const QString kDeleteQuestion = QStringLiteral("Seguro que quiere eliminar esta ODT");
const QString kPrintNow = QStringLiteral("¿Desea imprimir la factura ahora?");
const QString kUniQuestion = QStringLiteral(
    "¿Desea facturar todas las facturas pendientes para este cliente o seleccionarlas "
    "manualmente?");
const QString kBadDate = QStringLiteral("La fecha de la factura no es correcta.");

odtlist::Filter ordinaryFilter(int option) {
    static constexpr odtlist::Filter filters[] = {odtlist::Filter::Unbilled,
                                                  odtlist::Filter::Billed, odtlist::Filter::All};
    return filters[option >= 0 && option < 3 ? option : 2];
}

odtlist::Filter internalFilter(int option) {
    static constexpr odtlist::Filter filters[] = {odtlist::Filter::All, odtlist::Filter::Billed,
                                                  odtlist::Filter::Unbilled};
    return filters[option >= 0 && option < 3 ? option : 0];
}

QLineEdit* searchField(QWidget* owner, QBoxLayout* into, const QString& name) {
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("Buscar:"), owner);
    auto* field = new QLineEdit(owner);
    field->setObjectName(name);
    label->setBuddy(field);
    applyKeyClass(field, KeyClass::K2);
    row->addWidget(label);
    row->addWidget(field, 1);
    into->addLayout(row);
    return field;
}

}  // namespace

ListOdt::ListOdt(Session& session, Services& services, QWidget* parent)
    : QWidget(parent), session_(session), services_(services), dialogs_(services.dialogs()) {
    setObjectName(QStringLiteral("ListOdt"));
    setWindowTitle(QStringLiteral("Ordenes de Trabajo - Presupuestos - Ordenes internas"));
    auto* layout = new QVBoxLayout(this);
    tabs_ = addTabs(
        this, layout,
        {QStringLiteral("ODTS"), QStringLiteral("Presupuestos"), QStringLiteral("ODTS Internas")});
    buildOrdinaryTab(tabs_->widget(0));
    buildEstimatesTab(tabs_->widget(1));
    buildInternalTab(tabs_->widget(2));
    layout->addWidget(new CommandBar(
        this, {{QStringLiteral("CmdSalir"), QStringLiteral("Salir"), [this] { close(); }}}));

    // A tab empty on opening offers no search and no command.
    for (Tab* tab : {&ordinary_, &estimates_, &internal_})
        tab->mode.setHasRecords(tab->grid->rowCount() > 0);
    for (QWidget* w : ordinarySearchControls_) w->setEnabled(ordinary_.grid->rowCount() > 0);
    for (QWidget* w : estimateSearchControls_) w->setEnabled(estimates_.grid->rowCount() > 0);
    for (QWidget* w : internalSearchControls_) w->setEnabled(internal_.grid->rowCount() > 0);
    proposeNumber();
    resize(980, 620);
}

// ---- Tabs ----

void ListOdt::buildOrdinaryTab(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    auto* options = new QHBoxLayout;
    layout->addLayout(options);
    const QList<QRadioButton*> fields = addOptionGroup(
        page, options, QStringLiteral("Búsqueda por:"), QStringLiteral("Frame1"),
        QStringLiteral("Option1"),
        {QStringLiteral("NODT"), QStringLiteral("Matricula"), QStringLiteral("Fecha"),
         QStringLiteral("Cliente"), QStringLiteral("Marca"), QStringLiteral("Modelo")},
        field_, [this](int i) {
            field_ = i;
            searchOrdinary();
            txtBusqueda_->setFocus();
        });
    const QList<QRadioButton*> filters = addOptionGroup(
        page, options, QStringLiteral("Mostrar:"), QStringLiteral("Frame2"),
        QStringLiteral("Option2"),
        {QStringLiteral("Sin Facturar"), QStringLiteral("Facturadas"), QStringLiteral("Todas")},
        filter_, [this](int i) {
            filter_ = i;
            searchOrdinary();
        });
    txtBusqueda_ = searchField(page, layout, QStringLiteral("txtBusqueda"));
    connect(txtBusqueda_, &QLineEdit::textChanged, this, [this] { searchOrdinary(); });
    ordinarySearchControls_ << txtBusqueda_;
    for (QRadioButton* b : fields + filters) ordinarySearchControls_ << b;

    ordinary_.grid = addGrid(page, layout, {}, QStringLiteral("MshOdts"), odtlist::columns());
    for (const char* name : {"TxtNODT", "TxtIdODT", "TxtInterna", "TxtAlb", "TxtFact"})
        addHiddenField(page, QString::fromLatin1(name));
    connect(ordinary_.grid, &DataGrid::currentRowChanged, this, [this] { followOrdinaryRow(); });

    // The invoice number and date the invoicing uses.
    auto* next = new QHBoxLayout;
    next->addWidget(new QLabel(QStringLiteral("Próxima factura:"), page));
    txtProxFact_ = new QLineEdit(page);
    txtProxFact_->setObjectName(QStringLiteral("txtProxFact"));
    applyKeyClass(txtProxFact_, KeyClass::K4);
    txtProxFact_->installEventFilter(this);
    next->addWidget(txtProxFact_);
    next->addWidget(new QLabel(QStringLiteral("Fecha:"), page));
    opcProxFecha_ = new OpcEntrada(page);
    opcProxFecha_->setObjectName(QStringLiteral("OpcProxFecha"));
    opcProxFecha_->setTypeInput(OpcEntrada::Date);
    opcProxFecha_->setDialogs(&dialogs_);
    opcProxFecha_->setTodaySource([this] { return session_.today(); });
    opcProxFecha_->setText(session_.today().toString(QStringLiteral("dd/MM/yyyy")));
    next->addWidget(opcProxFecha_);
    next->addStretch();
    layout->addLayout(next);

    using D = inv::InvoiceDocument;
    const QList<CommandRow> first = {
        {QStringLiteral("CmdEditar"), QStringLiteral("Editar ODT"),
         [this] { onEdit(ordinary_, true); }, When::BrowseWithRecord},
        {QStringLiteral("CmdConvertir"), QStringLiteral("Convertir a interna"),
         [this] { onConvert(ordinary_, true); }, When::BrowseWithRecord},
        {QStringLiteral("CmdEliminar"), QStringLiteral("Eliminar ODT"), [this] { onDelete(); },
         When::BrowseWithRecord},
        {QStringLiteral("CmdCrearAlb"), QStringLiteral("Crear Albaran"),
         [this] { onCreateDeliveryNote(); }, When::BrowseWithRecord},
        {QStringLiteral("CmdImprimirAlb"), QStringLiteral("Imprimir Albaran"),
         [this] { onPrintDeliveryNote(); }, When::BrowseWithRecord},
        {QStringLiteral("CmdEliminarAlb"), QStringLiteral("Eliminar Albaran"),
         [this] { onRemoveDeliveryNote(); }, When::BrowseWithRecord},
        {QStringLiteral("CmdHistorial"), QStringLiteral("Historial"), [this] { onHistory(); },
         When::BrowseWithRecord},
        {QStringLiteral("KewlButtons4"),
         QStringLiteral("Historial del vehiculo"),
         {},
         When::BrowseWithRecord},
    };
    const QList<CommandRow> second = {
        {QStringLiteral("CmdFacturar"), QStringLiteral("Facturar"), [this] { onInvoice(); },
         When::BrowseWithRecord},
        {QStringLiteral("CmdFacturasPendientes"), QStringLiteral("Uni Factura"),
         [this] { onInvoiceTogether(); }, When::BrowseWithRecord},
        {QStringLiteral("CmdMultiFactura"), QStringLiteral("Multi Factura"),
         [this] { onInvoiceEach(); }, When::BrowseWithRecord},
        {QStringLiteral("CmdImprimir"), QStringLiteral("Imprimir Factura"),
         [this] { onPrintInvoice(D::Invoice); }, When::BrowseWithRecord},
        {QStringLiteral("KewlButtons9"), QStringLiteral("Factura interna"),
         [this] { onPrintInvoice(D::Internal); }, When::BrowseWithRecord},
        {QStringLiteral("KewlButtons10"), QStringLiteral("Ticket"),
         [this] { onPrintInvoice(D::Ticket); }, When::BrowseWithRecord},
        {QStringLiteral("CmdEliminarFact"), QStringLiteral("Eliminar Factura"),
         [this] { onRemoveInvoice(); }, When::BrowseWithRecord},
    };
    layout->addWidget(new CommandBar(page, first, &ordinary_.mode));
    layout->addWidget(new CommandBar(page, second, &ordinary_.mode));
    // Editing needs the editor; the second history button has no action.
    ordinary_.mode.setForcedOff(QStringLiteral("CmdEditar"),
                                !services_.handoffs().workOrders.hasEditor());
    ordinary_.mode.setForcedOff(QStringLiteral("KewlButtons4"), true);

    showIn(ordinary_, odtlist::ordinaryOpen());
}

void ListOdt::buildEstimatesTab(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    auto* options = new QHBoxLayout;
    layout->addLayout(options);
    const QList<QRadioButton*> buttons =
        addOptionGroup(page, options, QStringLiteral("Búsqueda por:"), QStringLiteral("Frame3"),
                       QStringLiteral("Option5"),
                       {QStringLiteral("Cliente"), QStringLiteral("provisional Fecha"),
                        QStringLiteral("Matricula"), QStringLiteral("NODT")},
                       estimateOption_, [this](int i) {
                           estimateOption_ = i;
                           searchEstimates();
                           text1_->setFocus();
                       });
    text1_ = searchField(page, layout, QStringLiteral("Text1"));
    connect(text1_, &QLineEdit::textChanged, this, [this] { searchEstimates(); });
    estimateSearchControls_ << text1_;
    for (QRadioButton* b : buttons) estimateSearchControls_ << b;
    estimates_.grid =
        addGrid(page, layout, {}, QStringLiteral("MSHPresupuestos"), odtlist::columns());
    layout->addWidget(new CommandBar(
        page,
        {{QStringLiteral("KewlButtons1"), QStringLiteral("Convertir a ODT"),
          [this] { onEstimateNumber(); }, When::BrowseWithRecord},
         {QStringLiteral("KewlButtons2"), QStringLiteral("Editar Presup."),
          [this] { onEdit(estimates_, false); }, When::BrowseWithRecord},
         {QStringLiteral("KewlButtons3"), QStringLiteral("Eliminar"), {}, When::BrowseWithRecord},
         {QStringLiteral("KewlButtons5"),
          QStringLiteral("Imprimir Presup."),
          {},
          When::BrowseWithRecord}},
        &estimates_.mode));
    estimates_.mode.setForcedOff(QStringLiteral("KewlButtons2"),
                                 !services_.handoffs().workOrders.hasEditor());
    // Commands without an action.
    estimates_.mode.setForcedOff(QStringLiteral("KewlButtons3"), true);
    estimates_.mode.setForcedOff(QStringLiteral("KewlButtons5"), true);
    showIn(estimates_, odtlist::estimatesOpen());
}

void ListOdt::buildInternalTab(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    auto* options = new QHBoxLayout;
    layout->addLayout(options);
    const QList<QRadioButton*> fields =
        addOptionGroup(page, options, QStringLiteral("Búsqueda por:"), QStringLiteral("Frame4"),
                       QStringLiteral("Option3"),
                       {QStringLiteral("NODT"), QStringLiteral("Matricula"),
                        QStringLiteral("provisional Fecha"), QStringLiteral("Cliente")},
                       internalOption_, [this](int i) {
                           internalOption_ = i;
                           searchInternal();
                           txtBusquedaInt_->setFocus();
                       });
    // The filter alone reloads the whole internal list.
    const QList<QRadioButton*> filters = addOptionGroup(
        page, options, QStringLiteral("Mostrar:"), QStringLiteral("Frame5"),
        QStringLiteral("Option4"),
        {QStringLiteral("Todas"), QStringLiteral("Facturadas"), QStringLiteral("Sin Facturar")},
        internalFilter_, [this](int i) {
            internalFilter_ = i;
            showIn(internal_, odtlist::internalOpen(internalFilter(i)));
        });
    txtBusquedaInt_ = searchField(page, layout, QStringLiteral("TxtBusquedaInt"));
    connect(txtBusquedaInt_, &QLineEdit::textChanged, this, [this] { searchInternal(); });
    internalSearchControls_ << txtBusquedaInt_;
    for (QRadioButton* b : fields + filters) internalSearchControls_ << b;
    internal_.grid = addGrid(page, layout, {}, QStringLiteral("MSHODTSInt"), odtlist::columns());
    for (const char* name : {"TxtNODTInt", "TxtIdODTInt", "textInternaInt"})
        addHiddenField(page, QString::fromLatin1(name));
    connect(internal_.grid, &DataGrid::currentRowChanged, this, [this] { followInternalRow(); });
    layout->addWidget(
        new CommandBar(page,
                       {{QStringLiteral("KewlButtons6"), QStringLiteral("Convertir a ODT"),
                         [this] { onConvert(internal_, false); }, When::BrowseWithRecord},
                        {QStringLiteral("KewlButtons7"), QStringLiteral("Editar ODT"),
                         [this] { onEdit(internal_, false); }, When::BrowseWithRecord},
                        {QStringLiteral("CmdEliminarInt"), QStringLiteral("Eliminar ODT"),
                         [this] { onDeleteInternal(); }, When::BrowseWithRecord},
                        {QStringLiteral("KewlButtons8"),
                         QStringLiteral("Historial del vehiculo"),
                         {},
                         When::BrowseWithRecord}},
                       &internal_.mode));
    internal_.mode.setForcedOff(QStringLiteral("KewlButtons7"),
                                !services_.handoffs().workOrders.hasEditor());
    internal_.mode.setForcedOff(QStringLiteral("KewlButtons8"), true);
    showIn(internal_, odtlist::internalOpen(internalFilter(internalFilter_)));
}

void ListOdt::showIn(Tab& tab, const SqlStatement& statement, int keepRow) {
    tab.shown = statement;
    tab.grid->run(session_.db(), statement, dialogs_);
    if (keepRow < 0 || tab.grid->rowCount() == 0) return;
    // The same position, or the nearest one left.
    while (tab.grid->rowCount() <= keepRow && tab.grid->gridModel()->canFetchMore())
        tab.grid->gridModel()->fetchMore();
    tab.grid->setCurrentRowIndex(std::min(keepRow, tab.grid->rowCount() - 1));
}

void ListOdt::reloadAll() {
    reload(ordinary_);
    reload(estimates_);
    reload(internal_);
}

void ListOdt::searchOrdinary() {
    showIn(ordinary_, odtlist::ordinarySearch(session_.db(), static_cast<odtlist::Field>(field_),
                                              txtBusqueda_->text(), ordinaryFilter(filter_)));
}

void ListOdt::searchEstimates() {
    if (const auto s = odtlist::estimatesSearch(session_.db(), estimateOption_, text1_->text()))
        showIn(estimates_, *s);
}

void ListOdt::searchInternal() {
    if (const auto s =
            odtlist::internalSearch(session_.db(), internalOption_, txtBusquedaInt_->text(),
                                    internalFilter(internalFilter_)))
        showIn(internal_, *s);
}

void ListOdt::followOrdinaryRow() {
    const DataGrid* g = ordinary_.grid;
    const std::pair<const char*, const char*> bound[] = {{"TxtNODT", "NODT"},
                                                         {"TxtIdODT", "Id_ODT"},
                                                         {"TxtInterna", "Interna"},
                                                         {"TxtAlb", "NAlbaran"},
                                                         {"TxtFact", "NFactura"}};
    for (const auto& [field, column] : bound)
        findChild<QLineEdit*>(QString::fromLatin1(field))
            ->setText(g->currentValue(QString::fromLatin1(column)).toString());
}

void ListOdt::followInternalRow() {
    const DataGrid* g = internal_.grid;
    const std::pair<const char*, const char*> bound[] = {
        {"TxtNODTInt", "NODT"}, {"TxtIdODTInt", "Id_ODT"}, {"textInternaInt", "Interna"}};
    for (const auto& [field, column] : bound)
        findChild<QLineEdit*>(QString::fromLatin1(field))
            ->setText(g->currentValue(QString::fromLatin1(column)).toString());
}

// ---- Helpers ----

std::optional<inv::WorkOrderState> ListOdt::current(Tab& tab) {
    std::optional<inv::WorkOrderState> wo;
    if (tab.grid->currentRowIndex() >= 0)
        wo = inv::workOrderById(session_.db(),
                                tab.grid->currentValue(QStringLiteral("Id_ODT")).toLongLong());
    if (!wo) dialogs_.critical(QString::fromUtf8(inv::kNoActiveRecord));
    return wo;
}

bool ListOdt::tell(const inv::Result& result) {
    if (!result) dialogs_.message(result.refusal, result.icon);
    return bool(result);
}

std::optional<QDate> ListOdt::invoiceDate() {
    const QDate d = QDate::fromString(opcProxFecha_->text(), QStringLiteral("dd/MM/yyyy"));
    if (!d.isValid()) {
        dialogs_.critical(kBadDate);
        return std::nullopt;
    }
    return d;
}

void ListOdt::proposeNumber() {
    try {
        txtProxFact_->setText(odtlist::proposedInvoiceNumber(session_));
    } catch (const DbError& e) {
        dialogs_.critical(e.message());
    }
}

void ListOdt::checkProposedNumber() {
    const QString number = txtProxFact_->text();
    if (number.isEmpty() || !inv::numberInUse(session_.db(), number)) return;
    dialogs_.critical(inv::numberInUseMessage(number));
    proposeNumber();
    txtProxFact_->setFocus();
}

bool ListOdt::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtProxFact_ && event->type() == QEvent::FocusOut) checkProposedNumber();
    return QWidget::eventFilter(watched, event);
}

// ---- Commands ----

void ListOdt::onEdit(Tab& tab, bool refuseInvoiced) {
    const auto wo = current(tab);
    if (!wo) return;
    if (refuseInvoiced && wo->invoiced()) {
        dialogs_.critical(QStringLiteral("No se puede editar una Orden de Trabajo ya facturada"));
        return;
    }
    QPointer<ListOdt> self(this);
    if (services_.handoffs().workOrders.edit(EditWorkOrderRequest{this, wo->id}) && self &&
        isVisible())
        close();
}

void ListOdt::onConvert(Tab& tab, bool toInternal) {
    const auto wo = current(tab);
    if (!wo) return;
    inv::setInternal(session_.db(), wo->id, toInternal);
    if (toInternal) {
        reload(ordinary_);
        reload(internal_);
    } else {
        reloadAll();
    }
}

void ListOdt::onEstimateNumber() {
    const auto wo = current(estimates_);
    if (wo) dialogs_.message(QStringLiteral("ODT") + wo->number.mid(4));
}

void ListOdt::onCreateDeliveryNote() {
    const auto wo = current(ordinary_);
    if (wo && tell(inv::createDeliveryNote(session_, wo->id))) reload(ordinary_);
}

void ListOdt::onRemoveDeliveryNote() {
    const auto wo = current(ordinary_);
    if (wo && tell(inv::removeDeliveryNote(session_.db(), wo->id))) reload(ordinary_);
}

void ListOdt::onRemoveInvoice() {
    const auto wo = current(ordinary_);
    if (wo && tell(inv::removeInvoice(session_.db(), wo->id))) reload(ordinary_);
}

void ListOdt::onDelete() {
    const auto wo = current(ordinary_);
    if (!wo || !dialogs_.question(kDeleteQuestion)) return;
    const int row = ordinary_.grid->currentRowIndex();
    if (tell(inv::deleteWorkOrder(session_.db(), wo->id)))
        showIn(ordinary_, odtlist::ordinaryOpen(), row);
}

void ListOdt::onDeleteInternal() {
    const auto wo = current(internal_);
    if (!wo || !dialogs_.question(kDeleteQuestion)) return;
    if (!tell(inv::deleteInternalWorkOrder(session_.db(), wo->id))) return;
    reload(internal_);
    if (internal_.grid->rowCount() == 0) reloadAll();
}

void ListOdt::onPrintInvoice(inv::InvoiceDocument document) {
    const auto wo = current(ordinary_);
    if (!wo) return;
    if (!wo->invoiced()) {
        dialogs_.critical(QStringLiteral("Para poder imprimir debe facturar primero"));
        return;
    }
    const inv::PrintTarget target = inv::printTarget(document);
    Informes::ImprimirFacturaODT(session_, services_, wo->number, target.file, target.preview);
}

void ListOdt::onPrintDeliveryNote() {
    const auto wo = current(ordinary_);
    if (!wo) return;
    if (!wo->hasDeliveryNote()) {
        dialogs_.critical(QStringLiteral("Para poder imprimir debe crear el Albarán primero"));
        return;
    }
    Informes::ImprimirAlbaranODT(session_, services_,
                                 QStringLiteral("{ODTS.NODT}='") + wo->number + QLatin1Char('\''),
                                 QString::fromLatin1(inv::kDeliveryNoteReport));
}

void ListOdt::onHistory() {
    const QVariant vehicle = ordinary_.grid->currentValue(QStringLiteral("Id_Veh"));
    if (!vehicle.isValid() || vehicle.isNull()) {
        dialogs_.critical(QString::fromUtf8(inv::kNoActiveRecord));
        return;
    }
    openScreen(this, new HistorialVeh(session_, services_, vehicle.toLongLong()));
}

void ListOdt::onInvoice() {
    const auto wo = current(ordinary_);
    if (!wo) return;
    const QString number = txtProxFact_->text();
    if (const QString why = inv::checkListInvoice(session_.db(), wo->id, number); !why.isEmpty()) {
        dialogs_.critical(why);
        return;
    }
    const auto date = invoiceDate();
    if (!date) return;
    const bool paid = dialogs_.question(QString::fromUtf8(inv::kMarkPaid));
    if (!tell(inv::invoiceFromList(session_, {wo->id, number, *date, paid}))) return;
    reload(ordinary_);
    proposeNumber();
    if (dialogs_.question(kPrintNow))
        Informes::ImprimirFacturaODT(session_, services_, wo->number,
                                     QString::fromLatin1(inv::kInvoiceReport), true);
}

void ListOdt::onInvoiceTogether() {
    const auto wo = current(ordinary_);
    if (!wo) return;
    const auto pending = inv::pendingOfCustomerOf(session_.db(), wo->number);
    if (!pending || pending->workOrders.size() <= 1) {
        dialogs_.information(QString::fromUtf8(inv::kOnePendingOnly));
        return;
    }
    const int answer = MiMsgbox(dialogs_, kUniQuestion, {}, QStringLiteral("Todas"),
                                QStringLiteral("Seleccionar"));
    if (answer == kMsgBoxNone) return;
    const auto date = invoiceDate();
    if (!date) return;
    const QString number = txtProxFact_->text();
    if (answer == kMsgBoxNo) {
        openScreenInstead(
            this, new UnifacturaODT(session_, services_, pending->customerId, number, *date));
        return;
    }
    if (inv::numberInUse(session_.db(), number)) {
        dialogs_.critical(inv::numberInUseMessage(number));
        return;
    }
    const bool paid = dialogs_.question(QString::fromUtf8(inv::kMarkPaid));
    const inv::Result r =
        inv::invoiceTogether(session_, {pending->workOrders, number, *date, paid});
    if (!tell(r)) return;
    reload(ordinary_);
    Informes::ImprimirFacturaODT(session_, services_, r.formula,
                                 QString::fromLatin1(inv::kJointInvoiceReport), true);
    close();
}

void ListOdt::onInvoiceEach() {
    if (!inv::anyPendingWorkOrder(session_.db())) {
        dialogs_.critical(QString::fromUtf8(inv::kNothingPending));
        return;
    }
    const auto date = invoiceDate();
    if (!date) return;
    openScreenInstead(this, new MultiFacturaODT(session_, services_, txtProxFact_->text(), *date));
}

}  // namespace torvane
