#include <QComboBox>
#include <QPlainTextEdit>
#include <QTest>

#include "core/numbering.h"
#include "masters/insurers.h"
#include "masters/screen_fixture.h"
#include "tow/gestor_partes.h"
#include "tow/partes_grua.h"
#include "tow/tow_reports.h"

using namespace torvane;
using namespace torvane::testing;

namespace {

class TowScreen : public ScreenTest {
  protected:
    void SetUp() override {
        home.session().setToday(QDate(2024, 3, 20));
        db().insert("INSERT INTO DatosEmpresa (Nombre, Nif) VALUES ('TALLERES TORVANE', 'B1')");
        insurer = db().insert(
            "INSERT INTO Aseguradoras (Codigo, Nombre) VALUES ('01', 'MUTUA DEL MOTOR')");
        db().insert("INSERT INTO Aseguradoras (Codigo, Nombre) VALUES ('02', 'SIN TARIFA')");
        const QMap<QString, Money> tariff = {{"CTL", Money::whole(80)},
                                             {"ITL", Money::whole(20)},
                                             {"PTL", Money::fromCents(150)},
                                             {"Espera", Money::whole(20)}};
        QList<Money> amounts;
        for (const QString& c : insurers::tariffColumns()) amounts << tariff.value(c);
        insurers::saveTariff(db(), insurer, amounts);
        customer = db().insert("INSERT INTO Clientes (Codigo, Nombre) VALUES ('0001', 'ANA RUIZ')");
        vehicle = db().insert(
            "INSERT INTO Vehiculos (Id_Cli, Matricula, Marca, Modelo, Color) "
            "VALUES (?, '1234BCD', 'ALFA ROMEO', '147', 'ROJO')",
            {customer});
    }

    // A road job for a car on a working day, 25 km, waiting 01:30.
    static void fillJob(QWidget* form) {
        chooseItem(form, "Combo1", "MUTUA DEL MOTOR");
        chooseItem(form, "Combo2", "TURISMO");
        chooseItem(form, "Combo3", "LABORABLE");
        chooseItem(form, "Combo4", "CARRETERA");
        type(form, "Text1_22", "25");
        control<OpcEntrada>(form, "OpcEntrada1")->setText("01:30");
    }
    QStringList lines(const QString& number) {
        QStringList out;
        for (const tow::TowLine& l : tow::loadLines(db(), number))
            out << l.texto + '|' + l.importe.format();
        return out;
    }
    const QStringList generated = {"SALIDA CARRETERA DIA LABORABLE TURISMO|80,00",
                                   "KM. EXTRA CARRETERA DIA LABORABLE TURISMO|7,50",
                                   "ESPERA PARA REALIZAR EL SERVICIO|30,00"};

    qint64 insurer = 0, customer = 0, vehicle = 0;
};

TEST_F(TowScreen, ChecksInTheirOrder) {
    // Without the series file the number is "1", after saying so.
    auto form = open<PartesGrua>();
    EXPECT_EQ(textOf(form.get(), "Text1_0"), "1");
    EXPECT_TRUE(dialogs.lastText().startsWith("No se encuentra el archivo en la ruta "));
    QWidget* f = form.get();
    const auto refused = [&](const char* command, const char* message) {
        dialogs.clear();
        click(f, QString::fromUtf8(command));
        ASSERT_EQ(dialogs.entries().size(), 1u) << message;
        EXPECT_TRUE(lastMessageIs(dialogs, QString::fromUtf8(message), Dialogs::Icon::Critical));
    };
    refused("KewlButtons2", "Debe seleccionar la compañia");
    refused("CmdBuscar", "Seleccione primero la compañia.");
    chooseItem(f, "Combo1", "MUTUA DEL MOTOR");
    refused("KewlButtons2", "Debe seleccionar el tipo de vehículo");
    refused("cmdBuscarVehiculo", "Introduzca primero el propietario del vehículo.");
    chooseItem(f, "Combo2", "FURGON");
    refused("KewlButtons2", "Debe seleccionar el tipo de servicio");
    chooseItem(f, "Combo3", "LABORABLE");
    refused("KewlButtons2", "Debe seleccionar el tipo de salida");
    // The pricing's own refusals are TowPricing.Refusals'; one shows they are told.
    chooseItem(f, "Combo4", "CARRETERA");
    refused("KewlButtons2", "El número de kilómetros no es válido");
    EXPECT_EQ(count("SELECT COUNT(*) FROM LineasPartes"), 0);
}

TEST_F(TowScreen, GenerateRegenerateManualLineSaveEditAndList) {
    {
        auto empty = open<GestorPartes>();
        for (const char* c : {"CmdEditar", "CmdEliminarF", "CmdEliminarP", "CmdFacturar",
                              "CmdImprimirF", "CmdImprimirP"})
            EXPECT_FALSE(enabled(empty.get(), c)) << c;
        EXPECT_TRUE(enabled(empty.get(), "CmdSalir"));
    }
    db().insert("INSERT INTO Partes (NParte, NFactura) VALUES ('PG03/00004', 'No')");
    ASSERT_TRUE(SaveSeries(home.session(), defaultSeries()));
    auto form = open<PartesGrua>();
    QWidget* f = form.get();
    EXPECT_TRUE(dialogs.entries().empty()) << dialogs.lastText().toStdString();
    const QString number = textOf(f, "Text1_0");
    EXPECT_EQ(number, "PG03/00005");
    EXPECT_FALSE(enabled(f, "KewlButtons1"));
    fillJob(f);
    form->setCustomer(customer);
    VehicleChoice v;
    v.vehicleId = vehicle;
    form->setVehicle(v);
    control<QPlainTextEdit>(f, "Text2")->setPlainText("SIN LLAVES");
    click(f, "KewlButtons2");
    EXPECT_EQ(lines(number), generated);
    EXPECT_TRUE(enabled(f, "KewlButtons1"));
    EXPECT_EQ(control<DataGrid>(f, "MSHLineas")->displayText(2, "Unidades"), "01:30");

    // Generating again asks, and No keeps the lines of 25 km.
    control<QLineEdit>(f, "Text1_22")->setText("20");
    dialogs.answerNo();
    click(f, "KewlButtons2");
    EXPECT_EQ(dialogs.lastText(), "Ya se han generado lineas, ¿desea volver a crearlas?");
    type(f, "Text1_3", "2");
    type(f, "Text1_4", "PEAJE");
    type(f, "Text1_5", "3,25");
    click(f, "KewlButtons4");
    const QStringList saved = generated + QStringList{"PEAJE|6,50"};
    EXPECT_EQ(lines(number), saved);

    click(f, "KewlButtons1");
    EXPECT_TRUE(form->isSaved());
    const auto row = tow::loadReport(db(), number);
    ASSERT_TRUE(row);
    // The columns whose control does not hold the stored text as it is.
    QStringList stored;
    for (const char* column : {"Fecha", "Compañia", "Matricula", "TiempoEspera", "Nombre",
                               "Observaciones", "Id_Ase", "IVA"})
        stored << row->value(QString::fromUtf8(column)).toString();
    EXPECT_EQ(stored.join('|'),
              "2024-03-20|MUTUA DEL MOTOR|1234BCD|01:30|ANA RUIZ|SIN LLAVES|1|16");
    ASSERT_EQ(services.output.jobs().size(), 1u);
    EXPECT_EQ(services.output.jobs().back().report.name.toLower(), "qarvopgrua.rpt");
    const QString text = services.output.jobs().back().report.toText();
    // 80 + 7,50 + 30 + 6,50 = 124,00, and 16 %: the printed total.
    EXPECT_TRUE(text.contains("143,84")) << text.toStdString();
    // Saved: closing keeps the lines.
    form.reset();

    SCOPED_TRACE("edited again: cancelling or closing puts back exactly the stored lines");
    for (const char* how : {"CmdCancelar", "Command6"}) {
        auto edit = open<PartesGrua>(false);
        ASSERT_TRUE(edit->editReport(number));
        fillJob(edit.get());
        dialogs.answerYes();
        click(edit.get(), "KewlButtons2");
        click(edit.get(), QString::fromUtf8(how));
        EXPECT_EQ(lines(number), saved) << how;
    }

    SCOPED_TRACE("the list invoices, prints, removes the invoice and deletes");
    auto list = open<GestorPartes>();
    QWidget* l = list.get();
    auto* grid = control<DataGrid>(l, "MSHPartes");
    ASSERT_EQ(grid->rowCount(), 2);
    clickRow(grid, 1);
    EXPECT_EQ(control<DataGrid>(l, "MSHLineas")->rowCount(), 4);
    // Each command on the saved report, in turn, and what it tells (critical, or nothing).
    const std::pair<const char*, const char*> commands[] = {
        {"CmdImprimirF", tow::kNoInvoiceToPrint},
        {"CmdEliminarF", tow::kNoInvoiceToDelete},
        {"CmdFacturar", ""},
        {"CmdEliminarP", tow::kInvoicedNotDeleted},
        {"CmdImprimirF", ""}};
    for (const auto& [command, message] : commands) {
        dialogs.clear();
        click(l, command);
        EXPECT_EQ(dialogs.lastText(), QString::fromUtf8(message)) << command;
    }
    EXPECT_EQ(services.output.jobs().back().report.name.toLower(), "qarvofacgrua.rpt");
    click(l, "CmdImprimirP");
    EXPECT_EQ(services.output.jobs().back().report.name.toLower(), "qarvopgrua.rpt");
    click(l, "CmdEliminarF");
    EXPECT_EQ(grid->currentValue("NºFactura").toString(), "No");
    dialogs.answerNo();
    click(l, "CmdEliminarP");
    EXPECT_EQ(dialogs.lastText(), "¿Seguro que quiere eliminar el parte PG03/00005?");
    EXPECT_EQ(count("SELECT COUNT(*) FROM Partes"), 2);
    dialogs.answerYes();
    click(l, "CmdEliminarP");
    EXPECT_EQ(grid->rowCount(), 1);
}

}  // namespace
