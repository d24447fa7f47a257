#include <gtest/gtest.h>
#include <QSignalSpy>
#include <QTest>

#include "masters/company_data.h"
#include "masters/datos_empresa.h"
#include "support/screen_helpers.h"
#include "support/scripted_dialogs.h"
#include "support/temp_home.h"
#include "support/test_services.h"

using namespace torvane;
using torvane::testing::click;
using torvane::testing::control;
using torvane::testing::enabled;
using torvane::testing::ScriptedDialogs;
using torvane::testing::TempHome;
using torvane::testing::TestServices;

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

TEST(CompanyData, SaveAddsTheRowThenChangesOnlyTheFirst) {
    TempHome home;
    auto& db = home.db();
    EXPECT_FALSE(loadCompanyData(db).has_value());
    QString error;
    ASSERT_TRUE(saveCompanyData(db, fullData(), &error)) << error.toStdString();
    EXPECT_EQ(rowCount(db), 1);
    EXPECT_EQ(db.scalar("SELECT IVA FROM DatosEmpresa").toDouble(), 16.0);
    EXPECT_EQ(loadCompanyData(db).value(), fullData());

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

TEST(CompanyData, ARateThatIsNotANumberStoresNothing) {
    TempHome home;
    CompanyData d = fullData();
    d["IVA"] = "16a";
    QString error;
    EXPECT_FALSE(saveCompanyData(home.db(), d, &error));
    EXPECT_EQ(error, QString::fromUtf8("el IVA que aplica debe ser un número."));
    EXPECT_EQ(rowCount(home.db()), 0);
}

TEST(DatosEmpresaScreen, TypingFollowsTheFieldRulesAndSavingStoresTheRow) {
    TempHome home;
    TestServices services;
    ScriptedDialogs& dialogs = services.scripted;
    DatosEmpresa screen(home.session(), services);
    QSignalSpy saved(&screen, &DatosEmpresa::saved);
    QSignalSpy nameChanged(&home.session(), &Session::companyNameChanged);
    for (const auto& t : kTyped)
        QTest::keyClicks(control<QLineEdit>(&screen, t.control), QString::fromUtf8(t.typed));
    for (const auto& t : kTyped)
        EXPECT_EQ(control<QLineEdit>(&screen, t.control)->text(), QString::fromUtf8(t.stored))
            << t.control;

    click(&screen, "CmdGuardar");
    EXPECT_TRUE(dialogs.entries().empty()) << dialogs.lastText().toStdString();
    EXPECT_EQ(saved.count(), 1);
    EXPECT_EQ(home.session().companyName(), QStringLiteral("TALLERES PEREZ"));
    EXPECT_EQ(nameChanged.count(), 1);
    const auto row = home.db().firstRow("SELECT * FROM DatosEmpresa");
    ASSERT_TRUE(row.has_value());
    for (const auto& t : kTyped)
        EXPECT_EQ(row->value(t.column).toString(), QString::fromUtf8(t.stored)) << t.column;

    // Back to browse: fields locked, only Modificar and Salir.
    EXPECT_FALSE(screen.mode().isEditing());
    EXPECT_FALSE(screen.isNewRow());
    EXPECT_TRUE(control<QLineEdit>(&screen, "txtFax")->isReadOnly());
    EXPECT_TRUE(enabled(&screen, "CmdModificar"));
    EXPECT_TRUE(enabled(&screen, "CmdSalir"));
    EXPECT_FALSE(enabled(&screen, "CmdGuardar"));
    EXPECT_FALSE(enabled(&screen, "CmdCancelar"));
}

// Which fields count is CompanyData.CompleteOnlyWithAllElevenFields; here the screen's refusal.
TEST(DatosEmpresaScreen, SavingWithAFieldEmptyIsRefused) {
    TempHome home;
    TestServices services;
    ScriptedDialogs& dialogs = services.scripted;
    DatosEmpresa screen(home.session(), services);
    for (const auto& t : kTyped)
        if (QByteArray(t.control) != "txtFax")
            QTest::keyClicks(control<QLineEdit>(&screen, t.control), QString::fromUtf8(t.typed));
    click(&screen, "CmdGuardar");
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].text, kMissing);
    EXPECT_EQ(dialogs.messages()[0].icon, Dialogs::Icon::None);
    EXPECT_TRUE(screen.mode().isEditing());
    EXPECT_EQ(rowCount(home.db()), 0);
    EXPECT_TRUE(home.session().companyName().isEmpty());
}

TEST(DatosEmpresaScreen, CancelRefusesEmptyFieldsThenRestoresTheStoredRow) {
    TempHome home;
    ASSERT_TRUE(saveCompanyData(home.db(), fullData()));
    TestServices services;
    ScriptedDialogs& dialogs = services.scripted;
    DatosEmpresa screen(home.session(), services);
    click(&screen, "CmdModificar");
    control<QLineEdit>(&screen, "txtFax")->clear();
    QTest::keyClicks(control<QLineEdit>(&screen, "txtNombre"), " bis");

    click(&screen, "CmdCancelar");
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.lastText(), kMissing);
    EXPECT_EQ(dialogs.messages()[0].icon, Dialogs::Icon::None);
    EXPECT_TRUE(screen.mode().isEditing());
    EXPECT_EQ(control<QLineEdit>(&screen, "txtNombre")->text(), "TALLERES PEREZ BIS");

    QTest::keyClicks(control<QLineEdit>(&screen, "txtFax"), "1");
    click(&screen, "CmdCancelar");
    EXPECT_EQ(dialogs.messages().size(), 1u);
    EXPECT_FALSE(screen.mode().isEditing());
    EXPECT_EQ(control<QLineEdit>(&screen, "txtNombre")->text(), "TALLERES PEREZ");
    EXPECT_EQ(control<QLineEdit>(&screen, "txtFax")->text(), "915551235");
    EXPECT_EQ(loadCompanyData(home.db()).value(), fullData());
}

}  // namespace
