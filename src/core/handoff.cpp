#include "core/handoff.h"

namespace torvane {

bool WorkOrderOpenerRegistry::open(const NewWorkOrderRequest& request) const {
    if (!opener_) return false;
    opener_(request);
    return true;
}

bool WorkOrderOpenerRegistry::edit(const EditWorkOrderRequest& request) const {
    if (!editor_) return false;
    editor_(request);
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
