#include <QSignalSpy>

#include "controls/opc_entrada.h"
#include "master_files_fixture.h"
#include "masters/aseguradoras.h"
#include "masters/busqueda_aseguradoras.h"
#include "masters/busqueda_proveedores.h"
#include "masters/company_data.h"
#include "masters/datos_empresa.h"
#include "masters/departamentos.h"
#include "masters/operarios.h"
#include "masters/proveedores.h"
#include "screen_fixture.h"

using namespace torvane;
using namespace torvane::testing;
using Icon = Dialogs::Icon;

namespace {

class OperariosScreen : public ScreenTest {};

// Mandatory fields and searches are MandatoryFields' and Searches'; the refusal and the search
// run as ProveedoresScreen's. Here a new operator is stored, and deleting them all leaves
// their work.
TEST_F(OperariosScreen, NewIsStoredAndDeletingTheLastLeavesTheirWork) {
    addOperator(db(), "2", "GARCIA PEREZ");
    db().exec("INSERT INTO TrabajosRealizadosODT (NODT, NOperario, TRealizado) VALUES (?,?,?)",
              {"OR08/03/00001", "2", "CAMBIO ACEITE"});
    home.session().setToday(QDate(2008, 3, 5));
    auto s = open<Operarios>();
    EXPECT_EQ(control<DataGrid>(s.get(), "MSHTrabajosOdt")->rowCount(), 1);
    click(s.get(), "CmdNuevo");
    EXPECT_EQ(textOf(s.get(), "TxtCodigo"), "3");
    auto* alta = control<OpcEntrada>(s.get(), "OpcFechaAlta");
    EXPECT_EQ(alta->text(), "05/03/2008");
    type(s.get(), "txtNombre", "pepe ruiz");
    type(s.get(), "TxtNif", "x1234567l");
    type(s.get(), "txtTelefono1", "91a1");
    click(s.get(), "CmdGuardar");
    EXPECT_TRUE(dialogs.messages().empty()) << dialogs.lastText().toStdString();
    EXPECT_EQ(count("SELECT count(*) FROM Operarios WHERE Codigo = '3' AND Telefono1 = '911'"), 1);
    EXPECT_FALSE(alta->isVisible());

    for (int i = 0; i < 2; ++i) {
        dialogs.answerYes();
        click(s.get(), "CmdEliminar");
    }
    EXPECT_EQ(dialogs.texts().value(0), "Seguro que quiere eliminar el operario PEPE RUIZ");
    EXPECT_TRUE(lastMessageIs(dialogs, "Se han eliminado todos los operarios", Icon::Exclamation));
    EXPECT_EQ(count("SELECT count(*) FROM TrabajosRealizadosODT"), 1);
}

class DepartamentosScreen : public ScreenTest {};

TEST_F(DepartamentosScreen, PriceWithPointIsStoredAndShownWithComma) {
    auto s = open<Departamentos>();
    click(s.get(), "CmdNuevo");
    type(s.get(), "txtDepartamento", "chapa");
    type(s.get(), "TxtPrecio", "1234.5x");
    EXPECT_EQ(textOf(s.get(), "TxtPrecio"), "1234,5");
    click(s.get(), "CmdGuardar");
    EXPECT_TRUE(dialogs.messages().empty()) << dialogs.lastText().toStdString();
    EXPECT_EQ(db().scalar("SELECT Precio FROM PreciosHora").toDouble(), 1234.5);
    EXPECT_EQ(control<DataGrid>(s.get(), "MSHFlexGrid1")->displayText(0, "Precio"), "1.234,50");
    // A department is deleted without asking.
    click(s.get(), "CmdEliminar");
    EXPECT_TRUE(dialogs.entries().empty()) << dialogs.lastText().toStdString();
    EXPECT_EQ(count("SELECT count(*) FROM PreciosHora"), 0);
}

class ProveedoresScreen : public ScreenTest {};

// A new supplier takes the first free code and needs code, name and NIF; the search then
// positions the file on a supplier whose purchases are listed; deleting the suppliers down
// to none leaves their purchases.
TEST_F(ProveedoresScreen, NewThenSearchAndDeletingLeavesThePurchases) {
    addSupplier(db(), "0001", "AUTO NORTE", "B1");
    const qint64 sur = addSupplier(db(), "0003", "RECAMBIOS SUR", "B2");
    const qint64 art = db().insert("INSERT INTO Articulos (Codigo, Nombre) VALUES ('F1','FILTRO')");
    db().exec(
        "INSERT INTO Entradas (NEntrada, Fecha, Id_Pro, Id_Art) VALUES ('EN1','2008-03-05',?,?)",
        {sur, art});
    auto s = open<Proveedores>();
    click(s.get(), "CmdNuevo");
    EXPECT_EQ(textOf(s.get(), "TxtCodigo"), "0002");
    type(s.get(), "txtNombre", "recambios norte");
    click(s.get(), "CmdGuardar");
    EXPECT_TRUE(
        lastMessageIs(dialogs, "Los campos Codigo Nombre y NIF son obligatorios", Icon::Critical));
    dialogs.clear();
    type(s.get(), "TxtNif", "b12345678");
    click(s.get(), "CmdGuardar");
    EXPECT_TRUE(dialogs.messages().empty()) << dialogs.lastText().toStdString();
    EXPECT_EQ(count("SELECT count(*) FROM Proveedores WHERE Codigo_Pro = '0002'"), 1);

    click(s.get(), "CmdBuscar");
    QWidget* search = openWindow("BusquedaProveedores");
    ASSERT_NE(search, nullptr);
    click(search, "Option1_3");
    type(search, "txtBusqueda", "sur");
    ASSERT_EQ(control<DataGrid>(search, "MSHFlexGrid1")->rowCount(), 1);
    clickRow(control<DataGrid>(search, "MSHFlexGrid1"), 0);
    click(search, "CmdAcciones_1");
    settle();
    EXPECT_EQ(textOf(s.get(), "txtNombre"), "RECAMBIOS SUR");
    auto* grid = control<DataGrid>(s.get(), "MSHEntradasArticulos");
    ASSERT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(grid->displayText(0, "Nombre"), "FILTRO");

    for (int i = 0; i < 3; ++i) {
        dialogs.answerYes();
        click(s.get(), "CmdEliminar");
    }
    EXPECT_EQ(dialogs.texts().value(0), "Seguro que quiere eliminar el proveedor RECAMBIOS SUR");
    EXPECT_TRUE(
        lastMessageIs(dialogs, "Se han eliminado todos los proveedores", Icon::Exclamation));
    EXPECT_EQ(count("SELECT count(*) FROM Entradas WHERE Id_Pro = ?", {sur}), 1);
    EXPECT_FALSE(enabled(s.get(), "CmdBuscar"));
}

// Which report the other origins print is SupplierListing's; the purchase screen's origin gets
// the supplier.
TEST_F(ProveedoresScreen, SearchHandsTheSupplierToPurchases) {
    const qint64 id = addSupplier(db(), "0001", "UNO");
    QList<qint64> handed;
    services.handoffs().supplierOrigins.registerOrigin(
        "Compras", [&](const SearchChoice& c) { handed << c.id; });
    auto* search = new BusquedaProveedores(home.session(), services, nullptr, "Compras");
    search->setAttribute(Qt::WA_DeleteOnClose);
    search->show();
    clickRow(control<DataGrid>(search, "MSHFlexGrid1"), 0);
    click(search, "CmdAcciones_1");
    settle();
    EXPECT_EQ(handed, QList<qint64>{id});
}

class AseguradorasScreen : public ScreenTest {};

// Which fields are mandatory is MandatoryFields' table; the search positions the file as
// ProveedoresScreen's. Here the tariff is stored only by its own save and outlives its insurer,
// a refused new insurer is abandoned, and the search hands the insurer over.
TEST_F(AseguradorasScreen, TariffNewInsurerAndHandOver) {
    const qint64 map = addInsurer(db(), "MAP", "MAPFRE");
    addInsurer(db(), "ALL", "ALLIANZ");
    auto s = open<FrmAseguradoras>();
    selectTab(s.get(), "SSTab1", 1);
    EXPECT_EQ(textOf(s.get(), "Text1_28"), "0");  // no tariff row yet
    EXPECT_TRUE(control<QLineEdit>(s.get(), "Text1_0")->isReadOnly());
    click(s.get(), "CmdModificar2");
    EXPECT_FALSE(enabled(s.get(), "CmdEliminar"));
    setText(s.get(), "Text1_0", "45.3");
    click(s.get(), "CmdGuardar2");
    EXPECT_TRUE(dialogs.messages().empty()) << dialogs.lastText().toStdString();
    EXPECT_EQ(count("SELECT count(*) FROM Tarifas WHERE Id_Ase = ? AND UTL = 45.3", {map}), 1);
    EXPECT_EQ(textOf(s.get(), "Text1_0"), "45,3");
    EXPECT_TRUE(enabled(s.get(), "CmdEliminar"));

    dialogs.answerYes();
    click(s.get(), "CmdEliminar");
    EXPECT_EQ(dialogs.texts(), QStringList{"¿Seguro que quiere eliminar la aseguradoraMAPFRE?"});
    EXPECT_EQ(count("SELECT count(*) FROM Tarifas WHERE Id_Ase = ?", {map}), 1);
    EXPECT_EQ(textOf(s.get(), "txtNombre"), "ALLIANZ");
    EXPECT_EQ(textOf(s.get(), "Text1_0"), "0");

    dialogs.clear();
    click(s.get(), "CmdNuevo");
    type(s.get(), "TxtCodigo", "x1");
    type(s.get(), "txtNombre", "x1");
    click(s.get(), "CmdGuardar");
    EXPECT_TRUE(
        lastMessageIs(dialogs, "Los campos Código, Nombre y Nif son obligatorios", Icon::Critical));
    EXPECT_FALSE(enabled(s.get(), "CmdGuardar"));  // the new insurer is abandoned
    dialogs.clear();
    click(s.get(), "CmdNuevo");
    type(s.get(), "TxtCodigo", "axa");
    type(s.get(), "txtNombre", "axa seguros");
    type(s.get(), "TxtNif", "a28007748");
    click(s.get(), "CmdGuardar");
    EXPECT_TRUE(dialogs.messages().empty()) << dialogs.lastText().toStdString();
    EXPECT_EQ(count("SELECT count(*) FROM Aseguradoras"), 2);
    const qint64 axa =
        db().scalar("SELECT Id_Ase FROM Aseguradoras WHERE Codigo = 'AXA'").toLongLong();

    QList<qint64> handed;
    services.handoffs().insurerOrigins.registerOrigin(
        "informes", [&](const SearchChoice& c) { handed << c.id; });
    auto* listing = new BusquedaAseguradoras(home.session(), services, nullptr, "informes");
    listing->setAttribute(Qt::WA_DeleteOnClose);
    listing->show();
    type(listing, "txtBusqueda", "AXA");
    clickRow(control<DataGrid>(listing, "MSHFlexGrid1"), 0);
    click(listing, "CmdAcciones_1");
    settle();
    EXPECT_EQ(handed, QList<qint64>{axa});
}

const QString kMissing = QStringLiteral("Debe completar todos los campos");

// The controls of the eleven fields, what the user types and what gets stored.
struct Typed {
    const char* control;
    const char* column;
    const char* typed;
    const char* stored;
};
const Typed kTyped[] = {
    {"txtNombre", "Nombre", "talleres perez", "TALLERES PEREZ"},
    {"TxtNif", "Nif", "b12345678", "B12345678"},
    {"TxtTitular", "Titular", "juan perez", "JUAN PEREZ"},
    {"txtCalle", "Direccion", "c/ mayor 3", "C/ MAYOR 3"},
    {"TxtCP", "CP", "28a0-01", "28001"},
    {"txtLocalidad", "Localidad", "madrid", "MADRID"},
    {"txtProvincia", "Provincia", "madrid", "MADRID"},
    {"txtTelefono", "Telefono", "91 555 1234", "915551234"},
    {"txtFax", "Fax", "(91)5551235", "915551235"},
    {"TxtIVA", "IVA", "16%", "16"},
    {"TxtRegistro", "Registro", "ri-1234", "ri-1234"},
};

CompanyData fullData() {
    CompanyData d;
    for (const auto& t : kTyped) d[t.column] = QString::fromUtf8(t.stored);
    return d;
}

int rowCount(Database& db) {
    return db.scalar("SELECT count(*) FROM DatosEmpresa").toInt();
}

// A first save through the screen is DatosEmpresaScreen's; a rate that is not a number stores
// nothing, and a later save updates the stored row.
TEST(CompanyData, ABadRateStoresNothingAndSavingAgainUpdatesTheRow) {
    TempHome home;
    auto& db = home.db();
    EXPECT_FALSE(loadCompanyData(db).has_value());
    CompanyData bad = fullData();
    bad["IVA"] = "16a";
    QString error;
    EXPECT_FALSE(saveCompanyData(db, bad, &error));
    EXPECT_EQ(error, QString::fromUtf8("el IVA que aplica debe ser un número."));
    EXPECT_EQ(rowCount(db), 0);

    ASSERT_TRUE(saveCompanyData(db, fullData()));
    CompanyData changed = fullData();
    changed["IVA"] = "7,5";
    ASSERT_TRUE(saveCompanyData(db, changed, &error)) << error.toStdString();
    EXPECT_EQ(rowCount(db), 1);
    EXPECT_EQ(loadCompanyData(db).value(), changed);
    EXPECT_EQ(db.scalar("SELECT IVA FROM DatosEmpresa").toDouble(), 7.5);
}

class DatosEmpresaScreen : public ScreenTest {
  protected:
    void typeAll(QWidget* s, const char* except = "") {
        for (const auto& t : kTyped)
            if (QByteArray(t.control) != except) type(s, t.control, QString::fromUtf8(t.typed));
    }
};

// The screen refuses a field left empty, then stores what the field rules made of the typing.
TEST_F(DatosEmpresaScreen, AnEmptyFieldIsRefusedOnSavingAndOnCancelling) {
    auto s = open<DatosEmpresa>();
    QSignalSpy saved(s.get(), &DatosEmpresa::saved);
    QSignalSpy nameChanged(&home.session(), &Session::companyNameChanged);
    typeAll(s.get(), "txtFax");
    click(s.get(), "CmdGuardar");
    EXPECT_TRUE(lastMessageIs(dialogs, kMissing, Dialogs::Icon::None));
    EXPECT_TRUE(s->mode().isEditing());
    EXPECT_EQ(rowCount(db()), 0);
    EXPECT_TRUE(home.session().companyName().isEmpty());

    dialogs.clear();
    type(s.get(), "txtFax", "(91)5551235");
    click(s.get(), "CmdGuardar");
    EXPECT_TRUE(dialogs.entries().empty()) << dialogs.lastText().toStdString();
    EXPECT_EQ(saved.count(), 1);
    EXPECT_EQ(home.session().companyName(), QStringLiteral("TALLERES PEREZ"));
    EXPECT_EQ(nameChanged.count(), 1);
    EXPECT_EQ(loadCompanyData(db()).value(), fullData());

    // Back to browse: fields locked, only Modificar and Salir.
    EXPECT_TRUE(control<QLineEdit>(s.get(), "txtFax")->isReadOnly());
    for (const char* on : {"CmdModificar", "CmdSalir"}) EXPECT_TRUE(enabled(s.get(), on)) << on;
    for (const char* off : {"CmdGuardar", "CmdCancelar"})
        EXPECT_FALSE(enabled(s.get(), off)) << off;

    // Cancel refuses while a field is empty, then puts the stored row back.
    dialogs.clear();
    click(s.get(), "CmdModificar");
    control<QLineEdit>(s.get(), "txtFax")->clear();
    setText(s.get(), "txtNombre", "talleres perez bis");
    click(s.get(), "CmdCancelar");
    EXPECT_TRUE(lastMessageIs(dialogs, kMissing, Dialogs::Icon::None));
    EXPECT_TRUE(s->mode().isEditing());
    type(s.get(), "txtFax", "1");
    click(s.get(), "CmdCancelar");
    EXPECT_EQ(dialogs.messages().size(), 1u);
    EXPECT_FALSE(s->mode().isEditing());
    EXPECT_EQ(textOf(s.get(), "txtNombre"), "TALLERES PEREZ");
    EXPECT_EQ(textOf(s.get(), "txtFax"), "915551235");
}

}  // namespace
