#include "masters/aseguradoras.h"

#include "master_files_fixture.h"
#include "masters/busqueda_aseguradoras.h"
#include "masters/insurers.h"
#include "screen_fixture.h"

using namespace torvane;
using namespace torvane::testing;
using Icon = Dialogs::Icon;

namespace {

class AseguradorasScreen : public ScreenTest {
  protected:
    QStringList tariffTexts(QWidget* s) {
        QStringList texts;
        for (int i = 0; i < insurers::kTariffFieldCount; ++i)
            texts << textOf(s, QStringLiteral("Text1_%1").arg(i));
        return texts;
    }
};

// Which fields are mandatory is MandatoryFields' table; a refused new insurer is abandoned.
TEST_F(AseguradorasScreen, NewInsurerIsRefusedWithAFieldMissingThenStoredAsTyped) {
    auto s = open<FrmAseguradoras>();
    click(s.get(), "CmdNuevo");
    type(s.get(), "TxtCodigo", "x1");
    type(s.get(), "txtNombre", "x1");
    click(s.get(), "CmdGuardar");
    EXPECT_TRUE(
        lastMessageIs(dialogs, "Los campos Código, Nombre y Nif son obligatorios", Icon::Critical));
    EXPECT_FALSE(enabled(s.get(), "CmdGuardar"));
    EXPECT_TRUE(control<QLineEdit>(s.get(), "txtNombre")->isReadOnly());
    EXPECT_EQ(count("SELECT count(*) FROM Aseguradoras"), 0);

    dialogs.clear();
    click(s.get(), "CmdNuevo");
    EXPECT_EQ(textOf(s.get(), "TxtCodigo"), "");
    type(s.get(), "TxtCodigo", "all");
    type(s.get(), "txtNombre", "allianz");
    type(s.get(), "TxtNif", "a28007748");
    type(s.get(), "TxtReferencia", "ref-9");
    click(s.get(), "CmdGuardar");
    EXPECT_TRUE(dialogs.messages().empty()) << dialogs.lastText().toStdString();
    const auto row = db().firstRow("SELECT * FROM Aseguradoras WHERE Codigo = 'ALL'");
    ASSERT_TRUE(row);
    EXPECT_EQ(row->value("Nombre").toString(), "ALLIANZ");
    EXPECT_EQ(row->value("Referencia").toString(), "REF-9");
    EXPECT_EQ(textOf(s.get(), "txtId_Ase"), row->value("Id_Ase").toString());
}

TEST_F(AseguradorasScreen, TariffStoredOnlyByItsOwnSaveAndLeftByDeletion) {
    const qint64 map = addInsurer(db(), "MAP", "MAPFRE");
    addInsurer(db(), "ALL", "ALLIANZ");
    auto s = open<FrmAseguradoras>();
    selectTab(s.get(), "SSTab1", 1);
    EXPECT_EQ(tariffTexts(s.get()), QStringList(insurers::kTariffFieldCount, "0"));
    EXPECT_TRUE(control<QLineEdit>(s.get(), "Text1_0")->isReadOnly());
    EXPECT_EQ(count("SELECT count(*) FROM Tarifas"), 0);

    click(s.get(), "CmdModificar2");
    EXPECT_FALSE(control<QLineEdit>(s.get(), "Text1_0")->isReadOnly());
    EXPECT_FALSE(enabled(s.get(), "CmdEliminar"));
    setText(s.get(), "Text1_0", "7");
    click(s.get(), "CmdCancelar2");
    EXPECT_EQ(textOf(s.get(), "Text1_0"), "0");
    EXPECT_EQ(count("SELECT count(*) FROM Tarifas"), 0);

    click(s.get(), "CmdModificar2");
    setText(s.get(), "Text1_0", "45.3");
    setText(s.get(), "Text1_28", "10");
    click(s.get(), "CmdGuardar2");
    EXPECT_TRUE(dialogs.messages().empty()) << dialogs.lastText().toStdString();
    const auto row = db().firstRow("SELECT * FROM Tarifas");
    ASSERT_TRUE(row);
    EXPECT_EQ(row->value("Id_Ase").toLongLong(), map);
    EXPECT_EQ(row->value("UTL").toDouble(), 45.3);
    EXPECT_EQ(row->value("P2").toDouble(), 10.0);
    EXPECT_FALSE(row->value("KLFF").isNull());  // untouched fields are stored as zeros
    EXPECT_TRUE(control<QLineEdit>(s.get(), "Text1_0")->isReadOnly());
    EXPECT_EQ(textOf(s.get(), "Text1_0"), "45,3");
    EXPECT_TRUE(enabled(s.get(), "CmdEliminar"));

    dialogs.answerYes();
    click(s.get(), "CmdEliminar");
    EXPECT_EQ(dialogs.texts(), QStringList{"¿Seguro que quiere eliminar la aseguradoraMAPFRE?"});
    EXPECT_EQ(count("SELECT count(*) FROM Tarifas WHERE Id_Ase = ?", {map}), 1);
    EXPECT_EQ(textOf(s.get(), "txtNombre"), "ALLIANZ");
    EXPECT_EQ(textOf(s.get(), "Text1_0"), "0");
}

TEST_F(AseguradorasScreen, SearchMovesTheFileOrHandsTheInsurerToListings) {
    addInsurer(db(), "MAP", "MAPFRE");
    const qint64 all = addInsurer(db(), "ALL", "ALLIANZ");
    auto s = open<FrmAseguradoras>();
    click(s.get(), "CmdBuscar");
    QWidget* search = openWindow("BusquedaAseguradoras");
    ASSERT_NE(search, nullptr);
    click(search, "Option1_1");
    type(search, "txtBusqueda", "all");
    clickRow(control<DataGrid>(search, "MSHFlexGrid1"), 0);
    click(search, "CmdAcciones_1");
    settle();
    EXPECT_EQ(textOf(s.get(), "txtNombre"), "ALLIANZ");

    QList<qint64> handed;
    services.handoffs().insurerOrigins.registerOrigin(
        "informes", [&](const SearchChoice& c) { handed << c.id; });
    auto* listing = new BusquedaAseguradoras(home.session(), services, nullptr, "informes");
    listing->setAttribute(Qt::WA_DeleteOnClose);
    listing->show();
    type(listing, "txtBusqueda", "ALL");
    clickRow(control<DataGrid>(listing, "MSHFlexGrid1"), 0);
    click(listing, "CmdAcciones_1");
    settle();
    EXPECT_EQ(handed, QList<qint64>{all});
}

}  // namespace
