#include "controls/tax_id_field.h"

#include <gtest/gtest.h>
#include <QLineEdit>
#include <QRadioButton>

#include "host_form.h"
#include "support/scripted_dialogs.h"

using torvane::Dialogs;
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

    explicit TaxForm(Option option, torvane::TaxIdOptions options = {}) {
        nif = form.add<QLineEdit>("TxtNif");
        calle = form.add<QLineEdit>("txtCalle");
        nombre = form.add<QLineEdit>("txtNombre");
        optNif = form.add<QRadioButton>("OptNIF");
        optCif = form.add<QRadioButton>("OptCIF");
        optLibre = form.add<QRadioButton>("OptLIBRE");
        optNif->setText("NIF");
        optCif->setText("CIF");
        optLibre->setText("LIBRE");
        (option == Option::Nif   ? optNif
         : option == Option::Cif ? optCif
                                 : optLibre)
            ->setChecked(true);
        EXPECT_NE(TaxIdField::attach(&form, dialogs, "txtNombre", options), nullptr);
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

struct LeaveCase {
    TaxForm::Option option;
    const char* text;
    bool typed;  // else put there by the screen
    bool locked;
    const char* textAfter;
    QString message;
};

// Which text gives which message is the validation routines' own test. Text put there by
// the screen with a wrong letter fails silently; a locked field is not checked at all.
TEST(TaxIdField, ChecksOnLeavingKeepTheTextAndMoveOn) {
    const LeaveCase cases[] = {
        {TaxForm::Option::Nif, "1234567", true, false, "1234567", kBadNif},
        {TaxForm::Option::Cif, "a28015865", true, false, "A28015865", {}},
        {TaxForm::Option::Libre, "pasaporte 123", true, false, "pasaporte 123", {}},
        {TaxForm::Option::Nif, "12345678A", false, false, "12345678A", {}},
        {TaxForm::Option::Nif, "123", false, true, "123", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        TaxForm f(c.option);
        if (c.typed) {
            f.typeAndLeave(QString::fromUtf8(c.text));
        } else {
            f.nif->setText(c.text);
            f.nif->setReadOnly(c.locked);
            HostForm::focus(f.nif);
            HostForm::press(Qt::Key_Tab);
            QCoreApplication::processEvents();
        }
        EXPECT_EQ(f.nif->text(), QString::fromUtf8(c.textAfter));
        EXPECT_EQ(HostForm::focused(), f.calle);
        if (c.message.isEmpty()) {
            EXPECT_TRUE(f.dialogs.entries().empty()) << f.dialogs.texts().join("|").toStdString();
        } else {
            ASSERT_EQ(f.dialogs.entries().size(), 1u);
            EXPECT_EQ(f.dialogs.entries()[0].text, c.message);
            EXPECT_EQ(f.dialogs.entries()[0].icon, Dialogs::Icon::Critical);
        }
    }
}

struct OptionCase {
    bool cifOption;  // else the NIF option
    bool validateCif;
    const char* before;
    const char* after;
    QString message;
};

TEST(TaxIdField, ChoosingAnOptionRunsItsRoutine) {
    const OptionCase cases[] = {
        {false, false, "", "", QStringLiteral("No se han introducido datos")},
        {false, false, "1234567", "1234567L", {}},
        {true, true, "12345678Z", "12345678Z",
         QStringLiteral("la letra introducida no corresponde a un CIF")},
        {true, false, "12345678Z", "12345678Z", {}},  // the company screen does not check here
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(
            QString::fromUtf8(c.cifOption ? "CIF " : "NIF ").append(c.before).toStdString());
        TaxForm f(TaxForm::Option::Libre, torvane::TaxIdOptions{c.validateCif});
        f.nif->setText(QString::fromUtf8(c.before));
        HostForm::focus(f.nif);
        QRadioButton* option = c.cifOption ? f.optCif : f.optNif;
        // On the round mark, where a user clicks.
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
        QCoreApplication::processEvents();
        EXPECT_TRUE((c.cifOption ? f.optCif : f.optNif)->isChecked());
        EXPECT_EQ(f.nif->text(), QString::fromUtf8(c.after));
        if (c.message.isEmpty()) {
            EXPECT_TRUE(f.dialogs.entries().empty()) << f.dialogs.texts().join("|").toStdString();
        } else {
            EXPECT_EQ(f.dialogs.texts(), QStringList{c.message});
        }
    }
}

}  // namespace
