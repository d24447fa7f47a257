#pragma once

#include <QDate>
#include <QString>
#include <QVariant>
#include <optional>

#include "core/money.h"

namespace torvane {

// Money as the workshop reads it: "1.234,50" ("." thousands, "," decimals, two decimals,
// halves away from zero). A double is read as the amount it stores (Money::fromDouble).
QString formatMoney(double amount);
QString formatMoney(Money amount);

// Dates: dd/mm/yyyy on screen, ISO text in the database.
QString formatDate(const QDate& d);
QString formatDate(const QVariant& isoOrDate);
std::optional<QDate> parseDisplayDate(const QString& text);  // d/m/yyyy and dd/mm/yyyy
QString toIsoDate(const QDate& d);

}  // namespace torvane
