#include <gtest/gtest.h>

#include "listings/listing_keys.h"

namespace torvane::listings {
namespace {

TEST(ListingKeys, KeysCompareExactlyAndUnknownOnesPrintNothing) {
    for (const char* key : {"QARVOLFAC2.rpt", "qarvolfac.rpt", "QARVOLFACPEND.rpt", "",
                            "comprasprov", "qarvolgrua.rpt "})
        EXPECT_FALSE(datedListing(QString::fromUtf8(key), QStringLiteral("01/03/2008"),
                                  QStringLiteral("31/03/2008"), 7))
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
        EXPECT_EQ(dateRangeFormula(QStringLiteral("P"), QString::fromUtf8(c.from),
                                   QString::fromUtf8(c.to))
                      .toStdString(),
                  c.formula);
}

}  // namespace
}  // namespace torvane::listings
