#include "core/article_handoff.h"

namespace torvane {

void ArticleTargetRegistry::setTarget(ArticleScreen screen, ArticleTarget target) {
    targets_[static_cast<size_t>(screen)] = std::move(target);
}

bool ArticleTargetRegistry::isRegistered(ArticleScreen screen) const {
    return bool(targets_[static_cast<size_t>(screen)].isOpen);
}

bool ArticleTargetRegistry::open(ArticleScreen screen) const {
    const ArticleTarget& t = targets_[static_cast<size_t>(screen)];
    return t.isOpen && t.isOpen();
}

bool ArticleTargetRegistry::choose(const ArticleChoice& choice) const {
    for (const ArticleTarget& t : targets_) {
        if (!t.isOpen || !t.isOpen()) continue;
        if (t.choose) t.choose(choice);
        return true;
    }
    return false;
}

int ArticleTargetRegistry::created(const NewArticle& article) const {
    int taken = 0;
    for (ArticleScreen s :
         {ArticleScreen::Purchase, ArticleScreen::CounterSale, ArticleScreen::WorkOrderEditor}) {
        const ArticleTarget& t = targets_[static_cast<size_t>(s)];
        if (!open(s) || !t.created) continue;
        t.created(article);
        ++taken;
    }
    return taken;
}

}  // namespace torvane
