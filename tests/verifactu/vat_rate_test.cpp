// The configured VAT rate reaches every invoice the program makes, to the exact cent.
#include <gtest/gtest.h>

#include <QLabel>

#include "billing/billing_fixture.h"
#include "billing/commissions.h"
#include "billing/fact_comisiones.h"
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
#include "workorders/work_order_list.h"

using namespace torvane;
using namespace torvane::testing;
namespace vf = torvane::verifactu;

namespace {

// One unit at `price`.
DocumentLine oneOf(const char* description, const char* price) {
    DocumentLine line;
    line.description = QString::fromUtf8(description);
    line.units = Quantity::whole(1);
    line.price = euros(price);
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
    {"21", "12,50", "2,63", "15,13"},  // 2,625
    {"10,5", "5,00", "0,53", "5,53"},  // 0,525
};

void setRate(Database& db, const char* rate) {
    vf::SettingsInput in = vf::inputOf(vf::loadSettings(db));
    in.vatRate = QString::fromUtf8(rate);
    ASSERT_EQ(vf::save(db, in), QString());
}

class VatRateEverywhere : public ::testing::Test {
  protected:
    void SetUp() override {
        home_.session().setToday(QDate(2026, 12, 7));
        customer_ = db().insert(
            "INSERT INTO Clientes (Codigo, Nombre, NIF) VALUES ('0001', 'GARCIA', '12345678Z')");
    }
    Database& db() { return home_.db(); }
    Money money(const char* sql, const QString& key = {}) {
        return Money::fromDb(key.isEmpty() ? db().scalar(QString::fromUtf8(sql))
                                           : db().scalar(QString::fromUtf8(sql), {key}));
    }

    TempHome home_;
    qint64 customer_ = 0;
};

}  // namespace

TEST_F(VatRateEverywhere, EveryKindOfInvoice) {
    int n = 0;
    for (const RateCase& c : kRates) {
        SCOPED_TRACE(std::string(c.rate) + " " + c.base);
        setRate(db(), c.rate);
        const Quantity rate = *vf::readRate(c.rate).rate;
        const QString seq = QStringLiteral("%1").arg(++n, 5, 10, QLatin1Char('0'));

        const QString fr = "FR26/12/" + seq;
        const qint64 id = db().insert(
            "INSERT INTO ODTS (NODT, Fecha, Id_Cli, Kilometros, NAlbaran, NFactura, Nominal, "
            "Interna) VALUES (?, '2026-12-07', ?, 1000, 'No', 'No', ?, 'No')",
            {"ODT/" + seq, customer_, euros(c.base).toDb()});
        const invoicing::Result r = invoicing::invoiceFromList(
            home_.session(), {.workOrderId = id, .number = fr, .date = QDate(2026, 12, 7)});
        ASSERT_TRUE(r) << r.refusal.toStdString();
        EXPECT_EQ(money("SELECT Importe FROM FacturasODT WHERE NFactura = ?", fr), euros(c.total));

        // Numbered apart from the tow invoices, which take the next free number of the month.
        const QString note = "AL26/12/" + seq, fv = "FV26/11/" + seq;
        db().insert(
            "INSERT INTO Albaranes (Id_Alb, Fecha, Id_Cli, NFactura, Suma, Nominal, IVA, Total) "
            "VALUES (?, '2026-12-07', ?, 'No', ?, ?, 0, ?)",
            {note, customer_, euros(c.base).toDb(), euros(c.base).toDb(), euros(c.base).toDb()});
        ASSERT_EQ(sales::invoiceEach(home_.session(), {note}, fv, QDate(2026, 12, 7), false, {}),
                  QStringList{fv});
        EXPECT_EQ(money("SELECT Total FROM Facturas WHERE Id_Fac = ?", fv), euros(c.total));

        TestServices services;
        FactLibres libre(home_.session(), services, customer_);
        EXPECT_EQ(textOf(&libre, "TxtTiva"), QString::fromUtf8(c.rate));
        const QString fl =
            free_invoices::store(home_.session(),
                                 {"FL26/12/" + seq, QDate(2026, 12, 7), customer_,
                                  *free_invoices::readRate(textOf(&libre, "TxtTiva")), Quantity()},
                                 {oneOf("CONCEPTO", c.base)});
        EXPECT_EQ(money("SELECT Total FROM FacturasLibres WHERE NFactura = ?", fl), euros(c.total));

        // The commission screen's caption carries the rate.
        FactComisiones commission(home_.session(), services, customer_);
        QString caption;
        for (const QLabel* l : commission.findChildren<QLabel*>())
            if (l->buddy() && l->buddy()->objectName() == QLatin1String("TxtIVA"))
                caption = l->text();
        EXPECT_EQ(caption, QStringLiteral("IVA %1 %:").arg(QString::fromUtf8(c.rate)));
        const QString fc = commissions::store(db(),
                                              {commissions::nextNumber(db(), QDate(2026, 12, 7)),
                                               QDate(2026, 12, 7), customer_, Quantity()},
                                              {oneOf("COMISION", c.base)});
        EXPECT_EQ(money("SELECT Resto FROM Comisiones WHERE NFactura = ?", fc), euros(c.total));

        // A new tow report proposes the rate in force; the report keeps it.
        PartesGrua towForm(home_.session(), services, false);
        EXPECT_EQ(textOf(&towForm, "Text1_24"), QString::fromUtf8(c.rate));
        const QString report = "PG26/12/" + seq;
        db().insert(
            "INSERT INTO Partes (NParte, Fecha, NFactura, IVA) VALUES (?, '2026-12-07', "
            "'No', ?)",
            {report, vf::readRate(textOf(&towForm, "Text1_24")).rate->toDb()});
        tow::appendLine(
            db(), report,
            {QStringLiteral("SERVICIO"), Quantity::whole(1), euros(c.base), euros(c.base)});
        const QString towInvoice = tow::invoice(home_.session(), report);
        EXPECT_EQ(money("SELECT Total FROM Facturas WHERE Id_Fac = ?", towInvoice), euros(c.total));

        // The multi-invoice list shows the VAT each work order will take, credits too.
        db().insert(
            "INSERT INTO ODTS (NODT, Fecha, Id_Cli, NFactura, Nominal, Interna) VALUES "
            "(?, '2026-12-07', ?, 'No', ?, 'No'), (?, '2026-12-07', ?, 'No', ?, 'No')",
            {"M+" + seq, customer_, euros(c.base).toDb(), "M-" + seq, customer_,
             (-euros(c.base)).toDb()});
        const SqlStatement s = odtlist::multiInvoiceCandidates(rate);
        QStringList shown;
        for (const Row& row : db().rows(s.sql, s.params))
            if (row.value("NODT").toString().startsWith('M'))
                shown << Money::fromDb(row.value("Total")).format();
        shown.sort();
        EXPECT_EQ(shown, (QStringList{"-" + euros(c.vat).format(), euros(c.vat).format()}));
        db().exec("DELETE FROM ODTS WHERE NODT LIKE 'M%'");
    }
    // A stored invoice keeps its VAT when the rate changes.
    EXPECT_EQ(money("SELECT IVA FROM FacturasODT WHERE NFactura = 'FR26/12/00001'"), euros("2,63"));
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
