#include "reports/itv_due.h"

#include <QStringList>

#include "core/dialogs.h"
#include "core/services.h"
#include "core/session.h"
#include "reports/informes.h"

namespace torvane::reports {

QDate itvDefaultMonth(QDate today) {
    return QDate(today.year(), today.month(), 1).addMonths(1);
}

std::optional<QDate> parseItvMonth(const QString& text) {
    const QStringList parts = text.trimmed().split('/');
    if (parts.size() != 2) return std::nullopt;
    const QString month = parts[0].trimmed(), year = parts[1].trimmed();
    if (month.isEmpty() || month.size() > 2 || year.size() != 4) return std::nullopt;
    bool okMonth = false, okYear = false;
    const QDate first(year.toInt(&okYear), month.toInt(&okMonth), 1);
    if (!okMonth || !okYear || !first.isValid() || first.year() < 1900) return std::nullopt;
    return first;
}

QString itvFormula(QDate day) {
    const QDate first(day.year(), day.month(), 1);
    const QDate last = first.addMonths(1).addDays(-1);
    const auto part = [](QDate d) {
        return QStringLiteral("%1,%2,%3")
            .arg(d.year())
            .arg(d.month(), 2, 10, QChar('0'))
            .arg(d.day(), 2, 10, QChar('0'));
    };
    return QStringLiteral(
               "{Vehiculos.FechaITV} in DateTime (%1,00, 00, 00) to DateTime (%2 ,00, "
               "00, 00)")
        .arg(part(first), part(last));
}

bool printItvDue(Session& session, Services& services, bool labels) {
    Dialogs& dialogs = services.dialogs();
    const QDate offered = itvDefaultMonth(session.today());
    const auto answer = dialogs.inputText(
        QStringLiteral("Mes de la ITV (mm/aaaa):"),
        labels ? QStringLiteral("Etiquetas de ITV") : QStringLiteral("Vehículos con ITV"),
        offered.toString(QStringLiteral("MM/yyyy")));
    if (!answer || answer->trimmed().isEmpty()) return false;
    const auto month = parseItvMonth(*answer);
    if (!month) {
        dialogs.critical(
            QStringLiteral("«%1» no es un mes válido: escriba el mes y el año, como %2.")
                .arg(answer->trimmed(), offered.toString(QStringLiteral("MM/yyyy"))));
        return false;
    }
    return printReport(session, services, labels ? kItvLabelsFile : kItvListFile,
                       itvFormula(*month), true);
}

}  // namespace torvane::reports
