#include "app/screen_wiring.h"

#include <QAction>
#include <QLabel>
#include <QStatusBar>

#include "app/config_inf.h"
#include "app/main_window.h"
#include "app/menu_actions.h"
#include "billing/billing_handoffs.h"
#include "billing/fact_comisiones.h"
#include "billing/gestor_cobros.h"
#include "billing/list_comisiones.h"
#include "billing/list_fac_libres.h"
#include "billing/listado_recibos.h"
#include "billing/recibos.h"
#include "controls/screen.h"
#include "core/numbering.h"
#include "core/services.h"
#include "listings/etiquetas.h"
#include "listings/fechas.h"
#include "listings/listings_wiring.h"
#include "masters/article_handoffs.h"
#include "masters/articulos.h"
#include "masters/aseguradoras.h"
#include "masters/busqueda_aseguradoras.h"
#include "masters/busqueda_clientes.h"
#include "masters/busqueda_proveedores.h"
#include "masters/busqueda_vehiculos.h"
#include "masters/clientes.h"
#include "masters/customer_handoffs.h"
#include "masters/departamentos.h"
#include "masters/named_list_screen.h"
#include "masters/operarios.h"
#include "masters/proveedores.h"
#include "purchasing/list_compras.h"
#include "purchasing/purchase_handoffs.h"
#include "reports/informes.h"
#include "reports/itv_due.h"
#include "sales/lv_recambios.h"
#include "sales/sales_handoffs.h"
#include "tow/gestor_partes.h"
#include "tow/partes_grua.h"
#include "verifactu/send_monitor.h"
#include "verifactu/settings_screen.h"
#include "workorders/list_odt.h"
#include "workorders/work_order_handoffs.h"

namespace torvane {

namespace {

// The invoice records still to reach the agency: a panel of the status bar, shown only while
// the records are sent (VERI*FACTU mode), and a round of sending every half minute.
verifactu::SendMonitor* startSending(Menu& menu, Session& session, Services& services) {
    auto* sending = new verifactu::SendMonitor(session, services.dialogs(), &menu);
    // The agency's test environment instead of its service, and the authorities it needs.
    if (const QString url = qEnvironmentVariable("TORVANE_VERIFACTU_URL"); !url.isEmpty())
        sending->setEndpoint(url);
    if (const QString ca = qEnvironmentVariable("TORVANE_VERIFACTU_CA"); !ca.isEmpty())
        sending->setTrustedAuthorities(ca);
    auto* panel = new QLabel(menu.statusBar());
    panel->setObjectName(QStringLiteral("StatusBar1_Registros"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setContentsMargins(4, 0, 4, 0);
    panel->hide();
    menu.statusBar()->insertPermanentWidget(1, panel);
    QObject::connect(sending, &verifactu::SendMonitor::statusChanged, panel,
                     [panel](const QString& text, const QString& tip) {
                         panel->setText(text);
                         panel->setToolTip(tip);
                         panel->setVisible(!text.isEmpty());
                     });
    sending->start(30000);
    return sending;
}

}  // namespace

void wireScreens(Menu& menu, Session& session, Services& services) {
    verifactu::SendMonitor* sending = startSending(menu, session, services);
    auto customerFile = std::make_shared<QPointer<Clientes>>();
    registerCustomerFileOrigins(session, services, customerFile);
    registerWorkOrderEditor(session, services);

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
        auto* search = new BusquedaClientes(session, services, &menu, r.origin);
        search->setDetail(r.detail);
        return search;
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
    menu.registerScreen(QStringLiteral("Operarios"), [&](const MenuRequest&) -> QWidget* {
        return new Operarios(session, services);
    });
    menu.registerScreen(QStringLiteral("Departamentos"), [&](const MenuRequest&) -> QWidget* {
        return new Departamentos(session, services);
    });
    menu.registerScreen(QStringLiteral("Proveedores"), [&](const MenuRequest&) -> QWidget* {
        return new Proveedores(session, services);
    });
    menu.registerScreen(QStringLiteral("BusquedaProveedores"),
                        [&](const MenuRequest& r) -> QWidget* {
                            return new BusquedaProveedores(session, services, &menu, r.origin);
                        });
    registerPurchaseHandoffs(session, services);
    menu.registerScreen(QStringLiteral("ListCompras"), [&](const MenuRequest&) -> QWidget* {
        return new ListCompras(session, services);
    });
    menu.registerScreen(QStringLiteral("frmAseguradoras"), [&](const MenuRequest&) -> QWidget* {
        return new FrmAseguradoras(session, services);
    });
    menu.registerScreen(
        QStringLiteral("BusquedaAseguradoras"), [&](const MenuRequest& r) -> QWidget* {
            auto* search = new BusquedaAseguradoras(session, services, &menu, r.origin);
            search->setDetail(r.detail);
            return search;
        });
    menu.registerScreen(QStringLiteral("ListOdt"), [&](const MenuRequest&) -> QWidget* {
        return new ListOdt(session, services);
    });
    menu.registerScreen(QStringLiteral("ConfigInf"), [&](const MenuRequest&) -> QWidget* {
        return new ConfigInf(session, services);
    });
    menu.registerScreen(QStringLiteral("ConfigFacturacion"),
                        [&session, &services, sending](const MenuRequest&) -> QWidget* {
                            return new ConfigFacturacion(session, services, sending);
                        });

    // Collections and free invoices.
    menu.registerScreen(QStringLiteral("GestorCobros"), [&](const MenuRequest&) -> QWidget* {
        return new GestorCobros(session, services);
    });
    menu.registerScreen(QStringLiteral("ListFacLibres"), [&](const MenuRequest&) -> QWidget* {
        return new ListFacLibres(session, services);
    });
    registerFreeInvoiceOrigin(session, services);
    auto counterSale = std::make_shared<QPointer<VentaRecambios>>();
    registerCounterSale(session, services, counterSale);
    menu.registerScreen(QStringLiteral("LVRecambios"),
                        [&session, &services, counterSale](const MenuRequest&) -> QWidget* {
                            return new LVRecambios(session, services, counterSale);
                        });

    // Bank receipts and commission invoices.
    menu.registerScreen(QStringLiteral("ListadoRecibos"), [&](const MenuRequest&) -> QWidget* {
        return new ListadoRecibos(session, services);
    });
    menu.registerScreen(QStringLiteral("ListComisiones"), [&](const MenuRequest&) -> QWidget* {
        return new ListComisiones(session, services);
    });
    services.handoffs().customerOrigins.registerOrigin(
        QStringLiteral("Recibos"), [&session, &services](const CustomerChoice& choice) {
            // Chosen from the receipts screen's own search: that screen takes the customer.
            if (auto* open = qobject_cast<Recibos*>(choice.caller.data()))
                open->setCustomer(choice.customerId);
            else
                openScreen(qobject_cast<QWidget*>(choice.caller.data()),
                           new Recibos(session, services, choice.customerId));
        });
    services.handoffs().customerOrigins.registerOrigin(
        QStringLiteral("Comisiones"), [&session, &services](const CustomerChoice& choice) {
            openScreen(qobject_cast<QWidget*>(choice.caller.data()),
                       new FactComisiones(session, services, choice.customerId));
        });

    // Tow reports: the editor takes the owner and the vehicle chosen in the searches.
    menu.registerScreen(QStringLiteral("PartesGrua"), [&](const MenuRequest&) -> QWidget* {
        auto* editor = new PartesGrua(session, services);
        editor->setNumber(nextTowReportNumberByProbe(session));
        return editor;
    });
    menu.registerScreen(QStringLiteral("GestorPartes"), [&](const MenuRequest&) -> QWidget* {
        return new GestorPartes(session, services);
    });
    services.handoffs().customerOrigins.registerOrigin(
        QStringLiteral("PartesGrua"), [](const CustomerChoice& choice) {
            if (auto* editor = qobject_cast<PartesGrua*>(choice.caller.data()))
                editor->setCustomer(choice.customerId);
        });
    services.handoffs().vehicleChoices.registerCaller(
        QStringLiteral("PartesGrua"), [](const VehicleChoice& choice) {
            if (auto* editor = qobject_cast<PartesGrua*>(choice.caller.data()))
                editor->setVehicle(choice);
        });

    menu.registerCommand(QStringLiteral("VerListado"), [&](const MenuRequest& r) {
        Informes::VerListado(session, services, r.origin);
    });
    menu.registerCommand(QStringLiteral("ImprimirInformeSimple"), [&](const MenuRequest& r) {
        Informes::ImprimirInformeSimple(session, services, r.origin, r.detail, true);
    });
    // The roadworthiness tests of a month: listing, or labels to post the reminders.
    menu.registerCommand(QStringLiteral("ListadoITV"), [&](const MenuRequest& r) {
        reports::printItvDue(session, services, r.origin == QLatin1String("Etiquetas"));
    });

    menu.registerScreen(QStringLiteral("Fechas"), [&](const MenuRequest& r) -> QWidget* {
        auto* fechas = new Fechas(session, services);
        fechas->setKey(r.origin);
        return fechas;
    });
    menu.registerScreen(QStringLiteral("Etiquetas"), [&](const MenuRequest&) -> QWidget* {
        return new Etiquetas(session, services);
    });
    registerListingOrigins(session, services);

    // The searches serve many items; those whose origin leads to a screen that
    // does not exist yet (no handler registered) must not look usable.
    const Handoffs& handoffs = services.handoffs();
    const std::function<bool(const QString&)> handled[] = {
        [&](const QString& o) { return handoffs.customerOrigins.hasOrigin(o); },
        // The supplier search handles its other origins itself.
        [&](const QString& o) {
            return o != QLatin1String("Compras") || handoffs.supplierOrigins.hasOrigin(o);
        },
        [&](const QString& o) {
            return o != QLatin1String("informes") || handoffs.insurerOrigins.hasOrigin(o);
        },
    };
    const QString searches[] = {QStringLiteral("BusquedaClientes"),
                                QStringLiteral("BusquedaProveedores"),
                                QStringLiteral("BusquedaAseguradoras")};
    for (const MenuItemDef& def : menuItems()) {
        for (int i = 0; i < 3; ++i) {
            if (def.target != searches[i]) continue;
            if (QAction* a = menu.item(def.objectName)) a->setEnabled(handled[i](def.origin));
        }
    }
}

}  // namespace torvane
