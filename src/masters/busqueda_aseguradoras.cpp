#include "masters/busqueda_aseguradoras.h"

#include "masters/aseguradoras.h"
#include "masters/insurers.h"

namespace torvane {

BusquedaAseguradoras::BusquedaAseguradoras(Session& session, Services& services, QWidget* caller,
                                           const QString& origen, QWidget* parent)
    : SearchScreen(session, services, caller, origen, parent) {
    setObjectName(QStringLiteral("BusquedaAseguradoras"));
    setWindowTitle(QStringLiteral("Búsqueda de aseguradoras"));
    setOptions({"Código", "Nombre"}, insurers::insurerSearch);
    setColumns(insurers::insurerSearchColumns());
    setIdField(QStringLiteral("Id_Ase"));
    addAcceptClose();
    runQuery(insurers::insurerSearchInitial());
}

void BusquedaAseguradoras::accept() {
    const qint64 id = selectedId().toLongLong();
    hide();
    if (origen_ == QLatin1String("informes"))
        services_.handoffs().insurerOrigins.dispatch({caller_.data(), origen_, id, detail_});
    else if (auto* file = qobject_cast<FrmAseguradoras*>(caller_.data()))
        file->moveToKey(id);
    close();
}

}  // namespace torvane
