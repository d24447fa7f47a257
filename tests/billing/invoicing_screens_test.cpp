#include <QTest>

#include "billing/billing_handoffs.h"
#include "billing/fact_comisiones.h"
#include "billing/fact_libres.h"
#include "billing/list_comisiones.h"
#include "billing/list_fac_libres.h"
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

}  // namespace

TEST_F(InvoicingScreens, CommissionLeaveInvoicePrintListAndDelete) {
    {
        SCOPED_TRACE("left without saving: nothing stored");
        auto form = open<FactComisiones>(garcia);
        EXPECT_EQ(textOf(form.get(), "TxtNFactura"), "FC08/03/0001");
        EXPECT_EQ(textOf(form.get(), "TxtNombre"), "GARCIA");
        click(form.get(), "CmdGuardar");
        EXPECT_EQ(dialogs.lastText(), "No hay detalles de compra");
        addLine(form.get(), "COMISION", "1", "100", "0");
        click(form.get(), "Command6");
        EXPECT_EQ(count("SELECT COUNT(*) FROM SalidasComisiones"), 0);
    }
    auto form = open<FactComisiones>(garcia);
    // The line entry and its grid are the free invoice's; their checks are there.
    addLine(form.get(), "comision a", "1", "100", "0");
    addLine(form.get(), "COMISION B", "2", "50", "50");
    type(form.get(), "TxtIRPF", "15");
    EXPECT_EQ(textOf(form.get(), "TxtIRPF2"), "22,50");
    EXPECT_EQ(textOf(form.get(), "TxtTotal"), "151,50");
    click(form.get(), "CmdFacturar");
    settle();
    EXPECT_EQ(openWindow("FactComisiones"), nullptr);
    EXPECT_EQ(db().scalar("SELECT NFactura || ' ' || Retencion || ' ' || Resto FROM Comisiones")
                  .toString(),
              "FC08/03/0001 22.5 151.5");
    EXPECT_EQ(db().scalar("SELECT group_concat(Concepto, ',') FROM SalidasComisiones").toString(),
              "COMISION A,COMISION B");
    ASSERT_EQ(services.output.jobs().size(), 1u);
    EXPECT_EQ(services.output.jobs().back().report.name.toLower(), "qarvofaccomi.rpt");

    form = open<FactComisiones>(garcia);
    addLine(form.get(), "LINEA", "1", "10", "0");
    click(form.get(), "CmdGuardar");
    settle();
    SCOPED_TRACE("the list shows every line and deletes with the header");
    auto list = open<ListComisiones>();
    auto* grid = control<DataGrid>(list.get(), "MSHFacturas");
    ASSERT_EQ(grid->rowCount(), 3);
    clickRow(grid, 2);
    ASSERT_EQ(grid->currentValue("NFactura").toString(), "FC08/03/0001");
    dialogs.clear();
    click(list.get(), "CmdEliminarFact");
    EXPECT_TRUE(dialogs.entries().empty());
    EXPECT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Comisiones WHERE NFactura = 'FC08/03/0001'"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM SalidasComisiones"), 1);
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
    EXPECT_EQ(textOf(form, "Text2"), "0007");
    EXPECT_EQ(textOf(form, "Text4"), "GARCIA");
    EXPECT_EQ(textOf(form, "TxtNFactura"), "FL/00001");
    EXPECT_EQ(control<OpcEntrada>(form, "OpcFecha")->text(), "20/03/2008");

    click(form, "CmdFacturar");
    EXPECT_EQ(dialogs.lastText(), "No hay detalles de compra");
    addLine(form, "revision", "3", "", "10");
    EXPECT_EQ(dialogs.lastText(), "Debe completar todos los campos");
    EXPECT_EQ(dialogs.entries().back().icon, Dialogs::Icon::Critical);
    EXPECT_EQ(textOf(form, "TxtConcepto"), "REVISION");
    // The keys of each field.
    type(form, "TxtPrecUnidad", "10.0x");
    EXPECT_EQ(textOf(form, "TxtPrecUnidad"), "10,0");
    control<QLineEdit>(form, "TxtUnidades")->clear();
    type(form, "TxtUnidades", "3,a");
    EXPECT_EQ(textOf(form, "TxtUnidades"), "3");
    EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM FacturasLibres").toInt(), 0);
    dialogs.clear();

    click(form, "KewlButtons5");
    EXPECT_EQ(textOf(form, "TxtUnidades"), "1");  // reset for the next line
    EXPECT_EQ(textOf(form, "TxtDescArt"), "0");
    EXPECT_EQ(textOf(form, "TxtConcepto"), "");
    addLine(form, "PINTURA", "1", "99.9", "0");
    addLine(form, "ACEITE", "2", "36,5", "0");
    auto* grid = control<LineTable>(form, "MSHSalidas");
    EXPECT_EQ(grid->model()->index(0, 0).data().toString(), "REVISION");
    pressDelete(grid, 1, 0);
    ASSERT_EQ(grid->model()->rowCount(), 2);
    control<QLineEdit>(form, "TxtDto")->setText("5");
    EXPECT_EQ(textOf(form, "TxtTotal"), "110,20");

    click(form, "CmdFacturar");
    settle();
    EXPECT_EQ(openWindow("FactLibres"), nullptr);
    EXPECT_EQ(db().scalar("SELECT group_concat(Concepto, ',') FROM SalidasLibres").toString(),
              "REVISION,ACEITE");
    EXPECT_EQ(Money::fromDb(db().scalar("SELECT Total FROM FacturasLibres")), eur(110.2));
    ASSERT_EQ(services.output.jobs().size(), 1u);
    const auto& job = services.output.jobs().back();
    EXPECT_TRUE(job.preview);
    EXPECT_EQ(job.report.name.toLower(), "qarvofli.rpt");
    EXPECT_TRUE(job.report.toText().contains("FL/00001"));
    EXPECT_TRUE(dialogs.entries().empty()) << dialogs.lastText().toStdString();

    // Leaving without invoicing stores nothing.
    FactLibres left(home.session(), services, garcia);
    left.show();
    addLine(&left, "REVISION", "1", "100", "0");
    click(&left, "Command6");
    EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM SalidasLibres").toInt(), 2);

    SCOPED_TRACE("the list reprints and deletes");
    const qint64 lopez = addClient(db(), "LOPEZ", "0008");
    free_invoices::store(home.session(),
                         {"FL/00002", QDate(2008, 3, 21), lopez, Quantity::whole(16), {}},
                         {DocumentLine{{}, {}, "CONCEPTO", Quantity::whole(1), eur(10), {}}});
    auto list = open<ListFacLibres>();
    auto* invoices = control<DataGrid>(list.get(), "MSHFacturas");
    ASSERT_EQ(invoices->rowCount(), 2);
    EXPECT_EQ(invoices->displayText(0, "NFactura"), "FL/00002");
    EXPECT_EQ(invoices->displayText(0, "Total"), "11,60");
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
    EXPECT_EQ(db().scalar("SELECT group_concat(NFactura) FROM FacturasLibres").toString(),
              "FL/00002");
}
