#pragma once

#include "core/services.h"
#include "core/session.h"

namespace torvane {

// The customer search with origin "Facturas Libres" opens a free invoice for the
// chosen customer.
void registerFreeInvoiceOrigin(Session& session, Services& services);

}  // namespace torvane
