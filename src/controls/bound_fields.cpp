#include "controls/bound_fields.h"

#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

namespace torvane {

BoundFields::BoundFields(QWidget* form, const QList<FieldBinding>& bindings) {
    for (const FieldBinding& b : bindings) {
        const QString name = QString::fromLatin1(b.control);
        auto* edit = form->findChild<QLineEdit*>(name);
        if (auto* combo = edit ? nullptr : form->findChild<QComboBox*>(name))
            edit = combo->lineEdit();
        Q_ASSERT_X(edit, "BoundFields", b.control);
        if (edit) fields_.append(Bound{b, edit});
    }
}

QStringList BoundFields::controlNames() const {
    QStringList names;
    for (const Bound& f : fields_) names << QString::fromLatin1(f.binding.control);
    return names;
}

QStringList BoundFields::columns() const {
    QStringList columns;
    for (const Bound& f : fields_) columns << QString::fromLatin1(f.binding.column);
    return columns;
}

QLineEdit* BoundFields::edit(const QString& column) const {
    for (const Bound& f : fields_)
        if (column == QLatin1String(f.binding.column)) return f.edit;
    return nullptr;
}

void BoundFields::fill(const Row& row) const {
    for (const Bound& f : fields_)
        f.edit->setText(
            boundText(row.value(QString::fromLatin1(f.binding.column)), f.binding.date));
}

Row BoundFields::read() const {
    Row row;
    for (const Bound& f : fields_)
        row.insert(QString::fromLatin1(f.binding.column), f.edit->text());
    return row;
}

void BoundFields::setTexts(const QMap<QString, QString>& texts) const {
    for (const Bound& f : fields_)
        f.edit->setText(texts.value(QString::fromLatin1(f.binding.column)));
}

QMap<QString, QString> BoundFields::texts() const {
    QMap<QString, QString> texts;
    for (const Bound& f : fields_)
        texts.insert(QString::fromLatin1(f.binding.column), f.edit->text());
    return texts;
}

void BoundFields::clear() const {
    for (const Bound& f : fields_) f.edit->clear();
}

}  // namespace torvane
