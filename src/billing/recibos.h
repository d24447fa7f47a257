#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <optional>

#include "controls/data_grid.h"
#include "controls/opc_entrada.h"
#include "core/money.h"
#include "core/services.h"
#include "core/session.h"

namespace torvane {

// Bank receipts for a customer: the unpaid invoices marked by clicking are split into
// one to three receipts by the payment terms, each due on the customer's payment day.
// Storing keeps the screen and the marking as they are.
class Recibos : public QWidget {
    Q_OBJECT
  public:
    Recibos(Session& session, Services& services, qint64 customerId, QWidget* parent = nullptr);

    void setCustomer(qint64 customerId);
    // Marks or unmarks a row of a grid, as a click does.
    void toggle(DataGrid* grid, int row);
    Money total() const { return total_; }

  private:
    static QList<int> markedRows(DataGrid* grid);
    void markingChanged();
    void regenerate();
    void paymentDayChanged();
    void crear();
    void buscar();
    QLineEdit* field(const QString& name) const;
    QStringList markedInvoices() const;

    Session& session_;
    Services& services_;
    DataGrid* rep_ = nullptr;
    DataGrid* rec_ = nullptr;
    QLabel* total_label_ = nullptr;
    OpcEntrada* fecha_ = nullptr;
    QComboBox* terms_ = nullptr;
    QGroupBox* frame_ = nullptr;
    Money total_;
    int paymentDay_ = 1;
};

}  // namespace torvane
