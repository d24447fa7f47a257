#include "billing/entregas.h"

#include <QEvent>
#include <QGridLayout>
#include <QVBoxLayout>

#include "controls/command_bar.h"
#include "controls/form_fields.h"
#include "controls/keyboard_classes.h"
#include "core/format.h"

namespace torvane {

using collections::InvoiceKind;

namespace {
const QString kHacer = QStringLiteral("CmdHacer");
}

Entregas::Entregas(Session& session, Services& services, InvoiceKind kind,
                   const QString& invoiceNumber, QWidget* parent)
    : QWidget(parent), session_(session), services_(services), kind_(kind), number_(invoiceNumber) {
    setObjectName(QStringLiteral("Entregas"));
    setWindowTitle(QStringLiteral("Entregas para la factura ") + invoiceNumber);
    auto* layout = new QVBoxLayout(this);

    auto* head = addFormGrid(layout);
    QLineEdit* nFactura =
        addField(this, head, 0, 0, QStringLiteral("Factura:"), QStringLiteral("TxtNFactura"));
    nFactura->setText(invoiceNumber);
    nFactura->setReadOnly(true);

    cobros_ = addGrid(this, layout, QStringLiteral("Entregas realizadas"),
                      QStringLiteral("MSHCobros"), collections::paymentColumns());

    auto* foot = addFormGrid(layout);
    pagado_ = addField(this, foot, 0, 0, QStringLiteral("Entrega:"), QStringLiteral("TxtPagado"));
    total_ =
        addField(this, foot, 1, 0, QStringLiteral("Total factura:"), QStringLiteral("TxtTotal"));
    pendiente_ =
        addField(this, foot, 1, 2, QStringLiteral("Pendiente:"), QStringLiteral("TxtPendiente"));
    for (QLineEdit* e : {nFactura, pagado_, total_, pendiente_}) {
        e->setReadOnly(true);
        e->setAlignment(e == nFactura ? Qt::AlignLeft : Qt::AlignRight);
    }
    paidOfWorkOrder_ = addHiddenField(this, QStringLiteral("TxtFacturasODT"));
    paidOfPartsSale_ = addHiddenField(this, QStringLiteral("TxtFacturas"));

    fecha_ = new OpcEntrada(this);
    fecha_->setObjectName(QStringLiteral("OpcFecha"));
    fecha_->setTypeInput(OpcEntrada::Date);
    fecha_->setDialogs(&services.dialogs());
    fecha_->setTodaySource([&session] { return session.today(); });
    fecha_->maskEdit()->installEventFilter(this);
    addCaptioned(this, foot, 2, 0, QStringLiteral("Fecha:"), fecha_);
    cantidad_ =
        addField(this, foot, 2, 2, QStringLiteral("Cantidad:"), QStringLiteral("TxtCantidad"));
    cantidad_->setAlignment(Qt::AlignRight);
    applyKeyClass(cantidad_, KeyClass::K8);

    using When = RecordMode::When;
    layout->addWidget(new CommandBar(
        this,
        {{kHacer, QStringLiteral("Hacer entrega"), [this] { hacer(); }, When::Always},
         {QStringLiteral("CmdEliminar"), QStringLiteral("Eliminar entrega"), [this] { eliminar(); },
          When::Always},
         {QStringLiteral("CmdSalir"), QStringLiteral("Salir"), [this] { close(); }, When::Always}},
        &mode_));

    connect(cobros_, &DataGrid::currentRowChanged, this, [this](int row) {
        pagado_->setText(
            row < 0 ? QString()
                    : formatMoney(Money::fromDb(cobros_->value(row, QStringLiteral("Cantidad")))));
    });
    refresh();
    resize(560, 440);
}

void Entregas::refresh() {
    try {
        const collections::InvoiceState state =
            collections::invoiceState(session_.db(), kind_, number_);
        total_->setText(formatMoney(state.amount));
        pendiente_->setText(formatMoney(state.pending()));
        (kind_ == InvoiceKind::WorkOrder ? paidOfWorkOrder_ : paidOfPartsSale_)
            ->setText(formatMoney(state.paid));
        // Nothing more to collect: no entry.
        const bool open = !state.settled();
        fecha_->setEnabled(open);
        cantidad_->setEnabled(open);
        mode_.setForcedOff(kHacer, !open);
    } catch (const DbError& e) {
        services_.dialogs().critical(e.message());
    }
    cobros_->run(session_.db(), collections::paymentsOf(number_), services_.dialogs());
}

bool Entregas::eventFilter(QObject* watched, QEvent* event) {
    // Today is proposed when the date is entered empty.
    if (watched == fecha_->maskEdit() && event->type() == QEvent::FocusIn &&
        fecha_->text().isEmpty())
        fecha_->setText(formatDate(session_.today()));
    return QWidget::eventFilter(watched, event);
}

void Entregas::hacer() {
    const auto payment = collections::readPayment(fecha_->text(), cantidad_->text());
    if (!payment) {
        services_.dialogs().critical(QString::fromUtf8(collections::kPaymentIncomplete));
        return;
    }
    try {
        const auto state = collections::invoiceState(session_.db(), kind_, number_);
        if (payment->amount > state.pending() &&
            !services_.dialogs().question(QString::fromUtf8(collections::kPaymentAbovePending)))
            return;
        collections::recordPayment(session_.db(), kind_, number_, *payment);
    } catch (const DbError& e) {
        services_.dialogs().critical(e.message());
        return;
    }
    cantidad_->clear();
    refresh();
}

void Entregas::eliminar() {
    const QVariant id = cobros_->currentValue(QStringLiteral("Id"));
    if (!id.isValid() || id.isNull()) return;
    try {
        collections::removePayment(session_.db(), kind_, id.toLongLong());
    } catch (const DbError& e) {
        services_.dialogs().critical(e.message());
        return;
    }
    refresh();
}

}  // namespace torvane
