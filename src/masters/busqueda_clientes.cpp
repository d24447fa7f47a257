#include "masters/busqueda_clientes.h"

#include <QApplication>

#include "controls/screen.h"
#include "core/handoff.h"
#include "masters/busqueda_vehiculos.h"
#include "masters/clientes.h"
#include "masters/customers.h"
#include "reports/informes.h"

namespace torvane {

namespace {

// The default: the customer file moves to the chosen customer.
void repositionCustomerFile(const CustomerChoice& choice) {
    auto* screen = qobject_cast<Clientes*>(choice.caller.data());
    if (!screen) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* c = qobject_cast<Clientes*>(w); c && c->isVisible()) screen = c;
    }
    if (screen) {
        screen->moveToCustomer(choice.customerId);
        return;
    }
    auto* opened = new Clientes(*choice.session, *choice.dialogs);
    opened->moveToCustomer(choice.customerId);
    openScreen(nullptr, opened);
}

void changeOwnerTo(const CustomerChoice& choice) {
    if (!choice.vehicleId.isValid()) return;
    try {
        customers::changeOwner(choice.session->db(), choice.vehicleId.toLongLong(),
                               choice.customerId);
    } catch (const DbError& e) {
        choice.dialogs->critical(e.message());
        return;
    }
    if (auto* vehicles = qobject_cast<BusquedaVehiculos*>(choice.caller.data()))
        vehicles->requery();
    else if (auto* file = qobject_cast<Clientes*>(choice.caller.data()))
        file->moveToCustomer(choice.customerId);
}

void printVehiclesOf(const CustomerChoice& choice) {
    Informes::ImprimirInformeSimple(
        *choice.session, *choice.dialogs,
        QStringLiteral("{Clientes.Id_Cli}=") + QString::number(choice.customerId),
        QStringLiteral("\\QARVOVEHICULOSCLI.rpt"), true);
}

}  // namespace

void registerCustomerSearchOrigins() {
    if (!CustomerOriginRegistry::hasDefault())
        CustomerOriginRegistry::setDefault(repositionCustomerFile);
    if (!CustomerOriginRegistry::hasOrigin(QStringLiteral("CambioPropietario")))
        CustomerOriginRegistry::registerOrigin(QStringLiteral("CambioPropietario"), changeOwnerTo);
    if (!CustomerOriginRegistry::hasOrigin(QStringLiteral("ListVeh")))
        CustomerOriginRegistry::registerOrigin(QStringLiteral("ListVeh"), printVehiclesOf);
}

BusquedaClientes::BusquedaClientes(Session& session, Dialogs& dialogs, QWidget* caller,
                                   const QString& origen, const QVariant& vehicleId,
                                   QWidget* parent)
    : SearchScreen(session, dialogs, parent),
      caller_(caller),
      origen_(origen),
      vehicleId_(vehicleId) {
    setObjectName(QStringLiteral("BusquedaClientes"));
    setWindowTitle(QStringLiteral("Búsqueda de clientes"));
    registerCustomerSearchOrigins();

    QList<SearchOption> options;
    const char* const captions[] = {"Código", "NIF", "Nombre", "Apellido", "Matricula"};
    for (int i = 0; i < customers::kCustomerSearchOptions; ++i)
        options << SearchOption{QString::fromUtf8(captions[i]), [i](const QString& typed) {
                                    return customers::customerSearch(i, typed);
                                }};
    setOptions(options, 0);
    setColumns({
        {QStringLiteral("Id_Cli"), {}, ColumnKind::Hidden},
        {QStringLiteral("Codigo"), QStringLiteral("Código"), ColumnKind::Text, 90},
        {QStringLiteral("NIF"), QStringLiteral("NIF"), ColumnKind::Text, 110},
        {QStringLiteral("Nombre"), QStringLiteral("Nombre")},
    });
    setIdField(QStringLiteral("Id_Cli"));
    addAcceptClose();
    runQuery(customers::customerSearchInitial());
}

void BusquedaClientes::accept() {
    if (selectedId().isEmpty()) {
        dialogs_.critical(QStringLiteral("Ningún registro activo"));
        return;
    }
    CustomerChoice choice;
    choice.session = &session_;
    choice.dialogs = &dialogs_;
    choice.caller = caller_.data();
    choice.origin = origen_;
    choice.customerId = selectedId().toLongLong();
    choice.vehicleId = vehicleId_;
    // The search closes first, so the screen it hands over to is the active one.
    hide();
    CustomerOriginRegistry::dispatch(choice);
    close();
}

}  // namespace torvane
