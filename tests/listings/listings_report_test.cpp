// The dated listings over a fixed month, compared with reviewed texts.
#include <gtest/gtest.h>

#include "listings/listing_keys.h"
#include "listings/listings_fixture.h"
#include "reports/informes.h"
#include "reports/report_engine.h"
#include "support/temp_home.h"

using torvane::reports::RenderedReport;
using torvane::reports::ReportEngine;
using torvane::testing::TempHome;

namespace {

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
};

class ListingsGolden : public ::testing::TestWithParam<ListingCase> {};

TEST_P(ListingsGolden, PrintsTheMonthAsReviewed) {
    TempHome home;
    torvane::testing::fillListingsFixture(home.db());
    const ListingCase& c = GetParam();
    const RenderedReport r = renderKey(home, QString::fromUtf8(c.key));
    ASSERT_FALSE(r.pages.empty());
    torvane::testing::expectReference("listings", c.reference, r.toText());
    const QString pdfDir = qEnvironmentVariable("TORVANE_REPORT_PDF_DIR");
    if (!pdfDir.isEmpty()) {
        EXPECT_TRUE(torvane::reports::writePdf(r, pdfDir + '/' + c.reference + ".pdf"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    March2008, ListingsGolden,
    ::testing::Values(
        // The invoice of two work orders once: 168,95 + 1.538,30 + 197,20.
        ListingCase{"QARVOLFAC.rpt", "QARVOLFAC"}, ListingCase{"QARVOLFACCC.rpt", "QARVOLFACCC"},
        ListingCase{"QARVOLFAC22.rpt", "QARVOLFAC22"}, ListingCase{"qarvolfac2.rpt", "qarvolfac2"},
        // Parts sales: the tow invoice FV08/03/00003 and April's invoice stay out.
        ListingCase{"qarvolfacven.rpt", "qarvolfacven"},
        ListingCase{"qarvolfacven3.rpt", "qarvolfacven3"},
        ListingCase{"qarvolfacven22.rpt", "qarvolfacven22"},
        ListingCase{"qarvolfacven2.rpt", "qarvolfacven2"},
        ListingCase{"QARVOLFACpend.rpt", "qarvolfacvenpend"},
        ListingCase{"qarvolgrua.rpt", "qarvolgrua"}, ListingCase{"qarvolgrua2.rpt", "qarvolgrua2"},
        ListingCase{"qarvolfaccomi.rpt", "qarvolfaccomi"},
        ListingCase{"qarvolodt.rpt", "qarvolodt"}, ListingCase{"Comprasgeneral", "qarvolentrp"},
        ListingCase{"Comprasgeneraltot", "qarvolentrprotot"},
        // The limit is on each party's sum over the period: 3.000,00 is "hasta".
        ListingCase{"QARVOCLIENTESIMPMEN.rpt", "QARVOCLIENTESIMPMEN"},
        ListingCase{"QARVOCLIENTESIMPMAS.rpt", "QARVOCLIENTESIMPMAS"},
        ListingCase{"QARVOCLIENTESIMPORTE.rpt", "QARVOCLIENTESIMPORTE"},
        ListingCase{"QARVOLPROIMPMEN.rpt", "QARVOLPROIMPMEN"},
        ListingCase{"QARVOLPROIMPMAS.rpt", "QARVOLPROIMPMAS"},
        ListingCase{"QARVOLPROIMPORTE.rpt", "QARVOLPROIMPORTE"},
        // Revenue 170,00, cost 2 x (18,00 less 10 %) = 32,40, margin 137,60.
        ListingCase{"qarvolbenodt.rpt", "qarvolbenodt"}),
    [](const ::testing::TestParamInfo<ListingCase>& info) {
        return QString::fromUtf8(info.param.reference).replace('.', '_').toStdString() +
               std::to_string(info.index);
    });

TEST(ListingKeys, KeysCompareExactlyAndUnknownOnesPrintNothing) {
    for (const char* key : {"QARVOLFAC2.rpt", "qarvolfac.rpt", "QARVOLFACPEND.rpt", "",
                            "comprasprov", "qarvolgrua.rpt "})
        EXPECT_FALSE(torvane::listings::datedListing(
            QString::fromUtf8(key), QStringLiteral("01/03/2008"), QStringLiteral("31/03/2008"), 7))
            << key;
}

TEST(ListingKeys, DatesAreCutByPositionFromTheTexts) {
    struct Case {
        const char* from;
        const char* to;
        const char* formula;
    };
    const Case cases[] = {
        {"15/11/2009", "02/01/2010",
         "P2009,11,15,00, 00, 00) to DateTime (2010,01,02 ,00, 00, 00)"},
        // A short text is cut all the same: the engine reports the bad formula.
        {"1/3/2008", "31/03/2008", "P2008,/2,1/,00, 00, 00) to DateTime (2008,03,31 ,00, 00, 00)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(torvane::listings::dateRangeFormula(
                      QStringLiteral("P"), QString::fromUtf8(c.from), QString::fromUtf8(c.to))
                      .toStdString(),
                  c.formula);
}

}  // namespace
