#pragma once

#include <QPointer>
#include <QString>
#include <memory>

#include "core/services.h"
#include "core/session.h"

namespace torvane {

class VentaRecambios;

// The counter sale the app opened last; the article search and the quick
// creation hand their article to it while it is open.
using OpenCounterSale = std::shared_ptr<QPointer<VentaRecambios>>;

// Opens a counter sale for caller (which stays disabled until it closes).
VentaRecambios* openCounterSale(Session& session, Services& services, const OpenCounterSale& open,
                                QWidget* caller);

// "Venta Recambios" in the customer search starts a new note for the customer;
// the counter sale takes articles from the search and the quick creation.
void registerCounterSale(Session& session, Services& services, OpenCounterSale open);

}  // namespace torvane
