#include "core/handoff.h"

namespace torvane {

void CustomerOriginRegistry::registerOrigin(const QString& origin, CustomerOriginHandler handler) {
    byOrigin_.insert(origin, std::move(handler));
}

bool CustomerOriginRegistry::hasOrigin(const QString& origin) const {
    return bool(byOrigin_.value(origin));
}

void CustomerOriginRegistry::setDefault(CustomerOriginHandler handler) {
    fallback_ = std::move(handler);
}

bool CustomerOriginRegistry::dispatch(const CustomerChoice& choice) const {
    const CustomerOriginHandler handler =
        hasOrigin(choice.origin) ? byOrigin_.value(choice.origin) : fallback_;
    if (!handler) return false;
    handler(choice);
    return true;
}

bool WorkOrderOpenerRegistry::open(const NewWorkOrderRequest& request) const {
    if (!opener_) return false;
    opener_(request);
    return true;
}

void VehicleChoiceRegistry::registerCaller(const QString& callerName,
                                           VehicleChoiceHandler handler) {
    byCaller_.insert(callerName, std::move(handler));
}

bool VehicleChoiceRegistry::hasCaller(const QString& callerName) const {
    return bool(byCaller_.value(callerName));
}

bool VehicleChoiceRegistry::dispatch(const QString& callerName, const VehicleChoice& choice) const {
    const VehicleChoiceHandler handler = byCaller_.value(callerName);
    if (!handler) return false;
    handler(choice);
    return true;
}

}  // namespace torvane
