#include "workorders/unifactura_odt.h"

#include "reports/informes.h"
#include "workorders/work_order_invoicing.h"
#include "workorders/work_order_list.h"

namespace torvane {

UnifacturaODT::UnifacturaODT(Session& session, Services& services, qint64 customerId,
                             const QString& invoiceNumber, const QDate& invoiceDate,
                             QWidget* parent)
    : ChosenWorkOrders(session, services, QStringLiteral("UnifacturaODT"),
                       QStringLiteral("Uni Factura"), invoiceNumber, invoiceDate, parent) {
    list(odtlist::columns(), odtlist::unbilledOfCustomer(customerId));
}

void UnifacturaODT::invoice(const QStringList& workOrders) {
    namespace inv = invoicing;
    if (inv::numberInUse(session_.db(), invoiceNumber_)) {
        dialogs_.critical(inv::numberInUseMessage(invoiceNumber_));
        return;
    }
    const bool paid = dialogs_.question(QString::fromUtf8(inv::kMarkPaid));
    const inv::Result r =
        inv::invoiceTogether(session_, {workOrders, invoiceNumber_, invoiceDate_, paid});
    if (!r) {
        dialogs_.message(r.refusal, r.icon);
        return;
    }
    Informes::ImprimirFacturaODT(session_, services_, r.formula,
                                 QString::fromLatin1(inv::kJointInvoiceReport), true);
    close();
}

}  // namespace torvane
