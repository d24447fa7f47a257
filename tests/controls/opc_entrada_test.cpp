#include "controls/opc_entrada.h"

#include <gtest/gtest.h>
#include <QLineEdit>
#include <QPushButton>

#include "host_form.h"
#include "support/scripted_dialogs.h"

using torvane::Dialogs;
using torvane::OpcEntrada;
using torvane::testing::HostForm;
using torvane::testing::ScriptedDialogs;

namespace {

const QString kBlank = QStringLiteral("No puede dejar los datos en blanco");
const QString kBadDate = QStringLiteral("La fecha no es válida");
const QString kBadTime = QStringLiteral("La hora no es válida");

// A screen with one masked field between two plain ones, and a Cancel button
// that may take the focus without the field being checked.
struct OpcForm {
    HostForm form;
    ScriptedDialogs dialogs;
    QLineEdit* before;
    OpcEntrada* opc;
    QLineEdit* after;
    QPushButton* cancel;

    explicit OpcForm(int mode, const std::function<void(OpcEntrada*)>& setUp = {}) {
        before = form.add<QLineEdit>("txtAntes");
        opc = form.add<OpcEntrada>("opcFecha");
        after = form.add<QLineEdit>("txtDespues");
        cancel = form.add<QPushButton>("CmdCancelar");
        cancel->setProperty("canfocus", true);
        opc->setTypeInput(mode);
        opc->setDialogs(&dialogs);
        opc->setTodaySource([] { return QDate(2008, 3, 15); });
        if (setUp) setUp(opc);
        form.showActive();
    }

    // Types into the field and leaves it with Tab, as a user does.
    void typeAndLeave(const QString& text) {
        HostForm::focus(opc);
        HostForm::type(text);
        HostForm::press(Qt::Key_Tab);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    bool stayedIn() const { return HostForm::focused() == opc->maskEdit(); }
};

struct TypeCase {
    int mode;
    std::function<void(OpcEntrada*)> setUp;
    const char* typed;
    const char* textAfterLeaving;
    QString message;  // shown and the focus kept in the field; empty = valid, focus moved on
};

void runTypeCases(const std::vector<TypeCase>& cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(QStringLiteral("mode %1 typed %2")
                         .arg(c.mode)
                         .arg(QString::fromUtf8(c.typed))
                         .toStdString());
        OpcForm f(c.mode, c.setUp);
        f.typeAndLeave(QString::fromUtf8(c.typed));
        EXPECT_EQ(f.opc->text(), QString::fromUtf8(c.textAfterLeaving));
        EXPECT_EQ(f.dialogs.texts(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_EQ(f.opc->errorText(), c.message);
        EXPECT_EQ(HostForm::focused() == f.after, c.message.isEmpty());
        EXPECT_EQ(f.stayedIn(), !c.message.isEmpty());
        if (!f.dialogs.entries().empty()) {
            EXPECT_EQ(f.dialogs.entries()[0].icon, Dialogs::Icon::Exclamation);
        }
    }
}

// Typing a date or a time, the two modes the screens use, and leaving the field.
TEST(OpcEntrada, TypingADateOrATime) {
    auto notEmpty = [](OpcEntrada* o) { o->setAllowEmpty(false); };
    auto lockedNonEmpty = [](OpcEntrada* o) {
        o->setAllowEmpty(false);
        o->setReadOnly(true);
    };
    runTypeCases({
        {3, {}, "010308", "01/03/2008", {}},
        {3, {}, "290229", "", {}},            // 2029 is not a leap year
        {3, {}, "320108", "", {}},            // no such date and no earlier text: emptied
        {3, {}, "0103", "01/03/", kBadDate},  // too short to complete
        {3, notEmpty, "", "", kBlank},
        // no date: back to the text it had (selected on entry and replaced by the typing)
        {3, [](OpcEntrada* o) { o->setText("15/05/2008"); }, "999999", "15/05/2008", {}},
        {3, lockedNonEmpty, "", "", {}},  // a read-only field is not checked
        {4, {}, "0930", "09:30", {}},
        {4, {}, "2400", "24:00", kBadTime},
        {4, {}, "a1b2c3d0", "12:30", {}},
    });
}

// The number modes: "-" negates the value, bounds give their own messages.
TEST(OpcEntrada, TypingANumber) {
    auto set = [](int dec, std::optional<double> lo, std::optional<double> hi) {
        return [=](OpcEntrada* o) {
            o->setDec(dec);
            o->setMinNum(lo);
            o->setMaxNum(hi);
        };
    };
    runTypeCases({
        {0, [](OpcEntrada* o) { o->setLUCase(1); }, "ruedas ñ", "RUEDAS Ñ", {}},
        // default lower bound 0; empty counts as 0
        {1, {}, "5-", "-5", QStringLiteral("Rango 0...2147483647")},
        {1, set(2, std::nullopt, 100), "101", "101",
         QStringLiteral("El numero debe ser igual o menor que100")},
        {1, set(2, std::nullopt, 100), "7-", "-7", {}},
        {1, set(2, 10, std::nullopt), "5", "5",
         QStringLiteral("El numero debe ser igual o mayor que 10")},
        {2, {}, "12.345", "12,34", {}},  // "." is the separator, the third decimal refused
        {2, set(2, std::nullopt, std::nullopt), "12,5-", "-12,50", {}},
        {2, set(2, std::nullopt, std::nullopt), "12,5--", "12,50", {}},
        {2, set(2, std::nullopt, 100), "100.5", "100,5",
         QStringLiteral("El numero debe ser igual o menor que 100")},
    });
}

// Date bounds, fixed or relative to today (pinned to 15/03/2008); a relative code wins.
TEST(OpcEntrada, DateBoundsAndRelativeCodes) {
    struct Case {
        const char* minDate;
        const char* maxDate;
        int minVar, maxVar;
        const char* date;
        QString message;
    };
    const Case cases[] = {
        {"01/01/2008", "31/12/2008", 0, 0, "31/12/2008", {}},
        {"1/1/2008", "", 0, 0, "31/12/2007",
         QStringLiteral("La fecha debe ser igual o mayor que 01/01/2008")},
        {"", "31/12/2008", 0, 0, "1/1/2009",
         QStringLiteral("La Fecha debe ser igual o menor que 31/12/2008")},
        {"", "", 0, 1, "16/03/2008",
         QStringLiteral("La Fecha debe ser igual o menor que 15/03/2008")},
        {"", "", 2, 3, "01/04/2008", QStringLiteral("Rango: 01/03/2008 ... 31/03/2008")},
        {"", "", 4, 5, "01/01/2009", QStringLiteral("Rango: 01/01/2008 ... 31/12/2008")},
        {"01/01/2000", "", 2, 0, "01/02/2008",
         QStringLiteral("La fecha debe ser igual o mayor que 01/03/2008")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.date);
        OpcEntrada opc;
        opc.setTodaySource([] { return QDate(2008, 3, 15); });
        opc.setTypeInput(OpcEntrada::Date);
        opc.setMinDate(QString::fromUtf8(c.minDate));
        opc.setMaxDate(QString::fromUtf8(c.maxDate));
        opc.setMinDateVar(c.minVar);
        opc.setMaxDateVar(c.maxVar);
        opc.setText(QString::fromUtf8(c.date));
        QString message;
        EXPECT_EQ(opc.Validate(&message), c.message.isEmpty());
        EXPECT_EQ(message, c.message);
    }
}

// Masks and completion are proven by the typing cases above ("010308", "999999").
TEST(OpcEntrada, TwoDigitYearsAndADateSetByTheScreen) {
    EXPECT_EQ(OpcEntrada::completeDate("010330", ""), "01/03/1930");
    EXPECT_EQ(OpcEntrada::completeDate("010308", "", false), "");  // a two-digit year is no date
    // A date put there by the screen is checked when asked.
    OpcEntrada opc;
    opc.setTypeInput(OpcEntrada::Date);
    opc.setText("31/02/2008");
    QString message;
    EXPECT_FALSE(opc.Validate(&message));
    EXPECT_EQ(message, kBadDate);
    EXPECT_EQ(opc.errorText(), kBadDate);
}

// Enter moves on; the text is selected on entry; a canfocus control takes the focus without
// the field being checked. (The copy into the screen's bound field is the customers' vehicle
// test.)
TEST(OpcEntrada, EnterMovesOnTheTextIsSelectedAndCancelLeavesUnchecked) {
    OpcForm f(3, [](OpcEntrada* o) { o->setAllowEmpty(false); });
    HostForm::focus(f.opc);
    HostForm::type("10308");
    HostForm::press(Qt::Key_Return);
    EXPECT_EQ(HostForm::focused(), f.after);
    EXPECT_EQ(f.opc->text(), "1/03/2008");
    f.opc->setText("01/03/2008");
    HostForm::focus(f.before);
    HostForm::press(Qt::Key_Tab);
    EXPECT_EQ(f.opc->maskEdit()->selectedText(), "01/03/2008");
    f.opc->setText("");
    f.cancel->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    EXPECT_EQ(HostForm::focused(), f.cancel);
    EXPECT_TRUE(f.dialogs.entries().empty());
}

// A refused field takes the focus back without the next bad field, which the focus
// passes through, refusing too: one message, and the focus ends in the first field.
TEST(OpcEntrada, TwoBadFieldsDoNotBounceTheFocus) {
    HostForm form;
    ScriptedDialogs dialogs;
    std::vector<OpcEntrada*> fields;
    for (const char* name : {"opcDesde", "opcHasta"}) {
        fields.push_back(form.add<OpcEntrada>(name));
        fields.back()->setTypeInput(3);
        fields.back()->setDialogs(&dialogs);
        fields.back()->setAllowEmpty(false);
    }
    form.showActive();
    HostForm::focus(fields[0]);
    HostForm::press(Qt::Key_Tab);
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    EXPECT_EQ(dialogs.texts(), QStringList{kBlank});
    EXPECT_EQ(HostForm::focused(), fields[0]->maskEdit());
}

}  // namespace
