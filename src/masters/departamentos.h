#pragma once

#include <QWidget>

#include "controls/data_grid.h"
#include "controls/record_controller.h"
#include "core/services.h"
#include "core/session.h"

namespace torvane {

// The departments and their hourly rates (PreciosHora): a list and two fields.
class Departamentos : public QWidget {
    Q_OBJECT
  public:
    Departamentos(Session& session, Services& services, QWidget* parent = nullptr);

  private:
    void refreshList();

    Session& session_;
    Services& services_;
    RecordController* record_ = nullptr;
    DataGrid* list_ = nullptr;
};

}  // namespace torvane
