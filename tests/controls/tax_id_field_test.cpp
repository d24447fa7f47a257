#include "controls/tax_id_field.h"

#include <gtest/gtest.h>
#include <QLineEdit>
#include <QRadioButton>

#include "host_form.h"
#include "support/scripted_dialogs.h"

using torvane::TaxIdField;
using torvane::testing::HostForm;
using torvane::testing::ScriptedDialogs;

namespace {

const QString kBadNif = QStringLiteral("El NIF introducido no es correcto");

// The tax-id part of a master screen: TxtNif, its three options and the
// fields around it.
struct TaxForm {
    enum class Option { Nif, Cif, Libre };
    HostForm form;
    ScriptedDialogs dialogs;
    QLineEdit* nif;
    QRadioButton *optNif, *optCif, *optLibre;
    QLineEdit *nombre, *calle;

    explicit TaxForm(Option option) {
        nif = form.add<QLineEdit>("TxtNif");
        calle = form.add<QLineEdit>("txtCalle");
        nombre = form.add<QLineEdit>("txtNombre");
        optNif = form.add<QRadioButton>("OptNIF");
        optCif = form.add<QRadioButton>("OptCIF");
        optLibre = form.add<QRadioButton>("OptLIBRE");
        (option == Option::Nif   ? optNif
         : option == Option::Cif ? optCif
                                 : optLibre)
            ->setChecked(true);
        EXPECT_NE(TaxIdField::attach(&form, dialogs, "txtNombre", {}), nullptr);
        form.showActive();
    }

    // Types into the field and leaves it with Tab.
    void typeAndLeave(const QString& text) {
        HostForm::focus(nif);
        HostForm::type(text);
        if (HostForm::focused() == nif) HostForm::press(Qt::Key_Tab);
        QCoreApplication::processEvents();
    }
};

TEST(TaxIdField, EightDigitsUnderNifAreCompletedAndTheFocusMovesOn) {
    TaxForm f(TaxForm::Option::Nif);
    HostForm::focus(f.nif);
    HostForm::type("1234567");
    EXPECT_EQ(f.nif->text(), "1234567");
    EXPECT_EQ(HostForm::focused(), f.nif);
    HostForm::type("8");
    QCoreApplication::processEvents();
    EXPECT_EQ(f.nif->text(), "12345678Z");
    EXPECT_EQ(HostForm::focused(), f.nombre);
    EXPECT_TRUE(f.dialogs.entries().empty()) << f.dialogs.texts().join("|").toStdString();
}

// The boxes the user sees: none, or this one (the icon is the validation routines' test).
QStringList shown(const QString& message) {
    return message.isEmpty() ? QStringList() : QStringList{message};
}

// Which text gives which message is the validation routines' own test; a locked field is
// not checked at all.
TEST(TaxIdField, ChecksOnLeavingKeepTheTextAndMoveOn) {
    struct Case {
        TaxForm::Option option;
        const char* text;
        bool locked;  // put there by the screen
        const char* textAfter;
        QString message;
    };
    const Case cases[] = {
        {TaxForm::Option::Nif, "1234567", false, "1234567", kBadNif},
        {TaxForm::Option::Cif, "a28015865", false, "A28015865", {}},
        {TaxForm::Option::Nif, "123", true, "123", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        TaxForm f(c.option);
        f.nif->setReadOnly(c.locked);
        if (c.locked) f.nif->setText(c.text);
        f.typeAndLeave(c.locked ? QString() : QString::fromUtf8(c.text));
        EXPECT_EQ(f.nif->text(), QString::fromUtf8(c.textAfter));
        EXPECT_EQ(HostForm::focused(), f.calle);
        EXPECT_EQ(f.dialogs.texts(), shown(c.message));
    }
}

}  // namespace
