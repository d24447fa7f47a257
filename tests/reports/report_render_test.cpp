// The report definitions rendered over a fixed workshop, compared with reviewed texts.
#include <gtest/gtest.h>
#include <QFile>
#include <QRegularExpression>
#include <QTextStream>

#include "reports/informes.h"
#include "reports/report_engine.h"
#include "reports/report_fixture.h"
#include "support/temp_home.h"

using torvane::reports::RenderedReport;
using torvane::reports::ReportEngine;
using torvane::testing::TempHome;

namespace {

const QDate kPrintDate(2008, 4, 15);

RenderedReport renderOk(TempHome& home, const QString& file, const QString& formula = {}) {
    ReportEngine engine(home.db(), torvane::reports::reportFolders(home.session()), kPrintDate);
    const auto result = engine.render(file, formula);
    EXPECT_TRUE(result.report.has_value()) << result.error.toStdString();
    return result.report.value_or(RenderedReport{});
}

QString readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll());
}

// Compares with tests/reports/expected/<name>.txt. TORVANE_UPDATE_EXPECTED=1
// rewrites the reference instead, so a layout change shows up as a reviewed diff.
void expectReference(const QString& name, const QString& text) {
    const QString path = torvane::testing::expectedFolder() + '/' + name + ".txt";
    if (qEnvironmentVariableIntValue("TORVANE_UPDATE_EXPECTED") == 1) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.toUtf8());
        return;
    }
    const QString expected = readFile(path);
    ASSERT_FALSE(expected.isEmpty()) << "missing reference " << path.toStdString();
    EXPECT_EQ(text.toStdString(), expected.toStdString()) << "reference " << path.toStdString();
}

struct Case {
    const char* file;
    const char* formula;
    const char* reference;
};

class ReportReference : public ::testing::TestWithParam<Case> {};

TEST_P(ReportReference, RendersAsReviewed) {
    TempHome home;
    torvane::testing::fillReportFixture(home.db());
    const Case& c = GetParam();
    const RenderedReport r = renderOk(home, c.file, c.formula);
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
        // Two work orders, one base of 1.326,12 and one total.
        Case{"\\QARVOFACODT2.rpt", "{ODTS.NODT} like [\"ODT08/03/00002\",\"ODT08/03/00003\"]",
             "QARVOFACODT2"}),
    [](const auto& info) { return std::string(info.param.reference); });

TEST(ReportRender, LongListingRepeatsHeadingsAndNumbersPages) {
    TempHome home;
    torvane::testing::fillReportFixture(home.db());
    torvane::Database::Transaction t(home.db());
    for (int i = 1; i <= 180; ++i)
        home.db().insert(
            "INSERT INTO Clientes (Codigo, Nombre, Apellido1, NIF) VALUES (?,?,?,?)",
            {QString("X%1").arg(i, 4, 10, QChar('0')), QString("CLIENTE %1").arg(i), "PRUEBA", ""});
    t.commit();
    const RenderedReport r = renderOk(home, "\\QARVOCLIENTES2.rpt");
    ASSERT_GE(r.pages.size(), 3u);
    const QString all = r.toText();
    const QStringList pages =
        all.split(QRegularExpression("--- página \\d+ ---\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), int(r.pages.size()));
    for (int p = 0; p < pages.size(); ++p) {
        EXPECT_TRUE(pages[p].contains("Código | Nombre | NIF | Teléfono | Móvil")) << p;
        EXPECT_TRUE(pages[p].contains("Listado de clientes")) << p;
        EXPECT_TRUE(pages[p].contains("Fecha: 15/04/2008")) << p;
        EXPECT_TRUE(pages[p].contains(QString("Página %1 de %2").arg(p + 1).arg(pages.size())));
    }
    for (int i = 1; i <= 180; ++i)
        EXPECT_EQ(all.count(QString("X%1 | CLIENTE %2 PRUEBA\n").arg(i, 4, 10, QChar('0')).arg(i)),
                  1)
            << i;
    EXPECT_TRUE(pages.last().contains("Total: 183 clientes"));
    EXPECT_FALSE(pages.first().contains("Total:"));
}

TEST(ReportRender, LongInvoiceKeepsTotalsOnTheLastPage) {
    TempHome home;
    torvane::testing::fillReportFixture(home.db());
    torvane::Database::Transaction t(home.db());
    for (int i = 1; i <= 90; ++i)
        home.db().insert(
            "INSERT INTO TrabajosRealizadosODT (NODT, TRealizado, TFacturado, Precio, Dto) VALUES "
            "('ODT08/03/00001', ?, 1, 10, 0)",
            {QString("TRABAJO %1").arg(i)});
    // The invoice as it was stored for those lines.
    home.db().exec(
        "UPDATE FacturasODT SET Base = 1045.65, IVA = 167.30, Importe = 1212.95 "
        "WHERE NFactura = 'FR08/03/00001'");
    t.commit();
    const RenderedReport r = renderOk(home, "\\QARVOFACODT.rpt", "{ODTS.NODT} ='ODT08/03/00001'");
    const QString pdfDir = qEnvironmentVariable("TORVANE_REPORT_PDF_DIR");
    if (!pdfDir.isEmpty()) {
        EXPECT_TRUE(torvane::reports::writePdf(r, pdfDir + "/factura_larga.pdf"));
    }
    ASSERT_GE(r.pages.size(), 2u);
    const QStringList pages =
        r.toText().split(QRegularExpression("--- página \\d+ ---\n"), Qt::SkipEmptyParts);
    for (int p = 0; p + 1 < pages.size(); ++p) {
        EXPECT_FALSE(pages[p].contains("Base imponible")) << p;
        EXPECT_FALSE(pages[p].contains("TOTAL |")) << p;
    }
    EXPECT_TRUE(pages[1].contains("FACTURA FR08/03/00001 (continuación)"));
    EXPECT_TRUE(pages[1].contains("Mano de obra (continuación)"));
    EXPECT_TRUE(pages[1].contains("Concepto | Horas | Precio/hora | Dto. % | Importe"));
    // 58,00 + 90 x 10,00 of labour; materials 84,32; free line 3,33.
    EXPECT_TRUE(r.toText().contains("Total mano de obra | 958,00"));
    EXPECT_TRUE(pages.last().contains("Base imponible | 1.045,65")) << pages.last().toStdString();
    EXPECT_TRUE(pages.last().contains("TOTAL | 1.212,95"));
    EXPECT_TRUE(pages.last().contains(QString("Página %1 de %1").arg(pages.size())));
}

TEST(ReportRender, LongDescriptionsWrapInsideTheirColumn) {
    TempHome home;
    torvane::testing::fillReportFixture(home.db());
    home.db().insert(
        "INSERT INTO TrabajosRealizadosODT (NODT, TRealizado, TFacturado, Precio, Dto) VALUES "
        "('ODT08/03/00003', ?, 1, 10, 0)",
        {QString("DESMONTAR Y MONTAR EL CUADRO DE INSTRUMENTOS PARA SUSTITUIR LA LAMPARA DEL "
                 "TESTIGO DE PRESION DE ACEITE QUE ESTABA FUNDIDA")});
    const QString text =
        renderOk(home, "\\QARVOFACODT.rpt", "{ODTS.NODT} ='ODT08/03/00003'").toText();
    EXPECT_TRUE(text.contains("DESMONTAR Y MONTAR")) << text.toStdString();
    EXPECT_TRUE(text.contains("QUE ESTABA FUNDIDA"));
    EXPECT_FALSE(text.contains("…"));
}

TEST(ReportRender, EmptyListingStillPrintsItsHeadings) {
    TempHome home;
    const QString text = renderOk(home, "\\QARVOLPRO.rpt").toText();
    EXPECT_TRUE(text.contains("Código | Nombre | NIF | Teléfono | Fax"));
    EXPECT_TRUE(text.contains("Total: 0 proveedores"));
    EXPECT_TRUE(text.contains("Página 1 de 1"));
}

}  // namespace
