#include "core/handoff.h"
#include "core/article_handoff.h"

#include <gtest/gtest.h>

using namespace torvane;

namespace {

// Four screens, each open or not, recording what reaches them.
struct Screens {
    std::array<bool, kArticleScreens> open{};
    QStringList log;

    void registerAll(ArticleTargetRegistry& registry) {
        const char* names[] = {"odt", "venta", "compra", "articulos"};
        for (int i = 0; i < kArticleScreens; ++i) {
            ArticleTarget t;
            t.isOpen = [this, i] { return open[size_t(i)]; };
            t.choose = [this, i, names](const ArticleChoice& c) {
                log << QString("%1:%2").arg(names[i], c.code);
            };
            if (i != int(ArticleScreen::ArticleFile))
                t.created = [this, i, names](const NewArticle& a) {
                    log << QString("%1+%2").arg(names[i], a.code);
                };
            registry.setTarget(ArticleScreen(i), t);
        }
    }
};

// A choice goes to the first open screen in order; a new article to every open screen that
// creates one (the article file does not).
TEST(ArticleTargets, ChoiceGoesToTheFirstOpenScreenAndANewArticleToEveryCreatingOne) {
    ArticleTargetRegistry registry;
    EXPECT_FALSE(registry.isRegistered(ArticleScreen::ArticleFile));
    EXPECT_FALSE(registry.choose({1, "X"}));  // nobody registered
    EXPECT_EQ(registry.created({}), 0);
    Screens screens;
    screens.registerAll(registry);
    struct Case {
        std::array<bool, kArticleScreens> open;
        const char* reached;  // empty: nobody took it
    };
    const Case cases[] = {
        {{true, true, true, true}, "odt:A1"},
        {{false, false, false, true}, "articulos:A1"},
        {{false, false, false, false}, ""},
    };
    for (const Case& c : cases) {
        screens.log.clear();
        screens.open = c.open;
        EXPECT_EQ(registry.choose({7, "A1"}), *c.reached != 0);
        EXPECT_EQ(screens.log.join(' '), QString(c.reached));
    }
    screens.log.clear();
    screens.open = {true, false, true, true};
    EXPECT_EQ(registry.created({true, "A08/03/0001", "FILTRO", Money(), Quantity()}), 2);
    EXPECT_EQ(screens.log.join(' '), "compra+A08/03/0001 odt+A08/03/0001");
}

}  // namespace
