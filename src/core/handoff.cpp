#include "core/handoff.h"

namespace torvane {

namespace {

struct CustomerOrigins {
    QHash<QString, CustomerOriginHandler> byOrigin;
    CustomerOriginHandler fallback;
};

CustomerOrigins& customerOrigins() {
    static CustomerOrigins origins;
    return origins;
}

WorkOrderOpener& workOrderOpener() {
    static WorkOrderOpener opener;
    return opener;
}

QHash<QString, VehicleChoiceHandler>& vehicleTargets() {
    static QHash<QString, VehicleChoiceHandler> targets;
    return targets;
}

}  // namespace

void CustomerOriginRegistry::registerOrigin(const QString& origin, CustomerOriginHandler handler) {
    customerOrigins().byOrigin.insert(origin, std::move(handler));
}

void CustomerOriginRegistry::unregisterOrigin(const QString& origin) {
    customerOrigins().byOrigin.remove(origin);
}

bool CustomerOriginRegistry::hasOrigin(const QString& origin) {
    return customerOrigins().byOrigin.contains(origin);
}

void CustomerOriginRegistry::setDefault(CustomerOriginHandler handler) {
    customerOrigins().fallback = std::move(handler);
}

bool CustomerOriginRegistry::hasDefault() {
    return bool(customerOrigins().fallback);
}

CustomerOriginHandler CustomerOriginRegistry::handlerFor(const QString& origin) {
    const auto& o = customerOrigins();
    auto it = o.byOrigin.constFind(origin);
    if (it != o.byOrigin.constEnd() && *it) return *it;
    return o.fallback;
}

bool CustomerOriginRegistry::dispatch(const CustomerChoice& choice) {
    const CustomerOriginHandler handler = handlerFor(choice.origin);
    if (!handler) return false;
    handler(choice);
    return true;
}

void WorkOrderOpenerRegistry::setOpener(WorkOrderOpener opener) {
    workOrderOpener() = std::move(opener);
}

void WorkOrderOpenerRegistry::clearOpener() {
    workOrderOpener() = nullptr;
}

bool WorkOrderOpenerRegistry::hasOpener() {
    return bool(workOrderOpener());
}

bool WorkOrderOpenerRegistry::open(const NewWorkOrderRequest& request) {
    const WorkOrderOpener opener = workOrderOpener();
    if (!opener) return false;
    opener(request);
    return true;
}

void VehicleChoiceRegistry::registerCaller(const QString& callerName,
                                           VehicleChoiceHandler handler) {
    vehicleTargets().insert(callerName, std::move(handler));
}

void VehicleChoiceRegistry::unregisterCaller(const QString& callerName) {
    vehicleTargets().remove(callerName);
}

bool VehicleChoiceRegistry::hasCaller(const QString& callerName) {
    return vehicleTargets().contains(callerName);
}

bool VehicleChoiceRegistry::dispatch(const QString& callerName, const VehicleChoice& choice) {
    const VehicleChoiceHandler handler = vehicleTargets().value(callerName);
    if (!handler) return false;
    handler(choice);
    return true;
}

}  // namespace torvane
