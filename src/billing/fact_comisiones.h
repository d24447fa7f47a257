#pragma once

#include <QLineEdit>
#include <QWidget>

#include "controls/line_table.h"
#include "controls/opc_entrada.h"
#include "core/money.h"
#include "core/services.h"
#include "core/session.h"

namespace torvane {

// A commission invoice for a customer: lines typed by hand kept on screen, VAT at the rate
// set for invoicing and the customer's income-tax withholding. Saving stores lines and header
// together; closing without saving leaves nothing.
class FactComisiones : public QWidget {
    Q_OBJECT
  public:
    FactComisiones(Session& session, Services& services, qint64 customerId,
                   QWidget* parent = nullptr);

    LineTableModel* lines() const { return lines_; }
    void recompute();

  private:
    // Stores the invoice; false when refused or failed (the screen keeps everything).
    bool guardar();
    void facturar();
    QLineEdit* field(const char* name) const;

    Session& session_;
    Services& services_;
    Quantity vatRate_;
    LineTableModel* lines_ = nullptr;
};

}  // namespace torvane
