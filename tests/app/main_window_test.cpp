// The main window: its items, what they open once the screens are wired, and the numbering
// screen it opens.
#include "app/main_window.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <cerrno>

#include "app/config_inf.h"
#include "app/screen_wiring.h"
#include "controls/screen.h"
#include "core/numbering.h"
#include "core/session.h"
#include "support/recording_launcher.h"
#include "support/screen_helpers.h"
#include "support/scripted_dialogs.h"
#include "support/temp_home.h"
#include "support/test_services.h"

using namespace torvane;
using namespace torvane::testing;

namespace {

// The main window as main builds it; with `wired`, every existing screen wired to it.
struct Fixture {
    TempHome home;
    TestServices services;
    ScriptedDialogs& dialogs = services.scripted;
    int quits = 0;
    Menu menu{home.session(), services};
    explicit Fixture(bool wired = false) {
        menu.setQuitHandler([this] { ++quits; });
        if (wired) wireScreens(menu, home.session(), services);
    }
    void trigger(const char* name) {
        QAction* a = menu.item(QString::fromUtf8(name));
        ASSERT_TRUE(a) << name;
        a->trigger();
    }
    // Triggers a menu item and returns the screen it opened.
    QWidget* open(const char* item, const char* screen) {
        menu.show();
        menu.item(item)->trigger();
        QApplication::processEvents();
        return openWindow(screen);
    }
};

TEST(MenuWindow, ItemsWithoutActionStayEnabledAndChangeNothing) {
    Fixture f;
    QSignalSpy opens(&f.menu, &Menu::openDatabaseRequested);
    for (const char* name : {"mRestaurarCopia", "btnVentaVehiculos"}) {
        EXPECT_TRUE(f.menu.item(QString::fromUtf8(name))->isEnabled()) << name;
        f.trigger(name);
    }
    EXPECT_TRUE(f.dialogs.entries().empty());
    EXPECT_EQ(opens.count(), 0);
    EXPECT_TRUE(f.menu.isEnabled());

    // New and open, from the menu and the toolbar, request the same operations.
    QSignalSpy created(&f.menu, &Menu::newDatabaseRequested);
    for (const char* name : {"mNuevo", "btnNuevo", "mAbrir", "btnAbrir"}) f.trigger(name);
    EXPECT_EQ(created.count(), 2);
    EXPECT_EQ(opens.count(), 2);

    // An action registered for one item replaces the table's for that item alone.
    int runs = 0;
    f.menu.registerAction(QStringLiteral("btnNuevoParte"), [&] { ++runs; });
    EXPECT_TRUE(f.menu.item(QStringLiteral("btnNuevoParte"))->isEnabled());
    EXPECT_FALSE(f.menu.item(QStringLiteral("btnGestorPartes"))->isEnabled());
    f.trigger("btnNuevoParte");
    EXPECT_EQ(runs, 1);
}

TEST(MenuWindow, RegisteredScreensAndCommandsGetTheItemsDeclaredOrigin) {
    Fixture f;
    f.menu.show();
    std::vector<MenuRequest> requests;
    QPointer<QWidget> opened;
    f.menu.registerScreen(QStringLiteral("BusquedaClientes"), [&](const MenuRequest& r) {
        requests.push_back(r);
        opened = new QWidget;
        return opened.data();
    });
    f.trigger("btnRecibos");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].action, QStringLiteral("btnRecibos"));
    EXPECT_EQ(requests[0].origin, QStringLiteral("Recibos"));
    ASSERT_TRUE(opened);
    EXPECT_TRUE(opened->isVisible());
    EXPECT_FALSE(f.menu.isEnabled());
    opened->close();

    // Listings and the prompt that makes a selection formula run registered commands.
    std::vector<MenuRequest> listed;
    std::vector<MenuRequest> printed;
    f.menu.registerCommand(QStringLiteral("VerListado"),
                           [&](const MenuRequest& r) { listed.push_back(r); });
    f.menu.registerCommand(QStringLiteral("ImprimirInformeSimple"),
                           [&](const MenuRequest& r) { printed.push_back(r); });
    f.trigger("mVehTodos");
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].origin, QStringLiteral("\\QARVOVEHICULOS.rpt"));
    EXPECT_EQ(listed[0].detail, QStringLiteral("3"));

    f.dialogs.answerInput(QStringLiteral("SEAT"));
    f.dialogs.answerInput(QString());
    f.dialogs.answerInput(std::nullopt);
    for (int i = 0; i < 3; ++i) f.trigger("mVehMarca");
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0].origin, QStringLiteral("{Vehiculos.Marca}='SEAT'"));
    EXPECT_EQ(printed[0].detail, QStringLiteral("\\QARVOVEHICULOS.rpt"));
    EXPECT_EQ(f.dialogs.entries()[0].text, QStringLiteral("Introduce Marca:"));
}

// Each failure's number and text, and the database kept, are the compaction tests'; here how
// the menu shows the outcome.
TEST(MenuWindow, CompactionSuccessAndFailureMessages) {
    Fixture f;
    CompactionOptions options;
    options.clock = [] { return QTime(9, 1, 2); };
    f.menu.setCompactionOptions(options);
    f.trigger("mCompactar");
    ASSERT_EQ(f.dialogs.entries().size(), 1u);
    EXPECT_EQ(f.dialogs.entries()[0].text, QStringLiteral(" Base de datos compactada."));

    // A temporary of this second that cannot be deleted stops the compaction.
    f.dialogs.clear();
    ASSERT_TRUE(QDir().mkpath(f.home.file(QStringLiteral("DBT_0102.mdb/x"))));
    f.trigger("mCompactar");
    const auto& e = f.dialogs.entries();
    ASSERT_EQ(e.size(), 2u);
    EXPECT_TRUE(e[0].text.startsWith(
        QStringLiteral("Error al compactar la base de datos:\n%1 No se puede borrar").arg(EISDIR)))
        << e[0].text.toStdString();
    EXPECT_EQ(e[1].text, QStringLiteral(" *** Error al compactar la base de datos ***"));
    EXPECT_FALSE(QApplication::overrideCursor());
}

// The backup from its item; then leaving, which offers one and ends whatever the answer.
TEST(MenuWindow, BackupAndExit) {
    QTemporaryDir other;
    Fixture f;
    const QString target = QDir(other.path()).filePath(QStringLiteral("copia.erm"));
    f.dialogs.answerFile(target);
    f.trigger("mCopiaSeguridad");
    ASSERT_EQ(f.dialogs.entries().size(), 2u);
    EXPECT_EQ(f.dialogs.entries()[0].title, QStringLiteral("Abrir base de datos"));
    EXPECT_EQ(f.dialogs.entries()[0].extra, QStringLiteral("Archivos Torvane (*.erm)|*.erm"));
    EXPECT_EQ(f.dialogs.entries()[1].text,
              QStringLiteral("Copia de seguridad realizada con éxito"));
    EXPECT_EQ(f.dialogs.entries()[1].icon, Dialogs::Icon::Information);
    EXPECT_TRUE(QFileInfo(target).size() > 0);

    f.dialogs.clear();
    f.dialogs.answerFile(QDir(other.path()).filePath(QStringLiteral("falta/copia.erm")));
    f.trigger("mCopiaSeguridad");
    ASSERT_EQ(f.dialogs.messages().size(), 1u);
    EXPECT_EQ(f.dialogs.messages()[0].icon, Dialogs::Icon::Exclamation);
    EXPECT_TRUE(f.dialogs.lastText().startsWith(
        QStringLiteral("No se ha podido hacer la copia de seguridad.\nNo existe la carpeta")));
    EXPECT_FALSE(QApplication::overrideCursor());

    QFile::remove(target);

    struct Case {
        const char* how;
        bool yes;
        QString file;
        bool copied;
    };
    const Case cases[] = {
        {"btnSalir", true, target, true},
        {"close", true, QString(), false},  // backup dialog cancelled
    };
    for (const auto& c : cases) {
        Fixture g;
        g.menu.show();
        if (c.yes) {
            g.dialogs.answerYes();
            g.dialogs.answerFile(c.file);
        } else {
            g.dialogs.answerNo();
        }
        if (QLatin1String(c.how) == QLatin1String("close"))
            g.menu.close();
        else
            g.trigger(c.how);
        EXPECT_EQ(g.dialogs.entries()[0].text,
                  QStringLiteral("¿Realizar copia de seguridad antes de salir?"));
        EXPECT_EQ(g.quits, 1) << c.how;
        EXPECT_FALSE(g.menu.isVisible()) << c.how;
        EXPECT_EQ(QFileInfo::exists(target), c.copied) << c.how;
        QFile::remove(target);
    }
}

// Every wired item opens its screen, which holds the main window until it closes; the items
// that run a command or a listing are enabled too.
TEST(ScreenWiring, ToolbarOpensScreensWithTheMainWindowAsCaller) {
    Fixture w(true);
    for (const char* item : {"mVehMarca", "btnCobros", "mVehITVListado", "mVehITVEtiquetas"})
        EXPECT_TRUE(w.menu.item(item)->isEnabled()) << item;
    const char* cases[][2] = {{"btnClientes", "Clientes"}, {"btnOrdTrabajo", "BusquedaVehiculos"},
                              {"mConfFact", "ConfigInf"},  {"btnCompras", "BusquedaProveedores"},
                              {"mEtiquetas", "Etiquetas"}, {"btnGestorPartes", "GestorPartes"}};
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

// "Nuevo Parte" replaces the proposed number with the probe loop's.
TEST(ScreenWiring, NewTowReportTakesTheProbedNumber) {
    Fixture w(true);
    w.home.session().setToday(QDate(2024, 3, 20));
    w.home.db().insert("INSERT INTO Partes (NParte, NFactura) VALUES ('PG03/00007', 'No')");
    w.home.db().insert("INSERT INTO Partes (NParte, NFactura) VALUES ('PG03/0001', 'No')");
    QWidget* screen = w.open("btnNuevoParte", "PartesGrua");
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->findChild<QLineEdit*>("Text1_0")->text(), "PG03/0003");
    screen->close();
    settle();
}

// "V. Recambios": the customer chosen in the search starts a counter sale, which
// takes the article chosen in the article search (the sale itself: the sales tests).
TEST(ScreenWiring, CounterSaleFromTheToolbar) {
    Fixture w(true);
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
    sale->findChild<QPushButton*>(QStringLiteral("CmdGuardar"))->click();
    settle();
    EXPECT_TRUE(w.menu.isEnabled());
}

TEST(ConfigInf, FieldsShowTheSeriesAndSaveRewritesTheFile) {
    TempHome home(false);
    TestServices services;
    ScriptedDialogs& dialogs = services.scripted;
    ASSERT_TRUE(LoadSeries(home.session(), dialogs));
    home.session().setToday(QDate(2008, 3, 5));
    QWidget caller;
    auto* screen = new ConfigInf(home.session(), services);
    openScreen(&caller, screen);
    EXPECT_FALSE(caller.isEnabled());

    EXPECT_EQ(control<QLineEdit>(screen, "TxtOdt")->text(), defaultSeries()[int(Series::ODT)]);

    // Saved as typed; prefixes ending in digits with one warning for those that are numbered.
    control<QLineEdit>(screen, "TxtOdt")->setText(QString::fromUtf8("ODT&Año&"));
    control<QLineEdit>(screen, "txtPartesG")->setText(QString::fromUtf8("PG&Mes&"));
    control<QLineEdit>(screen, "TxtArt")
        ->setText(QString::fromUtf8("A&Año&Mes&"));  // probed only: no warning
    click(screen, "CmdGuardar");
    EXPECT_TRUE(screen->isVisible());
    EXPECT_EQ(seriesText(home.session(), Series::ODT), QString::fromUtf8("ODT&Año&"));
    EXPECT_EQ(seriesText(home.session(), Series::PG), QString::fromUtf8("PG&Mes&"));
    ASSERT_EQ(dialogs.entries().size(), 1u);
    EXPECT_EQ(dialogs.entries()[0].icon, Dialogs::Icon::Exclamation);
    EXPECT_EQ(dialogs.entries()[0].text,
              QStringLiteral("Las numeraciones se han guardado, pero el prefijo de ODT (ODT08), "
                             "PG (PG03) termina en una cifra: sus números no seguirán la cuenta y "
                             "empezarán siempre en 1. Termine la serie en una letra o en \"/\" "
                             "(por ejemplo \"ODT&Año&/&\")."));

    // A failed write keeps the series in memory and the typed text.
    dialogs.clear();
    const QStringList saved = home.session().series();
    ASSERT_TRUE(QFile::remove(home.file("conf.fpl")));
    ASSERT_TRUE(QDir(home.folder()).mkdir("conf.fpl"));
    control<QLineEdit>(screen, "TxtAlb")->setText(QStringLiteral("VR&"));
    click(screen, "CmdGuardar");
    EXPECT_EQ(home.session().series(), saved);
    EXPECT_EQ(control<QLineEdit>(screen, "TxtAlb")->text(), QStringLiteral("VR&"));
    ASSERT_EQ(dialogs.entries().size(), 1u);
    EXPECT_EQ(dialogs.entries()[0].icon, Dialogs::Icon::Critical);
    EXPECT_TRUE(dialogs.entries()[0].text.startsWith(
        QStringLiteral("No se han podido guardar las numeraciones en ")));
    screen->close();
}

}  // namespace
