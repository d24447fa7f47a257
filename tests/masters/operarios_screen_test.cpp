#include "masters/operarios.h"

#include <QComboBox>

#include "controls/opc_entrada.h"
#include "master_files_fixture.h"
#include "masters/busqueda_operarios.h"
#include "masters/departamentos.h"
#include "screen_fixture.h"

using namespace torvane;
using namespace torvane::testing;
using Icon = Dialogs::Icon;

namespace {

class OperariosScreen : public ScreenTest {};

// Which fields are mandatory is MandatoryFields' table; here one missing field is enough.
TEST_F(OperariosScreen, NewProposesCodeAndDateThenNeedsTheFirstPhone) {
    for (const char* code : {"1", "2", "6"}) addOperator(db(), code);
    home.session().setToday(QDate(2008, 3, 5));
    auto s = open<Operarios>();
    click(s.get(), "CmdNuevo");
    EXPECT_EQ(textOf(s.get(), "TxtCodigo"), "7");
    auto* alta = control<OpcEntrada>(s.get(), "OpcFechaAlta");
    EXPECT_TRUE(alta->isVisible());
    EXPECT_EQ(alta->text(), "05/03/2008");
    EXPECT_EQ(control<OpcEntrada>(s.get(), "OpcFechaNac")->text().trimmed(), "");
    for (const char* off : {"CmdNuevo", "CmdModificar", "CmdEliminar", "CmdSalir"})
        EXPECT_FALSE(enabled(s.get(), off)) << off;

    type(s.get(), "txtNombre", "pepe ruiz");
    type(s.get(), "TxtNif", "x1234567l");
    type(s.get(), "TxtCoste", "30.5");
    control<QComboBox>(s.get(), "ComboDepartamento")->setCurrentText("CHAPA");
    click(s.get(), "CmdGuardar");
    EXPECT_TRUE(lastMessageIs(
        dialogs, "Los campos Codigo, Nombre, NIF y Teléfono1 son obligatorios", Icon::Critical));
    EXPECT_EQ(QApplication::focusWidget(), control<QWidget>(s.get(), "txtNombre"));
    EXPECT_EQ(count("SELECT count(*) FROM Operarios"), 3);

    dialogs.clear();
    type(s.get(), "txtTelefono1", "91a1");
    click(s.get(), "CmdGuardar");
    EXPECT_TRUE(dialogs.messages().empty()) << dialogs.lastText().toStdString();
    const auto row = db().firstRow("SELECT * FROM Operarios WHERE Codigo = '7'");
    ASSERT_TRUE(row);
    EXPECT_EQ(row->value("Telefono1").toString(), "911");
    EXPECT_EQ(row->value("Departamento").toString(), "CHAPA");
    EXPECT_EQ(row->value("Fecha_Alta").toString(), "2008-03-05");
    EXPECT_FALSE(alta->isVisible());
    click(s.get(), "CmdNuevo");
    click(s.get(), "CmdCancelar");
    EXPECT_FALSE(alta->isVisible());
    EXPECT_EQ(count("SELECT count(*) FROM Operarios"), 4);
}

TEST_F(OperariosScreen, DeletingTheLastOperatorEmptiesTheScreen) {
    const qint64 id = addOperator(db(), "1", "PEPE");
    db().exec("INSERT INTO TrabajosRealizadosODT (NODT, NOperario, TRealizado) VALUES (?,?,?)",
              {"OR08/03/00001", "1", "CAMBIO ACEITE"});
    auto s = open<Operarios>();
    EXPECT_EQ(control<DataGrid>(s.get(), "MSHTrabajosOdt")->rowCount(), 1);
    dialogs.answerYes();
    click(s.get(), "CmdEliminar");
    EXPECT_EQ(dialogs.texts(), (QStringList{"Seguro que quiere eliminar el operario PEPE",
                                            "Se han eliminado todos los operarios"}));
    EXPECT_EQ(dialogs.entries().back().icon, Icon::Exclamation);
    EXPECT_EQ(count("SELECT count(*) FROM Operarios WHERE Id_Ope = ?", {id}), 0);
    EXPECT_EQ(count("SELECT count(*) FROM TrabajosRealizadosODT"), 1);
    EXPECT_FALSE(enabled(s.get(), "CmdBuscarCli"));
}

TEST_F(OperariosScreen, SearchByWordPositionsTheFile) {
    addOperator(db(), "1", "JUAN GARCIA");
    const qint64 second = addOperator(db(), "2", "GARCIA PEREZ");
    addOperator(db(), "3", "ANA PEREZ");
    auto s = open<Operarios>();
    click(s.get(), "CmdBuscarCli");
    QWidget* search = openWindow("BusquedaOperarios");
    ASSERT_NE(search, nullptr);
    EXPECT_FALSE(s->isEnabled());
    click(search, "Option1_2");
    type(search, "txtBusqueda", "perez");
    auto* grid = control<DataGrid>(search, "MSHFlexGrid1");
    EXPECT_EQ(grid->rowCount(), 2);  // a word inside the name
    click(search, "Option1_1");
    control<QLineEdit>(search, "txtBusqueda")->clear();
    type(search, "txtBusqueda", "garcia");
    ASSERT_EQ(grid->rowCount(), 1);
    clickRow(grid, 0);
    click(search, "CmdAcciones_1");
    settle();
    EXPECT_EQ(openWindow("BusquedaOperarios"), nullptr);
    EXPECT_TRUE(s->isEnabled());
    EXPECT_EQ(textOf(s.get(), "txtId"), QString::number(second));
    EXPECT_EQ(textOf(s.get(), "txtNombre"), "GARCIA PEREZ");
}

class DepartamentosScreen : public ScreenTest {};

TEST_F(DepartamentosScreen, PriceWithPointIsStoredAndShownWithComma) {
    auto s = open<Departamentos>();
    EXPECT_TRUE(enabled(s.get(), "CmdNuevo"));
    for (const char* off : {"CmdModificar", "CmdEliminar", "CmdGuardar"})
        EXPECT_FALSE(enabled(s.get(), off)) << off;
    click(s.get(), "CmdNuevo");
    type(s.get(), "txtDepartamento", "chapa");
    type(s.get(), "TxtPrecio", "30.5x");
    EXPECT_EQ(textOf(s.get(), "TxtPrecio"), "30,5");
    click(s.get(), "CmdGuardar");
    EXPECT_TRUE(dialogs.messages().empty()) << dialogs.lastText().toStdString();
    EXPECT_EQ(db().scalar("SELECT Precio FROM PreciosHora").toDouble(), 30.5);
    auto* grid = control<DataGrid>(s.get(), "MSHFlexGrid1");

    // A second one, then choosing the first from the list and deleting it asks nothing.
    click(s.get(), "CmdNuevo");
    type(s.get(), "txtDepartamento", "MECANICA");
    type(s.get(), "TxtPrecio", "1234,5");
    click(s.get(), "CmdGuardar");
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->displayText(1, "Precio"), "1.234,50");
    EXPECT_EQ(textOf(s.get(), "txtDepartamento"), "MECANICA");
    clickRow(grid, 0);
    EXPECT_EQ(textOf(s.get(), "txtDepartamento"), "CHAPA");
    click(s.get(), "CmdEliminar");
    EXPECT_TRUE(dialogs.entries().empty());
    EXPECT_EQ(db().scalar("SELECT group_concat(Departamento) FROM PreciosHora").toString(),
              "MECANICA");
    EXPECT_EQ(grid->rowCount(), 1);

    // Modify then cancel keeps the stored price; a price typed over is stored.
    click(s.get(), "CmdModificar");
    setText(s.get(), "TxtPrecio", "45");
    click(s.get(), "CmdCancelar");
    EXPECT_EQ(textOf(s.get(), "TxtPrecio"), "1234,5");
    click(s.get(), "CmdModificar");
    setText(s.get(), "TxtPrecio", "30,25");
    click(s.get(), "CmdGuardar");
    EXPECT_EQ(db().scalar("SELECT Precio FROM PreciosHora").toDouble(), 30.25);
    EXPECT_EQ(grid->displayText(0, "Precio"), "30,25");
}

}  // namespace
