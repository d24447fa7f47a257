#include <tuple>

#include <QListWidget>

#include "masters/screen_fixture.h"
#include "workorders/list_odt.h"
#include "workorders/wolist_fixture.h"

namespace torvane::testing {
namespace {

using Icon = Dialogs::Icon;

// A workshop with ordinary, internal and estimate work orders of two customers.
class ListOdtScreen : public ScreenTest {
  protected:
    void SetUp() override {
        home.session().setToday(QDate(2008, 3, 5));
        const qint64 ana = insertCustomer(db(), "ANA");
        const qint64 bea = insertCustomer(db(), "BEA");
        va = insertVehicle(db(), ana, "A1234BC");
        const qint64 vb = insertVehicle(db(), bea, "BA9876Z", "FORD", "FOCUS");
        // Newest first on screen: ODT/0004, ODT/0003, ODT/0002, ODT/0001.
        // number, customer, vehicle, date, internal, nominal, invoice, delivery note
        const OrderRow orders[] = {
            {"ODT/0001", ana, va, "2008-03-01", "No", "100"},
            {"ODT/0002", ana, va, "2008-03-02", "No", "50", "FR08/03/00001", "AL08/03/00001"},
            {"ODT/0003", bea, vb, "2008-03-03", "No", "20"},
            {"ODT/0004", ana, va, "2008-03-04", "Si", "10"},
        };
        for (const OrderRow& o : orders) insertOrder(db(), o);
        db().exec(
            "INSERT INTO FacturasODT (NFactura, Fecha, Base, IVA, Importe, Pagado) VALUES "
            "('FR08/03/00001', '2008-03-02', 50, 8, 58, 0)");
    }
    std::unique_ptr<ListOdt> openList() { return open<ListOdt>(); }
    DataGrid* grid(QWidget* w, const char* name) { return control<DataGrid>(w, name); }
    QStringList numbers(DataGrid* g) {
        QStringList out;
        for (int i = 0; i < g->rowCount(); ++i) out << g->value(i, "NODT").toString();
        return out;
    }
    // Makes the work order current on tab 0.
    void choose(QWidget* w, const QString& number) {
        ASSERT_TRUE(grid(w, "MshOdts")->selectWhere("NODT", number)) << number.toStdString();
    }
    QString text(const char* sql) { return db().scalar(sql).toString(); }
    qint64 va = 0;
};

TEST_F(ListOdtScreen, OpensWithEachTabThenSearchesAsTheUserTypes) {
    auto w = openList();
    EXPECT_EQ(numbers(grid(w.get(), "MshOdts")), (QStringList{"ODT/0003", "ODT/0002", "ODT/0001"}));
    EXPECT_EQ(numbers(grid(w.get(), "MSHODTSInt")), QStringList{"ODT/0004"});
    EXPECT_EQ(grid(w.get(), "MSHPresupuestos")->rowCount(), 0);
    EXPECT_EQ(textOf(w.get(), "txtProxFact"), "FR08/03/00002");
    EXPECT_EQ(textOf(w.get(), "TxtNODT"), "ODT/0003");
    // An empty tab offers neither search nor commands.
    EXPECT_FALSE(enabled(w.get(), "Text1"));
    EXPECT_FALSE(enabled(w.get(), "KewlButtons2"));
    EXPECT_TRUE(enabled(w.get(), "TxtBusquedaInt"));
    EXPECT_TRUE(enabled(w.get(), "CmdEliminarFact"));

    // The search rules are ListQueries'; here an option and a filter reach their query.
    click(w.get(), "Option1_1");
    click(w.get(), "Option2_0");
    setText(w.get(), "txtBusqueda", "a");
    EXPECT_EQ(textOf(w.get(), "txtBusqueda"), "A");
    EXPECT_EQ(numbers(grid(w.get(), "MshOdts")), QStringList{"ODT/0001"});
}

TEST_F(ListOdtScreen, RefusalsNameTheMissingStep) {
    auto w = openList();
    // The print refusals are the list's own; the invoicing refusals' texts are ListInvoicing's.
    const std::tuple<const char*, const char*, const char*, Icon> cases[] = {
        {"ODT/0001", "CmdImprimir", "Para poder imprimir debe facturar primero", Icon::Critical},
        {"ODT/0001", "CmdImprimirAlb", "Para poder imprimir debe crear el Albarán primero",
         Icon::Critical},
        {"ODT/0003", "CmdFacturasPendientes",
         "Este cliente no tiene mas de una factura pendiente de facturar", Icon::Information},
    };
    for (const auto& [number, command, message, icon] : cases) {
        dialogs.clear();
        choose(w.get(), number);
        click(w.get(), command);
        EXPECT_EQ(dialogs.messages().size(), 1u) << command;
        EXPECT_TRUE(lastMessageIs(dialogs, QString::fromUtf8(message), icon)) << command;
    }
    EXPECT_TRUE(services.output.jobs().empty());
    EXPECT_EQ(count("SELECT count(*) FROM FacturasODT"), 1);
}

TEST_F(ListOdtScreen, EditHandsTheWorkOrderToTheEditor) {
    std::vector<qint64> edited;
    services.handoffs().workOrders.setEditor(
        [&](const EditWorkOrderRequest& r) { edited.push_back(r.workOrderId); });
    auto w = openList();
    choose(w.get(), "ODT/0002");
    click(w.get(), "CmdEditar");
    EXPECT_EQ(dialogs.lastText(), "No se puede editar una Orden de Trabajo ya facturada");
    EXPECT_TRUE(edited.empty());
    choose(w.get(), "ODT/0001");
    click(w.get(), "CmdEditar");
    EXPECT_EQ(edited, std::vector<qint64>{1});
    EXPECT_FALSE(w->isVisible());
}

TEST_F(ListOdtScreen, ANumberInUseIsRefusedThenTheListInvoicesAndRemoves) {
    auto w = openList();
    auto* field = control<QLineEdit>(w.get(), "txtProxFact");
    field->clear();
    type(w.get(), "txtProxFact", "fr08/03/00001");
    control<QLineEdit>(w.get(), "txtBusqueda")->setFocus();
    EXPECT_EQ(dialogs.lastText(), "El número de factura FR08/03/00001 ya está en uso.");
    EXPECT_EQ(field->text(), "FR08/03/00002");
    dialogs.clear();
    choose(w.get(), "ODT/0001");
    dialogs.answerYes();  // paid
    dialogs.answerYes();  // print now
    click(w.get(), "CmdFacturar");
    EXPECT_EQ(dialogs.texts(),
              (QStringList{"¿Marcar como pagada?", "¿Desea imprimir la factura ahora?"}));
    EXPECT_EQ(textOf(w.get(), "txtProxFact"), "FR08/03/00003");
    // Still on the same work order, now invoiced.
    EXPECT_EQ(textOf(w.get(), "TxtFact"), "FR08/03/00002");
    ASSERT_EQ(services.output.jobs().size(), 1u);
    EXPECT_TRUE(services.output.jobs()[0].report.toText().contains("116,00"));

    click(w.get(), "CmdEliminarFact");
    EXPECT_EQ(textOf(w.get(), "TxtFact"), "No");
    EXPECT_EQ(count("SELECT count(*) FROM FacturasODT WHERE NFactura = 'FR08/03/00002'"), 0);
}

TEST_F(ListOdtScreen, DeliveryNotesDeletionAndInternal) {
    auto w = openList();
    choose(w.get(), "ODT/0001");
    click(w.get(), "CmdCrearAlb");
    EXPECT_EQ(textOf(w.get(), "TxtAlb"), "AL08/03/00002");
    click(w.get(), "CmdImprimirAlb");
    ASSERT_EQ(services.output.jobs().size(), 1u);
    EXPECT_TRUE(services.output.jobs()[0].report.toText().contains("AL08/03/00002"));

    dialogs.answerNo();
    click(w.get(), "CmdEliminar");
    EXPECT_EQ(dialogs.lastText(), "Seguro que quiere eliminar esta ODT");
    dialogs.answerYes();
    click(w.get(), "CmdEliminar");
    EXPECT_EQ(numbers(grid(w.get(), "MshOdts")), (QStringList{"ODT/0003", "ODT/0002"}));
    EXPECT_EQ(textOf(w.get(), "TxtNODT"), "ODT/0002");

    // Made internal and back.
    choose(w.get(), "ODT/0003");
    click(w.get(), "CmdConvertir");
    EXPECT_EQ(numbers(grid(w.get(), "MSHODTSInt")), (QStringList{"ODT/0004", "ODT/0003"}));
    EXPECT_EQ(numbers(grid(w.get(), "MshOdts")), QStringList{"ODT/0002"});
    selectTab(w.get(), "SSTab1", 2);
    grid(w.get(), "MSHODTSInt")->selectWhere("NODT", "ODT/0003");
    click(w.get(), "KewlButtons6");
    EXPECT_EQ(numbers(grid(w.get(), "MSHODTSInt")), QStringList{"ODT/0004"});
    EXPECT_EQ(count("SELECT count(*) FROM ODTS WHERE Interna = 'No'"), 2);
}

// "Todas" invoices every pending order of the customer at once (which ones is ListInvoicing's).
TEST_F(ListOdtScreen, UniFacturaAllInvoicesEveryPendingOrderOfTheCustomer) {
    auto w = openList();
    choose(w.get(), "ODT/0001");
    dialogs.answerYes();  // "Todas"
    dialogs.answerNo();   // not paid
    click(w.get(), "CmdFacturasPendientes");
    ASSERT_FALSE(dialogs.entries().empty());
    EXPECT_EQ(dialogs.entries()[0].extra, "Todas|Seleccionar");
    EXPECT_EQ(count("SELECT count(*) FROM ODTS WHERE NFactura = 'FR08/03/00002'"), 2);
    EXPECT_EQ(count("SELECT count(*) FROM Cobros"), 0);
    ASSERT_EQ(services.output.jobs().size(), 1u);
    EXPECT_FALSE(w->isVisible());
}

TEST_F(ListOdtScreen, UniFacturaByChoice) {
    insertOrder(db(), {"ODT/0005", 1, va, "2008-03-05", "No", "30"});
    auto w = openList();
    choose(w.get(), "ODT/0001");
    dialogs.answerNo();  // "Seleccionar"
    click(w.get(), "CmdFacturasPendientes");
    QWidget* uni = openWindow("UnifacturaODT");
    ASSERT_NE(uni, nullptr);
    // Ordinary work orders only.
    EXPECT_EQ(numbers(grid(uni, "MshOdts")), (QStringList{"ODT/0005", "ODT/0001"}));
    grid(uni, "MshOdts")->setCurrentRowIndex(1);
    click(uni, "Cmd");
    click(uni, "Cmd");  // once only
    EXPECT_EQ(control<QListWidget>(uni, "List1")->count(), 1);
    dialogs.answerYes();
    click(uni, "CmdFacturar");
    EXPECT_EQ(text("SELECT NFactura FROM ODTS WHERE NODT = 'ODT/0001'"), "FR08/03/00002");
    EXPECT_EQ(text("SELECT NFactura FROM ODTS WHERE NODT = 'ODT/0005'"), "No");
    EXPECT_EQ(services.output.jobs().size(), 1u);
}

TEST_F(ListOdtScreen, MultiFacturaInvoicesEachChosenOrder) {
    auto w = openList();
    click(w.get(), "CmdMultiFactura");
    QWidget* multi = openWindow("MultiFacturaODT");
    ASSERT_NE(multi, nullptr);
    DataGrid* g = grid(multi, "MshOdts");
    EXPECT_EQ(numbers(g), (QStringList{"ODT/0001", "ODT/0003"}));
    for (int row : {1, 0}) {
        g->setCurrentRowIndex(row);
        click(multi, "Cmd");
    }
    dialogs.answerYes();
    click(multi, "CmdFacturar");
    EXPECT_EQ(text("SELECT NFactura FROM ODTS WHERE NODT = 'ODT/0003'"), "FR08/03/00002");
    EXPECT_EQ(text("SELECT NFactura FROM ODTS WHERE NODT = 'ODT/0001'"), "FR08/03/00003");
    EXPECT_EQ(services.output.jobs().size(), 2u);
}

TEST_F(ListOdtScreen, NothingPendingForMultiFactura) {
    db().exec("UPDATE ODTS SET NFactura = 'FR1'");
    auto w = openList();
    click(w.get(), "CmdMultiFactura");
    EXPECT_EQ(dialogs.lastText(), "No existen trabajos pendientes de facturar");
    EXPECT_EQ(openWindow("MultiFacturaODT"), nullptr);
}

}  // namespace
}  // namespace torvane::testing
