#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "core/field_binding.h"
#include "data/database.h"

namespace torvane {

// Writing a record screen's fields back to its table, and the code proposals
// of the master files. Plain logic shared by the master files.

// Writes the bound columns of one row from their screen texts: INSERT when id is
// not valid (returns the new key), else UPDATE (returns id). Empty text is stored
// as no value; date columns go from dd/mm/yyyy to ISO; the columns named in
// amountColumns are exact amounts ("30,5" -> 30.5). Throws DbError, and
// std::invalid_argument when a date or amount does not read.
// fixedValues are columns written as they are, ahead of the fields (a vehicle's owner).
qint64 writeRecord(Database& db, const QString& table, const QString& keyColumn, const QVariant& id,
                   const QList<FieldBinding>& fields, const Row& values,
                   const QStringList& amountColumns = {}, const Row& fixedValues = {});

// message when any of the columns is empty (blanks only count as empty), else "".
QString missingFields(const Row& values, const QStringList& columns, const QString& message);

// The message for the first date or amount that does not read ("La fecha no es
// válida", "El importe no es válido: 1,2,3"); "" when all read. Run it before
// writeRecord, so bad input is told and kept on screen.
QString unreadableValue(const Row& values, const QList<FieldBinding>& fields,
                        const QStringList& amountColumns = {});

// The first free code of four or more digits, "0001", "0002", ... (gaps reused,
// lowest first; past "9999" they grow to five digits). One query reads the codes.
QString firstFreeCode(Database& db, const QString& table, const QString& column);
QString paddedCode(int n);

// The code of the last record in key order plus one, as a plain number ("6" ->
// "7"); empty when that code is not a number or there is no record.
QString nextNumericCode(Database& db, const QString& table, const QString& column,
                        const QString& keyColumn);

}  // namespace torvane
