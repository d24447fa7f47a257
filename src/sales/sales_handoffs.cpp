#include "sales/sales_handoffs.h"

#include "controls/screen.h"
#include "sales/venta_recambios.h"

namespace torvane {

VentaRecambios* openCounterSale(Session& session, Services& services, const OpenCounterSale& open,
                                QWidget* caller) {
    auto* sale = new VentaRecambios(session, services);
    *open = sale;
    openScreen(caller, sale);
    return sale;
}

void registerCounterSale(Session& session, Services& services, OpenCounterSale open) {
    services.handoffs().customerOrigins.registerOrigin(
        QStringLiteral("Venta Recambios"),
        [&session, &services, open](const CustomerChoice& choice) {
            // The search closes after handing over: the sale belongs to its caller.
            openCounterSale(session, services, open, qobject_cast<QWidget*>(choice.caller.data()))
                ->startNew(choice.customerId);
        });
    ArticleTarget target;
    target.isOpen = [open] { return *open && (*open)->isVisible(); };
    target.choose = [open](const ArticleChoice& choice) {
        if (*open) (*open)->takeArticle(choice);
    };
    target.created = [open](const NewArticle& article) {
        if (*open) (*open)->takeNewArticle(article);
    };
    services.handoffs().articleTargets.setTarget(ArticleScreen::CounterSale, std::move(target));
}

}  // namespace torvane
