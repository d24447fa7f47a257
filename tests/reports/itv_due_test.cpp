// The month's roadworthiness tests: month chosen, boundaries of the selection, listing,
// labels and export.
#include <gtest/gtest.h>
#include <set>

#include "reports/informes.h"
#include "reports/itv_due.h"
#include "reports/list_table.h"
#include "reports/report_engine.h"
#include "reports/report_fixture.h"
#include "support/temp_home.h"
#include "support/test_services.h"

using torvane::reports::itvFormula;
using torvane::reports::parseItvMonth;
using torvane::testing::TempHome;

namespace {

TEST(ItvDue, MonthTyped) {
    const std::pair<const char*, QDate> cases[] = {
        {"01/2009", QDate(2009, 1, 1)},
        {"1/2009", QDate(2009, 1, 1)},
        {" 12 / 2008 ", QDate(2008, 12, 1)},
        {"13/2008", QDate()},
        {"00/2008", QDate()},
        {"2009", QDate()},
        {"01/09", QDate()},
        {"", QDate()},
    };
    for (const auto& [text, month] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(parseItvMonth(text).value_or(QDate()), month);
    }
}

struct ItvFixture {
    TempHome home;
    torvane::testing::TestServices services;
    ItvFixture() {
        torvane::testing::fillReportFixture(home.db());
        // Plates named by their test date; customer 3 has no address but a locality.
        home.db().insert(
            "INSERT INTO Vehiculos (Id_Cli, Matricula, Marca, Modelo, FechaITV) VALUES "
            "(1, 'ITV-081231', 'SEAT', 'TOLEDO', '2008-12-31'), "
            "(2, 'ITV-090101', 'OPEL', 'CORSA', '2009-01-01'), "
            "(3, 'ITV-090131', 'FIAT', 'PUNTO', '2009-01-31'), "
            "(1, 'ITV-080229', 'SEAT', 'ALTEA', '2008-02-29'), "
            "(2, 'ITV-080301', 'OPEL', 'ASTRA', '2008-03-01')");
    }
    torvane::reports::RenderedReport render(const QString& file, QDate month) {
        torvane::reports::ReportEngine engine(
            home.db(), torvane::reports::reportFolders(home.session()), QDate(2008, 12, 31));
        const auto result = engine.render(file, itvFormula(month));
        EXPECT_TRUE(result.report) << result.error.toStdString();
        return result.report.value_or(torvane::reports::RenderedReport{});
    }
};

// Every plate of the fixture that is due in a month, read from the listing as printed.
std::set<QString> platesListed(const torvane::reports::RenderedReport& r) {
    const QStringList all{"1234BCD",    "M-1234-XY",  "9999JKL",    "ITV-081231",
                          "ITV-090101", "ITV-090131", "ITV-080229", "ITV-080301"};
    std::set<QString> found;
    for (const QString& p : all)
        if (r.toText().contains(p)) found.insert(p);
    return found;
}

TEST(ItvDue, SelectionAtMonthBoundaries) {
    ItvFixture f;
    const std::pair<QDate, std::set<QString>> cases[] = {
        {QDate(2008, 12, 1), {"ITV-081231"}}, {QDate(2009, 1, 1), {"ITV-090101", "ITV-090131"}},
        {QDate(2009, 2, 1), {"M-1234-XY"}},   {QDate(2008, 2, 1), {"ITV-080229"}},
        {QDate(2008, 3, 1), {"ITV-080301"}},  {QDate(2008, 11, 1), {"1234BCD"}},
    };
    for (const auto& [month, plates] : cases) {
        SCOPED_TRACE(month.toString(Qt::ISODate).toStdString());
        const auto r = f.render(torvane::reports::kItvListFile, month);
        EXPECT_EQ(platesListed(r), plates);
        ASSERT_TRUE(r.table);
        size_t details = 0;
        for (const auto& row : r.table->rows)
            details += row.kind == torvane::reports::ListTable::RowKind::Detail;
        EXPECT_EQ(details, plates.size());
        EXPECT_TRUE(r.toText().contains(QString("%1 vehículos").arg(plates.size())));
    }
}

TEST(ItvDue, AskedFromTheMenuWithNextMonthOfferedListingAndLabels) {
    ItvFixture f;
    f.home.session().setToday(QDate(2008, 12, 31));
    auto& dialogs = f.services.scripted;
    // A month that is not one is told and prints nothing; an empty answer cancels.
    dialogs.answerInput(QString("13/2009"));
    EXPECT_FALSE(torvane::reports::printItvDue(f.home.session(), f.services, false));
    EXPECT_EQ(dialogs.entries().front().extra, "01/2009");
    EXPECT_EQ(dialogs.lastText(),
              "«13/2009» no es un mes válido: escriba el mes y el año, como 01/2009.");
    dialogs.answerInput(std::nullopt);
    EXPECT_FALSE(torvane::reports::printItvDue(f.home.session(), f.services, true));
    EXPECT_TRUE(f.services.output.jobs().empty());

    dialogs.answerInput(QString("01/2009"));
    EXPECT_TRUE(torvane::reports::printItvDue(f.home.session(), f.services, false));
    dialogs.answerInput(QString("1/2009"));
    EXPECT_TRUE(torvane::reports::printItvDue(f.home.session(), f.services, true));
    ASSERT_EQ(f.services.output.jobs().size(), 2u);
    EXPECT_TRUE(dialogs.allAnswersUsed());
    // The listing carries name, phones and address; the labels the address.
    const auto& list = f.services.output.jobs()[0];
    EXPECT_TRUE(list.preview);
    const QString text = list.report.toText();
    EXPECT_TRUE(text.contains("ITV-090131"));
    EXPECT_TRUE(text.contains("MARÍA LÓPEZ")) << text.toStdString();
    EXPECT_TRUE(text.contains("932222222"));
    EXPECT_TRUE(text.contains("AV. LUNA, 22, 08001 BARCELONA (BARCELONA)"));
    EXPECT_TRUE(text.contains("TOLEDO (TOLEDO)")) << "no address, still the locality";
    EXPECT_TRUE(list.report.landscape);
    const auto& labels = f.services.output.jobs()[1].report;
    ASSERT_EQ(labels.pages.size(), 1u);
    const QString l = labels.toText();
    EXPECT_TRUE(l.contains("MARÍA LÓPEZ"));
    EXPECT_TRUE(l.contains("08001   BARCELONA"));
    EXPECT_TRUE(l.contains("AUTOS O'NEILL"));
    EXPECT_FALSE(l.contains("JUAN GARCÍA")) << "his car is due in December";
}

}  // namespace
