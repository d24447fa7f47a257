#pragma once

#include <functional>

#include "controls/search_screen.h"

namespace torvane {

// The work-order picker: every work order, newest first. Choosing one hands its
// number to the screen that opened the picker.
class BusquedaODTS : public SearchScreen {
    Q_OBJECT
  public:
    using Chosen = std::function<void(const QString& number)>;
    BusquedaODTS(Session& session, Services& services, Chosen chosen, QWidget* parent = nullptr);

  protected:
    void accept() override;

  private:
    Chosen chosen_;
};

}  // namespace torvane
