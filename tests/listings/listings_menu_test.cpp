// Every dated listing from its "Listados" menu item, through the search that asks for the
// customer, insurer or supplier, to the date range and the report printed.
#include <QAction>

#include "app/main_window.h"
#include "app/screen_wiring.h"
#include "controls/search_screen.h"
#include "listings/listings_fixture.h"
#include "masters/screen_fixture.h"

using namespace torvane;
using namespace torvane::testing;

namespace {

class ListingsMenuItems : public ScreenTest {
  protected:
    void SetUp() override {
        fillListingsFixture(db());
        home.session().setToday(QDate(2008, 3, 31));
        wireScreens(menu, home.session(), services);
    }

    // Picks the row whose id field holds id in the open search screen and accepts it.
    void choose(const char* screen, const char* idField, qint64 id) {
        auto* search = qobject_cast<SearchScreen*>(openWindow(QString::fromUtf8(screen)));
        ASSERT_NE(search, nullptr) << screen << " is not open";
        ASSERT_TRUE(search->grid()->selectWhere(QString::fromUtf8(idField), id)) << screen;
        click(search, "CmdAcciones_1");
        settle();
    }

    Menu menu{home.session(), services};
};

// The date range that follows each formula's prefix for March 2008.
const QString kMarch =
    QStringLiteral("2008,03,01,00, 00, 00) to DateTime (2008,03,31 ,00, 00, 00)");

TEST_F(ListingsMenuItems, EachItemPrintsItsFileAndFormula) {
    struct Case {
        const char* item;
        const char* search;  // asked before the dates; empty: none
        qint64 id;           // the row chosen there
        const char* file;
        QString formula;
    };
    const QString facturas = " {Facturas.Fecha} in DateTime (" + kMarch;
    const QString odt = "{FacturasODT.Fecha} in DateTime (" + kMarch;
    const QString entradas = "{Entradas.Fecha} in DateTime (" + kMarch;
    const QString conUnion = "{ConUnion.Fecha} in DateTime (" + kMarch;
    const Case cases[] = {
        {"mH3000", "", 0, "qarvoclientesimpmen.rpt", conUnion},
        {"mM3000", "", 0, "qarvoclientesimpmas.rpt", conUnion},
        {"mImpTodos", "", 0, "qarvoclientesimporte.rpt", conUnion},
        {"mProvHasta", "", 0, "qarvolproimpmen.rpt", entradas},
        {"mProvMas", "", 0, "qarvolproimpmas.rpt", entradas},
        {"mProvTodos", "", 0, "qarvolproimporte.rpt", entradas},
        {"mReparacionesfechatotales", "", 0, "qarvolfac.rpt", odt},
        {"mReparacionesfechaclientes", "", 0, "qarvolfaccc.rpt", odt},
        {"mReparacionescliente", "BusquedaClientes", 2, "qarvolfac2.rpt",
         "{ODTS.Id_Cli} =2 and " + odt},
        {"mReparacionesporcliente", "", 0, "qarvolfac2.rpt", odt},
        {"reppendcobro", "", 0, "qarvolfacvenpend.rpt", facturas + " and {@PENDIENTE}>0"},
        {"mRecambiosporfecha", "", 0, "qarvolfacven3.rpt", facturas},
        {"Mfeccli", "", 0, "qarvolfacven3.rpt", facturas},
        {"mRecambiosdecliente", "BusquedaClientes", 2, "qarvolfacven2.rpt",
         "{Facturas.Id_Cli} =2 and" + facturas},
        {"mRecambiosagrupadascliente", "", 0, "qarvolfacven2.rpt", facturas},
        {"mGruasporfecha", "", 0, "qarvolgrua.rpt",
         " {Partes.FechaFactura} in DateTime (" + kMarch},
        {"mGruasporcompañia", "BusquedaAseguradoras", 1, "qarvolgrua.rpt",
         "{Partes.Id_Ase}=1and {Partes.FechaFactura} in DateTime (" + kMarch},
        {"mComisionesporfecha", "", 0, "qarvolfaccomi.rpt",
         "{Comisiones.Fecha} in DateTime (" + kMarch},
        {"mComprasgeneral", "", 0, "qarvolentrp.rpt", entradas},
        {"mtotgen", "", 0, "qarvolentrprotot.rpt", entradas},
        // The supplier is asked after the dates.
        {"mComprasporproveedor", "", 0, "qarvolentrp.rpt",
         entradas + " and {Proveedores.Id_Pro}=2"},
        {"mOdts2", "", 0, "qarvolodt.rpt", "{ODTS.Fecha} in DateTime (" + kMarch},
        {"mBenef", "", 0, "qarvolbenodt.rpt", odt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        QAction* item = menu.item(QString::fromUtf8(c.item));
        ASSERT_NE(item, nullptr);
        ASSERT_TRUE(item->isEnabled());
        const size_t before = services.output.jobs().size();
        item->trigger();
        settle();
        if (*c.search)
            choose(c.search,
                   QLatin1String(c.search) == QLatin1String("BusquedaAseguradoras") ? "Id_Ase"
                                                                                    : "Id_Cli",
                   c.id);
        QWidget* fechas = openWindow(QStringLiteral("Fechas"));
        ASSERT_NE(fechas, nullptr);
        click(fechas, "CmdSeleccionar");
        settle();
        if (QLatin1String(c.item) == QLatin1String("mComprasporproveedor"))
            choose("BusquedaProveedores", "Id_Pro", 2);
        EXPECT_EQ(openWindow(QStringLiteral("Fechas")), nullptr) << "Fechas stays open";
        ASSERT_EQ(services.output.jobs().size(), before + 1);
        const auto& job = services.output.jobs().back();
        EXPECT_TRUE(job.preview);
        EXPECT_EQ(job.report.name.toLower().toStdString(), c.file);
        EXPECT_EQ(job.report.formula.toStdString(), c.formula.toStdString());
        EXPECT_TRUE(dialogs.entries().empty()) << dialogs.lastText().toStdString();
        closeAllWindows();
    }
}

}  // namespace
