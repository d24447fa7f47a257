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

TEST_F(ListingsEtiquetasScreen, ClicksMarkAndUnmarkMarksStayThroughSearchesAndArePrinted) {
    auto s = openLabels();
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
    EXPECT_TRUE(s->isVisible());

    // A marked row is drawn bold.
    clickRow(grid(s.get()), 2);
    for (int row = 0; row < 3; ++row) {
        const QVariant font = grid(s.get())->gridModel()->index(row, 3).data(Qt::FontRole);
        EXPECT_EQ(font.isValid() && font.value<QFont>().bold(), row == 2) << row;
    }
    // A plate finds its owner; marks made in one search stay through the next.
    click(s.get(), "Option1_4");
    type(s.get(), "txtBusqueda", "M-12");
    ASSERT_EQ(grid(s.get())->rowCount(), 1);
    clickRow(grid(s.get()), 0);
    click(s.get(), "Option1_2");
    control<QLineEdit>(s.get(), "txtBusqueda")->clear();
    type(s.get(), "txtBusqueda", "JU");
    ASSERT_EQ(grid(s.get())->rowCount(), 1);
    clickRow(grid(s.get()), 0);
    EXPECT_EQ(s->marks(), (std::set<qint64>{1, 2, 3}));

    // Nothing printed without a printer: the marks and the screen stay. How the PDF is
    // offered is the printing routines' test.
    services.output.setPrinter(QString());
    dialogs.clear();
    dialogs.answerNo();
    click(s.get(), "CmdImprimir");
    EXPECT_TRUE(services.output.jobs().empty());
    EXPECT_TRUE(dialogs.allAnswersUsed());
    EXPECT_TRUE(s->isVisible());
    EXPECT_EQ(s->marks(), (std::set<qint64>{1, 2, 3}));

    services.output.setPrinter(QStringLiteral("Impresora"));
    click(s.get(), "CmdImprimir");
    EXPECT_EQ(printedNames(), QStringList({"JUAN", "MARÍA", "AUTOS O'NEILL"}));  // by code
    EXPECT_FALSE(s->isVisible());
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

TEST_F(ListingsEtiquetasScreen, NoCustomersNoPrinting) {
    TempHome empty;
    auto s = std::make_unique<Etiquetas>(empty.session(), services);
    s->show();
    EXPECT_FALSE(enabled(s.get(), "CmdImprimir"));
}

}  // namespace
