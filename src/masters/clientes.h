#pragma once

#include <QHBoxLayout>
#include <QLineEdit>
#include <QTabWidget>
#include <QVariant>
#include <QWidget>

#include "controls/data_grid.h"
#include "controls/form_fields.h"
#include "controls/record_controller.h"
#include "core/services.h"
#include "core/session.h"

namespace torvane {

// The customer file: customer record, its vehicles and the history of its
// repairs and parts purchases.
class Clientes : public QWidget {
    Q_OBJECT
  public:
    Clientes(Session& session, Services& services, QWidget* parent = nullptr);

    // The name of the screen that opened this one ("PartesGrua" for the tow report).
    void setCallerName(const QString& name);
    QString callerName() const { return callerName_; }

    // What other screens ask of the customer file.
    void startNewCustomer();
    bool moveToCustomer(qint64 customerId);
    void startNewVehicle();

    QVariant currentCustomerId() const;
    QVariant currentVehicleId() const;
    bool isEditing() const { return customer_->isEditing() || vehicle_->isEditing(); }

  private:
    void buildPersonalTab(QWidget* tab);
    void buildVehiclesTab(QWidget* tab);
    void buildHistoryTab(QWidget* tab);
    void setUpCustomerRecord();
    void setUpVehicleRecord();

    void vehicleShown(const Row& row);
    void vehiclesReloaded();
    void updateTabs();
    void onChangeOwner();
    void onNewWorkOrder();
    void onHistory();

    Session& session_;
    Services& services_;
    Dialogs& dialogs_;
    QString callerName_;

    RecordController* customer_ = nullptr;
    RecordController* vehicle_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QWidget* customerCommands_ = nullptr;
    QLineEdit* txtId_ = nullptr;
    QLineEdit* txtIdCliVeh_ = nullptr;
    QWidget* frame3_ = nullptr;
    QHBoxLayout* newVehicleRow_ = nullptr;       // CmdNuevoV
    QHBoxLayout* vehicleCommandsRow_ = nullptr;  // the commands under the vehicle
    DateField dates_[2];                         // sale and next inspection
    DataGrid* vehicles_ = nullptr;
    DataGrid* vehicles2_ = nullptr;
    DataGrid* parts_ = nullptr;
    DataGrid* workOrders_ = nullptr;
};

}  // namespace torvane
