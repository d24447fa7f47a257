#pragma once

#include <QLineEdit>
#include <QWidget>

#include "billing/free_invoices.h"
#include "controls/line_table.h"
#include "controls/opc_entrada.h"
#include "core/services.h"
#include "core/session.h"

namespace torvane {

// A free invoice for a customer: lines typed one by one (kept on screen only), VAT
// and a discount on the whole; invoicing stores lines and invoice together, prints
// it and closes. Command6 closes without storing anything.
class FactLibres : public QWidget {
    Q_OBJECT
  public:
    FactLibres(Session& session, Services& services, qint64 customerId, QWidget* parent = nullptr);

    LineTableModel* lines() const { return lines_; }
    // The totals as the foot shows them, from the lines and the two rates.
    void recompute();

  private:
    void facturar();
    QLineEdit* field(const char* name) const;

    Session& session_;
    Services& services_;
    LineTableModel* lines_ = nullptr;
    OpcEntrada* fecha_ = nullptr;
};

}  // namespace torvane
