// The printed receipt and commission invoice over a fixed workshop, compared with
// reviewed texts.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>

#include "billing/commissions.h"
#include "billing/free_invoices.h"
#include "billing/receipts.h"
#include "core/session.h"
#include "reports/informes.h"
#include "reports/report_engine.h"
#include "reports/report_fixture.h"
#include "reports/report_page.h"
#include "support/temp_home.h"

using namespace torvane;
using namespace torvane::testing;

namespace {

QString expectedFolder() {
    const QString source = qEnvironmentVariable("TORVANE_SOURCE");
    return source.isEmpty() ? QFileInfo(QStringLiteral(__FILE__)).dir().filePath("expected")
                            : QDir(source).filePath("tests/billing/expected");
}

// Compares with the reviewed text; TORVANE_UPDATE_EXPECTED=1 rewrites it and
// TORVANE_REPORT_PDF=folder also writes the page for a look.
void compareWithReference(const reports::RenderedReport& report, const QString& name) {
    const QString text = report.toText();
    if (const QString pdf = qEnvironmentVariable("TORVANE_REPORT_PDF"); !pdf.isEmpty())
        reports::writePdf(report, QDir(pdf).filePath(name + QStringLiteral(".pdf")));
    const QString path = expectedFolder() + QLatin1Char('/') + name + QStringLiteral(".txt");
    QFile f(path);
    if (qEnvironmentVariableIntValue("TORVANE_UPDATE_EXPECTED") == 1) {
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.toUtf8());
        return;
    }
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << "missing reference " << path.toStdString();
    EXPECT_EQ(text.toStdString(), QString::fromUtf8(f.readAll()).toStdString());
}

DocumentLine typed(const char* text, const char* units, const char* price, const char* dto) {
    return *free_invoices::readLine(QString::fromUtf8(text), QString::fromUtf8(units),
                                    QString::fromUtf8(price), QString::fromUtf8(dto))
                .line;
}

TEST(ReceiptReports, ReceiptWithAmountInWordsAndPayer) {
    TempHome home;
    fillReportFixture(home.db());
    home.session().setToday(QDate(2008, 3, 15));
    home.db().exec(
        "UPDATE Clientes SET Banco = 'BANCO DE EJEMPLO', Sucursal = '0049', NumeroCuenta = "
        "'0049 1500 05 1234567890' WHERE Id_Cli = 2");
    const auto rows = receipts::rows(home.session(), "30-60 DÍAS", QDate(2008, 3, 15), 5,
                                     Money::fromCents(123457));
    receipts::store(home.session(), QDate(2008, 3, 15), rows,
                    {2, "BANCO DE EJEMPLO", "0049", "0049 1500 05 1234567890"},
                    {"FR08/03/00001", "FV08/03/00002"});
    const qint64 second = home.db().scalar("SELECT MAX(Id) FROM Recibos").toLongLong();

    reports::ReportEngine engine(home.db(), reports::reportFolders(home.session()),
                                 QDate(2008, 4, 15));
    const auto result =
        engine.render(QString::fromLatin1(receipts::kReportFile), receipts::reportFormula(second));
    ASSERT_TRUE(result.report.has_value()) << result.error.toStdString();
    const QString text = result.report->toText();
    // 1.234,57 / 2 = 617,285: each receipt 617,29.
    for (const char* shown : {"08/03/00002", "5/05/2008", "617,29", "0049 1500 05 1234567890",
                              "FR08/03/00001", "FV08/03/00002"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(shown))) << shown;
    // The words as stored with the receipt.
    const QString words =
        home.db().scalar("SELECT ImporteLetras FROM Recibos WHERE Id = ?", {second}).toString();
    EXPECT_TRUE(words.startsWith("Seiscientos")) << words.toStdString();
    EXPECT_TRUE(text.contains(words)) << text.toStdString();
    compareWithReference(*result.report, QStringLiteral("qarvorecibo"));
}

TEST(ReceiptReports, CommissionInvoiceWithWithholding) {
    TempHome home;
    fillReportFixture(home.db());
    commissions::store(
        home.db(), {"FC08/03/0001", QDate(2008, 3, 20), 2, Quantity::whole(15)},
        {typed("COMISION POR INTERMEDIACION EN LA VENTA DE VEHICULO", "1", "100", "0"),
         typed("COMISION SEGURO", "2", "50", "50")});
    commissions::store(home.db(), {"FC08/03/0002", QDate(2008, 3, 21), 1, {}},
                       {typed("OTRA", "1", "1", "0")});
    reports::ReportEngine engine(home.db(), reports::reportFolders(home.session()),
                                 QDate(2008, 4, 15));
    const auto result = engine.render(QString::fromLatin1(commissions::kReportFile),
                                      commissions::reportFormula("FC08/03/0001"));
    ASSERT_TRUE(result.report.has_value()) << result.error.toStdString();
    const QString text = result.report->toText();
    for (const char* shown : {"150,00", "24,00", "22,50", "151,50", "15 %", "COMISION SEGURO"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(shown))) << shown;
    EXPECT_FALSE(text.contains("FC08/03/0002"));
    compareWithReference(*result.report, QStringLiteral("qarvofaccomi"));
}

TEST(ReceiptReports, CommissionReprintShowsTheRateItWasMadeWith) {
    TempHome home;
    fillReportFixture(home.db());
    // 1,43 at 7 % withholds 0,10, which gives back 6,99 %: the stored rate is printed instead.
    commissions::store(home.db(), {"FC08/03/0001", QDate(2008, 3, 20), 2, Quantity::whole(7)},
                       {typed("COMISION", "1", "1,43", "0")});
    // A row written before the rate was kept: the rate is worked out from its amounts.
    home.db().exec(
        "INSERT INTO Comisiones (NFactura, Fecha, Id_Cli, Suma, Iva, Retencion, Resto) "
        "VALUES ('FC08/03/0002', '2008-03-21', 2, 200, 32, 30, 202)");
    struct Case {
        const char* number;
        const char* shown;
        const char* notShown;
    };
    for (const Case& c :
         {Case{"FC08/03/0001", "7 %", "6,99"}, Case{"FC08/03/0002", "15 %", "7 %"}}) {
        reports::ReportEngine engine(home.db(), reports::reportFolders(home.session()),
                                     QDate(2008, 4, 15));
        const auto result = engine.render(QString::fromLatin1(commissions::kReportFile),
                                          commissions::reportFormula(c.number));
        ASSERT_TRUE(result.report.has_value()) << result.error.toStdString();
        const QString text = result.report->toText();
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.shown))) << c.number << text.toStdString();
        EXPECT_FALSE(text.contains(QString::fromUtf8(c.notShown))) << c.number;
    }
}

}  // namespace
