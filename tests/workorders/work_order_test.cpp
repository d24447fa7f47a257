#include "workorders/work_order.h"

#include <gtest/gtest.h>
#include <tuple>

#include "support/temp_home.h"
#include "support/typed_numbers.h"
#include "workorders/work_order_fixture.h"

namespace torvane::testing {
namespace {

using namespace torvane::workorders;

LabourLine labour(const char* work, const char* billed = "1", const char* price = "30",
                  const char* discount = "0") {
    return {{}, "", "", "", work, {}, qty("1"), qty(billed), euros(price), qty(discount)};
}

class WorkOrderTest : public ::testing::Test {
  public:
    void SetUp() override {
        vehicle = addCustomerWithVehicle(db());
        addArticle(db(), "FIL", "FILTRO", 10, 1, 12.5);
        addArticle(db(), "ACE", "ACEITE", 20, 1, 8);
    }
    Database& db() { return home.db(); }
    Header header(const QString& number = "ODT/0001") {
        Header h = newHeader(db(), number, vehicle, QDate(2026, 3, 5));
        h.kilometres = "120000";
        return h;
    }
    MaterialLine material(const char* code, const char* units, const QVariant& id = {}) {
        MaterialLine l;
        l.id = id;
        l.code = QString::fromLatin1(code);
        l.description = "PIEZA";
        l.units = qty(units);
        l.price = euros("10");
        return l;
    }
    qint64 addJob(const QString& number, const QString& text = "CAMBIO ACEITE") {
        return storeJob(db(), number, JobLine{{}, text});
    }
    void clearWorkOrders() {
        for (const char* table : {"ODTS", "TrabajosRealizar_ODT", "MaterialesODT"})
            db().exec(QStringLiteral("DELETE FROM %1").arg(table));
    }
    int count(const char* sql, const QVariantList& params = {}) {
        return db().scalar(sql, params).toInt();
    }

    TempHome home;
    qint64 vehicle = 0;
};

// Each line counts as its cell shows it: rounded to cents, halves away from zero;
// labour and free lines are converted to currency (four decimals, halves to even) first.
TEST(WorkOrderLines, AmountIsTheRoundedCell) {
    const std::tuple<LineKind, const char*, const char*, const char*, const char*> cases[] = {
        // 1,5 × 0,8233 = 1,23495: currency first gives 1,2350, then 1,24; a material
        // line rounds the exact value once, to 1,23.
        {LineKind::Labour, "1,5", "0,8233", "0", "1,24"},
        {LineKind::FreeLines, "1,5", "0,8233", "0", "1,24"},
        {LineKind::Materials, "1,5", "0,8233", "0", "1,23"},
    };
    for (const auto& [kind, units, price, discount, shown] : cases) {
        Money amount;
        if (kind == LineKind::Labour)
            amount = labour("X", units, price, discount).amount();
        else if (kind == LineKind::Materials)
            amount = MaterialLine{{}, "X", "X", qty(units), euros(price), qty(discount)}.amount();
        else
            amount = FreeLine{{}, "", "X", qty(units), euros(price), qty(discount)}.amount();
        EXPECT_EQ(amount.format(), QString::fromUtf8(shown))
            << units << " x " << price << " - " << discount << "%";
    }
}

TEST(WorkOrderLines, PanelTotalsPerTab) {
    const std::vector<DocumentLine> labourLines = {toDocumentLine(labour("A", "1,333")),
                                                   toDocumentLine(labour("B", "3,25", "38,50"))};
    std::vector<DocumentLine> materials = {
        toDocumentLine(MaterialLine{{}, "A", "A", qty("1"), euros("110,65"), qty("10")}),
        toDocumentLine(MaterialLine{{}, "B", "B", qty("4"), euros("1000"), qty("0")})};
    materials[1].deleted = true;  // a line marked with Supr counts nowhere
    const std::vector<DocumentLine> freeLines = {
        toDocumentLine(FreeLine{{}, "", "GRUA", qty("1"), euros("50"), qty("0")})};

    const std::tuple<int, const char*, const char*, const char*> cases[] = {
        {0, "314,71", "50,35", "365,06"},  // 39,99 + 125,13 + 99,59 + 50
        {1, "165,12", "26,42", "191,54"},
        {2, "99,59", "15,93", "115,52"},  // 15,9344
        {3, "50,00", "8,00", "58,00"},
    };
    for (const auto& [tab, base, vat, total] : cases) {
        const Totals t = tabTotals(tab, labourLines, materials, freeLines, Quantity::whole(16));
        EXPECT_EQ(t.base.format(), base) << "tab " << tab;
        EXPECT_EQ(t.vat.format(), vat) << "tab " << tab;
        EXPECT_EQ(t.total.format(), total) << "tab " << tab;
    }
}

TEST(WorkOrderLines, DiscountBound) {
    const std::tuple<const char*, bool, const char*> cases[] = {
        {"150", false, "100"}, {"101", true, "100"}, {"7", false, "7"},
        {"", true, "0"},       {"", false, ""},      {"99999999999999999999999", false, "100"},
    };
    for (const auto& [typed, enteringOrLeaving, shown] : cases)
        EXPECT_EQ(boundDiscount(typed, enteringOrLeaving), shown)
            << "'" << typed << "' " << enteringOrLeaving;
}

// Stock moves when a line with a known code is added, by the difference when it is
// edited, and back when a deleted line is removed at saving.
TEST_F(WorkOrderTest, StockMovements) {
    struct Step {
        const char* code;
        const char* units;
        bool editsPrevious = false;  // stored over the line of the step before
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        bool lastDeletedAndSaved;
        double filters;  // FIL starts at 10
        double oil;      // ACE starts at 20
    };
    const Case cases[] = {
        {"add", {{"FIL", "2"}}, false, 8, 20},
        {"edit 2 -> 5 takes 3 more", {{"FIL", "2"}, {"FIL", "5", true}}, false, 5, 20},
        {"edit to another article", {{"FIL", "2"}, {"ACE", "3", true}}, false, 10, 17},
        {"unknown code", {{"NOEXISTE", "4"}}, false, 10, 20},
        {"deleted then saved gives back", {{"ACE", "1"}, {"FIL", "3"}}, true, 10, 19},
    };
    const QString n = "ODT/0001";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        clearWorkOrders();
        db().exec("UPDATE Articulos SET StockInicial = CASE Codigo WHEN 'FIL' THEN 10 ELSE 20 END");
        qint64 last = 0;
        for (const Step& step : c.steps)
            last = storeMaterial(
                db(), n,
                material(step.code, step.units, step.editsPrevious ? QVariant(last) : QVariant()));
        if (c.lastDeletedAndSaved) {
            addJob(n);
            Deletions d;
            d.materials = {last};
            ASSERT_EQ(save(db(), header(n), d).check, SaveCheck::Ok);
        }
        EXPECT_DOUBLE_EQ(stockOf(db(), "FIL"), c.filters);
        EXPECT_DOUBLE_EQ(stockOf(db(), "ACE"), c.oil);
    }
}

// The messages, and that kilometres are checked first, are OdtsScreenTest.RefusalsKeep...'s.
TEST_F(WorkOrderTest, SaveRefusedStoresNothing) {
    const std::tuple<const char*, const char*, int, int, SaveCheck> cases[] = {
        {"no kilometres", "", 1, 0, SaveCheck::NoKilometres},
        {"no job", "1000", 0, 0, SaveCheck::NoJobs},
        {"every job deleted", "1000", 2, 2, SaveCheck::NoJobs},
        {"one job left", "1000", 2, 1, SaveCheck::Ok},
    };
    for (const auto& [name, km, jobs, jobsDeleted, check] : cases) {
        SCOPED_TRACE(name);
        clearWorkOrders();
        db().exec("UPDATE Articulos SET StockInicial = 10 WHERE Codigo = 'FIL'");
        const QString n = "ODT/0001";
        Deletions d;
        for (int i = 0; i < jobs; ++i) {
            const qint64 id = addJob(n);
            if (i < jobsDeleted) d.jobs << id;
        }
        // Labour and materials do not stand in for a job to do.
        storeLabour(db(), n, labour("REVISION"));
        const qint64 mat = storeMaterial(db(), n, material("FIL", "2"));
        d.materials = {mat};
        Header h = header(n);
        h.kilometres = km;
        const SaveResult r = save(db(), h, d);
        EXPECT_EQ(r.check, check);
        const bool saved = check == SaveCheck::Ok;
        EXPECT_EQ(count("SELECT count(*) FROM ODTS"), saved ? 1 : 0);
        EXPECT_EQ(count("SELECT count(*) FROM MaterialesODT"), saved ? 0 : 1);
        EXPECT_DOUBLE_EQ(stockOf(db(), "FIL"), saved ? 10 : 8);
    }
}

TEST_F(WorkOrderTest, HeaderStoredWithNoMarkersAndNominalBaseThenUpdated) {
    // The markers typed, then NPresupuesto|NAlbaran|NFactura|Interna as stored.
    const std::tuple<const char*, const char*, const char*, bool, const char*> cases[] = {
        {"  ", "", "", true, "No|No|No|Si"},
        {"P-12", "AL26/03/00001", "FR26/03/00002", false, "P-12|AL26/03/00001|FR26/03/00002|No"},
    };
    const QString n = "ODT/0001";
    addJob(n);
    storeLabour(db(), n, labour("X", "1,333"));
    storeMaterial(db(), n, MaterialLine{{}, "", "X", qty("1"), euros("110,65"), qty("10")});
    for (const auto& [estimate, deliveryNote, invoice, internal, markers] : cases) {
        db().exec("DELETE FROM ODTS");
        Header h = header(n);
        h.estimateNumber = estimate;
        h.deliveryNote = deliveryNote;
        h.invoice = invoice;
        h.internal = internal;
        const SaveResult r = save(db(), h, {});
        ASSERT_EQ(r.check, SaveCheck::Ok);
        const auto row = db().firstRow("SELECT * FROM ODTS WHERE Id_ODT = ?", {r.id});
        ASSERT_TRUE(row);
        QStringList stored;
        for (const char* column : {"NPresupuesto", "NAlbaran", "NFactura", "Interna"})
            stored << row->value(column).toString();
        EXPECT_EQ(stored.join('|'), markers);
        // 39,99 + 99,59 without VAT
        EXPECT_EQ(Money::fromDb(row->value("Nominal")), euros("139,58"));
        EXPECT_EQ(r.totals.vat, euros("22,33"));
        EXPECT_EQ(row->value("Id_Coche").toLongLong(), vehicle);
    }
    // Saving what was read back updates the same row.
    auto h = headerById(db(), db().scalar("SELECT Id_ODT FROM ODTS").toLongLong());
    ASSERT_TRUE(h);
    h->kilometres = "130500";
    h->collects = true;
    const SaveResult again = save(db(), *h, {});
    EXPECT_EQ(count("SELECT count(*) FROM ODTS"), 1);
    const auto back = headerById(db(), again.id);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->kilometres, "130500");
    EXPECT_TRUE(back->collects);
    EXPECT_EQ(back->invoice, "FR26/03/00002");
}

TEST_F(WorkOrderTest, DiscardNewRemovesEverythingAndGivesStockBack) {
    const QString n = "ODT/0007";
    addJob(n);
    storeLabour(db(), n, labour("X"));
    storeMaterial(db(), n, material("FIL", "3"));
    storeMaterial(db(), n, material("", "3"));
    storeFreeLine(db(), n, FreeLine{{}, "R", "GRUA", qty("1"), euros("50"), qty("0")});
    addJob("ODT/0001", "OTRA ORDEN");  // another work order's lines stay
    ASSERT_DOUBLE_EQ(stockOf(db(), "FIL"), 7);
    discardNew(db(), n);
    EXPECT_EQ(count("SELECT count(*) FROM ODTS"), 0);
    EXPECT_EQ(lineCounts(db(), n), (std::array<int, kLineKinds>{0, 0, 0, 0}));
    EXPECT_EQ(lineCounts(db(), "ODT/0001"), (std::array<int, kLineKinds>{1, 0, 0, 0}));
    EXPECT_DOUBLE_EQ(stockOf(db(), "FIL"), 10);
}

TEST_F(WorkOrderTest, DiscardExistingRemovesOnlyLinesAddedSinceOpening) {
    const QString n = "ODT/0003";
    addJob(n, "FRENOS");
    storeLabour(db(), n, labour("ANTES"));
    storeMaterial(db(), n, material("FIL", "1"));
    ASSERT_EQ(save(db(), header(n), {}).check, SaveCheck::Ok);
    const auto atOpening = lineCounts(db(), n);
    ASSERT_EQ(atOpening, (std::array<int, kLineKinds>{1, 1, 1, 0}));

    addJob(n, "NUEVO");
    storeLabour(db(), n, labour("DESPUES"));
    storeMaterial(db(), n, material("FIL", "2"));
    storeFreeLine(db(), n, FreeLine{{}, "", "LIBRE", qty("1"), euros("5"), qty("0")});
    ASSERT_DOUBLE_EQ(stockOf(db(), "FIL"), 7);

    discardExisting(db(), n, atOpening);
    EXPECT_EQ(lineCounts(db(), n), atOpening);
    EXPECT_EQ(linesOf(db(), n).labour.at(0).work, "ANTES");
    EXPECT_DOUBLE_EQ(stockOf(db(), "FIL"), 9);
}

}  // namespace
}  // namespace torvane::testing
