#include "app/screen_wiring.h"

#include <QAction>

#include "app/config_inf.h"
#include "app/main_window.h"
#include "app/menu_actions.h"
#include "core/services.h"
#include "masters/article_handoffs.h"
#include "masters/articulos.h"
#include "masters/busqueda_clientes.h"
#include "masters/busqueda_vehiculos.h"
#include "masters/clientes.h"
#include "masters/customer_handoffs.h"
#include "masters/named_list_screen.h"
#include "reports/informes.h"

namespace torvane {

void wireScreens(Menu& menu, Session& session, Services& services) {
    auto customerFile = std::make_shared<QPointer<Clientes>>();
    registerCustomerFileOrigins(session, services, customerFile);

    menu.registerScreen(QStringLiteral("Clientes"),
                        [&session, &services, customerFile](const MenuRequest&) -> QWidget* {
                            auto* file = new Clientes(session, services);
                            *customerFile = file;
                            return file;
                        });
    menu.registerScreen(QStringLiteral("BusquedaVehiculos"), [&](const MenuRequest& r) -> QWidget* {
        // The menu-bar item browses; the toolbar's "Ord. Trabajo" starts a work order.
        const auto use = r.action == QLatin1String("mVehiculo") ? BusquedaVehiculos::Use::Browser
                                                                : BusquedaVehiculos::Use::WorkOrder;
        return new BusquedaVehiculos(session, services, &menu, use);
    });
    menu.registerScreen(QStringLiteral("BusquedaClientes"), [&](const MenuRequest& r) -> QWidget* {
        return new BusquedaClientes(session, services, &menu, r.origin);
    });
    auto articleFile = std::make_shared<QPointer<Articulos>>();
    registerArticleFileTarget(services, articleFile);
    menu.registerScreen(QStringLiteral("Articulos"),
                        [&session, &services, articleFile](const MenuRequest&) -> QWidget* {
                            auto* file = new Articulos(session, services);
                            *articleFile = file;
                            return file;
                        });
    menu.registerScreen(QStringLiteral("Familias"), [&](const MenuRequest&) -> QWidget* {
        return new NamedListScreen(session, services, named_lists::families());
    });
    menu.registerScreen(QStringLiteral("Almacen"), [&](const MenuRequest&) -> QWidget* {
        return new NamedListScreen(session, services, named_lists::warehouses());
    });
    menu.registerScreen(QStringLiteral("ConfigInf"), [&](const MenuRequest&) -> QWidget* {
        return new ConfigInf(session, services);
    });

    menu.registerCommand(QStringLiteral("VerListado"), [&](const MenuRequest& r) {
        Informes::VerListado(session, services, r.origin);
    });
    menu.registerCommand(QStringLiteral("ImprimirInformeSimple"), [&](const MenuRequest& r) {
        Informes::ImprimirInformeSimple(session, services, r.origin, r.detail, true);
    });

    // The customer search serves many items; those whose origin leads to a
    // screen that does not exist yet (no handler registered) must not look usable.
    const CustomerOriginRegistry& origins = services.handoffs().customerOrigins;
    for (const MenuItemDef& def : menuItems()) {
        if (def.target != QLatin1String("BusquedaClientes")) continue;
        if (QAction* a = menu.item(def.objectName)) a->setEnabled(origins.hasOrigin(def.origin));
    }
}

}  // namespace torvane
