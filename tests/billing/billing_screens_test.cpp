#include <QComboBox>
#include <QLabel>
#include <QTest>

#include "billing/billing_handoffs.h"
#include "billing/fact_comisiones.h"
#include "billing/fact_libres.h"
#include "billing/gestor_cobros.h"
#include "billing/list_fac_libres.h"
#include "billing/listado_recibos.h"
#include "billing/recibos.h"
#include "billing_fixture.h"
#include "controls/line_table.h"
#include "masters/busqueda_clientes.h"
#include "masters/screen_fixture.h"

using namespace torvane;
using namespace torvane::testing;

namespace {

// The commission and free invoice screens, for GARCIA on 20 March 2008.
class InvoicingScreens : public ScreenTest {
  protected:
    void SetUp() override {
        home.session().setToday(QDate(2008, 3, 20));
        garcia = addClient(db(), "GARCIA", "0007");
    }
    qint64 garcia = 0;
};

TEST_F(InvoicingScreens, CommissionInvoicedAndPrinted) {
    auto form = open<FactComisiones>(garcia);
    EXPECT_EQ(textOf(form.get(), "TxtNFactura"), "FC08/03/0001");
    EXPECT_EQ(textOf(form.get(), "TxtNombre"), "GARCIA");
    // The line entry and its grid are the free invoice's; their checks are there.
    addLine(form.get(), "comision a", "1", "100", "0");
    addLine(form.get(), "COMISION B", "2", "50", "50");
    type(form.get(), "TxtIRPF", "15");
    EXPECT_EQ(textOf(form.get(), "TxtIRPF2"), "22,50");
    EXPECT_EQ(textOf(form.get(), "TxtTotal"), "151,50");
    click(form.get(), "CmdFacturar");
    settle();
    EXPECT_EQ(openWindow("FactComisiones"), nullptr);
    EXPECT_EQ(db().scalar("SELECT Retencion FROM Comisiones").toDouble(), 22.5);
    ASSERT_EQ(services.output.jobs().size(), 1u);
    EXPECT_EQ(services.output.jobs().back().report.name.toLower(), "qarvofaccomi.rpt");
}

TEST_F(InvoicingScreens, FreeInvoiceRefusalsLinesInvoicePrintAndList) {
    {
        auto empty = open<ListFacLibres>();
        EXPECT_FALSE(enabled(empty.get(), "CmdImprimir"));
        EXPECT_FALSE(enabled(empty.get(), "CmdEliminarFact"));
    }
    // Opened from the customer search, as the toolbar does.
    registerFreeInvoiceOrigin(home.session(), services);
    auto search = open<BusquedaClientes>(nullptr, QStringLiteral("Facturas Libres"));
    clickRow(control<DataGrid>(search.get(), "MSHFlexGrid1"), 0);
    click(search.get(), "CmdAcciones_1");
    QWidget* form = openWindow("FactLibres");
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(textOf(form, "Text4"), "GARCIA");
    EXPECT_EQ(textOf(form, "TxtNFactura"), "FL/00001");
    EXPECT_EQ(control<OpcEntrada>(form, "OpcFecha")->text(), "20/03/2008");

    click(form, "CmdFacturar");
    EXPECT_EQ(dialogs.lastText(), "No hay detalles de compra");
    addLine(form, "revision", "3", "", "10");
    EXPECT_TRUE(lastMessageIs(dialogs, "Debe completar todos los campos", Dialogs::Icon::Critical));
    type(form, "TxtPrecUnidad", "10");
    click(form, "KewlButtons5");
    addLine(form, "PINTURA", "1", "99.9", "0");
    addLine(form, "ACEITE", "2", "36,5", "0");
    auto* grid = control<LineTable>(form, "MSHSalidas");
    pressDelete(grid, 1, 0);
    ASSERT_EQ(grid->model()->rowCount(), 2);
    control<QLineEdit>(form, "TxtDto")->setText("5");

    click(form, "CmdFacturar");
    settle();
    EXPECT_EQ(openWindow("FactLibres"), nullptr);
    EXPECT_EQ(Money::fromDb(db().scalar("SELECT Total FROM FacturasLibres")), eur(110.2));
    ASSERT_EQ(services.output.jobs().size(), 1u);
    EXPECT_EQ(services.output.jobs().back().report.name.toLower(), "qarvofli.rpt");

    SCOPED_TRACE("the list reprints and deletes");
    free_invoices::store(home.session(),
                         {"FL/00002", QDate(2008, 3, 21), garcia, Quantity::whole(16), {}},
                         {DocumentLine{{}, {}, "CONCEPTO", Quantity::whole(1), eur(10), {}}});
    auto list = open<ListFacLibres>();
    auto* invoices = control<DataGrid>(list.get(), "MSHFacturas");
    ASSERT_EQ(invoices->rowCount(), 2);
    click(list.get(), "Option1_1");
    type(list.get(), "txtBusqueda", "FL/00001");
    ASSERT_EQ(invoices->rowCount(), 1);
    click(list.get(), "CmdImprimir");
    ASSERT_EQ(services.output.jobs().size(), 2u);
    const QString text = services.output.jobs().back().report.toText();
    EXPECT_TRUE(text.contains("FL/00001"));
    EXPECT_FALSE(text.contains("FL/00002"));
    dialogs.clear();
    click(list.get(), "CmdEliminarFact");  // no question
    EXPECT_TRUE(dialogs.entries().empty());
    EXPECT_EQ(invoices->rowCount(), 0);
    EXPECT_FALSE(enabled(list.get(), "CmdEliminarFact"));
}

class CollectionsScreen : public ScreenTest {
  protected:
    void SetUp() override {
        home.session().setToday(QDate(2024, 3, 20));
        addWorkOrderInvoice(db(), "FR1", "2024-03-01", addClient(db(), "GARCIA"), eur(100), {}, 2);
    }

    void pay(QWidget* payments, const char* date, const char* amount) {
        control<OpcEntrada>(payments, "OpcFecha")->setText(QString::fromLatin1(date));
        setText(payments, "TxtCantidad", QString::fromLatin1(amount));
        click(payments, "CmdHacer");
    }
};

TEST_F(CollectionsScreen, PayingRefusingAndRemovingFromTheList) {
    auto list = open<GestorCobros>();
    auto* rep = control<DataGrid>(list.get(), "MSHFactRep");
    ASSERT_EQ(rep->rowCount(), 1);  // the two-work-order invoice once
    clickRow(rep, 0);
    click(list.get(), "CmdCobrar");
    QWidget* payments = openWindow("Entregas");
    ASSERT_NE(payments, nullptr);
    EXPECT_EQ(payments->windowTitle(), "Entregas para la factura FR1");
    // Today is proposed when the date is entered.
    ASSERT_TRUE(QTest::qWaitForWindowActive(payments));
    control<OpcEntrada>(payments, "OpcFecha")->maskEdit()->setFocus();
    EXPECT_EQ(control<OpcEntrada>(payments, "OpcFecha")->text(), "20/03/2024");
    pay(payments, "", "10");
    EXPECT_TRUE(lastMessageIs(dialogs, "Debe introducir una fecha y una cantidad para la entrega",
                              Dialogs::Icon::Critical));
    pay(payments, "01/03/2024", "30");
    // Above what is pending: asked; No stores nothing and keeps the amount typed.
    dialogs.answerNo();
    pay(payments, "02/03/2024", "80");
    EXPECT_EQ(dialogs.lastText(),
              "La cantidad supera el importe pendiente. ¿Desea registrar la entrega igualmente?");
    EXPECT_EQ(textOf(payments, "TxtCantidad"), "80");
    EXPECT_EQ(textOf(payments, "TxtPendiente"), "70,00");
    dialogs.answerYes();
    click(payments, "CmdHacer");
    EXPECT_EQ(Money::fromDb(db().scalar("SELECT Pagado FROM FacturasODT WHERE NFactura = 'FR1'")),
              eur(110));
    for (const char* name : {"OpcFecha", "TxtCantidad", "CmdHacer"})
        EXPECT_FALSE(enabled(payments, name)) << name;

    auto* cobros = control<DataGrid>(payments, "MSHCobros");
    ASSERT_EQ(cobros->rowCount(), 2);
    clickRow(cobros, 0);
    dialogs.clear();
    click(payments, "CmdEliminar");  // no question
    EXPECT_TRUE(dialogs.entries().empty());
    EXPECT_EQ(textOf(payments, "TxtPendiente"), "20,00");
    for (const char* name : {"OpcFecha", "TxtCantidad", "CmdHacer"})
        EXPECT_TRUE(enabled(payments, name)) << name;

    // Back in the list, the payment shows.
    click(payments, "CmdSalir");
    settle();
    EXPECT_EQ(rep->displayText(0, "Debido"), "20,00");
}

class ReceiptScreens : public InvoicingScreens {
  protected:
    void SetUp() override {
        InvoicingScreens::SetUp();
        home.session().setToday(QDate(2008, 1, 15));
        db().exec(
            "UPDATE Clientes SET Banco = 'BANCO X', Sucursal = '0049', NumeroCuenta = '1234', "
            "DiaDePago = '5' WHERE Id_Cli = ?",
            {garcia});
        addWorkOrderInvoice(db(), "FR08/01/00001", "2008-01-02", garcia, eur(60), {}, 2);
        addWorkOrderInvoice(db(), "FR08/01/00002", "2008-01-03", garcia, eur(15));
        addPartsInvoice(db(), "FV08/01/00001", "2008-01-04", garcia, eur(25), {eur(25)});
    }
};

TEST_F(ReceiptScreens, MarkTermsDayStoreAndList) {
    EXPECT_FALSE(enabled(open<ListadoRecibos>().get(), "CmdEliminar"));  // nothing to delete
    auto form = open<Recibos>(garcia);
    EXPECT_EQ(textOf(form.get(), "TxtNombre"), "GARCIA");
    EXPECT_EQ(textOf(form.get(), "txtBanco"), "BANCO X");
    EXPECT_EQ(textOf(form.get(), "txtDiaPago"), "5");
    click(form.get(), "CmdCrearRecibos");
    EXPECT_EQ(dialogs.lastText(), "Debe marcar alguna factura y elegir la forma de pago");
    auto* rep = control<DataGrid>(form.get(), "MSHReparaciones");
    auto* rec = control<DataGrid>(form.get(), "MSHRecambios");
    // One row per invoice, whatever the number of work orders.
    ASSERT_EQ(rep->rowCount(), 2);
    ASSERT_EQ(rec->rowCount(), 1);
    clickRow(rep, 0);
    clickRow(rec, 0);
    clickRow(rep, 1);
    EXPECT_EQ(control<QLabel>(form.get(), "LblTotal")->text(), "100,00");

    // How the day and the terms give the dates is the Receipts tests'; typing a day redraws.
    setText(form.get(), "txtDiaPago", "3");
    control<QComboBox>(form.get(), "ComboFormaPago")->setCurrentText("30-60 DÍAS");
    EXPECT_EQ(textOf(form.get(), "TxtVencimiento_1"), "3/03/2008");
    EXPECT_EQ(textOf(form.get(), "TxtImporte_1"), "50,00");

    click(form.get(), "CmdCrearRecibos");
    // How the rows are stored is the Receipts tests'; the screen hands over payer and invoices.
    EXPECT_EQ(db().scalar("SELECT NCuenta || ' ' || NFactura FROM Recibos WHERE NRecibo = ?",
                          {"08/01/00002"})
                  .toString(),
              "1234 FR08/01/00001, FR08/01/00002, FV08/01/00001");
    EXPECT_EQ(textOf(form.get(), "TxtRecibo_0"), "08/01/00003");

    // The same invoices again: asked, and No stores nothing.
    dialogs.answerNo();
    click(form.get(), "CmdCrearRecibos");
    EXPECT_EQ(dialogs.lastText(), "Alguna factura ya tiene recibos. ¿Desea crearlos igualmente?");
    EXPECT_EQ(count("SELECT COUNT(*) FROM Recibos"), 2);

    // Day 32 is refused.
    type(form.get(), "txtDiaPago", "2");
    EXPECT_TRUE(lastMessageIs(dialogs, "El nº de dia que ha introducido no es posible",
                              Dialogs::Icon::Critical));

    SCOPED_TRACE("the list's refusals");
    auto list = open<ListadoRecibos>();
    auto* grid = control<DataGrid>(list.get(), "MSHRecibos");
    ASSERT_EQ(grid->rowCount(), 2);
    click(list.get(), "CmdEliminar");
    EXPECT_EQ(dialogs.lastText(), "No hay ningún recibo seleccionado");
    clickRow(grid, 0);
    clickRow(grid, 1);
    click(list.get(), "CmdEliminar");
    EXPECT_EQ(dialogs.lastText(), "No se pueden eliminar varios recibos a la vez");
}

}  // namespace
