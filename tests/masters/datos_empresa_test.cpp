#include <QSignalSpy>

#include "masters/company_data.h"
#include "masters/datos_empresa.h"
#include "screen_fixture.h"

using namespace torvane;
using namespace torvane::testing;

namespace {

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

TEST(CompanyData, CompleteOnlyWithAllElevenFields) {
    EXPECT_EQ(companyColumns().size(), 11);
    EXPECT_TRUE(companyDataComplete(fullData()));
    for (const QString& column : companyColumns()) {
        for (const QString& blank : {QString(), QStringLiteral("   ")}) {
            CompanyData d = fullData();
            d[column] = blank;
            EXPECT_FALSE(companyDataComplete(d)) << column.toStdString();
        }
    }
}

// A first save through the screen is DatosEmpresaScreen's; a rate that is not a number stores
// nothing, and a later save changes only the first row.
TEST(CompanyData, ABadRateStoresNothingAndSavingChangesOnlyTheFirstRow) {
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
    db.exec("INSERT INTO DatosEmpresa (Nombre) VALUES ('SEGUNDA')");
    CompanyData changed = fullData();
    changed["Nombre"] = "TALLERES GOMEZ";
    changed["IVA"] = "7,5";
    ASSERT_TRUE(saveCompanyData(db, changed, &error)) << error.toStdString();
    EXPECT_EQ(rowCount(db), 2);
    EXPECT_EQ(loadCompanyData(db).value(), changed);
    EXPECT_EQ(db.scalar("SELECT IVA FROM DatosEmpresa ORDER BY rowid LIMIT 1").toDouble(), 7.5);
    EXPECT_EQ(db.scalar("SELECT Nombre FROM DatosEmpresa ORDER BY rowid DESC LIMIT 1").toString(),
              "SEGUNDA");
}

class DatosEmpresaScreen : public ScreenTest {
  protected:
    void typeAll(QWidget* s, const char* except = "") {
        for (const auto& t : kTyped)
            if (QByteArray(t.control) != except) type(s, t.control, QString::fromUtf8(t.typed));
    }
};

// Which fields count is CompanyData.CompleteOnlyWithAllElevenFields; here the screen refuses
// one left empty, then stores what the field rules made of the typing.
TEST_F(DatosEmpresaScreen, AFieldEmptyIsRefusedThenSavingStoresTheRow) {
    auto s = open<DatosEmpresa>();
    QSignalSpy saved(s.get(), &DatosEmpresa::saved);
    QSignalSpy nameChanged(&home.session(), &Session::companyNameChanged);
    typeAll(s.get(), "txtFax");
    click(s.get(), "CmdGuardar");
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_TRUE(lastMessageIs(dialogs, kMissing, Dialogs::Icon::None));
    EXPECT_TRUE(s->mode().isEditing());
    EXPECT_EQ(rowCount(db()), 0);
    EXPECT_TRUE(home.session().companyName().isEmpty());

    dialogs.clear();
    type(s.get(), "txtFax", "(91)5551235");
    for (const auto& t : kTyped)
        EXPECT_EQ(textOf(s.get(), t.control), QString::fromUtf8(t.stored)) << t.control;
    click(s.get(), "CmdGuardar");
    EXPECT_TRUE(dialogs.entries().empty()) << dialogs.lastText().toStdString();
    EXPECT_EQ(saved.count(), 1);
    EXPECT_EQ(home.session().companyName(), QStringLiteral("TALLERES PEREZ"));
    EXPECT_EQ(nameChanged.count(), 1);
    EXPECT_EQ(loadCompanyData(db()).value(), fullData());

    // Back to browse: fields locked, only Modificar and Salir.
    EXPECT_FALSE(s->mode().isEditing());
    EXPECT_FALSE(s->isNewRow());
    EXPECT_TRUE(control<QLineEdit>(s.get(), "txtFax")->isReadOnly());
    for (const char* on : {"CmdModificar", "CmdSalir"}) EXPECT_TRUE(enabled(s.get(), on)) << on;
    for (const char* off : {"CmdGuardar", "CmdCancelar"})
        EXPECT_FALSE(enabled(s.get(), off)) << off;
}

TEST_F(DatosEmpresaScreen, CancelRefusesEmptyFieldsThenRestoresTheStoredRow) {
    ASSERT_TRUE(saveCompanyData(db(), fullData()));
    auto s = open<DatosEmpresa>();
    click(s.get(), "CmdModificar");
    control<QLineEdit>(s.get(), "txtFax")->clear();
    setText(s.get(), "txtNombre", "talleres perez bis");

    click(s.get(), "CmdCancelar");
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_TRUE(lastMessageIs(dialogs, kMissing, Dialogs::Icon::None));
    EXPECT_TRUE(s->mode().isEditing());
    EXPECT_EQ(textOf(s.get(), "txtNombre"), "TALLERES PEREZ BIS");

    type(s.get(), "txtFax", "1");
    click(s.get(), "CmdCancelar");
    EXPECT_EQ(dialogs.messages().size(), 1u);
    EXPECT_FALSE(s->mode().isEditing());
    EXPECT_EQ(textOf(s.get(), "txtNombre"), "TALLERES PEREZ");
    EXPECT_EQ(textOf(s.get(), "txtFax"), "915551235");
    EXPECT_EQ(loadCompanyData(db()).value(), fullData());
}

}  // namespace
