#include "masters/busqueda_operarios.h"

#include "masters/operarios.h"
#include "masters/operators.h"

namespace torvane {

BusquedaOperarios::BusquedaOperarios(Session& session, Services& services, QWidget* caller,
                                     QWidget* parent)
    : SearchScreen(session, services, caller, {}, parent) {
    setObjectName(QStringLiteral("BusquedaOperarios"));
    setWindowTitle(QStringLiteral("Búsqueda de operarios"));
    setOptions({"Código", "Nombre", "Apellido", "Departamento"}, operators::operatorSearch);
    setColumns(operators::operatorSearchColumns());
    setIdField(QStringLiteral("Id_Ope"));
    addAcceptClose();
    runQuery(operators::operatorSearchInitial());
}

void BusquedaOperarios::accept() {
    if (auto* file = qobject_cast<Operarios*>(caller_.data()))
        file->moveToKey(selectedId().toLongLong());
    close();
}

}  // namespace torvane
