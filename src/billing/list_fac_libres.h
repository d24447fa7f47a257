#pragma once

#include "billing/invoice_list_screen.h"

namespace torvane {

// The free invoices, newest first, found by customer name or by number; reprints or
// deletes (with its lines, without asking) the selected one.
class ListFacLibres : public InvoiceListScreen {
    Q_OBJECT
  public:
    ListFacLibres(Session& session, Services& services, QWidget* parent = nullptr);
};

}  // namespace torvane
