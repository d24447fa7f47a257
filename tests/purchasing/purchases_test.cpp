#include "purchasing/purchases.h"

#include <gtest/gtest.h>
#include <tuple>

#include "core/session.h"
#include "purchases_fixture.h"
#include "support/temp_home.h"

using namespace torvane;
using namespace torvane::testing;
namespace p = torvane::purchases;

namespace {

DocumentLine line(qint64 article, const QString& code, const char* units, const char* price,
                  const char* discount = "0", const QString& workOrder = {}) {
    p::LineEntry e{article, code, "PIEZA " + code, units, price, discount, workOrder};
    const p::CheckedLine c = p::checkLine(e);
    EXPECT_TRUE(c.problem.isEmpty()) << c.problem.toStdString();
    return c.line;
}

class Purchases : public ::testing::Test {
  protected:
    void SetUp() override {
        home.session().setToday(QDate(2008, 3, 5));
        supplier = addSupplier(db(), "0001", "RECAMBIOS NORTE");
    }
    Database& db() { return home.db(); }
    p::Header header(const QString& number = "EN08/03/00001") {
        return {number, "ALB-7", QDate(2008, 3, 5), supplier};
    }
    Row article(qint64 id) {
        return *db().firstRow("SELECT * FROM Articulos WHERE Id_Art = ?", {id});
    }
    int count(const char* sql) { return db().scalar(sql).toInt(); }

    TempHome home;
    qint64 supplier = 0;
};

// Stock moves by the units of every visible line; price, discount and supplier come from the
// last line of the article.
TEST_F(Purchases, SavingMovesStockAndRewritesTheArticle) {
    struct Case {
        const char* name;
        double stock;
        double expectedStock;
        double expectedPrice;
        double expectedDiscount;
        int entries;
        std::vector<std::array<const char*, 4>> lines;  // units, price, discount, deleted?
    };
    const Case cases[] = {
        {"two lines", 2, 9, 11.5, 5, 2, {{"3", "10", "0", ""}, {"4", "11,5", "5", ""}}},
        {"return lowers stock", 2, -1, 10, 0, 1, {{"-3", "10", "0", ""}}},
        {"exact decimals", 0.1, 0.3, 1, 0, 1, {{"0,2", "1", "0", ""}}},
        // A removed line writes nothing.
        {"removed line", 2, 3, 10, 0, 1, {{"5", "99", "50", "x"}, {"1", "10", "0", ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        db().exec("DELETE FROM Entradas");
        db().exec("DELETE FROM Articulos");
        const qint64 a = addArticle(db(), "F1", "FILTRO", c.stock, 8, 3);
        std::vector<DocumentLine> lines;
        for (const auto& l : c.lines) {
            lines.push_back(line(a, "F1", l[0], l[1], l[2]));
            lines.back().deleted = *l[3] != '\0';
        }
        ASSERT_TRUE(p::checkPurchase(db(), header(), lines).isEmpty());
        p::savePurchase(db(), header(), lines);
        const Row art = article(a);
        EXPECT_DOUBLE_EQ(art["StockInicial"].toDouble(), c.expectedStock);
        EXPECT_DOUBLE_EQ(art["PrecioVenta"].toDouble(), c.expectedPrice);
        EXPECT_DOUBLE_EQ(art["Descuento"].toDouble(), c.expectedDiscount);
        EXPECT_EQ(art["Id_Proveedor"].toLongLong(), supplier);
        EXPECT_EQ(count("SELECT count(*) FROM Entradas"), c.entries);
        EXPECT_EQ(count("SELECT count(*) FROM Entradas WHERE NEntrada = 'EN08/03/00001' AND "
                        "NAlbaran = 'ALB-7' AND Fecha = '2008-03-05'"),
                  c.entries);
        // The last entry row keeps its own line's price and discount.
        const Row last = *db().firstRow("SELECT * FROM Entradas ORDER BY Id_Ent DESC");
        EXPECT_DOUBLE_EQ(last["Precio"].toDouble(), c.expectedPrice);
        EXPECT_DOUBLE_EQ(last["Descuento"].toDouble(), c.expectedDiscount);
    }
}

// An article gone before saving stores nothing; saved again, a work-order line adds one
// material row and still raises the stock.
TEST_F(Purchases, WorkOrderLinesAndAnArticleGoneBeforeSaving) {
    const qint64 a = addArticle(db(), "F1", "FILTRO", 2);
    const qint64 b = addArticle(db(), "P2", "PASTILLAS", 2);
    addWorkOrder(db(), "ODT/00007");
    const DocumentLine toOrder = line(a, "F1", "5", "12,40", "10", "ODT/00007");
    db().exec("DELETE FROM Articulos WHERE Id_Art = ?", {b});
    try {
        p::savePurchase(db(), header(), {toOrder, line(b, "P2", "1", "1")});
        FAIL() << "saved with a missing article";
    } catch (const DbError& e) {
        EXPECT_EQ(e.message(), p::articleGoneMessage("P2"));
    }
    EXPECT_DOUBLE_EQ(article(a)["StockInicial"].toDouble(), 2);
    EXPECT_EQ(count("SELECT count(*) FROM Entradas"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM MaterialesODT"), 0);

    p::savePurchase(db(), header(), {toOrder, line(a, "F1", "1", "12,40")});
    EXPECT_DOUBLE_EQ(article(a)["StockInicial"].toDouble(), 8);
    EXPECT_EQ(count("SELECT count(*) FROM MaterialesODT"), 1);
    EXPECT_EQ(count("SELECT count(*) FROM MaterialesODT WHERE NODT = 'ODT/00007' AND NArticulo = "
                    "'F1' AND Descripcion = 'PIEZA F1' AND Unidades = 5 AND Precio = 12.4 AND "
                    "Dto = 10"),
              1);
}

TEST_F(Purchases, LinesAreCheckedAsTyped) {
    // An empty problem: accepted.
    const std::tuple<const char*, const char*, const char*, const char*, const char*> cases[] = {
        {"F1", "1", "10", "100", ""},
        {"F1", "1", "10", "101", p::kDiscountTooHigh},
        {"F1", "", "10", "0", p::kMissingFields},
        {"F1", "1", "1,2,3", "0", p::kBadNumbers},
    };
    for (const auto& [code, units, price, discount, problem] : cases) {
        const p::CheckedLine r = p::checkLine({1, code, "FILTRO", units, price, discount, {}});
        EXPECT_EQ(r.problem, QString::fromUtf8(problem))
            << code << "|" << units << "|" << price << "|" << discount;
    }
}

TEST_F(Purchases, APurchaseNeedsLinesASupplierADateAndAFreeNumber) {
    const qint64 a = addArticle(db(), "F1", "FILTRO", 0);
    addEntry(db(), "EN08/03/00001", "A", "2008-03-01", supplier, a);
    const std::tuple<p::Header, std::vector<DocumentLine>, const char*> cases[] = {
        {header("EN08/03/00002"), {line(a, "F1", "1", "1")}, ""},
        {header("EN08/03/00002"), {}, p::kNoLines},
        {header("EN08/03/00001"), {line(a, "F1", "1", "1")}, p::kEntryInUse},
        {header(""), {line(a, "F1", "1", "1")}, p::kNoEntryNumber},
        {{"EN08/03/00002", "", QDate(), supplier}, {line(a, "F1", "1", "1")}, p::kBadDate},
        {{"EN08/03/00002", "", QDate(2008, 3, 5), {}}, {line(a, "F1", "1", "1")}, p::kNoSupplier},
    };
    for (const auto& [header, lines, problem] : cases)
        EXPECT_EQ(p::checkPurchase(db(), header, lines), QString::fromUtf8(problem))
            << header.number.toStdString();
}

TEST_F(Purchases, LinesGoOnlyToAnOpenWorkOrder) {
    addWorkOrder(db(), "ODT/00001");
    addWorkOrder(db(), "ODT/00002", "FR08/03/00004");
    const std::tuple<const char*, const char*> cases[] = {
        {"ODT/00001", ""}, {"ODT/00002", p::kInvoicedWorkOrder}, {"ODT/9", p::kNoWorkOrder}};
    for (const auto& [number, refusal] : cases)
        EXPECT_EQ(p::workOrderRefusal(p::workOrderState(db(), number)), QString::fromUtf8(refusal))
            << number;
}

TEST_F(Purchases, TheEntryNumberFollowsTheLastRowOfTheTable) {
    const qint64 a = addArticle(db(), "F1", "FILTRO", 0);
    EXPECT_EQ(p::proposeEntryNumber(home.session()), "EN08/03/00001");
    addEntry(db(), "EN08/03/00041", "", "2008-03-01", supplier, a);
    EXPECT_EQ(p::proposeEntryNumber(home.session()), "EN08/03/00042");
    EXPECT_TRUE(p::entryNumberInUse(db(), "en08/03/00041"));
    EXPECT_FALSE(p::entryNumberInUse(db(), "EN08/03/0004"));
}

TEST_F(Purchases, TheListSearchesByPrefixNewestFirstAndDeletingKeepsStock) {
    const qint64 norte = supplier;
    const qint64 sur = addSupplier(db(), "0002", "SUR MOTOR");
    const qint64 filtro = addArticle(db(), "F1", "FILTRO ACEITE", 4);
    const qint64 bujia = addArticle(db(), "B1", "BUJIA", 4);
    const qint64 e1 = addEntry(db(), "EN08/02/00001", "AB-1", "2008-02-10", norte, filtro);
    addEntry(db(), "EN08/03/00001", "CD-2", "2008-03-05", sur, bujia, 2, 110.65, 10);
    addEntry(db(), "EN08/03/00002", "AB-3", "2008-03-06", norte, bujia);
    addEntry(db(), "EN06/01/00001", "ZZ", "2006-01-01", norte, filtro);
    // The NEntrada listed, in list order.
    const std::tuple<int, const char*, QStringList> cases[] = {
        {0, "AB", {"EN08/03/00002", "EN08/02/00001"}},
        {1, "EN08/03", {"EN08/03/00002", "EN08/03/00001"}},
        {2, "BUJ", {"EN08/03/00002", "EN08/03/00001"}},
        {3, "SUR", {"EN08/03/00001"}},
        {4, "05/03", {"EN08/03/00001"}},
        {4, "2008", {}},
        // More days from 2006 on begin with "0" than are looked up: the dates are walked.
        {4, "0", {"EN08/03/00002", "EN08/03/00001", "EN06/01/00001"}},
    };
    for (const auto& [option, typed, entries] : cases) {
        const SqlStatement s = p::listSearch(db(), option, typed);
        QStringList got;
        for (const Row& r : db().rows(s.sql, s.params)) got << r["NEntrada"].toString();
        EXPECT_EQ(got, entries) << option << " " << typed;
    }
    const SqlStatement all = p::listAll();
    const auto rows = db().rows(all.sql, all.params);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1]["NEntrada"].toString(), "EN08/03/00001");
    EXPECT_EQ(Money::fromDb(rows[1]["Prec F"]).format(), "99,59");

    p::deleteEntry(db(), e1);
    EXPECT_EQ(count("SELECT count(*) FROM Entradas"), 3);
    EXPECT_DOUBLE_EQ(article(filtro)["StockInicial"].toDouble(), 4);
}

}  // namespace
