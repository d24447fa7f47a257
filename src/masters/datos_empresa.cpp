#include "masters/datos_empresa.h"

#include <QCloseEvent>
#include <QLabel>
#include <QVBoxLayout>

#include "controls/command_bar.h"
#include "controls/form_fields.h"
#include "controls/keyboard_classes.h"
#include "controls/record_screen_binder.h"
#include "controls/tax_id_field.h"
#include "core/database_setup.h"

namespace torvane {

namespace {

// The eleven fields, in screen order.
const QList<FieldBinding> kFields = {
    {"txtNombre", "Nombre"},
    {"TxtNif", "Nif"},
    {"TxtTitular", "Titular"},
    {"txtCalle", "Direccion"},
    {"TxtCP", "CP"},
    {"txtLocalidad", "Localidad"},
    {"txtProvincia", "Provincia"},
    {"txtTelefono", "Telefono"},
    {"txtFax", "Fax"},
    {"TxtIVA", "IVA"},
    {"TxtRegistro", "Registro"},
};

const QString kMissingFields = QStringLiteral("Debe completar todos los campos");

}  // namespace

DatosEmpresa::DatosEmpresa(Session& session, Services& services, QWidget* parent)
    : QWidget(parent), session_(session), services_(services), dialogs_(services.dialogs()) {
    setObjectName(QStringLiteral("DatosEmpresa"));
    setWindowTitle(QStringLiteral("Datos de la Empresa"));
    buildForm();
    fields_ = BoundFields(this, kFields);
    new RecordScreenBinder(
        this, &mode_,
        fields_.controlNames() + QStringList{QStringLiteral("OptNIF"), QStringLiteral("OptCIF"),
                                             QStringLiteral("OptLIBRE")});
    load();
}

void DatosEmpresa::buildForm() {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(16, 16, 16, 12);
    QGridLayout* grid = addFormGrid(outer);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    // Long fields span the whole width; short numeric ones share a row.
    addFields(this, grid, {{"Nombre:", "txtNombre", 0, 0, 3}});
    auto* nifLabel = new QLabel(QStringLiteral("NIF / CIF:"), this);
    nifLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(nifLabel, 1, 0);
    QHBoxLayout* nifRow = taxIdRow(this);
    nifRow->setStretch(0, 0);
    nifRow->itemAt(0)->widget()->setMaximumWidth(160);
    nifRow->insertSpacing(1, 12);
    nifRow->addStretch();
    grid->addLayout(nifRow, 1, 1, 1, 3);
    addFields(this, grid,
              {{"Titular:", "TxtTitular", 2, 0, 3},
               {"Calle / Barrio...", "txtCalle", 3, 0, 3},
               {"Cód. Postal:", "TxtCP", 4, 0, 1, 90},
               {"Localidad:", "txtLocalidad", 4, 2},
               {"Provincia:", "txtProvincia", 5, 0, 3},
               {"Teléfono:", "txtTelefono", 6, 0},
               {"Fax:", "txtFax", 6, 2},
               {"IVA que aplica:", "TxtIVA", 7, 0, 1, 60},
               {"Registro Industrial:", "TxtRegistro", 8, 0, 3}});
    outer->addSpacing(12);
    using When = RecordMode::When;
    outer->addWidget(new CommandBar(
        this,
        {{QStringLiteral("CmdModificar"), QStringLiteral("&Modificar"), [this] { startEditing(); },
          When::Browse},
         {QStringLiteral("CmdGuardar"), QStringLiteral("&Guardar"), [this] { save(); }, When::Edit},
         {QStringLiteral("CmdCancelar"), QStringLiteral("&Cancelar"), [this] { cancel(); },
          When::Edit},
         {QStringLiteral("CmdSalir"), QStringLiteral("&Salir"), [this] { close(); }, When::Browse}},
        &mode_));
    setMinimumWidth(560);

    applyKeyClasses(this,
                    {{KeyClass::K4, "txtNombre TxtTitular txtCalle txtLocalidad txtProvincia"},
                     {KeyClass::K3, "TxtCP txtTelefono txtFax TxtIVA"},
                     {KeyClass::K2, "TxtNif"}});
    TaxIdField::attach(this, dialogs_, QStringLiteral("TxtTitular"));
}

void DatosEmpresa::load() {
    std::optional<CompanyData> data;
    try {
        data = loadCompanyData(session_.db());
    } catch (const DbError& e) {
        dialogs_.critical(QStringLiteral("No se pueden leer los datos de la empresa: ") +
                          e.message());
    }
    newRow_ = !data.has_value();
    fields_.setTexts(data.value_or(CompanyData{}));
    // An empty table gets a new row straight away, so the user can start typing.
    mode_.setMode(newRow_ ? RecordMode::Mode::Edit : RecordMode::Mode::Browse);
}

bool DatosEmpresa::refuseIfIncomplete() {
    if (companyDataComplete(fields_.texts())) return false;
    dialogs_.message(kMissingFields);
    return true;
}

void DatosEmpresa::startEditing() {
    mode_.setMode(RecordMode::Mode::Edit);
    fields_.edit(QStringLiteral("Nombre"))->setFocus();
}

bool DatosEmpresa::save() {
    if (refuseIfIncomplete()) return false;
    QString error;
    if (!saveCompanyData(session_.db(), fields_.texts(), &error)) {
        dialogs_.critical(QStringLiteral("No se han podido guardar los datos de la empresa: ") +
                          error);
        return false;
    }
    std::optional<QString> name;
    try {
        name = readCompanyName(session_.db());
    } catch (const DbError&) {
        name = fields_.texts().value(QStringLiteral("Nombre"));
    }
    load();
    session_.setCompanyName(name.value_or(QString()));
    Q_EMIT saved();
    return true;
}

void DatosEmpresa::cancel() {
    // The company data cannot be left incomplete by cancelling.
    if (refuseIfIncomplete()) return;
    load();
    if (newRow_) mode_.setMode(RecordMode::Mode::Browse);
}

void DatosEmpresa::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted()) Q_EMIT closed();
}

}  // namespace torvane
