#include "tow/gestor_partes.h"

#include <QPointer>
#include <QVBoxLayout>

#include "controls/command_bar.h"
#include "controls/screen.h"
#include "reports/informes.h"
#include "tow/partes_grua.h"
#include "tow/tow_reports.h"

namespace torvane {

GestorPartes::GestorPartes(Session& session, Services& services, QWidget* parent)
    : QWidget(parent), session_(session), services_(services) {
    setObjectName(QStringLiteral("GestorPartes"));
    setWindowTitle(QStringLiteral("Gestor de Partes"));
    auto* layout = new QVBoxLayout(this);
    partes_ = new DataGrid(QStringLiteral("MSHPartes"), this);
    partes_->setColumns(tow::reportListColumns());
    layout->addWidget(partes_, 2);
    lineas_ = new DataGrid(QStringLiteral("MSHLineas"), this);
    lineas_->setColumns(tow::lineColumns());
    layout->addWidget(lineas_, 1);

    using When = RecordMode::When;
    auto row = [this](const char* name, const char* caption, void (GestorPartes::*f)()) {
        return CommandRow{QString::fromLatin1(name), QString::fromUtf8(caption),
                          [this, f] { (this->*f)(); }, When::BrowseWithRecord};
    };
    layout->addWidget(new CommandBar(
        this,
        {row("CmdEditar", "Editar", &GestorPartes::editar),
         row("CmdFacturar", "Facturar", &GestorPartes::facturar),
         row("CmdImprimirP", "Imprimir parte", &GestorPartes::imprimirParte),
         row("CmdImprimirF", "Imprimir factura", &GestorPartes::imprimirFactura),
         row("CmdEliminarF", "Eliminar factura", &GestorPartes::eliminarFactura),
         row("CmdEliminarP", "Eliminar parte", &GestorPartes::eliminarParte),
         {QStringLiteral("CmdSalir"), QStringLiteral("Salir"), [this] { close(); }, When::Always}},
        &mode_));
    connect(partes_, &DataGrid::currentRowChanged, this, [this] { followRow(); });
    requery();
    resize(900, 600);
}

void GestorPartes::requery() {
    const QVariant current = partes_->currentValue(QStringLiteral("Id"));
    partes_->run(session_.db(), tow::reportList(), services_.dialogs());
    if (current.isValid()) partes_->selectWhere(QStringLiteral("Id"), current);
    followRow();
}

QString GestorPartes::selected() const {
    return partes_->currentValue(QStringLiteral("NºParte")).toString();
}

QString GestorPartes::selectedInvoice() const {
    return partes_->currentValue(QStringLiteral("NºFactura")).toString();
}

void GestorPartes::followRow() {
    mode_.setHasRecords(partes_->currentRowIndex() >= 0);
    lineas_->runOrClear(
        session_.db(), services_.dialogs(),
        selected().isEmpty() ? std::nullopt : std::optional(tow::linesStatement(selected())));
}

void GestorPartes::editar() {
    const QString number = selected();
    if (number.isEmpty()) return;
    auto* editor = new PartesGrua(session_, services_, false);
    if (!editor->editReport(number)) {
        editor->deleteLater();
        return;
    }
    QPointer<GestorPartes> self(this);
    connect(editor, &QObject::destroyed, this, [self] {
        if (self) self->requery();
    });
    openScreen(this, editor);
}

void GestorPartes::eliminarFactura() {
    const QString number = selected();
    if (number.isEmpty()) return;
    if (selectedInvoice() == QLatin1String(tow::kNotInvoiced)) {
        services_.dialogs().critical(QString::fromUtf8(tow::kNoInvoiceToDelete));
        return;
    }
    try {
        tow::removeInvoice(session_.db(), number);
    } catch (const DbError& e) {
        services_.dialogs().critical(e.message());
    }
    requery();
}

void GestorPartes::eliminarParte() {
    const QString number = selected();
    if (number.isEmpty()) return;
    if (selectedInvoice() != QLatin1String(tow::kNotInvoiced)) {
        services_.dialogs().critical(QString::fromUtf8(tow::kInvoicedNotDeleted));
        return;
    }
    if (!services_.dialogs().question(tow::deleteQuestion(number))) return;
    try {
        tow::deleteReport(session_.db(), number);
    } catch (const DbError& e) {
        services_.dialogs().critical(e.message());
    }
    requery();
}

void GestorPartes::facturar() {
    const QString number = selected();
    if (number.isEmpty()) return;
    try {
        const QString refused = tow::checkInvoice(session_.db(), number);
        if (!refused.isEmpty()) {
            services_.dialogs().critical(refused);
            return;
        }
        tow::invoice(session_, number);
    } catch (const DbError& e) {
        services_.dialogs().critical(e.message());
        requery();
        return;
    }
    requery();
    Informes::ImprimirInforme(session_, services_, tow::reportFormula(number),
                              QString::fromLatin1(tow::kInvoiceFile), true);
}

void GestorPartes::imprimirFactura() {
    const QString number = selected();
    if (number.isEmpty()) return;
    if (selectedInvoice() == QLatin1String(tow::kNotInvoiced)) {
        services_.dialogs().critical(QString::fromUtf8(tow::kNoInvoiceToPrint));
        return;
    }
    Informes::ImprimirInforme(session_, services_, tow::reportFormula(number),
                              QString::fromLatin1(tow::kInvoiceFile), true);
}

void GestorPartes::imprimirParte() {
    const QString number = selected();
    if (number.isEmpty()) return;
    Informes::ImprimirInforme(session_, services_, tow::reportFormula(number),
                              QString::fromLatin1(tow::kReportFile), true);
}

}  // namespace torvane
