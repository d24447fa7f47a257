#include "masters/named_list_screen.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "controls/command_bar.h"
#include "controls/keyboard_classes.h"

namespace torvane {

using Action = RecordController::Action;

NamedListScreen::NamedListScreen(Session& session, Services& services,
                                 const named_lists::NamedList& list, QWidget* parent)
    : RecordScreen(session, services, parent), list_(list) {
    setObjectName(list.screen);
    setWindowTitle(list.screen);
    auto* layout = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    layout->addLayout(columns, 1);

    auto* left = new QVBoxLayout;
    names_ = addGrid(this, left, {}, list.listGrid,
                     {{list.keyColumn, {}, ColumnKind::Hidden},
                      {list.nameColumn, list.nameColumn, ColumnKind::Text, 220}});
    auto* nameRow = new QHBoxLayout;
    name_ = new QLineEdit(this);
    name_->setObjectName(QString::fromLatin1(list.name.control));
    auto* caption = new QLabel(QStringLiteral("Nombre:"), this);
    caption->setBuddy(name_);
    nameRow->addWidget(caption);
    nameRow->addWidget(name_, 1);
    left->addLayout(nameRow);
    columns->addLayout(left, 1);
    applyKeyClass(name_, list.upperCaseName ? KeyClass::K2 : KeyClass::K1);

    auto* right = new QVBoxLayout;
    articles_ = addGrid(this, right, QStringLiteral("Artículos"), QStringLiteral("MSHArticulos"),
                        list.articleColumns);
    articleName_ = new QLineEdit(this);
    articleName_->setObjectName(list.articleField);
    articleName_->setVisible(false);
    columns->addLayout(right, 1);

    RecordController::Setup setup;
    setup.table = list.table;
    setup.keyColumn = list.keyColumn;
    setup.listGrid = names_;
    setup.keys = named_lists::keysOf(list);
    setup.fields = {list.name};
    setup.firstField = name_->objectName();
    setup.deleteQuestion = list.deleteQuestion;
    setup.deleteQuestionField = name_->objectName();
    setup.allDeletedMessage = list.allDeletedMessage;

    RecordController::Hooks hooks;
    hooks.propose = [this]() -> std::optional<Row> {
        record_->last();
        return Row{};
    };
    hooks.check = [this](const Row& values) {
        return named_lists::checkName(list_, values.value(list_.nameColumn).toString());
    };
    hooks.save = [this](const QVariant& key, const Row& values) -> QVariant {
        return named_lists::saveName(session_.db(), list_, key,
                                     values.value(list_.nameColumn).toString().trimmed());
    };
    hooks.remove = [this](const QVariant& key) {
        named_lists::deleteName(session_.db(), list_, key.toLongLong());
        return QString();
    };
    hooks.shown = [this](const Row& row) { shown(row); };
    record_ = new RecordController(this, session_, dialogs_, setup, hooks);

    auto* bar = new CommandBar(
        this,
        {
            record_->command(Action::New, QStringLiteral("CmdNuevo"), QStringLiteral("Nuevo")),
            // Stays on while a name is being changed (not while a new one is typed).
            {QStringLiteral("CmdModificar"), QStringLiteral("Modificar"),
             [this] {
                 if (!record_->isEditing()) record_->modify();
             },
             RecordMode::When::Always},
            record_->command(Action::Save, QStringLiteral("CmdGuardar"), QStringLiteral("Guardar")),
            record_->command(Action::Cancel, QStringLiteral("CmdCancelar"),
                             QStringLiteral("Cancelar")),
            record_->command(Action::Delete, QStringLiteral("CmdEliminar"),
                             QStringLiteral("Eliminar")),
            {QStringLiteral("CmdSalir"), QStringLiteral("Salir"), [this] { close(); },
             RecordMode::When::Browse},
        },
        &record_->mode());
    layout->addWidget(bar);

    connect(&record_->mode(), &RecordMode::changed, this, &NamedListScreen::updateModify);
    connect(record_, &RecordController::reloaded, this, &NamedListScreen::refreshList);
    connect(name_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!record_->isEditing() && !text.isEmpty()) showArticles(text);
    });
    connect(articles_, &DataGrid::currentRowChanged, this,
            [this](int row) { articleName_->setText(row < 0 ? QString() : name_->text()); });
    record_->open();
    resize(640, 400);
}

void NamedListScreen::updateModify() {
    record_->mode().setForcedOff(QStringLiteral("CmdModificar"),
                                 record_->list().isEmpty() || record_->isNew());
}

void NamedListScreen::refreshList() {
    names_->run(session_.db(), named_lists::namesOf(list_), dialogs_);
    updateModify();
}

void NamedListScreen::shown(const Row& row) {
    if (record_ && record_->isEditing()) return;
    const QString name = row.value(list_.nameColumn).toString();
    if (name.isEmpty()) articles_->clearRows();
}

void NamedListScreen::showArticles(const QString& name) {
    articles_->run(session_.db(), named_lists::articlesWith(list_, name), dialogs_);
}

void NamedListScreen::showEvent(QShowEvent* event) {
    updateModify();
    QWidget::showEvent(event);
}

}  // namespace torvane
