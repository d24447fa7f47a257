// "Listados > Vehículos > ITV del mes" from the main window, wired to the printing.
#include <gtest/gtest.h>
#include <QAction>

#include "app/main_window.h"
#include "app/screen_wiring.h"
#include "reports/report_fixture.h"
#include "support/temp_home.h"
#include "support/test_services.h"

namespace {

TEST(ItvMenu, ListingAndLabelsAskTheMonthAndPreview) {
    torvane::testing::TempHome home;
    torvane::testing::fillReportFixture(home.db());
    home.session().setToday(QDate(2009, 1, 31));
    torvane::testing::TestServices services;
    torvane::Menu menu(home.session(), services);
    torvane::wireScreens(menu, home.session(), services);
    // The fixture's Clio is due on 01/02/2009: next month from 31/01. What the listing and the
    // labels hold is the ITV printing's own test.
    for (const char* item : {"mVehITVListado", "mVehITVEtiquetas"}) {
        services.scripted.answerInput(QStringLiteral("02/2009"));
        menu.item(item)->trigger();
    }
    ASSERT_EQ(services.output.jobs().size(), 2u);
    EXPECT_EQ(services.scripted.entries().front().extra, "02/2009");
    EXPECT_TRUE(services.output.jobs()[0].report.toText().contains("M-1234-XY"));
    EXPECT_TRUE(services.output.jobs()[1].report.toText().contains("08001   BARCELONA"));
}

}  // namespace
