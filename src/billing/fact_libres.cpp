#include "billing/fact_libres.h"

#include <QGridLayout>
#include <QVBoxLayout>

#include "billing/free_line_entry.h"
#include "controls/command_bar.h"
#include "controls/form_fields.h"
#include "controls/keyboard_classes.h"
#include "core/format.h"
#include "reports/informes.h"
#include "verifactu/settings.h"

namespace torvane {

namespace fi = free_invoices;

FactLibres::FactLibres(Session& session, Services& services, qint64 customerId, QWidget* parent)
    : QWidget(parent), session_(session), services_(services) {
    setObjectName(QStringLiteral("FactLibres"));
    setWindowTitle(QStringLiteral("Facturas libres"));
    auto* layout = new QVBoxLayout(this);

    auto* head = addFormGrid(layout);
    addFields(this, head,
              {{"Cliente:", "Text2", 0, 0, 1, 90},
               {"Nombre:", "Text4", 0, 2},
               {"Factura:", "TxtNFactura", 1, 0, 1, 140}});
    addHiddenField(this, QStringLiteral("Text3"));
    fecha_ = new OpcEntrada(this);
    fecha_->setObjectName(QStringLiteral("OpcFecha"));
    fecha_->setTypeInput(OpcEntrada::Date);
    fecha_->setDialogs(&services.dialogs());
    fecha_->setTodaySource([&session] { return session.today(); });
    fecha_->setText(formatDate(session.today()));
    addCaptioned(this, head, 1, 2, QStringLiteral("Fecha:"), fecha_);
    for (const char* name : {"Text2", "Text4", "TxtNFactura"}) field(name)->setReadOnly(true);

    lines_ = addFreeLineEntry(this, layout, services.dialogs()).lines;
    applyKeyClasses(this, {{KeyClass::K8, "TxtTiva TxtDto"}});
    connect(lines_, &LineTableModel::totalsChanged, this, [this] { recompute(); });

    auto* totals = addFormGrid(layout);
    addFields(this, totals,
              {{"Suma:", "TxtSuma", 0, 0, 1, 120},
               {"% IVA:", "TxtTiva", 1, 0, 1, 60},
               {"IVA:", "TxtIVA", 1, 2, 1, 120},
               {"% Dto.:", "TxtDto", 2, 0, 1, 60},
               {"Descuento:", "TxtDescuento", 2, 2, 1, 120},
               {"Base:", "TxtNominal", 3, 0, 1, 120},
               {"Total:", "TxtTotal", 3, 2, 1, 120}});
    for (const char* name : {"TxtSuma", "TxtIVA", "TxtDescuento", "TxtNominal", "TxtTotal"}) {
        field(name)->setReadOnly(true);
        field(name)->setAlignment(Qt::AlignRight);
    }
    field("TxtTiva")->setText(verifactu::rateText(verifactu::vatRate(session.db())));
    field("TxtDto")->setText(QStringLiteral("0"));
    for (const char* name : {"TxtTiva", "TxtDto"})
        connect(field(name), &QLineEdit::textChanged, this, [this] { recompute(); });

    layout->addWidget(new CommandBar(
        this, {{QStringLiteral("CmdFacturar"), QStringLiteral("Facturar"), [this] { facturar(); }},
               {QStringLiteral("Command6"), QStringLiteral("Salir"), [this] { close(); }}}));

    try {
        field("TxtNFactura")->setText(fi::nextNumber(session));
        if (const auto c = fi::customer(session.db(), customerId)) {
            field("Text3")->setText(QString::number(c->id));
            field("Text2")->setText(c->codigo);
            field("Text4")->setText(c->nombre);
        }
    } catch (const DbError& e) {
        services.dialogs().critical(e.message());
    }
    recompute();
    resize(700, 600);
}

QLineEdit* FactLibres::field(const char* name) const {
    return findChild<QLineEdit*>(QString::fromLatin1(name));
}

void FactLibres::recompute() {
    const auto vat = fi::readRate(field("TxtTiva")->text());
    const auto dto = fi::readRate(field("TxtDto")->text());
    const fi::Totals t = fi::computeTotals(lines_->totals().amount, vat.value_or(Quantity()),
                                           dto.value_or(Quantity()));
    const std::pair<const char*, Money> shown[] = {{"TxtSuma", t.suma},
                                                   {"TxtIVA", t.iva},
                                                   {"TxtDescuento", t.descuento},
                                                   {"TxtNominal", t.nominal},
                                                   {"TxtTotal", t.total}};
    for (const auto& [name, amount] : shown) field(name)->setText(formatMoney(amount));
}

void FactLibres::facturar() {
    if (lines_->totals().lines == 0) {
        services_.dialogs().critical(QString::fromUtf8(fi::kNoLines));
        return;
    }
    const auto vat = fi::readRate(field("TxtTiva")->text());
    const auto dto = fi::readRate(field("TxtDto")->text());
    if (!vat || !dto) {
        services_.dialogs().critical(
            QStringLiteral("El porcentaje de IVA o de descuento no es un número válido"));
        return;
    }
    const auto date = parseDisplayDate(fecha_->text());
    if (!date) {
        services_.dialogs().critical(QStringLiteral("Debe introducir la fecha de la factura"));
        return;
    }
    fi::Header header;
    header.number = field("TxtNFactura")->text();
    header.date = *date;
    header.customerId = field("Text3")->text().toLongLong();
    header.vatRate = *vat;
    header.discountRate = *dto;
    QString number;
    try {
        number = fi::store(session_, header, lines_->lines());
    } catch (const DbError& e) {
        services_.dialogs().critical(e.message());
        return;
    }
    field("TxtNFactura")->setText(number);
    Informes::ImprimirInforme(session_, services_, fi::reportFormula(number),
                              QString::fromLatin1(fi::kReportFile), true);
    close();
}

}  // namespace torvane
