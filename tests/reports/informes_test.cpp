// The printing routines: formulas they build, destinations, and their messages; the month's
// roadworthiness tests; the report command.
#include <gtest/gtest.h>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <set>

#include "reports/informes.h"
#include "reports/itv_due.h"
#include "reports/report_cli.h"
#include "reports/report_engine.h"
#include "reports/report_fixture.h"
#include "reports/report_output.h"
#include "support/file_bytes.h"
#include "support/scripted_dialogs.h"
#include "support/temp_home.h"
#include "support/test_services.h"

using torvane::Dialogs;
using torvane::reports::itvFormula;
using torvane::reports::RecordingReportOutput;
using torvane::testing::fileBytes;
using torvane::testing::ScriptedDialogs;
using torvane::testing::TempHome;
using torvane::testing::TestServices;
namespace Informes = torvane::Informes;

namespace {

struct Fixture {
    TempHome home;
    TestServices services;
    ScriptedDialogs& dialogs = services.scripted;
    RecordingReportOutput& output = services.output;
    Fixture() {
        torvane::testing::fillReportFixture(home.db());
        home.session().setToday(QDate(2008, 4, 15));
    }
    void writeReport(const QString& name, const QString& text) {
        QFile f(home.file(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text.toUtf8());
    }
    QString lastText() const {
        return output.jobs().empty() ? QString() : output.jobs().back().report.toText();
    }
};

// Each printing routine: the formula it builds from its argument and where the report goes.
TEST(Informes, RoutinesSelectAndSendWhereTheyShould) {
    Fixture f;
    EXPECT_TRUE(Informes::ImprimirInforme(f.home.session(), f.services, "{Proveedores.Id_Pro}=2",
                                          "\\QARVOLPRO.rpt", true));
    ASSERT_EQ(f.output.jobs().size(), 1u);
    EXPECT_TRUE(f.output.jobs()[0].preview);
    EXPECT_TRUE(f.lastText().contains("LUBRICANTES NORTE"));
    EXPECT_FALSE(f.lastText().contains("RECAMBIOS DEL CENTRO"));

    EXPECT_TRUE(Informes::ImprimirInformeSimple(f.home.session(), f.services, "", "\\QARVOLPRO.rpt",
                                                false));
    ASSERT_EQ(f.output.jobs().size(), 2u);
    EXPECT_FALSE(f.output.jobs()[1].preview) << "preview false goes straight to the printer";
    EXPECT_TRUE(f.dialogs.entries().empty());

    // A work-order invoice selects by number, except the file for several orders.
    ASSERT_TRUE(Informes::ImprimirFacturaODT(f.home.session(), f.services, "ODT08/03/00002",
                                             "\\QARVOFACODT.rpt", true));
    EXPECT_TRUE(f.lastText().contains("ODT08/03/00002"));
    EXPECT_FALSE(f.lastText().contains("ODT08/03/00003"));

    ASSERT_TRUE(Informes::ImprimirFacturaODT(
        f.home.session(), f.services, "{ODTS.NODT} like [\"ODT08/03/00002\",\"ODT08/03/00003\"]",
        f.home.folder() + "\\QARVOFACODT2.rpt", false));
    EXPECT_FALSE(f.output.jobs().back().preview);
    EXPECT_TRUE(f.lastText().contains("Orden de trabajo ODT08/03/00003"));

    // For any other file the argument is a work-order number, even when it looks like a formula.
    EXPECT_FALSE(Informes::ImprimirFacturaODT(f.home.session(), f.services,
                                              "{ODTS.NODT} like [\"ODT08/03/00002\"]",
                                              "\\QARVOFACODT.rpt", true));
    EXPECT_EQ(f.dialogs.lastText(),
              "No hay datos que imprimir en el informe \"QARVOFACODT.rpt\" con la selección "
              "indicada.");

    // The work sheet selects by number; the delivery note always previews.
    f.dialogs.clear();
    ASSERT_TRUE(Informes::ImprimirHojaODT(f.home.session(), f.services, "ODT08/03/00002",
                                          "/qarvoodttaller.rpt", false));
    EXPECT_FALSE(f.output.jobs().back().preview);
    EXPECT_TRUE(f.lastText().contains("Número | ODT08/03/00002"));
    EXPECT_FALSE(f.lastText().contains("ODT08/03/00001"));
    ASSERT_TRUE(Informes::ImprimirAlbaranODT(f.home.session(), f.services,
                                             "{ODTS.NODT}='ODT08/03/00001'", "\\qarvoalbodt.rpt"));
    EXPECT_TRUE(f.output.jobs().back().preview);
    EXPECT_TRUE(f.lastText().contains("CAMBIO DE ACEITE Y FILTRO"));
    EXPECT_TRUE(f.dialogs.entries().empty());
}

// A report that cannot be printed is told, with what is wrong, and nothing is printed.
TEST(Informes, ReportsThatCannotBePrintedAreTold) {
    const QString damaged =
        QString::fromUtf8("El informe \"ROTO.rpt\" está dañado y no se puede imprimir (");
    const struct {
        const char* text;  // written as ROTO.rpt; nullptr: a file that is not there
        const char* file;
        const char* formula;
        QString message;
        bool prefixOnly = false;
    } cases[] = {
        {nullptr, "\\QARVONADA.rpt", "",
         "No se encuentra el informe \"QARVONADA.rpt\" en la carpeta del programa."},
        // A missing section is told by its own name.
        {"report document\nfrom ODTS\nsection NOHAY.rpt = {ODTS.NODT}\n", "\\ROTO.rpt", "",
         "No se encuentra el informe \"NOHAY.rpt\" en la carpeta del programa."},
        {"report list\nfrom Clientes\nformula X = Clientes.Nombre +* 2\ncolumn \"X\" 1 = {@X}\n",
         "\\ROTO.rpt", "", "No se puede preparar el informe \"ROTO.rpt\":", true},
        {nullptr, "\\QARVOCLIENTES.rpt", "{Facturas.Fecha}=1",
         "La fórmula de selección del informe \"QARVOCLIENTES.rpt\" no es válida: la tabla "
         "«Facturas» no forma parte de este informe.\n\nFórmula: {Facturas.Fecha}=1"},
        {"report list\nfrom Clientes\ncolumn \"Nombre\" = {Clientes.Nombre}\n", "\\ROTO.rpt", "",
         damaged + "línea 3: se escribe: column \"Título\" ancho [formato] [total] [wrap] = "
                   "contenido)."},
        {"report list\nfrom Clientes\n", "\\ROTO.rpt", "",
         damaged + "el informe no tiene columnas)."},
        {"report list\nfrom Clientez\ncolumn \"X\" 1 = {Clientez.Nombre}\n", "\\ROTO.rpt", "",
         damaged + "la tabla «Clientez» no existe en la base de datos)."},
        {"report list\nfrom Clientes\ncolumn \"X\" 1 = {Clientes.Nombr}\n", "\\ROTO.rpt", "",
         damaged + "el campo «Clientes.Nombr» no existe)."},
        {"report list\nfrom Clientes\ncolumn \"X\" 1 = {Vehiculos.Marca}\n", "\\ROTO.rpt", "",
         damaged + "la tabla «Vehiculos» no forma parte de este informe)."},
        {"report list\nfrom Clientes\ncolumn \"X\" 1 = {@NADA}\n", "\\ROTO.rpt", "",
         damaged + "la fórmula «@NADA» no está definida en este informe)."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        Fixture f;
        if (c.text) f.writeReport("ROTO.rpt", QString::fromUtf8(c.text));
        EXPECT_FALSE(
            Informes::ImprimirInforme(f.home.session(), f.services, c.formula, c.file, true));
        ASSERT_EQ(f.dialogs.messages().size(), 1u);
        EXPECT_EQ(f.dialogs.messages()[0].icon, Dialogs::Icon::Critical);
        if (c.prefixOnly)
            EXPECT_TRUE(f.dialogs.lastText().startsWith(c.message))
                << f.dialogs.lastText().toStdString();
        else
            EXPECT_EQ(f.dialogs.lastText(), c.message);
        EXPECT_TRUE(f.output.jobs().empty());
    }
}

TEST(Informes, NoPrinterOffersPdf) {
    Fixture f;
    f.output.setPrinter("");
    // Accepted, the PDF is written where the user says (".pdf" added when missing).
    f.dialogs.answerYes();
    f.dialogs.answerFile(f.home.file("proveedores"));
    EXPECT_TRUE(
        Informes::ImprimirInforme(f.home.session(), f.services, "", "\\QARVOLPRO.rpt", false));
    EXPECT_EQ(f.dialogs.entries()[0].kind, ScriptedDialogs::Kind::Question);
    EXPECT_EQ(f.dialogs.entries()[0].text,
              "No hay ninguna impresora instalada.\n\n¿Desea guardar el informe \"QARVOLPRO.rpt\" "
              "como PDF?");
    QFile pdf(f.home.file("proveedores.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5).startsWith("%PDF-"));
    EXPECT_TRUE(f.output.jobs().empty());
    EXPECT_TRUE(f.dialogs.allAnswersUsed());
}

TEST(Informes, NoDatabaseIsTold) {
    TempHome home(false);
    TestServices services;
    EXPECT_FALSE(Informes::VerListado(home.session(), services, "\\QARVOLPRO.rpt"));
    EXPECT_EQ(services.scripted.lastText(),
              "No hay ninguna base de datos abierta para imprimir el informe \"QARVOLPRO.rpt\".");
}

void setJournalMode(const QString& path, const QString& mode) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "journal");
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec("INSERT INTO Clientes (Codigo, Nombre) VALUES ('0001', 'PEREZ')"));
        ASSERT_TRUE(q.exec("PRAGMA journal_mode=" + mode));
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase("journal");
}

// The command only reads the database file, whatever its journal mode.
TEST(ReportCommand, ReadsTheFileWithoutChangingItInAnyJournalMode) {
    for (const char* mode : {"WAL", "DELETE"}) {
        SCOPED_TRACE(mode);
        TempHome home(false);
        const QString db = home.makeDatabase("taller.erm");
        setJournalMode(db, QString::fromLatin1(mode));
        const QByteArray before = fileBytes(db);
        const QString out = home.file("clientes.pdf");
        EXPECT_EQ(torvane::reports::runReportCommand(
                      {"QARVOCLIENTES2.rpt", "--db", db, "--pdf", out, "--home", home.folder()}),
                  0);
        EXPECT_TRUE(QFileInfo(out).size() > 0);
        EXPECT_EQ(fileBytes(db), before);
        EXPECT_FALSE(QFileInfo::exists(db + "-journal"));
        // A WAL file stays WAL: its header still says so.
        EXPECT_EQ(before.at(18) == 2, QLatin1String(mode) == QLatin1String("WAL"));
    }
}

struct ItvFixture : Fixture {
    ItvFixture() {
        // Plates named by their test date; customer 3 has no address but a locality.
        home.db().insert(
            "INSERT INTO Vehiculos (Id_Cli, Matricula, Marca, Modelo, FechaITV) VALUES "
            "(1, 'ITV-081231', 'SEAT', 'TOLEDO', '2008-12-31'), "
            "(2, 'ITV-090101', 'OPEL', 'CORSA', '2009-01-01'), "
            "(3, 'ITV-090131', 'FIAT', 'PUNTO', '2009-01-31'), "
            "(1, 'ITV-080229', 'SEAT', 'ALTEA', '2008-02-29'), "
            "(2, 'ITV-080301', 'OPEL', 'ASTRA', '2008-03-01')");
    }
    torvane::reports::RenderedReport render(const QString& file, QDate month) {
        torvane::reports::ReportEngine engine(
            home.db(), torvane::reports::reportFolders(home.session()), QDate(2008, 12, 31));
        const auto result = engine.render(file, itvFormula(month));
        EXPECT_TRUE(result.report) << result.error.toStdString();
        return result.report.value_or(torvane::reports::RenderedReport{});
    }
};

// Every plate of the fixture that is due in a month, read from the listing as printed.
std::set<QString> platesListed(const torvane::reports::RenderedReport& r) {
    const QStringList all{"1234BCD",    "M-1234-XY",  "9999JKL",    "ITV-081231",
                          "ITV-090101", "ITV-090131", "ITV-080229", "ITV-080301"};
    std::set<QString> found;
    for (const QString& p : all)
        if (r.toText().contains(p)) found.insert(p);
    return found;
}

TEST(ItvDue, SelectionAtMonthBoundaries) {
    ItvFixture f;
    const std::pair<QDate, std::set<QString>> cases[] = {
        {QDate(2008, 12, 1), {"ITV-081231"}}, {QDate(2009, 1, 1), {"ITV-090101", "ITV-090131"}},
        {QDate(2009, 2, 1), {"M-1234-XY"}},   {QDate(2008, 2, 1), {"ITV-080229"}},
        {QDate(2008, 3, 1), {"ITV-080301"}},  {QDate(2008, 11, 1), {"1234BCD"}},
    };
    for (const auto& [month, plates] : cases) {
        SCOPED_TRACE(month.toString(Qt::ISODate).toStdString());
        const auto r = f.render(torvane::reports::kItvListFile, month);
        EXPECT_EQ(platesListed(r), plates);
        EXPECT_TRUE(r.toText().contains(QString("%1 vehículos").arg(plates.size())));
    }
}

TEST(ItvDue, AskedFromTheMenuWithNextMonthOfferedListingAndLabels) {
    ItvFixture f;
    f.home.session().setToday(QDate(2008, 12, 31));
    // A month that is not one is told and prints nothing.
    f.dialogs.answerInput(QString("13/2009"));
    EXPECT_FALSE(torvane::reports::printItvDue(f.home.session(), f.services, false));
    EXPECT_EQ(f.dialogs.entries().front().extra, "01/2009");
    EXPECT_EQ(f.dialogs.lastText(),
              "«13/2009» no es un mes válido: escriba el mes y el año, como 01/2009.");
    EXPECT_TRUE(f.output.jobs().empty());

    f.dialogs.answerInput(QString("01/2009"));
    EXPECT_TRUE(torvane::reports::printItvDue(f.home.session(), f.services, false));
    f.dialogs.answerInput(QString("1/2009"));
    EXPECT_TRUE(torvane::reports::printItvDue(f.home.session(), f.services, true));
    ASSERT_EQ(f.output.jobs().size(), 2u);
    EXPECT_TRUE(f.dialogs.allAnswersUsed());
    // The listing carries name, phones and address; the labels the address.
    const auto& list = f.output.jobs()[0];
    EXPECT_TRUE(list.preview);
    const QString text = list.report.toText();
    EXPECT_TRUE(text.contains("MARÍA LÓPEZ")) << text.toStdString();
    EXPECT_TRUE(text.contains("932222222"));
    EXPECT_TRUE(text.contains("AV. LUNA, 22, 08001 BARCELONA (BARCELONA)"));
    EXPECT_TRUE(text.contains("TOLEDO (TOLEDO)")) << "no address, still the locality";
    const QString labels = f.output.jobs()[1].report.toText();
    EXPECT_TRUE(labels.contains("08001   BARCELONA"));
    EXPECT_TRUE(labels.contains("AUTOS O'NEILL"));
    EXPECT_FALSE(labels.contains("JUAN GARCÍA")) << "his car is due in December";
}

}  // namespace
