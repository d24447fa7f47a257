#include "app/screen_wiring.h"

#include <QAction>

#include "app/config_inf.h"
#include "app/main_window.h"
#include "app/menu_actions.h"
#include "core/handoff.h"
#include "masters/busqueda_clientes.h"
#include "masters/busqueda_vehiculos.h"
#include "masters/clientes.h"
#include "reports/informes.h"

namespace torvane {

namespace {

// Origins of the customer search that this build can serve: the ones the
// customer screens handle themselves, plus those a later screen registered.
bool customerOriginServed(const QString& origin) {
    return origin == QLatin1String("ListVeh") || origin == QLatin1String("CambioPropietario") ||
           CustomerOriginRegistry::hasOrigin(origin);
}

}  // namespace

void wireScreens(Menu& menu, Session& session, Dialogs& dialogs) {
    menu.registerScreen(QStringLiteral("Clientes"), [&](const MenuRequest&) -> QWidget* {
        return new Clientes(session, dialogs);
    });
    menu.registerScreen(QStringLiteral("BusquedaVehiculos"), [&](const MenuRequest& r) -> QWidget* {
        // The menu-bar item browses; the toolbar's "Ord. Trabajo" starts a work order.
        const auto use = r.action == QLatin1String("mVehiculo") ? BusquedaVehiculos::Use::Browser
                                                                : BusquedaVehiculos::Use::WorkOrder;
        return new BusquedaVehiculos(session, dialogs, &menu, use);
    });
    menu.registerScreen(QStringLiteral("BusquedaClientes"), [&](const MenuRequest& r) -> QWidget* {
        return new BusquedaClientes(session, dialogs, &menu, r.origin);
    });
    menu.registerScreen(QStringLiteral("ConfigInf"), [&](const MenuRequest&) -> QWidget* {
        return new ConfigInf(session, dialogs);
    });

    menu.registerCommand(QStringLiteral("VerListado"), [&](const MenuRequest& r) {
        Informes::VerListado(session, dialogs, r.origin);
    });
    menu.registerCommand(QStringLiteral("ImprimirInformeSimple"), [&](const MenuRequest& r) {
        Informes::ImprimirInformeSimple(session, dialogs, r.origin, r.detail, true);
    });

    // The customer search serves many items; those whose origin leads to a
    // screen that does not exist yet must not look usable.
    for (const MenuItemDef& def : menuItems()) {
        if (def.target != QLatin1String("BusquedaClientes")) continue;
        if (QAction* a = menu.item(def.objectName)) a->setEnabled(customerOriginServed(def.origin));
    }
}

}  // namespace torvane
