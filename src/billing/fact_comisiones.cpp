#include "billing/fact_comisiones.h"

#include <QVBoxLayout>

#include "billing/commissions.h"
#include "billing/free_invoices.h"
#include "billing/free_line_entry.h"
#include "controls/command_bar.h"
#include "controls/form_fields.h"
#include "controls/keyboard_classes.h"
#include "core/format.h"
#include "reports/informes.h"
#include "verifactu/settings.h"

namespace torvane {

namespace fc = commissions;

FactComisiones::FactComisiones(Session& session, Services& services, qint64 customerId,
                               QWidget* parent)
    : QWidget(parent),
      session_(session),
      services_(services),
      vatRate_(verifactu::vatRate(session.db())) {
    setObjectName(QStringLiteral("FactComisiones"));
    setWindowTitle(QStringLiteral("Facturas de comisiones"));
    auto* layout = new QVBoxLayout(this);

    auto* head = addFormGrid(layout);
    addFields(this, head,
              {{"Cliente:", "TxtCodigo", 0, 0, 1, 90},
               {"Nombre:", "TxtNombre", 0, 2},
               {"Factura:", "TxtNFactura", 1, 0, 1, 140},
               {"Fecha:", "Text1", 1, 2, 1, 110}});
    addHiddenField(this, QStringLiteral("Text3"));
    for (const char* name : {"TxtCodigo", "TxtNombre", "TxtNFactura"})
        field(name)->setReadOnly(true);
    field("Text1")->setText(formatDate(session.today()));

    lines_ = addFreeLineEntry(this, layout, services.dialogs()).lines;
    connect(lines_, &LineTableModel::totalsChanged, this, [this] { recompute(); });

    // The caption carries the rate the invoice is made with.
    const QByteArray vatCaption =
        (QStringLiteral("IVA ") + verifactu::rateText(vatRate_) + QStringLiteral(" %:")).toUtf8();
    auto* totals = addFormGrid(layout);
    addFields(this, totals,
              {{"Suma:", "TxtSuma", 0, 0, 1, 120},
               {vatCaption.constData(), "TxtIVA", 0, 2, 1, 120},
               {"% IRPF:", "TxtIRPF", 1, 0, 1, 60},
               {"Retención:", "TxtIRPF2", 1, 2, 1, 120},
               {"Total:", "TxtTotal", 2, 2, 1, 120}});
    for (const char* name : {"TxtSuma", "TxtIVA", "TxtIRPF2", "TxtTotal"}) {
        field(name)->setReadOnly(true);
        field(name)->setAlignment(Qt::AlignRight);
    }
    applyKeyClasses(this, {{KeyClass::K8, "TxtIRPF"}});
    connect(field("TxtIRPF"), &QLineEdit::textChanged, this, [this] { recompute(); });

    layout->addWidget(new CommandBar(
        this, {{QStringLiteral("CmdGuardar"), QStringLiteral("Guardar"),
                [this] {
                    if (guardar()) close();
                }},
               {QStringLiteral("CmdFacturar"), QStringLiteral("Facturar"), [this] { facturar(); }},
               {QStringLiteral("Command6"), QStringLiteral("Salir"), [this] { close(); }}}));

    try {
        field("TxtNFactura")->setText(fc::nextNumber(session.db(), session.today()));
        if (const auto c = free_invoices::customer(session.db(), customerId)) {
            field("Text3")->setText(QString::number(c->id));
            field("TxtCodigo")->setText(c->codigo);
            field("TxtNombre")->setText(c->nombre);
        }
    } catch (const DbError& e) {
        services.dialogs().critical(e.message());
    }
    recompute();
    resize(700, 600);
}

QLineEdit* FactComisiones::field(const char* name) const {
    return findChild<QLineEdit*>(QString::fromLatin1(name));
}

void FactComisiones::recompute() {
    const auto rate = free_invoices::readRate(field("TxtIRPF")->text());
    const fc::Totals t =
        fc::computeTotals(lines_->totals().amount, vatRate_, rate.value_or(Quantity()));
    const std::pair<const char*, Money> shown[] = {
        {"TxtSuma", t.suma}, {"TxtIVA", t.iva}, {"TxtIRPF2", t.retencion}, {"TxtTotal", t.resto}};
    for (const auto& [name, amount] : shown) field(name)->setText(formatMoney(amount));
}

bool FactComisiones::guardar() {
    if (lines_->totals().lines == 0) {
        services_.dialogs().critical(QString::fromUtf8(free_invoices::kNoLines));
        return false;
    }
    const auto rate = free_invoices::readRate(field("TxtIRPF")->text());
    if (!rate) {
        services_.dialogs().critical(
            QStringLiteral("El porcentaje de retención no es un número válido"));
        return false;
    }
    const auto date = parseDisplayDate(field("Text1")->text());
    if (!date) {
        services_.dialogs().critical(QStringLiteral("Debe introducir la fecha de la factura"));
        return false;
    }
    const fc::Header header{field("TxtNFactura")->text(), *date,
                            field("Text3")->text().toLongLong(), *rate};
    try {
        field("TxtNFactura")->setText(fc::store(session_.db(), header, lines_->lines()));
    } catch (const DbError& e) {
        services_.dialogs().critical(e.message());
        return false;
    }
    return true;
}

void FactComisiones::facturar() {
    if (!guardar()) return;
    Informes::ImprimirInforme(session_, services_, fc::reportFormula(field("TxtNFactura")->text()),
                              QString::fromLatin1(fc::kReportFile), true);
    close();
}

}  // namespace torvane
