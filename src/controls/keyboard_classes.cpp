#include "controls/keyboard_classes.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>

namespace torvane {

namespace {

constexpr const char* kClassProperty = "torvaneKeyClass";

bool movesOnEnter(KeyClass k) {
    return k != KeyClass::K2 && k != KeyClass::K8 && k != KeyClass::K9;
}

bool isDigit(QChar c) {
    return c >= '0' && c <= '9';
}

// One filter per field; the class lives in a property of the field so a
// second application replaces the first.
class KeyClassFilter : public QObject {
  public:
    KeyClassFilter(QWidget* field) : QObject(field), field_(field) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const int cls = keyClassOf(field_);
        if (cls == 0) return false;
        const auto k = static_cast<KeyClass>(cls);
        auto* e = static_cast<QKeyEvent*>(event);

        if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
            if (!movesOnEnter(k)) return false;
            focusNextField(field_);
            return true;
        }
        if (e->key() == Qt::Key_Backspace) return k == KeyClass::K7;

        const QString text = e->text();
        // Keys without a character (arrows, Delete, shortcuts) are left alone.
        if (text.size() != 1 || text.at(0) < QChar(0x20) || text.at(0) == QChar(0x7f)) return false;
        QChar c = text.at(0);

        switch (k) {
            case KeyClass::K1:
                return false;
            case KeyClass::K2:
            case KeyClass::K4:
                if (c.toUpper() != c) return resend(watched, e, c.toUpper());
                return false;
            case KeyClass::K3:
            case KeyClass::K7:
            case KeyClass::K9:
                return !isDigit(c);
            case KeyClass::K5:
            case KeyClass::K6:
            case KeyClass::K8:
                if (c == '.') return resend(watched, e, QChar(','));
                if (isDigit(c) || c == ',') return false;
                if (k == KeyClass::K6 && c == '-') return false;
                return true;
        }
        return false;
    }

  private:
    // The field receives the changed character instead of the typed one.
    bool resend(QObject* target, QKeyEvent* e, QChar c) {
        const int key = c == ',' ? int(Qt::Key_Comma) : e->key();
        QKeyEvent replaced(QEvent::KeyPress, key, e->modifiers(), QString(c), e->isAutoRepeat());
        QCoreApplication::sendEvent(target, &replaced);
        return true;
    }

    QWidget* field_;
};

}  // namespace

void applyKeyClass(QWidget* field, KeyClass keyClass) {
    if (!field) return;
    const bool installed = field->property(kClassProperty).isValid();
    field->setProperty(kClassProperty, static_cast<int>(keyClass));
    if (installed) return;
    auto* filter = new KeyClassFilter(field);
    field->installEventFilter(filter);
    // An editable combo passes its keys on to its line edit; filtering both
    // keeps the behaviour whichever of the two gets the key first.
    if (auto* combo = qobject_cast<QComboBox*>(field); combo && combo->lineEdit())
        combo->lineEdit()->installEventFilter(filter);
}

QStringList applyKeyClasses(QWidget* form, const QList<QPair<KeyClass, const char*>>& classes) {
    QList<QPair<KeyClass, QStringList>> split;
    for (const auto& [keyClass, names] : classes)
        split.append({keyClass, QString::fromLatin1(names).split(u' ', Qt::SkipEmptyParts)});
    return applyKeyClasses(form, split);
}

QStringList applyKeyClasses(QWidget* form, const QList<QPair<KeyClass, QStringList>>& classes) {
    QStringList missing;
    if (!form) return missing;
    for (const auto& [keyClass, names] : classes) {
        for (const QString& name : names) {
            QList<QWidget*> found;
            if (auto* w = form->findChild<QWidget*>(name)) found << w;
            const QRegularExpression array(
                QStringLiteral("^%1_\\d+$").arg(QRegularExpression::escape(name)));
            found << form->findChildren<QWidget*>(array);
            if (found.isEmpty()) missing << name;
            for (QWidget* w : found) applyKeyClass(w, keyClass);
        }
    }
    return missing;
}

int keyClassOf(const QWidget* field) {
    return field ? field->property(kClassProperty).toInt() : 0;
}

QWidget* focusNextField(QWidget* from) {
    if (!from) return nullptr;
    QWidget* window = from->window();
    QWidget* w = from;
    while (true) {
        w = w->nextInFocusChain();
        if (!w || w == from) return nullptr;
        if (w->window() != window || from->isAncestorOf(w)) continue;
        QWidget* target = w;
        while (target->focusProxy()) target = target->focusProxy();
        if (target == from || from->isAncestorOf(target)) continue;
        if ((target->focusPolicy() & Qt::TabFocus) != Qt::TabFocus) continue;
        if (!target->isEnabled() || !target->isVisibleTo(window)) continue;
        w->setFocus(Qt::TabFocusReason);
        return target;
    }
}

}  // namespace torvane
