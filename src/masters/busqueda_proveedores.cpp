#include "masters/busqueda_proveedores.h"

#include "controls/screen.h"
#include "masters/proveedores.h"
#include "masters/suppliers.h"
#include "reports/informes.h"

namespace torvane {

BusquedaProveedores::BusquedaProveedores(Session& session, Services& services, QWidget* caller,
                                         const QString& origen, QWidget* parent)
    : SearchScreen(session, services, caller, origen, parent) {
    setObjectName(QStringLiteral("BusquedaProveedores"));
    setWindowTitle(QStringLiteral("Búsqueda de proveedores"));
    setOptions({"Código", "NIF", "Nombre", "Apellido"}, suppliers::supplierSearch);
    setColumns(suppliers::supplierSearchColumns());
    setIdField(QStringLiteral("Id_Pro"));
    setCommands({{QStringLiteral("CmdNuevo"), QStringLiteral("Nuevo proveedor"),
                  [this] { openScreenInstead(this, new Proveedores(session_, services_)); },
                  RecordMode::When::Browse}});
    addAcceptClose();
    runQuery(suppliers::supplierSearchInitial());
}

void BusquedaProveedores::accept() {
    const qint64 id = selectedId().toLongLong();
    hide();
    if (origen_ == QLatin1String("Proveedores")) {
        if (auto* file = qobject_cast<Proveedores*>(caller_.data())) file->moveToKey(id);
    } else if (origen_ == QLatin1String("Compras")) {
        services_.handoffs().supplierOrigins.dispatch({caller_.data(), origen_, id, {}});
    } else {
        const auto listing = suppliers::supplierListing(origen_, id);
        Informes::ImprimirInforme(session_, services_, listing.formula, listing.file, true);
    }
    close();
}

}  // namespace torvane
