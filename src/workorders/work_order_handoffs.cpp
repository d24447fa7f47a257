#include "workorders/work_order_handoffs.h"

#include <QPointer>
#include <memory>

#include "controls/screen.h"
#include "workorders/odts.h"

namespace torvane {

void registerWorkOrderEditor(Session& session, Services& services) {
    // The editor opened last takes the articles chosen while it is open.
    auto current = std::make_shared<QPointer<ODTS>>();
    auto show = [current](ODTS* editor, const QPointer<QObject>& caller) {
        *current = editor;
        openScreen(qobject_cast<QWidget*>(caller.data()), editor);
    };
    WorkOrderOpenerRegistry& registry = services.handoffs().workOrders;
    registry.setOpener([&session, &services, show](const NewWorkOrderRequest& r) {
        auto* editor = new ODTS(session, services);
        if (!editor->startNew(r.vehicleId, r.numbering)) {
            delete editor;
            return;
        }
        show(editor, r.caller);
    });
    registry.setEditor([&session, &services, show](const EditWorkOrderRequest& r) {
        auto* editor = new ODTS(session, services);
        if (!editor->startExisting(r.workOrderId)) {
            delete editor;
            return;
        }
        show(editor, r.caller);
    });

    ArticleTarget target;
    target.isOpen = [current] { return *current && (*current)->isVisible(); };
    target.choose = [current](const ArticleChoice& choice) {
        if (*current) (*current)->takeArticleCode(choice.code);
    };
    target.created = [current](const NewArticle& article) {
        if (*current) (*current)->takeNewArticle(article);
    };
    services.handoffs().articleTargets.setTarget(ArticleScreen::WorkOrderEditor, std::move(target));
}

}  // namespace torvane
