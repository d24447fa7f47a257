// The dated listings: one from its menu item to the report printed, and each printed over a
// fixed month, compared with reviewed texts.
#include <QAction>

#include "app/main_window.h"
#include "app/screen_wiring.h"
#include "controls/search_screen.h"
#include "listings/listing_keys.h"
#include "listings/listings_fixture.h"
#include "masters/screen_fixture.h"
#include "reports/informes.h"
#include "reports/report_engine.h"

using namespace torvane;
using namespace torvane::testing;
using torvane::reports::RenderedReport;
using torvane::reports::ReportEngine;

namespace {

class ListingsMenuItems : public ScreenTest {
  protected:
    void SetUp() override {
        fillListingsFixture(db());
        home.session().setToday(QDate(2008, 3, 31));
        wireScreens(menu, home.session(), services);
    }

    Menu menu{home.session(), services};
};

// One item through the customer search and the dates to the report it prints; the others
// differ only in the file and formula they declare, each printed by ListingsGolden.
TEST_F(ListingsMenuItems, AnItemAsksTheCustomerAndTheDatesAndPrintsItsFormula) {
    QAction* item = menu.item(QStringLiteral("mReparacionescliente"));
    ASSERT_NE(item, nullptr);
    item->trigger();
    settle();
    auto* search = qobject_cast<SearchScreen*>(openWindow(QStringLiteral("BusquedaClientes")));
    ASSERT_NE(search, nullptr);
    ASSERT_TRUE(search->grid()->selectWhere(QStringLiteral("Id_Cli"), 2));
    click(search, "CmdAcciones_1");
    settle();
    QWidget* fechas = openWindow(QStringLiteral("Fechas"));
    ASSERT_NE(fechas, nullptr);
    click(fechas, "CmdSeleccionar");
    settle();
    EXPECT_EQ(openWindow(QStringLiteral("Fechas")), nullptr) << "Fechas stays open";
    ASSERT_EQ(services.output.jobs().size(), 1u);
    const auto& job = services.output.jobs().back();
    EXPECT_EQ(job.report.name.toLower(), "qarvolfac2.rpt");
    EXPECT_EQ(job.report.formula,
              "{ODTS.Id_Cli} =2 and {FacturasODT.Fecha} in DateTime (2008,03,01,"
              "00, 00, 00) to DateTime (2008,03,31 ,00, 00, 00)");
    EXPECT_TRUE(dialogs.entries().empty()) << dialogs.lastText().toStdString();
}

// Renders the listing a key prints for March 2008 (customer 2 or insurer 1 where it takes one).
RenderedReport renderKey(TempHome& home, const QString& key) {
    const qint64 id = key == QLatin1String("qarvolgrua2.rpt") ? 1 : 2;
    const auto listing = torvane::listings::datedListing(key, QStringLiteral("01/03/2008"),
                                                         QStringLiteral("31/03/2008"), id);
    EXPECT_TRUE(listing) << key.toStdString();
    if (!listing) return {};
    ReportEngine engine(home.db(), torvane::reports::reportFolders(home.session()),
                        QDate(2008, 4, 15));
    const auto result = engine.render(listing->file, listing->formula);
    EXPECT_TRUE(result.report) << key.toStdString() << ": " << result.error.toStdString();
    return result.report.value_or(RenderedReport{});
}

struct ListingCase {
    const char* key;
    const char* reference = nullptr;  // the key without ".rpt" when not given

    QString name() const {
        return reference ? QString::fromUtf8(reference) : QString::fromUtf8(key).remove(".rpt");
    }
};

class ListingsGolden : public ::testing::TestWithParam<ListingCase> {};

TEST_P(ListingsGolden, PrintsTheMonthAsReviewed) {
    TempHome home;
    torvane::testing::fillListingsFixture(home.db());
    const ListingCase& c = GetParam();
    const RenderedReport r = renderKey(home, QString::fromUtf8(c.key));
    ASSERT_FALSE(r.pages.empty());
    torvane::testing::expectReference("listings", c.name(), r.toText());
    const QString pdfDir = qEnvironmentVariable("TORVANE_REPORT_PDF_DIR");
    if (!pdfDir.isEmpty()) {
        EXPECT_TRUE(torvane::reports::writePdf(r, pdfDir + '/' + c.name() + ".pdf"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    March2008, ListingsGolden,
    ::testing::Values(
        // The invoice of two work orders once: 168,95 + 1.538,30 + 197,20.
        ListingCase{"QARVOLFAC.rpt"}, ListingCase{"QARVOLFACCC.rpt"},
        ListingCase{"QARVOLFAC22.rpt"}, ListingCase{"qarvolfac2.rpt"},
        // Parts sales: the tow invoice FV08/03/00003 and April's invoice stay out.
        ListingCase{"qarvolfacven.rpt"}, ListingCase{"qarvolfacven3.rpt"},
        ListingCase{"qarvolfacven22.rpt"}, ListingCase{"qarvolfacven2.rpt"},
        ListingCase{"QARVOLFACpend.rpt", "qarvolfacvenpend"}, ListingCase{"qarvolgrua.rpt"},
        ListingCase{"qarvolgrua2.rpt"}, ListingCase{"qarvolfaccomi.rpt"},
        ListingCase{"qarvolodt.rpt"}, ListingCase{"Comprasgeneral", "qarvolentrp"},
        ListingCase{"Comprasgeneraltot", "qarvolentrprotot"},
        // The limit is on each party's sum over the period: 3.000,00 is "hasta".
        ListingCase{"QARVOCLIENTESIMPMEN.rpt"}, ListingCase{"QARVOCLIENTESIMPMAS.rpt"},
        ListingCase{"QARVOCLIENTESIMPORTE.rpt"}, ListingCase{"QARVOLPROIMPMEN.rpt"},
        ListingCase{"QARVOLPROIMPMAS.rpt"}, ListingCase{"QARVOLPROIMPORTE.rpt"},
        // Revenue 170,00, cost 2 x (18,00 less 10 %) = 32,40, margin 137,60.
        ListingCase{"qarvolbenodt.rpt"}),
    [](const ::testing::TestParamInfo<ListingCase>& info) {
        return info.param.name().replace('.', '_').toStdString() + std::to_string(info.index);
    });

}  // namespace
