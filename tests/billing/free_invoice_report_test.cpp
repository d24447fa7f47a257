// The printed free invoice over a fixed workshop, compared with a reviewed text.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>

#include "billing/free_invoices.h"
#include "reports/informes.h"
#include "reports/report_engine.h"
#include "reports/report_fixture.h"
#include "support/temp_home.h"

using namespace torvane;
using namespace torvane::testing;
namespace fi = torvane::free_invoices;

namespace {

QString referencePath() {
    const QString source = qEnvironmentVariable("TORVANE_SOURCE");
    const QString folder = source.isEmpty()
                               ? QFileInfo(QStringLiteral(__FILE__)).dir().filePath("expected")
                               : QDir(source).filePath("tests/billing/expected");
    return folder + QStringLiteral("/qarvofli.txt");
}

DocumentLine typed(const char* text, const char* units, const char* price, const char* dto) {
    return *fi::readLine(QString::fromUtf8(text), QString::fromUtf8(units),
                         QString::fromUtf8(price), QString::fromUtf8(dto))
                .line;
}

TEST(FreeInvoiceReport, PrintsCompanyCustomerLinesAndTotals) {
    TempHome home;
    fillReportFixture(home.db());
    // Suma 27,00 + 73,00 + 1.234,57 = 1.334,57; VAT 16 % 213,53; discount 5 % of
    // 1.548,10 = 77,41; total 1.470,69.
    const std::vector<DocumentLine> lines = {
        typed("REVISION GENERAL SEGUN PLAN DEL FABRICANTE", "3", "10", "10"),
        typed("ACEITE 5W30", "2", "36,5", "0"),
        typed("REPARACION DE CHAPA Y PINTURA DEL PORTON TRASERO CON MATERIALES", "1", "1.234,567",
              "0")};
    fi::store(home.session(),
              {"FL/00001", QDate(2008, 3, 20), 2, Quantity::whole(16), Quantity::whole(5)}, lines);
    // Another invoice that must not be printed.
    fi::store(home.session(), {"FL/00002", QDate(2008, 3, 21), 1, Quantity::whole(16), {}},
              {typed("OTRO", "1", "1", "0")});

    reports::ReportEngine engine(home.db(), reports::reportFolders(home.session()),
                                 QDate(2008, 4, 15));
    const auto result =
        engine.render(QString::fromLatin1(fi::kReportFile), fi::reportFormula("FL/00001"));
    ASSERT_TRUE(result.report.has_value()) << result.error.toStdString();
    const QString text = result.report->toText();
    const auto stored = home.db().firstRow(
        "SELECT Suma, Iva, Descuento, Total FROM FacturasLibres WHERE NFactura = 'FL/00001'");
    ASSERT_TRUE(stored);
    // What is printed is what was invoiced.
    for (const char* column : {"Suma", "Iva", "Descuento", "Total"})
        EXPECT_TRUE(text.contains(Money::fromDb(stored->value(column)).format())) << column;
    EXPECT_FALSE(text.contains("FL/00002"));

    const QString path = referencePath();
    if (qEnvironmentVariableIntValue("TORVANE_UPDATE_EXPECTED") == 1) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.toUtf8());
        return;
    }
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << "missing reference " << path.toStdString();
    EXPECT_EQ(text.toStdString(), QString::fromUtf8(f.readAll()).toStdString());
}

}  // namespace
