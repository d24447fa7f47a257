#pragma once

#include <QWidget>

#include "controls/data_grid.h"
#include "core/services.h"
#include "core/session.h"

namespace torvane {

// The work orders of one vehicle with its owner, and the jobs and materials of
// the selected work order.
class HistorialVeh : public QWidget {
    Q_OBJECT
  public:
    HistorialVeh(Session& session, Services& services, qint64 vehicleId, QWidget* parent = nullptr);

  private:
    Session& session_;
    Services& services_;
    Dialogs& dialogs_;
    DataGrid* odts_;
};

}  // namespace torvane
