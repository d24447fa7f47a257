#include "billing/list_comisiones.h"

#include "billing/commissions.h"

namespace torvane {

namespace fc = commissions;

ListComisiones::ListComisiones(Session& session, Services& services, QWidget* parent)
    : InvoiceListScreen(
          session, services,
          {QStringLiteral("ListComisiones"), QStringLiteral("Listado de facturas de comisiones"),
           fc::list, fc::listColumns(), fc::reportFormula, QString::fromLatin1(fc::kReportFile),
           [](Database& db, const QString& number, qint64) { fc::remove(db, number); }},
          parent) {}

}  // namespace torvane
