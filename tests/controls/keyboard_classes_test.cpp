#include "controls/keyboard_classes.h"

#include <gtest/gtest.h>
#include <QLineEdit>

#include "host_form.h"

using torvane::KeyClass;
using torvane::testing::HostForm;

namespace {

struct TypingCase {
    KeyClass keyClass;
    const char* typed;
    const char* expected;
    bool enterMoves;  // else Enter stays for the screen's own returnPressed
};

// Typed characters are filtered or changed; Enter moves to the next field and is swallowed.
TEST(KeyClasses, FilterAndChangeTypedCharactersAndEnterMovesOn) {
    const TypingCase cases[] = {
        {KeyClass::K2, "calle mayor 1", "CALLE MAYOR 1", false},
        {KeyClass::K3, "12a-3.4,5", "12345", true},
        {KeyClass::K4, "juan pérez", "JUAN PÉREZ", true},
        {KeyClass::K5, "12.5a-", "12,5", true},
        {KeyClass::K7, "28a001", "28001", true},
        {KeyClass::K6, "-1.5x", "-1,5", true},
        {KeyClass::K8, "3.75 e", "3,75", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QStringLiteral("K%1 %2")
                         .arg(int(c.keyClass))
                         .arg(QString::fromUtf8(c.typed))
                         .toStdString());
        HostForm form;
        auto* field = form.add<QLineEdit>("txtCampo");
        auto* next = form.add<QLineEdit>("txtOtro");
        int returns = 0;
        QObject::connect(field, &QLineEdit::returnPressed, [&] { ++returns; });
        EXPECT_TRUE(torvane::applyKeyClasses(&form, {{c.keyClass, "txtCampo"}}).isEmpty());
        form.showActive();
        HostForm::focus(field);
        HostForm::type(QString::fromUtf8(c.typed));
        EXPECT_EQ(field->text(), QString::fromUtf8(c.expected));
        HostForm::press(Qt::Key_Return);
        EXPECT_EQ(HostForm::focused(), c.enterMoves ? static_cast<QWidget*>(next) : field);
        EXPECT_EQ(returns, c.enterMoves ? 0 : 1);
        EXPECT_EQ(field->text(), QString::fromUtf8(c.expected));
        // Backspace is refused by K7 alone.
        HostForm::focus(field);
        field->end(false);
        HostForm::press(Qt::Key_Backspace);
        EXPECT_EQ(field->text(),
                  QString::fromUtf8(c.expected).chopped(c.keyClass == KeyClass::K7 ? 0 : 1));
    }
}

}  // namespace
