#include <gtest/gtest.h>

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
        // number, customer, vehicle, date, internal, nominal, invoice, delivery note, estimate
        const OrderRow orders[] = {
            {"ODT/0001", ana, v1, "2008-03-01"},
            {"ODT/0002", ana, v1, "2008-03-03", "No", "0", "FR08/03/00001"},
            {"ODT/0003", bea, v2, "2008-03-02", "Si"},
            {"ODT/0004", bea, v2, "2008-02-15", "Si", "0", "FR08/02/00003"},
            {"TEMP0005", bea, v2, "2008-03-04", "No", "0", "No", "No", true},
            {"ODT/0006", ana, v1, "2008-03-05", "No", "0", "No", "No", true},
        };
        for (const OrderRow& o : orders) insertOrder(db(), o);
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
        {F::Plate, "a1", M::Billed, {"ODT/0002"}},
        {F::Plate, "1234", M::All, {}},
        {F::Number, "TEMP", M::Unbilled, {"TEMP0005"}},
        {F::Customer, "BEA", M::All, {"TEMP0005"}},
        {F::Customer, "PEREZ", M::All, {}},
        {F::Make, "SE", M::Billed, {"ODT/0002"}},
        {F::Model, "FOC", M::All, {"TEMP0005"}},
        // The date search shows internal work orders too.
        {F::Date, "0", M::All, {"ODT/0006", "TEMP0005", "ODT/0002", "ODT/0003", "ODT/0001"}},
        {F::Date, "02/03/2008", M::All, {"ODT/0003"}},
        {F::Date, "1", M::All, {"ODT/0004"}},
        {F::Date, "%/02", M::All, {"ODT/0004"}},
        {F::Date, "31/02", M::All, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(numbersOf(db(), ol::ordinarySearch(db(), c.field, c.typed, c.filter)), c.expected)
            << int(c.field) << " " << c.typed;
}

// The estimates tab finds only TEMP numbers; the internal tab has its own filters.
TEST_F(ListQueries, EstimateAndInternalSearches) {
    using M = ol::Filter;
    struct Case {
        bool internal;
        int option;
        const char* typed;
        M filter;
        QStringList expected;
    };
    const Case cases[] = {
        {false, 3, "ODT", M::All, {}},
        {false, 3, "TEMP", M::All, {"TEMP0005"}},
        {false, 2, "BA", M::All, {"TEMP0005"}},
        // The customer search lists every work order of the customers found.
        {false, 0, "ANA", M::All, {"ODT/0006", "ODT/0002", "ODT/0001"}},
        {true, 0, "ODT", M::All, {"ODT/0003", "ODT/0004"}},
        {true, 0, "ODT", M::Unbilled, {"ODT/0003"}},
        {true, 1, "BA", M::Billed, {"ODT/0004"}},
        {true, 3, "BEA", M::All, {"ODT/0003", "ODT/0004"}},
    };
    for (const Case& c : cases) {
        const auto s = c.internal ? ol::internalSearch(db(), c.option, c.typed, c.filter)
                                  : ol::estimatesSearch(db(), c.option, c.typed);
        ASSERT_TRUE(s);
        EXPECT_EQ(numbersOf(db(), *s), c.expected) << c.internal << c.option << " " << c.typed;
    }
    // The date searches have no query of their own there.
    EXPECT_FALSE(ol::estimatesSearch(db(), 1, "01"));
    EXPECT_FALSE(ol::internalSearch(db(), 2, "01", M::All));
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
    // The expected rows, by a plain query of their own.
    auto expected = [&](const char* key, const char* internal, const char* billed,
                        const QString& typed) {
        QStringList out;
        const QString sql = QStringLiteral(
                                "SELECT NODT FROM ODTS JOIN Vehiculos ON Id_Veh = Id_Coche "
                                "WHERE substr(%1, 1, length(?)) = ? AND %2 AND %3 "
                                "ORDER BY Fecha DESC, Id_ODT DESC")
                                .arg(key, internal, billed);
        for (const Row& r : db().rows(sql, {typed, typed})) out << r.value("NODT").toString();
        return out;
    };
    struct Case {
        ol::Field field;
        const char* typed;
    };
    for (const Case& c : {Case{ol::Field::Plate, "B"}, Case{ol::Field::Plate, "B01"},
                          Case{ol::Field::Number, "ODT/"}, Case{ol::Field::Date, "0"},
                          Case{ol::Field::Date, "10/01/2008"}}) {
        const char* key = c.field == ol::Field::Plate    ? "Matricula"
                          : c.field == ol::Field::Number ? "NODT"
                                                         : "strftime('%d/%m/%Y', Fecha)";
        for (const bool internal : {false, true}) {
            // The date search shows internal work orders too and has no internal variant.
            if (internal && c.field == ol::Field::Date) continue;
            const char* kind = c.field == ol::Field::Date ? "1"
                               : internal                 ? "Interna = 'Si'"
                                                          : "Interna = 'No'";
            for (ol::Filter filter : {ol::Filter::Unbilled, ol::Filter::Billed, ol::Filter::All}) {
                const char* billed = filter == ol::Filter::Unbilled ? "NFactura = 'No'"
                                     : filter == ol::Filter::Billed ? "NFactura <> 'No'"
                                                                    : "1";
                const SqlStatement s =
                    internal ? *ol::internalSearch(db(), c.field == ol::Field::Number ? 0 : 1,
                                                   c.typed, filter)
                             : ol::ordinarySearch(db(), c.field, c.typed, filter);
                EXPECT_EQ(numbersOf(db(), s), expected(key, kind, billed, c.typed))
                    << c.typed << " " << int(filter) << internal;
            }
        }
    }
}

}  // namespace
}  // namespace torvane::testing
