#pragma once

#include "controls/search_screen.h"

namespace torvane {

// The free invoices, newest first, found by customer name or by number; reprints or
// deletes (with its lines, without asking) the selected one.
class ListFacLibres : public SearchScreen {
    Q_OBJECT
  public:
    ListFacLibres(Session& session, Services& services, QWidget* parent = nullptr);

  private:
    void imprimir();
    void eliminar();
};

}  // namespace torvane
