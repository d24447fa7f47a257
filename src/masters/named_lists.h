#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include "core/field_binding.h"
#include "core/grid_column.h"
#include "core/sql_statement.h"
#include "data/database.h"

namespace torvane::named_lists {

// Families and warehouses are lists of names that articles carry by name. One
// screen serves both; what differs between them is this description.
struct NamedList {
    QString screen;        // objectName and caption of the screen
    QString table;         // Familias / Almacenes
    QString keyColumn;     // Id_Fam / Id_Alm
    QString nameColumn;    // Familia / Almacen, also the column of Articulos
    QString listGrid;      // MSHFamilia / MSHAlmacenes
    FieldBinding name;     // txtFamilia / txtAlmacen on the name column
    QString articleField;  // hidden field bound to the article's name column
    bool upperCaseName;    // letters upper-cased (else Enter moves on)
    QList<GridColumn> articleColumns;
    QString emptyNameMessage;
    QString deleteQuestion;  // followed by the name
    QString allDeletedMessage;
};

const NamedList& families();
const NamedList& warehouses();

// The names in alphabetical order, with their keys.
SqlStatement namesOf(const NamedList& list);
SqlStatement keysOf(const NamedList& list);
// The articles that carry a name.
SqlStatement articlesWith(const NamedList& list, const QString& name);

// Empty when the name can be saved, else the message.
QString checkName(const NamedList& list, const QString& name);
// Inserts a name (id invalid), or renames one: every article carrying the old
// name gets the new one, in the same transaction. Returns the key.
qint64 saveName(Database& db, const NamedList& list, const QVariant& id, const QString& name);
// Articles keep the name.
void deleteName(Database& db, const NamedList& list, qint64 id);

}  // namespace torvane::named_lists
