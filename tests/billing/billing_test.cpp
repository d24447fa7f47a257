// What is owed and paid: payments against invoices and the receipts drawn on them; the free and
// the commission invoices; and their printed documents, compared with reviewed texts.
#include <gtest/gtest.h>

#include <array>

#include "billing/collections.h"
#include "billing/commissions.h"
#include "billing/free_invoices.h"
#include "billing/receipts.h"
#include "billing_fixture.h"
#include "core/session.h"
#include "masters/screen_fixture.h"
#include "reports/report_fixture.h"
#include "support/temp_home.h"
#include "support/typed_numbers.h"

using namespace torvane;
using namespace torvane::testing;
namespace co = torvane::collections;
namespace rc = torvane::receipts;
namespace fi = torvane::free_invoices;
namespace fc = torvane::commissions;
using co::InvoiceKind;

namespace {

Money storedPaid(Database& db, InvoiceKind kind, const QString& number) {
    return Money::fromDb(db.scalar(kind == InvoiceKind::WorkOrder
                                       ? "SELECT Pagado FROM FacturasODT WHERE NFactura = ?"
                                       : "SELECT Pagado FROM Facturas WHERE Id_Fac = ?",
                                   {number}));
}

QString joinRows(const std::vector<rc::Row>& rows) {
    QStringList out;
    for (const rc::Row& r : rows)
        out << r.number + QLatin1Char(' ') + r.due + QLatin1Char(' ') + r.amount.format();
    return out.join(QStringLiteral(" | "));
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

using Collections = ScreenTest;
using Receipts = ScreenTest;

TEST_F(Collections, PaymentsKeepPaidInStepWithTheirRows) {
    const std::tuple<InvoiceKind, double, std::vector<Step>> cases[] = {
        // Paid in two parts, then one removed.
        {InvoiceKind::WorkOrder,
         100,
         {{30, -1, 30, 70, false, 1}, {70, -1, 100, 0, true, 2}, {0, 0, 70, 30, false, 1}}},
        // Of two equal payments one is removed.
        {InvoiceKind::PartsSale,
         80,
         {{25, -1, 25, 55, false, 1}, {25, -1, 50, 30, false, 2}, {0, 1, 25, 55, false, 1}}},
        // A payment above the amount leaves a negative pending.
        {InvoiceKind::WorkOrder, 50, {{60, -1, 60, -10, true, 1}, {0, 0, 0, 50, false, 0}}},
    };
    for (const auto& [kind, amount, steps] : cases) {
        SCOPED_TRACE(amount);
        TempHome home;
        Database& db = home.db();
        const qint64 cli = addClient(db, "GARCIA");
        if (kind == InvoiceKind::WorkOrder)
            addWorkOrderInvoice(db, "FR24/03/00001", "2024-03-01", cli, eur(amount));
        else
            addPartsInvoice(db, "FR24/03/00001", "2024-03-01", cli, eur(amount), {eur(amount)});
        std::vector<qint64> payments;
        for (const Step& s : steps) {
            if (s.remove >= 0)
                ASSERT_TRUE(co::removePayment(db, kind, payments.at(s.remove)));
            else
                payments.push_back(co::recordPayment(db, kind, "FR24/03/00001",
                                                     {QDate(2024, 3, 1), eur(s.amount)}));
            const co::InvoiceState st = co::invoiceState(db, kind, "FR24/03/00001");
            EXPECT_TRUE(st.found);
            EXPECT_EQ(st.paid, eur(s.paid));
            EXPECT_EQ(storedPaid(db, kind, "FR24/03/00001"), eur(s.paid));
            EXPECT_EQ(st.pending(), eur(s.pending));
            EXPECT_EQ(st.settled(), s.settled);
            EXPECT_EQ(listed(db, co::paymentsOf("FR24/03/00001")).size(), s.shown);
        }
    }
}

TEST_F(Collections, ThePaymentGoesToTheTableOfTheVisibleTab) {
    const qint64 cli = addClient(db(), "GARCIA");
    // The same number in both tables; a Pagado stored before is continued, not replaced.
    addWorkOrderInvoice(db(), "F1", "2024-03-01", cli, eur(100), eur(10));
    addPartsInvoice(db(), "F1", "2024-03-01", cli, eur(100), {eur(100)});
    const qint64 id =
        co::recordPayment(db(), InvoiceKind::WorkOrder, "F1", {QDate(2024, 2, 29), eur(12.5)});
    EXPECT_EQ(
        db().scalar("SELECT NFactura || ' ' || Fecha || ' ' || Cantidad FROM Cobros WHERE Id = ?",
                    {id})
            .toString(),
        "F1 2024-02-29 12.5");
    const qint64 parts =
        co::recordPayment(db(), InvoiceKind::PartsSale, "F1", {QDate(2024, 3, 1), eur(40)});
    EXPECT_EQ(storedPaid(db(), InvoiceKind::WorkOrder, "F1"), eur(22.5));
    EXPECT_EQ(storedPaid(db(), InvoiceKind::PartsSale, "F1"), eur(40));
    ASSERT_TRUE(co::removePayment(db(), InvoiceKind::PartsSale, parts));
    EXPECT_EQ(storedPaid(db(), InvoiceKind::WorkOrder, "F1"), eur(22.5));
    EXPECT_EQ(storedPaid(db(), InvoiceKind::PartsSale, "F1"), Money());
    // Removing a payment that is gone changes nothing.
    EXPECT_FALSE(co::removePayment(db(), InvoiceKind::WorkOrder, id + 100));
    EXPECT_EQ(storedPaid(db(), InvoiceKind::WorkOrder, "F1"), eur(22.5));
}

TEST_F(Collections, ListsHaveOneRowPerInvoiceNewestFirst) {
    const qint64 garcia = addClient(db(), "GARCIA PEREZ", "0001");
    const qint64 lopez = addClient(db(), "LOPEZ", "0002");
    // Amounts whose double difference is not the decimal one.
    addWorkOrderInvoice(db(), "FR1", "2024-01-10", garcia, eur(100.1), eur(30.05), 2);
    addWorkOrderInvoice(db(), "FR2", "2024-03-10", lopez, eur(0.3), eur(0.1));
    addWorkOrderInvoice(db(), "FR3", "2024-02-10", garcia, eur(70), {}, 3);
    addPartsInvoice(db(), "FV1", "2024-02-01", garcia, eur(150), {eur(100), eur(50)}, eur(30));
    addPartsInvoice(db(), "FV2", "2024-05-01", lopez, eur(20), {eur(20)});
    // A parts invoice without delivery notes is not listed.
    db().insert(
        "INSERT INTO Facturas (Id_Fac, Fecha, Id_Cli, Total, Pagado) VALUES ('FV9', '2024-06-01', "
        "?, 5, 0)",
        {lopez});

    const std::tuple<InvoiceKind, const char*, QStringList> cases[] = {
        {InvoiceKind::WorkOrder, "", {"FR2", "FR3", "FR1"}},
        {InvoiceKind::WorkOrder, "garcia", {"FR3", "FR1"}},
        {InvoiceKind::WorkOrder, "PEREZ", {}},
        {InvoiceKind::WorkOrder, "O'", {}},
        {InvoiceKind::PartsSale, "", {"FV2", "FV1"}},
        {InvoiceKind::PartsSale, "GAR", {"FV1"}},
    };
    for (const auto& [kind, typed, numbers] : cases)
        EXPECT_EQ(listed(db(), co::invoiceList(db(), kind, QString::fromUtf8(typed))), numbers)
            << typed;

    const auto due = [&](InvoiceKind kind) {
        QStringList out;
        for (const Row& r : db().rows(co::invoiceList(db(), kind).sql))
            out << Money::fromDb(r.value("Debido")).toPlainString();
        return out;
    };
    EXPECT_EQ(due(InvoiceKind::WorkOrder), (QStringList{"0.2", "70", "70.05"}));
    EXPECT_EQ(due(InvoiceKind::PartsSale), (QStringList{"20", "120"}));  // two notes, once
    EXPECT_FALSE(co::invoiceState(db(), InvoiceKind::WorkOrder, "NADA").found);

    // The unpaid invoices receipts are drawn on: one row per invoice, nothing paid yet.
    const auto unpaid = [&](const SqlStatement& s) { return listed(db(), s).join(','); };
    EXPECT_EQ(unpaid(rc::unpaidWorkOrderInvoices(garcia)), "FR3");
    EXPECT_EQ(unpaid(rc::unpaidPartsInvoices(garcia)), "");
}

TEST_F(Collections, ReadingATypedPayment) {
    // date, amount, and the amount read (empty: refused)
    const std::array<const char*, 3> cases[] = {
        {"01/03/2024", "12,5", "12,50"}, {"1/3/2024", "1.234,50", "1.234,50"},
        {"01/03/2024", "0,01", "0,01"},  {"", "10", ""},
        {"01/03/2024", "0", ""},         {"31/02/2024", "10", ""},
    };
    for (const auto& [date, amount, read] : cases) {
        const auto p = co::readPayment(QString::fromUtf8(date), QString::fromUtf8(amount));
        EXPECT_EQ(p ? p->amount.format() : QString(), QString::fromUtf8(read)) << date << amount;
    }
}

TEST_F(Receipts, EveryTermsSplitsAndDates) {
    // terms, issue date, payment day, total, and the rows (numbers start after none stored in
    // March 2008)
    const std::tuple<const char*, const char*, int, double, const char*> cases[] = {
        {"A LA VISTA", "15/01/2008", 15, 100, "08/03/00001 15/01/2008 100,00"},
        {"30 DÍAS", "15/01/2008", 5, 100, "08/03/00001 5/02/2008 100,00"},
        {"30-60 DÍAS", "15/01/2008", 25, 100.01,
         "08/03/00001 25/02/2008 50,01 | 08/03/00002 25/03/2008 50,01"},
        {"60-90 DÍAS", "01/12/2007", 1, 0.05,
         "08/03/00001 1/01/2008 0,03 | 08/03/00002 1/02/2008 0,03"},
        // No receipt absorbs the difference: three times 33,33 for 100,00.
        {"30-60-90 DÍAS", "15/01/2008", 15, 100,
         "08/03/00001 15/02/2008 33,33 | 08/03/00002 15/03/2008 33,33 | "
         "08/03/00003 15/04/2008 33,33"},
        // The month of the computed date stays; a day it lacks is its last.
        {"30 DÍAS", "30/01/2008", 30, 10, "08/03/00001 29/02/2008 10,00"},
        {"30 DÍAS", "29/01/2007", 31, 10, "08/03/00001 28/02/2007 10,00"},
        // Unknown terms give no rows.
        {"15 DÍAS", "15/01/2008", 5, 100, ""},
    };
    home.session().setToday(QDate(2008, 3, 15));
    for (const auto& [terms, issue, day, total, want] : cases) {
        const auto rows = rc::rows(home.session(), QString::fromUtf8(terms),
                                   QDate::fromString(issue, "dd/MM/yyyy"), day, eur(total));
        EXPECT_EQ(joinRows(rows), QString::fromUtf8(want)) << terms << " " << issue;
    }
    EXPECT_EQ(rc::termsNames().size(), 8);
    for (const QString& t : rc::termsNames())
        EXPECT_TRUE(rc::dueDays(t).has_value()) << t.toStdString();
}

TEST_F(Receipts, PaymentDayAsTyped) {
    // Typed day, and the day it gives for an invoice of 20/03/2008 (0: refused).
    const std::pair<const char*, int> cases[] = {{"", 20},   {"0", 20}, {"5", 5},  {"1", 1},
                                                 {"31", 31}, {"32", 0}, {"-1", 0}, {"a", 0}};
    for (const auto& [typed, want] : cases)
        EXPECT_EQ(rc::readPaymentDay(QString::fromUtf8(typed), QDate(2008, 3, 20)).value_or(0),
                  want)
            << typed;
    EXPECT_EQ(rc::readPaymentDay("  ", QDate(2008, 3, 7)), 7);
}

TEST_F(Receipts, StoreListAndRemove) {
    home.session().setToday(QDate(2008, 3, 15));
    const qint64 cli = addClient(db(), "GARCIA", "0001");
    // The next number follows the greatest stored, whatever the order they were stored in.
    const qint64 older = db().insert(
        "INSERT INTO Recibos (NRecibo, Fecha, Id_cli) VALUES ('08/03/00007', '2008-03-01', ?)",
        {cli});
    db().insert(
        "INSERT INTO Recibos (NRecibo, Fecha, Id_cli) VALUES ('08/03/00002', '2008-03-02', ?), "
        "('08/03/00003', '2008-03-03', 99)",
        {cli});
    const auto rows = rc::rows(home.session(), "30-60-90 DÍAS", QDate(2008, 3, 15), 5, eur(100));
    ASSERT_EQ(rows.size(), 3u);
    const rc::Payer payer{cli, "BANCO X", "0001", "1234"};
    const QStringList numbers =
        rc::store(home.session(), QDate(2008, 3, 15), rows, payer, {"FR08/03/00001", "FV1"});
    EXPECT_EQ(numbers, (QStringList{"08/03/00008", "08/03/00009", "08/03/00010"}));
    // One row per receipt with its own due date; the rest of the row shows on the printed one.
    EXPECT_EQ(db().scalar("SELECT group_concat(Vto, ';') FROM Recibos WHERE Id > 3").toString(),
              "5/04/2008;5/05/2008;5/06/2008");
    // Storing the same rows again draws new numbers.
    EXPECT_EQ(rc::store(home.session(), QDate(2008, 3, 15), {rows[0]}, payer, {}).first(),
              "08/03/00011");
    EXPECT_TRUE(rc::anyInReceipts(db(), {"X", "FV1"}));
    EXPECT_TRUE(rc::anyInReceipts(db(), {"FR08/03/00001"}));
    EXPECT_FALSE(rc::anyInReceipts(db(), {"FR08/03/0000_"}));

    SCOPED_TRACE("the list leaves out a receipt whose customer is gone");
    EXPECT_EQ(listed(db(), rc::list(), "NRecibo").join(','),
              "08/03/00011,08/03/00010,08/03/00009,08/03/00008,08/03/00002,08/03/00007");
    EXPECT_TRUE(rc::remove(db(), older));
    EXPECT_FALSE(listed(db(), rc::list(), "NRecibo").contains("08/03/00007"));

    SCOPED_TRACE("a failing row leaves none of its receipts");
    db().exec(
        "CREATE TRIGGER fail_third BEFORE INSERT ON Recibos WHEN NEW.NRecibo = '08/03/00014' "
        "BEGIN SELECT RAISE(ABORT, 'disco lleno'); END");
    EXPECT_THROW(rc::store(home.session(), QDate(2008, 3, 15), rows, payer, {}), DbError);
    EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM Recibos").toInt(), 6);
}

Quantity rate(const char* text) {
    return *fi::readRate(QString::fromUtf8(text));
}

TEST(FreeInvoices, TotalsInTheirOrder) {
    // suma, VAT and discount rates; VAT, discount, nominal and total. The common case is on the
    // printed invoice.
    const std::array<const char*, 7> cases[] = {
        {"100", "0", "10", "0,00", "10,00", "90,00", "90,00"},
        // Halves away from zero: 10,05 × 10 % = 1,005; (10,05 + 1,01) × 5 % = 0,553.
        {"10,05", "10", "5", "1,01", "0,55", "9,50", "10,51"},
        // A rate with decimals.
        {"200", "7,5", "2,5", "15,00", "5,38", "194,62", "209,62"},
    };
    for (const auto& [suma, vat, dto, iva, descuento, nominal, total] : cases) {
        const Money amount = euros(suma);
        const fi::Totals t = fi::computeTotals(amount, rate(vat), rate(dto));
        EXPECT_EQ(QStringList({t.iva.format(), t.descuento.format(), t.nominal.format(),
                               t.total.format(), t.suma.format()}),
                  QStringList({iva, descuento, nominal, total, amount.format()}))
            << suma << " " << vat << " " << dto;
    }
}

TEST(FreeInvoices, RatesAndLinesAsTyped) {
    EXPECT_EQ(fi::readRate(""), Quantity());
    EXPECT_EQ(fi::readRate("16"), Quantity::whole(16));
    EXPECT_FALSE(fi::readRate("1,6,"));

    const std::array<const char*, 6> cases[] = {
        // text, units, price, discount, error (empty: accepted), amount of the accepted line
        {"PINTURA", "2", "12,345", "0", "", "24,69"},
        {"PINTURA", "1", "1.234,50", "50", "", "617,25"},
        {"   ", "3", "10", "0", "Debe completar todos los campos", ""},
        {"X", "3", ",,", "0", "El precio por unidad no es un importe válido", ""},
    };
    for (const auto& [text, units, price, dto, error, amount] : cases) {
        const fi::LineEntry e = fi::readLine(QString::fromUtf8(text), QString::fromUtf8(units),
                                             QString::fromUtf8(price), QString::fromUtf8(dto));
        EXPECT_EQ(e.error, QString::fromUtf8(error)) << text << price;
        EXPECT_EQ(e.line ? e.line->amount().format() : QString(), QString::fromUtf8(amount));
    }
}

TEST(FreeInvoices, NumberFollowsTheLastRowOfTheTable) {
    TempHome home;
    const auto next = [&](const QStringList& stored) {
        for (const QString& n : stored)
            home.db().insert(
                "INSERT INTO FacturasLibres (NFactura, Fecha, Id_Cli) VALUES (?, '2024-01-01', 1)",
                {n});
        return fi::nextNumber(home.session());
    };
    EXPECT_EQ(next({}), "FL/00001");
    // The last row decides, even when a greater number was stored before it.
    EXPECT_EQ(next({"FL/00009", "FL/00003"}), "FL/00004");
    // A last row of another prefix starts the counter again.
    EXPECT_EQ(next({"FX/00006"}), "FL/00001");
    EXPECT_EQ(next({"FL/99999"}), "FL/100000");
}

TEST(Commissions, NumberFollowsTheNextKeyAndSkipsUsedNumbers) {
    // stored numbers in order, rows deleted from the end afterwards, the next number
    const std::tuple<QStringList, int, const char*> cases[] = {
        {{}, 0, "FC08/03/0001"},
        // A deleted invoice's number does not return.
        {{"FC08/03/0001", "FC08/03/0002"}, 1, "FC08/03/0003"},
        // A number already stored under a lower key is skipped.
        {{"FC08/03/0002"}, 0, "FC08/03/0003"},
    };
    for (const auto& [stored, deletedLast, next] : cases) {
        TempHome home;
        Database& db = home.db();
        for (const QString& n : stored)
            db.insert(
                "INSERT INTO Comisiones (NFactura, Fecha, Id_Cli) VALUES (?, '2008-03-01', 1)",
                {n});
        for (int i = 0; i < deletedLast; ++i)
            db.exec("DELETE FROM Comisiones WHERE Id = (SELECT MAX(Id) FROM Comisiones)");
        EXPECT_EQ(fc::nextNumber(db, QDate(2008, 3, 15)), QString::fromUtf8(next))
            << stored.join(",").toStdString() << " -" << deletedLast;
    }
    EXPECT_EQ(fc::numberText(QDate(2012, 11, 2), 12345), "FC12/11/12345");
}

class BillingReports : public ScreenTest {
  protected:
    void SetUp() override { fillReportFixture(db()); }
};

TEST_F(BillingReports, ReceiptWithAmountInWordsAndPayer) {
    home.session().setToday(QDate(2008, 3, 15));
    db().exec(
        "UPDATE Clientes SET Banco = 'BANCO DE EJEMPLO', Sucursal = '0049', NumeroCuenta = "
        "'0049 1500 05 1234567890' WHERE Id_Cli = 2");
    const auto rows = receipts::rows(home.session(), "30-60 DÍAS", QDate(2008, 3, 15), 5,
                                     Money::fromCents(123457));
    receipts::store(home.session(), QDate(2008, 3, 15), rows,
                    {2, "BANCO DE EJEMPLO", "0049", "0049 1500 05 1234567890"},
                    {"FR08/03/00001", "FV08/03/00002"});
    const qint64 second = db().scalar("SELECT MAX(Id) FROM Recibos").toLongLong();
    const QString text = rendered(home.session(), QString::fromLatin1(receipts::kReportFile),
                                  receipts::reportFormula(second));
    // 1.234,57 / 2 = 617,285: each receipt 617,29, in words as stored with it.
    expectReference("billing", "qarvorecibo", text);
}

// Stored, printed as reviewed, listed and removed; JUAN and MARÍA are the workshop's customers.
TEST_F(BillingReports, CommissionStorePrintListAndRemove) {
    std::vector<DocumentLine> lines = {
        typedLine("COMISION POR INTERMEDIACION EN LA VENTA DE VEHICULO", "1", "100", "0"),
        typedLine("BORRADA", "1", "99", "0"), typedLine("COMISION SEGURO", "2", "50", "50")};
    lines[1].deleted = true;
    const fc::Header h{"FC08/03/0001", QDate(2008, 3, 20), 2, Quantity::whole(15)};
    EXPECT_EQ(fc::store(db(), h, lines), "FC08/03/0001");
    // The number was taken meanwhile: the next free one, of the invoice's month.
    EXPECT_EQ(
        fc::store(db(), {h.number, QDate(2008, 4, 1), 1, {}}, {typedLine("OTRA", "1", "1", "0")}),
        "FC08/04/0002");
    // Every stored amount and line is on the print; the deleted line is not kept.
    expectReference("billing", "qarvofaccomi",
                    rendered(home.session(), QString::fromLatin1(commissions::kReportFile),
                             commissions::reportFormula("FC08/03/0001")));

    SCOPED_TRACE("the list: one row per line, by name or by number");
    const std::tuple<int, const char*, const char*> cases[] = {
        {0, "", "FC08/04/0002,FC08/03/0001,FC08/03/0001"},
        {0, "ju", "FC08/04/0002"},
        {1, "FC08/04", "FC08/04/0002"},
        {1, "'", ""},
    };
    for (const auto& [option, typed, want] : cases) {
        EXPECT_EQ(listed(db(), fc::list(option, QString::fromUtf8(typed))).join(','),
                  QString::fromUtf8(want))
            << option << " " << typed;
    }

    SCOPED_TRACE("deleting takes header and lines together");
    db().exec(
        "CREATE TRIGGER fail_delete BEFORE DELETE ON Comisiones WHEN old.NFactura = "
        "'FC08/04/0002' BEGIN SELECT RAISE(ABORT, 'disco lleno'); END");
    EXPECT_THROW(fc::remove(db(), "FC08/04/0002"), DbError);
    fc::remove(db(), "FC08/03/0001");
    EXPECT_EQ(db().scalar("SELECT group_concat(NFactura) FROM Comisiones").toString(),
              "FC08/04/0002");
    EXPECT_EQ(db().scalar("SELECT group_concat(Concepto) FROM SalidasComisiones").toString(),
              "OTRA");
}

TEST_F(BillingReports, CommissionReprintShowsTheRateItWasMadeWith) {
    // 1,43 at 7 % withholds 0,10, which gives back 6,99 %: the stored rate is printed instead.
    commissions::store(db(), {"FC08/03/0001", QDate(2008, 3, 20), 2, Quantity::whole(7)},
                       {typedLine("COMISION", "1", "1,43", "0")});
    // A row written before the rate was kept: the rate is worked out from its amounts.
    db().exec(
        "INSERT INTO Comisiones (NFactura, Fecha, Id_Cli, Suma, Iva, Retencion, Resto) "
        "VALUES ('FC08/03/0002', '2008-03-21', 2, 200, 32, 30, 202)");
    const std::array<const char*, 3> cases[] = {{"FC08/03/0001", "7 %", "6,99"},
                                                {"FC08/03/0002", "15 %", "7 %"}};
    for (const auto& [number, shown, notShown] : cases) {
        const QString text = rendered(home.session(), QString::fromLatin1(commissions::kReportFile),
                                      commissions::reportFormula(number));
        EXPECT_TRUE(text.contains(QString::fromUtf8(shown))) << number << text.toStdString();
        EXPECT_FALSE(text.contains(QString::fromUtf8(notShown))) << number;
    }
}

TEST_F(BillingReports, FreeInvoiceStorePrintListAndRemove) {
    // Suma 27,00 + 73,00 + 1.234,57 = 1.334,57; VAT 16 % 213,53; discount 5 % of
    // 1.548,10 = 77,41; total 1.470,69.
    std::vector<DocumentLine> lines = {
        typedLine("REVISION GENERAL SEGUN PLAN DEL FABRICANTE", "3", "10", "10"),
        typedLine("BORRADA", "1", "99", "0"), typedLine("ACEITE 5W30", "2", "36,5", "0"),
        typedLine("REPARACION DE CHAPA Y PINTURA DEL PORTON TRASERO CON MATERIALES", "1",
                  "1.234,567", "0")};
    lines[1].deleted = true;
    const fi::Header h{"FL/00001", QDate(2008, 3, 20), 2, Quantity::whole(16), Quantity::whole(5)};
    EXPECT_EQ(fi::store(home.session(), h, lines), "FL/00001");
    // The number was taken meanwhile: the next one is used.
    EXPECT_EQ(fi::store(home.session(), {h.number, QDate(2008, 3, 21), 1, Quantity::whole(16), {}},
                        {typedLine("OTRO", "1", "1", "0")}),
              "FL/00002");
    // Every stored amount and line is on the print; the deleted line is not kept.
    expectReference("billing", "qarvofli",
                    rendered(home.session(), QString::fromLatin1(free_invoices::kReportFile),
                             free_invoices::reportFormula("FL/00001")));

    SCOPED_TRACE("the list: newest first, by name or by number");
    fi::store(home.session(), {"FL/00003", QDate(2008, 1, 1), 2, {}, {}},
              {typedLine("C", "1", "1", "0")});
    // An invoice whose customer is gone is not listed.
    db().insert(
        "INSERT INTO FacturasLibres (NFactura, Fecha, Id_Cli, Total) VALUES ('FL/00009', "
        "'2008-05-01', 999, 1)");
    EXPECT_EQ(listed(db(), fi::list(0, "")), (QStringList{"FL/00002", "FL/00001", "FL/00003"}));
    EXPECT_EQ(listed(db(), fi::list(0, "MAR")), (QStringList{"FL/00001", "FL/00003"}));

    SCOPED_TRACE("deleting removes only that invoice");
    const qint64 first =
        db().scalar("SELECT Id FROM FacturasLibres WHERE NFactura = 'FL/00001'").toLongLong();
    fi::remove(db(), first);
    EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM FacturasLibres").toInt(), 3);
    EXPECT_EQ(db().scalar("SELECT group_concat(Concepto) FROM SalidasLibres").toString(), "OTRO,C");
}

}  // namespace
