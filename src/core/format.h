#pragma once

#include <QDate>
#include <QString>
#include <QVariant>
#include <optional>

namespace torvane {

// Money as the workshop reads it: "1.234,50" ("." thousands, "," decimals, two decimals).
QString formatMoney(double amount);
// The old engine's currency type: four decimals, halves to even.
double toCurrency(double amount);
// Rounds to cents, halves to even (as the screens' "#,##0.00" formatting does).
double roundCents(double amount);
// Reads an amount typed or shown on screen: "1.234,50", "1234,5", "12.5".
// A "." followed by exactly three digits and more text is a thousands mark.
std::optional<double> parseAmount(const QString& text);

// Dates: dd/mm/yyyy on screen, ISO text in the database.
QString formatDate(const QDate& d);
QString formatDate(const QVariant& isoOrDate);
std::optional<QDate> parseDisplayDate(const QString& text);  // d/m/yyyy and dd/mm/yyyy
QString toIsoDate(const QDate& d);

}  // namespace torvane
