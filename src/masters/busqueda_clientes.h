#pragma once

#include <QPointer>
#include <QString>
#include <QVariant>

#include "controls/search_screen.h"

namespace torvane {

// The customer search. What accepting a customer does depends on the origin
// text it was opened with, through the hand-off registry of Services.
class BusquedaClientes : public SearchScreen {
    Q_OBJECT
  public:
    // caller: the screen that opened the search; vehicleId: the vehicle whose
    // owner changes (origin "CambioPropietario").
    BusquedaClientes(Session& session, Services& services, QWidget* caller, const QString& origen,
                     const QVariant& vehicleId = {}, QWidget* parent = nullptr);

    QString origen() const { return origen_; }
    // Passed on with the choice (the listing a "Listados" search serves).
    void setDetail(const QString& detail) { detail_ = detail; }

  protected:
    void accept() override;

  private:
    QPointer<QWidget> caller_;
    QString origen_;
    QVariant vehicleId_;
    QString detail_;
};

}  // namespace torvane
