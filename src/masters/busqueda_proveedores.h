#pragma once

#include "controls/search_screen.h"

namespace torvane {

// The supplier search. Accepting acts on the origin it was opened with: the
// supplier file ("Proveedores"), the purchase screen ("Compras", through the
// hand-off registry), the supplier's articles ("Informe"), or a purchases
// listing whose date-range formula is the origin itself.
class BusquedaProveedores : public SearchScreen {
    Q_OBJECT
  public:
    BusquedaProveedores(Session& session, Services& services, QWidget* caller,
                        const QString& origen, QWidget* parent = nullptr);

  protected:
    void accept() override;
};

}  // namespace torvane
