#include "masters/article_handoffs.h"

#include "masters/articulos.h"

namespace torvane {

void registerArticleFileTarget(Services& services, OpenArticleFile openFile) {
    ArticleTarget target;
    target.isOpen = [openFile] { return *openFile && (*openFile)->isVisible(); };
    target.choose = [openFile](const ArticleChoice& choice) {
        if (*openFile) (*openFile)->moveToKey(choice.articleId);
    };
    services.handoffs().articleTargets.setTarget(ArticleScreen::ArticleFile, std::move(target));
}

}  // namespace torvane
