#include "app/main_window.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <cerrno>
#include <optional>

#include "support/file_bytes.h"
#include "support/recording_launcher.h"
#include "support/scripted_dialogs.h"
#include "support/temp_home.h"
#include "support/test_services.h"

using torvane::Dialogs;
using torvane::Menu;
using torvane::MenuRequest;
using torvane::testing::fileBytes;
using torvane::testing::RecordingLauncher;
using torvane::testing::ScriptedDialogs;
using torvane::testing::TempHome;
using torvane::testing::TestServices;

namespace {

struct Fixture {
    TempHome home;
    TestServices services;
    ScriptedDialogs& dialogs = services.scripted;
    int quits = 0;
    Menu menu{home.session(), services};
    Fixture() {
        menu.setQuitHandler([this] { ++quits; });
    }
    void trigger(const char* name) {
        QAction* a = menu.item(QString::fromUtf8(name));
        ASSERT_TRUE(a) << name;
        a->trigger();
    }
};

}  // namespace

TEST(MenuWindow, ItemsWithoutActionStayEnabledAndChangeNothing) {
    Fixture f;
    QSignalSpy opens(&f.menu, &Menu::openDatabaseRequested);
    for (const char* name : {"mRestaurarCopia", "mAyuda", "btnVentaVehiculos", "btnVehicEnVenta",
                             "btnVentaVehiculo", "btnLVVehiculos"}) {
        EXPECT_TRUE(f.menu.item(QString::fromUtf8(name))->isEnabled()) << name;
        f.trigger(name);
    }
    for (const char* name : {"mDatosTaller", "btnPartesGrua", "btnOtros"})
        EXPECT_TRUE(f.menu.item(QString::fromUtf8(name))->isEnabled()) << name;
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

TEST(MenuWindow, RegisteredScreenOpensWithTheOriginAndHoldsTheMainWindow) {
    struct Case {
        const char* item;
        const char* screen;
        const char* origin;
        const char* detail;
    };
    const Case cases[] = {
        {"btnRecibos", "BusquedaClientes", "Recibos", ""},
        {"btnCompras", "BusquedaProveedores", "Compras", ""},
        {"mVehCli", "BusquedaClientes", "ListVeh", ""},
        {"mPorproveedor", "BusquedaProveedores", "Informe", ""},
    };
    for (const auto& c : cases) {
        Fixture f;
        f.menu.show();
        std::vector<MenuRequest> requests;
        QPointer<QWidget> opened;
        f.menu.registerScreen(QString::fromUtf8(c.screen), [&](const MenuRequest& r) {
            requests.push_back(r);
            opened = new QWidget;
            return opened.data();
        });
        ASSERT_TRUE(f.menu.item(QString::fromUtf8(c.item))->isEnabled()) << c.item;
        f.trigger(c.item);
        ASSERT_EQ(requests.size(), 1u) << c.item;
        EXPECT_EQ(requests[0].action, QString::fromUtf8(c.item));
        EXPECT_EQ(requests[0].origin, QString::fromUtf8(c.origin)) << c.item;
        EXPECT_EQ(requests[0].detail, QString::fromUtf8(c.detail)) << c.item;
        ASSERT_TRUE(opened);
        EXPECT_TRUE(opened->isVisible());
        EXPECT_FALSE(f.menu.isEnabled()) << c.item;
        opened->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(opened);
        EXPECT_TRUE(f.menu.isEnabled()) << c.item;
    }
}

TEST(MenuWindow, ListingCommandsAndTheMakePrompt) {
    Fixture f;
    std::vector<MenuRequest> listed;
    std::vector<MenuRequest> printed;
    f.menu.registerCommand(QStringLiteral("VerListado"),
                           [&](const MenuRequest& r) { listed.push_back(r); });
    f.menu.registerCommand(QStringLiteral("ImprimirInformeSimple"),
                           [&](const MenuRequest& r) { printed.push_back(r); });
    f.trigger("mClientesSimple");
    f.trigger("mVehTodos");
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].origin, QStringLiteral("\\QARVOCLIENTES2.rpt"));
    EXPECT_EQ(listed[0].detail, QStringLiteral("2"));
    EXPECT_EQ(listed[1].origin, QStringLiteral("\\QARVOVEHICULOS.rpt"));
    EXPECT_EQ(listed[1].detail, QStringLiteral("3"));

    f.dialogs.answerInput(QStringLiteral("SEAT"));
    f.dialogs.answerInput(QString());
    f.dialogs.answerInput(std::nullopt);
    for (int i = 0; i < 3; ++i) f.trigger("mVehMarca");
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0].origin, QStringLiteral("{Vehiculos.Marca}='SEAT'"));
    EXPECT_EQ(printed[0].detail, QStringLiteral("\\QARVOVEHICULOS.rpt"));
    EXPECT_EQ(f.dialogs.entries()[0].text, QStringLiteral("Introduce Marca:"));
}

TEST(MenuWindow, StatusBarAndCompanyNameFollowTheSession) {
    Fixture f;
    EXPECT_EQ(f.menu.panel(1)->text(), f.home.session().databasePath());
    f.home.session().setDatabasePath(QStringLiteral("/datos/otro.erm"));
    EXPECT_EQ(f.menu.panel(1)->text(), QStringLiteral("/datos/otro.erm"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$"))
                    .match(f.menu.panel(4)->text())
                    .hasMatch())
        << f.menu.panel(4)->text().toStdString();
    auto* timer = f.menu.findChild<QTimer*>(QStringLiteral("Timer1"));
    ASSERT_TRUE(timer);
    EXPECT_TRUE(timer->isActive());
    EXPECT_LE(timer->interval(), 1000);

    f.home.session().setCompanyName(QStringLiteral("TALLERES PÉREZ"));
    EXPECT_EQ(f.menu.companyLabel()->text(), QStringLiteral("TALLERES PÉREZ"));
}

TEST(MenuWindow, BackupSuccessCancelAndUnwritableTarget) {
    Fixture f;
    QTemporaryDir other;
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
    EXPECT_FALSE(QApplication::overrideCursor());

    f.dialogs.clear();
    f.dialogs.answerFile(QString());
    f.trigger("mCopiaSeguridad");
    EXPECT_EQ(f.dialogs.entries().size(), 1u);

    f.dialogs.clear();
    f.dialogs.answerFile(QDir(other.path()).filePath(QStringLiteral("falta/copia.erm")));
    f.trigger("mCopiaSeguridad");
    ASSERT_EQ(f.dialogs.messages().size(), 1u);
    EXPECT_EQ(f.dialogs.messages()[0].icon, Dialogs::Icon::Exclamation);
    EXPECT_TRUE(f.dialogs.lastText().startsWith(
        QStringLiteral("No se ha podido hacer la copia de seguridad.\nNo existe la carpeta")));
    EXPECT_FALSE(QApplication::overrideCursor());
}

// Each failure's number and text, and the database kept, are the compaction tests'; here how
// the menu shows the outcome.
TEST(MenuWindow, CompactionSuccessAndFailureMessages) {
    Fixture f;
    torvane::CompactionOptions options;
    options.clock = [] { return QTime(9, 1, 2); };
    f.menu.setCompactionOptions(options);
    f.trigger("mCompactar");
    ASSERT_EQ(f.dialogs.entries().size(), 1u);
    EXPECT_EQ(f.dialogs.entries()[0].text, QStringLiteral(" Base de datos compactada."));
    EXPECT_EQ(f.dialogs.entries()[0].icon, Dialogs::Icon::None);
    EXPECT_FALSE(QApplication::overrideCursor());

    // A temporary of this second that cannot be deleted stops the compaction.
    f.dialogs.clear();
    ASSERT_TRUE(QDir().mkpath(f.home.file(QStringLiteral("DBT_0102.mdb/x"))));
    f.trigger("mCompactar");
    const auto& e = f.dialogs.entries();
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0].icon, Dialogs::Icon::Exclamation);
    EXPECT_EQ(e[0].title, QStringLiteral("Error al compactar la base de datos"));
    EXPECT_TRUE(e[0].text.startsWith(
        QStringLiteral("Error al compactar la base de datos:\n%1 No se puede borrar").arg(EISDIR)))
        << e[0].text.toStdString();
    EXPECT_EQ(e[1].text, QStringLiteral(" *** Error al compactar la base de datos ***"));
    EXPECT_EQ(e[1].icon, Dialogs::Icon::None);
    EXPECT_FALSE(QApplication::overrideCursor());
}

TEST(MenuWindow, ExitAsksForABackupAndEndsWhateverTheAnswer) {
    QTemporaryDir other;
    const QString target = QDir(other.path()).filePath(QStringLiteral("salida.erm"));
    struct Case {
        const char* how;
        bool yes;
        QString file;
        bool copied;
    };
    const Case cases[] = {
        {"mSalir", false, {}, false},
        {"btnSalir", true, target, true},
        {"close", true, QString(), false},  // backup dialog cancelled
    };
    for (const auto& c : cases) {
        QFile::remove(target);
        Fixture f;
        f.menu.show();
        if (c.yes) {
            f.dialogs.answerYes();
            f.dialogs.answerFile(c.file);
        } else {
            f.dialogs.answerNo();
        }
        if (QLatin1String(c.how) == QLatin1String("close"))
            f.menu.close();
        else
            f.trigger(c.how);
        EXPECT_EQ(f.dialogs.entries()[0].text,
                  QStringLiteral("¿Realizar copia de seguridad antes de salir?"));
        EXPECT_EQ(f.quits, 1) << c.how;
        EXPECT_FALSE(f.menu.isVisible()) << c.how;
        EXPECT_EQ(QFileInfo::exists(target), c.copied) << c.how;
        if (c.copied) {
            EXPECT_EQ(f.dialogs.lastText(),
                      QStringLiteral("Copia de seguridad realizada con éxito"));
        }
    }
}

// What each launcher does is its own test; here that the drop-down reaches them.
TEST(MenuWindow, OtherProgramsFromTheDropDown) {
    Fixture f;
    RecordingLauncher& launcher = f.services.programs;
    launcher.installed = {QStringLiteral("galculator")};
    f.dialogs.answerFile(QStringLiteral("D:\\AUTODATA\\ADATA.EXE"));
    f.dialogs.answerFile(QStringLiteral("/opt/tasa/tasador.EXE"));
    for (const char* item : {"btnCalculadora", "btnInternet", "btnAutodata", "btnGuiaTasacciones"})
        f.trigger(item);
    EXPECT_EQ(launcher.started, (QStringList{"/usr/bin/galculator", "D:\\AUTODATA\\ADATA.EXE",
                                             "/opt/tasa/tasador.EXE"}));
    EXPECT_EQ(launcher.urls, QStringList{torvane::kInternetAddress});
    EXPECT_EQ(f.dialogs.entries().back().title, QStringLiteral("Abrir Guia de Tasacciones"));
}
