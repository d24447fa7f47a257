#include "controls/record_controller.h"

#include <QLineEdit>
#include <QWidget>

#include "controls/navigation_bar.h"
#include "controls/record_screen_binder.h"
#include "core/db_errors.h"

namespace torvane {

namespace {
const QString kNoCurrent = QStringLiteral("Ningún registro activo");
}

RecordController::RecordController(QWidget* form, Session& session, Dialogs& dialogs, Setup setup,
                                   Hooks hooks)
    : QObject(form),
      form_(form),
      session_(session),
      dialogs_(dialogs),
      setup_(std::move(setup)),
      hooks_(std::move(hooks)),
      fields_(form, setup_.fields) {
    new RecordScreenBinder(form, &mode_, fields_.controlNames() + setup_.lockedControls);
    if (DataGrid* grid = setup_.listGrid) {
        connect(grid, &DataGrid::currentRowChanged, this, [this, grid](int row) {
            if (isEditing() || row < 0) return;
            const QVariant key = grid->value(row, setup_.keyColumn);
            if (key.isValid() && key != currentKey()) moveToKey(key);
        });
    }
}

void RecordController::open() {
    loadKeys(setup_.keys);
    showCurrent();
}

CommandRow RecordController::command(Action action, const QString& objectName,
                                     const QString& caption) {
    using When = RecordMode::When;
    switch (action) {
        case Action::New:
            return {objectName, caption, [this] { startNew(); }, When::Browse};
        case Action::Modify:
            return {objectName, caption, [this] { modify(); }, When::BrowseWithRecord};
        case Action::Save:
            return {objectName, caption, [this] { save(); }, When::Edit};
        case Action::Cancel:
            return {objectName, caption, [this] { cancel(); }, When::Edit};
        case Action::Delete:
            break;
    }
    return {objectName, caption, [this] { remove(); }, When::BrowseWithRecord};
}

QList<CommandRow> RecordController::standardCommands(const QString& searchName,
                                                     std::function<void()> search) {
    QList<CommandRow> rows = {
        command(Action::New, QStringLiteral("CmdNuevo"), QStringLiteral("Nuevo"))};
    rows += editCommands();
    if (!searchName.isEmpty())
        rows.append({searchName, QStringLiteral("Buscar"), std::move(search),
                     RecordMode::When::BrowseWithRecord});
    rows.append({QStringLiteral("CmdSalir"), QStringLiteral("Salir"), [this] { form_->close(); },
                 RecordMode::When::Browse});
    return rows;
}

NavigationBar* RecordController::navigationBar(const QString& arrayName, QWidget* parent) {
    auto* nav = new NavigationBar(arrayName, parent);
    connect(nav, &NavigationBar::first, this, &RecordController::first);
    connect(nav, &NavigationBar::previous, this, &RecordController::previous);
    connect(nav, &NavigationBar::next, this, &RecordController::next);
    connect(nav, &NavigationBar::last, this, &RecordController::last);
    mode_.addCommand(arrayName, RecordMode::When::Browse);
    return nav;
}

CommandBar* RecordController::commandBar(QWidget* parent, const QList<CommandRow>& rows) {
    return new CommandBar(parent, rows, &mode_,
                          {navigationBar(QStringLiteral("KewlButtons1"), parent)});
}

bool RecordController::loadKeys(const SqlStatement& keys) {
    setup_.keys = keys;
    const bool ok = reportingDbErrors(dialogs_, [&] {
        list_.load(session_.db(), setup_.table, setup_.keyColumn, keys.sql, keys.params);
    });
    mode_.setHasRecords(!list_.isEmpty());
    Q_EMIT reloaded();
    return ok;
}

void RecordController::setKeys(const SqlStatement& keys) {
    const QVariant keep = list_.currentKey();
    loadKeys(keys);
    if (keep.isValid()) list_.moveToKey(keep);
    showCurrent();
}

void RecordController::reload() {
    reportingDbErrors(dialogs_, [&] { list_.reload(); });
    mode_.setHasRecords(!list_.isEmpty());
    Q_EMIT reloaded();
}

void RecordController::show(const Row& row) {
    if (row.isEmpty())
        fields_.clear();
    else
        fields_.fill(row);
    const QVariant key = row.value(setup_.keyColumn);
    if (auto* field =
            setup_.keyField.isEmpty() ? nullptr : form_->findChild<QLineEdit*>(setup_.keyField))
        field->setText(key.toString());
    if (setup_.listGrid && key.isValid()) setup_.listGrid->selectWhere(setup_.keyColumn, key);
    if (setup_.historyGrid && !isEditing()) {
        std::optional<SqlStatement> history;
        if (!row.isEmpty() && hooks_.historyOf) history = hooks_.historyOf(row);
        setup_.historyGrid->runOrClear(session_.db(), dialogs_, history);
    }
    if (hooks_.shown) hooks_.shown(row);
}

void RecordController::showCurrent() {
    Row row;
    reportingDbErrors(dialogs_, [&] { row = list_.current(); });
    show(row);
}

bool RecordController::moveToKey(const QVariant& key) {
    if (isEditing()) return false;
    if (!list_.moveToKey(key)) {
        if (!reportingDbErrors(dialogs_, [&] { list_.reload(); })) return false;
        mode_.setHasRecords(!list_.isEmpty());
        Q_EMIT reloaded();
        if (!list_.moveToKey(key)) return false;
    }
    showCurrent();
    return true;
}

void RecordController::focusFirstField() {
    if (auto* w = form_->findChild<QWidget*>(setup_.firstField)) w->setFocus();
}

void RecordController::enterEdit() {
    mode_.setMode(RecordMode::Mode::Edit);
    editingStarted();
}

void RecordController::editingStarted() {
    if (setup_.tabs) {
        setup_.tabs->setCurrentIndex(0);
        if (setup_.historyTab >= 0) setup_.tabs->setTabEnabled(setup_.historyTab, false);
    }
    for (const DateField& d : setup_.dates) d.setEditing(true);
    if (hooks_.editing) hooks_.editing();
    focusFirstField();
}

void RecordController::leaveEdit() {
    isNew_ = false;
    mode_.setMode(RecordMode::Mode::Browse);
    if (setup_.tabs && setup_.historyTab >= 0) setup_.tabs->setTabEnabled(setup_.historyTab, true);
    for (const DateField& d : setup_.dates) d.setEditing(false);
    if (hooks_.browsing) hooks_.browsing();
}

void RecordController::startNew() {
    std::optional<Row> proposed;
    if (!reportingDbErrors(dialogs_, [&] { proposed = hooks_.propose ? hooks_.propose() : Row{}; }))
        return;
    if (!proposed) {
        dialogs_.critical(kNoCurrent);
        return;
    }
    keyBeforeEdit_ = list_.currentKey();
    isNew_ = true;
    mode_.setMode(RecordMode::Mode::Edit);
    show(*proposed);
    editingStarted();
}

void RecordController::modify() {
    if (!list_.hasCurrent()) {
        dialogs_.critical(kNoCurrent);
        return;
    }
    keyBeforeEdit_ = list_.currentKey();
    isNew_ = false;
    enterEdit();
}

bool RecordController::save() {
    const Row values = fields_.read();
    const QString problem = hooks_.check ? hooks_.check(values) : QString();
    if (!problem.isEmpty()) {
        dialogs_.critical(problem);
        if (setup_.abandonWhenCheckFails)
            cancel();
        else
            focusFirstField();
        return false;
    }
    QVariant key;
    const bool stored = reportingDbErrors(dialogs_, [&] {
        key = hooks_.save(isNew_ ? QVariant() : list_.currentKey(), values);
        list_.reload();
    });
    // A failed save stays in edit mode with everything typed.
    if (!stored) return false;
    mode_.setHasRecords(!list_.isEmpty());
    Q_EMIT reloaded();
    list_.moveToKey(key);
    leaveEdit();
    showCurrent();
    return true;
}

void RecordController::cancel() {
    if (keyBeforeEdit_.isValid()) list_.moveToKey(keyBeforeEdit_);
    leaveEdit();
    showCurrent();
}

void RecordController::remove() {
    if (!list_.hasCurrent()) {
        dialogs_.critical(kNoCurrent);
        return;
    }
    const auto* asked = form_->findChild<QLineEdit*>(setup_.deleteQuestionField);
    if (!setup_.deleteQuestion.isEmpty() &&
        !dialogs_.question(setup_.deleteQuestion + (asked ? asked->text() : QString()) +
                           setup_.deleteQuestionEnd))
        return;
    QString blocked;
    if (!reportingDbErrors(dialogs_, [&] {
            blocked = hooks_.remove(list_.currentKey());
            if (blocked.isEmpty()) list_.reload();
        }))
        return;
    if (!blocked.isEmpty()) {
        dialogs_.critical(blocked);
        return;
    }
    mode_.setHasRecords(!list_.isEmpty());
    Q_EMIT reloaded();
    list_.first();
    showCurrent();
    if (list_.isEmpty() && !setup_.allDeletedMessage.isEmpty())
        dialogs_.exclamation(setup_.allDeletedMessage);
}

void RecordController::walk(void (RecordList::*move)()) {
    (list_.*move)();
    showCurrent();
}

void RecordController::first() {
    walk(&RecordList::first);
}

void RecordController::previous() {
    walk(&RecordList::previous);
}

void RecordController::next() {
    walk(&RecordList::next);
}

void RecordController::last() {
    walk(&RecordList::last);
}

QList<CommandRow> RecordController::editCommands(const QString& suffix) {
    return {
        command(Action::Modify, QStringLiteral("CmdModificar") + suffix,
                QStringLiteral("Modificar")),
        command(Action::Save, QStringLiteral("CmdGuardar") + suffix, QStringLiteral("Guardar")),
        command(Action::Cancel, QStringLiteral("CmdCancelar") + suffix, QStringLiteral("Cancelar")),
        command(Action::Delete, QStringLiteral("CmdEliminar") + suffix,
                QStringLiteral("Eliminar"))};
}

}  // namespace torvane
