#include "controls/record_screen_binder.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextEdit>

namespace torvane {

void setFieldLocked(QWidget* field, bool locked) {
    if (auto* e = qobject_cast<QLineEdit*>(field)) {
        e->setReadOnly(locked);
    } else if (auto* t = qobject_cast<QTextEdit*>(field)) {
        t->setReadOnly(locked);
    } else if (auto* p = qobject_cast<QPlainTextEdit*>(field)) {
        p->setReadOnly(locked);
    } else if (auto* s = qobject_cast<QAbstractSpinBox*>(field)) {
        s->setReadOnly(locked);
    } else if (auto* c = qobject_cast<QComboBox*>(field); c && c->isEditable()) {
        c->lineEdit()->setReadOnly(locked);
        c->setEnabled(!locked);
    } else if (field) {
        field->setEnabled(!locked);
    }
}

RecordScreenBinder::RecordScreenBinder(QWidget* form, RecordMode* mode, const QStringList& fields)
    : QObject(form), form_(form), mode_(mode), fields_(fields) {
    connect(mode_, &RecordMode::changed, this, &RecordScreenBinder::apply);
    apply();
}

void RecordScreenBinder::setFields(const QStringList& fields) {
    fields_ = fields;
    apply();
}

QList<QWidget*> RecordScreenBinder::find(const QString& name) const {
    QList<QWidget*> out;
    if (!form_) return out;
    if (auto* w = form_->findChild<QWidget*>(name)) out << w;
    const QRegularExpression array(
        QStringLiteral("^%1_\\d+$").arg(QRegularExpression::escape(name)));
    for (QWidget* w : form_->findChildren<QWidget*>(array)) out << w;
    return out;
}

void RecordScreenBinder::apply() {
    if (!form_) return;
    for (const QString& command : mode_->commands())
        for (QWidget* w : find(command)) w->setEnabled(mode_->isEnabled(command));
    for (const QString& field : fields_)
        for (QWidget* w : find(field)) setFieldLocked(w, mode_->fieldsLocked());
}

}  // namespace torvane
