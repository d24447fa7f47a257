// The report definitions rendered over a fixed workshop, compared with reviewed texts.
#include <gtest/gtest.h>
#include <QFile>
#include <QRegularExpression>

#include "reports/informes.h"
#include "reports/report_engine.h"
#include "reports/report_fixture.h"
#include "support/temp_home.h"

using torvane::reports::RenderedReport;
using torvane::reports::ReportEngine;
using torvane::testing::TempHome;

namespace {

void expectReference(const QString& name, const QString& text) {
    torvane::testing::expectReference("reports", name, text);
}

// Every line of the rendered text joined by spaces: what a reader sees, wherever it wraps.
QString flowing(const RenderedReport& r) {
    return r.toText().replace(" | ", " ").replace('\n', ' ');
}

// The fixed workshop, rendered on 15/04/2008.
class ReportRender : public ::testing::Test {
  protected:
    void SetUp() override { torvane::testing::fillReportFixture(home.db()); }
    RenderedReport render(const QString& file, const QString& formula = {}) {
        ReportEngine engine(home.db(), torvane::reports::reportFolders(home.session()),
                            QDate(2008, 4, 15));
        const auto result = engine.render(file, formula);
        EXPECT_TRUE(result.report.has_value()) << result.error.toStdString();
        return result.report.value_or(RenderedReport{});
    }
    void define(const QString& name, const char* text) {
        QFile f(home.file(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }
    TempHome home;
};

struct Case {
    const char* file;
    const char* formula;
    const char* reference;
};

class ReportReference : public ReportRender, public ::testing::WithParamInterface<Case> {};

TEST_P(ReportReference, RendersAsReviewed) {
    const Case& c = GetParam();
    const RenderedReport r = render(c.file, c.formula);
    ASSERT_FALSE(r.pages.empty());
    expectReference(c.reference, r.toText());
    // TORVANE_REPORT_PDF_DIR=folder also writes each one as PDF, to look at them.
    const QString pdfDir = qEnvironmentVariable("TORVANE_REPORT_PDF_DIR");
    if (!pdfDir.isEmpty()) {
        EXPECT_TRUE(torvane::reports::writePdf(r, pdfDir + '/' + c.reference + ".pdf"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Definitions, ReportReference,
    ::testing::Values(
        Case{"\\QARVOCLIENTES.rpt", "", "QARVOCLIENTES"},
        Case{"\\QARVOCLIENTES2.rpt", "", "QARVOCLIENTES2"},
        Case{"\\QARVOLPRO.rpt", "", "QARVOLPRO"}, Case{"\\QARVOLPRO2.rpt", "", "QARVOLPRO2"},
        Case{"\\QARVOVEHICULOS.rpt", "", "QARVOVEHICULOS"},
        Case{"\\QARVOVEHICULOS.rpt", "{Vehiculos.Marca}='SEAT'", "QARVOVEHICULOS_SEAT"},
        Case{"\\QARVOVEHICULOSCLI.rpt", "{Clientes.Id_Cli}=1", "QARVOVEHICULOSCLI"},
        // Stock value: 10 x 12,50 + 6 x 39,90 + 2 x 1.234,50 = 2.833,40.
        Case{"\\QARVOARTICULOS.rpt", "", "QARVOARTICULOS"},
        Case{"\\QARVOARTICULOS.rpt", "{Proveedores.Id_Pro}=1", "QARVOARTICULOS_P01"},
        Case{"\\QARVOARTICULOS2.rpt", "", "QARVOARTICULOS2"},
        // Labour 40,00 + 18,00; materials 12,50 + 71,82; free line 3,33: base 145,65.
        Case{"\\QARVOFACODT.rpt", "{ODTS.NODT} ='ODT08/03/00001'", "QARVOFACODT"},
        // The work-order sheets: conditions and the jobs to do, no prices.
        Case{"/QARVOODTTALLER.rpt", "{ODTS.NODT}= 'ODT08/03/00001'", "QARVOODTTALLER"},
        Case{"/qarvoodtcli.rpt", "{ODTS.NODT}='ODT08/03/00001'", "qarvoodtcli"},
        // Two work orders, one base of 1.326,12 and one total.
        Case{"\\QARVOFACODT2.rpt", "{ODTS.NODT} like [\"ODT08/03/00002\",\"ODT08/03/00003\"]",
             "QARVOFACODT2"},
        // The delivery note adds up its sections: 145,65 + 23,30 VAT = 168,95.
        Case{"\\qarvoalbodt.rpt", "{ODTS.NODT}='ODT08/03/00001'", "qarvoalbodt"},
        Case{"\\QARVOFACODTI.rpt", "{ODTS.NODT} ='ODT08/03/00001'", "QARVOFACODTI"},
        Case{"\\TICKETODT.rpt", "{ODTS.NODT} ='ODT08/03/00001'", "TICKETODT"}),
    [](const auto& info) { return std::string(info.param.reference); });

// A long invoice keeps its totals for the last page; long names, addresses and descriptions
// wrap inside their block or column, never cut.
TEST_F(ReportRender, LongInvoicePrintsWholeWithTotalsOnTheLastPage) {
    const QString description =
        "DESMONTAR Y MONTAR EL CUADRO DE INSTRUMENTOS PARA SUSTITUIR LA LAMPARA DEL TESTIGO DE "
        "PRESION DE ACEITE QUE ESTABA FUNDIDA";
    const QString name = "TRANSPORTES Y MUDANZAS HERMANOS FERNANDEZ DE LA VEGA Y ASOCIADOS S.L.U";
    ASSERT_EQ(name.size(), 70);
    const QString street = "POLIGONO INDUSTRIAL LAS ATALAYAS, CALLE DEL ACERO 14, NAVE 7, PUERTA 3";
    torvane::Database::Transaction t(home.db());
    for (int i = 0; i <= 90; ++i)
        home.db().insert(
            "INSERT INTO TrabajosRealizadosODT (NODT, TRealizado, TFacturado, Precio, Dto) VALUES "
            "('ODT08/03/00001', ?, 1, 10, 0)",
            {i == 0 ? description : QString("TRABAJO %1").arg(i)});
    home.db().exec("UPDATE Clientes SET Nombre = ?, Apellido1 = '', Direccion = ? WHERE Id_Cli = 1",
                   {name, street});
    // The invoice as it was stored for those lines.
    home.db().exec(
        "UPDATE FacturasODT SET Base = 1055.65, IVA = 168.90, Importe = 1224.55 "
        "WHERE NFactura = 'FR08/03/00001'");
    t.commit();
    const RenderedReport r = render("\\QARVOFACODT.rpt", "{ODTS.NODT} ='ODT08/03/00001'");
    const QString text = r.toText();
    ASSERT_GE(r.pages.size(), 2u);
    const QStringList pages =
        text.split(QRegularExpression("--- página \\d+ ---\n"), Qt::SkipEmptyParts);
    for (int p = 0; p + 1 < pages.size(); ++p) {
        EXPECT_FALSE(pages[p].contains("Base imponible")) << p;
        EXPECT_FALSE(pages[p].contains("TOTAL |")) << p;
    }
    EXPECT_TRUE(pages[1].contains("Mano de obra (continuación)"));
    // 58,00 + 91 x 10,00 of labour; materials 84,32; free line 3,33.
    EXPECT_TRUE(text.contains("Total mano de obra | 968,00"));
    EXPECT_TRUE(pages.last().contains("Base imponible | 1.055,65")) << pages.last().toStdString();
    EXPECT_TRUE(pages.last().contains("TOTAL | 1.224,55"));

    EXPECT_FALSE(text.contains(QString::fromUtf8("…")));
    EXPECT_TRUE(flowing(r).contains(name)) << text.toStdString();
    EXPECT_TRUE(text.contains("DESMONTAR Y MONTAR"));
    EXPECT_TRUE(text.contains("QUE ESTABA FUNDIDA"));
}

// Totals declared as rows: a discount before VAT lowers the taxable base; the withholding
// is taken on that base; the words read the total.
TEST_F(ReportRender, DeclaredTotalsRows) {
    struct Case {
        const char* rows;
        std::vector<const char*> expected;
    };
    const Case cases[] = {
        {"total \"Base imponible\" = base {ODTS.Nominal}\n"
         "total \"IVA {rate} %\" = vat 16\n"
         "total \"Retención IRPF {rate} %\" = withholding 15\n"
         "total \"TOTAL\" bold = total\n"
         "total \"Son:\" = words\n",
         // 145,65; VAT 23,304; withholding 21,8475.
         {"Base imponible | 145,65", "IVA 16 % | 23,30", "Retención IRPF 15 % | 21,85",
          "TOTAL | 147,10", "Son: Ciento Cuarenta y Siete  Euros con Diez  centimos"}},
        {"base = {ODTS.Nominal}\n"
         "total \"Descuento {rate} %\" = discount 5\n"
         "total \"IVA {rate} %\" = vat {DatosEmpresa.IVA}\n"
         "total \"Retención\" = withholding 15\n"
         "total \"TOTAL\" bold = total\n",
         // Discount 7,2825; taxable 138,37; VAT 22,1392; withholding 20,7555.
         {"Base imponible | 145,65", "Descuento 5 % | 7,28", "IVA 16 % | 22,14",
          "Retención | 20,76", "TOTAL | 139,75"}},
    };
    for (const Case& c : cases) {
        const QByteArray def = QByteArray(
                                   "report document\nfrom ODTS LEFT JOIN DatosEmpresa ON 1 = 1\n"
                                   "heading FACTURA\nfield \"Número\" = {ODTS.NODT}\n") +
                               c.rows;
        define("TOTALES.rpt", def.constData());
        const QString text = render("\\TOTALES.rpt", "{ODTS.NODT} ='ODT08/03/00001'").toText();
        for (const char* e : c.expected)
            EXPECT_TRUE(text.contains(QString::fromUtf8(e))) << e << "\n" << text.toStdString();
    }
}

TEST_F(ReportRender, ComputedValuesAreExactToTheCent) {
    home.db().exec(
        "CREATE TABLE Cuentas (Id INTEGER PRIMARY KEY, Nombre TEXT, Venta REAL, Coste REAL)");
    // Sale and cost per row; the margin and its percentage are worked out by the report.
    home.db().exec(
        "INSERT INTO Cuentas (Nombre, Venta, Coste) VALUES "
        "('TERCIO', 3, 2), ('OCTAVO', 8, 7), ('PERDIDA', 10, 10.625), "
        "('NADA', 0, 5), ('DECIMOS', 0.3, 0.1), ('MEDIO', 16, 15.99)");
    define("MARGEN.rpt", R"(report list
title Márgenes
from Cuentas
formula VENTA = Cuentas.Venta
formula COSTE = Cuentas.Coste
sum MARGEN = {@VENTA} - {@COSTE}
sum MARGEN2 = {@MARGEN} + {@MARGEN} - 0,005
percent PCT = {@MARGEN} / {@VENTA}
order Cuentas.Id
column "Cuenta" 12 = {Cuentas.Nombre}
column "Margen" 10 money total = {@MARGEN}
column "Doble" 10 money total = {@MARGEN2}
column "%" 6 number = {@PCT}
)");
    const QString text = render("\\MARGEN.rpt").toText();
    const char* expected[] = {
        // 1/3 is 33,33...; 1/8 is 12,5; a loss of 0,625 on 10 is -6,25 (halves away: -6,3).
        "TERCIO | 1,00 | 2,00 | 33,3",
        "OCTAVO | 1,00 | 2,00 | 12,5",
        "PERDIDA | -0,63 | -1,26 | -6,3",
        "NADA | -5,00 | -10,01\n",
        "DECIMOS | 0,20 | 0,40 | 66,7",
        "MEDIO | 0,01 | 0,02 | 0,1",
        // The totals add the cents printed on each row.
        "Total general | -3,42 | -6,85\n",
    };
    for (const char* e : expected)
        EXPECT_TRUE(text.contains(QString::fromUtf8(e))) << e << "\n" << text.toStdString();
}

constexpr char kTicketLines[] = R"(report lines
title Artículos
from MaterialesODT
link = {MaterialesODT.NODT}
order MaterialesODT.Id
amount IMPORTE = {MaterialesODT.Unidades} * {MaterialesODT.Precio} - {MaterialesODT.Dto} %
column "Descripción" 30 = {MaterialesODT.Descripcion}
column "Uds." 8 number = {MaterialesODT.Unidades}
column "Importe" 14 money total = {@IMPORTE}
)";

constexpr char kTicket[] = R"(report ticket
title Ticket
from ODTS LEFT JOIN Clientes ON Clientes.Id_Cli = ODTS.Id_Cli
company = {DatosEmpresa.Nombre}
company = NIF: {DatosEmpresa.Nif}
company = {DatosEmpresa.Direccion}
company = [{DatosEmpresa.CP} ]{DatosEmpresa.Localidad}
heading TICKET
field "Número" = {ODTS.NODT}
field "Fecha" = {ODTS.Fecha:date}
customer = {Clientes.Nombre} {Clientes.Apellido1}
section TICKET_LINEAS.rpt = {ODTS.NODT}
total "Base imponible" = base
total "IVA {rate} %" = vat 16
total "TOTAL" bold = total
total "Son:" = words
foot = Gracias por su visita. IVA incluido en el total.
)";

constexpr char kLabels[] = R"(report labels
from Clientes
order Clientes.Codigo
label = {Clientes.Nombre} {Clientes.Apellido1}
label = {Clientes.Direccion}
label = [{Clientes.CP}   ]{Clientes.Localidad}
label = {Clientes.Provincia}
)";

TEST_F(ReportRender, TicketOnAnEightyMillimetreRoll) {
    define("TICKET_LINEAS.rpt", kTicketLines);
    define("TICKET_PRUEBA.rpt", kTicket);
    const RenderedReport r = render("\\TICKET_PRUEBA.rpt", "{ODTS.NODT} ='ODT08/03/00001'");
    // Materials 12,50 + 71,82 = 84,32; VAT 13,4912.
    expectReference("TICKET_PRUEBA", r.toText());

    // Three hundred lines make one longer ticket, never a second page.
    torvane::Database::Transaction t(home.db());
    for (int i = 0; i < 300; ++i)
        home.db().insert(
            "INSERT INTO MaterialesODT (NODT, Descripcion, Unidades, Precio, Dto) VALUES "
            "('ODT08/03/00001', 'TORNILLO', 1, 0.10, 0)");
    t.commit();
    const RenderedReport longer = render("\\TICKET_PRUEBA.rpt", "{ODTS.NODT} ='ODT08/03/00001'");
    ASSERT_EQ(longer.pages.size(), 1u);
    EXPECT_TRUE(longer.toText().contains("TOTAL | 132,61"));  // 114,32 + 18,2912
}

TEST_F(ReportRender, LabelsSheetOfSixteen) {
    torvane::Database::Transaction t(home.db());
    for (int i = 1; i <= 15; ++i)
        home.db().insert(
            "INSERT INTO Clientes (Codigo, Nombre, Apellido1, Direccion, CP, Localidad, Provincia) "
            "VALUES (?, ?, 'PRUEBA', 'C/ LARGA, 1', '46001', 'VALENCIA', 'VALENCIA')",
            {QString("X%1").arg(i, 2, 10, QChar('0')), QString("CLIENTE %1").arg(i)});
    t.commit();
    define("ETIQUETAS_PRUEBA.rpt", kLabels);
    // 18 labels: a full sheet and two more.
    expectReference("ETIQUETAS_PRUEBA", render("\\ETIQUETAS_PRUEBA.rpt").toText());
}

}  // namespace
