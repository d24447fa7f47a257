#pragma once

#include <QLabel>
#include <QVariant>

#include "controls/search_screen.h"

namespace torvane {

// The article search. The chosen article goes to the first open screen of the
// work-order editor, counter sale, purchase and article file, through the
// article targets of Services.
class BusquedaArticulos : public SearchScreen {
    Q_OBJECT
  public:
    BusquedaArticulos(Session& session, Services& services, QWidget* parent = nullptr);

    // Lists only this supplier's articles until something is typed.
    void setSupplierId(const QVariant& supplierId);

  protected:
    void accept() override;

  private:
    void showCurrent(int row);

    QList<QLabel*> values_;  // Label2_0..2: stock, price, discount
    QLabel* costPrice_ = nullptr;
    QLabel* lowStock_ = nullptr;
};

}  // namespace torvane
