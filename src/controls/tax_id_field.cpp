#include "controls/tax_id_field.h"

#include <QApplication>
#include <QFocusEvent>
#include <QTimer>

#include "controls/keyboard_classes.h"
#include "core/validation.h"

namespace torvane {

namespace {
bool onlyDigits(const QString& s) {
    if (s.isEmpty()) return false;
    for (QChar c : s)
        if (c < '0' || c > '9') return false;
    return true;
}
}  // namespace

TaxIdField::TaxIdField(Dialogs& dialogs, QLineEdit* txtNif, QAbstractButton* optNif,
                       QAbstractButton* optCif, QAbstractButton* optLibre, QWidget* nextField,
                       TaxIdOptions options)
    : QObject(txtNif),
      dialogs_(dialogs),
      txtNif_(txtNif),
      optNif_(optNif),
      optCif_(optCif),
      optLibre_(optLibre),
      next_(nextField),
      options_(options) {
    txtNif_->installEventFilter(this);
    connect(txtNif_, &QLineEdit::textEdited, this, &TaxIdField::onTextEdited);
    if (optNif_)
        connect(optNif_, &QAbstractButton::clicked, this, [this](bool checked) {
            if (checked) onNifChosen();
        });
    if (optCif_)
        connect(optCif_, &QAbstractButton::clicked, this, [this](bool checked) {
            if (checked) onCifChosen();
        });
}

TaxIdField* TaxIdField::attach(QWidget* form, Dialogs& dialogs, const QString& nextFieldName,
                               TaxIdOptions options) {
    if (!form) return nullptr;
    auto* txt = form->findChild<QLineEdit*>(QStringLiteral("TxtNif"));
    auto* nif = form->findChild<QAbstractButton*>(QStringLiteral("OptNIF"));
    auto* cif = form->findChild<QAbstractButton*>(QStringLiteral("OptCIF"));
    auto* libre = form->findChild<QAbstractButton*>(QStringLiteral("OptLIBRE"));
    if (!txt || !nif || !cif) return nullptr;
    QWidget* next = nextFieldName.isEmpty() ? nullptr : form->findChild<QWidget*>(nextFieldName);
    return new TaxIdField(dialogs, txt, nif, cif, libre, next, options);
}

bool TaxIdField::locked() const {
    return !txtNif_ || txtNif_->isReadOnly() || !txtNif_->isEnabled();
}

void TaxIdField::moveOn() {
    if (next_ && next_->isEnabled() && next_->isVisible())
        next_->setFocus(Qt::TabFocusReason);
    else
        focusNextField(txtNif_);
}

void TaxIdField::onTextEdited(const QString& text) {
    if (locked() || !optNif_ || !optNif_->isChecked() || text.size() != 8) return;
    const QString full = CalcularNIF(dialogs_, text);
    if (full.isEmpty()) return;
    txtNif_->setText(full);
    moveOn();
}

void TaxIdField::onNifChosen() {
    if (locked()) return;
    const QString full = CalcularNIF(dialogs_, txtNif_->text());
    // Bare digits get their letter; a text that already has one is left as typed.
    if (!full.isEmpty() && onlyDigits(txtNif_->text())) txtNif_->setText(full);
}

void TaxIdField::onCifChosen() {
    if (locked() || !options_.validateCifOnOption) return;
    QString text = txtNif_->text();
    ValidarCIF(dialogs_, text);
    if (text != txtNif_->text()) txtNif_->setText(text);
}

void TaxIdField::checkOnLeaving() {
    if (locked()) return;
    if (optNif_ && optNif_->isChecked()) {
        ValidarNIF(dialogs_, txtNif_->text());
    } else if (optCif_ && optCif_->isChecked()) {
        QString text = txtNif_->text();
        ValidarCIF(dialogs_, text);
        if (text != txtNif_->text()) txtNif_->setText(text);
    }
}

bool TaxIdField::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtNif_ && event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Switching to another window or opening a menu is not leaving the field.
        const bool leaving = reason != Qt::ActiveWindowFocusReason &&
                             reason != Qt::PopupFocusReason && reason != Qt::MenuBarFocusReason;
        QWidget* now = QApplication::focusWidget();
        // Going to one of the options is choosing the kind of id, checked by the option itself.
        const bool toOption = now && (now == optNif_ || now == optCif_ || now == optLibre_);
        if (leaving && !toOption && !locked() && (!now || now->window() == txtNif_->window())) {
            // The message box must not open inside the focus change itself.
            QTimer::singleShot(0, this, &TaxIdField::checkOnLeaving);
        }
    }
    return false;
}

}  // namespace torvane
