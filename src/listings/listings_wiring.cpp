#include "listings/listings_wiring.h"

#include "controls/screen.h"
#include "core/services.h"
#include "listings/fechas.h"

namespace torvane {

namespace {

void openFechas(Session& session, Services& services, QObject* caller, const QString& key,
                qint64 id) {
    auto* fechas = new Fechas(session, services);
    fechas->setKey(key);
    fechas->setId(id);
    openScreen(qobject_cast<QWidget*>(caller), fechas);
}

}  // namespace

void registerListingOrigins(Session& session, Services& services) {
    services.handoffs().customerOrigins.registerOrigin(
        QStringLiteral("Listados"), [&session, &services](const CustomerChoice& choice) {
            openFechas(session, services, choice.caller.data(), choice.detail, choice.customerId);
        });
    services.handoffs().insurerOrigins.registerOrigin(
        QStringLiteral("informes"), [&session, &services](const SearchChoice& choice) {
            openFechas(session, services, choice.caller.data(), choice.detail, choice.id);
        });
}

}  // namespace torvane
