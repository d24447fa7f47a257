#pragma once

#include <QString>
#include <QVariant>

#include "controls/search_screen.h"

namespace torvane {

// The customer search. What accepting a customer does depends on the origin
// text it was opened with, through the hand-off registry of Services.
class BusquedaClientes : public SearchScreen {
    Q_OBJECT
  public:
    // caller: the screen that opened the search; vehicleId: the vehicle whose
    // owner changes (origin "CambioPropietario").
    BusquedaClientes(Session& session, Services& services, QWidget* caller, const QString& origen,
                     const QVariant& vehicleId = {}, QWidget* parent = nullptr);

  protected:
    void accept() override;

  private:
    QVariant vehicleId_;
};

}  // namespace torvane
