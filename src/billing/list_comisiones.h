#pragma once

#include "controls/search_screen.h"

namespace torvane {

// The commission invoices, one row per line, found by customer name or by number;
// reprints or deletes (lines and header, without asking) the selected invoice.
class ListComisiones : public SearchScreen {
    Q_OBJECT
  public:
    ListComisiones(Session& session, Services& services, QWidget* parent = nullptr);

  private:
    void imprimir();
    void eliminar();
};

}  // namespace torvane
