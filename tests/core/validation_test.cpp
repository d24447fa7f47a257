#include "core/validation.h"

#include <gtest/gtest.h>
#include <tuple>

#include "support/scripted_dialogs.h"

using torvane::Dialogs;
using torvane::testing::ScriptedDialogs;

namespace {

const QString kNoData = QStringLiteral("No se han introducido datos");
const QString kShort = QStringLiteral("No se puede calcular el NIF porque faltan dígitos");
const QString kBadNif = QStringLiteral("El NIF introducido no es correcto");
const QString kNotCif = QStringLiteral("El dato introducido no corresponde a un CIF");
const QString kBadLetter = QStringLiteral("la letra introducida no corresponde a un CIF");
const QString kBadControl =
    QStringLiteral("El cif no es correcto, el dígito de control no coincide");

// Every message of these routines is an error box.
void expectOnlyCritical(const ScriptedDialogs& d, const QString& message) {
    if (message.isEmpty()) {
        EXPECT_TRUE(d.entries().empty()) << d.texts().join(" | ").toStdString();
        return;
    }
    ASSERT_EQ(d.entries().size(), 1u) << d.texts().join(" | ").toStdString();
    EXPECT_EQ(d.entries()[0].text, message);
    EXPECT_EQ(d.entries()[0].icon, Dialogs::Icon::Critical);
}

TEST(CalcularNIF, LettersAndMessages) {
    // The digits, whether only the letter is wanted, the result and the message.
    const std::tuple<const char*, bool, const char*, QString> cases[] = {
        {"12345678", false, "12345678Z", {}}, {"12345678", true, "Z", {}},
        {"00000023", false, "00000023T", {}}, {"", false, "", kNoData},
        {"123456", false, "", kShort},
    };
    for (const auto& [digits, letterOnly, result, message] : cases) {
        SCOPED_TRACE(digits);
        ScriptedDialogs d;
        EXPECT_EQ(torvane::CalcularNIF(d, QString::fromUtf8(digits), letterOnly),
                  QString::fromUtf8(result));
        expectOnlyCritical(d, message);
    }
}

// A tax id, whether it is valid, and the message it gives.
using IdCase = std::tuple<const char*, bool, QString>;

TEST(ValidarNIF, AcceptsOnlyTheRightLetter) {
    const IdCase cases[] = {
        {"12345678z", true, {}},  // checked upper-cased
        {"1234567L", true, {}},
        {"12345678A", false, {}},  // wrong letter: silent
        {"12345678ZZ", false, kBadNif},
    };
    for (const auto& [id, valid, message] : cases) {
        SCOPED_TRACE(id);
        ScriptedDialogs d;
        EXPECT_EQ(torvane::ValidarNIF(d, QString::fromUtf8(id)), valid);
        expectOnlyCritical(d, message);
    }
}

TEST(ValidarCIF, ControlCharacterOfEveryFamily) {
    const IdCase cases[] = {
        // Digit control.
        {"A28015865", true, {}},  // Telefonica
        {"A28015866", false, kBadControl},
        // Letter control J..I for K, P, Q and S.
        {"Q2818014I", true, {}},            // Universidad Complutense
        {"Q28180149", false, kBadControl},  // the digit is not accepted for Q
        // X: the NIF letter of the seven digits.
        {"X1234567L", true, {}},
        // First letters that are not a company's.
        {"N0012345J", false, kBadLetter},
        // Shape.
        {"A2801586", false, kNotCif},
    };
    for (const auto& [id, valid, message] : cases) {
        SCOPED_TRACE(id);
        ScriptedDialogs d;
        QString cif = QString::fromUtf8(id);
        EXPECT_EQ(torvane::ValidarCIF(d, cif), valid);
        EXPECT_EQ(cif, QString::fromUtf8(id).toUpper());
        expectOnlyCritical(d, message);
    }
}

TEST(MonedaLetras, WritesEveryAmountWithItsSpacing) {
    const std::pair<double, const char*> cases[] = {
        {0, "Cero"},
        {-0.01, "Sobregirado"},
        {1, "Un  Euros Netos"},
        {1234.56, "Un  mil Doscientos Treinta y Cuatro  Euros con Cincuenta y Seis  centimos"},
        {1000000, "Un Millon  Euros Netos"},
        {2500000.5, "Dos Millones Quinientos  mil  Euros con Cincuenta  centimos"},
        {123456789.12,
         "Ciento Veinte y Tres Millones Cuatrocientos Cincuenta y Seis  mil Setecientos Ochenta "
         "y Nueve  Euros con Doce  centimos"},
        {2.125, "Dos  Euros con Doce  centimos"},  // half cent to even
    };
    for (const auto& [amount, words] : cases) {
        SCOPED_TRACE(amount);
        EXPECT_EQ(
            torvane::MonedaLetras(torvane::Money::fromDouble(amount), QStringLiteral("Euros")),
            QString::fromUtf8(words));
    }
}

}  // namespace
