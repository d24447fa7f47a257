#include "app/screen_wiring.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include "app/main_window.h"
#include "reports/report_fixture.h"
#include "support/screen_helpers.h"
#include "support/temp_home.h"
#include "support/test_services.h"

using torvane::Menu;
using torvane::testing::openWindow;
using torvane::testing::settle;
using torvane::testing::TempHome;
using torvane::testing::TestServices;

namespace {

// The main window with every existing screen wired, as main builds it.
struct WiredMenu {
    TempHome home;
    TestServices services;
    Menu menu{home.session(), services};
    WiredMenu() { torvane::wireScreens(menu, home.session(), services); }
    // Triggers a menu item and returns the screen it opened.
    QWidget* open(const char* item, const char* screen) {
        menu.show();
        menu.item(item)->trigger();
        QApplication::processEvents();
        return openWindow(screen);
    }
};

// Every wired item opens its screen, which holds the main window until it closes; the items
// that run a command or a listing are enabled too.
TEST(ScreenWiring, ToolbarOpensScreensWithTheMainWindowAsCaller) {
    WiredMenu w;
    for (const char* item :
         {"mVehiculo", "mVehCli", "mClientesSimple", "mVehTodos", "mVehMarca", "mArticulosPrecios",
          "btnCobros", "btnFacturasLibres", "btnLFacLibres", "btnListOdt", "btnRecibos",
          "btnListaRecibos", "btnFacturasComisiones", "btnLFComisiones", "mGruasporcompañia"})
        EXPECT_TRUE(w.menu.item(item)->isEnabled()) << item;
    const char* cases[][2] = {{"btnClientes", "Clientes"},
                              {"btnOrdTrabajo", "BusquedaVehiculos"},
                              {"mConfFact", "ConfigInf"},
                              {"btnOperarios", "Operarios"},
                              {"mDepartamentos", "Departamentos"},
                              {"btnProveedores", "Proveedores"},
                              {"mPorproveedor", "BusquedaProveedores"},
                              {"btnAseguradoras", "frmAseguradoras"},
                              {"btnArticulos", "Articulos"},
                              {"btnFamilias", "Familias"},
                              {"btnAlmacen", "Almacen"},
                              {"btnLVRecambios", "LVRecambios"},
                              {"btnCompras", "BusquedaProveedores"},
                              {"btnLCompras", "ListCompras"},
                              {"btnNuevoParte", "PartesGrua"},
                              {"mEtiquetas", "Etiquetas"},
                              {"btnGestorPartes", "GestorPartes"}};
    for (const auto& c : cases) {
        QWidget* screen = w.open(c[0], c[1]);
        ASSERT_NE(screen, nullptr) << c[1];
        EXPECT_FALSE(w.menu.isEnabled()) << c[1];
        screen->close();
        QApplication::processEvents();
        settle();
        EXPECT_TRUE(w.menu.isEnabled()) << c[1];
    }
}

// "Listados > Vehículos > ITV del mes" asks the month, offering the next one, and previews.
// What the listing and the labels hold is the ITV printing's own test.
TEST(ScreenWiring, ItvListingAndLabelsAskTheMonthAndPreview) {
    WiredMenu w;
    torvane::testing::fillReportFixture(w.home.db());
    w.home.session().setToday(QDate(2009, 1, 31));
    // The fixture's Clio is due on 01/02/2009: next month from 31/01.
    for (const char* item : {"mVehITVListado", "mVehITVEtiquetas"}) {
        w.services.scripted.answerInput(QStringLiteral("02/2009"));
        w.menu.item(item)->trigger();
    }
    ASSERT_EQ(w.services.output.jobs().size(), 2u);
    EXPECT_EQ(w.services.scripted.entries().front().extra, "02/2009");
    EXPECT_TRUE(w.services.output.jobs()[0].report.toText().contains("M-1234-XY"));
    EXPECT_TRUE(w.services.output.jobs()[1].report.toText().contains("08001   BARCELONA"));
}

// "Nuevo Parte" replaces the proposed number with the probe loop's.
TEST(ScreenWiring, NewTowReportTakesTheProbedNumber) {
    WiredMenu w;
    w.home.session().setToday(QDate(2024, 3, 20));
    w.home.db().insert("INSERT INTO Partes (NParte, NFactura) VALUES ('PG03/00007', 'No')");
    w.home.db().insert("INSERT INTO Partes (NParte, NFactura) VALUES ('PG03/0001', 'No')");
    QWidget* screen = w.open("btnNuevoParte", "PartesGrua");
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->findChild<QLineEdit*>("Text1_0")->text(), "PG03/0003");
    screen->close();
    settle();
}

// The article search hands its choice to the article file the toolbar opened.
TEST(ScreenWiring, ArticleSearchReachesTheArticleFileOfTheToolbar) {
    WiredMenu w;
    w.home.db().exec(
        QStringLiteral("INSERT INTO Articulos (Codigo, Nombre) VALUES ('A1', 'FILTRO'), "
                       "('B2', 'BUJIA')"));
    QWidget* file = w.open("btnArticulos", "Articulos");
    ASSERT_NE(file, nullptr);
    auto* code = file->findChild<QLineEdit*>(QStringLiteral("TxtCodigo"));
    EXPECT_EQ(code->text(), QStringLiteral("A1"));
    file->findChild<QPushButton*>(QStringLiteral("CmdBuscarArt"))->click();
    QWidget* search = openWindow("BusquedaArticulos");
    ASSERT_NE(search, nullptr);
    search->findChild<QLineEdit*>(QStringLiteral("txtBusqueda"))->setText(QStringLiteral("B"));
    search->findChild<QPushButton*>(QStringLiteral("CmdAcciones"))->click();
    QApplication::processEvents();
    EXPECT_EQ(code->text(), QStringLiteral("B2"));
    file->close();
    settle();
}

}  // namespace

// "V. Recambios": the customer chosen in the search starts a counter sale, which
// takes the article chosen in the article search.
TEST(ScreenWiring, CounterSaleFromTheToolbar) {
    WiredMenu w;
    w.home.db().exec(QStringLiteral("INSERT INTO Clientes (Codigo, Nombre) VALUES ('C1', 'ANA')"));
    w.home.db().exec(
        QStringLiteral("INSERT INTO Articulos (Codigo, Nombre, StockInicial, PrecioVenta) VALUES "
                       "('B2', 'BUJIA', 4, 3)"));
    QWidget* customers = w.open("btnVRecambios", "BusquedaClientes");
    ASSERT_NE(customers, nullptr);
    customers->findChild<QPushButton*>(QStringLiteral("CmdAcciones_1"))->click();
    QApplication::processEvents();
    QWidget* sale = openWindow("VentaRecambios");
    ASSERT_NE(sale, nullptr);
    EXPECT_FALSE(w.menu.isEnabled());
    EXPECT_EQ(sale->findChild<QLineEdit*>(QStringLiteral("Text4"))->text(), QStringLiteral("ANA"));
    sale->findChild<QPushButton*>(QStringLiteral("CmdBuscarCli"))->click();
    QWidget* articles = openWindow("BusquedaArticulos");
    ASSERT_NE(articles, nullptr);
    articles->findChild<QPushButton*>(QStringLiteral("CmdAcciones"))->click();
    settle();
    EXPECT_EQ(sale->findChild<QLineEdit*>(QStringLiteral("TxtArticulo"))->text(),
              QStringLiteral("BUJIA"));
    sale->findChild<QPushButton*>(QStringLiteral("KewlButtons5"))->click();
    EXPECT_EQ(w.home.db().scalar(QStringLiteral("SELECT StockInicial FROM Articulos")).toInt(), 3);
    sale->findChild<QPushButton*>(QStringLiteral("CmdGuardar"))->click();
    settle();
    EXPECT_EQ(w.home.db().scalar(QStringLiteral("SELECT Id_Alb FROM Albaranes")).toString(),
              QStringLiteral("AR") + w.home.session().today().toString(QStringLiteral("yy/MM/")) +
                  QStringLiteral("00001"));
    EXPECT_TRUE(w.menu.isEnabled());
}
