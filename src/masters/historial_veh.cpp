#include "masters/historial_veh.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "masters/customers.h"

namespace torvane {

HistorialVeh::HistorialVeh(Session& session, Services& services, qint64 vehicleId, QWidget* parent)
    : QWidget(parent), session_(session), services_(services), dialogs_(services.dialogs()) {
    setObjectName(QStringLiteral("HistorialVeh"));
    setWindowTitle(QStringLiteral("Historial del vehículo"));
    auto* layout = new QVBoxLayout(this);

    layout->addWidget(new QLabel(QStringLiteral("Órdenes de trabajo del vehículo"), this));
    odts_ = new DataGrid(QStringLiteral("MshOdts"), this);
    odts_->setColumns({
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
    });
    layout->addWidget(odts_, 2);

    auto* details = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Trabajos realizados"), this));
    jobs_ = new DataGrid(QStringLiteral("MshTrabajos"), this);
    jobs_->setColumns({{QStringLiteral("Id"), {}, ColumnKind::Hidden},
                       {QStringLiteral("TRealizado"), QStringLiteral("Trabajo realizado")}});
    left->addWidget(jobs_);
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("Materiales empleados"), this));
    materials_ = new DataGrid(QStringLiteral("MshMateriales"), this);
    materials_->setColumns({{QStringLiteral("Id"), {}, ColumnKind::Hidden},
                            {QStringLiteral("Descripcion"), QStringLiteral("Descripción")}});
    right->addWidget(materials_);
    details->addLayout(left);
    details->addLayout(right);
    layout->addLayout(details, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* close = new QPushButton(QStringLiteral("Salir"), this);
    close->setObjectName(QStringLiteral("CmdSalir"));
    close->setAutoDefault(false);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    connect(odts_, &DataGrid::currentRowChanged, this, &HistorialVeh::showDetails);
    try {
        odts_->run(session_.db(), customers::vehicleHistory(vehicleId));
    } catch (const DbError& e) {
        dialogs_.critical(e.message());
    }
    resize(900, 560);
}

void HistorialVeh::showDetails(int row) {
    try {
        if (row < 0) {
            jobs_->clearRows();
            materials_->clearRows();
            return;
        }
        const QString number = odts_->value(row, QStringLiteral("NODT")).toString();
        jobs_->run(session_.db(), customers::historyJobs(number));
        materials_->run(session_.db(), customers::historyMaterials(number));
    } catch (const DbError& e) {
        dialogs_.critical(e.message());
    }
}

}  // namespace torvane
