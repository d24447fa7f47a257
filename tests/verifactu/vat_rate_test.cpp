// The configured VAT rate reaches every invoice the program makes, to the exact cent.
#include <gtest/gtest.h>

#include <QLabel>

#include "billing/commissions.h"
#include "billing/fact_comisiones.h"
#include "billing/fact_libres.h"
#include "billing/free_invoices.h"
#include "data/database.h"
#include "reports/informes.h"
#include "reports/report_engine.h"
#include "reports/report_fixture.h"
#include "sales/counter_sale.h"
#include "sales/sales_list.h"
#include "support/screen_helpers.h"
#include "support/temp_home.h"
#include "support/test_services.h"
#include "tow/partes_grua.h"
#include "tow/tow_reports.h"
#include "verifactu/settings.h"
#include "workorders/work_order.h"
#include "workorders/work_order_invoicing.h"
#include "workorders/work_order_list.h"

using namespace torvane;
using namespace torvane::testing;
namespace vf = torvane::verifactu;

namespace {

Money eur(const char* text) {
    return *Money::parse(QString::fromUtf8(text));
}

// One unit at `price`.
DocumentLine oneOf(const char* description, const char* price) {
    DocumentLine line;
    line.description = QString::fromUtf8(description);
    line.units = Quantity::whole(1);
    line.price = eur(price);
    return line;
}

// One rate and the amounts every invoice must come to. Each base falls on half a cent
// at its rate, so rounding half away from zero shows.
struct RateCase {
    const char* rate;  // as typed on the settings screen
    const char* base;
    const char* vat;
    const char* total;
};
const RateCase kRates[] = {
    {"21", "12,50", "2,63", "15,13"},        // 2,625
    {"21", "250,50", "52,61", "303,11"},     // 52,605
    {"10,5", "5,00", "0,53", "5,53"},        // 0,525
    {"10,5", "250,50", "26,30", "276,80"},   // 26,3025
    {"16", "1234,56", "197,53", "1432,09"},  // the default keeps its amounts
};

class VatRateEverywhere : public ::testing::Test {
  protected:
    void SetUp() override {
        home_.session().setToday(QDate(2026, 12, 7));
        customer_ = db().insert(
            "INSERT INTO Clientes (Codigo, Nombre, NIF) VALUES ('0001', 'GARCIA', '12345678Z')");
    }
    Database& db() { return home_.db(); }
    void setRate(const char* rate) {
        vf::SettingsInput in = vf::inputOf(vf::loadSettings(db()));
        in.vatRate = QString::fromUtf8(rate);
        ASSERT_EQ(vf::save(db(), in), QString());
    }
    Money money(const char* sql, const QString& key = {}) {
        return Money::fromDb(key.isEmpty() ? db().scalar(QString::fromUtf8(sql))
                                           : db().scalar(QString::fromUtf8(sql), {key}));
    }

    TempHome home_;
    qint64 customer_ = 0;
};

}  // namespace

TEST_F(VatRateEverywhere, WorkOrderInvoice) {
    int n = 0;
    for (const RateCase& c : kRates) {
        setRate(c.rate);
        const QString odt = QStringLiteral("ODT/%1").arg(++n);
        const QString number = QStringLiteral("FR26/12/%1").arg(n, 5, 10, QLatin1Char('0'));
        const qint64 id = db().insert(
            "INSERT INTO ODTS (NODT, Fecha, Id_Cli, Kilometros, NAlbaran, NFactura, Nominal, "
            "Interna) VALUES (?, '2026-12-07', ?, 1000, 'No', 'No', ?, 'No')",
            {odt, customer_, eur(c.base).toDb()});
        const invoicing::Result r = invoicing::invoiceFromList(
            home_.session(), {.workOrderId = id, .number = number, .date = QDate(2026, 12, 7)});
        ASSERT_TRUE(r) << r.refusal.toStdString();
        EXPECT_EQ(money("SELECT IVA FROM FacturasODT WHERE NFactura = ?", number), eur(c.vat))
            << c.rate << " " << c.base;
        EXPECT_EQ(money("SELECT Importe FROM FacturasODT WHERE NFactura = ?", number), eur(c.total))
            << c.rate << " " << c.base;
        // The editor's panel shows what the invoice will be.
        EXPECT_EQ(workorders::totalsOf(eur(c.base), *vf::readRate(c.rate).rate).vat, eur(c.vat));
    }
}

TEST_F(VatRateEverywhere, CounterSaleInvoice) {
    int n = 0;
    for (const RateCase& c : kRates) {
        setRate(c.rate);
        const QString note = QStringLiteral("AL26/12/%1").arg(++n, 5, 10, QLatin1Char('0'));
        db().insert(
            "INSERT INTO Albaranes (Id_Alb, Fecha, Id_Cli, NFactura, Suma, Nominal, IVA, Total) "
            "VALUES (?, '2026-12-07', ?, 'No', ?, ?, 0, ?)",
            {note, customer_, eur(c.base).toDb(), eur(c.base).toDb(), eur(c.base).toDb()});
        const QString number = QStringLiteral("FV26/12/%1").arg(n, 5, 10, QLatin1Char('0'));
        const QStringList numbers =
            sales::invoiceEach(home_.session(), {note}, number, QDate(2026, 12, 7), false, {});
        ASSERT_EQ(numbers, QStringList{number});
        EXPECT_EQ(money("SELECT Total FROM Facturas WHERE Id_Fac = ?", number), eur(c.total))
            << c.rate << " " << c.base;
        // The note's foot counts at the same rate.
        const sales::SaleTotals t =
            sales::totalsOf({oneOf("", c.base)}, *vf::readRate(c.rate).rate);
        EXPECT_EQ(t.vat, eur(c.vat)) << c.rate << " " << c.base;
    }
}

TEST_F(VatRateEverywhere, FreeInvoiceProposesTheRate) {
    int n = 0;
    for (const RateCase& c : kRates) {
        setRate(c.rate);
        TestServices services;
        FactLibres form(home_.session(), services, customer_);
        EXPECT_EQ(textOf(&form, "TxtTiva"), QString::fromUtf8(c.rate));
        const QString number = free_invoices::store(
            home_.session(),
            {QStringLiteral("FL26/12/%1").arg(++n, 5, 10, QLatin1Char('0')), QDate(2026, 12, 7),
             customer_, *free_invoices::readRate(textOf(&form, "TxtTiva")), Quantity()},
            {oneOf("CONCEPTO", c.base)});
        EXPECT_EQ(money("SELECT Iva FROM FacturasLibres WHERE NFactura = ?", number), eur(c.vat))
            << c.rate << " " << c.base;
        EXPECT_EQ(money("SELECT Total FROM FacturasLibres WHERE NFactura = ?", number),
                  eur(c.total))
            << c.rate << " " << c.base;
    }
}

TEST_F(VatRateEverywhere, CommissionInvoice) {
    for (const RateCase& c : kRates) {
        setRate(c.rate);
        // The screen's caption carries the rate.
        TestServices services;
        FactComisiones form(home_.session(), services, customer_);
        QString caption;
        for (const QLabel* l : form.findChildren<QLabel*>())
            if (l->buddy() && l->buddy()->objectName() == QLatin1String("TxtIVA"))
                caption = l->text();
        EXPECT_EQ(caption, QStringLiteral("IVA %1 %:").arg(QString::fromUtf8(c.rate)));
        const QString number =
            commissions::store(db(),
                               {commissions::nextNumber(db(), QDate(2026, 12, 7)),
                                QDate(2026, 12, 7), customer_, Quantity()},
                               {oneOf("COMISION", c.base)});
        EXPECT_EQ(money("SELECT Iva FROM Comisiones WHERE NFactura = ?", number), eur(c.vat))
            << c.rate << " " << c.base;
        EXPECT_EQ(money("SELECT Resto FROM Comisiones WHERE NFactura = ?", number), eur(c.total))
            << c.rate << " " << c.base;
    }
}

TEST_F(VatRateEverywhere, TowReportInvoice) {
    int n = 0;
    for (const RateCase& c : kRates) {
        setRate(c.rate);
        // A new report proposes the rate in force; the report keeps it.
        TestServices services;
        PartesGrua form(home_.session(), services, false);
        EXPECT_EQ(textOf(&form, "Text1_24"), QString::fromUtf8(c.rate));
        const QString report = QStringLiteral("PG26/12/%1").arg(++n, 5, 10, QLatin1Char('0'));
        db().insert(
            "INSERT INTO Partes (NParte, Fecha, NFactura, IVA) VALUES (?, '2026-12-07', "
            "'No', ?)",
            {report, vf::readRate(textOf(&form, "Text1_24")).rate->toDb()});
        tow::appendLine(db(), report,
                        {QStringLiteral("SERVICIO"), Quantity::whole(1), eur(c.base), eur(c.base)});
        const QString number = tow::invoice(home_.session(), report);
        EXPECT_EQ(money("SELECT Total FROM Facturas WHERE Id_Fac = ?", number), eur(c.total))
            << c.rate << " " << c.base;
    }
}

TEST_F(VatRateEverywhere, AStoredInvoiceKeepsItsVatWhenTheRateChanges) {
    const qint64 id = db().insert(
        "INSERT INTO ODTS (NODT, Fecha, Id_Cli, Kilometros, NAlbaran, NFactura, Nominal, "
        "Interna) VALUES ('ODT/1', '2026-12-07', ?, 1000, 'No', 'No', 100, 'No')",
        {customer_});
    ASSERT_TRUE(invoicing::invoiceFromList(
        home_.session(),
        {.workOrderId = id, .number = "FR26/12/00001", .date = QDate(2026, 12, 7)}));
    setRate("21");
    EXPECT_EQ(money("SELECT IVA FROM FacturasODT"), eur("16,00"));
    EXPECT_EQ(money("SELECT Importe FROM FacturasODT"), eur("116,00"));
}

TEST_F(VatRateEverywhere, MultiInvoiceListShowsTheVatAtTheRate) {
    int n = 0;
    for (const RateCase& c : kRates) {
        for (const char* sign : {"", "-"}) {
            const QString odt = QStringLiteral("ODT/%1").arg(++n);
            const Money base = eur(c.base) * (sign[0] ? -1 : 1);
            db().insert(
                "INSERT INTO ODTS (NODT, Fecha, Id_Cli, NFactura, Nominal, Interna) "
                "VALUES (?, '2026-12-07', ?, 'No', ?, 'No')",
                {odt, customer_, base.toDb()});
            const SqlStatement s = odtlist::multiInvoiceCandidates(*vf::readRate(c.rate).rate);
            Money shown;
            for (const Row& r : db().rows(s.sql, s.params))
                if (r.value("NODT").toString() == odt) shown = Money::fromDb(r.value("Total"));
            EXPECT_EQ(shown, sign[0] ? -eur(c.vat) : eur(c.vat)) << c.rate << " " << sign << c.base;
            db().exec("DELETE FROM ODTS WHERE NODT = ?", {odt});
        }
    }
}

TEST(VatRateDeliveryNote, PrintsAtTheRateInForce) {
    // The work-order delivery note is computed when printed: base 145,65.
    const struct {
        const char* rate;
        const char* vatLine;
        const char* totalLine;
    } cases[] = {{"16", "IVA 16 % | 23,30", "TOTAL | 168,95"},
                 {"21", "IVA 21 % | 30,59", "TOTAL | 176,24"},       // 30,5865
                 {"10,5", "IVA 10,5 % | 15,29", "TOTAL | 160,94"}};  // 15,29325
    for (const auto& c : cases) {
        TempHome home;
        fillReportFixture(home.db());
        vf::SettingsInput in = vf::inputOf(vf::loadSettings(home.db()));
        in.vatRate = QString::fromUtf8(c.rate);
        ASSERT_EQ(vf::save(home.db(), in), QString());
        reports::ReportEngine engine(home.db(), reports::reportFolders(home.session()),
                                     QDate(2008, 4, 15));
        const auto result =
            engine.render(QStringLiteral("\\qarvoalbodt.rpt"), "{ODTS.NODT}='ODT08/03/00001'");
        ASSERT_TRUE(result.report.has_value()) << result.error.toStdString();
        const QString text = result.report->toText();
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.vatLine))) << c.rate;
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.totalLine))) << c.rate;
    }
}

TEST(VatRatePrintedInvoice, ShowsTheRateItsVatWasTakenAt) {
    // The invoice keeps its amounts; its caption names the rate that gives that VAT.
    const struct {
        const char* inForce;
        const char* base;
        const char* vat;
        const char* vatLine;
    } cases[] = {
        {"21", "12,50", "2,63", "IVA 21 % | 2,63"},
        {"16", "12,50", "2,63", "IVA 21 % | 2,63"},  // made before the rate went back
        {"21", "100,00", "16,00", "IVA 16 % | 16,00"},
        {"10,5", "5,00", "0,53", "IVA 10,5 % | 0,53"},
        {"21", "120,92", "19,34", "IVA 16 % | 19,34"},     // two notes' VAT, each rounded
        {"16", "100,00", "12,34", "IVA 12,34 % | 12,34"},  // no usual rate gives it
    };
    for (const auto& c : cases) {
        TempHome home;
        vf::SettingsInput in = vf::inputOf(vf::loadSettings(home.db()));
        in.vatRate = QString::fromUtf8(c.inForce);
        ASSERT_EQ(vf::save(home.db(), in), QString());
        const Money base = eur(c.base), vat = eur(c.vat);
        home.db().exec(
            "INSERT INTO ODTS (NODT, Fecha, NFactura, Nominal) VALUES "
            "('ODT/1', '2026-12-07', 'FR/1', ?)",
            {base.toDb()});
        home.db().exec(
            "INSERT INTO FacturasODT (NFactura, Fecha, Base, IVA, Importe) VALUES "
            "('FR/1', '2026-12-07', ?, ?, ?)",
            {base.toDb(), vat.toDb(), (base + vat).toDb()});
        reports::ReportEngine engine(home.db(), reports::reportFolders(home.session()),
                                     QDate(2026, 12, 7));
        const auto result =
            engine.render(QStringLiteral("\\QARVOFACODT.rpt"), "{ODTS.NODT}='ODT/1'");
        ASSERT_TRUE(result.report.has_value()) << result.error.toStdString();
        const QString text = result.report->toText();
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.vatLine)))
            << c.inForce << " " << c.base << "\n"
            << text.toStdString();
    }
}
