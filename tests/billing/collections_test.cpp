#include "billing/collections.h"

#include <gtest/gtest.h>
#include <QSqlQuery>

#include "billing_fixture.h"
#include "support/temp_home.h"

using namespace torvane;
using namespace torvane::testing;
namespace co = torvane::collections;
using co::InvoiceKind;

namespace {

Money storedPaid(Database& db, InvoiceKind kind, const QString& number) {
    return Money::fromDb(db.scalar(kind == InvoiceKind::WorkOrder
                                       ? "SELECT Pagado FROM FacturasODT WHERE NFactura = ?"
                                       : "SELECT Pagado FROM Facturas WHERE Id_Fac = ?",
                                   {number}));
}

QStringList listed(Database& db, const SqlStatement& s, const char* column = "NFactura") {
    QStringList out;
    for (const Row& r : db.rows(s.sql, s.params)) out << r.value(column).toString();
    return out;
}

co::PaymentEntry pay(double amount) {
    return {QDate(2024, 3, 1), eur(amount)};
}

// A step on one invoice: a payment (amount > 0) or the removal of the n-th payment
// recorded so far (remove >= 0).
struct Step {
    double amount = 0;
    int remove = -1;
    double paid;
    double pending;
    bool settled;
    int shown;  // payments listed
};

TEST(Collections, PaymentsKeepPaidInStepWithTheirRows) {
    struct Case {
        const char* name;
        InvoiceKind kind;
        double amount;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"paid in two parts, then one removed",
         InvoiceKind::WorkOrder,
         100,
         {{30, -1, 30, 70, false, 1}, {70, -1, 100, 0, true, 2}, {0, 0, 70, 30, false, 1}}},
        {"of two equal payments one is removed",
         InvoiceKind::PartsSale,
         80,
         {{25, -1, 25, 55, false, 1}, {25, -1, 50, 30, false, 2}, {0, 1, 25, 55, false, 1}}},
        {"a payment above the amount leaves a negative pending",
         InvoiceKind::WorkOrder,
         50,
         {{60, -1, 60, -10, true, 1}, {0, 0, 0, 50, false, 0}}},
        {"cents add exactly",
         InvoiceKind::PartsSale,
         0.3,
         {{0.1, -1, 0.1, 0.2, false, 1}, {0.2, -1, 0.3, 0, true, 2}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempHome home;
        Database& db = home.db();
        const qint64 cli = addClient(db, "GARCIA");
        if (c.kind == InvoiceKind::WorkOrder)
            addWorkOrderInvoice(db, "FR24/03/00001", "2024-03-01", cli, eur(c.amount));
        else
            addPartsInvoice(db, "FR24/03/00001", "2024-03-01", cli, eur(c.amount), {eur(c.amount)});
        std::vector<qint64> payments;
        for (const Step& s : c.steps) {
            if (s.remove >= 0)
                ASSERT_TRUE(co::removePayment(db, c.kind, payments.at(s.remove)));
            else
                payments.push_back(co::recordPayment(db, c.kind, "FR24/03/00001", pay(s.amount)));
            const co::InvoiceState st = co::invoiceState(db, c.kind, "FR24/03/00001");
            EXPECT_TRUE(st.found);
            EXPECT_EQ(st.paid, eur(s.paid));
            EXPECT_EQ(storedPaid(db, c.kind, "FR24/03/00001"), eur(s.paid));
            EXPECT_EQ(st.pending(), eur(s.pending));
            EXPECT_EQ(st.settled(), s.settled);
            EXPECT_EQ(listed(db, co::paymentsOf("FR24/03/00001")).size(), s.shown);
        }
    }
}

TEST(Collections, ThePaymentGoesToTheTableOfTheVisibleTab) {
    // The same number in both tables: only the chosen kind's Pagado moves.
    struct Case {
        InvoiceKind kind;
        double workOrderPaid, partsPaid;
    };
    const Case cases[] = {{InvoiceKind::WorkOrder, 40, 0}, {InvoiceKind::PartsSale, 0, 40}};
    for (const Case& c : cases) {
        TempHome home;
        Database& db = home.db();
        const qint64 cli = addClient(db, "GARCIA");
        addWorkOrderInvoice(db, "F1", "2024-03-01", cli, eur(100));
        addPartsInvoice(db, "F1", "2024-03-01", cli, eur(100), {eur(100)});
        const qint64 id = co::recordPayment(db, c.kind, "F1", pay(40));
        EXPECT_EQ(storedPaid(db, InvoiceKind::WorkOrder, "F1"), eur(c.workOrderPaid));
        EXPECT_EQ(storedPaid(db, InvoiceKind::PartsSale, "F1"), eur(c.partsPaid));
        ASSERT_TRUE(co::removePayment(db, c.kind, id));
        EXPECT_EQ(storedPaid(db, InvoiceKind::WorkOrder, "F1"), Money());
        EXPECT_EQ(storedPaid(db, InvoiceKind::PartsSale, "F1"), Money());
    }
}

TEST(Collections, StoredPaymentRowAndMissingPayment) {
    TempHome home;
    Database& db = home.db();
    addWorkOrderInvoice(db, "F1", "2024-03-01", addClient(db, "GARCIA"), eur(100), eur(10));
    const qint64 id =
        co::recordPayment(db, InvoiceKind::WorkOrder, "F1", {QDate(2024, 2, 29), eur(12.5)});
    EXPECT_EQ(
        db.scalar("SELECT NFactura || ' ' || Fecha || ' ' || Cantidad FROM Cobros WHERE Id = ?",
                  {id})
            .toString(),
        "F1 2024-02-29 12.5");
    // A stored Pagado from before is continued, not replaced.
    EXPECT_EQ(storedPaid(db, InvoiceKind::WorkOrder, "F1"), eur(22.5));
    // Removing a payment that is gone changes nothing.
    EXPECT_FALSE(co::removePayment(db, InvoiceKind::WorkOrder, id + 100));
    EXPECT_EQ(storedPaid(db, InvoiceKind::WorkOrder, "F1"), eur(22.5));
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM Cobros").toInt(), 1);
}

TEST(Collections, AFailedPaidUpdateStoresNoPaymentRow) {
    struct Case {
        const char* name;
        bool removing;
    };
    for (const Case& c : {Case{"recording", false}, Case{"removing", true}}) {
        SCOPED_TRACE(c.name);
        TempHome home;
        Database& db = home.db();
        addWorkOrderInvoice(db, "F1", "2024-03-01", addClient(db, "GARCIA"), eur(100));
        const qint64 first = co::recordPayment(db, InvoiceKind::WorkOrder, "F1", pay(30));
        db.exec(
            "CREATE TRIGGER fail_paid BEFORE UPDATE OF Pagado ON FacturasODT "
            "BEGIN SELECT RAISE(ABORT, 'bloqueada'); END");
        if (c.removing)
            EXPECT_THROW(co::removePayment(db, InvoiceKind::WorkOrder, first), DbError);
        else
            EXPECT_THROW(co::recordPayment(db, InvoiceKind::WorkOrder, "F1", pay(20)), DbError);
        EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM Cobros").toInt(), 1);
        EXPECT_EQ(storedPaid(db, InvoiceKind::WorkOrder, "F1"), eur(30));
    }
}

TEST(Collections, OnlyPositivePaymentsAreShown) {
    TempHome home;
    Database& db = home.db();
    for (double q : {10.0, 0.0, -5.0, 0.01})
        db.insert("INSERT INTO Cobros (NFactura, Fecha, Cantidad) VALUES ('F1', '2024-03-01', ?)",
                  {q});
    db.insert("INSERT INTO Cobros (NFactura, Fecha, Cantidad) VALUES ('F2', '2024-03-01', 7)");
    QStringList amounts;
    for (const Row& r : db.rows(co::paymentsOf("F1").sql, co::paymentsOf("F1").params))
        amounts << Money::fromDb(r.value("Cantidad")).format();
    EXPECT_EQ(amounts, (QStringList{"10,00", "0,01"}));
}

TEST(Collections, ListsHaveOneRowPerInvoiceNewestFirst) {
    TempHome home;
    Database& db = home.db();
    const qint64 garcia = addClient(db, "GARCIA PEREZ", "0001");
    const qint64 lopez = addClient(db, "LOPEZ", "0002");
    addWorkOrderInvoice(db, "FR1", "2024-01-10", garcia, eur(100), eur(20), 2);
    addWorkOrderInvoice(db, "FR2", "2024-03-10", lopez, eur(50));
    addWorkOrderInvoice(db, "FR3", "2024-02-10", garcia, eur(70), {}, 3);
    // An invoice whose work orders are gone is not listed.
    db.insert(
        "INSERT INTO FacturasODT (NFactura, Fecha, Importe, Pagado) VALUES ('FR9', '2024-04-01', "
        "1, 0)");
    addPartsInvoice(db, "FV1", "2024-02-01", garcia, eur(150), {eur(100), eur(50)}, eur(30));
    addPartsInvoice(db, "FV2", "2024-05-01", lopez, eur(20), {eur(20)});
    // A parts invoice without delivery notes is not listed.
    db.insert(
        "INSERT INTO Facturas (Id_Fac, Fecha, Id_Cli, Total, Pagado) VALUES ('FV9', '2024-06-01', "
        "?, 5, 0)",
        {lopez});

    struct Case {
        InvoiceKind kind;
        const char* typed;
        QStringList numbers;
    };
    const Case cases[] = {
        {InvoiceKind::WorkOrder, "", {"FR2", "FR3", "FR1"}},
        {InvoiceKind::WorkOrder, "GARCIA P", {"FR3", "FR1"}},
        {InvoiceKind::WorkOrder, "garcia", {"FR3", "FR1"}},
        {InvoiceKind::WorkOrder, "LOP", {"FR2"}},
        {InvoiceKind::WorkOrder, "PEREZ", {}},
        {InvoiceKind::WorkOrder, "O'", {}},
        {InvoiceKind::PartsSale, "", {"FV2", "FV1"}},
        {InvoiceKind::PartsSale, "GAR", {"FV1"}},
        {InvoiceKind::PartsSale, "X", {}},
    };
    // Both ways of writing a search give the same rows.
    for (const Case& c : cases)
        for (co::SearchPlan plan :
             {co::SearchPlan::Auto, co::SearchPlan::DateWalk, co::SearchPlan::CustomersFirst}) {
            const SqlStatement s = co::invoiceList(db, c.kind, QString::fromUtf8(c.typed), plan);
            EXPECT_EQ(listed(db, s), c.numbers) << c.typed << " plan " << int(plan);
        }

    // The amounts of a two-note invoice are the Collections screen's to check.
    EXPECT_FALSE(co::invoiceState(db, InvoiceKind::WorkOrder, "NADA").found);
}

TEST(Collections, DueIsTheExactDifference) {
    TempHome home;
    Database& db = home.db();
    const qint64 cli = addClient(db, "GARCIA");
    // Amounts whose double difference is not the decimal one.
    addWorkOrderInvoice(db, "F1", "2024-01-01", cli, eur(100.1), eur(30.05));
    addWorkOrderInvoice(db, "F2", "2024-01-02", cli, eur(0.3), eur(0.1));
    const SqlStatement s = co::invoiceList(db, InvoiceKind::WorkOrder);
    QStringList due;
    for (const Row& r : db.rows(s.sql, s.params))
        due << Money::fromDb(r.value("Debido")).toPlainString();
    EXPECT_EQ(due, (QStringList{"0.2", "70.05"}));
}

TEST(Collections, ReadingATypedPayment) {
    struct Case {
        const char *date, *amount;
        bool ok;
        double value;
    };
    const Case cases[] = {
        {"01/03/2024", "12,5", true, 12.5}, {"1/3/2024", "1.234,50", true, 1234.5},
        {"01/03/2024", "0,01", true, 0.01}, {"", "10", false, 0},
        {"01/03/2024", "", false, 0},       {"01/03/2024", "0", false, 0},
        {"01/03/2024", "0,00", false, 0},   {"31/02/2024", "10", false, 0},
        {"  /  /    ", "10", false, 0},     {"01/03/2024", ",", false, 0},
        {"01/03/2024", "1,2,3", false, 0},
    };
    for (const Case& c : cases) {
        const auto p = co::readPayment(QString::fromUtf8(c.date), QString::fromUtf8(c.amount));
        EXPECT_EQ(p.has_value(), c.ok) << c.date << " " << c.amount;
        if (p && c.ok) {
            EXPECT_EQ(p->amount, eur(c.value));
        }
    }
}

}  // namespace
