#include "masters/departamentos.h"

#include <QVBoxLayout>

#include "controls/command_bar.h"
#include "controls/form_fields.h"
#include "controls/keyboard_classes.h"
#include "masters/operators.h"

namespace torvane {

Departamentos::Departamentos(Session& session, Services& services, QWidget* parent)
    : RecordScreen(session, services, parent) {
    setObjectName(QStringLiteral("Departamentos"));
    setWindowTitle(QStringLiteral("Departamentos"));
    auto* layout = new QVBoxLayout(this);
    list_ =
        addGrid(this, layout, {}, QStringLiteral("MSHFlexGrid1"), operators::departmentColumns());
    addFields(this, addFormGrid(layout),
              {{"Departamento:", "txtDepartamento", 0, 0}, {"Precio:", "TxtPrecio", 0, 2, 1, 120}});
    applyKeyClasses(this, {{KeyClass::K2, "txtDepartamento"}, {KeyClass::K5, "TxtPrecio"}});

    RecordController::Setup setup;
    setup.table = QStringLiteral("PreciosHora");
    setup.keyColumn = QStringLiteral("Id");
    setup.keys = operators::departmentKeys();
    setup.fields = operators::departmentFields();
    setup.firstField = QStringLiteral("txtDepartamento");
    setup.listGrid = list_;
    // Deleting asks nothing.
    RecordController::Hooks hooks;
    hooks.check = operators::checkDepartment;
    hooks.save = [this](const QVariant& key, const Row& values) -> QVariant {
        return operators::saveDepartment(session_.db(), key, values);
    };
    hooks.remove = [this](const QVariant& key) {
        operators::deleteDepartment(session_.db(), key.toLongLong());
        return QString();
    };
    record_ = new RecordController(this, session_, dialogs_, setup, hooks);
    connect(record_, &RecordController::reloaded, this, &Departamentos::refreshList);
    connect(&record_->mode(), &RecordMode::changed, this,
            [this] { list_->setEnabled(!record_->isEditing()); });
    layout->addWidget(new CommandBar(this, record_->standardCommands(), &record_->mode()));
    record_->open();
    resize(480, 420);
}

void Departamentos::refreshList() {
    list_->runOrClear(session_.db(), dialogs_, operators::departmentList());
}

}  // namespace torvane
