#pragma once

#include "core/services.h"
#include "core/session.h"

namespace torvane {

// The purchase screen's side of the hand-offs: the supplier search's origin
// "Compras" opens it for the chosen supplier, and it is the article target of
// the article search and the quick creation while it is open.
void registerPurchaseHandoffs(Session& session, Services& services);

}  // namespace torvane
