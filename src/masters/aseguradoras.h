#pragma once

#include <QList>
#include <QTabWidget>
#include <QWidget>

#include "controls/record_controller.h"
#include "core/record_mode.h"
#include "core/services.h"
#include "core/session.h"

class QLineEdit;

namespace torvane {

// The insurer file (frmAseguradoras): the insurer's record and, on the second
// tab, its row of tow tariffs, edited and stored on its own.
class FrmAseguradoras : public QWidget {
    Q_OBJECT
  public:
    FrmAseguradoras(Session& session, Services& services, QWidget* parent = nullptr);

    // The insurer search positions the file here.
    bool moveToInsurer(qint64 id) { return record_->moveToKey(id); }

  private:
    void buildDataTab(QWidget* tab);
    void buildTariffTab(QWidget* tab);
    void showTariff();
    void saveTariff();
    void updateTariffState();

    Session& session_;
    Services& services_;
    RecordController* record_ = nullptr;
    QWidget* recordCommands_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    RecordMode tariffMode_;
    QList<QLineEdit*> tariff_;  // Text1_0 .. Text1_28
};

}  // namespace torvane
