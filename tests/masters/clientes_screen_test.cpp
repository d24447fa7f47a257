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
    std::unique_ptr<Clientes> openFile() { return open<Clientes>(); }
};

TEST_F(ClientesScreen, NewCustomerTakesTheFirstFreeCodeAndIsSaved) {
    addCustomer(db(), "0001", "UNO");
    addCustomer(db(), "0003", "TRES");
    auto s = openFile();
    click(s.get(), "CmdNuevo");
    EXPECT_EQ(textOf(s.get(), "TxtCodigo"), "0002");
    EXPECT_EQ(textOf(s.get(), "txtNombre"), "");
    EXPECT_EQ(textOf(s.get(), "TxtNif"), "");
    // Edit mode: only save and cancel, no navigation, no other tab.
    for (const char* on : {"CmdGuardar", "CmdCancelar"}) EXPECT_TRUE(enabled(s.get(), on)) << on;
    for (const char* off : {"CmdNuevo", "CmdModificar", "CmdEliminar", "CmdBuscarCli", "CmdSalir",
                            "KewlButtons1_0", "KewlButtons1_3"})
        EXPECT_FALSE(enabled(s.get(), off)) << off;
    auto* tabs = control<QTabWidget>(s.get(), "SSTab1");
    EXPECT_FALSE(tabs->isTabEnabled(1));
    EXPECT_FALSE(tabs->isTabEnabled(2));

    type(s.get(), "txtNombre", "garcia lopez");
    type(s.get(), "txtCalle", "c/ mayor 1");
    type(s.get(), "txtCodPostal", "28a001");  // digits only
    type(s.get(), "txtTelefono", "91x5");
    type(s.get(), "TxtDescuento", "5x");
    type(s.get(), "txtCodContable", "430001");
    type(s.get(), "TxtNif", "b1234567x");
    click(s.get(), "CmdGuardar");
    EXPECT_TRUE(dialogs.messages().empty()) << dialogs.lastText().toStdString();

    auto row = db().firstRow("SELECT * FROM Clientes WHERE Codigo = '0002'");
    ASSERT_TRUE(row);
    EXPECT_EQ(row->value("Nombre").toString(), "GARCIA LOPEZ");
    EXPECT_EQ(row->value("Direccion").toString(), "C/ MAYOR 1");
    EXPECT_EQ(row->value("CP").toString(), "28001");
    EXPECT_EQ(row->value("Telefono").toString(), "915");
    EXPECT_DOUBLE_EQ(row->value("Descuento").toDouble(), 5.0);
    EXPECT_EQ(row->value("CodigoContable").toString(), "430001");
    EXPECT_EQ(row->value("NIF").toString(), "B1234567X");
    // Back in browse mode on the saved customer.
    EXPECT_EQ(textOf(s.get(), "TxtId"), row->value("Id_Cli").toString());
    EXPECT_TRUE(enabled(s.get(), "CmdModificar"));
    EXPECT_FALSE(enabled(s.get(), "CmdGuardar"));
    EXPECT_TRUE(control<QLineEdit>(s.get(), "txtNombre")->isReadOnly());
    EXPECT_TRUE(tabs->isTabEnabled(1));
}

// Which field is missing is the rule's own table (CustomerRecord.MandatoryFields); here the
// screen checks what is typed, not the code it proposed, and keeps it.
TEST_F(ClientesScreen, SaveRefusesAClearedCodeAndKeepsEditing) {
    auto s = openFile();
    dialogs.clear();
    click(s.get(), "CmdNuevo");
    control<QLineEdit>(s.get(), "TxtCodigo")->clear();
    type(s.get(), "txtNombre", "GARCIA");
    type(s.get(), "TxtNif", "123");
    click(s.get(), "CmdGuardar");
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].text, "Los campos Codigo Nombre y NIF son obligatorios");
    EXPECT_EQ(dialogs.messages()[0].icon, Icon::Critical);
    EXPECT_TRUE(enabled(s.get(), "CmdGuardar"));
    EXPECT_EQ(textOf(s.get(), "txtNombre"), "GARCIA");
    EXPECT_EQ(count("SELECT count(*) FROM Clientes"), 0);
}

TEST_F(ClientesScreen, ModifyAndNavigate) {
    addCustomer(db(), "0001", "UNO");
    addCustomer(db(), "0002", "DOS");
    addCustomer(db(), "0003", "TRES");
    auto s = openFile();
    click(s.get(), "KewlButtons1_2");
    EXPECT_EQ(textOf(s.get(), "txtNombre"), "DOS");
    click(s.get(), "CmdModificar");
    control<QLineEdit>(s.get(), "txtNombre")->clear();
    type(s.get(), "txtNombre", "dos bis");
    click(s.get(), "CmdGuardar");
    EXPECT_EQ(db().scalar("SELECT Nombre FROM Clientes WHERE Codigo = '0002'").toString(),
              "DOS BIS");
    EXPECT_EQ(textOf(s.get(), "txtNombre"), "DOS BIS");
    EXPECT_EQ(count("SELECT count(*) FROM Clientes"), 3);
}

TEST_F(ClientesScreen, DeleteNamesOnlyTheFirstBlockingReason) {
    const qint64 id = addCustomer(db(), "0001", "GARCIA");
    db().exec("INSERT INTO FacturasLibres (NFactura, Id_Cli) VALUES ('FL1', ?)", {id});
    addWorkOrder(db(), id, 0, "ODT1");
    addWorkOrder(db(), id, 0, "ODT2");
    auto s = openFile();
    dialogs.answerYes();
    click(s.get(), "CmdEliminar");
    EXPECT_EQ(
        dialogs.texts(),
        (QStringList{
            "Seguro que quiere eliminar el registro GARCIA",
            "No se puede eliminar este cliente porque tiene 2 Facturas libres a su nombre."}));
    EXPECT_EQ(dialogs.messages().back().icon, Icon::Critical);
    EXPECT_EQ(count("SELECT count(*) FROM Clientes"), 1);
    EXPECT_EQ(textOf(s.get(), "txtNombre"), "GARCIA");
}

TEST_F(ClientesScreen, DeletingMovesToTheFirstThenEmptiesTheFile) {
    const qint64 one = addCustomer(db(), "0001", "UNO");
    addCustomer(db(), "0002", "DOS");
    addVehicle(db(), one, "1234ABC", "SEAT", "IBIZA");
    auto s = openFile();
    click(s.get(), "KewlButtons1_3");
    dialogs.answerYes();
    click(s.get(), "CmdEliminar");
    EXPECT_EQ(textOf(s.get(), "txtNombre"), "UNO");
    EXPECT_TRUE(dialogs.messages().empty());

    dialogs.answerYes();
    click(s.get(), "CmdEliminar");
    EXPECT_EQ(count("SELECT count(*) FROM Clientes"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM Vehiculos"), 1);  // vehicles are kept
    ASSERT_FALSE(dialogs.messages().empty());
    EXPECT_EQ(dialogs.messages().back().text, "Se han eliminado todos los clientes");
    EXPECT_EQ(dialogs.messages().back().icon, Icon::Exclamation);
    // The emptied record is the RecordController's; the file's own commands go off too.
    for (const char* off : {"CmdNuevoV", "CmdBuscarCli"})
        EXPECT_FALSE(enabled(s.get(), off)) << off;

    // A new customer can still be created.
    click(s.get(), "CmdNuevo");
    EXPECT_EQ(textOf(s.get(), "TxtCodigo"), "0001");
}

TEST_F(ClientesScreen, VehicleSaveCancelAndDelete) {
    const qint64 id = addCustomer(db(), "0001", "GARCIA");
    auto s = openFile();
    selectTab(s.get(), "SSTab1", 1);
    auto* frame = control(s.get(), "Frame3");
    EXPECT_FALSE(frame->isVisible());  // no vehicles yet
    EXPECT_FALSE(enabled(s.get(), "CmdSeleccionar"));

    click(s.get(), "CmdNuevoV");
    EXPECT_TRUE(frame->isVisible());
    auto* venta = control<OpcEntrada>(s.get(), "OpcFechaVenta");
    EXPECT_TRUE(venta->isVisible());
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
    EXPECT_EQ(row->value("Matricula").toString(), "1234ABC");
    EXPECT_EQ(row->value("Modelo").toString(), "IBIZA");
    EXPECT_EQ(row->value("FechaVenta").toString(), "2008-03-05");
    EXPECT_FALSE(venta->isVisible());
    EXPECT_EQ(control<DataGrid>(s.get(), "MSHVehiculos")->rowCount(), 1);
    EXPECT_TRUE(enabled(s.get(), "CmdEliminarV"));

    // Cancel leaves nothing behind and shows the current vehicle again.
    click(s.get(), "CmdNuevoV");
    type(s.get(), "txtMatricula", "9999ZZZ");
    click(s.get(), "CmdCancelarV");
    EXPECT_EQ(count("SELECT count(*) FROM Vehiculos"), 1);
    EXPECT_EQ(textOf(s.get(), "txtMatricula"), "1234ABC");

    // Modify keeps the date through the masked field.
    click(s.get(), "CmdModificarV");
    EXPECT_EQ(venta->text(), "05/03/2008");
    control<QLineEdit>(s.get(), "txtColor")->clear();
    type(s.get(), "txtColor", "rojo");
    click(s.get(), "CmdGuardarV");
    EXPECT_EQ(db().scalar("SELECT Color FROM Vehiculos").toString(), "ROJO");
    EXPECT_EQ(db().scalar("SELECT FechaVenta FROM Vehiculos").toString(), "2008-03-05");

    dialogs.clear();
    dialogs.answerYes();
    click(s.get(), "CmdEliminarV");
    EXPECT_EQ(dialogs.texts().value(0),
              "Seguro que quiere eliminar el vehículo con matrícula 1234ABC");
    EXPECT_EQ(count("SELECT count(*) FROM Vehiculos"), 0);
    EXPECT_EQ(dialogs.messages().back().text,
              "Se han eliminado todos los vehiculos para este cliente");
    EXPECT_EQ(dialogs.messages().back().icon, Icon::Exclamation);
    EXPECT_FALSE(enabled(s.get(), "CmdModificarV"));
    EXPECT_FALSE(enabled(s.get(), "CmdEliminarV"));
    EXPECT_EQ(textOf(s.get(), "txtMatricula"), "");
}

TEST_F(ClientesScreen, ChangeOfOwnerMovesTheFileToTheNewOwner) {
    const qint64 a = addCustomer(db(), "0001", "ANTONIO");
    const qint64 b = addCustomer(db(), "0002", "BEATRIZ");
    const qint64 veh = addVehicle(db(), a, "1234ABC", "SEAT", "IBIZA");
    auto s = openFile();
    selectTab(s.get(), "SSTab1", 1);
    click(s.get(), "KewlButtons2");
    EXPECT_EQ(dialogs.messages().back().text,
              "Seleccione el nuevo propietario para este vehiculo.");
    EXPECT_EQ(dialogs.messages().back().icon, Icon::Information);
    QWidget* search = openWindow("BusquedaClientes");
    ASSERT_NE(search, nullptr);
    EXPECT_FALSE(s->isEnabled());  // the caller waits
    type(search, "txtBusqueda", "0002");
    ASSERT_EQ(control<DataGrid>(search, "MSHFlexGrid1")->rowCount(), 1);
    EXPECT_EQ(textOf(search, "Text1"), QString::number(b));
    click(search, "CmdAcciones_1");
    settle();
    EXPECT_EQ(db().scalar("SELECT Id_Cli FROM Vehiculos WHERE Id_Veh = ?", {veh}).toLongLong(), b);
    EXPECT_EQ(openWindow("BusquedaClientes"), nullptr);
    EXPECT_TRUE(s->isEnabled());
    EXPECT_EQ(textOf(s.get(), "TxtId"), QString::number(b));
    EXPECT_EQ(textOf(s.get(), "txtMatricula"), "1234ABC");
}

TEST_F(ClientesScreen, SearchRepositionsTheFile) {
    addCustomer(db(), "0001", "UNO");
    const qint64 two = addCustomer(db(), "0002", "DOS GARCIA");
    addCustomer(db(), "0003", "TRES");
    auto s = openFile();
    click(s.get(), "CmdBuscarCli");
    QWidget* search = openWindow("BusquedaClientes");
    ASSERT_NE(search, nullptr);
    click(search, "Option1_3");
    type(search, "txtBusqueda", "garc");
    EXPECT_EQ(textOf(search, "txtBusqueda"), "GARC");
    auto* grid = control<DataGrid>(search, "MSHFlexGrid1");
    ASSERT_EQ(grid->rowCount(), 1);
    QTest::keyClick(grid, Qt::Key_Return);  // Enter on the row accepts it
    settle();
    EXPECT_EQ(openWindow("BusquedaClientes"), nullptr);
    EXPECT_EQ(textOf(s.get(), "TxtId"), QString::number(two));
    EXPECT_EQ(textOf(s.get(), "txtNombre"), "DOS GARCIA");
}

TEST_F(ClientesScreen, RegisteredOriginsTakeTheChoiceAndOthersRepositionTheFile) {
    addCustomer(db(), "0001", "UNO");
    const qint64 two = addCustomer(db(), "0002", "DOS");
    qint64 received = 0;
    QString origin;
    services.handoffs().customerOrigins.registerOrigin("Venta Recambios",
                                                       [&](const CustomerChoice& c) {
                                                           received = c.customerId;
                                                           origin = c.origin;
                                                       });
    auto s = openFile();
    {
        auto* search = new BusquedaClientes(home.session(), services, s.get(), "Venta Recambios");
        search->show();
        type(search, "txtBusqueda", "0002");
        click(search, "CmdAcciones_1");
        settle();
    }
    EXPECT_EQ(received, two);
    EXPECT_EQ(origin, "Venta Recambios");
    EXPECT_EQ(textOf(s.get(), "txtNombre"), "UNO");  // the file did not move

    // An origin nobody registered falls back to repositioning the customer file.
    {
        auto* search = new BusquedaClientes(home.session(), services, s.get(), "Comisiones");
        search->setAttribute(Qt::WA_DeleteOnClose);
        search->show();
        type(search, "txtBusqueda", "0002");
        click(search, "CmdAcciones_1");
        settle();
    }
    EXPECT_EQ(textOf(s.get(), "txtNombre"), "DOS");
}

TEST_F(ClientesScreen, AcceptWithoutARowSaysSo) {
    addCustomer(db(), "0001", "UNO");
    auto s = openFile();
    click(s.get(), "CmdBuscarCli");
    QWidget* search = openWindow("BusquedaClientes");
    ASSERT_NE(search, nullptr);
    type(search, "txtBusqueda", "ZZZ");
    EXPECT_EQ(textOf(search, "Text1"), "");
    click(search, "CmdAcciones_1");
    EXPECT_EQ(dialogs.lastText(), "Ningún registro activo");
    EXPECT_NE(openWindow("BusquedaClientes"), nullptr);
    click(search, "CmdAcciones_2");
    settle();
    EXPECT_EQ(openWindow("BusquedaClientes"), nullptr);
    EXPECT_TRUE(s->isEnabled());
}

TEST_F(ClientesScreen, HistoryGridsFollowTheSelection) {
    const qint64 a = addCustomer(db(), "0001", "ANTONIO");
    addCustomer(db(), "0002", "BEATRIZ");
    const qint64 v1 = addVehicle(db(), a, "1111AAA", "SEAT", "IBIZA");
    const qint64 v2 = addVehicle(db(), a, "2222BBB", "FORD", "KA");
    addWorkOrder(db(), a, v1, "ODT-1", "2008-03-05", 1234.5);
    addWorkOrder(db(), a, v1, "ODT-2", "2008-04-07");
    addWorkOrder(db(), a, v2, "ODT-3", "2009-01-02");
    db().exec("INSERT INTO TrabajosRealizadosODT (NODT, TRealizado) VALUES ('ODT-2', 'FRENOS')");
    db().exec("INSERT INTO Albaranes (Id_Alb, Id_Cli) VALUES ('AR1', ?)", {a});
    db().exec("INSERT INTO Salidas (Id_Alb, Codigo, Precio) VALUES ('AR1', 'P1', 1234.5)");

    auto s = openFile();
    selectTab(s.get(), "SSTab1", 2);
    auto* vehicles = control<DataGrid>(s.get(), "MSHVehiculos2");
    auto* odts = control<DataGrid>(s.get(), "MSHODTS");
    auto* jobs = control<DataGrid>(s.get(), "MSHTrabajosODT");
    auto* parts = control<DataGrid>(s.get(), "MSHRecambios");
    selectTab(s.get(), "SSTab2", 1);
    ASSERT_EQ(odts->rowCount(), 2);
    EXPECT_EQ(odts->displayText(0, "Nominal"), "1.234,50");
    EXPECT_EQ(jobs->rowCount(), 0);
    ASSERT_EQ(parts->rowCount(), 1);
    clickRow(odts, 1);
    EXPECT_EQ(jobs->rowCount(), 1);
    clickRow(vehicles, 1);
    ASSERT_EQ(odts->rowCount(), 1);
    EXPECT_EQ(odts->displayText(0, "NODT"), "ODT-3");
    // Another customer: every grid follows.
    selectTab(s.get(), "SSTab1", 0);
    click(s.get(), "KewlButtons1_2");
    EXPECT_EQ(vehicles->rowCount(), 0);
    EXPECT_EQ(parts->rowCount(), 0);
}

TEST_F(ClientesScreen, VehicleHistoryScreen) {
    const qint64 a = addCustomer(db(), "0001", "ANTONIO");
    const qint64 v1 = addVehicle(db(), a, "1111AAA", "SEAT", "IBIZA");
    addWorkOrder(db(), a, v1, "ODT-1", "2008-03-05");
    addWorkOrder(db(), a, v1, "ODT-2", "2008-04-07");
    db().exec("INSERT INTO TrabajosRealizadosODT (NODT, TRealizado) VALUES ('ODT-2', 'FRENOS')");
    db().exec("INSERT INTO MaterialesODT (NODT, Descripcion) VALUES ('ODT-1', 'FILTRO')");
    auto s = openFile();
    selectTab(s.get(), "SSTab1", 1);
    click(s.get(), "CmdHistorial");
    QWidget* history = openWindow("HistorialVeh");
    ASSERT_NE(history, nullptr);
    EXPECT_FALSE(s->isEnabled());
    auto* odts = control<DataGrid>(history, "MshOdts");
    auto* jobs = control<DataGrid>(history, "MshTrabajos");
    auto* materials = control<DataGrid>(history, "MshMateriales");
    ASSERT_EQ(odts->rowCount(), 2);
    EXPECT_EQ(odts->displayText(1, "Fecha"), "07/04/2008");
    EXPECT_EQ(materials->rowCount(), 1);
    EXPECT_EQ(jobs->rowCount(), 0);
    clickRow(odts, 1);
    EXPECT_EQ(jobs->rowCount(), 1);
    EXPECT_EQ(materials->rowCount(), 0);
    click(history, "CmdSalir");
    settle();
    EXPECT_TRUE(s->isEnabled());
}

TEST_F(ClientesScreen, NewWorkOrderWaitsForTheEditor) {
    const qint64 a = addCustomer(db(), "0001", "ANTONIO");
    const qint64 v1 = addVehicle(db(), a, "1111AAA", "SEAT", "IBIZA");
    {
        auto s = openFile();
        selectTab(s.get(), "SSTab1", 1);
        EXPECT_TRUE(control(s.get(), "CmdSeleccionar")->isVisible());
        EXPECT_FALSE(enabled(s.get(), "CmdSeleccionar"));
    }
    NewWorkOrderRequest got;
    services.handoffs().workOrders.setOpener([&](const NewWorkOrderRequest& r) { got = r; });
    {
        auto s = openFile();
        selectTab(s.get(), "SSTab1", 1);
        EXPECT_TRUE(enabled(s.get(), "CmdSeleccionar"));
        click(s.get(), "CmdSeleccionar");
        EXPECT_EQ(got.vehicleId, v1);
        EXPECT_EQ(got.numbering, WorkOrderNumbering::ProbeLoop);
        EXPECT_EQ(got.caller.data(), s.get());
        // Opened for the tow report, the file never starts a work order.
        s->setCallerName("PartesGrua");
        EXPECT_FALSE(enabled(s.get(), "CmdSeleccionar"));
    }
}

}  // namespace
