#pragma once

#include <QGridLayout>
#include <QLineEdit>
#include <QString>
#include <QStringList>
#include <QTabWidget>
#include <functional>

#include "controls/opc_entrada.h"

namespace torvane {

// A captioned text field in a form grid: the caption right-aligned in `column`,
// the field (named objectName) in the next `span` columns.
QLineEdit* addField(QWidget* owner, QGridLayout* grid, int row, int column, const QString& caption,
                    const QString& objectName, int span = 1);

// One field of a declared form: caption, objectName, grid cell, columns spanned
// and a maximum width (0: none).
struct FormField {
    const char* caption;
    const char* objectName;
    int row;
    int column;
    int span = 1;
    int maxWidth = 0;
};

// A two-pair form grid (caption, field, caption, field) added to `into`.
QGridLayout* addFormGrid(QBoxLayout* into);
void addFields(QWidget* owner, QGridLayout* grid, const QList<FormField>& fields);

// The tab strip SSTab1 of a record screen, one page per caption, added to `into`.
QTabWidget* addTabs(QWidget* form, QBoxLayout* into, const QStringList& captions);
// A hidden field (a record's key shown to nobody).
QLineEdit* addHiddenField(QWidget* owner, const QString& objectName);
// A captioned cell holding a widget or a row of controls.
void addCaptioned(QWidget* owner, QGridLayout* grid, int row, int column, const QString& caption,
                  QWidget* widget);
void addCaptioned(QWidget* owner, QGridLayout* grid, int row, int column, const QString& caption,
                  QLayout* cell);

// A date field: the bound text field and, over it while editing, the masked
// date entry, which writes what is typed into the text field.
struct DateField {
    QLineEdit* text = nullptr;
    OpcEntrada* masked = nullptr;
    // Editing shows the masked entry, starting from the text; browsing the text.
    void setEditing(bool editing) const;
};
DateField addDateField(QWidget* owner, QGridLayout* grid, int row, int column,
                       const QString& caption, const QString& boundName, const QString& maskedName,
                       Dialogs& dialogs, std::function<QDate()> today);

}  // namespace torvane
