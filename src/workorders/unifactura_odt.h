#pragma once

#include "workorders/chosen_work_orders.h"

namespace torvane {

// "Uni Factura" by choice: the customer's pending work orders, the chosen ones on one
// invoice.
class UnifacturaODT : public ChosenWorkOrders {
    Q_OBJECT
  public:
    UnifacturaODT(Session& session, Services& services, qint64 customerId,
                  const QString& invoiceNumber, const QDate& invoiceDate,
                  QWidget* parent = nullptr);

  protected:
    void invoice(const QStringList& workOrders) override;
};

}  // namespace torvane
