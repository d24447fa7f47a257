// The configured VAT rate reaches every invoice the program makes, to the exact cent.
#include <gtest/gtest.h>

#include "billing/billing_fixture.h"
#include "billing/commissions.h"
#include "billing/fact_libres.h"
#include "billing/free_invoices.h"
#include "data/database.h"
#include "reports/report_fixture.h"
#include "sales/sales_list.h"
#include "support/screen_helpers.h"
#include "support/temp_home.h"
#include "support/test_services.h"
#include "support/typed_numbers.h"
#include "tow/partes_grua.h"
#include "tow/tow_reports.h"
#include "verifactu/settings.h"
#include "workorders/work_order_invoicing.h"

using namespace torvane;
using namespace torvane::testing;
namespace vf = torvane::verifactu;

namespace {

void setRate(Database& db, const char* rate) {
    vf::SettingsInput in = vf::inputOf(vf::loadSettings(db));
    in.vatRate = QString::fromUtf8(rate);
    ASSERT_EQ(vf::save(db, in), QString());
}

}  // namespace

// Each base falls on half a cent at 21 % (2,625), so rounding half away from zero shows:
// every kind of invoice comes to 15,13.
TEST(VatRateEverywhere, EveryKindOfInvoice) {
    TempHome home;
    Database& db = home.db();
    const QDate day(2026, 12, 7);
    home.session().setToday(day);
    const qint64 customer = db.insert(
        "INSERT INTO Clientes (Codigo, Nombre, NIF) VALUES ('0001', 'GARCIA', '12345678Z')");
    setRate(db, "21");
    const QVariant base = euros("12,50").toDb();
    DocumentLine line;
    line.description = QStringLiteral("CONCEPTO");
    line.units = Quantity::whole(1);
    line.price = euros("12,50");
    const auto total = [&](const char* sql, const QString& number) {
        return Money::fromDb(db.scalar(QString::fromUtf8(sql), {number})).format();
    };

    const qint64 id = db.insert(
        "INSERT INTO ODTS (NODT, Fecha, Id_Cli, Kilometros, NAlbaran, NFactura, Nominal, "
        "Interna) VALUES ('ODT/1', '2026-12-07', ?, 1000, 'No', 'No', ?, 'No')",
        {customer, base});
    const invoicing::Result r = invoicing::invoiceFromList(
        home.session(), {.workOrderId = id, .number = "FR26/12/00001", .date = day});
    ASSERT_TRUE(r) << r.refusal.toStdString();
    EXPECT_EQ(total("SELECT Importe FROM FacturasODT WHERE NFactura = ?", "FR26/12/00001"),
              "15,13");

    // Numbered apart from the tow invoices, which take the next free number of the month.
    db.insert(
        "INSERT INTO Albaranes (Id_Alb, Fecha, Id_Cli, NFactura, Suma, Nominal, IVA, Total) "
        "VALUES ('AL26/12/00001', '2026-12-07', ?, 'No', ?, ?, 0, ?)",
        {customer, base, base, base});
    ASSERT_EQ(
        sales::invoiceEach(home.session(), {"AL26/12/00001"}, "FV26/11/00001", day, false, {}),
        QStringList{"FV26/11/00001"});
    EXPECT_EQ(total("SELECT Total FROM Facturas WHERE Id_Fac = ?", "FV26/11/00001"), "15,13");

    // The free invoice screen proposes the rate in force.
    TestServices services;
    FactLibres libre(home.session(), services, customer);
    const QString fl =
        free_invoices::store(home.session(),
                             {"FL26/12/00001", day, customer,
                              *free_invoices::readRate(textOf(&libre, "TxtTiva")), Quantity()},
                             {line});
    EXPECT_EQ(total("SELECT Total FROM FacturasLibres WHERE NFactura = ?", fl), "15,13");

    const QString fc = commissions::store(
        db, {commissions::nextNumber(db, day), day, customer, Quantity()}, {line});
    EXPECT_EQ(total("SELECT Resto FROM Comisiones WHERE NFactura = ?", fc), "15,13");

    // A new tow report proposes the rate in force; the report keeps it.
    PartesGrua towForm(home.session(), services, false);
    db.insert("INSERT INTO Partes (NParte, Fecha, NFactura, IVA) VALUES (?, '2026-12-07', 'No', ?)",
              {"PG26/12/00001", vf::readRate(textOf(&towForm, "Text1_24")).rate->toDb()});
    tow::appendLine(
        db, "PG26/12/00001",
        {QStringLiteral("SERVICIO"), Quantity::whole(1), euros("12,50"), euros("12,50")});
    EXPECT_EQ(total("SELECT Total FROM Facturas WHERE Id_Fac = ?",
                    tow::invoice(home.session(), "PG26/12/00001")),
              "15,13");
}

// The delivery note is computed when printed, at the rate in force (the fixture's note: base
// 145,65); an invoice keeps its amounts and its caption names the rate that gives its VAT.
TEST(VatRatePrinted, NoteAtTheRateInForceInvoiceAtTheRateItsVatWasTakenAt) {
    const struct {
        const char* inForce;
        const char* noteVat;
        const char* noteTotal;
        const char* base;
        const char* vat;
        const char* vatLine;
    } cases[] = {
        // made before the rate went back
        {"16", "IVA 16 % | 23,30", "TOTAL | 168,95", "12,50", "2,63", "IVA 21 % | 2,63"},
        {"10,5", "IVA 10,5 % | 15,29", "TOTAL | 160,94", "5,00", "0,53", "IVA 10,5 % | 0,53"},
        // two notes' VAT, each rounded
        {"21", "IVA 21 % | 30,59", "TOTAL | 176,24", "120,92", "19,34", "IVA 16 % | 19,34"},
        // no usual rate gives it
        {"16", "IVA 16 % | 23,30", "TOTAL | 168,95", "100,00", "12,34", "IVA 12,34 % | 12,34"},
    };
    TempHome home;
    fillReportFixture(home.db());
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.inForce) + " " + c.base);
        setRate(home.db(), c.inForce);
        const QString note = rendered(home.session(), QStringLiteral("\\qarvoalbodt.rpt"),
                                      "{ODTS.NODT}='ODT08/03/00001'");
        EXPECT_TRUE(note.contains(QString::fromUtf8(c.noteVat)));
        EXPECT_TRUE(note.contains(QString::fromUtf8(c.noteTotal)));
        const Money base = euros(c.base), vat = euros(c.vat);
        const QString odt = QStringLiteral("ODT/%1").arg(++n), fr = QStringLiteral("FR/%1").arg(n);
        home.db().exec(
            "INSERT INTO ODTS (NODT, Fecha, NFactura, Nominal) VALUES (?, '2026-12-07', "
            "?, ?)",
            {odt, fr, base.toDb()});
        home.db().exec(
            "INSERT INTO FacturasODT (NFactura, Fecha, Base, IVA, Importe) VALUES "
            "(?, '2026-12-07', ?, ?, ?)",
            {fr, base.toDb(), vat.toDb(), (base + vat).toDb()});
        const QString text = rendered(home.session(), QStringLiteral("\\QARVOFACODT.rpt"),
                                      "{ODTS.NODT}='" + odt + "'", QDate(2026, 12, 7));
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.vatLine))) << text.toStdString();
    }
}
