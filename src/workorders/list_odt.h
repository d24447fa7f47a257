#pragma once

#include <QDate>
#include <QLineEdit>
#include <QList>
#include <QRadioButton>
#include <QTabWidget>
#include <QWidget>
#include <optional>

#include "controls/data_grid.h"
#include "controls/opc_entrada.h"
#include "core/record_mode.h"
#include "core/services.h"
#include "core/session.h"
#include "core/sql_statement.h"
#include "workorders/work_order_invoicing.h"
#include "workorders/work_order_list.h"

namespace torvane {

// "Ordenes de Trabajo - Presupuestos - Ordenes internas": the stored work orders in
// three tabs (ordinary, estimates, internal), searched as the user types, and what
// can be done to them: edit, delivery notes, invoicing, printing, removing.
class ListOdt : public QWidget {
    Q_OBJECT
  public:
    ListOdt(Session& session, Services& services, QWidget* parent = nullptr);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // One tab's grid and the statement it shows, so a reload keeps the search.
    struct Tab {
        DataGrid* grid = nullptr;
        SqlStatement shown;
        RecordMode mode;
    };
    void buildOrdinaryTab(QWidget* page);
    void buildEstimatesTab(QWidget* page);
    void buildInternalTab(QWidget* page);

    void showIn(Tab& tab, const SqlStatement& statement, int keepRow = -1);
    void reload(Tab& tab) { showIn(tab, tab.shown, tab.grid->currentRowIndex()); }
    void reloadAll();
    void searchOrdinary();
    void searchEstimates();
    void searchInternal();
    void followOrdinaryRow();
    void followInternalRow();

    // The current work order of a tab, or "Ningún registro activo" and nothing.
    std::optional<invoicing::WorkOrderState> current(Tab& tab);
    bool tell(const invoicing::Result& result);
    std::optional<QDate> invoiceDate();
    void proposeNumber();
    void checkProposedNumber();

    void onEdit(Tab& tab, bool refuseInvoiced);
    void onConvert(Tab& tab, bool toInternal);
    void onCreateDeliveryNote();
    void onRemoveDeliveryNote();
    void onRemoveInvoice();
    void onDelete();
    void onDeleteInternal();
    void onPrintInvoice(invoicing::InvoiceDocument document);
    void onPrintDeliveryNote();
    void onHistory();
    void onInvoice();
    void onInvoiceTogether();
    void onInvoiceEach();
    void onEstimateNumber();

    Session& session_;
    Services& services_;
    Dialogs& dialogs_;
    QTabWidget* tabs_ = nullptr;
    Tab ordinary_, estimates_, internal_;
    QLineEdit* txtBusqueda_ = nullptr;
    QLineEdit* text1_ = nullptr;
    QLineEdit* txtBusquedaInt_ = nullptr;
    QLineEdit* txtProxFact_ = nullptr;
    OpcEntrada* opcProxFecha_ = nullptr;
    int field_ = 0;           // Option1
    int filter_ = 2;          // Option2: Sin Facturar, Facturadas, Todas
    int estimateOption_ = 0;  // Option5
    int internalOption_ = 0;  // Option3
    int internalFilter_ = 0;  // Option4: Todas, Facturadas, Sin Facturar
    QList<QWidget*> ordinarySearchControls_, estimateSearchControls_, internalSearchControls_;
};

}  // namespace torvane
