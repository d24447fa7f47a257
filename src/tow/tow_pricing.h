#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "core/money.h"
#include "masters/insurers.h"

namespace torvane::tow {

inline constexpr const char* kNoTariff = "La compañia seleccionada no tiene tarifa de grúa.";
inline constexpr const char* kBadKm = "El número de kilómetros no es válido";
inline constexpr const char* kBadStorage = "Los días de depósito no son válidos";
inline constexpr const char* kBadWait = "El tiempo de espera no es válido";
inline constexpr const char* kBadRescue = "El tiempo de rescate no es válido";

// The choices of the job, as the combo boxes write them.
inline constexpr const char* kCar = "TURISMO";
inline constexpr const char* kVan = "FURGON";
inline constexpr const char* kWorkingDay = "LABORABLE";
inline constexpr const char* kHolidayNight = "FESTIVO/NOCTURNO";
inline constexpr const char* kUrban = "URBANA";
inline constexpr const char* kRoad = "CARRETERA";
inline constexpr const char* kLongDistance = "LARGO RECORRIDO";
// The surcharge line starts with this; an edited report with such a line was priced
// in percentage mode.
inline constexpr const char* kSurchargePrefix = "RECARGO FEST./NOCT. (";

// One priced line of a tow report. A time line holds hours (01:30 is 1,5).
struct TowLine {
    QString texto;
    Quantity cantidad;
    Money precio;
    Money importe;
    bool operator==(const TowLine&) const = default;
};

// The job as typed on the report: anything but "TURISMO" is a van, anything but
// "LABORABLE" a holiday or night, anything but "URBANA" or "CARRETERA" a long distance.
struct TowJob {
    QString vehicle;
    QString day;
    QString exit;
    bool percentage = false;  // honoured on holiday/night jobs only
    QString km;
    QString waitTime;    // "hh:mm"; empty is "00:00"
    QString rescueTime;  // "hh:mm"; empty is "00:00"
    QString storageDays;
};

struct Pricing {
    std::vector<TowLine> lines;
    QString error;  // the refusal, or empty
};

// The lines of a job priced on the insurer's tariff, in the order they are written;
// each amount to the cent, halves away from zero.
Pricing priceJob(const insurers::Tariff& tariff, const TowJob& job);

// "hh:mm" as minutes; empty is 0; anything else gives nothing.
std::optional<int> readTime(const QString& text);
// Hours of a time, four decimals: 90 minutes is 1,5; 20 minutes 0,3333.
Quantity hoursOf(int minutes);
// Hours shown "hh:mm" (1,5 -> "01:30").
QString formatHours(Quantity hours);
// A number typed with "," or "." as the decimal separator.
std::optional<Quantity> readNumber(const QString& text);
// A per cent as its line writes it: "25", "12,5".
QString formatPercent(Money p);

}  // namespace torvane::tow
