#include "purchasing/purchase_handoffs.h"

#include <QPointer>
#include <memory>

#include "controls/screen.h"
#include "purchasing/compras.h"

namespace torvane {

void registerPurchaseHandoffs(Session& session, Services& services) {
    auto open = std::make_shared<QPointer<Compras>>();
    services.handoffs().supplierOrigins.registerOrigin(
        QStringLiteral("Compras"), [&session, &services, open](const SearchChoice& choice) {
            auto* screen = new Compras(session, services, choice.id);
            *open = screen;
            openScreen(qobject_cast<QWidget*>(choice.caller.data()), screen);
        });
    ArticleTarget target;
    target.isOpen = [open] { return *open && (*open)->isVisible(); };
    target.choose = [open](const ArticleChoice& choice) {
        if (*open) (*open)->chooseArticle(choice);
    };
    target.created = [open](const NewArticle& article) {
        if (*open) (*open)->articleCreated(article);
    };
    services.handoffs().articleTargets.setTarget(ArticleScreen::Purchase, std::move(target));
}

}  // namespace torvane
