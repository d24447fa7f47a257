#pragma once

#include <QTabWidget>
#include <QWidget>

#include "controls/data_grid.h"
#include "controls/record_controller.h"
#include "core/services.h"
#include "core/session.h"

namespace torvane {

// The supplier file: the supplier's record and the purchases made from it.
class Proveedores : public QWidget {
    Q_OBJECT
  public:
    Proveedores(Session& session, Services& services, QWidget* parent = nullptr);

    // The supplier search positions the file here.
    bool moveToSupplier(qint64 id) { return record_->moveToKey(id); }

  private:
    void buildDataTab(QWidget* tab);

    Session& session_;
    Services& services_;
    RecordController* record_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    DataGrid* purchases_ = nullptr;
};

}  // namespace torvane
