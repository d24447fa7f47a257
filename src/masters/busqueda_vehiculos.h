#pragma once

#include <QVariant>

#include "controls/search_screen.h"

namespace torvane {

// The vehicle search: new work orders, history, change of owner, new customer
// or vehicle, and the vehicle choice of the tow report.
class BusquedaVehiculos : public SearchScreen {
    Q_OBJECT
  public:
    enum class Use {
        WorkOrder,  // "Ord. Trabajo": choosing opens a new work order
        Browser,    // "Vehículos" menu: no new work order from here
    };

    // caller: the screen that opened the search (its objectName is tested for
    // "PartesGrua"); towCustomerId: the tow report's customer, which limits the
    // first list.
    BusquedaVehiculos(Session& session, Services& services, QWidget* caller,
                      Use use = Use::WorkOrder, const QVariant& towCustomerId = {},
                      QWidget* parent = nullptr);

    bool fromTowReport() const { return fromTowReport_; }

  private:
    void onSelect();
    void onHistory();
    void onChangeOwner();
    void onNewCustomer();
    void onNewVehicle();

    Use use_;
    QVariant towCustomerId_;
    bool fromTowReport_ = false;
};

}  // namespace torvane
