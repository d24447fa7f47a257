#include "verifactu/settings.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>

#include "data/database.h"
#include "support/screen_helpers.h"
#include "support/temp_home.h"
#include "support/test_services.h"
#include "verifactu/settings_screen.h"

using namespace torvane;
using namespace torvane::testing;
namespace vf = torvane::verifactu;

TEST(VerifactuSettingsRate, ReadAsTyped) {
    // What is taken, in ten-thousandths, or the refusal.
    const std::pair<const char*, const char*> cases[] = {{"10,5", "105000"},
                                                         {"10.5", "105000"},
                                                         {" 4 ", "40000"},
                                                         {"0", "0"},
                                                         {"100", "1000000"},
                                                         {"10,500", "105000"},
                                                         {"", vf::kBadRate},
                                                         {"16%", vf::kBadRate},
                                                         {"-1", vf::kRateOutOfRange},
                                                         {"100,01", vf::kRateOutOfRange},
                                                         {"10,555", vf::kRateTooManyDecimals}};
    for (const auto& [typed, taken] : cases) {
        const vf::RateInput r = vf::readRate(QString::fromUtf8(typed));
        EXPECT_EQ(r.rate ? QString::number(r.rate->units()) : r.refusal, QString::fromUtf8(taken))
            << typed;
    }
}

namespace {

class VerifactuSettingsScreen : public ::testing::Test {
  protected:
    void SetUp() override {
        certificate_ = home_.file(QStringLiteral("taller.p12"));
        QFile f(certificate_);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("PKCS12");
    }
    Database& db() { return home_.db(); }
    vf::SettingsInput input(bool enabled, const char* mode, const QString& certificate,
                            const char* rate) {
        return {enabled, QString::fromUtf8(mode), certificate, QString::fromUtf8(rate)};
    }

    TempHome home_;
    TestServices services_;
    QString certificate_;
};

}  // namespace

TEST_F(VerifactuSettingsScreen, CheckRefusesWithItsMessage) {
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
    const QString missing = home_.file(QStringLiteral("no_existe.p12"));
    const Case cases[] = {
        {"on, sending", input(true, vf::kModeVerifactu, certificate_, "16"), &off, {}, true},
        {"on, kept, no certificate", input(true, vf::kModeNoVerifactu, {}, "16"), &off, {}, true},
        {"switching off", input(false, vf::kModeVerifactu, certificate_, "16"), &on,
         QString::fromUtf8(vf::kCannotSwitchOff), false},
        {"sending without certificate", input(true, vf::kModeVerifactu, {}, "16"), &off,
         QString::fromUtf8(vf::kNoCertificate), false},
        {"certificate missing", input(false, vf::kModeVerifactu, missing, "16"), &off,
         vf::certificateMissingMessage(missing), false},
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

// One screen: a bad rate refused, then the records switched on (asked, and locked once on).
TEST_F(VerifactuSettingsScreen, BadRateIsRefusedAndSwitchingOnAsksAndCannotBeUndone) {
    ConfigFacturacion form(home_.session(), services_);
    control<QLineEdit>(&form, "TxtTipoIva")->clear();
    type(&form, "TxtTipoIva", "121");
    click(&form, "CmdGuardar");
    EXPECT_EQ(services_.scripted.texts(), QStringList{QString::fromUtf8(vf::kRateOutOfRange)});
    EXPECT_EQ(textOf(&form, "TxtTipoIva"), "121");
    EXPECT_EQ(vf::vatRate(db()), Quantity::whole(16));
    services_.scripted.clear();
    control<QLineEdit>(&form, "TxtTipoIva")->clear();
    // The keyboard class turns the point into a comma.
    type(&form, "TxtTipoIva", "10.5");
    EXPECT_EQ(textOf(&form, "TxtTipoIva"), "10,5");

    services_.scripted.answerFile(certificate_);
    click(&form, "CmdCertificado");
    EXPECT_EQ(textOf(&form, "TxtCertificado"), certificate_);
    control<QCheckBox>(&form, "ChkActivo")->setChecked(true);
    control<QComboBox>(&form, "CboModo")->setCurrentText(QStringLiteral("NO VERI*FACTU"));
    // Answered no: nothing is stored and the screen keeps what was set.
    services_.scripted.answerNo();
    EXPECT_FALSE(form.save());
    EXPECT_FALSE(vf::loadSettings(db()).enabled);
    EXPECT_EQ(vf::vatRate(db()), Quantity::whole(16));
    EXPECT_TRUE(control<QCheckBox>(&form, "ChkActivo")->isChecked());

    services_.scripted.answerYes();
    EXPECT_TRUE(form.save());
    const vf::Settings stored = vf::loadSettings(db());
    EXPECT_TRUE(stored.enabled);
    EXPECT_EQ(stored.mode, "NO VERI*FACTU");
    EXPECT_EQ(stored.certificate, certificate_);
    EXPECT_EQ(vf::vatRate(db()), Quantity::fromUnits(105000));
    EXPECT_EQ(services_.scripted.texts(), QStringList({QStringLiteral("Certificado de la empresa"),
                                                       QString::fromUtf8(vf::kConfirmSwitchOn),
                                                       QString::fromUtf8(vf::kConfirmSwitchOn),
                                                       QString::fromUtf8(vf::kSaved)}));
    // Once on, the switch is locked, and saving again asks nothing.
    EXPECT_FALSE(enabled(&form, "ChkActivo"));
    EXPECT_TRUE(control<QCheckBox>(&form, "ChkActivo")->isChecked());
    services_.scripted.clear();
    EXPECT_TRUE(form.save());
    EXPECT_EQ(services_.scripted.texts(), QStringList{QString::fromUtf8(vf::kSaved)});
}
