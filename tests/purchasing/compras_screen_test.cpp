#include "controls/data_grid.h"
#include "controls/keyboard_classes.h"
#include "masters/screen_fixture.h"
#include "purchases_fixture.h"
#include "purchasing/compras.h"
#include "purchasing/list_compras.h"
#include "purchasing/purchase_handoffs.h"
#include "purchasing/purchases.h"

using namespace torvane;
using namespace torvane::testing;
using Icon = Dialogs::Icon;
namespace p = torvane::purchases;

namespace {

class ComprasScreen : public ScreenTest {
  protected:
    void SetUp() override {
        home.session().setToday(QDate(2008, 3, 5));
        supplier = addSupplier(db(), "0001", "RECAMBIOS NORTE");
        registerPurchaseHandoffs(home.session(), services);
    }

    qint64 supplier = 0;
};

// How a line is stored and rewrites its article is the Purchases tests'; here the screen
// fills its lines and hands over the visible ones, the header and the work orders.
TEST_F(ComprasScreen, APurchaseWithKnownNewAndWorkOrderLinesIsStoredWhole) {
    const qint64 filtro = addArticle(db(), "F1", "FILTRO", 2, 10, 3);
    const qint64 bujia = addArticle(db(), "B1", "BUJIA", 4, 3);
    addArticle(db(), "Z0", "AGOTADO", 0);
    addEntry(db(), "EN08/03/00001", "OLD", "2008-03-02", supplier, bujia);
    addWorkOrder(db(), "ODT/00007");
    // Opened as the supplier search opens it.
    services.handoffs().supplierOrigins.dispatch({nullptr, "Compras", supplier, {}});
    QWidget* s = openWindow("Compras");
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(QTest::qWaitForWindowActive(s));
    EXPECT_EQ(textOf(s, "Text4"), "RECAMBIOS NORTE");
    EXPECT_EQ(control<QLineEdit>(s, "MaskEd")->text(), "05/03/2008");
    EXPECT_EQ(textOf(s, "TxtEntrada"), "EN08/03/00002");
    type(s, "TxtNAlbaran", "alb-9");

    type(s, "TxtCodArt", "z0");
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].text, p::kNoStock);
    EXPECT_EQ(dialogs.messages()[0].icon, Icon::Information);
    // A known code brings its description, price and stock.
    setText(s, "TxtCodArt", "");
    type(s, "TxtCodArt", "f1");
    EXPECT_EQ(textOf(s, "TxtArticulo"), "FILTRO");
    EXPECT_EQ(textOf(s, "TxtPrecUnidad"), "10");
    setText(s, "TxtUnidades", "5");
    setText(s, "TxtPrecUnidad", "110.65");
    setText(s, "TxtDescArt", "10");
    click(s, "KewlButtons5");
    auto* lines = control<LineTable>(s, "MSHEntradas");
    QStringList cells;
    for (int c = 0; c < lines->model()->columnCount(); ++c) cells << cellText(lines, 0, c);
    EXPECT_EQ(cells, (QStringList{"1", "F1", "FILTRO", "5", "110,65", "10", "497,93", ""}));

    // The work order chosen in the picker, and the article chosen in the search, go with the
    // next line.
    click(s, "CmdBuscarODT");
    QWidget* picker = openWindow("BusquedaODTS");
    ASSERT_NE(picker, nullptr);
    EXPECT_FALSE(s->isEnabled());
    clickRow(control<DataGrid>(picker, "MSHFlexGrid1"), 0);
    click(picker, "CmdSeleccionar");
    settle();
    EXPECT_TRUE(s->isEnabled());
    click(s, "CmdBuscarCli");
    QWidget* search = openWindow("BusquedaArticulos");
    ASSERT_NE(search, nullptr);
    ASSERT_TRUE(control<DataGrid>(search, "MSHFlexGrid1")->selectWhere("Id_Art", bujia));
    click(search, "CmdAcciones");
    settle();
    EXPECT_EQ(textOf(s, "TxtArticulo"), "BUJIA");
    setText(s, "TxtUnidades", "2");
    click(s, "KewlButtons5");
    EXPECT_EQ(cellText(lines, 1, 7), "ODT/00007");

    // An unknown code: created on the spot, then bought.
    type(s, "TxtCodArt", "nuevo");
    dialogs.answerYes();
    // Left as Tab would, in the active window.
    s->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(s));
    control<QLineEdit>(s, "TxtCodArt")->setFocus();
    focusNextField(control<QLineEdit>(s, "TxtCodArt"));
    EXPECT_EQ(dialogs.lastText(), p::kUnknownArticle);
    QWidget* alta = openWindow("AltaArticulos");
    ASSERT_NE(alta, nullptr);
    EXPECT_EQ(textOf(alta, "TxtCodigo"), "NUEVO");
    type(alta, "txtDescripcion", "escobilla");
    type(alta, "txtStockA", "0");
    type(alta, "txtPrecioVenta", "4,5");
    type(alta, "TxtDescuento", "5");
    click(alta, "CmdGuardar");
    settle();
    EXPECT_EQ(textOf(s, "TxtArticulo"), "ESCOBILLA");
    setText(s, "TxtUnidades", "3");
    click(s, "KewlButtons5");
    const qint64 nuevo =
        db().scalar("SELECT Id_Art FROM Articulos WHERE Codigo = 'NUEVO'").toLongLong();
    EXPECT_EQ(textOf(s, "TxtTotal"), "516,76");  // 497,93 + 6,00 + 12,83

    // A number in use is refused and keeps the screen; closing with Yes then saves.
    setText(s, "TxtEntrada", "EN08/03/00001");
    click(s, "CmdGuardar");
    settle();
    EXPECT_EQ(dialogs.lastText(), p::kEntryInUse);
    ASSERT_NE(openWindow("Compras"), nullptr);
    setText(s, "TxtEntrada", "EN08/03/00002");
    const size_t messages = dialogs.messages().size();
    dialogs.answerYes();
    s->close();
    settle();
    EXPECT_EQ(dialogs.messages().size(), messages) << dialogs.lastText().toStdString();
    EXPECT_EQ(openWindow("Compras"), nullptr);
    EXPECT_EQ(db().scalar("SELECT group_concat(Id_Art) FROM Entradas WHERE NAlbaran = 'ALB-9'")
                  .toString(),
              QString("%1,%2,%3").arg(filtro).arg(bujia).arg(nuevo));
    EXPECT_EQ(count("SELECT count(*) FROM MaterialesODT WHERE NODT = 'ODT/00007'"), 2);
}

TEST_F(ComprasScreen, TheListSearchesAndDeletesWithoutAQuestion) {
    const qint64 sur = addSupplier(db(), "0002", "SUR");
    const qint64 a = addArticle(db(), "F1", "FILTRO", 4);
    addEntry(db(), "EN08/03/00001", "CD-2", "2008-03-05", sur, a);
    addEntry(db(), "EN08/03/00002", "AB-3", "2008-03-06", supplier, a);
    auto s = open<ListCompras>();
    auto* grid = control<DataGrid>(s.get(), "MSHCompras");
    const auto shown = [&] {
        QStringList out;
        for (int r = 0; r < grid->rowCount(); ++r) out << grid->displayText(r, "NEntrada");
        return out;
    };
    EXPECT_EQ(shown(), (QStringList{"EN08/03/00002", "EN08/03/00001"}));
    // The matching is the Purchases list tests'; here an option reaches its query.
    click(s.get(), "Option1_3");
    type(s.get(), "TxtBusqueda", "sur");
    EXPECT_EQ(shown(), QStringList{"EN08/03/00001"});

    // Supr and the button delete without a question (the stock left: the Purchases list test).
    clickRow(grid, 0);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_FALSE(enabled(s.get(), "CmdEliminar"));
    control<QLineEdit>(s.get(), "TxtBusqueda")->clear();
    click(s.get(), "CmdEliminar");
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_TRUE(dialogs.entries().empty());
    EXPECT_EQ(count("SELECT count(*) FROM Entradas"), 0);
}

}  // namespace
