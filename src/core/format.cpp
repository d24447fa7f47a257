#include "core/format.h"

#include <QRegularExpression>
#include <QStringList>
#include <cmath>

namespace torvane {

namespace {
double roundHalfEven(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    const double scaled = value * scale;
    // Decide on the tie with a tolerance, because 2.675 is stored as 2.67499999...
    const double floorV = std::floor(scaled);
    const double diff = scaled - floorV;
    double result;
    if (std::fabs(diff - 0.5) < 1e-7) {
        result = (std::fmod(floorV, 2.0) == 0.0) ? floorV : floorV + 1.0;
    } else {
        result = std::round(scaled);
    }
    return result / scale;
}
}  // namespace

double toCurrency(double amount) {
    return roundHalfEven(amount, 4);
}

double roundCents(double amount) {
    return roundHalfEven(amount, 2);
}

QString formatMoney(double amount) {
    const double rounded = roundCents(amount);
    const bool negative = rounded < 0 && std::fabs(rounded) >= 0.005;
    const qint64 cents = std::llround(std::fabs(rounded) * 100.0);
    QString whole = QString::number(cents / 100);
    for (int i = whole.size() - 3; i > 0; i -= 3) whole.insert(i, '.');
    return (negative ? QStringLiteral("-") : QString()) + whole + ',' +
           QStringLiteral("%1").arg(cents % 100, 2, 10, QLatin1Char('0'));
}

std::optional<double> parseAmount(const QString& text) {
    QString t = text.trimmed();
    if (t.isEmpty()) return std::nullopt;
    static const QRegularExpression thousands(QStringLiteral("^-?\\d{1,3}(\\.\\d{3})+(,\\d*)?$"));
    if (thousands.match(t).hasMatch()) t.remove('.');
    t.replace(',', '.');
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok) return std::nullopt;
    return v;
}

QString formatDate(const QDate& d) {
    return d.isValid() ? d.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

QString formatDate(const QVariant& isoOrDate) {
    if (isoOrDate.isNull()) return {};
    if (isoOrDate.typeId() == QMetaType::QDate) return formatDate(isoOrDate.toDate());
    const QString s = isoOrDate.toString();
    QDate d = QDate::fromString(s.left(10), Qt::ISODate);
    return d.isValid() ? formatDate(d) : s;
}

std::optional<QDate> parseDisplayDate(const QString& text) {
    const QStringList parts = text.trimmed().split('/');
    if (parts.size() != 3 || parts[2].size() != 4) return std::nullopt;
    bool a = false, b = false, c = false;
    const int day = parts[0].toInt(&a), month = parts[1].toInt(&b), year = parts[2].toInt(&c);
    if (!a || !b || !c) return std::nullopt;
    QDate d(year, month, day);
    if (!d.isValid()) return std::nullopt;
    return d;
}

QString toIsoDate(const QDate& d) {
    return d.isValid() ? d.toString(Qt::ISODate) : QString();
}

}  // namespace torvane
