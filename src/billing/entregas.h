#pragma once

#include <QLineEdit>
#include <QWidget>

#include "billing/collections.h"
#include "controls/data_grid.h"
#include "controls/opc_entrada.h"
#include "core/record_mode.h"
#include "core/services.h"
#include "core/session.h"

namespace torvane {

// The payments of one invoice: the list of payments (MSHCobros), the amount, what is
// still due, and the entry of a new payment (OpcFecha, TxtCantidad) while something is
// due. Each payment moves the invoice's Pagado with it.
class Entregas : public QWidget {
    Q_OBJECT
  public:
    Entregas(Session& session, Services& services, collections::InvoiceKind kind,
             const QString& invoiceNumber, QWidget* parent = nullptr);

    // Reads amount, Pagado and the payments again.
    void refresh();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void hacer();
    void eliminar();

    Session& session_;
    Services& services_;
    collections::InvoiceKind kind_;
    QString number_;
    RecordMode mode_;
    DataGrid* cobros_ = nullptr;
    QLineEdit* pagado_ = nullptr;
    QLineEdit* total_ = nullptr;
    QLineEdit* pendiente_ = nullptr;
    QLineEdit* paidOfWorkOrder_ = nullptr;
    QLineEdit* paidOfPartsSale_ = nullptr;
    OpcEntrada* fecha_ = nullptr;
    QLineEdit* cantidad_ = nullptr;
};

}  // namespace torvane
