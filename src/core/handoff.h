#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <functional>

#include "core/article_handoff.h"

namespace torvane {

// Hand-offs from the search screens to screens higher up the ladder. The app
// registers a handler for each at start-up in the registries that Services
// owns; the search screen only knows the origin text and these structures.

// A customer chosen in the customer search.
struct CustomerChoice {
    QPointer<QObject> caller;  // the screen that opened the search
    QString origin;
    qint64 customerId = 0;
    QVariant vehicleId;  // set when the search was opened for a change of owner
    QString detail;      // the listing key, when opened for a listing ("Listados")
};
using CustomerOriginHandler = std::function<void(const CustomerChoice&)>;

// A supplier or insurer chosen in its search, for the screen its origin names
// (a supplier for the purchase screen, an insurer for the listings screen).
struct SearchChoice {
    QPointer<QObject> caller;
    QString origin;
    qint64 id = 0;
    QString detail;  // the listing key, when opened for a listing ("informes")
};

// Origin text -> what accepting a choice does. An origin nobody registered
// falls back to the default handler.
template <class Choice>
class OriginRegistry {
  public:
    using Handler = std::function<void(const Choice&)>;
    void registerOrigin(const QString& origin, Handler handler) {
        byOrigin_.insert(origin, std::move(handler));
    }
    bool hasOrigin(const QString& origin) const { return bool(byOrigin_.value(origin)); }
    void setDefault(Handler handler) { fallback_ = std::move(handler); }
    // Runs the handler for choice.origin, or the default; false when there was none to run.
    bool dispatch(const Choice& choice) const {
        const Handler handler =
            hasOrigin(choice.origin) ? byOrigin_.value(choice.origin) : fallback_;
        if (!handler) return false;
        handler(choice);
        return true;
    }

  private:
    QHash<QString, Handler> byOrigin_;
    Handler fallback_;
};
using CustomerOriginRegistry = OriginRegistry<CustomerChoice>;
using SearchOriginRegistry = OriginRegistry<SearchChoice>;

// A new work order for a vehicle. The customer screen continues the series by
// probing candidates; the vehicle search continues the last stored number.
enum class WorkOrderNumbering { ProbeLoop, NextNumber };

struct NewWorkOrderRequest {
    QPointer<QObject> caller;
    qint64 vehicleId = 0;
    WorkOrderNumbering numbering = WorkOrderNumbering::NextNumber;
};
using WorkOrderOpener = std::function<void(const NewWorkOrderRequest&)>;

// A stored work order to edit (the work-order list's Editar).
struct EditWorkOrderRequest {
    QPointer<QObject> caller;
    qint64 workOrderId = 0;  // ODTS.Id_Odt
};
using WorkOrderEditor = std::function<void(const EditWorkOrderRequest&)>;

// The work-order editor is registered here; until it is, the commands that
// open a work order stay disabled.
class WorkOrderOpenerRegistry {
  public:
    void setOpener(WorkOrderOpener opener) { opener_ = std::move(opener); }
    bool hasOpener() const { return bool(opener_); }
    // False when no opener is registered.
    bool open(const NewWorkOrderRequest& request) const;

    void setEditor(WorkOrderEditor editor) { editor_ = std::move(editor); }
    bool hasEditor() const { return bool(editor_); }
    // False when no editor is registered.
    bool edit(const EditWorkOrderRequest& request) const;

  private:
    WorkOrderOpener opener_;
    WorkOrderEditor editor_;
};

// A vehicle returned by the vehicle search to the screen that opened it (the
// tow report). Make and model come from the list's "make  model" column.
struct VehicleChoice {
    QPointer<QObject> caller;
    qint64 vehicleId = 0;
    qint64 customerId = 0;
    QString plate;
    QString make;
    QString model;
};
using VehicleChoiceHandler = std::function<void(const VehicleChoice&)>;

// Keyed by the name of the calling screen ("PartesGrua").
class VehicleChoiceRegistry {
  public:
    void registerCaller(const QString& callerName, VehicleChoiceHandler handler);
    bool hasCaller(const QString& callerName) const;
    bool dispatch(const QString& callerName, const VehicleChoice& choice) const;

  private:
    QHash<QString, VehicleChoiceHandler> byCaller_;
};

// Every hand-off registry, as Services carries them.
struct Handoffs {
    CustomerOriginRegistry customerOrigins;
    SearchOriginRegistry supplierOrigins;  // "Compras"
    SearchOriginRegistry insurerOrigins;   // "informes"
    WorkOrderOpenerRegistry workOrders;
    VehicleChoiceRegistry vehicleChoices;
    ArticleTargetRegistry articleTargets;
};

}  // namespace torvane
