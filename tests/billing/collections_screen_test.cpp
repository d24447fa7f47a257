#include <QTest>

#include "billing/entregas.h"
#include "billing/gestor_cobros.h"
#include "billing_fixture.h"
#include "masters/screen_fixture.h"

using namespace torvane;
using namespace torvane::testing;
using collections::InvoiceKind;

namespace {

class CollectionsScreen : public ScreenTest {
  protected:
    void SetUp() override {
        home.session().setToday(QDate(2024, 3, 20));
        const qint64 garcia = addClient(db(), "GARCIA", "0001");
        const qint64 lopez = addClient(db(), "LOPEZ", "0002");
        addWorkOrderInvoice(db(), "FR1", "2024-03-01", garcia, eur(100), {}, 2);
        addWorkOrderInvoice(db(), "FR2", "2024-02-01", lopez, eur(40));
        addPartsInvoice(db(), "FV1", "2024-03-05", lopez, eur(150), {eur(100), eur(50)});
    }

    Money workOrderPaid(const char* number) {
        return Money::fromDb(db().scalar("SELECT Pagado FROM FacturasODT WHERE NFactura = ?",
                                         {QString::fromLatin1(number)}));
    }

    // Opens the payments of the visible tab's row through CmdCobrar.
    QWidget* cobrar(QWidget* list, int tab, int row) {
        selectTab(list, "SSTab1", tab);
        clickRow(control<DataGrid>(list, tab == 0 ? "MSHFactRep" : "MSHFactRec"), row);
        click(list, "CmdCobrar");
        return openWindow("Entregas");
    }

    void pay(QWidget* payments, const char* date, const char* amount) {
        control<OpcEntrada>(payments, "OpcFecha")->setText(QString::fromLatin1(date));
        control<QLineEdit>(payments, "TxtCantidad")->clear();
        type(payments, "TxtCantidad", QString::fromLatin1(amount));
        click(payments, "CmdHacer");
    }
};

TEST_F(CollectionsScreen, PayingRemovingAndSearchingFromTheList) {
    auto list = open<GestorCobros>();
    auto* rep = control<DataGrid>(list.get(), "MSHFactRep");
    ASSERT_EQ(rep->rowCount(), 2);  // the two-work-order invoice once
    EXPECT_EQ(rep->displayText(0, "NFactura"), "FR1");

    QWidget* payments = cobrar(list.get(), 0, 0);
    ASSERT_NE(payments, nullptr);
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(payments->windowTitle(), "Entregas para la factura FR1");
    EXPECT_EQ(textOf(payments, "TxtTotal"), "100,00");

    // Today is proposed when the date is entered.
    ASSERT_TRUE(QTest::qWaitForWindowActive(payments));
    control<OpcEntrada>(payments, "OpcFecha")->maskEdit()->setFocus();
    EXPECT_EQ(control<OpcEntrada>(payments, "OpcFecha")->text(), "20/03/2024");

    pay(payments, "01/03/2024", "30");
    pay(payments, "02/03/2024", "70");  // exactly what is pending: no question
    EXPECT_EQ(workOrderPaid("FR1"), eur(100));
    EXPECT_EQ(textOf(payments, "TxtPendiente"), "0,00");
    for (const char* name : {"OpcFecha", "TxtCantidad", "CmdHacer"})
        EXPECT_FALSE(enabled(payments, name)) << name;

    auto* cobros = control<DataGrid>(payments, "MSHCobros");
    ASSERT_EQ(cobros->rowCount(), 2);
    clickRow(cobros, 0);
    EXPECT_EQ(textOf(payments, "TxtPagado"), "30,00");
    click(payments, "CmdEliminar");  // no question
    EXPECT_EQ(textOf(payments, "TxtPendiente"), "30,00");
    for (const char* name : {"OpcFecha", "TxtCantidad", "CmdHacer"})
        EXPECT_TRUE(enabled(payments, name)) << name;
    EXPECT_TRUE(dialogs.entries().empty());

    // Back in the list, the payment shows.
    click(payments, "CmdSalir");
    settle();
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(rep->displayText(0, "Debido"), "30,00");

    SCOPED_TRACE("the parts tab pays the parts invoice");
    EXPECT_EQ(control<DataGrid>(list.get(), "MSHFactRec")->displayText(0, "Importe"), "150,00");
    payments = cobrar(list.get(), 1, 0);
    ASSERT_NE(payments, nullptr);
    EXPECT_EQ(textOf(payments, "TxtTotal"), "150,00");
    pay(payments, "05/03/2024", "50,5");
    EXPECT_EQ(db().scalar("SELECT Pagado FROM Facturas WHERE Id_Fac = 'FV1'").toDouble(), 50.5);
    EXPECT_EQ(textOf(payments, "TxtFacturas"), "50,50");
    click(payments, "CmdSalir");
    settle();

    SCOPED_TRACE("searching re-queries the visible tab, and collecting follows it");
    auto* rec = control<DataGrid>(list.get(), "MSHFactRec");
    selectTab(list.get(), "SSTab1", 0);
    type(list.get(), "Text1", "gar");
    EXPECT_EQ(textOf(list.get(), "Text1"), "GAR");
    EXPECT_EQ(rep->rowCount(), 1);
    EXPECT_EQ(rec->rowCount(), 1);  // the hidden tab keeps its rows
    selectTab(list.get(), "SSTab1", 1);
    control<QLineEdit>(list.get(), "Text1")->setText("GARCIA");
    EXPECT_EQ(rec->rowCount(), 0);
    // Nothing to collect on this tab.
    EXPECT_FALSE(enabled(list.get(), "CmdCobrar"));
    selectTab(list.get(), "SSTab1", 0);
    EXPECT_TRUE(enabled(list.get(), "CmdCobrar"));
    // Double-click on a work-order invoice collects it.
    doubleClickRow(rep, 0);
    payments = openWindow("Entregas");
    ASSERT_NE(payments, nullptr);
    EXPECT_EQ(textOf(payments, "TxtNFactura"), "FR1");
}

TEST_F(CollectionsScreen, RefusedAndQuestionedPayments) {
    Entregas payments(home.session(), services, InvoiceKind::WorkOrder, "FR2");
    payments.show();
    type(&payments, "TxtCantidad", "12.5a-");
    EXPECT_EQ(textOf(&payments, "TxtCantidad"), "12,5");
    // No payment listed: removing does nothing and says nothing.
    click(&payments, "CmdEliminar");
    EXPECT_TRUE(dialogs.entries().empty());

    const char* above =
        "La cantidad supera el importe pendiente. ¿Desea registrar la entrega igualmente?";
    struct Case {
        const char *date, *amount;
        int answer;  // -1 no question, 0 No, 1 Yes
        const char* message;
        double paid;
    };
    const Case cases[] = {
        {"", "10", -1, "Debe introducir una fecha y una cantidad para la entrega", 0},
        {"01/03/2024", "40,01", 0, above, 0},
        {"01/03/2024", "45", 1, above, 45},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.date) + " " + c.amount);
        if (c.answer == 0) dialogs.answerNo();
        if (c.answer == 1) dialogs.answerYes();
        pay(&payments, c.date, c.amount);
        EXPECT_EQ(dialogs.lastText(), QString::fromUtf8(c.message));
        if (c.answer < 0) {
            EXPECT_EQ(dialogs.entries().back().icon, Dialogs::Icon::Critical);
        }
        EXPECT_EQ(workOrderPaid("FR2"), eur(c.paid));
        EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM Cobros").toInt(), c.paid > 0 ? 1 : 0);
        // A refused amount stays typed.
        if (c.paid == 0) {
            EXPECT_EQ(textOf(&payments, "TxtCantidad"), QString::fromUtf8(c.amount));
        }
    }
}

}  // namespace
