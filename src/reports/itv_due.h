#pragma once

#include <QDate>
#include <QString>
#include <optional>

namespace torvane {
class Services;
class Session;
}  // namespace torvane

// The vehicles whose roadworthiness test (ITV, `Vehiculos.FechaITV`) falls in a month, to
// remind their owners: a listing with name, phones and address, or address labels.
namespace torvane::reports {

inline const QString kItvListFile = QStringLiteral("\\QARVOITV.rpt");
inline const QString kItvLabelsFile = QStringLiteral("\\QARVOITVETI.rpt");

// The month offered first: the one after today's (the 31st of December gives January).
QDate itvDefaultMonth(QDate today);
// "mm/aaaa" (or "m/aaaa") as typed; the first day of that month, none when it is not one.
std::optional<QDate> parseItvMonth(const QString& text);
// The selection of the month containing day: from its first day to its last, both included.
QString itvFormula(QDate day);

// Asks for the month and previews the listing (or the labels). False when cancelled, when
// the month is not valid (after saying so) or when the report cannot be shown.
bool printItvDue(Session& session, Services& services, bool labels);

}  // namespace torvane::reports
