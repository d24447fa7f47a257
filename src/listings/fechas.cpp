#include "listings/fechas.h"

#include <QGridLayout>
#include <QVBoxLayout>

#include "controls/command_bar.h"
#include "controls/form_fields.h"
#include "controls/opc_entrada.h"
#include "controls/screen.h"
#include "core/format.h"
#include "core/services.h"
#include "core/session.h"
#include "listings/listing_keys.h"
#include "masters/busqueda_proveedores.h"
#include "reports/informes.h"

namespace torvane {

Fechas::Fechas(Session& session, Services& services, QWidget* parent)
    : QWidget(parent), session_(session), services_(services) {
    setObjectName(QStringLiteral("Fechas"));
    setWindowTitle(QStringLiteral("Fechas"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = addFormGrid(layout);
    const auto dateEntry = [&](const char* name) {
        auto* e = new OpcEntrada(this);
        e->setObjectName(QString::fromUtf8(name));
        e->setTypeInput(OpcEntrada::Date);
        e->setDialogs(&services.dialogs());
        e->setTodaySource([&session] { return session.today(); });
        return e;
    };
    desde_ = dateEntry("opcDesde");
    hasta_ = dateEntry("OpcHasta");
    addCaptioned(this, grid, 0, 0, QStringLiteral("Desde:"), desde_);
    addCaptioned(this, grid, 1, 0, QStringLiteral("Hasta:"), hasta_);
    layout->addWidget(new CommandBar(
        this, {{QStringLiteral("CmdSeleccionar"), QStringLiteral("Seleccionar"),
                [this] { seleccionar(); }},
               {QStringLiteral("CmdSalir"), QStringLiteral("Salir"), [this] { close(); }}}));
}

void Fechas::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Each time the screen comes up: from the 1st of this month to today.
    const QDate today = session_.today();
    desde_->setText(formatDate(QDate(today.year(), today.month(), 1)));
    hasta_->setText(formatDate(today));
    centreOnScreen(this);
}

void Fechas::seleccionar() {
    const auto listing = listings::datedListing(key_, desde_->text(), hasta_->text(), id_);
    if (listing && listing->routine == listings::Routine::SupplierSearch) {
        // The supplier search prints the purchases of the one chosen; the main
        // window stays held until it closes.
        QWidget* caller = callerOf(this);
        openScreenInstead(this,
                          new BusquedaProveedores(session_, services_, caller, listing->formula));
        return;
    }
    // Held while the preview is up; the screen closes after it.
    hide();
    if (listing)
        Informes::ImprimirInforme(session_, services_, listing->formula, listing->file, true);
    close();
}

}  // namespace torvane
