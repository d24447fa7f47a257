#include "billing/receipts.h"

#include <gtest/gtest.h>

#include "billing_fixture.h"
#include "core/session.h"
#include "support/temp_home.h"

using namespace torvane;
using namespace torvane::testing;
namespace rc = torvane::receipts;

namespace {

QDate dmy(const char* text) {
    return QDate::fromString(QString::fromUtf8(text), QStringLiteral("dd/MM/yyyy"));
}

QString joinRows(const std::vector<rc::Row>& rows) {
    QStringList out;
    for (const rc::Row& r : rows)
        out << r.number + QLatin1Char(' ') + r.due + QLatin1Char(' ') + r.amount.format();
    return out.join(QStringLiteral(" | "));
}

}  // namespace

TEST(Receipts, EveryTermsSplitsAndDates) {
    struct Case {
        const char* terms;
        const char* issue;
        int day;
        double total;
        const char* want;  // numbers start after none stored in March 2008
    };
    const Case cases[] = {
        {"A LA VISTA", "15/01/2008", 15, 100, "08/03/00001 15/01/2008 100,00"},
        {"30 DÍAS", "15/01/2008", 5, 100, "08/03/00001 5/02/2008 100,00"},
        {"45 DÍAS", "15/01/2008", 5, 100, "08/03/00001 5/02/2008 100,00"},
        {"60 DÍAS", "15/01/2008", 5, 100, "08/03/00001 5/03/2008 100,00"},
        {"90 DÍAS", "15/01/2008", 10, 100, "08/03/00001 10/04/2008 100,00"},
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
        {"30 DÍAS", "31/03/2008", 31, 10, "08/03/00001 30/04/2008 10,00"},
        {"30 DÍAS", "29/01/2007", 31, 10, "08/03/00001 28/02/2007 10,00"},
        // Unknown terms give no rows.
        {"15 DÍAS", "15/01/2008", 5, 100, ""},
        {"", "15/01/2008", 5, 100, ""},
    };
    TempHome home;
    home.session().setToday(QDate(2008, 3, 15));
    for (const Case& c : cases) {
        const auto rows =
            rc::rows(home.session(), QString::fromUtf8(c.terms), dmy(c.issue), c.day, eur(c.total));
        EXPECT_EQ(joinRows(rows), QString::fromUtf8(c.want)) << c.terms << " " << c.issue;
    }
    EXPECT_EQ(rc::termsNames().size(), 8);
    for (const QString& t : rc::termsNames())
        EXPECT_TRUE(rc::dueDays(t).has_value()) << t.toStdString();
}

TEST(Receipts, PaymentDayAsTyped) {
    struct Case {
        const char* typed;
        const char* issue;
        int want;  // 0: refused
    };
    const Case cases[] = {
        {"", "20/03/2008", 20},  {"0", "20/03/2008", 20},  {"  ", "07/03/2008", 7},
        {"5", "20/03/2008", 5},  {"31", "20/03/2008", 31}, {"1", "20/03/2008", 1},
        {"32", "20/03/2008", 0}, {"99", "20/03/2008", 0},  {"-1", "20/03/2008", 0},
        {"a", "20/03/2008", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(rc::readPaymentDay(QString::fromUtf8(c.typed), dmy(c.issue)).value_or(0), c.want)
            << c.typed;
}

TEST(Receipts, StoringWritesEveryRowWithWordsAndNextNumbers) {
    TempHome home;
    Database& db = home.db();
    home.session().setToday(QDate(2008, 3, 15));
    const qint64 cli = addClient(db, "GARCIA");
    // The next number follows the greatest stored, whatever the order they were stored in.
    db.insert(
        "INSERT INTO Recibos (NRecibo, Fecha, Id_cli) VALUES ('08/03/00007', '2008-03-01', ?), "
        "('08/03/00002', '2008-03-02', ?)",
        {cli, cli});
    const auto rows = rc::rows(home.session(), "30-60-90 DÍAS", QDate(2008, 3, 15), 5, eur(100));
    ASSERT_EQ(rows.size(), 3u);
    const rc::Payer payer{cli, "BANCO X", "0001", "1234"};
    const QStringList numbers =
        rc::store(home.session(), QDate(2008, 3, 15), rows, payer, {"FR08/03/00001", "FV1"});
    EXPECT_EQ(numbers, (QStringList{"08/03/00008", "08/03/00009", "08/03/00010"}));

    QStringList stored;
    for (const Row& r :
         db.rows("SELECT NRecibo || ';' || Fecha || ';' || Vto || ';' || Importe || ';' || Banco "
                 "|| ';' || Sucursal || ';' || NCuenta || ';' || ImporteLetras || ';' || NFactura "
                 "AS R FROM Recibos WHERE Id > 2 ORDER BY Id"))
        stored << r.value("R").toString();
    const QString tail = QStringLiteral(
        ";33.33;BANCO X;0001;1234;Treinta y Tres  Euros con Treinta y Tres  centimos;"
        "FR08/03/00001, FV1");
    EXPECT_EQ(stored, (QStringList{"08/03/00008;2008-03-15;5/04/2008" + tail,
                                   "08/03/00009;2008-03-15;5/05/2008" + tail,
                                   "08/03/00010;2008-03-15;5/06/2008" + tail}));

    // Storing the same rows again draws new numbers.
    EXPECT_EQ(rc::store(home.session(), QDate(2008, 3, 15), rows, payer, {}).first(),
              "08/03/00011");
    EXPECT_TRUE(rc::anyInReceipts(db, {"X", "FV1"}));
    EXPECT_TRUE(rc::anyInReceipts(db, {"FR08/03/00001"}));
    EXPECT_FALSE(rc::anyInReceipts(db, {"FV"}));
    EXPECT_FALSE(rc::anyInReceipts(db, {"FR08/03/0000_"}));
}

TEST(Receipts, AFailingRowLeavesNoReceipt) {
    TempHome home;
    Database& db = home.db();
    // The third insert fails.
    db.exec(
        "CREATE TRIGGER fail_third BEFORE INSERT ON Recibos WHEN (SELECT COUNT(*) FROM Recibos) = "
        "2 "
        "BEGIN SELECT RAISE(ABORT, 'disco lleno'); END");
    const auto rows = rc::rows(home.session(), "30-60-90 DÍAS", QDate(2008, 3, 15), 5, eur(90));
    EXPECT_THROW(rc::store(home.session(), QDate(2008, 3, 15), rows, rc::Payer{1, {}, {}, {}}, {}),
                 DbError);
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM Recibos").toInt(), 0);
}

TEST(Receipts, UnpaidInvoicesOnePerInvoice) {
    TempHome home;
    Database& db = home.db();
    const qint64 garcia = addClient(db, "GARCIA", "0001");
    const qint64 lopez = addClient(db, "LOPEZ", "0002");
    addWorkOrderInvoice(db, "FR1", "2024-01-02", garcia, eur(100), {}, 3);
    addWorkOrderInvoice(db, "FR2", "2024-01-03", garcia, eur(50), eur(50));
    addWorkOrderInvoice(db, "FR3", "2024-01-04", lopez, eur(70));
    addPartsInvoice(db, "FV1", "2024-01-05", garcia, eur(30), {eur(10), eur(20)});
    addPartsInvoice(db, "FV2", "2024-01-06", garcia, eur(40), {eur(40)}, eur(5));
    addPartsInvoice(db, "FV3", "2024-01-07", lopez, eur(9), {eur(9)});
    const auto numbers = [&](const SqlStatement& s) {
        QStringList out;
        for (const Row& r : db.rows(s.sql, s.params))
            out << r.value("NFactura").toString() + QLatin1Char('=') +
                       Money::fromDb(r.value("Importe")).format();
        return out;
    };
    EXPECT_EQ(numbers(rc::unpaidWorkOrderInvoices(garcia)), QStringList{"FR1=100,00"});
    EXPECT_EQ(numbers(rc::unpaidPartsInvoices(garcia)), QStringList{"FV1=30,00"});
    EXPECT_EQ(numbers(rc::unpaidWorkOrderInvoices(lopez)), QStringList{"FR3=70,00"});
}

TEST(Receipts, ListAndDelete) {
    TempHome home;
    Database& db = home.db();
    const qint64 cli = addClient(db, "GARCIA");
    const qint64 a = db.insert(
        "INSERT INTO Recibos (NRecibo, Fecha, Id_cli, Importe) VALUES ('R1', '2008-01-01', ?, 1)",
        {cli});
    db.insert(
        "INSERT INTO Recibos (NRecibo, Fecha, Id_cli, Importe) VALUES ('R2', '2008-02-01', ?, 2)",
        {cli});
    // A receipt whose customer is gone is not listed.
    db.insert(
        "INSERT INTO Recibos (NRecibo, Fecha, Id_cli, Importe) VALUES ('R3', '2008-03-01', 99, 3)");
    const auto listed = [&] {
        QStringList out;
        const SqlStatement s = rc::list();
        for (const Row& r : db.rows(s.sql, s.params)) out << r.value("NRecibo").toString();
        return out;
    };
    EXPECT_EQ(listed(), (QStringList{"R2", "R1"}));
    EXPECT_EQ(rc::reportFormula(a), QStringLiteral("{Recibos.id}=%1").arg(a));
    EXPECT_TRUE(rc::remove(db, a));
    EXPECT_FALSE(rc::remove(db, a));
    EXPECT_EQ(listed(), QStringList{"R2"});
}
