#include "billing/fact_comisiones.h"
#include "billing/list_comisiones.h"
#include "billing_fixture.h"
#include "masters/screen_fixture.h"

using namespace torvane;
using namespace torvane::testing;

namespace {

class CommissionScreens : public ScreenTest {
  protected:
    void SetUp() override {
        home.session().setToday(QDate(2008, 3, 20));
        garcia = addClient(db(), "GARCIA", "0007");
    }
    qint64 garcia = 0;
};

}  // namespace

TEST_F(CommissionScreens, OpenedAndClosedLeavesNothing) {
    for (const char* leave : {"Command6", ""}) {
        auto form = open<FactComisiones>(garcia);
        EXPECT_EQ(textOf(form.get(), "TxtNFactura"), "FC08/03/0001");
        EXPECT_EQ(textOf(form.get(), "TxtNombre"), "GARCIA");
        addLine(form.get(), "COMISION", "1", "100", "0");
        if (*leave)
            click(form.get(), leave);
        else
            form->close();
        EXPECT_EQ(count("SELECT COUNT(*) FROM Comisiones"), 0) << leave;
        EXPECT_EQ(count("SELECT COUNT(*) FROM SalidasComisiones"), 0) << leave;
    }
}

TEST_F(CommissionScreens, LinesTotalsSaveAndPrint) {
    auto form = open<FactComisiones>(garcia);
    click(form.get(), "CmdGuardar");
    EXPECT_EQ(dialogs.lastText(), "No hay detalles de compra");
    // The line entry and its grid are the free invoice's; their checks are there.
    addLine(form.get(), "comision a", "1", "100", "0");
    addLine(form.get(), "COMISION B", "2", "50", "50");
    EXPECT_EQ(textOf(form.get(), "TxtSuma"), "150,00");
    type(form.get(), "TxtIRPF", "15");
    EXPECT_EQ(textOf(form.get(), "TxtIVA"), "24,00");
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
}

TEST_F(CommissionScreens, ListShowsEveryLineAndDeletesWithHeader) {
    for (int lines : {3, 1}) {
        auto form = open<FactComisiones>(garcia);
        for (int l = 0; l < lines; ++l) addLine(form.get(), "LINEA", "1", "10", "0");
        click(form.get(), "CmdGuardar");
        settle();
    }
    auto list = open<ListComisiones>();
    auto* grid = control<DataGrid>(list.get(), "MSHFacturas");
    ASSERT_EQ(grid->rowCount(), 4);
    clickRow(grid, grid->value(0, "NFactura").toString() == "FC08/03/0001" ? 0 : 1);
    ASSERT_EQ(grid->currentValue("NFactura").toString(), "FC08/03/0001");
    click(list.get(), "CmdEliminarFact");
    EXPECT_TRUE(dialogs.entries().empty());
    EXPECT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Comisiones WHERE NFactura = 'FC08/03/0001'"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM SalidasComisiones"), 1);
}
