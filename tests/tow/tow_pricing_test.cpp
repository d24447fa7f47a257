#include "tow/tow_pricing.h"

#include <gtest/gtest.h>

#include <QStringList>

using namespace torvane;
using namespace torvane::tow;

namespace {

// Every column a different amount, so a wrong column shows.
insurers::Tariff sampleTariff() {
    const std::pair<const char*, const char*> values[] = {
        {"UTL", "50"},     {"UTF", "70"},    {"UFL", "60"},    {"UFF", "85"},
        {"CTL", "80"},     {"CTF", "110"},   {"CFL", "95"},    {"CFF", "125"},
        {"ITL", "20"},     {"ITF", "15"},    {"IFL", "25"},    {"IFF", "10"},
        {"PTL", "1,50"},   {"PTF", "2,10"},  {"PFL", "1,75"},  {"PFF", "2,45"},
        {"SLTL", "120"},   {"SLTF", "160"},  {"SLFL", "140"},  {"SLFF", "190"},
        {"KLTL", "0,95"},  {"KLTF", "1,30"}, {"KLFL", "1,15"}, {"KLFF", "1,55"},
        {"P1", "25"},      {"P2", "12,5"},   {"Espera", "20"}, {"Rescate", "45,50"},
        {"Deposito", "12"}};
    insurers::Tariff t;
    t.stored = true;
    for (const QString& column : insurers::tariffColumns()) {
        Money m;
        for (const auto& [name, text] : values)
            if (column == QLatin1String(name)) m = *Money::parse(QString::fromUtf8(text));
        t.amounts << m;
    }
    return t;
}

QString show(const TowLine& l) {
    return l.texto + '|' + Money::fromUnits(l.cantidad.units()).toPlainString() + '|' +
           l.precio.format() + '|' + l.importe.format();
}

QStringList shown(const Pricing& p) {
    QStringList out;
    for (const TowLine& l : p.lines) out << show(l);
    return out;
}

TowJob job(const char* vehicle, const char* day, const char* exit, bool pct, const char* km) {
    TowJob j;
    j.vehicle = QString::fromUtf8(vehicle);
    j.day = QString::fromUtf8(day);
    j.exit = QString::fromUtf8(exit);
    j.percentage = pct;
    j.km = QString::fromUtf8(km);
    j.waitTime = QStringLiteral("00:00");
    j.rescueTime = QStringLiteral("00:00");
    return j;
}

constexpr const char* T = kCar;
constexpr const char* F = kVan;
constexpr const char* L = kWorkingDay;
constexpr const char* H = kHolidayNight;

TEST(TowPricing, ExitKilometreAndSurchargeLinesRowByRow) {
    struct Case {
        TowJob job;
        QStringList lines;
    };
    const Case cases[] = {
        {job(T, L, kUrban, false, ""), {"SALIDA URBANA DIA LABORABLE TURISMO|1|50,00|50,00"}},
        {job(F, L, kUrban, false, "7"), {"SALIDA URBANA DIA LABORABLE FURGÓN|1|60,00|60,00"}},
        {job(T, H, kUrban, false, ""), {"SALIDA URBANA DIA FEST./NOCT. TURISMO|1|70,00|70,00"}},
        {job(F, H, kUrban, false, ""), {"SALIDA URBANA DIA FEST./NOCT. FURGÓN|1|85,00|85,00"}},
        {job(T, H, kUrban, true, ""),
         {"SALIDA URBANA DIA FEST./NOCT. TURISMO|1|50,00|50,00",
          "RECARGO FEST./NOCT. (25%)|1|12,50|12,50"}},
        {job(F, H, kUrban, true, ""),
         {"SALIDA URBANA DIA FEST./NOCT. FURGÓN|1|60,00|60,00",
          "RECARGO FEST./NOCT. (12,5%)|1|7,50|7,50"}},
        // Road: only the kilometres beyond the included ones.
        {job(T, L, kRoad, false, "25"),
         {"SALIDA CARRETERA DIA LABORABLE TURISMO|1|80,00|80,00",
          "KM. EXTRA CARRETERA DIA LABORABLE TURISMO|5|1,50|7,50"}},
        {job(T, L, kRoad, false, "20"), {"SALIDA CARRETERA DIA LABORABLE TURISMO|1|80,00|80,00"}},
        {job(T, L, kRoad, false, "25,5"),
         {"SALIDA CARRETERA DIA LABORABLE TURISMO|1|80,00|80,00",
          "KM. EXTRA CARRETERA DIA LABORABLE TURISMO|5.5|1,50|8,25"}},
        {job(T, L, kRoad, false, "25.5"),
         {"SALIDA CARRETERA DIA LABORABLE TURISMO|1|80,00|80,00",
          "KM. EXTRA CARRETERA DIA LABORABLE TURISMO|5.5|1,50|8,25"}},
        {job(F, L, kRoad, false, "30"),
         {"SALIDA CARRETERA DIA LABORABLE FURGÓN|1|95,00|95,00",
          "KM. EXTRA CARRETERA DIA LABORABLE FURGÓN|5|1,75|8,75"}},
        {job(T, H, kRoad, false, "20"),
         {"SALIDA CARRETERA DIA FEST./NOCT. TURISMO|1|110,00|110,00",
          "KM. EXTRA CARRETERA DIA FEST./NOCT. TURISMO|5|2,10|10,50"}},
        {job(F, H, kRoad, false, "13"),
         {"SALIDA CARRETERA DIA FEST./NOCT. FURGÓN|1|125,00|125,00",
          "KM. EXTRA CARRETERA DIA FEST./NOCT. FURGON|3|2,45|7,35"}},
        // Surcharge base: exit plus the holiday kilometres; 22,625 rounds up.
        {job(T, H, kRoad, true, "20"),
         {"SALIDA CARRETERA DIA FEST./NOCT. TURISMO|1|80,00|80,00",
          "KM. EXTRA CARRETERA DIA FEST./NOCT. TURISMO|5|2,10|10,50",
          "RECARGO FEST./NOCT. (25%)|1|22,63|22,63"}},
        {job(F, H, kRoad, true, "13"),
         {"SALIDA CARRETERA DIA FEST./NOCT. FURGÓN|1|95,00|95,00",
          "KM. EXTRA CARRETERA DIA FEST./NOCT. FURGÓN|3|2,45|7,35",
          "RECARGO FEST./NOCT. (12,5%)|1|12,79|12,79"}},
        {job(F, H, kRoad, true, "10"),
         {"SALIDA CARRETERA DIA FEST./NOCT. FURGÓN|1|95,00|95,00",
          "RECARGO FEST./NOCT. (12,5%)|1|11,88|11,88"}},
        // The box ticked on a working day changes nothing.
        {job(T, L, kRoad, true, "20"), {"SALIDA CARRETERA DIA LABORABLE TURISMO|1|80,00|80,00"}},
        // Long distance: every kilometre.
        {job(T, L, kLongDistance, false, "100"),
         {"SALIDA LARGO RECORRIDO DIA LABORABLE TURISMO|1|120,00|120,00",
          "KM. LARGO RECORRIDO DIA LABORABLE TURISMO|100|0,95|95,00"}},
        {job(F, L, kLongDistance, false, "100"),
         {"SALIDA LARGO RECORRIDO DIA LABORABLE FURGÓN|1|140,00|140,00",
          "KM. LARGO RECORRIDO DIA LABORABLE FURGÓN|100|1,15|115,00"}},
        {job(T, H, kLongDistance, false, "50"),
         {"SALIDA LARGO RECORRIDO DIA FEST./NOCT. TURISMO|1|160,00|160,00",
          "KM. LARGO RECORRIDO DIA FEST./NOCT. TURISMO|50|1,30|65,00"}},
        {job(F, H, kLongDistance, false, "50"),
         {"SALIDA LARGO RECORRIDO DIA FEST./NOCT. FURGÓN|1|190,00|190,00",
          "KM. LARGO RECORRIDO DIA FEST./NOCT. FURGÓN|50|1,55|77,50"}},
        {job(T, H, kLongDistance, true, "50"),
         {"SALIDA LARGO RECORRIDO DIA FEST./NOCT. TURISMO|1|120,00|120,00",
          "KM. LARGO RECORRIDO DIA FEST./NOCT. TURISMO|50|0,95|47,50",
          "RECARGO FEST./NOCT. (25%)|1|41,88|41,88"}},
        {job(F, H, kLongDistance, true, "50"),
         {"SALIDA LARGO RECORRIDO DIA FEST./NOCT. FURGÓN|1|140,00|140,00",
          "KM. LARGO RECORRIDO DIA FEST./NOCT. FURGÓN|50|1,15|57,50",
          "RECARGO FEST./NOCT. (12,5%)|1|24,69|24,69"}},
        // Any vehicle but "TURISMO" is a van; any exit but urban or road is long distance.
        {job("", L, "OTRA", false, "10"),
         {"SALIDA LARGO RECORRIDO DIA LABORABLE FURGÓN|1|140,00|140,00",
          "KM. LARGO RECORRIDO DIA LABORABLE FURGÓN|10|1,15|11,50"}},
    };
    const insurers::Tariff tariff = sampleTariff();
    for (const Case& c : cases) {
        const Pricing p = priceJob(tariff, c.job);
        EXPECT_TRUE(p.error.isEmpty()) << p.error.toStdString();
        EXPECT_EQ(shown(p), c.lines)
            << c.job.vehicle.toStdString() << " " << c.job.day.toStdString() << " "
            << c.job.exit.toStdString() << " " << c.job.percentage << " " << c.job.km.toStdString();
    }
}

TEST(TowPricing, TimeAndStorageLines) {
    struct Case {
        const char *wait, *rescue, *storage;
        QStringList extra;  // after the urban exit line
    };
    const Case cases[] = {
        {"01:30", "00:00", "", {"ESPERA PARA REALIZAR EL SERVICIO|1.5|20,00|30,00"}},
        {"00:00", "", "", {}},
        {"", "00:20", "", {"RESCATE DEL VEHÍCULO|0.3333|45,50|15,17"}},
        // 45,50 × 0,75 = 34,125: halves away from zero.
        {"00:00", "00:45", "", {"RESCATE DEL VEHÍCULO|0.75|45,50|34,13"}},
        {"00:00", "00:00", "3", {"DIAS DE DEPÓSITO|3|12,00|36,00"}},
        {"00:00", "00:00", "1,5", {"DIAS DE DEPÓSITO|1.5|12,00|18,00"}},
        {"02:00",
         "01:00",
         "2",
         {"ESPERA PARA REALIZAR EL SERVICIO|2|20,00|40,00", "RESCATE DEL VEHÍCULO|1|45,50|45,50",
          "DIAS DE DEPÓSITO|2|12,00|24,00"}},
    };
    const insurers::Tariff tariff = sampleTariff();
    for (const Case& c : cases) {
        TowJob j = job(T, L, kUrban, false, "");
        j.waitTime = QString::fromUtf8(c.wait);
        j.rescueTime = QString::fromUtf8(c.rescue);
        j.storageDays = QString::fromUtf8(c.storage);
        const QStringList want =
            QStringList{QStringLiteral("SALIDA URBANA DIA LABORABLE TURISMO|1|50,00|50,00")} +
            c.extra;
        EXPECT_EQ(shown(priceJob(tariff, j)), want)
            << c.wait << " " << c.rescue << " " << c.storage;
    }
}

TEST(TowPricing, Refusals) {
    struct Case {
        bool stored;
        const char *exit, *km, *wait, *storage;
        const char* error;
    };
    const Case cases[] = {
        {false, kUrban, "", "00:00", "", kNoTariff},
        {true, kRoad, "", "00:00", "", kBadKm},
        {true, kRoad, "12 km", "00:00", "", kBadKm},
        {true, kLongDistance, "-5", "00:00", "", kBadKm},
        {true, kUrban, "x", "00:00", "dos", kBadStorage},
        {true, kUrban, "", "1:3x", "", kBadWait},
        {true, kUrban, "", "00:75", "", kBadWait},
    };
    for (const Case& c : cases) {
        insurers::Tariff t = sampleTariff();
        t.stored = c.stored;
        TowJob j = job(T, L, c.exit, false, c.km);
        j.waitTime = QString::fromUtf8(c.wait);
        j.storageDays = QString::fromUtf8(c.storage);
        const Pricing p = priceJob(t, j);
        EXPECT_EQ(p.error, QString::fromUtf8(c.error)) << c.exit << " " << c.km;
        EXPECT_TRUE(p.lines.empty());
    }
}

TEST(TowPricing, HoursShownAsTyped) {
    const std::pair<int, const char*> cases[] = {
        {90, "01:30"}, {20, "00:20"}, {1, "00:01"}, {615, "10:15"}, {59, "00:59"}};
    for (const auto& [minutes, text] : cases)
        EXPECT_EQ(formatHours(hoursOf(minutes)), QString::fromUtf8(text)) << minutes;
}

}  // namespace
