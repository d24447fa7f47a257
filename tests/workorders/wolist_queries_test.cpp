#include <gtest/gtest.h>

#include <QSet>
#include <algorithm>
#include <functional>

#include "workorders/wolist_fixture.h"
#include "workorders/work_order_list.h"

namespace torvane::testing {
namespace {

namespace ol = torvane::odtlist;

QStringList numbersOf(Database& db, const SqlStatement& s) {
    QStringList out;
    for (const Row& r : db.rows(s.sql, s.params)) out << r.value("NODT").toString();
    return out;
}

// A small workshop: ordinary, internal and estimate work orders, billed and not.
class ListQueries : public WorkOrderListTest {
  protected:
    void SetUp() override {
        const qint64 ana = insertCustomer(db(), "ANA PEREZ");
        const qint64 bea = insertCustomer(db(), "BEATRIZ");
        const qint64 v1 = insertVehicle(db(), ana, "A1234BC", "SEAT", "IBIZA");
        const qint64 v2 = insertVehicle(db(), bea, "BA9876Z", "FORD", "FOCUS");
        insertOrder(db(),
                    {.number = "ODT/0001", .customer = ana, .vehicle = v1, .date = "2008-03-01"});
        insertOrder(db(), {.number = "ODT/0002",
                           .customer = ana,
                           .vehicle = v1,
                           .date = "2008-03-03",
                           .invoice = "FR08/03/00001"});
        insertOrder(db(), {.number = "ODT/0003",
                           .customer = bea,
                           .vehicle = v2,
                           .date = "2008-03-02",
                           .internal = "Si"});
        insertOrder(db(), {.number = "ODT/0004",
                           .customer = bea,
                           .vehicle = v2,
                           .date = "2008-02-15",
                           .internal = "Si",
                           .invoice = "FR08/02/00003"});
        insertOrder(db(), {.number = "TEMP0005",
                           .customer = bea,
                           .vehicle = v2,
                           .date = "2008-03-04",
                           .estimate = true});
        insertOrder(db(), {.number = "ODT/0006",
                           .customer = ana,
                           .vehicle = v1,
                           .date = "2008-03-05",
                           .estimate = true});
    }
};

TEST_F(ListQueries, OpeningEachTabNewestFirst) {
    EXPECT_EQ(numbersOf(db(), ol::ordinaryOpen()),
              (QStringList{"ODT/0006", "TEMP0005", "ODT/0002", "ODT/0001"}));
    EXPECT_EQ(numbersOf(db(), ol::estimatesOpen()), (QStringList{"ODT/0006", "TEMP0005"}));
    EXPECT_EQ(numbersOf(db(), ol::internalOpen(ol::Filter::All)),
              (QStringList{"ODT/0003", "ODT/0004"}));
    EXPECT_EQ(numbersOf(db(), ol::internalOpen(ol::Filter::Billed)), QStringList{"ODT/0004"});
    EXPECT_EQ(numbersOf(db(), ol::internalOpen(ol::Filter::Unbilled)), QStringList{"ODT/0003"});
}

TEST_F(ListQueries, OrdinarySearches) {
    using F = ol::Field;
    using M = ol::Filter;
    struct Case {
        F field;
        const char* typed;
        M filter;
        QStringList expected;
    };
    const Case cases[] = {
        // Prefix matches, not "contains".
        {F::Plate, "A", M::All, {"ODT/0006", "ODT/0002", "ODT/0001"}},
        {F::Plate, "A1234BC", M::Unbilled, {"ODT/0006", "ODT/0001"}},
        {F::Plate, "a1", M::Billed, {"ODT/0002"}},
        {F::Plate, "1234", M::All, {}},
        {F::Number, "ODT/000", M::All, {"ODT/0006", "ODT/0002", "ODT/0001"}},
        {F::Number, "TEMP", M::Unbilled, {"TEMP0005"}},
        {F::Customer, "BEA", M::All, {"TEMP0005"}},
        {F::Customer, "PEREZ", M::All, {}},
        {F::Make, "SE", M::Billed, {"ODT/0002"}},
        {F::Model, "FOC", M::All, {"TEMP0005"}},
        {F::Model, "", M::All, {"ODT/0006", "TEMP0005", "ODT/0002", "ODT/0001"}},
        // The date search shows internal work orders too.
        {F::Date, "0", M::All, {"ODT/0006", "TEMP0005", "ODT/0002", "ODT/0003", "ODT/0001"}},
        {F::Date, "02/03/2008", M::All, {"ODT/0003"}},
        {F::Date, "15/02", M::Billed, {"ODT/0004"}},
        {F::Date, "1", M::All, {"ODT/0004"}},
        {F::Date, "%/02", M::All, {"ODT/0004"}},
        {F::Date, "31/02", M::All, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(numbersOf(db(), ol::ordinarySearch(db(), c.field, c.typed, c.filter)), c.expected)
            << int(c.field) << " " << c.typed;
}

TEST_F(ListQueries, EstimateSearchesFindOnlyTempNumbers) {
    struct Case {
        int option;
        const char* typed;
        QStringList expected;
    };
    const Case cases[] = {
        {3, "ODT", {}},
        {3, "TEMP", {"TEMP0005"}},
        {2, "BA", {"TEMP0005"}},
        {2, "A1", {}},
        // The customer search lists every work order of the customers found.
        {0, "ANA", {"ODT/0006", "ODT/0002", "ODT/0001"}},
    };
    for (const Case& c : cases) {
        const auto s = ol::estimatesSearch(db(), c.option, c.typed);
        ASSERT_TRUE(s);
        EXPECT_EQ(numbersOf(db(), *s), c.expected) << c.option << " " << c.typed;
    }
    EXPECT_FALSE(ol::estimatesSearch(db(), 1, "01"));
}

TEST_F(ListQueries, InternalSearches) {
    struct Case {
        int option;
        const char* typed;
        ol::Filter filter;
        QStringList expected;
    };
    const Case cases[] = {
        {0, "ODT", ol::Filter::All, {"ODT/0003", "ODT/0004"}},
        {0, "ODT", ol::Filter::Unbilled, {"ODT/0003"}},
        {1, "BA", ol::Filter::Billed, {"ODT/0004"}},
        {3, "BEA", ol::Filter::All, {"ODT/0003", "ODT/0004"}},
        {3, "ANA", ol::Filter::All, {}},
    };
    for (const Case& c : cases) {
        const auto s = ol::internalSearch(db(), c.option, c.typed, c.filter);
        ASSERT_TRUE(s);
        EXPECT_EQ(numbersOf(db(), *s), c.expected) << c.option << " " << c.typed;
    }
    EXPECT_FALSE(ol::internalSearch(db(), 2, "01", ol::Filter::All));
}

TEST_F(ListQueries, ProposedNumberFollowsTheGreatestOfThePrefix) {
    EXPECT_EQ(ol::proposedInvoiceNumber(session()), "FR08/03/00002");
    db().exec("UPDATE ODTS SET NFactura = 'FR08/03/00010' WHERE NODT = 'ODT/0001'");
    EXPECT_EQ(ol::proposedInvoiceNumber(session()), "FR08/03/00011");
}

// Many matching vehicles take a walk (of the dates, or of the internal orders), few the plate
// index: both give the same rows, on the ordinary and the internal tab.
TEST_F(WorkOrderListTest, BroadAndNarrowSearchesAgree) {
    const qint64 c = insertCustomer(db(), "FLOTA");
    {
        Database::Transaction t(db());
        for (int i = 0; i < ol::kSelectiveLimit + 30; ++i) {
            const QString plate = QStringLiteral("B%1").arg(i, 4, 10, QChar('0'));
            const qint64 v = insertVehicle(db(), c, plate);
            insertOrder(db(),
                        {.number = QStringLiteral("ODT/%1").arg(i, 5, 10, QChar('0')),
                         .customer = c,
                         .vehicle = v,
                         .date = QDate(2008, 1, 1).addDays(i * 3 % 1201).toString(Qt::ISODate),
                         .internal = i % 5 ? "No" : "Si",
                         .invoice = i % 3 ? "No" : "FR"});
        }
        t.commit();
    }
    const auto all = db().rows(
        "SELECT NODT, Fecha, Id_ODT, Interna, NFactura, Matricula FROM "
        "ODTS JOIN Vehiculos ON Id_Veh = Id_Coche");
    struct Case {
        ol::Field field;
        const char* typed;
    };
    for (const Case& c : {Case{ol::Field::Plate, "B"}, Case{ol::Field::Plate, "B01"},
                          Case{ol::Field::Number, "ODT/"}, Case{ol::Field::Number, "ODT/001"},
                          Case{ol::Field::Date, ""}, Case{ol::Field::Date, "0"},
                          Case{ol::Field::Date, "10/01/2008"}}) {
        for (const bool internal : {false, true}) {
            if (internal && c.field == ol::Field::Date) continue;
            for (ol::Filter filter : {ol::Filter::Unbilled, ol::Filter::Billed, ol::Filter::All}) {
                // The expected rows, picked one by one.
                std::vector<std::pair<QString, qint64>> picked;
                for (const Row& r : all) {
                    const QString key =
                        c.field == ol::Field::Plate ? r.value("Matricula").toString()
                        : c.field == ol::Field::Number
                            ? r.value("NODT").toString()
                            : QDate::fromString(r.value("Fecha").toString(), Qt::ISODate)
                                  .toString("dd/MM/yyyy");
                    const bool billed = r.value("NFactura").toString() != "No";
                    if (!key.startsWith(c.typed)) continue;
                    if (c.field != ol::Field::Date &&
                        r.value("Interna").toString() != (internal ? "Si" : "No"))
                        continue;
                    if ((filter == ol::Filter::Unbilled && billed) ||
                        (filter == ol::Filter::Billed && !billed))
                        continue;
                    picked.push_back({r.value("Fecha").toString(), r.value("Id_ODT").toLongLong()});
                }
                std::sort(picked.begin(), picked.end(), std::greater<>());
                QStringList expected;
                for (const auto& [date, id] : picked)
                    expected
                        << db().scalar("SELECT NODT FROM ODTS WHERE Id_ODT = ?", {id}).toString();
                const SqlStatement s =
                    internal ? *ol::internalSearch(db(), c.field == ol::Field::Number ? 0 : 1,
                                                   c.typed, filter)
                             : ol::ordinarySearch(db(), c.field, c.typed, filter);
                EXPECT_EQ(numbersOf(db(), s), expected)
                    << c.typed << " " << int(filter) << internal;
            }
        }
    }
}

TEST(DatesBeginningWith, MatchesTheShownText) {
    const QDate first(2007, 12, 30), last(2008, 1, 2);
    struct Case {
        const char* typed;
        int limit;
        std::optional<QStringList> expected;
    };
    const Case cases[] = {
        {"31/12/2007", 10, QStringList{"2007-12-31"}},
        {"0", 10, QStringList{"2008-01-02", "2008-01-01"}},
        {"3", 10, QStringList{"2007-12-31", "2007-12-30"}},
        {"3", 1, std::nullopt},
        {"", 10, QStringList{"2008-01-02", "2008-01-01", "2007-12-31", "2007-12-30"}},
        {"32", 10, QStringList{}},
        {"01/01/20089", 10, QStringList{}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ol::datesBeginningWith(c.typed, first, last, c.limit), c.expected) << c.typed;
}

}  // namespace
}  // namespace torvane::testing
