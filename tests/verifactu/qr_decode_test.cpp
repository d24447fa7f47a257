// The QR code printed on an invoice, read back from the PDF as a customer's phone would.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
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
    QProcess render;
    render.start("pdftoppm",
                 {"-r", "200", "-f", "1", "-l", "1", "-png", pdf, QDir(folder).filePath("pagina")});
    EXPECT_TRUE(render.waitForFinished(60000) && render.exitCode() == 0)
        << "pdftoppm: " << render.readAllStandardError().toStdString();
    const QStringList pages = QDir(folder).entryList({"pagina*.png"});
    EXPECT_EQ(pages.size(), 1);
    if (pages.isEmpty()) return {};
    QProcess zbar;
    zbar.start("zbarimg",
               {"--raw", "-q", "-Sqrcode.enable=1", QDir(folder).filePath(pages.front())});
    EXPECT_TRUE(zbar.waitForFinished(60000)) << "zbarimg (zbar-tools) is needed";
    // zbarimg exits 4 when the image holds no code.
    EXPECT_TRUE(zbar.exitCode() == 0 || zbar.exitCode() == 4)
        << zbar.readAllStandardError().toStdString();
    return QString::fromUtf8(zbar.readAllStandardOutput()).trimmed();
}

}  // namespace

TEST(VerifactuQrDecode, InvoicePdfCarriesTheAgencyAddress) {
    const struct {
        const char* name;
        bool enabled;
        const char* mode;
        const char* definition;
        const char* expected;  // what the code reads; empty: no code on the page
    } cases[] = {{"Invoice", true, "VERI*FACTU", "\\QARVOFACODT.rpt",
                  "https://www2.agenciatributaria.gob.es/wlpl/TIKE-CONT/ValidarQR?nif=B12345678&"
                  "numserie=FR08%2F03%2F00001&fecha=11-03-2008&importe=168.95"},
                 {"InternalInvoice", true, "VERI*FACTU", "\\QARVOFACODTI.rpt",
                  "https://www2.agenciatributaria.gob.es/wlpl/TIKE-CONT/ValidarQR?nif=B12345678&"
                  "numserie=FR08%2F03%2F00001&fecha=11-03-2008&importe=168.95"},
                 {"RecordsKeptWithoutSending", true, "No VERI*FACTU", "\\QARVOFACODT.rpt",
                  "https://www2.agenciatributaria.gob.es/wlpl/TIKE-CONT/ValidarQRNoVerifactu?"
                  "nif=B12345678&numserie=FR08%2F03%2F00001&fecha=11-03-2008&importe=168.95"},
                 {"SwitchedOff", false, "VERI*FACTU", "\\QARVOFACODT.rpt", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempHome home;
        vf::Settings s = vf::loadSettings(home.db());
        s.enabled = c.enabled;
        s.mode = QString::fromUtf8(c.mode);
        vf::saveSettings(home.db(), s);
        // The invoices of the fixture are issued with the records switched as above.
        fillReportFixture(home.db());
        reports::ReportEngine engine(home.db(), reports::reportFolders(home.session()),
                                     QDate(2008, 4, 15));
        const auto result = engine.render(QString::fromUtf8(c.definition),
                                          QStringLiteral("{ODTS.NODT} ='ODT08/03/00001'"));
        ASSERT_TRUE(result.report.has_value()) << result.error.toStdString();
        const QString text = result.report->toText();
        const QString pdf = home.file(QStringLiteral("factura.pdf"));
        QString reason;
        ASSERT_TRUE(reports::writePdf(*result.report, pdf, &reason)) << reason.toStdString();
        // TORVANE_REPORT_PDF_DIR=folder keeps a copy, to look at it.
        const QString keep = qEnvironmentVariable("TORVANE_REPORT_PDF_DIR");
        if (!keep.isEmpty())
            QFile::copy(pdf, QDir(keep).filePath(QStringLiteral("qr_%1.pdf").arg(c.name)));
        EXPECT_EQ(decode(pdf, home.folder()), QString::fromUtf8(c.expected));
        EXPECT_EQ(text.contains(QStringLiteral("QR tributario:")), *c.expected != '\0');
        EXPECT_EQ(text.contains(QStringLiteral("VERI*FACTU")),
                  QString::fromUtf8(c.expected).contains(QStringLiteral("/ValidarQR?")));
    }
}
