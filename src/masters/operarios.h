#pragma once

#include "controls/data_grid.h"
#include "controls/form_fields.h"
#include "controls/record_screen.h"

namespace torvane {

// The operator file: the operator's record and the labour lines booked to him.
class Operarios : public RecordScreen {
    Q_OBJECT
  public:
    Operarios(Session& session, Services& services, QWidget* parent = nullptr);

  private:
    void buildDataTab(QWidget* tab);

    DataGrid* labour_ = nullptr;
    QList<DateField> dates_;
};

}  // namespace torvane
