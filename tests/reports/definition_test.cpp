// The definition format: values on paper, optional parts, file names and lookup.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "reports/report_definition.h"

using namespace torvane::reports;

namespace {

TEST(ReportDefinition, ValuesAreFormattedForPaper) {
    const struct {
        QVariant value;
        ValueFormat format;
        QString shown;
    } cases[] = {
        {1234.5, ValueFormat::Money, "1.234,50"},
        {-0.004, ValueFormat::Money, "0,00"},
        {1000000, ValueFormat::Money, "1.000.000,00"},
        {QVariant(), ValueFormat::Money, ""},
        {0.5, ValueFormat::Number, "0,5"},
        {2.0, ValueFormat::Number, "2"},
        {1.256, ValueFormat::Number, "1,26"},
        {123456.0, ValueFormat::Integer, "123.456"},
        {"2008-03-11", ValueFormat::Date, "11/03/2008"},
        {"2008-03-31T18:30:00", ValueFormat::Date, "31/03/2008"},
        {"no es fecha", ValueFormat::Date, "no es fecha"},
        {"TEXTO", ValueFormat::Text, "TEXTO"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatValue(c.value, c.format), c.shown) << c.shown.toStdString();
}

QString render(const QString& text, const QVariantList& values) {
    QString error;
    const auto t = Template::parse(text, &error);
    EXPECT_TRUE(t) << error.toStdString();
    if (!t) return "<error>";
    return t->render([&](int i) { return values.value(i); }, ValueFormat::Text);
}

TEST(ReportDefinition, EmptyFieldsLeaveOutTheirPartOrLine) {
    EXPECT_EQ(render("NIF: {Clientes.NIF}", {""}), "");
    EXPECT_EQ(render("NIF: {Clientes.NIF}", {"12345678Z"}), "NIF: 12345678Z");
    EXPECT_EQ(render("[Tel.: {E.Telefono}][   Fax: {E.Fax}]", {"910", ""}), "Tel.: 910");
    EXPECT_EQ(render("[Tel.: {E.Telefono}][   Fax: {E.Fax}]", {"", "911"}), "Fax: 911");
    EXPECT_EQ(render("[{E.CP} ]{E.Localidad}[ ({E.Provincia})]", {"28001", "MADRID", ""}),
              "28001 MADRID");
    EXPECT_EQ(render("Texto fijo", {}), "Texto fijo");
    EXPECT_EQ(render("Total {F.Importe:money}", {1234.5}), "Total 1.234,50");
}

TEST(ReportDefinition, BadTemplatesAreRefused) {
    for (const char* bad : {"{Clientes.Nombre", "Clientes.Nombre}", "[a [b]]", "[abierto",
                            "cerrado]", "{Nombre}", "{Clientes.Nombre:moneda}", "{@}"}) {
        QString error;
        EXPECT_FALSE(Template::parse(bad, &error)) << bad;
        EXPECT_FALSE(error.isEmpty()) << bad;
    }
}

TEST(ReportDefinition, DamagedDefinitionsSayWhere) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"from A\ncolumn \"X\" 1 = {A.B}\n", "falta la línea «report list»"},
        {"report list\ncolumn \"X\" 1 = {A.B}\n", "falta la línea «from»"},
        {"report lines\nfrom A\ncolumn \"X\" 1 = {A.B}\n", "una sección necesita la línea «link»"},
        {"report list\nfrom A\ncolumn \"X\" 1 = {A.B}\nvat = 16\n",
         "línea 4: «vat» no vale en un informe «report list»"},
        {"report list\nfrom A\ncolumn \"X\" 0 = {A.B}\n", "línea 3: ancho de columna no válido"},
        {"report list\nfrom A\ncolumn \"X\" 5 total = {A.B} y {A.C}\n",
         "línea 3: una columna con total debe tener un solo campo"},
        {"report list\nfrom A\ncolumn \"X\" 5 negrita = {A.B}\n",
         "línea 3: palabra desconocida «negrita»"},
        {"report list\nfrom A\ncolumn \"X 5 = {A.B}\n", "línea 3: falta cerrar las comillas"},
        {"report list\nfrom\n", "línea 2: «from» sin contenido"},
        {"report list\nfrom A\nformula = A.B\n", "línea 3: se escribe: formula NOMBRE"},
        {"report document\nfrom A\nsection = {A.B}\n", "línea 3: se escribe: section"},
        {"report document\nfrom A\ncustomer {A.B}\n", "línea 3: falta «=» y el contenido"},
        // Computed values build only on what is defined above them.
        {"report list\nfrom A\nsum X = {@Y} + {A.B}\n",
         "línea 3: «@Y» no está definido antes de «X»"},
        {"report list\nfrom A\nsum X = {A.B} - {@X}\n",
         "línea 3: «@X» no está definido antes de «X»"},
        {"report list\nfrom A\nsum X = {A.B} / {A.C}\n", "línea 3: se escribe: sum NOMBRE"},
        {"report list\nfrom A\nsum X = {A.B} + \n", "línea 3: se escribe: sum NOMBRE"},
        {"report list\nfrom A\npercent X = {A.B}\n", "línea 3: se escribe: percent NOMBRE"},
        {"report list\nfrom A\npercent X = {A.B} / {A.C} / {A.D}\n",
         "línea 3: se escribe: percent NOMBRE"},
    };
    for (const auto& c : cases) {
        QString error;
        EXPECT_FALSE(ReportDefinition::parse(c.text, "X.rpt", &error)) << c.text;
        EXPECT_TRUE(error.contains(c.error)) << c.text << " -> " << error.toStdString();
    }
}

TEST(ReportDefinition, FileNamesAreFoundWithoutRegardToCase) {
    EXPECT_EQ(reportFileName("\\QARVOLFAC.rpt"), "QARVOLFAC.rpt");
    EXPECT_EQ(reportFileName("/qarvoodtcli.rpt"), "qarvoodtcli.rpt");
    EXPECT_EQ(reportFileName("C:\\Taller\\QARVOLFAC2.rpt"), "QARVOLFAC2.rpt");
    EXPECT_EQ(reportFileName("/opt/torvane\\qarvolfac2.rpt"), "qarvolfac2.rpt");

    QTemporaryDir first, second;
    QFile a(QDir(second.path()).filePath("QARVOLFAC2.rpt"));
    ASSERT_TRUE(a.open(QIODevice::WriteOnly));
    a.close();
    const QStringList folders{first.path(), second.path()};
    EXPECT_EQ(findReportFile("\\qarvolfac2.rpt", folders), a.fileName());
    EXPECT_EQ(findReportFile("QARVOLFAC2.RPT", folders), a.fileName());
    EXPECT_EQ(findReportFile("\\QARVOLFAC.rpt", folders), "");
    EXPECT_EQ(findReportFile("\\", folders), "");
    // A copy in an earlier folder (the program folder) wins.
    QFile b(QDir(first.path()).filePath("qarvolfac2.rpt"));
    ASSERT_TRUE(b.open(QIODevice::WriteOnly));
    b.close();
    EXPECT_EQ(findReportFile("\\QARVOLFAC2.rpt", folders), b.fileName());
}

}  // namespace
