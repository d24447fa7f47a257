#pragma once

#include <QPointer>

#include "controls/search_screen.h"

namespace torvane {

// The insurer search. With origin "informes" the chosen insurer goes to the
// listings screen (through the hand-off registry); otherwise the insurer file
// that opened it moves to it.
class BusquedaAseguradoras : public SearchScreen {
    Q_OBJECT
  public:
    BusquedaAseguradoras(Session& session, Services& services, QWidget* caller,
                         const QString& origen, QWidget* parent = nullptr);
    // Passed on with the choice (the listing an "informes" search serves).
    void setDetail(const QString& detail) { detail_ = detail; }

  protected:
    void accept() override;

  private:
    QPointer<QWidget> caller_;
    QString origen_;
    QString detail_;
};

}  // namespace torvane
