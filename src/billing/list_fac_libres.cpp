#include "billing/list_fac_libres.h"

#include "billing/free_invoices.h"

namespace torvane {

namespace fi = free_invoices;

ListFacLibres::ListFacLibres(Session& session, Services& services, QWidget* parent)
    : InvoiceListScreen(
          session, services,
          {QStringLiteral("ListFacLibres"), QStringLiteral("Listado de facturas libres"), fi::list,
           fi::listColumns(), fi::reportFormula, QString::fromLatin1(fi::kReportFile),
           [](Database& db, const QString&, qint64 id) { fi::remove(db, id); }},
          parent) {}

}  // namespace torvane
