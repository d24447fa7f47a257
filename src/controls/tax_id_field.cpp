#include "controls/tax_id_field.h"

#include <QApplication>
#include <QFocusEvent>
#include <QRadioButton>
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

QHBoxLayout* taxIdRow(QWidget* owner, bool optionsTakeFocus) {
    auto* row = new QHBoxLayout;
    auto* nif = new QLineEdit(owner);
    nif->setObjectName(QStringLiteral("TxtNif"));
    row->addWidget(nif, 1);
    for (const char* kind : {"NIF", "CIF", "LIBRE"}) {
        auto* option = new QRadioButton(QString::fromLatin1(kind), owner);
        option->setObjectName(QStringLiteral("Opt") + QString::fromLatin1(kind));
        if (!optionsTakeFocus) option->setFocusPolicy(Qt::NoFocus);
        row->addWidget(option);
    }
    // Free text first, so that opening a screen checks nothing.
    owner->findChild<QRadioButton*>(QStringLiteral("OptLIBRE"))->setChecked(true);
    return row;
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

void TaxIdField::checkOnLeaving(bool asNif, bool asCif) {
    if (locked()) return;
    if (asNif) {
        ValidarNIF(dialogs_, txtNif_->text());
    } else if (asCif) {
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
        // Whatever takes the focus, option buttons included, the text is checked
        // against the kind of id chosen when the field was left.
        QWidget* now = QApplication::focusWidget();
        if (leaving && !locked() && (!now || now->window() == txtNif_->window())) {
            // The message box must not open inside the focus change itself; the
            // kind is the one chosen on leaving, before a click on an option lands.
            const bool asNif = optNif_ && optNif_->isChecked();
            const bool asCif = optCif_ && optCif_->isChecked();
            QTimer::singleShot(0, this, [this, asNif, asCif] { checkOnLeaving(asNif, asCif); });
        }
    }
    return false;
}

}  // namespace torvane
