#include "verifactu/settings.h"

#include <gtest/gtest.h>

#include <QFile>

#include "support/temp_home.h"

using namespace torvane;
using namespace torvane::testing;
namespace vf = torvane::verifactu;

TEST(VerifactuSettingsRate, ReadAsTyped) {
    // What is taken, in ten-thousandths, or the refusal.
    const std::pair<const char*, const char*> cases[] = {{"10,5", "105000"},
                                                         {"10.5", "105000"},
                                                         {"0", "0"},
                                                         {"100", "1000000"},
                                                         {"10,500", "105000"},
                                                         {"", vf::kBadRate},
                                                         {"-1", vf::kRateOutOfRange},
                                                         {"100,01", vf::kRateOutOfRange},
                                                         {"10,555", vf::kRateTooManyDecimals}};
    for (const auto& [typed, taken] : cases) {
        const vf::RateInput r = vf::readRate(QString::fromUtf8(typed));
        EXPECT_EQ(r.rate ? QString::number(r.rate->units()) : r.refusal, QString::fromUtf8(taken))
            << typed;
    }
}

TEST(VerifactuSettingsScreen, CheckRefusesWithItsMessage) {
    TempHome home;
    const QString certificate = home.file(QStringLiteral("taller.p12"));
    QFile f(certificate);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    const QString missing = home.file(QStringLiteral("no_existe.p12"));
    vf::Settings off;
    vf::Settings on;
    on.enabled = true;
    struct Case {
        const char* name;
        vf::SettingsInput in;
        const vf::Settings* current;
        QString refusal;
        bool switchesOn;
    };
    const Case cases[] = {
        {"on, sending", {true, vf::kModeVerifactu, certificate, "16"}, &off, {}, true},
        {"saved again", {true, vf::kModeVerifactu, certificate, "16"}, &on, {}, false},
        {"on, kept, no certificate", {true, vf::kModeNoVerifactu, {}, "16"}, &off, {}, true},
        {"switching off",
         {false, vf::kModeVerifactu, certificate, "16"},
         &on,
         QString::fromUtf8(vf::kCannotSwitchOff),
         false},
        {"sending without certificate",
         {true, vf::kModeVerifactu, {}, "16"},
         &off,
         QString::fromUtf8(vf::kNoCertificate),
         false},
        {"certificate missing",
         {false, vf::kModeVerifactu, missing, "16"},
         &off,
         vf::certificateMissingMessage(missing),
         false},
    };
    for (const Case& c : cases) {
        const vf::Checked r = vf::check(c.in, *c.current);
        EXPECT_EQ(r.refusal, c.refusal) << c.name;
        EXPECT_EQ(r.settings.has_value(), c.refusal.isEmpty()) << c.name;
        EXPECT_EQ(r.switchesOn, c.switchesOn) << c.name;
    }
    EXPECT_EQ(vf::certificateMissingMessage(QStringLiteral("/x/taller.p12")),
              "No se encuentra el certificado /x/taller.p12.");
}
