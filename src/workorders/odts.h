#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QWidget>
#include <array>

#include "controls/form_fields.h"
#include "controls/line_table.h"
#include "core/handoff.h"
#include "core/services.h"
#include "core/session.h"
#include "workorders/work_order.h"
#include "workorders/work_order_invoicing.h"

namespace torvane {

class CommandBar;

// The work-order editor: header, jobs to do, labour, materials and free lines of one
// work order. It is opened for a new work order of a vehicle (startNew) or for a stored
// one (startExisting); closing it ends the edit, asking to save while it is not saved.
class ODTS : public QWidget {
    Q_OBJECT
  public:
    ODTS(Session& session, Services& services, QWidget* parent = nullptr);

    // A new work order for the vehicle, numbered by the customer screen's probe or by
    // the last stored number. False when the vehicle does not exist.
    bool startNew(qint64 vehicleId, WorkOrderNumbering numbering);
    // A stored work order by Id_ODT. An invoiced one is refused with its message.
    bool startExisting(qint64 workOrderId);

    // ---- For the delivery-note and invoicing commands ----
    // The save without messages and without the print offer; the screen stays open.
    bool quietSave();
    // Why the last save was refused (Ok when it was not).
    workorders::SaveCheck lastSaveCheck() const { return lastCheck_; }
    // The checks saving runs, on what the screen holds now.
    bool kilometresGiven() const;
    bool jobsLeft() const;
    // Base, VAT and amount of every line not marked deleted.
    workorders::Totals totals() const;
    QDate exitDate() const;
    QString number() const;
    QVariant workOrderId() const { return header_.id; }
    void setInvoiceNumber(const QString& number);       // TxtNFactura
    void setDeliveryNoteNumber(const QString& number);  // TxtNAlbaran

    // ---- Article hand-offs ----
    // A code chosen in the article search or made by the quick creation.
    void takeArticleCode(const QString& code);
    void takeNewArticle(const NewArticle& article);

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildHeader(QBoxLayout* into);
    void buildVehicleFrames(QBoxLayout* into);
    void buildJobsTab(QWidget* tab);
    void buildLabourTab(QWidget* tab);
    void buildMaterialsTab(QWidget* tab);
    void buildFreeLinesTab(QWidget* tab);
    void buildTotalsAndCommands(QBoxLayout* into);
    void applyInputRules();

    void showHeader();
    void showVehicle(qint64 vehicleId);
    workorders::Header headerFromScreen() const;
    workorders::Deletions deletions() const;
    void reload(workorders::LineKind kind);
    void reloadAll();
    LineTableModel* model(workorders::LineKind kind) const;
    void refreshTotals();

    void addJob();
    void chooseOperator(const QString& name);
    void chooseDepartment(const QString& department);
    void addLabour();
    void lookUpArticle(const QString& code);
    void checkUnknownCode();
    void showStockMarker(bool fromWarehouse);
    // The numbers of a material or free-line panel, once every required field is filled
    // and they read; otherwise the message is shown and nothing is returned.
    struct PricedEntry {
        Quantity units;
        Money price;
        Quantity discount;
    };
    std::optional<PricedEntry> readPriced(std::initializer_list<const char*> required,
                                          const char* units, const char* price,
                                          const char* discount);
    void addMaterial();
    void addFreeLine();
    void editLabour(int row);
    void editMaterial(int row);
    void editFreeLine(int row);
    void checkDuplicateNumber();
    // Runs a line's store; a database error is shown and nothing else changes.
    bool store(const std::function<void()>& step);
    bool storeCounted(workorders::LineKind kind, const std::function<void()>& step);
    bool runSave(bool quiet);
    // What follows a stored save: the screen shows the work order as stored.
    void takeStored(qint64 id);
    // Delivery note and invoices: the jobs and kilometre checks, then one step that
    // stores the work order with its new number.
    bool documentChecksPass();
    invoicing::StoreWorkOrder storeWithNumber(bool invoice, qint64& storedId);
    void makeDeliveryNote();
    void makeInvoice(invoicing::InvoiceDocument document);
    void lockNumberOnceLinesExist();

    QLineEdit* field(const char* name) const;

    Session& session_;
    Services& services_;
    Dialogs& dialogs_;
    workorders::Header header_;
    bool newOrder_ = false;
    bool saved_ = false;
    bool quiet_ = false;
    bool skipLookup_ = false;
    workorders::SaveCheck lastCheck_ = workorders::SaveCheck::Ok;
    std::array<int, workorders::kLineKinds> countsAtOpening_{};
    workorders::Lines lines_;
    QVariant editingLabour_, editingMaterial_, editingFreeLine_;

    QTabWidget* tabs_ = nullptr;
    QComboBox* fuel_ = nullptr;
    QComboBox* jobEntry_ = nullptr;    // Combo2
    QComboBox* operator_ = nullptr;    // Combo1
    QComboBox* department_ = nullptr;  // ComboDepartamento
    QComboBox* work_ = nullptr;        // Combo4
    QCheckBox* estimate_ = nullptr;    // CheckPresupuesto
    QCheckBox* collects_ = nullptr;    // Check1
    QCheckBox* unforeseen_ = nullptr;  // Check2
    QCheckBox* internal_ = nullptr;    // CheckOrden
    DateField entryDate_, exitDate_, labourDate_;
    QLabel* fromWarehouse_ = nullptr;     // LabelDesdeAlmacen
    QLabel* withoutWarehouse_ = nullptr;  // LabelSinAlmacen
    std::array<LineTableModel*, workorders::kLineKinds> models_{};
    CommandBar* commands_ = nullptr;
};

}  // namespace torvane
