// The printed receipt, commission and free invoices over a fixed workshop, compared with
// reviewed texts.
#include <gtest/gtest.h>

#include <array>

#include "billing/commissions.h"
#include "billing/free_invoices.h"
#include "billing/receipts.h"
#include "billing_fixture.h"
#include "reports/report_fixture.h"
#include "support/temp_home.h"

using namespace torvane;
using namespace torvane::testing;

namespace {

DocumentLine typed(const char* text, const char* units, const char* price, const char* dto) {
    return *free_invoices::readLine(QString::fromUtf8(text), QString::fromUtf8(units),
                                    QString::fromUtf8(price), QString::fromUtf8(dto))
                .line;
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
    // The words as stored with the receipt; 1.234,57 / 2 = 617,285: each receipt 617,29.
    const QString words =
        db().scalar("SELECT ImporteLetras FROM Recibos WHERE Id = ?", {second}).toString();
    EXPECT_TRUE(words.startsWith("Seiscientos")) << words.toStdString();
    EXPECT_TRUE(text.contains(words)) << text.toStdString();
    expectReference("billing", "qarvorecibo", text);
}

TEST_F(BillingReports, CommissionInvoiceWithWithholding) {
    commissions::store(
        db(), {"FC08/03/0001", QDate(2008, 3, 20), 2, Quantity::whole(15)},
        {typed("COMISION POR INTERMEDIACION EN LA VENTA DE VEHICULO", "1", "100", "0"),
         typed("COMISION SEGURO", "2", "50", "50")});
    commissions::store(db(), {"FC08/03/0002", QDate(2008, 3, 21), 1, {}},
                       {typed("OTRA", "1", "1", "0")});
    expectReference("billing", "qarvofaccomi",
                    rendered(home.session(), QString::fromLatin1(commissions::kReportFile),
                             commissions::reportFormula("FC08/03/0001")));
}

TEST_F(BillingReports, CommissionReprintShowsTheRateItWasMadeWith) {
    // 1,43 at 7 % withholds 0,10, which gives back 6,99 %: the stored rate is printed instead.
    commissions::store(db(), {"FC08/03/0001", QDate(2008, 3, 20), 2, Quantity::whole(7)},
                       {typed("COMISION", "1", "1,43", "0")});
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

TEST_F(BillingReports, FreeInvoiceWithCompanyCustomerLinesAndTotals) {
    // Suma 27,00 + 73,00 + 1.234,57 = 1.334,57; VAT 16 % 213,53; discount 5 % of
    // 1.548,10 = 77,41; total 1.470,69.
    free_invoices::store(
        home.session(),
        {"FL/00001", QDate(2008, 3, 20), 2, Quantity::whole(16), Quantity::whole(5)},
        {typed("REVISION GENERAL SEGUN PLAN DEL FABRICANTE", "3", "10", "10"),
         typed("ACEITE 5W30", "2", "36,5", "0"),
         typed("REPARACION DE CHAPA Y PINTURA DEL PORTON TRASERO CON MATERIALES", "1", "1.234,567",
               "0")});
    // Another invoice that must not be printed.
    free_invoices::store(home.session(),
                         {"FL/00002", QDate(2008, 3, 21), 1, Quantity::whole(16), {}},
                         {typed("OTRO", "1", "1", "0")});
    expectReference("billing", "qarvofli",
                    rendered(home.session(), QString::fromLatin1(free_invoices::kReportFile),
                             free_invoices::reportFormula("FL/00001")));
}

}  // namespace
