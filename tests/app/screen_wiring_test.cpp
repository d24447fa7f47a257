#include "app/screen_wiring.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include "app/main_window.h"
#include "support/scripted_dialogs.h"
#include "support/temp_home.h"
#include "support/test_services.h"

using torvane::Menu;
using torvane::testing::ScriptedDialogs;
using torvane::testing::TempHome;
using torvane::testing::TestServices;

namespace {

QWidget* topLevel(const char* objectName) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(objectName) && w->isVisible()) return w;
    return nullptr;
}

// Which items a user can use once the existing screens are wired.
TEST(ScreenWiring, ItemsOfExistingScreensAreEnabledOthersWait) {
    TempHome home;
    TestServices services;
    Menu menu(home.session(), services);
    torvane::wireScreens(menu, home.session(), services);
    struct Case {
        const char* item;
        bool enabled;
    };
    const Case cases[] = {
        {"btnClientes", true},
        {"btnOrdTrabajo", true},
        {"mVehiculo", true},
        {"mConfFact", true},
        {"mVehCli", true},
        {"mClientesSimple", true},
        {"mVehTodos", true},
        {"mVehMarca", true},
        {"mArticulosPrecios", true},
        {"btnArticulos", true},
        {"btnFamilias", true},
        {"btnAlmacen", true},
        {"btnCobros", true},
        {"btnFacturasLibres", true},
        {"btnLFacLibres", true},
        {"btnListOdt", true},
        {"btnVRecambios", true},
        {"btnLVRecambios", true},
        {"btnRecibos", true},
        {"btnListaRecibos", true},
        {"btnFacturasComisiones", true},
        {"btnLFComisiones", true},
        {"btnNuevoParte", true},
        {"btnGestorPartes", true},
        {"mReparacionescliente", true},
        {"mRecambiosdecliente", true},
        {"mH3000", true},
        {"mBenef", true},
        {"btnProveedores", true},
        {"btnOperarios", true},
        {"btnAseguradoras", true},
        {"mDepartamentos", true},
        {"mPorproveedor", true},
        {"btnCompras", true},
        {"btnLCompras", true},
        {"mGruasporcompañia", true},
    };
    for (const auto& c : cases) {
        QAction* a = menu.item(c.item);
        ASSERT_NE(a, nullptr) << c.item;
        EXPECT_EQ(a->isEnabled(), c.enabled) << c.item;
    }
}

TEST(ScreenWiring, ToolbarOpensScreensWithTheMainWindowAsCaller) {
    TempHome home;
    TestServices services;
    Menu menu(home.session(), services);
    torvane::wireScreens(menu, home.session(), services);
    menu.show();
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
                              {"btnGestorPartes", "GestorPartes"}};
    for (const auto& c : cases) {
        menu.item(c[0])->trigger();
        QApplication::processEvents();
        QWidget* screen = topLevel(c[1]);
        ASSERT_NE(screen, nullptr) << c[1];
        EXPECT_FALSE(menu.isEnabled()) << c[1];
        screen->close();
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(menu.isEnabled()) << c[1];
    }
}

// "Nuevo Parte" replaces the proposed number with the probe loop's.
TEST(ScreenWiring, NewTowReportTakesTheProbedNumber) {
    TempHome home;
    home.session().setToday(QDate(2024, 3, 20));
    home.db().insert("INSERT INTO Partes (NParte, NFactura) VALUES ('PG03/00007', 'No')");
    home.db().insert("INSERT INTO Partes (NParte, NFactura) VALUES ('PG03/0001', 'No')");
    TestServices services;
    Menu menu(home.session(), services);
    torvane::wireScreens(menu, home.session(), services);
    menu.show();
    menu.item("btnNuevoParte")->trigger();
    QApplication::processEvents();
    QWidget* screen = topLevel("PartesGrua");
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->findChild<QLineEdit*>("Text1_0")->text(), "PG03/0003");
    screen->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The article search hands its choice to the article file the toolbar opened.
TEST(ScreenWiring, ArticleSearchReachesTheArticleFileOfTheToolbar) {
    TempHome home;
    TestServices services;
    home.db().exec(
        QStringLiteral("INSERT INTO Articulos (Codigo, Nombre) VALUES ('A1', 'FILTRO'), "
                       "('B2', 'BUJIA')"));
    Menu menu(home.session(), services);
    torvane::wireScreens(menu, home.session(), services);
    menu.show();
    menu.item("btnArticulos")->trigger();
    QApplication::processEvents();
    QWidget* file = topLevel("Articulos");
    ASSERT_NE(file, nullptr);
    auto* code = file->findChild<QLineEdit*>(QStringLiteral("TxtCodigo"));
    EXPECT_EQ(code->text(), QStringLiteral("A1"));
    file->findChild<QPushButton*>(QStringLiteral("CmdBuscarArt"))->click();
    QWidget* search = topLevel("BusquedaArticulos");
    ASSERT_NE(search, nullptr);
    search->findChild<QLineEdit*>(QStringLiteral("txtBusqueda"))->setText(QStringLiteral("B"));
    search->findChild<QPushButton*>(QStringLiteral("CmdAcciones"))->click();
    QApplication::processEvents();
    EXPECT_EQ(code->text(), QStringLiteral("B2"));
    file->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

// "V. Recambios": the customer chosen in the search starts a counter sale, which
// takes the article chosen in the article search.
TEST(ScreenWiring, CounterSaleFromTheToolbar) {
    TempHome home;
    TestServices services;
    home.db().exec(QStringLiteral("INSERT INTO Clientes (Codigo, Nombre) VALUES ('C1', 'ANA')"));
    home.db().exec(
        QStringLiteral("INSERT INTO Articulos (Codigo, Nombre, StockInicial, PrecioVenta) VALUES "
                       "('B2', 'BUJIA', 4, 3)"));
    Menu menu(home.session(), services);
    torvane::wireScreens(menu, home.session(), services);
    menu.show();
    menu.item("btnVRecambios")->trigger();
    QApplication::processEvents();
    QWidget* customers = topLevel("BusquedaClientes");
    ASSERT_NE(customers, nullptr);
    customers->findChild<QPushButton*>(QStringLiteral("CmdAcciones_1"))->click();
    QApplication::processEvents();
    QWidget* sale = topLevel("VentaRecambios");
    ASSERT_NE(sale, nullptr);
    EXPECT_FALSE(menu.isEnabled());
    EXPECT_EQ(sale->findChild<QLineEdit*>(QStringLiteral("Text4"))->text(), QStringLiteral("ANA"));
    sale->findChild<QPushButton*>(QStringLiteral("CmdBuscarCli"))->click();
    QWidget* articles = topLevel("BusquedaArticulos");
    ASSERT_NE(articles, nullptr);
    articles->findChild<QPushButton*>(QStringLiteral("CmdAcciones"))->click();
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(sale->findChild<QLineEdit*>(QStringLiteral("TxtArticulo"))->text(),
              QStringLiteral("BUJIA"));
    sale->findChild<QPushButton*>(QStringLiteral("KewlButtons5"))->click();
    EXPECT_EQ(home.db().scalar(QStringLiteral("SELECT StockInicial FROM Articulos")).toInt(), 3);
    sale->findChild<QPushButton*>(QStringLiteral("CmdGuardar"))->click();
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(home.db().scalar(QStringLiteral("SELECT Id_Alb FROM Albaranes")).toString(),
              QStringLiteral("AR") + home.session().today().toString(QStringLiteral("yy/MM/")) +
                  QStringLiteral("00001"));
    EXPECT_TRUE(menu.isEnabled());
}
