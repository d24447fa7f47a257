#include <gtest/gtest.h>
#include <tuple>

#include "core/money.h"
#include "support/temp_home.h"
#include "support/typed_numbers.h"

using torvane::Money;
using torvane::Quantity;
using torvane::testing::euros;
using torvane::testing::qty;

namespace {

TEST(Money, LineAmountsRoundOnceHalfAwayFromZero) {
    // units, price, discount %, amount: rounded to cents from the exact product.
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        {"1", "110,65", "10", "99,59"},     // 99,585
        {"-1", "110,65", "10", "-99,59"},   // a returned part: the half goes down
        {"1", "2,675", "0", "2,68"},        // a double holds 2,67499999..., 1,015 1,01499...
        {"1,5", "12,35", "12,5", "16,21"},  // 16,209375
        {"1", "1.234,56", "100", "0,00"},   // a gift line
    };
    for (const auto& [units, price, discount, expected] : cases) {
        const Money amount = (euros(price) * qty(units)).lessPercent(qty(discount)).roundCents();
        EXPECT_EQ(amount, euros(expected)) << units << " x " << price << " - " << discount;
        EXPECT_EQ(amount.format(), QString::fromUtf8(expected)) << expected;
    }
}

TEST(Money, RoundsToCentsAwayAndToCurrencyEven) {
    // The value; to cents, halves away from zero; its product ×0,5 to currency, four
    // decimals with halves to even.
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"0,005", "0,01", "0,0025"},
        {"-0,005", "-0,01", "-0,0025"},
        {"-0,0049", "0,00", "-0,0024"},
        {"99,995", "100,00", "49,9975"},
    };
    for (const auto& [value, cents, currency] : cases) {
        EXPECT_EQ(euros(value).roundCents(), euros(cents)) << value;
        EXPECT_EQ((euros(value) * qty("0,5")).toCurrency(), euros(currency)) << value;
    }
}

TEST(Money, VatOnBasesEndingInFiveHalfCents) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"10,05", "16", "1,61"},       // 1,608
        {"99,585", "16", "15,93"},     // 15,9336: a base kept with four decimals
        {"-12,35", "16", "-1,98"},     // a credit note
        {"1.000,50", "15", "150,08"},  // 150,075: the commission withholding
    };
    for (const auto& [base, rate, vat] : cases)
        EXPECT_EQ(euros(base).percent(qty(rate)).roundCents(), euros(vat)) << base << " @ " << rate;
}

TEST(Money, ParsesEveryFormatTheScreensAccept) {
    // The text and its value in ten-thousandths.
    const std::pair<const char*, std::int64_t> cases[] = {
        {"1.234.567,89", 12345678900}, {"12.5", 125000}, {"1.234", 12340},
        {"  1.234,50 € ", 12345000},   {"0,00015", 2},   {"-1,23455", -12346},
        {"117.968", 1179680}};
    for (const auto& [text, units] : cases) {
        const auto v = Money::parse(QString::fromUtf8(text));
        ASSERT_TRUE(v.has_value()) << text;
        EXPECT_EQ(v->units(), units) << text;
    }
    const char* rejected[] = {"", "-", "1,2,3", "12.34,5", "1.23.456", "12,5-"};
    for (const char* text : rejected)
        EXPECT_FALSE(Money::parse(QString::fromUtf8(text)).has_value()) << text;
    EXPECT_EQ(Quantity::parse("3,25")->units(), 32500);
    EXPECT_EQ(Quantity::parse("-2")->units(), -20000);
}

TEST(Money, FormatsWithThousandsAndTwoDecimals) {
    const std::pair<std::int64_t, const char*> cases[] = {
        {0, "0,00"},   {-12345000, "-1.234,50"},     {9999950, "1.000,00"}, {-50, "-0,01"},
        {-49, "0,00"}, {10000000000, "1.000.000,00"}};
    for (const auto& [units, text] : cases) {
        EXPECT_EQ(Money::fromUnits(units).format(), QString::fromUtf8(text)) << units;
        EXPECT_EQ(Money::fromUnits(units).formatEuro(), QString::fromUtf8(text) + " €");
    }
    EXPECT_EQ(Money::fromUnits(1179680).toPlainString(), "117.968");
    EXPECT_EQ(Money::fromUnits(-5).toPlainString(), "-0.0005");
    EXPECT_EQ(Money::whole(12).toPlainString(), "12");
    EXPECT_EQ(Money::fromCents(-1).shareCents(3), Money());
    EXPECT_EQ(Money::fromCents(1000).shareCents(3), Money::fromCents(333));
    EXPECT_EQ(Money::fromCents(-1001).shareCents(2), Money::fromCents(-501));
}

TEST(Money, ReadsTheDoublesOfOlderFiles) {
    // Older files stored VAT and totals with fractions of a cent, and sums that a
    // double cannot hold exactly. They read as the decimal that was meant.
    torvane::testing::TempHome home;
    auto& db = home.db();
    const std::tuple<QVariant, std::int64_t, const char*> cases[] = {
        {117.968, 1179680, "117,97"},
        {99.58499999999999, 995850, "99,59"},
        {QVariant(qlonglong(250)), 2500000, "250,00"},
        {QString("117,968"), 1179680, "117,97"},
        {QVariant(), 0, "0,00"},
    };
    for (const auto& [stored, units, shown] : cases) {
        db.exec("DELETE FROM FacturasODT");
        db.exec("INSERT INTO FacturasODT (NFactura, IVA) VALUES ('FR', ?)", {stored});
        const Money read = Money::fromDb(db.scalar("SELECT IVA FROM FacturasODT"));
        EXPECT_EQ(read.units(), units) << stored.toString().toStdString();
        EXPECT_EQ(read.format(), QString::fromUtf8(shown));
        // Written back as stored today (REAL), it reads back the same.
        db.exec("UPDATE FacturasODT SET IVA = ?", {read.toDb()});
        EXPECT_EQ(Money::fromDb(db.scalar("SELECT IVA FROM FacturasODT")), read);
    }
}

}  // namespace
