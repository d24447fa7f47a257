#pragma once

#include "controls/data_grid.h"
#include "controls/record_screen.h"

namespace torvane {

// The departments and their hourly rates (PreciosHora): a list and two fields.
class Departamentos : public RecordScreen {
    Q_OBJECT
  public:
    Departamentos(Session& session, Services& services, QWidget* parent = nullptr);

  private:
    void refreshList();

    DataGrid* list_ = nullptr;
};

}  // namespace torvane
