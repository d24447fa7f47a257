#pragma once

#include <QList>
#include <QObject>
#include <QPair>
#include <QStringList>
#include <QWidget>

namespace torvane {

// The keyboard behaviours of entry fields.
//   K1 Enter = next field.            K2 letters upper-cased.
//   K3 Enter = next; digits, Backspace.   K4 Enter = next; letters upper-cased.
//   K5 Enter = next; "." -> ","; digits, ",", Backspace.
//   K6 as K5 plus "-".                K7 Enter = next; digits only (no Backspace).
//   K8 "." -> ","; digits, ",", Backspace.   K9 digits and Backspace.
enum class KeyClass { K1 = 1, K2, K3, K4, K5, K6, K7, K8, K9 };

// Gives one field (QLineEdit, editable QComboBox, QPlainTextEdit, QTextEdit)
// a keyboard class. A field has one class; applying another replaces it.
void applyKeyClass(QWidget* field, KeyClass keyClass);

// Applies classes to the fields of a form found by objectName (a name also
// matches its control array Name_0, Name_1, ...). Returns the names that
// matched no control, so a screen test can assert none are missing.
QStringList applyKeyClasses(QWidget* form, const QList<QPair<KeyClass, QStringList>>& classes);

// The same with the names of each class in one text, separated by blanks:
// {KeyClass::K4, "txtNombre txtCalle"}.
QStringList applyKeyClasses(QWidget* form, const QList<QPair<KeyClass, const char*>>& classes);

// The class given to a field, or 0 when it has none.
int keyClassOf(const QWidget* field);

// Moves the focus from a field to the next control in the window's tab order,
// as Tab does. Returns the control that received the focus (or nullptr).
QWidget* focusNextField(QWidget* from);

}  // namespace torvane
