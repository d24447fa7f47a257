#pragma once

#include <QWidget>

#include "core/services.h"
#include "core/session.h"

namespace torvane {

// What to print of a saved work order: the workshop copy (with its jobs to do), the
// customer copy, and whether to preview instead of printing.
class FrmImprODT : public QWidget {
    Q_OBJECT
  public:
    FrmImprODT(Session& session, Services& services, const QString& number,
               QWidget* parent = nullptr);

  private:
    void accept();

    Session& session_;
    Services& services_;
    QString number_;
};

}  // namespace torvane
