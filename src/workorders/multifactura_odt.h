#pragma once

#include "workorders/chosen_work_orders.h"

namespace torvane {

// "Multi Factura": every pending work order; the chosen ones invoiced one by one with
// consecutive numbers, one paid answer for all.
class MultiFacturaODT : public ChosenWorkOrders {
    Q_OBJECT
  public:
    MultiFacturaODT(Session& session, Services& services, const QString& invoiceNumber,
                    const QDate& invoiceDate, QWidget* parent = nullptr);

  protected:
    void invoice(const QStringList& workOrders) override;
};

}  // namespace torvane
