#include <QTest>

#include "billing/fact_comisiones.h"
#include "billing/list_comisiones.h"
#include "billing_fixture.h"
#include "controls/line_table.h"
#include "masters/screen_fixture.h"

using namespace torvane;
using namespace torvane::testing;

namespace {

class CommissionScreens : public ScreenTest {
  protected:
    void SetUp() override {
        home.session().setToday(QDate(2008, 3, 20));
        db().insert(
            "INSERT INTO DatosEmpresa (Nombre, Nif) VALUES ('TALLERES TORVANE', 'B12345678')");
        garcia = addClient(db(), "GARCIA", "0007");
    }

    void addLine(QWidget* form, const char* text, const char* units, const char* price,
                 const char* dto) {
        for (const char* name : {"TxtConcepto", "TxtUnidades", "TxtPrecUnidad", "TxtDescArt"})
            control<QLineEdit>(form, name)->clear();
        type(form, "TxtConcepto", QString::fromUtf8(text));
        type(form, "TxtUnidades", QString::fromUtf8(units));
        type(form, "TxtPrecUnidad", QString::fromUtf8(price));
        type(form, "TxtDescArt", QString::fromUtf8(dto));
        click(form, "KewlButtons5");
    }

    qint64 garcia = 0;
};

}  // namespace

TEST_F(CommissionScreens, OpenedAndClosedLeavesNothing) {
    for (const char* leave : {"Command6", ""}) {
        auto form = open<FactComisiones>(garcia);
        EXPECT_EQ(textOf(form.get(), "TxtNFactura"), "FC08/03/0001");
        EXPECT_EQ(textOf(form.get(), "TxtNombre"), "GARCIA");
        EXPECT_FALSE(control<QWidget>(form.get(), "Text3")->isVisible());
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
    addLine(form.get(), "COMISION A", "1", "", "0");
    EXPECT_EQ(dialogs.lastText(), "Debe completar todos los campos");
    EXPECT_EQ(dialogs.entries().back().icon, Dialogs::Icon::Critical);
    EXPECT_EQ(textOf(form.get(), "TxtConcepto"), "COMISION A");

    addLine(form.get(), "comision a", "1", "100", "0");
    addLine(form.get(), "BORRAR", "1", "7", "0");
    addLine(form.get(), "COMISION B", "2", "50", "50");
    auto* grid = control<LineTable>(form.get(), "MSHSalidas");
    ASSERT_EQ(grid->model()->rowCount(), 3);
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(1, 0));
    QTest::keyClick(grid, Qt::Key_Delete);
    ASSERT_EQ(grid->model()->rowCount(), 2);
    // An empty withholding counts as 0.
    EXPECT_EQ(textOf(form.get(), "TxtSuma"), "150,00");
    EXPECT_EQ(textOf(form.get(), "TxtIVA"), "24,00");
    EXPECT_EQ(textOf(form.get(), "TxtIRPF2"), "0,00");
    EXPECT_EQ(textOf(form.get(), "TxtTotal"), "174,00");
    type(form.get(), "TxtIRPF", "15");
    EXPECT_EQ(textOf(form.get(), "TxtIRPF2"), "22,50");
    EXPECT_EQ(textOf(form.get(), "TxtTotal"), "151,50");

    click(form.get(), "CmdFacturar");
    settle();
    EXPECT_EQ(openWindow("FactComisiones"), nullptr);
    EXPECT_EQ(db().scalar("SELECT NFactura || ' ' || Suma || ' ' || Iva || ' ' || Retencion || ' ' "
                          "|| Resto FROM Comisiones")
                  .toString(),
              "FC08/03/0001 150.0 24.0 22.5 151.5");
    EXPECT_EQ(db().scalar("SELECT group_concat(Concepto, ',') FROM SalidasComisiones "
                          "WHERE NFactura = 'FC08/03/0001'")
                  .toString(),
              "COMISION A,COMISION B");
    ASSERT_EQ(services.output.jobs().size(), 1u);
    EXPECT_EQ(services.output.jobs().back().report.name.toLower(), "qarvofaccomi.rpt");
}

TEST_F(CommissionScreens, ListShowsEveryLineAndDeletesWithHeader) {
    {
        auto empty = open<ListComisiones>();
        EXPECT_FALSE(enabled(empty.get(), "CmdImprimir"));
        EXPECT_FALSE(enabled(empty.get(), "CmdEliminarFact"));
    }
    for (int i = 0; i < 2; ++i) {
        auto form = open<FactComisiones>(garcia);
        const int lines = i == 0 ? 3 : 1;
        for (int l = 0; l < lines; ++l) addLine(form.get(), "LINEA", "1", "10", "0");
        click(form.get(), "CmdGuardar");
        settle();
    }
    auto list = open<ListComisiones>();
    auto* grid = control<DataGrid>(list.get(), "MSHFacturas");
    ASSERT_EQ(grid->rowCount(), 4);
    int first = 0;
    for (int r = 0; r < grid->rowCount(); ++r)
        first += grid->value(r, "NFactura").toString() == "FC08/03/0001" ? 1 : 0;
    EXPECT_EQ(first, 3);

    clickRow(grid, grid->value(0, "NFactura").toString() == "FC08/03/0001" ? 0 : 1);
    ASSERT_EQ(grid->currentValue("NFactura").toString(), "FC08/03/0001");
    click(list.get(), "CmdEliminarFact");
    EXPECT_TRUE(dialogs.entries().empty());
    EXPECT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Comisiones WHERE NFactura = 'FC08/03/0001'"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM SalidasComisiones WHERE NFactura = 'FC08/03/0001'"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM SalidasComisiones"), 1);
}
