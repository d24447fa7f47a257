#include "verifactu/fingerprint.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "verifactu/records.h"

using namespace torvane::verifactu;

namespace {

const QString kFirst = "3C464DAF61ACB827C65FDA19F352A4E3BDC2C640E9E9FC4CC058073F38F12F60";
const QString kSecond = "F7B94CFD8924EDFF273501B01EE5153E4CE8F259766F88CF6ACB8935802A2B97";

AltaFields agencyAlta(const QString& number, const QString& previous, const QString& time) {
    return {"89890001K", number, "01-01-2024", "F1", "12.35", "123.45", previous, time};
}

// A chain of n records as the program writes them, every fifth one a cancellation.
std::vector<Record> chain(int n) {
    std::vector<Record> out;
    for (int i = 1; i <= n; ++i) {
        Record r;
        r.id = i;
        r.emisor = "B12345678";
        r.fecha = "06-12-2026";
        r.huellaAnterior = out.empty() ? QString() : out.back().huella;
        r.fechaHoraHuso =
            QStringLiteral("2026-12-06T10:%1:00+01:00").arg(i % 60, 2, 10, QLatin1Char('0'));
        if (i % 5 == 0) {
            r.tipo = "anulacion";
            r.numSerie = out.back().numSerie;
            r.huella = fingerprint(
                anulacionText({r.emisor, r.numSerie, r.fecha, r.huellaAnterior, r.fechaHoraHuso}));
        } else {
            r.tipo = "alta";
            r.numSerie = QStringLiteral("FR26/12/%1").arg(i, 5, 10, QLatin1Char('0'));
            r.tipoFactura = "F1";
            r.cuotaTotal = QString::number(i) + ".16";
            r.importeTotal = QString::number(i * 7) + ".25";
            r.huella =
                fingerprint(altaText({r.emisor, r.numSerie, r.fecha, r.tipoFactura, r.cuotaTotal,
                                      r.importeTotal, r.huellaAnterior, r.fechaHoraHuso}));
        }
        out.push_back(r);
    }
    return out;
}

}  // namespace

TEST(VerifactuFingerprint, AgencyExamples) {
    const QString first =
        altaText(agencyAlta("12345678/G33", QString(), "2024-01-01T19:20:30+01:00"));
    EXPECT_EQ(first,
              QStringLiteral("IDEmisorFactura=89890001K&NumSerieFactura=12345678/G33&"
                             "FechaExpedicionFactura=01-01-2024&TipoFactura=F1&CuotaTotal=12.35&"
                             "ImporteTotal=123.45&Huella=&FechaHoraHusoGenRegistro=2024-01-01T19:"
                             "20:30+01:00"));
    EXPECT_EQ(fingerprint(first), kFirst);
    const QString second =
        altaText(agencyAlta("12345679/G34", kFirst, "2024-01-01T19:20:35+01:00"));
    EXPECT_EQ(fingerprint(second), kSecond);
}

TEST(VerifactuFingerprint, CancellationTextFollowsItsOwnFieldList) {
    const QString text = anulacionText(
        {"89890001K", "12345679/G34", "01-01-2024", kSecond, "2024-01-01T19:20:40+01:00"});
    EXPECT_EQ(text, QStringLiteral("IDEmisorFacturaAnulada=89890001K&NumSerieFacturaAnulada="
                                   "12345679/G34&FechaExpedicionFacturaAnulada=01-01-2024&"
                                   "Huella=") +
                        kSecond + "&FechaHoraHusoGenRegistro=2024-01-01T19:20:40+01:00");
}

TEST(VerifactuChain, FindsTheFirstBrokenLink) {
    EXPECT_FALSE(checkChain(chain(100)).has_value());
    struct Case {
        const char* what;
        std::function<void(std::vector<Record>&)> spoil;
        int position;
        const char* reason;
    };
    const Case cases[] = {
        {"amount changed", [](std::vector<Record>& c) { c[41].importeTotal = "999.99"; }, 42,
         "ha sido modificado"},
        {"cancellation date changed", [](std::vector<Record>& c) { c[9].fecha = "07-12-2026"; }, 10,
         "ha sido modificado"},
        {"record deleted", [](std::vector<Record>& c) { c.erase(c.begin() + 17); }, 18,
         "no enlaza"},
        {"first record deleted", [](std::vector<Record>& c) { c.erase(c.begin()); }, 1,
         "no enlaza"},
        {"fingerprint recomputed after the change",
         [](std::vector<Record>& c) {
             c[60].cuotaTotal = "0.00";
             c[60].huella = fingerprint(recordText(c[60]));
         },
         62, "no enlaza"},
    };
    for (const Case& c : cases) {
        std::vector<Record> records = chain(100);
        c.spoil(records);
        const auto broken = checkChain(records);
        ASSERT_TRUE(broken.has_value()) << c.what;
        EXPECT_EQ(broken->position, c.position) << c.what;
        EXPECT_TRUE(broken->reason.contains(QString::fromUtf8(c.reason)))
            << c.what << ": " << broken->reason.toStdString();
    }
}

TEST(VerifactuQr, AgencyAddress) {
    EXPECT_EQ(qrUrl("89890001K", "12345678&G33", "01-01-2024", "241.40"),
              "https://www2.agenciatributaria.gob.es/wlpl/TIKE-CONT/ValidarQR?nif=89890001K&"
              "numserie=12345678%26G33&fecha=01-01-2024&importe=241.40");
}
