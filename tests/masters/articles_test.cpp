#include "masters/articles.h"

#include <gtest/gtest.h>
#include <tuple>

#include "articles_fixture.h"
#include "core/numbering.h"
#include "customers_fixture.h"
#include "masters/named_lists.h"
#include "support/temp_home.h"

using namespace torvane;
using namespace torvane::testing;

namespace {

// A fresh database dated 5 March 2008 (article codes A08/03/...).
class ArticlesDb : public ::testing::Test {
  protected:
    ArticlesDb() { home.session().setToday(QDate(2008, 3, 5)); }
    TempHome home;
    Database& db = home.db();
};

Row articleValues(const QString& code, const QString& name, const QString& stock,
                  const QString& price) {
    return {{"Codigo", code}, {"Nombre", name}, {"StockInicial", stock}, {"PrecioVenta", price}};
}

TEST_F(ArticlesDb, FirstFreeCodeOfTheMonthsPrefixWithGrowingCounter) {
    // Another month's codes do not count.
    addArticle(db, "A08/02/0001", "VIEJO");
    // The code stored before asking (empty: nothing), then the code proposed.
    const std::tuple<const char*, const char*> steps[] = {
        {"", "A08/03/0001"},
        {"A08/03/0001", "A08/03/0003"},
        {"A08/03/0003", "A08/03/0006"},
    };
    for (const auto& [stored, expected] : steps) {
        if (*stored) addArticle(db, stored, "X");
        EXPECT_EQ(nextArticleCode(home.session()), QString(expected)) << stored;
    }
    // A gap left by a deleted article is taken again.
    db.exec("DELETE FROM Articulos WHERE Codigo = 'A08/03/0003'");
    EXPECT_EQ(nextArticleCode(home.session()), "A08/03/0003");
}

TEST_F(ArticlesDb, DuplicateCodeOnlyForAnotherArticle) {
    const qint64 a = addArticle(db, "FIL-1", "FILTRO");
    const qint64 b = addArticle(db, "PAS-2", "PASTILLA");
    const std::tuple<const char*, QVariant, bool> cases[] = {
        {"FIL-1", a, false},  // its own code
        {"FIL-1", b, true},   // another's
        {"fil-1", b, true},   // codes compare without regard to case
        {"NUEVO", QVariant(), false},
        {"FIL-%", QVariant(), false},  // no wildcard in an equality test
    };
    for (const auto& [code, except, taken] : cases)
        EXPECT_EQ(articles::codeTakenByAnother(db, code, except), taken) << code;
}

TEST(ArticleCheck, MandatoryFieldsAndUnreadableNumbers) {
    const QString file = articles::mandatoryMessage(articles::MandatoryText::ArticleFile);
    const QString quick = articles::mandatoryMessage(articles::MandatoryText::QuickCreation);
    const QString numbers =
        "Los campos Stock actual, Stock minimo y Descuento solo admiten números";
    const std::tuple<Row, QString> cases[] = {
        {articleValues("A1", "FILTRO", "3", "12,50"), ""},
        {articleValues("A1", " ", "3", "12,50"), file},
        {articleValues("A1", "FILTRO", "3", "12,5,0"), "El precio de venta no es válido"},
        {articleValues("A1", "FILTRO", "3x", "1"), numbers},
    };
    for (const auto& [values, message] : cases)
        EXPECT_EQ(articles::checkArticle(values), message)
            << values.value("Codigo").toString().toStdString();
    EXPECT_EQ(articles::checkArticle(articleValues("A1", "", "1", "1"),
                                     articles::MandatoryText::QuickCreation),
              quick);
}

TEST_F(ArticlesDb, SavedPricesAndStockAreExact) {
    const qint64 supplier = addSupplier(db, "RECAMBIOS SUR");
    Row v = articleValues("A08/03/0001", "PASTILLAS FRENO", "4", "1.234,56");
    v["StockMinimo"] = "5";
    v["Descuento"] = "";
    v["Id_Proveedor"] = QString::number(supplier);
    const qint64 id = articles::saveArticle(db, {}, v);
    auto a = articles::articleById(db, id);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->price, Money::fromCents(123456));
    EXPECT_EQ(a->stock, Quantity::whole(4));
    EXPECT_EQ(a->minimum, Quantity::whole(5));
    EXPECT_EQ(a->discount, Quantity());  // an empty discount is 0
    EXPECT_EQ(a->supplierId.toLongLong(), supplier);

    v["PrecioVenta"] = "0,1";
    v["Descuento"] = "15";
    v["Id_Proveedor"] = "";
    EXPECT_EQ(articles::saveArticle(db, id, v), id);
    a = articles::articleByCode(db, "A08/03/0001");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->price, Money::fromCents(10));
    EXPECT_FALSE(a->supplierId.isValid());
}

TEST_F(ArticlesDb, DeletingAnArticleKeepsItsMovements) {
    const qint64 id = addArticle(db, "A1", "FILTRO");
    db.exec("INSERT INTO Entradas (Id_Art, Id_Pro, Cantidad) VALUES (?, 1, 3)", {id});
    db.exec("INSERT INTO MaterialesODT (NODT, NArticulo, Unidades) VALUES ('ODT/0001','A1',1)");
    articles::deleteArticle(db, id);
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM Articulos").toInt(), 0);
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM Entradas").toInt(), 1);
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM MaterialesODT").toInt(), 1);
}

TEST(LowStock, BelowTheMinimumOnly) {
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"4", "5", true}, {"5", "5", false}, {"", "5", true},
        {"3", "", false}, {"9", "10", true},  // numerically, not as text
    };
    for (const auto& [stock, minimum, low] : cases)
        EXPECT_EQ(articles::isLowStock(stock, minimum), low) << stock << "/" << minimum;
}

TEST(CostPrice, PriceLessDiscountToCents) {
    const std::tuple<Money, Quantity, const char*> cases[] = {
        {Money::fromCents(11065), Quantity::whole(10), "99,59 €"},  // 99,585 half away
        {Money::fromCents(123456), Quantity(), "1.234,56 €"},
        {Money::whole(20), Quantity::fromUnits(125000), "17,50 €"},  // 12,5 %
    };
    for (const auto& [price, discount, text] : cases)
        EXPECT_EQ(articles::costPriceText(price, discount), text);
}

TEST_F(ArticlesDb, SearchByCodeOrDescriptionPrefixInCodeOrder) {
    addArticle(db, "B-20", "FILTRO ACEITE");
    addArticle(db, "A-10", "PASTILLA FRENO");
    addArticle(db, "B-10", "FILTRO AIRE");
    addArticle(db, "C-1", "ESCOBILLA", 1, 1, 1, {}, {}, 7);
    auto found = [&](const SqlStatement& s) {
        QStringList out;
        for (const Row& r : db.rows(s.sql, s.params)) out << r.value("Codigo").toString();
        return out.join(' ');
    };
    const std::tuple<int, const char*, const char*> cases[] = {
        {0, "", "A-10 B-10 B-20 C-1"},
        {0, "b-1", "B-10"},
        {1, "FILTRO", "B-10 B-20"},
        {1, "ACEITE", ""},  // a prefix, not a word inside
    };
    for (const auto& [option, typed, codes] : cases)
        EXPECT_EQ(found(articles::search(option, typed)), QString(codes)) << option << " " << typed;
    EXPECT_EQ(found(articles::searchInitial()), "A-10 B-10 B-20 C-1");
    EXPECT_EQ(found(articles::searchInitial(7)), "C-1");
}

// Warehouses run the same statements on their own declared table and column.
TEST_F(ArticlesDb, FamilyRenameRewritesEveryArticleInOneStep) {
    const auto& list = named_lists::families();
    const qint64 id = named_lists::saveName(db, list, {}, "FRENOS");
    named_lists::saveName(db, list, {}, "MOTOR");
    addArticle(db, "A1", "X", 1, 1, 1, "FRENOS");
    addArticle(db, "A2", "X", 1, 1, 1, "FRENOS");
    addArticle(db, "A3", "X", 1, 1, 1, "MOTOR");
    auto carrying = [&](const QString& name) {
        const SqlStatement s = named_lists::articlesWith(list, name);
        return int(db.rows(s.sql, s.params).size());
    };
    EXPECT_EQ(carrying("FRENOS"), 2);

    EXPECT_EQ(named_lists::saveName(db, list, id, "FRENADO"), id);
    EXPECT_EQ(carrying("FRENOS"), 0);
    EXPECT_EQ(carrying("FRENADO"), 2);
    EXPECT_EQ(carrying("MOTOR"), 1);

    // A rename whose name row cannot be written leaves the articles' name too.
    db.exec("CREATE TRIGGER stop BEFORE UPDATE ON Familias BEGIN SELECT RAISE(ABORT, 'no'); END");
    EXPECT_THROW(named_lists::saveName(db, list, id, "OTRO"), DbError);
    EXPECT_EQ(carrying("FRENADO"), 2);
    db.exec("DROP TRIGGER stop");

    // Deleting the name leaves it in the articles.
    named_lists::deleteName(db, list, id);
    EXPECT_EQ(carrying("FRENADO"), 2);
    const SqlStatement names = named_lists::namesOf(list);
    EXPECT_EQ(db.rows(names.sql).size(), 1u);
}

}  // namespace
