#pragma once

#include <QTabWidget>
#include <QVariant>
#include <QWidget>

#include "controls/data_grid.h"
#include "controls/form_fields.h"
#include "controls/record_controller.h"
#include "core/services.h"
#include "core/session.h"

namespace torvane {

// The operator file: the operator's record and the labour lines booked to him.
class Operarios : public QWidget {
    Q_OBJECT
  public:
    Operarios(Session& session, Services& services, QWidget* parent = nullptr);

    // The operator search positions the file here.
    bool moveToOperator(qint64 id) { return record_->moveToKey(id); }

  private:
    void buildDataTab(QWidget* tab);

    Session& session_;
    Services& services_;
    RecordController* record_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    DataGrid* labour_ = nullptr;
    QList<DateField> dates_;
};

}  // namespace torvane
