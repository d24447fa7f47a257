#pragma once

#include "controls/search_screen.h"

namespace torvane {

// The insurer search. With origin "informes" the chosen insurer goes to the
// listings screen (through the hand-off registry); otherwise the insurer file
// that opened it moves to it.
class BusquedaAseguradoras : public SearchScreen {
    Q_OBJECT
  public:
    BusquedaAseguradoras(Session& session, Services& services, QWidget* caller,
                         const QString& origen, QWidget* parent = nullptr);

  protected:
    void accept() override;
};

}  // namespace torvane
