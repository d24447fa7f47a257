// An older workshop brought in and then used: its work orders listed, its customer on file, its
// invoice printed again, all from the imported file.
#include <gtest/gtest.h>
#include <QLineEdit>
#include <memory>

#include "controls/data_grid.h"
#include "import/old_workshop.h"
#include "masters/clientes.h"
#include "masters/customer_handoffs.h"
#include "masters/screen_fixture.h"
#include "workorders/list_odt.h"

namespace torvane::testing {
namespace {

class ImportedWorkshopScreens : public ScreenTest {
  protected:
    void SetUp() override {
        const QString schema = home.makeDatabase(QStringLiteral("esquema.erm"));
        const QString imported = home.file(QStringLiteral("TALLER.erm"));
        ti::MemoryTables tables = oldTables(oldWorkshop(), schema);
        const ti::ImportReport report =
            ti::importTables(tables, home.file(QStringLiteral("TALLER.mdb")), imported);
        ASSERT_EQ(report.rows(QStringLiteral("ODTS")), 2);
        QString reason;
        ASSERT_TRUE(home.session().openDatabase(imported, &reason)) << reason.toStdString();
        ASSERT_EQ(db().path(), imported);
    }
};

TEST_F(ImportedWorkshopScreens, ListCustomerFileAndInvoiceReprint) {
    auto list = open<ListOdt>();
    auto* grid = control<DataGrid>(list.get(), "MshOdts");
    QStringList numbers;
    for (int i = 0; i < grid->rowCount(); ++i) numbers << grid->value(i, "NODT").toString();
    EXPECT_EQ(numbers, (QStringList{"ODT08/03/00002", "ODT65/03/00001"}));

    // The 1965 work order keeps its invoice; printing it again shows the old amounts.
    ASSERT_TRUE(grid->selectWhere("NODT", QStringLiteral("ODT65/03/00001")));
    EXPECT_EQ(textOf(list.get(), "TxtFact"), "FR08/03/00012");
    click(list.get(), "CmdImprimir");
    ASSERT_EQ(services.output.jobs().size(), 1u) << dialogs.lastText().toStdString();
    const QString invoice = services.output.jobs()[0].report.toText();
    for (const char* expected : {"FR08/03/00012", "JOSÉ", "MUÑOZ", "M-1234-AB", "VARIOS", "100,00",
                                 "116,00", "TALLERES PÉREZ"})
        EXPECT_TRUE(invoice.contains(QString::fromUtf8(expected))) << expected << "\n"
                                                                   << invoice.toStdString();
    list->close();

    registerCustomerFileOrigins(home.session(), services, std::make_shared<QPointer<Clientes>>());
    auto file = open<Clientes>();
    EXPECT_EQ(textOf(file.get(), "TxtCodigo"), "C0057");
    EXPECT_EQ(textOf(file.get(), "TxtNif"), "12345678Z");
    EXPECT_TRUE(textOf(file.get(), "txtNombre").startsWith(QStringLiteral("JOSÉ")))
        << textOf(file.get(), "txtNombre").toStdString();
}

}  // namespace
}  // namespace torvane::testing
