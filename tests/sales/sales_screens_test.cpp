#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>

#include "controls/line_table.h"
#include "masters/screen_fixture.h"
#include "sales/lv_recambios.h"
#include "sales/note_picker.h"
#include "sales/sales_handoffs.h"
#include "sales/venta_recambios.h"
#include "sales_fixture.h"

using namespace torvane;
using namespace torvane::testing;

namespace {

class SalesScreens : public ScreenTest {
  protected:
    void SetUp() override {
        home.session().setToday(QDate(2008, 3, 5));
        ana = addCustomer(db(), "C1", "ANA LOPEZ", "11111111H");
        bea = addCustomer(db(), "C2", "BEATRIZ RUIZ", "22222222J");
        registerCounterSale(home.session(), services, sale);
    }
    VentaRecambios* startSale(qint64 customer) {
        services.handoffs().customerOrigins.dispatch(
            {nullptr, QStringLiteral("Venta Recambios"), customer, {}, {}});
        VentaRecambios* s = sale->data();
        EXPECT_NE(s, nullptr);
        if (s) {
            EXPECT_TRUE(QTest::qWaitForWindowActive(s));
        }
        return s;
    }
    void enterCode(QWidget* form, const QString& code) {
        setText(form, "TxtCodArt", code);
        QTest::keyClick(control<QLineEdit>(form, "TxtCodArt"), Qt::Key_Return);
    }
    QString lastJob() const {
        return services.output.jobs().empty() ? QString()
                                              : services.output.jobs().back().report.name.toLower();
    }
    std::unique_ptr<LVRecambios> openList() { return open<LVRecambios>(sale); }
    void selectNote(LVRecambios* list, const QString& note) {
        ASSERT_TRUE(control<DataGrid>(list, "MSHSalidas")->selectWhere("Albaran", note));
    }

    OpenCounterSale sale = std::make_shared<QPointer<VentaRecambios>>();
    qint64 ana = 0;
    qint64 bea = 0;
};

TEST_F(SalesScreens, CounterSaleLinesEditDeleteAndSave) {
    const qint64 art = addArticle(db(), "A1", "FILTRO", 5, 1, 12.5);
    VentaRecambios* s = startSale(ana);
    ASSERT_NE(s, nullptr);
    // A new sale closed without saving leaves nothing.
    enterCode(s, "A1");
    click(s, "KewlButtons5");
    dialogs.answerNo();
    click(s, "Command6");
    settle();
    EXPECT_EQ(dialogs.lastText(), "¿Desea guardar los cambios realizados?");
    EXPECT_EQ(stockOf(db(), art), 5);

    s = startSale(ana);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(textOf(s, "TxtNAlbaran"), "AR08/03/00001");
    EXPECT_EQ(textOf(s, "Text4"), "ANA LOPEZ");

    // A catalogue article: its units leave the stock as the line is added.
    enterCode(s, "a1");
    EXPECT_EQ(textOf(s, "TxtArticulo"), "FILTRO");
    EXPECT_TRUE(control<QLabel>(s, "LabelDesdeAlmacen")->isVisible());
    setText(s, "TxtUnidades", "2");
    click(s, "KewlButtons5");

    // An unknown code, not created: a free line.
    dialogs.answerNo();
    enterCode(s, "TORN");
    EXPECT_EQ(
        dialogs.lastText(),
        "No existe ningún articulo en la base de datos con este código. ¿Desea crearlo ahora?");
    setText(s, "TxtArticulo", "TORNILLO");
    setText(s, "TxtUnidades", "3");
    setText(s, "TxtPrecUnidad", "1,5");
    click(s, "KewlButtons5");

    // Double-click loads the first line; storing it again edits that line.
    auto* grid = control<LineTable>(s, "MSHSalidas");
    doubleClickRow(grid, 0);
    EXPECT_EQ(textOf(s, "TxtUnidades"), "2");
    setText(s, "TxtUnidades", "5");
    click(s, "KewlButtons5");
    EXPECT_EQ(stockOf(db(), art), 0);

    // Supr hides the free line; it goes when the note is saved.
    pressDelete(grid, 1, 1);
    EXPECT_EQ(textOf(s, "TxtTotal"), "62,50");
    click(s, "CmdGuardar");
    settle();
    EXPECT_EQ(openWindow("VentaRecambios"), nullptr);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Salidas"), 1);
}

TEST_F(SalesScreens, ListRefusalsThenReopenAndInvoice) {
    const QString lone = addSavedNote(home.session(), bea, "10");
    const QString invoiced = addSavedNote(home.session(), ana, "10");
    sales::invoiceNote(db(), invoiced, "FV08/03/00001", QDate(2008, 3, 5), false);
    auto list = openList();
    const std::tuple<QString, const char*, const char*> cases[] = {
        {lone, "CmdFacturasPendientes",
         "Este cliente no tiene mas de una factura pendiente de facturar"},
        {lone, "CmdImprimir", "Para poder imprimir la factura debe facturar primero"},
        {lone, "CmdEliminarFact", "La venta seleccionada no tiene factura"},
        {invoiced, "CmdEditar", "No se puede editar una venta ya facturada"},
    };
    for (const auto& [note, command, message] : cases) {
        selectNote(list.get(), note);
        click(list.get(), command);
        EXPECT_EQ(dialogs.lastText(), QString::fromUtf8(message)) << command;
    }
    EXPECT_TRUE(services.output.jobs().empty());
    // A typed number already in use is refused on leaving and the proposal comes back.
    setText(list.get(), "txtProxFact", "FV08/03/00001");
    QTest::keyClick(control<QLineEdit>(list.get(), "txtProxFact"), Qt::Key_Return);
    EXPECT_EQ(textOf(list.get(), "txtProxFact"), "FV08/03/00002");

    // Reopened from the list and invoiced there, paid.
    selectNote(list.get(), lone);
    click(list.get(), "CmdEditar");
    settle();
    VentaRecambios* s = sale->data();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(textOf(s, "TxtImporte"), "11,60");
    dialogs.answerYes();
    click(s, "CmdFacturar");
    settle();
    EXPECT_EQ(invoiceOf(db(), lone), "FV08/03/00002");
    EXPECT_EQ(db().scalar("SELECT Pagado FROM Facturas WHERE Id_Fac = 'FV08/03/00002'").toDouble(),
              11.6);
    EXPECT_EQ(lastJob(), "qarvofacventa.rpt");
}

TEST_F(SalesScreens, PendingNotesAllThenChosenOnes) {
    const QString n1 = addSavedNote(home.session(), ana, "10");
    const QString n2 = addSavedNote(home.session(), ana, "20");
    const QString n3 = addSavedNote(home.session(), ana, "30");
    auto list = openList();
    selectNote(list.get(), n2);
    dialogs.answerYes();  // "Todas"
    dialogs.answerNo();   // not paid
    click(list.get(), "CmdFacturasPendientes");
    for (const QString& n : {n1, n2, n3}) EXPECT_EQ(invoiceOf(db(), n), "FV08/03/00001");
    EXPECT_EQ(lastJob(), "qarvofacventa2.rpt");
    EXPECT_EQ(textOf(list.get(), "txtProxFact"), "FV08/03/00002");

    // Removing the invoice frees the three notes.
    selectNote(list.get(), n3);
    click(list.get(), "CmdEliminarFact");
    EXPECT_EQ(invoiceOf(db(), n1), "No");

    // "Seleccionar": two of the three, in the picker.
    const QString next = textOf(list.get(), "txtProxFact");
    selectNote(list.get(), n1);
    dialogs.answerNo();
    click(list.get(), "CmdFacturasPendientes");
    auto* uni = qobject_cast<UnifacturaV*>(openWindow("UnifacturaV"));
    ASSERT_NE(uni, nullptr);
    auto* grid = control<DataGrid>(uni, "MshOdts");
    clickRow(grid, 0);
    clickRow(grid, 2);
    EXPECT_EQ(uni->chosen(), (QStringList{n1, n3}));
    dialogs.answerYes();
    click(uni, "CmdFacturar");
    EXPECT_EQ(dialogs.lastText(), "¿Marcar como pagada?");
    EXPECT_EQ(invoiceOf(db(), n2), "No");
    EXPECT_EQ(invoiceOf(db(), n3), next);
    EXPECT_EQ(db().scalar("SELECT Pagado FROM Facturas").toDouble(), 46.4);
}

}  // namespace
