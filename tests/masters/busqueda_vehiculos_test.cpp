#include "masters/busqueda_vehiculos.h"

#include "controls/screen.h"
#include "customers_fixture.h"
#include "masters/clientes.h"
#include "masters/customer_handoffs.h"
#include "masters/historial_veh.h"
#include "screen_fixture.h"

using namespace torvane;
using namespace torvane::testing;
using Icon = Dialogs::Icon;

namespace {

class VehicleSearchScreen : public ScreenTest {
  protected:
    void SetUp() override {
        registerCustomerFileOrigins(home.session(), services,
                                    std::make_shared<QPointer<Clientes>>());
        const qint64 antonio = addCustomer(home.db(), "0001", "ANTONIO PEREZ");
        beatriz = addCustomer(home.db(), "0002", "BEATRIZ GOMEZ");
        ibiza = addVehicle(home.db(), antonio, "1111AAA", "SEAT", "IBIZA");
        addVehicle(home.db(), beatriz, "2222BBB", "FORD", "FOCUS");
        leon = addVehicle(home.db(), beatriz, "1234CCC", "SEAT", "LEON");
        caller.setObjectName("Menu");
        caller.show();
    }
    BusquedaVehiculos* openSearch(BusquedaVehiculos::Use use = BusquedaVehiculos::Use::WorkOrder,
                                  QWidget* from = nullptr, const QVariant& towCustomer = {}) {
        auto* s = new BusquedaVehiculos(home.session(), services, from ? from : &caller, use,
                                        towCustomer);
        openScreen(from ? from : &caller, s);
        return s;
    }
    QStringList plates(QWidget* s) {
        auto* g = control<DataGrid>(s, "MSHFlexGrid1");
        QStringList out;
        for (int r = 0; r < g->rowCount(); ++r) out << g->value(r, "Matricula").toString();
        return out;
    }

    QWidget caller;
    qint64 beatriz = 0, ibiza = 0, leon = 0;
};

TEST_F(VehicleSearchScreen, EachOptionRequeriesAtEveryKeystroke) {
    auto* s = openSearch();
    EXPECT_FALSE(caller.isEnabled());
    EXPECT_EQ(plates(s), (QStringList{"1111AAA", "2222BBB", "1234CCC"}));
    // The owner option reaches its query (the matching rules are VehicleSearch's).
    click(s, "Option1_3");
    setText(s, "txtBusqueda", "BEAT");
    EXPECT_EQ(plates(s), (QStringList{"2222BBB", "1234CCC"}));
    // Every keystroke counts: one more letter narrows the list.
    click(s, "Option1_0");
    setText(s, "txtBusqueda", "1");
    EXPECT_EQ(plates(s).size(), 2);
    type(s, "txtBusqueda", "1");
    EXPECT_EQ(plates(s), QStringList{"1111AAA"});
    EXPECT_EQ(textOf(s, "Text1"), QString::number(ibiza));
    click(s, "CmdSalir");
    settle();
    EXPECT_TRUE(caller.isEnabled());
}

TEST_F(VehicleSearchScreen, BrowserAndWorkOrderUses) {
    NewWorkOrderRequest got;
    services.handoffs().workOrders.setOpener([&](const NewWorkOrderRequest& r) { got = r; });
    auto* browser = openSearch(BusquedaVehiculos::Use::Browser);
    EXPECT_FALSE(enabled(browser, "CmdSeleccionar"));
    EXPECT_TRUE(enabled(browser, "CmdHistorial"));
    browser->close();
    settle();

    auto* s = openSearch();
    type(s, "txtBusqueda", "1234");
    ASSERT_TRUE(enabled(s, "CmdSeleccionar"));
    click(s, "CmdSeleccionar");
    services.handoffs().workOrders.setOpener(nullptr);
    EXPECT_EQ(got.vehicleId, leon);
    EXPECT_EQ(got.numbering, WorkOrderNumbering::NextNumber);

    // Without the editor the command stays off.
    auto* later = openSearch();
    EXPECT_FALSE(enabled(later, "CmdSeleccionar"));
}

TEST_F(VehicleSearchScreen, EmptyListTurnsTheCommandsOff) {
    db().exec("DELETE FROM Vehiculos");
    auto* s = openSearch();
    for (const char* off :
         {"CmdSeleccionar", "CmdHistorial", "KewlButtons2", "CmdNuevoVehiculo", "KewlButtons1"})
        EXPECT_FALSE(enabled(s, off)) << off;
    EXPECT_TRUE(enabled(s, "CmdSalir"));
}

TEST_F(VehicleSearchScreen, TowReportGetsPlateMakeAndModel) {
    QWidget tow;
    tow.setObjectName("PartesGrua");
    tow.show();
    VehicleChoice got;
    services.handoffs().vehicleChoices.registerCaller("PartesGrua",
                                                      [&](const VehicleChoice& c) { got = c; });
    auto* s = openSearch(BusquedaVehiculos::Use::WorkOrder, &tow, beatriz);
    EXPECT_EQ(plates(s), (QStringList{"2222BBB", "1234CCC"}));  // only the tow customer's
    clickRow(control<DataGrid>(s, "MSHFlexGrid1"), 1);
    click(s, "CmdSeleccionar");
    settle();
    EXPECT_EQ(got.vehicleId, leon);
    EXPECT_EQ(got.plate, "1234CCC");
    EXPECT_EQ(got.make + " " + got.model, "SEAT LEON");
    EXPECT_EQ(got.caller.data(), &tow);
    EXPECT_TRUE(tow.isEnabled());
}

TEST_F(VehicleSearchScreen, NewCustomerAndNewVehicleOpenTheCustomerFile) {
    auto* s = openSearch();
    click(s, "KewlButtons1");
    auto* file = qobject_cast<Clientes*>(openWindow("Clientes"));
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(enabled(file, "CmdGuardar"));
    click(file, "CmdCancelar");
    file->close();
    settle();
    EXPECT_TRUE(s->isEnabled());

    click(s, "Option1_0");
    type(s, "txtBusqueda", "2222");
    click(s, "CmdNuevoVehiculo");
    settle();
    EXPECT_EQ(openWindow("BusquedaVehiculos"), nullptr);  // the search hands over
    file = qobject_cast<Clientes*>(openWindow("Clientes"));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(textOf(file, "TxtId"), QString::number(beatriz));
    EXPECT_TRUE(enabled(file, "CmdGuardarV"));
    EXPECT_FALSE(caller.isEnabled());  // still waiting for the customer file
    file->close();
    settle();
    EXPECT_TRUE(caller.isEnabled());
}

// The vehicle's history: choosing a work order lists its jobs and its materials.
TEST_F(VehicleSearchScreen, HistoryFollowsTheChosenWorkOrder) {
    const qint64 antonio =
        db().scalar("SELECT Id_Cli FROM Vehiculos WHERE Id_Veh = ?", {ibiza}).toLongLong();
    for (const char* number : {"08/00001", "08/00002"}) {
        addWorkOrder(db(), antonio, ibiza, number);
        db().exec("INSERT INTO TrabajosRealizadosODT (NODT, TRealizado) VALUES (?, ?)",
                  {number, QStringLiteral("FRENOS %1").arg(number)});
        db().exec("INSERT INTO MaterialesODT (NODT, Descripcion) VALUES (?, ?)",
                  {number, QStringLiteral("PASTILLAS %1").arg(number)});
    }
    HistorialVeh history(home.session(), services, ibiza);
    auto shown = [&](const char* grid, const char* field) {
        auto* g = control<DataGrid>(&history, grid);
        return g->rowCount() == 1 ? g->value(0, field).toString() : QString();
    };
    EXPECT_EQ(shown("MshTrabajos", "TRealizado"), "FRENOS 08/00001");
    EXPECT_EQ(shown("MshMateriales", "Descripcion"), "PASTILLAS 08/00001");
    clickRow(control<DataGrid>(&history, "MshOdts"), 1);
    EXPECT_EQ(shown("MshTrabajos", "TRealizado"), "FRENOS 08/00002");
    EXPECT_EQ(shown("MshMateriales", "Descripcion"), "PASTILLAS 08/00002");
}

}  // namespace
