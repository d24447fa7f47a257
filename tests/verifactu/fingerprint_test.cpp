#include "verifactu/fingerprint.h"

#include <gtest/gtest.h>

#include "verifactu/records.h"

using namespace torvane::verifactu;

namespace {

const QString kFirst = "3C464DAF61ACB827C65FDA19F352A4E3BDC2C640E9E9FC4CC058073F38F12F60";
const QString kSecond = "F7B94CFD8924EDFF273501B01EE5153E4CE8F259766F88CF6ACB8935802A2B97";

AltaFields agencyAlta(const QString& number, const QString& previous, const QString& time) {
    return {"89890001K", number, "01-01-2024", "F1", "12.35", "123.45", previous, time};
}

}  // namespace

TEST(VerifactuFingerprint, AgencyExamples) {
    const QString first =
        altaText(agencyAlta("12345678/G33", QString(), "2024-01-01T19:20:30+01:00"));
    EXPECT_EQ(fingerprint(first), kFirst);
    const QString second =
        altaText(agencyAlta("12345679/G34", kFirst, "2024-01-01T19:20:35+01:00"));
    EXPECT_EQ(fingerprint(second), kSecond);
    // A cancellation's text follows its own field list.
    const QString text = anulacionText(
        {"89890001K", "12345679/G34", "01-01-2024", kSecond, "2024-01-01T19:20:40+01:00"});
    EXPECT_EQ(text, QStringLiteral("IDEmisorFacturaAnulada=89890001K&NumSerieFacturaAnulada="
                                   "12345679/G34&FechaExpedicionFacturaAnulada=01-01-2024&"
                                   "Huella=") +
                        kSecond + "&FechaHoraHusoGenRegistro=2024-01-01T19:20:40+01:00");
}
