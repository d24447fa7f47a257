#include "tow/tow_pricing.h"

#include <QRegularExpression>

namespace torvane::tow {

namespace {

Money rate(const insurers::Tariff& tariff, const QString& column) {
    const qsizetype i = insurers::tariffColumns().indexOf(column);
    return i >= 0 && i < tariff.amounts.size() ? tariff.amounts.at(i) : Money();
}

Quantity asQuantity(Money m) {
    return Quantity::fromUnits(m.units());
}

// price × minutes / 60 to the cent, halves away from zero, without going through hours
// rounded to four decimals.
Money timeAmount(Money price, int minutes) {
    const std::int64_t n = price.units() * minutes;  // ten-thousandths × minutes
    const std::int64_t d = std::int64_t(60) * 100;   // to cents
    const std::int64_t q = n / d;
    const std::int64_t r = n % d;
    std::int64_t cents = q;
    if (2 * (r < 0 ? -r : r) >= d) cents += n < 0 ? -1 : 1;
    return Money::fromCents(cents);
}

TowLine fixed(const QString& text, Money price) {
    return {text, Quantity::whole(1), price, price.roundCents()};
}

TowLine perUnit(const QString& text, Quantity units, Money price) {
    return {text, units, price, (ExactAmount(price) * units).roundCents()};
}

}  // namespace

std::optional<int> readTime(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return 0;
    const QRegularExpression re(QStringLiteral("^(\\d{1,2}):(\\d{2})$"));
    const auto m = re.match(t);
    if (!m.hasMatch()) return std::nullopt;
    const int mm = m.captured(2).toInt();
    if (mm > 59) return std::nullopt;
    return m.captured(1).toInt() * 60 + mm;
}

Quantity hoursOf(int minutes) {
    // Four decimals, halves away from zero.
    const std::int64_t n = std::int64_t(minutes) * Quantity::kScale;
    return Quantity::fromUnits((2 * n + 60) / 120);
}

QString formatHours(Quantity hours) {
    const std::int64_t minutes = (hours.units() * 60 + Quantity::kScale / 2) / Quantity::kScale;
    return QStringLiteral("%1:%2")
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

std::optional<Quantity> readNumber(const QString& text) {
    const QString t = text.trimmed();
    const QRegularExpression re(QStringLiteral("^\\d+([.,]\\d+)?$"));
    if (!re.match(t).hasMatch()) return std::nullopt;
    return Quantity::parse(QString(t).replace(QLatin1Char('.'), QLatin1Char(',')));
}

QString formatPercent(Money p) {
    QString s = p.toPlainString();
    return s.replace(QLatin1Char('.'), QLatin1Char(','));
}

Pricing priceJob(const insurers::Tariff& tariff, const TowJob& job) {
    Pricing out;
    if (!tariff.stored) {
        out.error = QString::fromUtf8(kNoTariff);
        return out;
    }
    const bool car = job.vehicle == QLatin1String(kCar);
    const bool working = job.day == QLatin1String(kWorkingDay);
    const bool urban = job.exit == QLatin1String(kUrban);
    const bool road = job.exit == QLatin1String(kRoad);
    const bool percentage = job.percentage && !working;

    Quantity km;
    if (!urban) {
        const auto k = readNumber(job.km);
        if (!k) {
            out.error = QString::fromUtf8(kBadKm);
            return out;
        }
        km = *k;
    }
    std::optional<Quantity> days;
    if (!job.storageDays.trimmed().isEmpty()) {
        days = readNumber(job.storageDays);
        if (!days) {
            out.error = QString::fromUtf8(kBadStorage);
            return out;
        }
    }
    const auto wait = readTime(job.waitTime);
    if (!wait) {
        out.error = QString::fromUtf8(kBadWait);
        return out;
    }
    const auto rescue = readTime(job.rescueTime);
    if (!rescue) {
        out.error = QString::fromUtf8(kBadRescue);
        return out;
    }

    const QString T = car ? QStringLiteral("T") : QStringLiteral("F");
    const QString vehicleWord = car ? QStringLiteral("TURISMO") : QStringLiteral("FURGÓN");
    const QString dayWord =
        working ? QStringLiteral("DIA LABORABLE") : QStringLiteral("DIA FEST./NOCT.");
    const QString suffix = QLatin1Char(' ') + dayWord + QLatin1Char(' ') + vehicleWord;
    // Exit prices: the working-day tariff in percentage mode.
    const QString priced = working || percentage ? QStringLiteral("L") : QStringLiteral("F");
    const QString kmCase = working ? QStringLiteral("L") : QStringLiteral("F");
    auto r = [&](const QString& column) { return rate(tariff, column); };

    ExactAmount base;
    if (urban) {
        out.lines.push_back(fixed(QStringLiteral("SALIDA URBANA") + suffix, r("U" + T + priced)));
        base = r("U" + T + "L");
    } else if (road) {
        out.lines.push_back(
            fixed(QStringLiteral("SALIDA CARRETERA") + suffix, r("C" + T + priced)));
        base = r("C" + T + "L");
        const Quantity included = asQuantity(r("I" + T + kmCase));
        if (km > included) {
            // This one line spells the van without the accent.
            const QString word =
                !car && !working && !percentage ? QStringLiteral("FURGON") : vehicleWord;
            out.lines.push_back(
                perUnit(QStringLiteral("KM. EXTRA CARRETERA ") + dayWord + QLatin1Char(' ') + word,
                        km - included, r("P" + T + kmCase)));
        }
        const Quantity includedF = asQuantity(r("I" + T + "F"));
        if (km > includedF) base = base + ExactAmount(r("P" + T + "F")) * (km - includedF);
    } else {
        out.lines.push_back(
            fixed(QStringLiteral("SALIDA LARGO RECORRIDO") + suffix, r("SL" + T + priced)));
        out.lines.push_back(
            perUnit(QStringLiteral("KM. LARGO RECORRIDO") + suffix, km, r("KL" + T + priced)));
        base = ExactAmount(r("SL" + T + "L")) + ExactAmount(r("KL" + T + "L")) * km;
    }
    if (percentage) {
        const Money p = r(car ? QStringLiteral("P1") : QStringLiteral("P2"));
        const Money amount = base.percent(asQuantity(p)).roundCents();
        out.lines.push_back(
            {QString::fromUtf8(kSurchargePrefix) + formatPercent(p) + QStringLiteral("%)"),
             Quantity::whole(1), amount, amount});
    }
    if (*wait > 0)
        out.lines.push_back({QStringLiteral("ESPERA PARA REALIZAR EL SERVICIO"), hoursOf(*wait),
                             r(QStringLiteral("Espera")),
                             timeAmount(r(QStringLiteral("Espera")), *wait)});
    if (*rescue > 0)
        out.lines.push_back({QStringLiteral("RESCATE DEL VEHÍCULO"), hoursOf(*rescue),
                             r(QStringLiteral("Rescate")),
                             timeAmount(r(QStringLiteral("Rescate")), *rescue)});
    if (days)
        out.lines.push_back(
            perUnit(QStringLiteral("DIAS DE DEPÓSITO"), *days, r(QStringLiteral("Deposito"))));
    return out;
}

}  // namespace torvane::tow
