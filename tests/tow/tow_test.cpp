// Pricing a tow job from the insurer's tariff, the stored reports with their invoices, and
// their screens.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTest>
#include <array>

#include "core/numbering.h"
#include "core/session.h"
#include "masters/insurers.h"
#include "masters/screen_fixture.h"
#include "support/temp_home.h"
#include "support/typed_numbers.h"
#include "tow/gestor_partes.h"
#include "tow/partes_grua.h"
#include "tow/tow_pricing.h"
#include "tow/tow_reports.h"

using namespace torvane;
using namespace torvane::testing;
using namespace torvane::tow;

namespace {

// Every column a different amount, so a wrong column shows.
insurers::Tariff sampleTariff() {
    const std::pair<const char*, const char*> values[] = {
        {"UTL", "50"},     {"UTF", "70"},    {"UFL", "60"},    {"UFF", "85"},
        {"CTL", "80"},     {"CTF", "110"},   {"CFL", "95"},    {"CFF", "125"},
        {"ITL", "20"},     {"ITF", "15"},    {"IFL", "25"},    {"IFF", "10"},
        {"PTL", "1,50"},   {"PTF", "2,10"},  {"PFL", "1,75"},  {"PFF", "2,45"},
        {"SLTL", "120"},   {"SLTF", "160"},  {"SLFL", "140"},  {"SLFF", "190"},
        {"KLTL", "0,95"},  {"KLTF", "1,30"}, {"KLFL", "1,15"}, {"KLFF", "1,55"},
        {"P1", "25"},      {"P2", "12,5"},   {"Espera", "20"}, {"Rescate", "45,50"},
        {"Deposito", "12"}};
    insurers::Tariff t;
    t.stored = true;
    for (const QString& column : insurers::tariffColumns()) {
        Money m;
        for (const auto& [name, text] : values)
            if (column == QLatin1String(name)) m = euros(text);
        t.amounts << m;
    }
    return t;
}

QStringList shown(const Pricing& p) {
    QStringList out;
    for (const TowLine& l : p.lines)
        out << l.texto + '|' + Money::fromUnits(l.cantidad.units()).toPlainString() + '|' +
                   l.precio.format() + '|' + l.importe.format();
    return out;
}

TowJob job(const char* vehicle, const char* day, const char* exit, bool pct, const char* km,
           const char* wait = "00:00", const char* rescue = "00:00", const char* storage = "") {
    TowJob j;
    j.vehicle = QString::fromUtf8(vehicle);
    j.day = QString::fromUtf8(day);
    j.exit = QString::fromUtf8(exit);
    j.percentage = pct;
    j.km = QString::fromUtf8(km);
    j.waitTime = QString::fromUtf8(wait);
    j.rescueTime = QString::fromUtf8(rescue);
    j.storageDays = QString::fromUtf8(storage);
    return j;
}

constexpr const char* T = kCar;
constexpr const char* F = kVan;
constexpr const char* L = kWorkingDay;
constexpr const char* H = kHolidayNight;

// The amount of each line: every tariff column differs, so a wrong column shows.
TEST(TowPricing, ExitKilometreAndSurchargeAmounts) {
    const std::pair<TowJob, const char*> cases[] = {
        {job(T, L, kUrban, false, ""), "50,00"},
        {job(T, H, kUrban, true, ""), "50,00 12,50"},
        {job(F, H, kUrban, true, ""), "60,00 7,50"},
        // Road: only the kilometres beyond the included ones.
        {job(T, L, kRoad, false, "25"), "80,00 7,50"},
        {job(T, L, kRoad, false, "20"), "80,00"},
        {job(T, L, kRoad, false, "25.5"), "80,00 8,25"},
        {job(F, H, kRoad, false, "13"), "125,00 7,35"},
        // Surcharge base: exit plus the holiday kilometres (none past 10 for a van); 22,625
        // rounds up.
        {job(T, H, kRoad, true, "20"), "80,00 10,50 22,63"},
        {job(F, H, kRoad, true, "10"), "95,00 11,88"},
        {job(T, L, kRoad, true, "20"), "80,00"},  // the box ticked on a working day: nothing
        // Long distance: every kilometre.
        {job(T, L, kLongDistance, false, "100"), "120,00 95,00"},
        {job(T, H, kLongDistance, true, "50"), "120,00 47,50 41,88"},
        // Any vehicle but "TURISMO" is a van; any exit but urban or road is long distance.
        {job("", L, "OTRA", false, "10"), "140,00 11,50"},
    };
    const insurers::Tariff tariff = sampleTariff();
    for (const auto& [j, want] : cases) {
        const Pricing p = priceJob(tariff, j);
        EXPECT_TRUE(p.error.isEmpty()) << p.error.toStdString();
        QStringList amounts;
        for (const TowLine& l : p.lines) amounts << l.importe.format();
        EXPECT_EQ(amounts.join(' '), QString::fromUtf8(want))
            << j.vehicle.toStdString() << " " << j.day.toStdString() << " " << j.exit.toStdString()
            << " " << j.percentage << " " << j.km.toStdString();
    }
}

TEST(TowPricing, LinesAsWorded) {
    // This one line spells the van without its accent.
    EXPECT_EQ(shown(priceJob(sampleTariff(), job(F, H, kRoad, false, "13"))),
              (QStringList{"SALIDA CARRETERA DIA FEST./NOCT. FURGÓN|1|125,00|125,00",
                           "KM. EXTRA CARRETERA DIA FEST./NOCT. FURGON|3|2,45|7,35"}));
}

TEST(TowPricing, TimeAndStorageLines) {
    const std::array<const char*, 4> cases[] = {
        // wait, rescue, storage days: the lines after the urban exit line
        {"01:30", "00:00", "", "ESPERA PARA REALIZAR EL SERVICIO|1.5|20,00|30,00"},
        {"", "00:20", "", "RESCATE DEL VEHÍCULO|0.3333|45,50|15,17"},
        // 45,50 × 0,75 = 34,125: halves away from zero.
        {"00:00", "00:45", "", "RESCATE DEL VEHÍCULO|0.75|45,50|34,13"},
        {"00:00", "00:00", "3", "DIAS DE DEPÓSITO|3|12,00|36,00"},
    };
    for (const auto& [wait, rescue, storage, extra] : cases) {
        const QStringList lines =
            shown(priceJob(sampleTariff(), job(T, L, kUrban, false, "", wait, rescue, storage)));
        EXPECT_EQ(lines.mid(1).join(';'), QString::fromUtf8(extra)) << wait << rescue << storage;
    }
}

TEST(TowPricing, Refusals) {
    // exit, km, wait, storage days, error; the first without a stored tariff
    const std::array<const char*, 5> cases[] = {
        {kUrban, "", "00:00", "", kNoTariff},
        {kRoad, "12 km", "00:00", "", kBadKm},
        {kUrban, "x", "00:00", "dos", kBadStorage},
        {kUrban, "", "00:75", "", kBadWait},
    };
    insurers::Tariff t = sampleTariff();
    t.stored = false;
    for (const auto& [exit, km, wait, storage, error] : cases) {
        const Pricing p = priceJob(t, job(T, L, exit, false, km, wait, "00:00", storage));
        EXPECT_EQ(p.error, QString::fromUtf8(error)) << exit << " " << km;
        EXPECT_TRUE(p.lines.empty());
        t.stored = true;
    }
}

TowLine line(const char* text, int units, const char* price) {
    const Money p = euros(price);
    return {QString::fromUtf8(text), Quantity::whole(units), p,
            (ExactAmount(p) * Quantity::whole(units)).roundCents()};
}

Row report(const QString& number, const char* vat = "21") {
    Row r;
    for (const QString& c : reportColumns()) r.insert(c, c + QStringLiteral("-") + number);
    r.insert(QStringLiteral("NParte"), number);
    r.insert(QStringLiteral("Fecha"), QStringLiteral("2024-03-05"));
    r.insert(QStringLiteral("Id_Ase"), 3);
    r.insert(QStringLiteral("IVA"), QString::fromUtf8(vat).toDouble());
    return r;
}

using TowReports = ScreenTest;

TEST_F(TowReports, ManualLinesAsTyped) {
    // units, text, price, error, amount of the accepted line
    const std::array<const char*, 5> cases[] = {
        {"2", "GRUA", "10,5", "", "21,00"},
        {"1,5", "GRUA", "3.33", "", "5,00"},  // 4,995 rounds away from zero
        {"1", " ", "1", kIncompleteLine, ""},
        {"1", "GRUA", "diez", kLineNotNumeric, ""},
    };
    for (const auto& [units, texto, price, error, amount] : cases) {
        const ManualLine m = readManualLine(QString::fromUtf8(units), QString::fromUtf8(texto),
                                            QString::fromUtf8(price));
        EXPECT_EQ(m.error, QString::fromUtf8(error)) << units << " " << price;
        EXPECT_EQ(m.line ? m.line->importe.format() : QString(), QString::fromUtf8(amount));
    }
}

TEST_F(TowReports, SaveInvoiceRemoveTheInvoiceAndDelete) {
    home.session().setToday(QDate(2024, 3, 9));
    const QString first = QStringLiteral("PG03/00001");
    saveReport(db(), report(first));
    // Two lines: 100,00 and 2 × 12,25.
    replaceLines(db(), first, {line("SALIDA", 1, "100"), line("DIAS DE DEPÓSITO", 2, "12,25")});
    SCOPED_TRACE("every column is written; saving again replaces the same row");
    const Row want = report(first);
    for (const QString& c : reportColumns()) {
        const QString expected =
            c == QLatin1String("NFactura") ? QStringLiteral("No") : want.value(c).toString();
        EXPECT_EQ(loadReport(db(), first)->value(c).toString(), expected) << c.toStdString();
    }
    const qint64 id = db().scalar("SELECT Id FROM Partes").toLongLong();
    Row edited = want;
    edited.insert(QStringLiteral("Matricula"), QStringLiteral("1234BCD"));
    EXPECT_EQ(saveReport(db(), edited, id), id);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Partes"), 1);
    EXPECT_EQ(loadReport(db(), first)->value("Matricula").toString(), "1234BCD");

    SCOPED_TRACE("invoiced at the report's VAT");
    EXPECT_EQ(checkInvoice(db(), first), QString());
    const QString fv = invoice(home.session(), first);
    // Base 124,50 at 21 %: 26,145 -> 26,15.
    EXPECT_EQ(db().scalar("SELECT Total || ' ' || Id_Cli || ' ' || Fecha FROM Facturas "
                          "WHERE Id_Fac = ?",
                          {fv})
                  .toString(),
              "150.65 0 2024-03-09");
    EXPECT_EQ(loadReport(db(), first)->value("NFactura").toString(), fv);
    EXPECT_EQ(loadReport(db(), first)->value("FechaFactura").toString(), "2024-03-09");
    EXPECT_EQ(checkInvoice(db(), first), QString::fromUtf8(kAlreadyInvoiced));
    // A report without lines is not invoiced.
    saveReport(db(), report(QStringLiteral("PG03/00002")));
    EXPECT_EQ(checkInvoice(db(), "PG03/00002"), QString::fromUtf8(kNoLinesToInvoice));

    SCOPED_TRACE("removing the invoice frees its number");
    removeInvoice(db(), first);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Facturas"), 0);
    EXPECT_EQ(loadReport(db(), first)->value("NFactura").toString(), "No");
    EXPECT_TRUE(loadReport(db(), first)->value("FechaFactura").isNull());
    EXPECT_EQ(nextInvoiceNumber(home.session()), fv);

    SCOPED_TRACE("replacing lines is all or nothing; deleting takes the report's lines");
    replaceLines(db(), first, {line("OTRA", 1, "5")});
    EXPECT_EQ(loadLines(db(), first), std::vector<TowLine>{line("OTRA", 1, "5")});
    db().exec(
        "CREATE TRIGGER fail_line BEFORE INSERT ON LineasPartes WHEN NEW.Texto = 'MALA' "
        "BEGIN SELECT RAISE(ABORT, 'disco lleno'); END");
    EXPECT_THROW(replaceLines(db(), first, {line("BUENA", 1, "1"), line("MALA", 1, "1")}), DbError);
    EXPECT_EQ(loadLines(db(), first), std::vector<TowLine>{line("OTRA", 1, "5")});
    replaceLines(db(), QStringLiteral("PG03/00002"), {line("UNA", 1, "1")});
    deleteReport(db(), first);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Partes"), 1);
    EXPECT_EQ(db().scalar("SELECT group_concat(NParte) FROM LineasPartes").toString(),
              "PG03/00002");
}

TEST_F(TowReports, InvoiceNumbersSkipNumbersInUse) {
    home.session().setToday(QDate(2024, 3, 9));
    // Another month's numbers do not count.
    home.db().insert("INSERT INTO Facturas (Id_Fac, Total) VALUES ('FV24/02/00009', 1)");
    EXPECT_EQ(nextInvoiceNumber(home.session()), "FV24/03/00001");
    // A counter sale took the next one: skipped.
    home.db().insert("INSERT INTO Facturas (Id_Fac, Total) VALUES ('FV24/03/00004', 1)");
    for (const char* n : {"FV24/03/00005", "FV24/03/00006"})
        home.db().insert(
            "INSERT INTO Albaranes (Id_Alb, Fecha, NFactura) VALUES (?, '2024-03-01', ?)",
            {QString::fromUtf8(n) + "-AR", QString::fromUtf8(n)});
    EXPECT_EQ(nextInvoiceNumber(home.session()), "FV24/03/00007");
}

class TowScreen : public ScreenTest {
  protected:
    void SetUp() override {
        home.session().setToday(QDate(2024, 3, 20));
        insurer = db().insert(
            "INSERT INTO Aseguradoras (Codigo, Nombre) VALUES ('01', 'MUTUA DEL MOTOR')");
        insurers::saveTariff(db(), insurer, sampleTariff().amounts);
        customer = db().insert("INSERT INTO Clientes (Codigo, Nombre) VALUES ('0001', 'ANA RUIZ')");
        vehicle = db().insert("INSERT INTO Vehiculos (Id_Cli, Matricula) VALUES (?, '1234BCD')",
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
        for (const TowLine& l : loadLines(db(), number)) out << l.texto + '|' + l.importe.format();
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
    refused("cmdBuscarVehiculo", "Introduzca primero el propietario del vehículo.");
    // The other choices are checked in the same way, in their order.
    chooseItem(f, "Combo2", "FURGON");
    chooseItem(f, "Combo3", "LABORABLE");
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
    const auto row = loadReport(db(), number);
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
    // 80 + 7,50 + 30 + 6,50 = 124,00, and 16 %: the printed total.
    EXPECT_TRUE(services.output.jobs().back().report.toText().contains("143,84"));
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
    // Each command on the saved report, in turn, and what it tells (critical, or nothing).
    const std::pair<const char*, const char*> commands[] = {{"CmdImprimirF", kNoInvoiceToPrint},
                                                            {"CmdEliminarF", kNoInvoiceToDelete},
                                                            {"CmdFacturar", ""},
                                                            {"CmdEliminarP", kInvoicedNotDeleted},
                                                            {"CmdImprimirF", ""}};
    for (const auto& [command, message] : commands) {
        dialogs.clear();
        click(l, command);
        EXPECT_EQ(dialogs.lastText(), QString::fromUtf8(message)) << command;
    }
    EXPECT_EQ(services.output.jobs().back().report.name.toLower(), "qarvofacgrua.rpt");
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
