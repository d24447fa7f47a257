#include "workorders/multifactura_odt.h"

#include "reports/informes.h"
#include "verifactu/records.h"
#include "workorders/work_order_invoicing.h"
#include "workorders/work_order_list.h"

namespace torvane {

MultiFacturaODT::MultiFacturaODT(Session& session, Services& services, const QString& invoiceNumber,
                                 const QDate& invoiceDate, QWidget* parent)
    : ChosenWorkOrders(session, services, QStringLiteral("MultiFacturaODT"),
                       QStringLiteral("Multi Factura"), invoiceNumber, invoiceDate, parent) {
    list(odtlist::multiInvoiceColumns(),
         odtlist::multiInvoiceCandidates(verifactu::vatRate(session.db())));
}

void MultiFacturaODT::invoice(const QStringList& workOrders) {
    namespace inv = invoicing;
    const bool paid = dialogs_.question(QString::fromUtf8(inv::kMarkPaid));
    const inv::Result r =
        inv::invoiceEach(session_, {workOrders, invoiceNumber_, invoiceDate_, paid});
    if (!r) {
        dialogs_.message(r.refusal, r.icon);
        return;
    }
    for (const QString& n : workOrders)
        Informes::ImprimirFacturaODT(session_, services_, n,
                                     QString::fromLatin1(inv::kInvoiceReport), true);
    close();
}

}  // namespace torvane
