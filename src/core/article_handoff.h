#pragma once

#include <QString>
#include <array>
#include <functional>

#include "core/money.h"

namespace torvane {

// The screens that take an article from the article search or the quick
// creation, in the order the search tries them: the first one open gets it.
enum class ArticleScreen { WorkOrderEditor, CounterSale, Purchase, ArticleFile };
inline constexpr int kArticleScreens = 4;

// An article chosen in the search.
struct ArticleChoice {
    qint64 articleId = 0;
    QString code;
};

// What the quick creation hands back when it closes. Nothing stored: saved is
// false and the code is empty.
struct NewArticle {
    bool saved = false;
    QString code;
    QString description;
    Money price;
    Quantity discount;
};

// One screen's side of the hand-offs, registered by the app when that screen exists.
struct ArticleTarget {
    std::function<bool()> isOpen;
    std::function<void(const ArticleChoice&)> choose;
    // Only the screens that open the quick creation take a new article.
    std::function<void(const NewArticle&)> created;
};

class ArticleTargetRegistry {
  public:
    void setTarget(ArticleScreen screen, ArticleTarget target);
    bool isRegistered(ArticleScreen screen) const;
    // Gives the choice to the first open screen; false when none is open.
    bool choose(const ArticleChoice& choice) const;
    // Hands a closed quick creation back to every open screen that takes new
    // articles: purchase, counter sale, work-order editor. Returns how many took it.
    int created(const NewArticle& article) const;

  private:
    bool open(ArticleScreen screen) const;
    std::array<ArticleTarget, kArticleScreens> targets_;
};

}  // namespace torvane
