// The labels screen driven as the user does: marking rows, the start label, Todos,
// and what goes to the printer.
#include <QFrame>
#include <QRadioButton>

#include "controls/data_grid.h"
#include "listings/etiquetas.h"
#include "masters/screen_fixture.h"
#include "reports/report_fixture.h"

using namespace torvane;
using namespace torvane::testing;

namespace {

class ListingsEtiquetasScreen : public ScreenTest {
  protected:
    void SetUp() override { fillReportFixture(db()); }

    std::unique_ptr<Etiquetas> openLabels() { return open<Etiquetas>(); }
    static DataGrid* grid(Etiquetas* s) { return control<DataGrid>(s, "MSHFlexGrid1"); }
    static void clickLabel(Etiquetas* s, int i) {
        QTest::mouseClick(control(s, QStringLiteral("Label1_%1").arg(i)), Qt::LeftButton);
    }
    // The names on the labels printed, in order.
    QStringList printedNames() {
        QStringList names;
        for (const auto& job : services.output.jobs()) {
            EXPECT_FALSE(job.preview) << "labels go straight to the printer";
            for (const auto& page : job.report.pages)
                for (const auto& it : page.items)
                    if (it.bold) names << it.text;
        }
        return names;
    }
};

TEST_F(ListingsEtiquetasScreen, ClicksMarkAndUnmarkAndOnlyTheMarkedArePrinted) {
    struct Case {
        const char* name;
        std::vector<int> clicks;  // rows clicked, in order
        std::set<qint64> marks;
        QStringList printed;  // empty: nothing printed, the screen stays
    };
    const Case cases[] = {
        {"one", {0}, {1}, {"JUAN"}},
        {"twice unmarks", {0, 0}, {}, {}},
        {"two, printed by code", {2, 0}, {1, 3}, {"JUAN", "AUTOS O'NEILL"}},
    };
    for (const Case& c : cases) {
        services.output = reports::RecordingReportOutput();
        dialogs.clear();
        auto s = openLabels();
        ASSERT_EQ(grid(s.get())->rowCount(), 3) << c.name;
        for (int row : c.clicks) clickRow(grid(s.get()), row);
        EXPECT_EQ(s->marks(), c.marks) << c.name;
        // A marked row is drawn bold.
        for (int row = 0; row < 3; ++row) {
            const qint64 id = grid(s.get())->value(row, "Id_Cli").toLongLong();
            const QVariant font = grid(s.get())->gridModel()->index(row, 3).data(Qt::FontRole);
            EXPECT_EQ(font.isValid() && font.value<QFont>().bold(), c.marks.count(id) > 0)
                << c.name << " row " << row;
        }
        QPointer<Etiquetas> alive(s.get());
        click(s.get(), "CmdImprimir");
        EXPECT_EQ(printedNames(), c.printed) << c.name;
        if (c.printed.isEmpty()) {
            ASSERT_EQ(dialogs.entries().size(), 1u) << c.name;
            EXPECT_EQ(dialogs.entries()[0].text,
                      "No hay ningún cliente marcado: marque los clientes en la lista o elija "
                      "«Todos».");
            EXPECT_TRUE(s->isVisible()) << c.name;
        } else {
            EXPECT_FALSE(s->isVisible()) << c.name << " stays open after printing";
        }
    }
}

TEST_F(ListingsEtiquetasScreen, MarksStayThroughSearchesAndAPlateFindsItsOwner) {
    auto s = openLabels();
    click(s.get(), "Option1_4");
    type(s.get(), "txtBusqueda", "M-12");
    ASSERT_EQ(grid(s.get())->rowCount(), 1);
    clickRow(grid(s.get()), 0);
    click(s.get(), "Option1_2");
    control<QLineEdit>(s.get(), "txtBusqueda")->clear();
    type(s.get(), "txtBusqueda", "JU");
    ASSERT_EQ(grid(s.get())->rowCount(), 1);
    clickRow(grid(s.get()), 0);
    EXPECT_EQ(s->marks(), (std::set<qint64>{1, 2}));
    click(s.get(), "CmdImprimir");
    EXPECT_EQ(printedNames(), QStringList({"JUAN", "MARÍA"}));
}

TEST_F(ListingsEtiquetasScreen, TodosPrintsTheListFromTheChosenLabel) {
    auto s = openLabels();
    EXPECT_EQ(s->startPosition(), 1);
    clickLabel(s.get(), 15);
    EXPECT_EQ(s->startPosition(), 15);
    for (int i = 1; i <= 16; ++i) {
        const QColor colour = control<QFrame>(s.get(), QStringLiteral("Shape1_%1").arg(i))
                                  ->palette()
                                  .color(QPalette::Window);
        EXPECT_EQ(colour, i == 15 ? QColor(0xB0, 0xE0, 0xEE) : QColor(Qt::white)) << i;
    }
    click(s.get(), "OptionTodos");
    EXPECT_FALSE(grid(s.get())->isEnabled());
    EXPECT_EQ(s->marks(), (std::set<qint64>{1, 2, 3}));
    // KewlButtons1 unmarks and goes back to choosing by hand; Todos marks them again.
    click(s.get(), "KewlButtons1");
    EXPECT_TRUE(s->marks().empty());
    EXPECT_TRUE(control<QRadioButton>(s.get(), "OptionManual")->isChecked());
    EXPECT_TRUE(grid(s.get())->isEnabled());
    click(s.get(), "OptionTodos");
    click(s.get(), "CmdImprimir");
    ASSERT_EQ(services.output.jobs().size(), 1u);
    const auto& report = services.output.jobs()[0].report;
    ASSERT_EQ(report.pages.size(), 2u);
    // Labels 15 and 16 of the first sheet, then the first label of the next.
    const auto nameAt = [&](size_t page) {
        QStringList names;
        for (const auto& it : report.pages[page].items)
            if (it.bold) names << it.text;
        return names;
    };
    EXPECT_EQ(nameAt(0), QStringList({"JUAN", "MARÍA"}));
    EXPECT_EQ(nameAt(1), QStringList({"AUTOS O'NEILL"}));
}

TEST_F(ListingsEtiquetasScreen, NoCustomersNoPrintingAndNoPrinterOffersAPdf) {
    {
        TempHome empty;
        auto s = std::make_unique<Etiquetas>(empty.session(), services);
        s->show();
        EXPECT_FALSE(enabled(s.get(), "CmdImprimir"));
    }
    services.output.setPrinter(QString());
    dialogs.answerNo();
    auto s = openLabels();
    clickRow(grid(s.get()), 1);
    click(s.get(), "CmdImprimir");
    EXPECT_TRUE(services.output.jobs().empty());
    ASSERT_EQ(dialogs.entries().size(), 1u);
    EXPECT_EQ(dialogs.entries()[0].text,
              "No hay ninguna impresora instalada.\n\n¿Desea guardar el informe \"Etiquetas\" "
              "como PDF?");
    EXPECT_TRUE(s->isVisible()) << "nothing printed: the marks are kept";
    EXPECT_EQ(s->marks(), (std::set<qint64>{2}));
}

}  // namespace
