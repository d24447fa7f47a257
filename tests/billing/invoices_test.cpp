// The free and the commission invoices: totals, numbers, storing, listing and removing; and the
// printed receipt, commission and free invoices, compared with reviewed texts.
#include <gtest/gtest.h>

#include <array>

#include "billing/commissions.h"
#include "billing/free_invoices.h"
#include "billing/receipts.h"
#include "billing_fixture.h"
#include "core/session.h"
#include "reports/report_fixture.h"
#include "support/temp_home.h"
#include "support/typed_numbers.h"

using namespace torvane;
using namespace torvane::testing;
namespace fi = torvane::free_invoices;
namespace fc = torvane::commissions;

namespace {

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

class BillingReports : public ::testing::Test {
  protected:
    void SetUp() override { fillReportFixture(db()); }
    Database& db() { return home.db(); }
    TempHome home;
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
    const std::tuple<int, const char*, QStringList> cases[] = {
        {0, "", {"FL/00002", "FL/00001", "FL/00003"}},
        {0, "MAR", {"FL/00001", "FL/00003"}},
    };
    for (const auto& [option, typed, numbers] : cases) {
        EXPECT_EQ(listed(db(), fi::list(option, QString::fromUtf8(typed))), numbers)
            << option << " " << typed;
    }

    SCOPED_TRACE("deleting removes only that invoice");
    const qint64 first =
        db().scalar("SELECT Id FROM FacturasLibres WHERE NFactura = 'FL/00001'").toLongLong();
    fi::remove(db(), first);
    EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM FacturasLibres").toInt(), 3);
    EXPECT_EQ(db().scalar("SELECT group_concat(Concepto) FROM SalidasLibres").toString(), "OTRO,C");
    fi::remove(db(), first);  // again: nothing changes
    EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM SalidasLibres").toInt(), 2);
}

}  // namespace
