// The QR code printed on an invoice, read back from the PDF as a customer's phone would.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>

#include "reports/informes.h"
#include "reports/report_engine.h"
#include "reports/report_fixture.h"
#include "reports/report_page.h"
#include "support/temp_home.h"
#include "verifactu/records.h"

using namespace torvane;
using namespace torvane::testing;
namespace vf = torvane::verifactu;

namespace {

// Every QR code found on the first page of the PDF, one per line.
QString decode(const QString& pdf, const QString& folder) {
    const QString page = QDir(folder).filePath("pagina");
    QProcess render;
    render.start("pdftoppm", {"-r", "200", "-singlefile", "-png", pdf, page});
    EXPECT_TRUE(render.waitForFinished(60000) && render.exitCode() == 0)
        << "pdftoppm: " << render.readAllStandardError().toStdString();
    QProcess zbar;
    zbar.start("zbarimg", {"--raw", "-q", "-Sqrcode.enable=1", page + ".png"});
    EXPECT_TRUE(zbar.waitForFinished(60000)) << "zbarimg (zbar-tools) is needed";
    // zbarimg exits 4 when the image holds no code.
    EXPECT_TRUE(zbar.exitCode() == 0 || zbar.exitCode() == 4)
        << zbar.readAllStandardError().toStdString();
    return QString::fromUtf8(zbar.readAllStandardOutput()).trimmed();
}

}  // namespace

TEST(VerifactuQrDecode, InvoicePdfCarriesTheAgencyAddress) {
    const struct {
        bool enabled;
        const char* mode;
        const char* check;  // the agency's page the code leads to; empty: no code on the page
    } cases[] = {{true, "VERI*FACTU", "ValidarQR"},
                 {true, "No VERI*FACTU", "ValidarQRNoVerifactu"},
                 {false, "VERI*FACTU", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.mode) + (c.enabled ? "" : ", switched off"));
        TempHome home;
        vf::Settings s = vf::loadSettings(home.db());
        s.enabled = c.enabled;
        s.mode = QString::fromUtf8(c.mode);
        vf::saveSettings(home.db(), s);
        // The invoices of the fixture are issued with the records switched as above.
        fillReportFixture(home.db());
        reports::ReportEngine engine(home.db(), reports::reportFolders(home.session()),
                                     QDate(2008, 4, 15));
        const auto result = engine.render(QStringLiteral("\\QARVOFACODT.rpt"),
                                          QStringLiteral("{ODTS.NODT} ='ODT08/03/00001'"));
        ASSERT_TRUE(result.report.has_value()) << result.error.toStdString();
        const QString pdf = home.file(QStringLiteral("factura.pdf"));
        QString reason;
        ASSERT_TRUE(reports::writePdf(*result.report, pdf, &reason)) << reason.toStdString();
        const QString check = QString::fromUtf8(c.check);
        EXPECT_EQ(decode(pdf, home.folder()),
                  check.isEmpty()
                      ? QString()
                      : "https://www2.agenciatributaria.gob.es/wlpl/TIKE-CONT/" + check +
                            "?nif=B12345678&numserie=FR08%2F03%2F00001&fecha=11-03-"
                            "2008&importe=168.95");
        const QString text = result.report->toText();
        EXPECT_EQ(text.contains(QStringLiteral("QR tributario:")), !check.isEmpty());
        EXPECT_EQ(text.contains(QStringLiteral("VERI*FACTU")), check == "ValidarQR");
    }
}
