#pragma once

#include "controls/data_grid.h"
#include "controls/record_screen.h"

namespace torvane {

// The supplier file: the supplier's record and the purchases made from it.
class Proveedores : public RecordScreen {
    Q_OBJECT
  public:
    Proveedores(Session& session, Services& services, QWidget* parent = nullptr);

  private:
    void buildDataTab(QWidget* tab);

    DataGrid* purchases_ = nullptr;
};

}  // namespace torvane
