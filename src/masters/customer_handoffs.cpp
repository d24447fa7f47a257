#include "masters/customer_handoffs.h"

#include "controls/screen.h"
#include "masters/busqueda_vehiculos.h"
#include "masters/clientes.h"
#include "masters/customers.h"
#include "reports/informes.h"

namespace torvane {

void registerCustomerFileOrigins(Session& session, Services& services, OpenCustomerFile openFile) {
    CustomerOriginRegistry& origins = services.handoffs().customerOrigins;

    origins.setDefault([&session, &services, openFile](const CustomerChoice& choice) {
        Clientes* screen = qobject_cast<Clientes*>(choice.caller.data());
        if (!screen && *openFile && (*openFile)->isVisible()) screen = openFile->data();
        if (screen) {
            screen->moveToCustomer(choice.customerId);
            return;
        }
        auto* opened = new Clientes(session, services);
        *openFile = opened;
        opened->moveToCustomer(choice.customerId);
        openScreen(nullptr, opened);
    });

    origins.registerOrigin(QStringLiteral("CambioPropietario"), [&session, &services](
                                                                    const CustomerChoice& choice) {
        if (!choice.vehicleId.isValid()) return;
        try {
            customers::changeOwner(session.db(), choice.vehicleId.toLongLong(), choice.customerId);
        } catch (const DbError& e) {
            services.dialogs().critical(e.message());
            return;
        }
        if (auto* vehicles = qobject_cast<BusquedaVehiculos*>(choice.caller.data()))
            vehicles->requery();
        else if (auto* file = qobject_cast<Clientes*>(choice.caller.data()))
            file->moveToCustomer(choice.customerId);
    });

    origins.registerOrigin(
        QStringLiteral("ListVeh"), [&session, &services](const CustomerChoice& choice) {
            Informes::ImprimirInformeSimple(
                session, services,
                QStringLiteral("{Clientes.Id_Cli}=") + QString::number(choice.customerId),
                QStringLiteral("\\QARVOVEHICULOSCLI.rpt"), true);
        });
}

}  // namespace torvane
