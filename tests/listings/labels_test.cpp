// Address labels: the lines of a customer's label, and the labels screen driven as the user
// does.
#include <QRadioButton>

#include "controls/data_grid.h"
#include "listings/address_labels.h"
#include "listings/etiquetas.h"
#include "masters/screen_fixture.h"
#include "reports/report_fixture.h"

using namespace torvane;
using namespace torvane::testing;

namespace {

class ListingsEtiquetasScreen : public ScreenTest {
  protected:
    void SetUp() override { fillReportFixture(db()); }

    static DataGrid* grid(Etiquetas* s) { return control<DataGrid>(s, "MSHFlexGrid1"); }
    // The names on a printed page of labels, in order.
    static QStringList names(const reports::RenderedReport& report, size_t page) {
        QStringList names;
        for (const auto& it : report.pages[page].items)
            if (it.bold) names << it.text;
        return names;
    }
};

TEST_F(ListingsEtiquetasScreen, ClicksMarkAndUnmarkTodosMarksAllAndMarksArePrinted) {
    auto s = open<Etiquetas>();
    ASSERT_EQ(grid(s.get())->rowCount(), 3);
    clickRow(grid(s.get()), 0);
    EXPECT_EQ(s->marks(), (std::set<qint64>{1}));
    clickRow(grid(s.get()), 0);
    EXPECT_TRUE(s->marks().empty());
    click(s.get(), "CmdImprimir");
    EXPECT_TRUE(services.output.jobs().empty());
    ASSERT_EQ(dialogs.entries().size(), 1u);
    EXPECT_EQ(dialogs.entries()[0].text,
              "No hay ningún cliente marcado: marque los clientes en la lista o elija «Todos».");

    // Todos marks every customer; KewlButtons1 unmarks and goes back to choosing by hand.
    click(s.get(), "OptionTodos");
    EXPECT_FALSE(grid(s.get())->isEnabled());
    EXPECT_EQ(s->marks(), (std::set<qint64>{1, 2, 3}));
    click(s.get(), "KewlButtons1");
    EXPECT_TRUE(s->marks().empty());
    EXPECT_TRUE(control<QRadioButton>(s.get(), "OptionManual")->isChecked());
    EXPECT_TRUE(grid(s.get())->isEnabled());

    clickRow(grid(s.get()), 2);
    clickRow(grid(s.get()), 1);
    clickRow(grid(s.get()), 0);
    EXPECT_EQ(s->marks(), (std::set<qint64>{1, 2, 3}));

    EXPECT_EQ(s->startPosition(), 1);
    QTest::mouseClick(control(s.get(), "Label1_15"), Qt::LeftButton);
    click(s.get(), "CmdImprimir");
    ASSERT_EQ(services.output.jobs().size(), 1u);
    EXPECT_FALSE(services.output.jobs()[0].preview) << "labels go straight to the printer";
    const auto& report = services.output.jobs()[0].report;
    ASSERT_EQ(report.pages.size(), 2u);
    // By code, on labels 15 and 16 of the first sheet, then the first label of the next.
    EXPECT_EQ(names(report, 0), QStringList({"JUAN", "MARÍA"}));
    EXPECT_EQ(names(report, 1), QStringList({"AUTOS O'NEILL"}));
    EXPECT_FALSE(s->isVisible());
}

TEST_F(ListingsEtiquetasScreen, NoCustomersNoPrinting) {
    TempHome empty;
    auto s = std::make_unique<Etiquetas>(empty.session(), services);
    s->show();
    EXPECT_FALSE(enabled(s.get(), "CmdImprimir"));
}

TEST_F(ListingsEtiquetasScreen, TodosListsAndMarksPrintTheirCustomers) {
    using listings::labelCustomerSearch;
    struct Case {
        int option;
        const char* typed;
        std::vector<qint64> ids;  // in the order listed
    };
    // The fixture: JUAN GARCÍA (C0001, two cars), MARÍA LÓPEZ (C0002), AUTOS O'NEILL (C0003).
    const Case cases[] = {
        {0, "C000", {1, 2, 3}}, {1, "8765", {2}}, {2, "AU", {3}}, {3, "O'N", {3}},
        {4, "", {1, 2, 3}},     {4, "M-1", {2}},  {0, "X", {}},
    };
    for (const Case& c : cases) {
        const auto st = labelCustomerSearch(c.option, QString::fromUtf8(c.typed));
        std::vector<qint64> got;
        for (const auto& row : db().rows(st.sql, st.params))
            got.push_back(row.value("Id_Cli").toLongLong());
        EXPECT_EQ(got, c.ids) << c.option << " " << c.typed;
        const auto labels = listings::labelsOfListed(db(), st);
        EXPECT_EQ(labels.size(), c.ids.size()) << c.option << " " << c.typed;
    }
    // Marked customers print by code, with their whole address.
    const auto marked = listings::labelsOfMarked(db(), {3, 2});
    ASSERT_EQ(marked.size(), 2u);
    EXPECT_EQ(marked[0], QStringList({"MARÍA", "AV. LUNA, 22", "08001   BARCELONA", "BARCELONA"}));
    EXPECT_EQ(marked[1], QStringList({"AUTOS O'NEILL", "", "   TOLEDO", "TOLEDO"}));
}

}  // namespace
