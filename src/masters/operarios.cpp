#include "masters/operarios.h"

#include <QComboBox>
#include <QVBoxLayout>

#include "controls/command_bar.h"
#include "controls/form_fields.h"
#include "controls/keyboard_classes.h"
#include "controls/screen.h"
#include "controls/tax_id_field.h"
#include "core/format.h"
#include "masters/busqueda_operarios.h"
#include "masters/operators.h"

namespace torvane {

Operarios::Operarios(Session& session, Services& services, QWidget* parent)
    : RecordScreen(session, services, parent) {
    setObjectName(QStringLiteral("Operarios"));
    setWindowTitle(QStringLiteral("Operarios"));
    auto* layout = new QVBoxLayout(this);
    tabs_ =
        addTabs(this, layout, {QStringLiteral("Datos personales"), QStringLiteral("Historial")});
    buildDataTab(tabs_->widget(0));
    labour_ = addGrid(tabs_->widget(1), new QVBoxLayout(tabs_->widget(1)),
                      QStringLiteral("Trabajos Realizados"), QStringLiteral("MSHTrabajosOdt"),
                      operators::labourColumns());

    applyKeyClasses(this, {{KeyClass::K1, "txtCategoria"},
                           {KeyClass::K3, "txtCodPostal txtMovil txtTelefono1 txtTelefono2"},
                           {KeyClass::K4,
                            "ComboDepartamento txtCalle TxtCodigo txtLocalidad TxtNif txtNombre "
                            "txtObservaciones txtProvincia txtSSocial"},
                           {KeyClass::K5, "TxtCoste"}});
    TaxIdField::attach(this, dialogs_, QStringLiteral("txtCalle"), {.validateCifOnOption = true});

    RecordController::Setup setup;
    setup.table = QStringLiteral("Operarios");
    setup.keyColumn = QStringLiteral("Id_Ope");
    setup.keys = operators::operatorKeys();
    setup.fields = operators::operatorFields();
    setup.lockedControls = taxIdOptionNames();
    setup.keyField = QStringLiteral("txtId");
    setup.firstField = QStringLiteral("txtNombre");
    setup.deleteQuestion = QStringLiteral("Seguro que quiere eliminar el operario ");
    setup.deleteQuestionField = QStringLiteral("txtNombre");
    setup.allDeletedMessage = QStringLiteral("Se han eliminado todos los operarios");
    setup.tabs = tabs_;
    setup.historyTab = 1;
    setup.historyGrid = labour_;
    setup.dates = dates_;

    RecordController::Hooks hooks;
    hooks.propose = [this]() -> std::optional<Row> {
        record_->last();
        return Row{{QStringLiteral("Codigo"), operators::proposeOperatorCode(session_.db())},
                   {QStringLiteral("Fecha_Alta"), toIsoDate(session_.today())}};
    };
    hooks.check = operators::checkOperator;
    hooks.save = [this](const QVariant& key, const Row& values) -> QVariant {
        return operators::saveOperator(session_.db(), key, values);
    };
    hooks.remove = [this](const QVariant& key) {
        operators::deleteOperator(session_.db(), key.toLongLong());
        return QString();
    };
    hooks.historyOf = [](const Row& row) {
        return operators::labourOf(row.value(QStringLiteral("Codigo")).toString());
    };
    record_ = new RecordController(this, session_, dialogs_, setup, hooks);
    layout->addWidget(
        record_->commandBar(this, record_->standardCommands(QStringLiteral("CmdBuscarCli"), [this] {
            openScreen(this, new BusquedaOperarios(session_, services_, this));
        })));
    record_->open();
    resize(820, 560);
}

void Operarios::buildDataTab(QWidget* tab) {
    auto* outer = new QVBoxLayout(tab);
    QGridLayout* grid = addFormGrid(outer);
    addHiddenField(tab, QStringLiteral("txtId"));
    addFields(tab, grid,
              {{"Código:", "TxtCodigo", 0, 0, 1, 120},
               {"Nombre:", "txtNombre", 1, 0, 3},
               {"Nº S. Social:", "txtSSocial", 2, 0}});
    addCaptioned(tab, grid, 2, 2, QStringLiteral("NIF:"), taxIdRow(tab, false));
    addFields(tab, grid,
              {{"Calle / Barrio...:", "txtCalle", 3, 0, 3},
               {"Localidad:", "txtLocalidad", 4, 0},
               {"Provincia:", "txtProvincia", 4, 2},
               {"C.P.:", "txtCodPostal", 5, 0, 1, 120},
               {"Teléfono 1:", "txtTelefono1", 5, 2},
               {"Teléfono 2:", "txtTelefono2", 6, 0},
               {"Móvil:", "txtMovil", 6, 2}});
    auto today = [this] { return session_.today(); };
    dates_ = {
        addDateField(tab, grid, 7, 0, QStringLiteral("Fecha nacimiento:"),
                     QStringLiteral("txtFechaNac"), QStringLiteral("OpcFechaNac"), dialogs_, today),
        addDateField(tab, grid, 7, 2, QStringLiteral("Fecha alta:"), QStringLiteral("TxtFechaAlta"),
                     QStringLiteral("OpcFechaAlta"), dialogs_, today)};
    auto* department = new QComboBox(tab);
    department->setObjectName(QStringLiteral("ComboDepartamento"));
    department->setEditable(true);
    department->addItems(operators::departmentChoices());
    addCaptioned(tab, grid, 8, 0, QStringLiteral("Departamento:"), department);
    addFields(tab, grid,
              {{"Categoría:", "txtCategoria", 8, 2},
               {"Coste hora:", "TxtCoste", 9, 0, 1, 120},
               {"Observaciones:", "txtObservaciones", 10, 0, 3}});
    outer->addStretch();
}

}  // namespace torvane
