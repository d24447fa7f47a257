#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVariant>
#include <QWidget>

#include "controls/bound_fields.h"
#include "controls/data_grid.h"
#include "core/record_list.h"
#include "core/record_mode.h"
#include "core/services.h"
#include "core/session.h"
#include "masters/customers.h"

namespace torvane {

class OpcEntrada;

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
    bool isEditing() const { return customerMode_.isEditing() || vehicleMode_.isEditing(); }

  private:
    void buildPersonalTab(QWidget* tab);
    void buildVehiclesTab(QWidget* tab);
    void buildHistoryTab(QWidget* tab);
    QLineEdit* field(const QString& name) const;

    // Customer record
    void loadList(customers::CustomerOrder order);
    void showCurrent();
    void onNew();
    void onModify();
    void onSave();
    void onCancel();
    void onDelete();
    void onSearch();
    void navigate(int button);
    void updateTabs();

    // Vehicles and history, refreshed when TxtId changes
    void refreshCustomerGrids();
    void refreshVehicleGrids(const QVariant& selectVehicle = {});
    void showVehicle(int row);
    void clearVehicleFields();
    void setDateEditorsVisible(bool visible);
    void onNewVehicle();
    void onModifyVehicle();
    void onSaveVehicle();
    void onCancelVehicle();
    void onDeleteVehicle();
    void onChangeOwner();
    void onNewWorkOrder();
    void onHistory();
    void onHistoryVehicleChanged(int row);
    void onWorkOrderChanged(int row);
    void updateVehicleCommands();

    void reportDbError(const DbError& e);

    Session& session_;
    Services& services_;
    Dialogs& dialogs_;
    QString callerName_;

    RecordList list_;
    customers::CustomerOrder order_ = customers::CustomerOrder::Stored;
    RecordMode customerMode_;
    RecordMode vehicleMode_;
    bool newCustomer_ = false;
    QVariant keyBeforeEdit_;
    bool newVehicle_ = false;

    BoundFields customerFields_;
    BoundFields vehicleFields_;
    QTabWidget* tabs_ = nullptr;
    QWidget* customerCommands_ = nullptr;
    QLineEdit* txtId_ = nullptr;
    QLineEdit* txtIdCliVeh_ = nullptr;
    QWidget* frame3_ = nullptr;
    OpcEntrada* opcFechaVenta_ = nullptr;
    OpcEntrada* opcFechaItv_ = nullptr;
    DataGrid* vehicles_ = nullptr;
    DataGrid* vehicles2_ = nullptr;
    DataGrid* parts_ = nullptr;
    DataGrid* workOrders_ = nullptr;
    DataGrid* jobs_ = nullptr;
    DataGrid* materials_ = nullptr;
};

}  // namespace torvane
