#pragma once

#include <QList>
#include <QMap>
#include <QStringList>

#include "core/field_binding.h"
#include "data/database.h"

class QLineEdit;
class QWidget;

namespace torvane {

// The text fields of a record screen bound to the columns of a record: fills
// them from a stored row, reads them back as typed, clears them.
class BoundFields {
  public:
    BoundFields() = default;
    // Each binding's control must already be a QLineEdit child of the form, or an
    // editable QComboBox (its text is the value).
    BoundFields(QWidget* form, const QList<FieldBinding>& bindings);

    // The controls' names, in binding order (for RecordScreenBinder).
    QStringList controlNames() const;
    // The bound columns, in binding order.
    QStringList columns() const;
    // The field of a column; nullptr when the column is not bound.
    QLineEdit* edit(const QString& column) const;

    // Shows a stored row (see boundText).
    void fill(const Row& row) const;
    // Column -> text as shown on screen (dates dd/mm/yyyy).
    Row read() const;
    // The same, for records kept as plain texts.
    void setTexts(const QMap<QString, QString>& texts) const;
    QMap<QString, QString> texts() const;
    void clear() const;

  private:
    struct Bound {
        FieldBinding binding;
        QLineEdit* edit;
    };
    QList<Bound> fields_;
};

}  // namespace torvane
