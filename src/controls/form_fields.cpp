#include "controls/form_fields.h"

#include <QHBoxLayout>
#include <QLabel>

namespace torvane {

QLineEdit* addField(QWidget* owner, QGridLayout* grid, int row, int column, const QString& caption,
                    const QString& objectName, int span) {
    auto* label = new QLabel(caption, owner);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* edit = new QLineEdit(owner);
    edit->setObjectName(objectName);
    label->setBuddy(edit);
    grid->addWidget(label, row, column);
    grid->addWidget(edit, row, column + 1, 1, span);
    return edit;
}

QTabWidget* addTabs(QWidget* form, QBoxLayout* into, const QStringList& captions) {
    auto* tabs = new QTabWidget(form);
    tabs->setObjectName(QStringLiteral("SSTab1"));
    for (const QString& caption : captions) tabs->addTab(new QWidget(tabs), caption);
    into->addWidget(tabs, 1);
    return tabs;
}

QLineEdit* addHiddenField(QWidget* owner, const QString& objectName) {
    auto* edit = new QLineEdit(owner);
    edit->setObjectName(objectName);
    edit->setVisible(false);
    return edit;
}

namespace {
QLabel* addCaption(QWidget* owner, QGridLayout* grid, int row, int column, const QString& caption) {
    auto* label = new QLabel(caption, owner);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(label, row, column);
    return label;
}
}  // namespace

void addCaptioned(QWidget* owner, QGridLayout* grid, int row, int column, const QString& caption,
                  QWidget* widget) {
    addCaption(owner, grid, row, column, caption)->setBuddy(widget);
    grid->addWidget(widget, row, column + 1);
}

void addCaptioned(QWidget* owner, QGridLayout* grid, int row, int column, const QString& caption,
                  QLayout* cell) {
    addCaption(owner, grid, row, column, caption);
    grid->addLayout(cell, row, column + 1);
}

QGridLayout* addFormGrid(QBoxLayout* into) {
    auto* grid = new QGridLayout;
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    into->addLayout(grid);
    return grid;
}

void addFields(QWidget* owner, QGridLayout* grid, const QList<FormField>& fields) {
    for (const FormField& f : fields) {
        QLineEdit* edit = addField(owner, grid, f.row, f.column, QString::fromUtf8(f.caption),
                                   QString::fromLatin1(f.objectName), f.span);
        if (f.maxWidth > 0) edit->setMaximumWidth(f.maxWidth);
    }
}

void DateField::setEditing(bool editing) const {
    if (editing) masked->setText(text->text());
    masked->setVisible(editing);
    text->setVisible(!editing);
}

DateField addDateField(QWidget* owner, QGridLayout* grid, int row, int column,
                       const QString& caption, const QString& boundName, const QString& maskedName,
                       Dialogs& dialogs, std::function<QDate()> today) {
    auto* label = new QLabel(caption, owner);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* cell = new QHBoxLayout;
    auto* text = new QLineEdit(owner);
    text->setObjectName(boundName);
    auto* opc = new OpcEntrada(owner);
    opc->setObjectName(maskedName);
    opc->setTypeInput(OpcEntrada::Date);
    opc->setDialogs(&dialogs);
    opc->setTodaySource(std::move(today));
    opc->setVisible(false);
    QObject::connect(opc, &OpcEntrada::textChanged, text,
                     [text, opc] { text->setText(opc->text()); });
    cell->addWidget(text);
    cell->addWidget(opc);
    label->setBuddy(text);
    grid->addWidget(label, row, column);
    grid->addLayout(cell, row, column + 1);
    return {text, opc};
}

}  // namespace torvane
