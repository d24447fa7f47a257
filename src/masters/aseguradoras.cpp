#include "masters/aseguradoras.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "controls/command_bar.h"
#include "controls/form_fields.h"
#include "controls/keyboard_classes.h"
#include "controls/record_screen_binder.h"
#include "controls/screen.h"
#include "core/db_errors.h"
#include "masters/busqueda_aseguradoras.h"
#include "masters/insurers.h"

namespace torvane {

using When = RecordMode::When;

FrmAseguradoras::FrmAseguradoras(Session& session, Services& services, QWidget* parent)
    : RecordScreen(session, services, parent) {
    setObjectName(QStringLiteral("frmAseguradoras"));
    setWindowTitle(QStringLiteral("Aseguradoras"));
    auto* layout = new QVBoxLayout(this);
    tabs_ = addTabs(this, layout, {QStringLiteral("Datos"), QStringLiteral("Tarifas")});
    buildDataTab(tabs_->widget(0));
    buildTariffTab(tabs_->widget(1));
    applyKeyClasses(this, {{KeyClass::K2,
                            "txtCalle txtCodContable TxtCodigo txtCodPostal txtFax txtLocalidad "
                            "txtMovil TxtNif txtNombre txtNotas txtProvincia TxtReferencia "
                            "txtTelefono"},
                           {KeyClass::K5, "Text1"}});

    RecordController::Setup setup;
    setup.table = QStringLiteral("Aseguradoras");
    setup.keyColumn = QStringLiteral("Id_Ase");
    setup.keys = insurers::insurerKeys();
    setup.fields = insurers::insurerFields();
    setup.keyField = QStringLiteral("txtId_Ase");
    setup.firstField = QStringLiteral("TxtCodigo");
    setup.deleteQuestion = QStringLiteral("¿Seguro que quiere eliminar la aseguradora");
    setup.deleteQuestionField = QStringLiteral("txtNombre");
    setup.deleteQuestionEnd = QStringLiteral("?");
    setup.abandonWhenCheckFails = true;
    setup.tabs = tabs_;

    RecordController::Hooks hooks;
    hooks.check = insurers::checkInsurer;
    hooks.save = [this](const QVariant& key, const Row& values) -> QVariant {
        return insurers::saveInsurer(session_.db(), key, values);
    };
    hooks.remove = [this](const QVariant& key) {
        insurers::deleteInsurer(session_.db(), key.toLongLong());
        return QString();
    };
    hooks.shown = [this](const Row&) { showTariff(); };
    record_ = new RecordController(this, session_, dialogs_, setup, hooks);
    recordCommands_ =
        record_->commandBar(this, record_->standardCommands(QStringLiteral("CmdBuscar"), [this] {
            openScreen(this, new BusquedaAseguradoras(session_, services_, this, {}));
        }));
    layout->addWidget(recordCommands_);
    connect(&record_->mode(), &RecordMode::changed, this, &FrmAseguradoras::updateTariffState);
    connect(&tariffMode_, &RecordMode::changed, this, &FrmAseguradoras::updateTariffState);
    connect(record_, &RecordController::reloaded, this, &FrmAseguradoras::updateTariffState);
    record_->open();
    updateTariffState();
    resize(820, 540);
}

void FrmAseguradoras::buildDataTab(QWidget* tab) {
    auto* outer = new QVBoxLayout(tab);
    addHiddenField(tab, QStringLiteral("txtId_Ase"));
    addFields(tab, addFormGrid(outer),
              {{"Código:", "TxtCodigo", 0, 0, 1, 120},
               {"Nombre:", "txtNombre", 1, 0, 3},
               {"NIF:", "TxtNif", 2, 0},
               {"Referencia:", "TxtReferencia", 2, 2},
               {"Cod. Contable:", "txtCodContable", 3, 0},
               {"Dirección:", "txtCalle", 4, 0, 3},
               {"Localidad:", "txtLocalidad", 5, 0},
               {"Provincia:", "txtProvincia", 5, 2},
               {"C.P.:", "txtCodPostal", 6, 0, 1, 120},
               {"Teléfono:", "txtTelefono", 6, 2},
               {"Telf. Móvil:", "txtMovil", 7, 0},
               {"Fax:", "txtFax", 7, 2},
               {"Notas:", "txtNotas", 8, 0, 3}});
    outer->addStretch();
}

void FrmAseguradoras::buildTariffTab(QWidget* tab) {
    auto* outer = new QVBoxLayout(tab);
    auto* grid = new QGridLayout;
    outer->addLayout(grid);
    auto header = [&](const QString& text, int row, int column, int span) {
        auto* label = new QLabel(text, tab);
        label->setAlignment(Qt::AlignCenter);
        grid->addWidget(label, row, column, 1, span);
    };
    header(QStringLiteral("Turismos"), 0, 1, 2);
    header(QStringLiteral("Furgones"), 0, 3, 2);
    for (int c = 0; c < insurers::kTariffColumns; ++c)
        header(c % 2 ? QStringLiteral("Fest/Noct") : QStringLiteral("Laborables"), 1, c + 1, 1);
    auto addAmount = [&](int row, int column) {
        auto* edit = new QLineEdit(tab);
        edit->setObjectName(QStringLiteral("Text1_%1").arg(tariff_.size()));
        edit->setAlignment(Qt::AlignRight);
        edit->setMaximumWidth(110);
        grid->addWidget(edit, row, column);
        tariff_ << edit;
    };
    const auto& services = insurers::tariffServices();
    for (int s = 0; s < services.size(); ++s) {
        grid->addWidget(new QLabel(QString::fromUtf8(services[s].caption), tab), s + 2, 0);
        for (int c = 0; c < insurers::kTariffColumns; ++c) addAmount(s + 2, c + 1);
    }
    // The single values, under the grid: Espera, Rescate, Depósito, then P1 and P2.
    const int row = services.size() + 2;
    const char* const singles[] = {"Espera:", "Rescate:", "Depósito:"};
    for (int i = 0; i < 3; ++i) {
        addAmount(row + i, 1);
        addCaptioned(tab, grid, row + i, 0, QString::fromUtf8(singles[i]), tariff_.last());
    }
    auto* percent = new QLabel(QStringLiteral("Porcentaje Sobre"), tab);
    percent->setAlignment(Qt::AlignCenter);
    grid->addWidget(percent, row, 3, 1, 2);
    addAmount(row + 1, 3);
    addAmount(row + 1, 4);
    grid->setColumnStretch(5, 1);
    outer->addStretch();

    QStringList names;
    for (QLineEdit* e : tariff_) names << e->objectName();
    new RecordScreenBinder(this, &tariffMode_, names);
    auto* bar = new CommandBar(
        tab,
        {{QStringLiteral("CmdModificar2"), QStringLiteral("Modificar tarifas"),
          [this] { tariffMode_.setMode(RecordMode::Mode::Edit); }, When::BrowseWithRecord},
         {QStringLiteral("CmdGuardar2"), QStringLiteral("Guardar"), [this] { saveTariff(); },
          When::Edit},
         {QStringLiteral("CmdCancelar2"), QStringLiteral("Cancelar"),
          [this] {
              tariffMode_.setMode(RecordMode::Mode::Browse);
              showTariff();
          },
          When::Edit}},
        &tariffMode_);
    outer->addWidget(bar);
}

void FrmAseguradoras::showTariff() {
    const QVariant id = record_->currentKey();
    insurers::Tariff tariff;
    if (id.isValid() && !reportingDbErrors(dialogs_, [&] {
            tariff = insurers::loadTariff(session_.db(), id.toLongLong());
        }))
        return;
    for (int i = 0; i < tariff_.size(); ++i)
        tariff_[i]->setText(i < tariff.amounts.size() ? boundText(tariff.amounts[i].toDb(), false)
                                                      : QString());
}

void FrmAseguradoras::saveTariff() {
    QStringList texts;
    for (QLineEdit* e : tariff_) texts << e->text();
    const QString problem = insurers::checkTariff(texts);
    if (!problem.isEmpty()) {
        dialogs_.critical(problem);
        return;
    }
    QList<Money> amounts;
    for (const QString& text : texts) amounts << Money::parse(text).value_or(Money());
    if (!reportingDbErrors(dialogs_, [&] {
            insurers::saveTariff(session_.db(), record_->currentKey().toLongLong(), amounts);
        }))
        return;
    tariffMode_.setMode(RecordMode::Mode::Browse);
    showTariff();
}

void FrmAseguradoras::updateTariffState() {
    const bool editingTariff = tariffMode_.isEditing();
    tariffMode_.setHasRecords(record_->list().hasCurrent());
    tariffMode_.setForcedOff(QStringLiteral("CmdModificar2"), record_->isEditing());
    recordCommands_->setEnabled(!editingTariff);
    tabs_->setTabEnabled(0, !editingTariff);
    tabs_->setTabEnabled(1, !record_->isEditing());
}

}  // namespace torvane
