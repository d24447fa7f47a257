#include "masters/busqueda_clientes.h"

#include "masters/customers.h"

namespace torvane {

BusquedaClientes::BusquedaClientes(Session& session, Services& services, QWidget* caller,
                                   const QString& origen, const QVariant& vehicleId,
                                   QWidget* parent)
    : SearchScreen(session, services, caller, origen, parent), vehicleId_(vehicleId) {
    setObjectName(QStringLiteral("BusquedaClientes"));
    setWindowTitle(QStringLiteral("Búsqueda de clientes"));

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
    choice.caller = caller_.data();
    choice.origin = origen_;
    choice.customerId = selectedId().toLongLong();
    choice.vehicleId = vehicleId_;
    choice.detail = detail_;
    // The search closes first, so the screen it hands over to is the active one.
    hide();
    services_.handoffs().customerOrigins.dispatch(choice);
    close();
}

}  // namespace torvane
