#pragma once

#include <QList>

#include "controls/record_screen.h"
#include "core/record_mode.h"

class QLineEdit;

namespace torvane {

// The insurer file (frmAseguradoras): the insurer's record and, on the second
// tab, its row of tow tariffs, edited and stored on its own.
class FrmAseguradoras : public RecordScreen {
    Q_OBJECT
  public:
    FrmAseguradoras(Session& session, Services& services, QWidget* parent = nullptr);

  private:
    void buildDataTab(QWidget* tab);
    void buildTariffTab(QWidget* tab);
    void showTariff();
    void saveTariff();
    void updateTariffState();

    QWidget* recordCommands_ = nullptr;
    RecordMode tariffMode_;
    QList<QLineEdit*> tariff_;  // Text1_0 .. Text1_28
};

}  // namespace torvane
