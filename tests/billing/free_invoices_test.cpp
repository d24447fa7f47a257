#include "billing/free_invoices.h"

#include <gtest/gtest.h>

#include "billing_fixture.h"
#include "core/session.h"
#include "support/temp_home.h"

using namespace torvane;
using namespace torvane::testing;
namespace fi = torvane::free_invoices;

namespace {

Quantity rate(const char* text) {
    return *fi::readRate(QString::fromUtf8(text));
}

DocumentLine line(const char* text, const char* units, const char* price, const char* dto) {
    const fi::LineEntry e = fi::readLine(QString::fromUtf8(text), QString::fromUtf8(units),
                                         QString::fromUtf8(price), QString::fromUtf8(dto));
    EXPECT_TRUE(e.line.has_value()) << e.error.toStdString();
    return e.line.value_or(DocumentLine{});
}

TEST(FreeInvoices, TotalsInTheirOrder) {
    struct Case {
        double suma;
        const char *vat, *dto;
        const char *iva, *descuento, *nominal, *total;
    };
    const Case cases[] = {
        {100, "16", "5", "16,00", "5,80", "94,20", "110,20"},
        {100, "16", "0", "16,00", "0,00", "100,00", "116,00"},
        {100, "0", "10", "0,00", "10,00", "90,00", "90,00"},
        {0, "16", "5", "0,00", "0,00", "0,00", "0,00"},
        // Halves away from zero: 10,05 × 10 % = 1,005; (10,05 + 1,01) × 5 % = 0,553.
        {10.05, "10", "5", "1,01", "0,55", "9,50", "10,51"},
        {0.05, "10", "0", "0,01", "0,00", "0,05", "0,06"},
        // A rate with decimals.
        {200, "7,5", "2,5", "15,00", "5,38", "194,62", "209,62"},
    };
    for (const Case& c : cases) {
        const fi::Totals t = fi::computeTotals(eur(c.suma), rate(c.vat), rate(c.dto));
        const QString got =
            QStringList{t.iva.format(), t.descuento.format(), t.nominal.format(), t.total.format()}
                .join(" / ");
        const QString want = QStringList{c.iva, c.descuento, c.nominal, c.total}.join(" / ");
        EXPECT_EQ(got, want) << c.suma << " " << c.vat << " " << c.dto;
        EXPECT_EQ(t.suma, eur(c.suma));
    }
}

TEST(FreeInvoices, RatesAndLinesAsTyped) {
    EXPECT_EQ(fi::readRate(""), Quantity());
    EXPECT_EQ(fi::readRate("16"), Quantity::whole(16));
    EXPECT_FALSE(fi::readRate("1,6,"));

    struct Case {
        const char *text, *units, *price, *dto;
        const char* error;   // empty: accepted
        const char* amount;  // of the accepted line
    };
    const Case cases[] = {
        {"REVISION", "3", "10", "10", "", "27,00"},
        {"REVISION", "3", "10,00", "0", "", "30,00"},
        {"PINTURA", "2", "12,345", "0", "", "24,69"},
        {"PINTURA", "1", "1.234,50", "50", "", "617,25"},
        {"", "3", "10", "0", "Debe completar todos los campos", ""},
        {"   ", "3", "10", "0", "Debe completar todos los campos", ""},
        {"X", "", "10", "0", "Debe completar todos los campos", ""},
        {"X", "3", "", "0", "Debe completar todos los campos", ""},
        {"X", "3", "10", "", "Debe completar todos los campos", ""},
        {"X", "3", ",,", "0", "El precio por unidad no es un importe válido", ""},
    };
    for (const Case& c : cases) {
        const fi::LineEntry e = fi::readLine(QString::fromUtf8(c.text), QString::fromUtf8(c.units),
                                             QString::fromUtf8(c.price), QString::fromUtf8(c.dto));
        EXPECT_EQ(e.error, QString::fromUtf8(c.error)) << c.text << c.price;
        EXPECT_EQ(e.line.has_value(), e.error.isEmpty());
        if (e.line) {
            EXPECT_EQ(e.line->amount().format(), QString::fromUtf8(c.amount));
        }
    }
}

TEST(FreeInvoices, NumberFollowsTheLastRowOfTheTable) {
    struct Case {
        QStringList stored;  // in insertion order
        const char* next;
    };
    const Case cases[] = {
        {{}, "FL/00001"},
        {{"FL/00007"}, "FL/00008"},
        {{"FL/00001", "FL/00002", "FL/00007"}, "FL/00008"},
        // The last row decides, even when a greater number was stored before it.
        {{"FL/00009", "FL/00003"}, "FL/00004"},
        // A last row of another prefix starts the counter again.
        {{"FL/00005", "FX/00006"}, "FL/00001"},
        {{"FL/99999"}, "FL/100000"},
    };
    for (const Case& c : cases) {
        TempHome home;
        for (const QString& n : c.stored)
            home.db().insert(
                "INSERT INTO FacturasLibres (NFactura, Fecha, Id_Cli) VALUES (?, '2024-01-01', 1)",
                {n});
        EXPECT_EQ(fi::nextNumber(home.session()), QString::fromUtf8(c.next))
            << c.stored.join(",").toStdString();
    }
}

TEST(FreeInvoices, InvoicingStoresLinesAndHeaderTogether) {
    TempHome home;
    Database& db = home.db();
    const qint64 cli = addClient(db, "GARCIA");
    std::vector<DocumentLine> lines = {line("REVISION", "3", "10", "10"),
                                       line("BORRADA", "1", "99", "0"),
                                       line("ACEITE", "2", "36,5", "0")};
    lines[1].deleted = true;
    const fi::Header h{"FL/00001", QDate(2024, 3, 5), cli, Quantity::whole(16), Quantity::whole(5)};
    EXPECT_EQ(fi::store(home.session(), h, lines), "FL/00001");

    // Suma 27 + 73 = 100: VAT 16,00, discount 5,80, total 110,20.
    EXPECT_EQ(db.scalar("SELECT Fecha || ' ' || Id_Cli || ' ' || Suma || ' ' || Iva || ' ' || "
                        "Descuento || ' ' || Total || ' ' || Dto || ' ' || TipoIva "
                        "FROM FacturasLibres")
                  .toString(),
              QStringLiteral("2024-03-05 %1 100.0 16.0 5.8 110.2 5.0 16.0").arg(cli));

    QStringList stored;
    for (const Row& r : db.rows("SELECT * FROM SalidasLibres ORDER BY Id"))
        stored << QStringLiteral("%1 %2 %3x%4-%5=%6")
                      .arg(r.value("NFactura").toString(), r.value("Concepto").toString(),
                           r.value("Unidades").toString(),
                           Money::fromDb(r.value("Precio")).format(), r.value("Dto").toString(),
                           Money::fromDb(r.value("Importe")).format());
    EXPECT_EQ(stored, (QStringList{"FL/00001 REVISION 3x10,00-10=27,00",
                                   "FL/00001 ACEITE 2x36,50-0=73,00"}));

    // The number was taken meanwhile: the next one is used.
    EXPECT_EQ(fi::store(home.session(), h, {line("OTRA", "1", "5", "0")}), "FL/00002");
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM SalidasLibres WHERE NFactura = 'FL/00002'").toInt(),
              1);
}

TEST(FreeInvoices, AFailingHeaderLeavesNoLines) {
    TempHome home;
    Database& db = home.db();
    db.exec(
        "CREATE TRIGGER fail_header BEFORE INSERT ON FacturasLibres "
        "BEGIN SELECT RAISE(ABORT, 'disco lleno'); END");
    const fi::Header h{"FL/00001", QDate(2024, 3, 5), 1, Quantity::whole(16), Quantity()};
    EXPECT_THROW(fi::store(home.session(), h, {line("A", "1", "1", "0"), line("B", "1", "1", "0")}),
                 DbError);
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM SalidasLibres").toInt(), 0);
}

TEST(FreeInvoices, DeletingRemovesOnlyThatInvoice) {
    TempHome home;
    Database& db = home.db();
    const qint64 cli = addClient(db, "GARCIA");
    const fi::Header a{"FL/00001", QDate(2024, 3, 5), cli, Quantity::whole(16), Quantity()};
    const fi::Header b{"FL/00002", QDate(2024, 3, 6), cli, Quantity::whole(16), Quantity()};
    fi::store(home.session(), a, {line("A", "1", "1", "0"), line("B", "1", "1", "0")});
    fi::store(home.session(), b, {line("C", "1", "1", "0")});
    const qint64 idA =
        db.scalar("SELECT Id FROM FacturasLibres WHERE NFactura = 'FL/00001'").toLongLong();
    fi::remove(db, idA);
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM FacturasLibres").toInt(), 1);
    EXPECT_EQ(db.scalar("SELECT group_concat(Concepto) FROM SalidasLibres").toString(), "C");
    // Deleting it again changes nothing.
    fi::remove(db, idA);
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM SalidasLibres").toInt(), 1);
}

TEST(FreeInvoices, ListSearchesByNameOrNumber) {
    TempHome home;
    Database& db = home.db();
    const qint64 garcia = addClient(db, "GARCIA", "0001");
    const qint64 lopez = addClient(db, "LOPEZ", "0002");
    const struct {
        const char* number;
        const char* iso;
        qint64 cli;
    } invoices[] = {{"FL/00001", "2024-01-01", garcia},
                    {"FL/00002", "2024-03-01", lopez},
                    {"FL/00003", "2024-02-01", garcia}};
    for (const auto& i : invoices)
        db.insert(
            "INSERT INTO FacturasLibres (NFactura, Fecha, Id_Cli, Total) VALUES (?, ?, ?, 10)",
            {i.number, i.iso, i.cli});
    // An invoice whose customer is gone is not listed.
    db.insert(
        "INSERT INTO FacturasLibres (NFactura, Fecha, Id_Cli, Total) VALUES ('FL/00009', "
        "'2024-05-01', 999, 1)");
    struct Case {
        int option;
        const char* typed;
        QStringList numbers;
    };
    const Case cases[] = {
        {0, "", {"FL/00002", "FL/00003", "FL/00001"}},
        {0, "G", {"FL/00003", "FL/00001"}},
        {0, "lop", {"FL/00002"}},
        {1, "FL/0000", {"FL/00002", "FL/00003", "FL/00001"}},
        {1, "X", {}},
    };
    for (const Case& c : cases) {
        const SqlStatement s = fi::list(c.option, QString::fromUtf8(c.typed));
        QStringList got;
        for (const Row& r : db.rows(s.sql, s.params)) got << r.value("NFactura").toString();
        EXPECT_EQ(got, c.numbers) << c.option << " " << c.typed;
    }
}

}  // namespace
