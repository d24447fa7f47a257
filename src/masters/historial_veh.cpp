#include "masters/historial_veh.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "controls/command_bar.h"
#include "masters/customers.h"

namespace torvane {

HistorialVeh::HistorialVeh(Session& session, Services& services, qint64 vehicleId, QWidget* parent)
    : QWidget(parent), session_(session), services_(services), dialogs_(services.dialogs()) {
    setObjectName(QStringLiteral("HistorialVeh"));
    setWindowTitle(QStringLiteral("Historial del vehículo"));
    auto* layout = new QVBoxLayout(this);

    odts_ = addGrid(
        this, layout, QStringLiteral("Órdenes de trabajo del vehículo"), QStringLiteral("MshOdts"),
        {
            {QStringLiteral("Id_ODT"), {}, ColumnKind::Hidden},
            {QStringLiteral("NODT"), QStringLiteral("Nº O.T.")},
            {QStringLiteral("Fecha"), QStringLiteral("Fecha"), ColumnKind::Date},
            {QStringLiteral("Presupuesto"), QStringLiteral("Presup."), ColumnKind::Hidden},
            {QStringLiteral("NAlbaran"), QStringLiteral("Albarán")},
            {QStringLiteral("NFactura"), QStringLiteral("Factura")},
            {QStringLiteral("Kilometros"), QStringLiteral("Km"), ColumnKind::Number},
            {QStringLiteral("Matricula"), QStringLiteral("Matrícula")},
            {QStringLiteral("Codigo"), QStringLiteral("Código")},
            {QStringLiteral("Direccion"), QStringLiteral("Dirección")},
            {QStringLiteral("Telefono"), QStringLiteral("Teléfono")},
            {QStringLiteral("Movil"), QStringLiteral("Móvil")},
        },
        2);

    addDetailPair(this, layout, odts_, QStringLiteral("NODT"),
                  {QStringLiteral("Trabajos realizados"),
                   QStringLiteral("MshTrabajos"),
                   {{QStringLiteral("Id"), {}, ColumnKind::Hidden},
                    {QStringLiteral("TRealizado"), QStringLiteral("Trabajo realizado")}},
                   [](const QVariant& v) { return customers::historyJobs(v.toString()); }},
                  {QStringLiteral("Materiales empleados"),
                   QStringLiteral("MshMateriales"),
                   {{QStringLiteral("Id"), {}, ColumnKind::Hidden},
                    {QStringLiteral("Descripcion"), QStringLiteral("Descripción")}},
                   [](const QVariant& v) { return customers::historyMaterials(v.toString()); }},
                  session_, dialogs_);
    layout->addWidget(new CommandBar(
        this, {{QStringLiteral("CmdSalir"), QStringLiteral("Salir"), [this] { close(); }}}));

    odts_->run(session_.db(), customers::vehicleHistory(vehicleId), dialogs_);
    resize(900, 560);
}

}  // namespace torvane
