#pragma once

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include "core/dialogs.h"

namespace torvane {

// The tax-id field of the customer, supplier, operator and company screens:
// TxtNif with the options OptNIF, OptCIF and (mostly) OptLIBRE.
//  - NIF set and the typed text reaches 8 characters: the text becomes
//    CalcularNIF of it and the focus moves to the next field.
//  - Leaving the field (not locked), whatever takes the focus, option buttons
//    included: NIF -> ValidarNIF, CIF -> ValidarCIF, by the option chosen on
//    leaving; a failure only shows the message, the text stays.
//  - Choosing NIF runs CalcularNIF on the current text; choosing CIF runs
//    ValidarCIF when validateCifOnOption is set. LIBRE checks nothing.
struct TaxIdOptions {
    bool validateCifOnOption = false;  // customer, supplier and operator screens
};

// The option buttons, locked with the fields of a record screen in browse mode.
inline QStringList taxIdOptionNames() {
    return {QStringLiteral("OptNIF"), QStringLiteral("OptCIF"), QStringLiteral("OptLIBRE")};
}

class TaxIdField : public QObject {
    Q_OBJECT
  public:
    TaxIdField(Dialogs& dialogs, QLineEdit* txtNif, QAbstractButton* optNif,
               QAbstractButton* optCif, QAbstractButton* optLibre, QWidget* nextField,
               TaxIdOptions options);

    // Finds TxtNif, OptNIF, OptCIF, OptLIBRE (optional) and the next field by
    // objectName in form; an empty nextFieldName means the next in tab order.
    // Returns nullptr when TxtNif or the NIF/CIF options are missing.
    static TaxIdField* attach(QWidget* form, Dialogs& dialogs, const QString& nextFieldName = {},
                              TaxIdOptions options = {});

    QLineEdit* field() const { return txtNif_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void onTextEdited(const QString& text);
    void onNifChosen();
    void onCifChosen();
    void checkOnLeaving(bool asNif, bool asCif);
    bool locked() const;
    void moveOn();

    Dialogs& dialogs_;
    QPointer<QLineEdit> txtNif_;
    QPointer<QAbstractButton> optNif_, optCif_, optLibre_;
    QPointer<QWidget> next_;
    TaxIdOptions options_;
};

// TxtNif followed by the options OptNIF, OptCIF and OptLIBRE (LIBRE chosen),
// as a row to place in a form; attach the behaviour afterwards.
QHBoxLayout* taxIdRow(QWidget* owner, bool optionsTakeFocus = true);

}  // namespace torvane
