#include "billing/billing_handoffs.h"

#include "billing/fact_libres.h"
#include "controls/screen.h"

namespace torvane {

void registerFreeInvoiceOrigin(Session& session, Services& services) {
    services.handoffs().customerOrigins.registerOrigin(
        QStringLiteral("Facturas Libres"), [&session, &services](const CustomerChoice& choice) {
            openScreen(qobject_cast<QWidget*>(choice.caller.data()),
                       new FactLibres(session, services, choice.customerId));
        });
}

}  // namespace torvane
