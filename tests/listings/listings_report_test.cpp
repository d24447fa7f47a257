// The dated listings over a fixed month, compared with reviewed texts, plus the
// figures each one exists to get right.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>

#include "listings/listing_keys.h"
#include "listings/listings_fixture.h"
#include "reports/informes.h"
#include "reports/report_engine.h"
#include "support/temp_home.h"

using torvane::reports::RenderedReport;
using torvane::reports::ReportEngine;
using torvane::testing::TempHome;

namespace {

QString listingsExpected(const QString& name) {
    const QString source = qEnvironmentVariable("TORVANE_SOURCE");
    const QDir dir = source.isEmpty() ? QFileInfo(QStringLiteral(__FILE__)).dir()
                                      : QDir(QDir(source).filePath("tests/listings"));
    return dir.filePath(QStringLiteral("expected/") + name + ".txt");
}

// Renders the listing a key prints for March 2008 (customer 2 or insurer 1 where it takes one).
RenderedReport renderKey(TempHome& home, const QString& key) {
    const qint64 id = key == QLatin1String("qarvolgrua2.rpt") ? 1 : 2;
    const auto listing = torvane::listings::datedListing(key, QStringLiteral("01/03/2008"),
                                                         QStringLiteral("31/03/2008"), id);
    EXPECT_TRUE(listing) << key.toStdString();
    if (!listing) return {};
    ReportEngine engine(home.db(), torvane::reports::reportFolders(home.session()),
                        QDate(2008, 4, 15));
    const auto result = engine.render(listing->file, listing->formula);
    EXPECT_TRUE(result.report) << key.toStdString() << ": " << result.error.toStdString();
    return result.report.value_or(RenderedReport{});
}

struct ListingCase {
    const char* key;
    const char* reference;
    std::vector<const char*> present;  // texts that must be printed
    std::vector<const char*> absent;   // texts that must not
};

class ListingsGolden : public ::testing::TestWithParam<ListingCase> {};

TEST_P(ListingsGolden, PrintsTheMonthAsReviewed) {
    TempHome home;
    torvane::testing::fillListingsFixture(home.db());
    const ListingCase& c = GetParam();
    const RenderedReport r = renderKey(home, QString::fromUtf8(c.key));
    ASSERT_FALSE(r.pages.empty());
    const QString text = r.toText();
    for (const char* p : c.present)
        EXPECT_TRUE(text.contains(QString::fromUtf8(p))) << c.key << " lacks " << p;
    for (const char* a : c.absent)
        EXPECT_FALSE(text.contains(QString::fromUtf8(a))) << c.key << " prints " << a;

    const QString path = listingsExpected(QString::fromUtf8(c.reference));
    QFile f(path);
    if (qEnvironmentVariableIntValue("TORVANE_UPDATE_EXPECTED") == 1) {
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.toUtf8());
    } else {
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << "missing reference " << path.toStdString();
        EXPECT_EQ(text.toStdString(), QString::fromUtf8(f.readAll()).toStdString())
            << "reference " << path.toStdString();
    }
    const QString pdfDir = qEnvironmentVariable("TORVANE_REPORT_PDF_DIR");
    if (!pdfDir.isEmpty()) {
        EXPECT_TRUE(torvane::reports::writePdf(r, pdfDir + '/' + c.reference + ".pdf"));
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    March2008, ListingsGolden,
    ::testing::Values(
        // The invoice of two work orders once: 168,95 + 1.538,30 + 197,20.
        ListingCase{"QARVOLFAC.rpt", "QARVOLFAC", {"FR08/03/00002 | 1.326,12 | 212,18 | 1.538,30", "1.904,45"}, {"FV08"}},
        ListingCase{"QARVOLFACCC.rpt", "QARVOLFACCC", {"MARÍA LÓPEZ", "1.904,45", "(3 facturas)"}, {}},
        ListingCase{"QARVOLFAC22.rpt", "QARVOLFAC22", {"Total general (3 facturas)", "1.904,45"}, {}},
        ListingCase{"qarvolfac2.rpt", "qarvolfac2", {"1.538,30"}, {"FR08/03/00001", "FR08/03/00003"}},
        // Parts sales: the tow invoice FV08/03/00003 and April's invoice stay out.
        ListingCase{"qarvolfacven.rpt", "qarvolfacven", {"174,00"}, {"FV08/03/00003", "FV08/04"}},
        ListingCase{"qarvolfacven3.rpt", "qarvolfacven3", {"JUAN GARCÍA", "174,00 | 108,00"}, {"FV08/03/00003"}},
        ListingCase{"qarvolfacven22.rpt", "qarvolfacven22", {"174,00"}, {"FV08/03/00003"}},
        ListingCase{"qarvolfacven2.rpt", "qarvolfacven2", {"FV08/03/00002"}, {"FV08/03/00001", "FV08/03/00003"}},
        ListingCase{"QARVOLFACpend.rpt", "qarvolfacvenpend", {"FV08/03/00001", "66,00"}, {"FV08/03/00002", "FV08/03/00003"}},
        ListingCase{"qarvolgrua.rpt", "qarvolgrua", {"FV08/03/00003 | PG08/03/0001 | MUTUA DEL MOTOR | SIN-77 | 7777XYZ | 100,00 | 16,00 | 116,00"}, {"PG08/03/0002"}},
        ListingCase{"qarvolgrua2.rpt", "qarvolgrua2", {"FV08/03/00003"}, {}},
        ListingCase{"qarvolfaccomi.rpt", "qarvolfaccomi", {"FC08/0001", "200,00 | 32,00 | 30,00 | 202,00"}, {}},
        ListingCase{"qarvolodt.rpt", "qarvolodt", {"ODT08/03/00004", "1234BCD"}, {}},
        ListingCase{"Comprasgeneral", "qarvolentrp", {"162,00", "3.000,00", "250,00", "3.412,00"}, {}},
        ListingCase{"Comprasgeneraltot", "qarvolentrprotot", {"412,00", "3.000,00", "3.412,00"}, {}},
        // The limit is on each party's sum over the period: 3.000,00 is "hasta".
        ListingCase{"QARVOCLIENTESIMPMEN.rpt", "QARVOCLIENTESIMPMEN", {"AUTOS O'NEILL", "3.000,00", "1.596,30"}, {"JUAN GARCÍA"}},
        ListingCase{"QARVOCLIENTESIMPMAS.rpt", "QARVOCLIENTESIMPMAS", {"JUAN GARCÍA", "3.284,95"}, {"AUTOS O'NEILL", "MARÍA"}},
        ListingCase{"QARVOCLIENTESIMPORTE.rpt", "QARVOCLIENTESIMPORTE", {"7.881,25"}, {}},
        ListingCase{"QARVOLPROIMPMEN.rpt", "QARVOLPROIMPMEN", {"RECAMBIOS DEL CENTRO", "LUBRICANTES NORTE", "3.000,00"}, {}},
        ListingCase{"QARVOLPROIMPMAS.rpt", "QARVOLPROIMPMAS", {"Total general (0 proveedores) | 0,00"}, {"LUBRICANTES NORTE"}},
        ListingCase{"QARVOLPROIMPORTE.rpt", "QARVOLPROIMPORTE", {"3.412,00"}, {}},
        // Revenue 170,00, cost 2 x (18,00 less 10 %) = 32,40, margin 137,60.
        ListingCase{"qarvolbenodt.rpt", "qarvolbenodt", {"ODT08/03/00004 | FR08/03/00003 | AUTOS O'NEILL | 100,00 | 60,00 | 32,40 | 10,00 | 170,00 | 137,60 | 80,9"}, {}}),
    [](const ::testing::TestParamInfo<ListingCase>& info) {
        return QString::fromUtf8(info.param.reference).replace('.', '_').toStdString() +
               std::to_string(info.index);
    });
// clang-format on

}  // namespace
