#include "purchasing/list_compras.h"

#include "controls/data_grid.h"
#include "masters/screen_fixture.h"
#include "purchases_fixture.h"

using namespace torvane;
using namespace torvane::testing;

namespace {

class ListComprasScreen : public ScreenTest {
  protected:
    void SetUp() override {
        const qint64 norte = addSupplier(db(), "0001", "NORTE");
        const qint64 sur = addSupplier(db(), "0002", "SUR");
        const qint64 filtro = addArticle(db(), "F1", "FILTRO", 4);
        const qint64 bujia = addArticle(db(), "B1", "BUJIA", 6);
        addEntry(db(), "EN08/02/00001", "AB-1", "2008-02-10", norte, filtro, 2, 10);
        addEntry(db(), "EN08/03/00001", "CD-2", "2008-03-05", sur, bujia, 2, 110.65, 10);
        addEntry(db(), "EN08/03/00002", "AB-3", "2008-03-06", norte, filtro, 1, 8);
    }
    QStringList shown(QWidget* s) {
        auto* grid = control<DataGrid>(s, "MSHCompras");
        QStringList out;
        for (int r = 0; r < grid->rowCount(); ++r) out << grid->displayText(r, "NEntrada");
        return out;
    }
};

TEST_F(ListComprasScreen, ListsSearchesEachWayAndDeletesWithoutAQuestion) {
    auto s = open<ListCompras>();
    EXPECT_EQ(shown(s.get()), (QStringList{"EN08/03/00002", "EN08/03/00001", "EN08/02/00001"}));
    auto* grid = control<DataGrid>(s.get(), "MSHCompras");
    EXPECT_EQ(grid->displayText(1, "Prec F"), "99,59");
    EXPECT_EQ(grid->displayText(1, "Proveedor"), "SUR");
    EXPECT_EQ(grid->displayText(1, "Articulo"), "BUJIA");
    EXPECT_EQ(grid->displayText(1, "Fecha"), "05/03/2008");
    screenshot(s.get(), "ListCompras");
    EXPECT_TRUE(enabled(s.get(), "CmdEliminar"));
    struct Case {
        int option;
        const char* typed;
        QStringList entries;
    };
    // The matching is the Purchases list tests'; here each option reaches its query.
    const Case cases[] = {
        {0, "ab", {"EN08/03/00002", "EN08/02/00001"}},
        {1, "en08/03", {"EN08/03/00002", "EN08/03/00001"}},
        {2, "fil", {"EN08/03/00002", "EN08/02/00001"}},
        {3, "sur", {"EN08/03/00001"}},
        {4, "10/02", {"EN08/02/00001"}},
        {4, "2008", {}},
    };
    for (const Case& c : cases) {
        click(s.get(), QStringLiteral("Option1_%1").arg(c.option));
        control<QLineEdit>(s.get(), "TxtBusqueda")->clear();
        type(s.get(), "TxtBusqueda", c.typed);
        EXPECT_EQ(shown(s.get()), c.entries) << c.option << " " << c.typed;
        EXPECT_EQ(enabled(s.get(), "CmdEliminar"), !c.entries.isEmpty()) << c.typed;
    }

    // Deleting (the stock it leaves is the Purchases list tests') asks nothing.
    click(s.get(), "Option1_0");
    control<QLineEdit>(s.get(), "TxtBusqueda")->clear();
    clickRow(grid, 2);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(shown(s.get()), (QStringList{"EN08/03/00002", "EN08/03/00001"}));
    click(s.get(), "CmdEliminar");
    click(s.get(), "CmdEliminar");
    EXPECT_TRUE(shown(s.get()).isEmpty());
    EXPECT_FALSE(enabled(s.get(), "CmdEliminar"));
    EXPECT_TRUE(dialogs.entries().empty());
    EXPECT_EQ(count("SELECT count(*) FROM Entradas"), 0);
}

}  // namespace
