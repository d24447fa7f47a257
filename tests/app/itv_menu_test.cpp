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
    for (const char* item : {"mVehITVListado", "mVehITVEtiquetas"}) {
        QAction* a = menu.item(item);
        ASSERT_NE(a, nullptr) << item;
        EXPECT_TRUE(a->isEnabled()) << item;
    }
    // The fixture's Clio is due on 01/02/2009: next month from 31/01.
    services.scripted.answerInput(QStringLiteral("02/2009"));
    menu.item("mVehITVListado")->trigger();
    services.scripted.answerInput(QStringLiteral("02/2009"));
    menu.item("mVehITVEtiquetas")->trigger();
    ASSERT_EQ(services.output.jobs().size(), 2u);
    EXPECT_EQ(services.scripted.entries().front().extra, "02/2009");
    const QString list = services.output.jobs()[0].report.toText();
    EXPECT_TRUE(list.contains("M-1234-XY")) << list.toStdString();
    EXPECT_TRUE(list.contains("932222222"));
    EXPECT_FALSE(list.contains("1234BCD")) << "due in November";
    const QString labels = services.output.jobs()[1].report.toText();
    EXPECT_TRUE(labels.contains("08001   BARCELONA")) << labels.toStdString();
    EXPECT_FALSE(labels.contains("JUAN GARCÍA")) << "his cars are due in other months";
}

}  // namespace
