#include "core/format.h"

#include <QStringList>

namespace torvane {

QString formatMoney(double amount) {
    return Money::fromDouble(amount).format();
}

QString formatMoney(Money amount) {
    return amount.format();
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
