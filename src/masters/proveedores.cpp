#include "masters/proveedores.h"

#include <QVBoxLayout>

#include "controls/command_bar.h"
#include "controls/form_fields.h"
#include "controls/keyboard_classes.h"
#include "controls/screen.h"
#include "controls/tax_id_field.h"
#include "masters/busqueda_proveedores.h"
#include "masters/suppliers.h"

namespace torvane {

Proveedores::Proveedores(Session& session, Services& services, QWidget* parent)
    : RecordScreen(session, services, parent) {
    setObjectName(QStringLiteral("Proveedores"));
    setWindowTitle(QStringLiteral("Proveedores"));
    auto* layout = new QVBoxLayout(this);
    tabs_ = addTabs(this, layout, {QStringLiteral("Datos"), QStringLiteral("Historial")});
    buildDataTab(tabs_->widget(0));
    purchases_ =
        addGrid(tabs_->widget(1), new QVBoxLayout(tabs_->widget(1)), QStringLiteral("Compras"),
                QStringLiteral("MSHEntradasArticulos"), suppliers::purchaseColumns());

    applyKeyClasses(this, {{KeyClass::K3, "txtCodPostal txtFax txtMovil txtTelefono"},
                           {KeyClass::K4,
                            "txtCalle txtCodContable TxtCodigo txtLocalidad TxtNif txtNombre "
                            "txtNotas txtProvincia"}});
    TaxIdField::attach(this, dialogs_, QStringLiteral("txtCodContable"),
                       {.validateCifOnOption = true});

    RecordController::Setup setup;
    setup.table = QStringLiteral("Proveedores");
    setup.keyColumn = QStringLiteral("Id_Pro");
    setup.keys = suppliers::supplierKeys();
    setup.fields = suppliers::supplierFields();
    setup.lockedControls = taxIdOptionNames();
    setup.keyField = QStringLiteral("TxtId");
    setup.firstField = QStringLiteral("txtNombre");
    setup.deleteQuestion = QStringLiteral("Seguro que quiere eliminar el proveedor ");
    setup.deleteQuestionField = QStringLiteral("txtNombre");
    setup.allDeletedMessage = QStringLiteral("Se han eliminado todos los proveedores");
    setup.tabs = tabs_;
    setup.historyTab = 1;
    setup.historyGrid = purchases_;

    RecordController::Hooks hooks;
    hooks.propose = [this]() -> std::optional<Row> {
        return Row{{QStringLiteral("Codigo_Pro"), suppliers::proposeSupplierCode(session_.db())}};
    };
    hooks.check = suppliers::checkSupplier;
    hooks.save = [this](const QVariant& key, const Row& values) -> QVariant {
        return suppliers::saveSupplier(session_.db(), key, values);
    };
    hooks.remove = [this](const QVariant& key) {
        suppliers::deleteSupplier(session_.db(), key.toLongLong());
        return QString();
    };
    hooks.historyOf = [](const Row& row) {
        return suppliers::purchasesOf(row.value(QStringLiteral("Id_Pro")).toLongLong());
    };
    record_ = new RecordController(this, session_, dialogs_, setup, hooks);
    layout->addWidget(
        record_->commandBar(this, record_->standardCommands(QStringLiteral("CmdBuscar"), [this] {
            openScreen(this, new BusquedaProveedores(session_, services_, this,
                                                     QStringLiteral("Proveedores")));
        })));
    record_->open();
    resize(820, 520);
}

void Proveedores::buildDataTab(QWidget* tab) {
    auto* outer = new QVBoxLayout(tab);
    QGridLayout* grid = addFormGrid(outer);
    addHiddenField(tab, QStringLiteral("TxtId"));
    addFields(tab, grid,
              {{"Código:", "TxtCodigo", 0, 0, 1, 120}, {"Nombre:", "txtNombre", 1, 0, 3}});
    addCaptioned(tab, grid, 2, 0, QStringLiteral("NIF:"), taxIdRow(tab, false));
    addFields(tab, grid,
              {{"Cód. contable:", "txtCodContable", 2, 2},
               {"Dirección:", "txtCalle", 3, 0, 3},
               {"Localidad:", "txtLocalidad", 4, 0},
               {"Provincia:", "txtProvincia", 4, 2},
               {"C.P.:", "txtCodPostal", 5, 0, 1, 120},
               {"Teléfono:", "txtTelefono", 5, 2},
               {"Móvil:", "txtMovil", 6, 0},
               {"Fax:", "txtFax", 6, 2},
               {"Notas:", "txtNotas", 7, 0, 3}});
    outer->addStretch();
}

}  // namespace torvane
