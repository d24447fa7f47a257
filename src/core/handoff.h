#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <functional>

namespace torvane {

class Session;
class Dialogs;

// Hand-offs from the search screens to screens higher up the ladder. The higher
// screen registers a handler at start-up; the search screen only knows the
// origin text and these structures.

// A customer chosen in the customer search.
struct CustomerChoice {
    Session* session = nullptr;
    Dialogs* dialogs = nullptr;
    QPointer<QObject> caller;  // the screen that opened the search
    QString origin;
    qint64 customerId = 0;
    QVariant vehicleId;  // set when the search was opened for a change of owner
};
using CustomerOriginHandler = std::function<void(const CustomerChoice&)>;

// Origin text -> what accepting a customer does. An origin nobody registered
// falls back to the default handler.
class CustomerOriginRegistry {
  public:
    static void registerOrigin(const QString& origin, CustomerOriginHandler handler);
    static void unregisterOrigin(const QString& origin);
    static bool hasOrigin(const QString& origin);
    static void setDefault(CustomerOriginHandler handler);
    static bool hasDefault();
    // The handler for origin, or the default; empty when neither exists.
    static CustomerOriginHandler handlerFor(const QString& origin);
    // Runs the handler for choice.origin; false when there was none to run.
    static bool dispatch(const CustomerChoice& choice);
};

// A new work order for a vehicle. The customer screen continues the series by
// probing candidates; the vehicle search continues the last stored number.
enum class WorkOrderNumbering { ProbeLoop, NextNumber };

struct NewWorkOrderRequest {
    Session* session = nullptr;
    Dialogs* dialogs = nullptr;
    QPointer<QObject> caller;
    qint64 vehicleId = 0;
    WorkOrderNumbering numbering = WorkOrderNumbering::NextNumber;
};
using WorkOrderOpener = std::function<void(const NewWorkOrderRequest&)>;

// The work-order editor registers itself here; until it does, the commands that
// open a new work order stay disabled.
class WorkOrderOpenerRegistry {
  public:
    static void setOpener(WorkOrderOpener opener);
    static void clearOpener();
    static bool hasOpener();
    // False when no opener is registered.
    static bool open(const NewWorkOrderRequest& request);
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
    static void registerCaller(const QString& callerName, VehicleChoiceHandler handler);
    static void unregisterCaller(const QString& callerName);
    static bool hasCaller(const QString& callerName);
    static bool dispatch(const QString& callerName, const VehicleChoice& choice);
};

}  // namespace torvane
