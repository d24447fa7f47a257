#pragma once

#include "controls/search_screen.h"

namespace torvane {

// The operator search: accepting positions the operator file that opened it.
class BusquedaOperarios : public SearchScreen {
    Q_OBJECT
  public:
    BusquedaOperarios(Session& session, Services& services, QWidget* caller,
                      QWidget* parent = nullptr);

  protected:
    void accept() override;
};

}  // namespace torvane
