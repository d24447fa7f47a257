#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "core/field_binding.h"
#include "core/grid_column.h"
#include "core/sql_statement.h"
#include "data/database.h"

namespace torvane::operators {

// Operator fields in screen order (the hidden key txtId excluded). The two dates
// are shown dd/mm/yyyy and stored ISO; PrecioHora is an amount.
const QList<FieldBinding>& operatorFields();
const QStringList& operatorAmounts();
// The operator screen's fixed list of departments (not linked to PreciosHora).
const QStringList& departmentChoices();

inline constexpr const char* kMandatoryOperatorFields =
    "Los campos Codigo, Nombre, NIF y Teléfono1 son obligatorios";

// The last operator's code (in key order) plus one when it is a number, else empty.
QString proposeOperatorCode(Database& db);
// The message that stops a save, or "".
QString checkOperator(const Row& values);
qint64 saveOperator(Database& db, const QVariant& id, const Row& values);
// Labour lines that name the operator stay.
void deleteOperator(Database& db, qint64 id);

SqlStatement operatorKeys();
// The labour lines booked to an operator code.
SqlStatement labourOf(const QString& operatorCode);
const QList<GridColumn>& labourColumns();

// Operator search: 0 code, 1 name, 2 a word inside the name, 3 department.
SqlStatement operatorSearchInitial();
SqlStatement operatorSearch(int option, const QString& typed);
const QList<GridColumn>& operatorSearchColumns();

// ---- Departments (PreciosHora) ----

const QList<FieldBinding>& departmentFields();
SqlStatement departmentKeys();
SqlStatement departmentList();
const QList<GridColumn>& departmentColumns();
QString checkDepartment(const Row& values);
qint64 saveDepartment(Database& db, const QVariant& id, const Row& values);
void deleteDepartment(Database& db, qint64 id);

}  // namespace torvane::operators
