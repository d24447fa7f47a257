#include "masters/clientes.h"

#include <gtest/gtest.h>
#include <memory>

#include "controls/opc_entrada.h"
#include "customers_fixture.h"
#include "masters/busqueda_clientes.h"
#include "masters/customer_handoffs.h"
#include "screen_fixture.h"
#include "support/scripted_dialogs.h"

using namespace torvane;
using namespace torvane::testing;
using Icon = Dialogs::Icon;

namespace {

class ClientesScreen : public ScreenTest {
  protected:
    ClientesScreen() {
        registerCustomerFileOrigins(home.session(), services,
                                    std::make_shared<QPointer<Clientes>>());
    }
};

// Codes, mandatory fields and stored columns are CustomerCode's and CustomerRecord's; here the
// screen proposes, checks what is typed and switches between editing and browsing (staying in
// edit mode after a refusal is the RecordController's).
TEST_F(ClientesScreen, NewCustomerIsCheckedThenSaved) {
    addCustomer(db(), "0001", "UNO");
    addCustomer(db(), "0003", "TRES");
    auto s = open<Clientes>();
    click(s.get(), "CmdNuevo");
    EXPECT_EQ(textOf(s.get(), "TxtCodigo"), "0002");
    // Edit mode: no navigation, no other tab.
    for (const char* off : {"CmdNuevo", "CmdModificar", "CmdEliminar", "CmdBuscarCli", "CmdSalir",
                            "KewlButtons1_0", "KewlButtons1_3"})
        EXPECT_FALSE(enabled(s.get(), off)) << off;
    auto* tabs = control<QTabWidget>(s.get(), "SSTab1");
    EXPECT_FALSE(tabs->isTabEnabled(1));

    type(s.get(), "txtNombre", "garcia lopez");
    type(s.get(), "txtCodPostal", "28a001");  // digits only
    type(s.get(), "TxtNif", "b1234567x");
    control<QLineEdit>(s.get(), "TxtCodigo")->clear();
    click(s.get(), "CmdGuardar");
    EXPECT_TRUE(
        lastMessageIs(dialogs, "Los campos Codigo Nombre y NIF son obligatorios", Icon::Critical));

    dialogs.clear();
    type(s.get(), "TxtCodigo", "0002");
    click(s.get(), "CmdGuardar");
    EXPECT_TRUE(dialogs.messages().empty()) << dialogs.lastText().toStdString();
    auto row = db().firstRow("SELECT * FROM Clientes WHERE Codigo = '0002'");
    ASSERT_TRUE(row);
    EXPECT_EQ(row->value("CP").toString(), "28001");
    EXPECT_EQ(row->value("NIF").toString(), "B1234567X");
    // Back in browse mode on the saved customer.
    EXPECT_EQ(textOf(s.get(), "TxtId"), row->value("Id_Cli").toString());
    EXPECT_TRUE(tabs->isTabEnabled(1));
}

// Which reason blocks a deletion, and its count, is CustomerDelete's; here it is told.
TEST_F(ClientesScreen, DeleteTellsTheBlockingReasonThenEmptiesTheFile) {
    addCustomer(db(), "0001", "UNO");
    const qint64 two = addCustomer(db(), "0002", "DOS");
    addWorkOrder(db(), two, 0, "ODT1");
    auto s = open<Clientes>();
    click(s.get(), "KewlButtons1_3");
    dialogs.answerYes();
    click(s.get(), "CmdEliminar");
    EXPECT_EQ(dialogs.texts().value(0), "Seguro que quiere eliminar el registro DOS");
    EXPECT_TRUE(lastMessageIs(
        dialogs, "No se puede eliminar este cliente porque tiene 1 Ordenes de trabajo a su nombre.",
        Icon::Critical));
    EXPECT_EQ(textOf(s.get(), "txtNombre"), "DOS");

    db().exec("DELETE FROM ODTS");
    dialogs.clear();
    dialogs.answerYes();
    click(s.get(), "CmdEliminar");
    EXPECT_EQ(textOf(s.get(), "txtNombre"), "UNO");  // moved to the first
    EXPECT_TRUE(dialogs.messages().empty());

    dialogs.answerYes();
    click(s.get(), "CmdEliminar");
    EXPECT_EQ(count("SELECT count(*) FROM Clientes"), 0);
    EXPECT_TRUE(lastMessageIs(dialogs, "Se han eliminado todos los clientes", Icon::Exclamation));
    // The emptied record is the RecordController's; the file's own commands go off too.
    for (const char* off : {"CmdNuevoV", "CmdBuscarCli"})
        EXPECT_FALSE(enabled(s.get(), off)) << off;
}

TEST_F(ClientesScreen, VehicleSaveCancelModifyChangeOwnerAndDelete) {
    const qint64 id = addCustomer(db(), "0001", "GARCIA");
    const qint64 b = addCustomer(db(), "0002", "BEATRIZ");
    auto s = open<Clientes>();
    selectTab(s.get(), "SSTab1", 1);
    auto* frame = control(s.get(), "Frame3");
    EXPECT_FALSE(frame->isVisible());  // no vehicles yet

    click(s.get(), "CmdNuevoV");
    EXPECT_TRUE(frame->isVisible());
    auto* venta = control<OpcEntrada>(s.get(), "OpcFechaVenta");
    type(s.get(), "txtMatricula", "1234abc");
    type(s.get(), "txtMarca", "seat");
    type(s.get(), "txtModelo", "ibiza");
    venta->maskEdit()->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    QTest::keyClicks(venta->maskEdit(), "05032008");
    EXPECT_EQ(textOf(s.get(), "txtFechaVenta"), "05/03/2008");
    click(s.get(), "CmdGuardarV");
    auto row = db().firstRow("SELECT * FROM Vehiculos");
    ASSERT_TRUE(row);
    EXPECT_EQ(row->value("Id_Cli").toLongLong(), id);
    EXPECT_EQ(row->value("FechaVenta").toString(), "2008-03-05");
    EXPECT_FALSE(venta->isVisible());
    EXPECT_TRUE(enabled(s.get(), "CmdEliminarV"));

    // Modify keeps the date through the masked field.
    click(s.get(), "CmdModificarV");
    EXPECT_EQ(venta->text(), "05/03/2008");
    setText(s.get(), "txtColor", "rojo");
    click(s.get(), "CmdGuardarV");
    EXPECT_EQ(db().scalar("SELECT Color FROM Vehiculos").toString(), "ROJO");
    EXPECT_EQ(db().scalar("SELECT FechaVenta FROM Vehiculos").toString(), "2008-03-05");

    // A change of owner moves the file to the new owner.
    click(s.get(), "KewlButtons2");
    EXPECT_TRUE(lastMessageIs(dialogs, "Seleccione el nuevo propietario para este vehiculo.",
                              Icon::Information));
    QWidget* search = openWindow("BusquedaClientes");
    ASSERT_NE(search, nullptr);
    EXPECT_FALSE(s->isEnabled());  // the caller waits
    type(search, "txtBusqueda", "0002");
    click(search, "CmdAcciones_1");
    settle();
    EXPECT_EQ(db().scalar("SELECT Id_Cli FROM Vehiculos").toLongLong(), b);
    EXPECT_TRUE(s->isEnabled());
    EXPECT_EQ(textOf(s.get(), "TxtId"), QString::number(b));

    dialogs.clear();
    dialogs.answerYes();
    click(s.get(), "CmdEliminarV");
    EXPECT_EQ(dialogs.texts().value(0),
              "Seguro que quiere eliminar el vehículo con matrícula 1234ABC");
    EXPECT_EQ(count("SELECT count(*) FROM Vehiculos"), 0);
    EXPECT_TRUE(lastMessageIs(dialogs, "Se han eliminado todos los vehiculos para este cliente",
                              Icon::Exclamation));
    for (const char* off : {"CmdModificarV", "CmdEliminarV"})
        EXPECT_FALSE(enabled(s.get(), off)) << off;
}

TEST_F(ClientesScreen, SearchRefusesNoRowRepositionsTheFileOrHandsTheChoiceOver) {
    addCustomer(db(), "0001", "UNO");
    const qint64 two = addCustomer(db(), "0002", "DOS GARCIA");
    auto s = open<Clientes>();
    click(s.get(), "CmdBuscarCli");
    QWidget* search = openWindow("BusquedaClientes");
    ASSERT_NE(search, nullptr);
    click(search, "Option1_3");
    type(search, "txtBusqueda", "zzz");
    click(search, "CmdAcciones_1");
    EXPECT_EQ(dialogs.lastText(), "Ningún registro activo");
    EXPECT_NE(openWindow("BusquedaClientes"), nullptr);

    control<QLineEdit>(search, "txtBusqueda")->clear();
    type(search, "txtBusqueda", "garc");
    auto* grid = control<DataGrid>(search, "MSHFlexGrid1");
    ASSERT_EQ(grid->rowCount(), 1);
    QTest::keyClick(grid, Qt::Key_Return);  // Enter on the row accepts it
    settle();
    EXPECT_EQ(openWindow("BusquedaClientes"), nullptr);
    EXPECT_TRUE(s->isEnabled());
    EXPECT_EQ(textOf(s.get(), "TxtId"), QString::number(two));

    // A registered origin takes the choice and the file stays; another one repositions it.
    std::vector<CustomerChoice> received;
    services.handoffs().customerOrigins.registerOrigin(
        "Venta Recambios", [&](const CustomerChoice& c) { received.push_back(c); });
    click(s.get(), "KewlButtons1_0");
    const std::pair<const char*, const char*> origins[] = {{"Venta Recambios", "UNO"},
                                                           {"Comisiones", "DOS GARCIA"}};
    for (const auto& [origin, shown] : origins) {
        auto* chooser = new BusquedaClientes(home.session(), services, s.get(), origin);
        chooser->setAttribute(Qt::WA_DeleteOnClose);
        chooser->show();
        type(chooser, "txtBusqueda", "0002");
        click(chooser, "CmdAcciones_1");
        settle();
        EXPECT_EQ(textOf(s.get(), "txtNombre"), shown) << origin;
    }
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].customerId, two);
    EXPECT_EQ(received[0].origin, "Venta Recambios");
}

TEST_F(ClientesScreen, NewWorkOrderWaitsForTheEditor) {
    const qint64 a = addCustomer(db(), "0001", "ANTONIO");
    const qint64 v1 = addVehicle(db(), a, "1111AAA", "SEAT", "IBIZA");
    auto s = open<Clientes>();
    selectTab(s.get(), "SSTab1", 1);
    EXPECT_TRUE(control(s.get(), "CmdSeleccionar")->isVisible());
    EXPECT_FALSE(enabled(s.get(), "CmdSeleccionar"));
    NewWorkOrderRequest got;
    services.handoffs().workOrders.setOpener([&](const NewWorkOrderRequest& r) { got = r; });
    s->setCallerName({});  // as a file opened once the editor is there
    click(s.get(), "CmdSeleccionar");
    EXPECT_EQ(got.vehicleId, v1);
    EXPECT_EQ(got.numbering, WorkOrderNumbering::ProbeLoop);
    EXPECT_EQ(got.caller.data(), s.get());
    // Opened for the tow report, the file never starts a work order.
    s->setCallerName("PartesGrua");
    EXPECT_FALSE(enabled(s.get(), "CmdSeleccionar"));
}

}  // namespace
