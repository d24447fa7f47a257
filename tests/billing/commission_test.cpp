#include "billing/commissions.h"

#include <gtest/gtest.h>

#include "billing/free_invoices.h"
#include "billing_fixture.h"
#include "support/temp_home.h"

using namespace torvane;
using namespace torvane::testing;
namespace fc = torvane::commissions;

namespace {

DocumentLine line(const char* text, const char* units, const char* price, const char* dto) {
    const auto e = free_invoices::readLine(QString::fromUtf8(text), QString::fromUtf8(units),
                                           QString::fromUtf8(price), QString::fromUtf8(dto));
    EXPECT_TRUE(e.line.has_value()) << e.error.toStdString();
    return e.line.value_or(DocumentLine{});
}

}  // namespace

TEST(Commissions, TotalsWithWithholding) {
    struct Case {
        double suma;
        const char* rate;  // as typed; empty is 0
        const char *iva, *retencion, *resto;
    };
    const Case cases[] = {
        {150, "15", "24,00", "22,50", "151,50"},
        {150, "", "24,00", "0,00", "174,00"},
        {150, "0", "24,00", "0,00", "174,00"},
        {0, "15", "0,00", "0,00", "0,00"},
        // Halves away from zero: 0,03 × 16 % = 0,0048; 10,05 × 15 % = 1,5075.
        {0.03, "0", "0,00", "0,00", "0,03"},
        {10.05, "15", "1,61", "1,51", "10,15"},
        {99.97, "7", "16,00", "7,00", "108,97"},
        {100, "7,5", "16,00", "7,50", "108,50"},
    };
    for (const Case& c : cases) {
        const auto rate = free_invoices::readRate(QString::fromUtf8(c.rate));
        ASSERT_TRUE(rate.has_value()) << c.rate;
        const fc::Totals t = fc::computeTotals(eur(c.suma), Quantity::whole(16), *rate);
        EXPECT_EQ(QStringList({t.iva.format(), t.retencion.format(), t.resto.format()}).join(" / "),
                  QStringList({c.iva, c.retencion, c.resto}).join(" / "))
            << c.suma << " " << c.rate;
        EXPECT_EQ(t.suma, eur(c.suma));
    }
}

TEST(Commissions, NumberFollowsTheNextKeyAndSkipsUsedNumbers) {
    struct Case {
        QStringList stored;  // inserted in order
        int deletedLast;     // rows deleted from the end afterwards
        const char* next;
    };
    const Case cases[] = {
        {{}, 0, "FC08/03/0001"},
        {{"FC08/03/0001", "FC08/03/0002"}, 0, "FC08/03/0003"},
        // A deleted invoice's number does not return.
        {{"FC08/03/0001", "FC08/03/0002"}, 1, "FC08/03/0003"},
        // A number already stored under a lower key is skipped.
        {{"FC08/03/0002"}, 0, "FC08/03/0003"},
        {{"FC08/03/0001", "FC08/03/0002", "FC08/03/0003"}, 3, "FC08/03/0004"},
        {{"FC08/03/0002", "FC08/03/0003", "X"}, 0, "FC08/03/0004"},
    };
    for (const Case& c : cases) {
        TempHome home;
        Database& db = home.db();
        for (const QString& n : c.stored)
            db.insert(
                "INSERT INTO Comisiones (NFactura, Fecha, Id_Cli) VALUES (?, '2008-03-01', 1)",
                {n});
        for (int i = 0; i < c.deletedLast; ++i)
            db.exec("DELETE FROM Comisiones WHERE Id = (SELECT MAX(Id) FROM Comisiones)");
        EXPECT_EQ(fc::nextNumber(db, QDate(2008, 3, 15)), QString::fromUtf8(c.next))
            << c.stored.join(",").toStdString() << " -" << c.deletedLast;
    }
    EXPECT_EQ(fc::numberText(QDate(2012, 11, 2), 12345), "FC12/11/12345");
}

TEST(Commissions, SavingWritesHeaderAndLinesTogether) {
    TempHome home;
    Database& db = home.db();
    const qint64 cli = addClient(db, "GARCIA");
    std::vector<DocumentLine> lines = {line("COMISION A", "1", "100", "0"),
                                       line("BORRADA", "1", "99", "0"),
                                       line("COMISION B", "2", "50", "50")};
    lines[1].deleted = true;
    const fc::Header h{"FC08/03/0001", QDate(2008, 3, 15), cli, Quantity::whole(15)};
    EXPECT_EQ(fc::store(db, h, lines), "FC08/03/0001");
    EXPECT_EQ(db.scalar("SELECT NFactura || ' ' || Fecha || ' ' || Id_Cli || ' ' || Suma || ' ' || "
                        "Iva || ' ' || Retencion || ' ' || Resto FROM Comisiones")
                  .toString(),
              QStringLiteral("FC08/03/0001 2008-03-15 %1 150.0 24.0 22.5 151.5").arg(cli));
    EXPECT_EQ(db.scalar("SELECT group_concat(Concepto || '=' || Total, ';') FROM "
                        "(SELECT * FROM SalidasComisiones WHERE NFactura = 'FC08/03/0001' "
                        "ORDER BY Id)")
                  .toString(),
              "COMISION A=100.0;COMISION B=50.0");
    // The number was taken meanwhile: the next free one.
    EXPECT_EQ(fc::store(db, h, {line("C", "1", "1", "0")}), "FC08/03/0002");
}

TEST(Commissions, AFailingHeaderLeavesNoLinesAndDeletingTakesBoth) {
    TempHome home;
    Database& db = home.db();
    const qint64 cli = addClient(db, "GARCIA");
    const fc::Header a{"FC08/03/0001", QDate(2008, 3, 15), cli, {}};
    const fc::Header b{"FC08/03/0002", QDate(2008, 3, 16), cli, {}};
    fc::store(db, a, {line("A1", "1", "1", "0"), line("A2", "1", "1", "0")});
    fc::store(db, b, {line("B1", "1", "1", "0")});

    db.exec(
        "CREATE TRIGGER fail_header BEFORE INSERT ON Comisiones "
        "BEGIN SELECT RAISE(ABORT, 'disco lleno'); END");
    const fc::Header c{"FC08/03/0003", QDate(2008, 3, 16), cli, {}};
    EXPECT_THROW(fc::store(db, c, {line("C1", "1", "1", "0")}), DbError);
    db.exec(
        "CREATE TRIGGER fail_delete BEFORE DELETE ON Comisiones WHEN old.NFactura = "
        "'FC08/03/0002' BEGIN SELECT RAISE(ABORT, 'disco lleno'); END");
    EXPECT_THROW(fc::remove(db, "FC08/03/0002"), DbError);
    fc::remove(db, "FC08/03/0001");
    EXPECT_EQ(db.scalar("SELECT group_concat(NFactura) FROM Comisiones").toString(),
              "FC08/03/0002");
    EXPECT_EQ(db.scalar("SELECT group_concat(Concepto) FROM SalidasComisiones").toString(), "B1");
}

TEST(Commissions, ListOneRowPerLineByNameOrNumber) {
    TempHome home;
    Database& db = home.db();
    const qint64 garcia = addClient(db, "GARCIA", "0001");
    const qint64 lopez = addClient(db, "LOPEZ", "0002");
    fc::store(db, {"FC08/03/0001", QDate(2008, 3, 1), garcia, {}},
              {line("A", "1", "1", "0"), line("B", "1", "1", "0"), line("C", "1", "1", "0")});
    fc::store(db, {"FC08/04/0002", QDate(2008, 4, 1), lopez, {}}, {line("D", "1", "1", "0")});
    struct Case {
        int option;
        const char* typed;
        const char* want;
    };
    const Case cases[] = {
        {0, "", "FC08/04/0002,FC08/03/0001,FC08/03/0001,FC08/03/0001"},
        {0, "lop", "FC08/04/0002"},
        {0, "%", "FC08/04/0002,FC08/03/0001,FC08/03/0001,FC08/03/0001"},
        {1, "FC08/04", "FC08/04/0002"},
        {1, "GAR", ""},
        {1, "'", ""},
    };
    for (const Case& c : cases) {
        const SqlStatement s = fc::list(c.option, QString::fromUtf8(c.typed));
        QStringList got;
        for (const Row& r : db.rows(s.sql, s.params)) got << r.value("NFactura").toString();
        EXPECT_EQ(got.join(','), QString::fromUtf8(c.want)) << c.option << " " << c.typed;
    }
}
