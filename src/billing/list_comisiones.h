#pragma once

#include "billing/invoice_list_screen.h"

namespace torvane {

// The commission invoices, one row per line, found by customer name or by number;
// reprints or deletes (lines and header, without asking) the selected invoice.
class ListComisiones : public InvoiceListScreen {
    Q_OBJECT
  public:
    ListComisiones(Session& session, Services& services, QWidget* parent = nullptr);
};

}  // namespace torvane
