#include "controls/data_grid.h"

#include <gtest/gtest.h>

#include "support/scripted_dialogs.h"
#include "support/temp_home.h"

using namespace torvane;
using torvane::testing::TempHome;

namespace {

void fill(Database& db, int n) {
    Database::Transaction t(db);
    for (int i = 1; i <= n; ++i)
        db.exec("INSERT INTO FacturasODT (NFactura, Fecha, Importe) VALUES (?,?,?)",
                {QString("FR%1").arg(i, 5, 10, QChar('0')), "2008-03-05", i * 1000.5});
    t.commit();
}

const QList<GridColumn> kColumns = {
    {"Id_FAct", {}, ColumnKind::Hidden},  {"NFactura", "Nº Factura"},
    {"Fecha", "Fecha", ColumnKind::Date}, {"Importe", "Importe", ColumnKind::Money},
    {"Base", "Base", ColumnKind::Number},
};

TEST(DataGrid, FetchesRowsAsNeededAndTheCurrentRowFollowsQueriesAndSelection) {
    TempHome home;
    fill(home.db(), 600);
    DataGrid grid("MSHFacturas");
    grid.setColumns(kColumns);
    grid.run(home.db(), {"SELECT * FROM FacturasODT ORDER BY Id_FAct", {}});
    EXPECT_EQ(grid.currentRowIndex(), 0);
    EXPECT_EQ(grid.currentValue("NFactura").toString(), "FR00001");
    // Rows are read only as they are needed; a row beyond the first batch is found by
    // fetching on.
    EXPECT_LT(grid.rowCount(), 590);
    EXPECT_TRUE(grid.gridModel()->canFetchMore());
    EXPECT_TRUE(grid.selectWhere("NFactura", "FR00590"));
    EXPECT_EQ(grid.currentRowIndex(), 589);
    EXPECT_EQ(grid.gridModel()->fetchAllRows(), 600);
    EXPECT_FALSE(grid.gridModel()->canFetchMore());
    EXPECT_FALSE(grid.selectWhere("NFactura", "nope"));
    grid.run(home.db(), {"SELECT * FROM FacturasODT WHERE Id_FAct < 0", {}});
    EXPECT_EQ(grid.currentRowIndex(), -1);
    EXPECT_FALSE(grid.currentValue("NFactura").isValid());

    // A bad query is told with the engine's text and leaves no rows.
    torvane::testing::ScriptedDialogs dialogs;
    ASSERT_TRUE(grid.run(home.db(), {"SELECT * FROM FacturasODT", {}}, dialogs));
    EXPECT_GT(grid.rowCount(), 0);
    EXPECT_FALSE(grid.run(home.db(), {"SELECT * FROM Nowhere", {}}, dialogs));
    EXPECT_EQ(grid.rowCount(), 0);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].icon, torvane::Dialogs::Icon::Critical);
    EXPECT_TRUE(dialogs.lastText().contains("no such table: Nowhere"))
        << dialogs.lastText().toStdString();
}

}  // namespace
