// Pricing a tow job from the insurer's tariff, and the stored reports with their invoices.
#include <gtest/gtest.h>

#include <QStringList>
#include <array>

#include "core/session.h"
#include "support/temp_home.h"
#include "support/typed_numbers.h"
#include "tow/tow_pricing.h"
#include "tow/tow_reports.h"

using namespace torvane;
using namespace torvane::testing;
using namespace torvane::tow;

namespace {

// Every column a different amount, so a wrong column shows.
insurers::Tariff sampleTariff() {
    const std::pair<const char*, const char*> values[] = {
        {"UTL", "50"},     {"UTF", "70"},    {"UFL", "60"},    {"UFF", "85"},
        {"CTL", "80"},     {"CTF", "110"},   {"CFL", "95"},    {"CFF", "125"},
        {"ITL", "20"},     {"ITF", "15"},    {"IFL", "25"},    {"IFF", "10"},
        {"PTL", "1,50"},   {"PTF", "2,10"},  {"PFL", "1,75"},  {"PFF", "2,45"},
        {"SLTL", "120"},   {"SLTF", "160"},  {"SLFL", "140"},  {"SLFF", "190"},
        {"KLTL", "0,95"},  {"KLTF", "1,30"}, {"KLFL", "1,15"}, {"KLFF", "1,55"},
        {"P1", "25"},      {"P2", "12,5"},   {"Espera", "20"}, {"Rescate", "45,50"},
        {"Deposito", "12"}};
    insurers::Tariff t;
    t.stored = true;
    for (const QString& column : insurers::tariffColumns()) {
        Money m;
        for (const auto& [name, text] : values)
            if (column == QLatin1String(name)) m = euros(text);
        t.amounts << m;
    }
    return t;
}

QStringList shown(const Pricing& p) {
    QStringList out;
    for (const TowLine& l : p.lines)
        out << l.texto + '|' + Money::fromUnits(l.cantidad.units()).toPlainString() + '|' +
                   l.precio.format() + '|' + l.importe.format();
    return out;
}

TowJob job(const char* vehicle, const char* day, const char* exit, bool pct, const char* km,
           const char* wait = "00:00", const char* rescue = "00:00", const char* storage = "") {
    TowJob j;
    j.vehicle = QString::fromUtf8(vehicle);
    j.day = QString::fromUtf8(day);
    j.exit = QString::fromUtf8(exit);
    j.percentage = pct;
    j.km = QString::fromUtf8(km);
    j.waitTime = QString::fromUtf8(wait);
    j.rescueTime = QString::fromUtf8(rescue);
    j.storageDays = QString::fromUtf8(storage);
    return j;
}

constexpr const char* T = kCar;
constexpr const char* F = kVan;
constexpr const char* L = kWorkingDay;
constexpr const char* H = kHolidayNight;

// The amount of each line: every tariff column differs, so a wrong column shows.
TEST(TowPricing, ExitKilometreAndSurchargeAmounts) {
    const std::pair<TowJob, const char*> cases[] = {
        {job(T, L, kUrban, false, ""), "50,00"},
        {job(F, H, kUrban, false, ""), "85,00"},
        {job(T, H, kUrban, true, ""), "50,00 12,50"},
        {job(F, H, kUrban, true, ""), "60,00 7,50"},
        // Road: only the kilometres beyond the included ones.
        {job(T, L, kRoad, false, "25"), "80,00 7,50"},
        {job(T, L, kRoad, false, "20"), "80,00"},
        {job(T, L, kRoad, false, "25.5"), "80,00 8,25"},
        {job(F, H, kRoad, false, "13"), "125,00 7,35"},
        // Surcharge base: exit plus the holiday kilometres (none past 10 for a van); 22,625
        // rounds up.
        {job(T, H, kRoad, true, "20"), "80,00 10,50 22,63"},
        {job(F, H, kRoad, true, "10"), "95,00 11,88"},
        {job(T, L, kRoad, true, "20"), "80,00"},  // the box ticked on a working day: nothing
        // Long distance: every kilometre.
        {job(T, L, kLongDistance, false, "100"), "120,00 95,00"},
        {job(F, H, kLongDistance, false, "50"), "190,00 77,50"},
        {job(T, H, kLongDistance, true, "50"), "120,00 47,50 41,88"},
        // Any vehicle but "TURISMO" is a van; any exit but urban or road is long distance.
        {job("", L, "OTRA", false, "10"), "140,00 11,50"},
    };
    const insurers::Tariff tariff = sampleTariff();
    for (const auto& [j, want] : cases) {
        const Pricing p = priceJob(tariff, j);
        EXPECT_TRUE(p.error.isEmpty()) << p.error.toStdString();
        QStringList amounts;
        for (const TowLine& l : p.lines) amounts << l.importe.format();
        EXPECT_EQ(amounts.join(' '), QString::fromUtf8(want))
            << j.vehicle.toStdString() << " " << j.day.toStdString() << " " << j.exit.toStdString()
            << " " << j.percentage << " " << j.km.toStdString();
    }
}

TEST(TowPricing, LinesAsWorded) {
    const std::pair<TowJob, QStringList> cases[] = {
        {job(F, H, kUrban, true, ""),
         {"SALIDA URBANA DIA FEST./NOCT. FURGÓN|1|60,00|60,00",
          "RECARGO FEST./NOCT. (12,5%)|1|7,50|7,50"}},
        // This one line spells the van without its accent.
        {job(F, H, kRoad, false, "13"),
         {"SALIDA CARRETERA DIA FEST./NOCT. FURGÓN|1|125,00|125,00",
          "KM. EXTRA CARRETERA DIA FEST./NOCT. FURGON|3|2,45|7,35"}},
        {job(T, H, kLongDistance, true, "50"),
         {"SALIDA LARGO RECORRIDO DIA FEST./NOCT. TURISMO|1|120,00|120,00",
          "KM. LARGO RECORRIDO DIA FEST./NOCT. TURISMO|50|0,95|47,50",
          "RECARGO FEST./NOCT. (25%)|1|41,88|41,88"}},
    };
    for (const auto& [j, lines] : cases)
        EXPECT_EQ(shown(priceJob(sampleTariff(), j)), lines) << j.exit.toStdString();
}

TEST(TowPricing, TimeAndStorageLines) {
    const std::array<const char*, 4> cases[] = {
        // wait, rescue, storage days: the lines after the urban exit line
        {"01:30", "00:00", "", "ESPERA PARA REALIZAR EL SERVICIO|1.5|20,00|30,00"},
        {"", "00:20", "", "RESCATE DEL VEHÍCULO|0.3333|45,50|15,17"},
        // 45,50 × 0,75 = 34,125: halves away from zero.
        {"00:00", "00:45", "", "RESCATE DEL VEHÍCULO|0.75|45,50|34,13"},
        {"00:00", "00:00", "3", "DIAS DE DEPÓSITO|3|12,00|36,00"},
    };
    for (const auto& [wait, rescue, storage, extra] : cases) {
        const QStringList lines =
            shown(priceJob(sampleTariff(), job(T, L, kUrban, false, "", wait, rescue, storage)));
        EXPECT_EQ(lines.mid(1).join(';'), QString::fromUtf8(extra)) << wait << rescue << storage;
    }
}

TEST(TowPricing, Refusals) {
    // exit, km, wait, storage days, error; the first without a stored tariff
    const std::array<const char*, 5> cases[] = {
        {kUrban, "", "00:00", "", kNoTariff},
        {kRoad, "12 km", "00:00", "", kBadKm},
        {kUrban, "x", "00:00", "dos", kBadStorage},
        {kUrban, "", "00:75", "", kBadWait},
    };
    insurers::Tariff t = sampleTariff();
    t.stored = false;
    for (const auto& [exit, km, wait, storage, error] : cases) {
        const Pricing p = priceJob(t, job(T, L, exit, false, km, wait, "00:00", storage));
        EXPECT_EQ(p.error, QString::fromUtf8(error)) << exit << " " << km;
        EXPECT_TRUE(p.lines.empty());
        t.stored = true;
    }
}

TowLine line(const char* text, int units, const char* price) {
    const Money p = euros(price);
    return {QString::fromUtf8(text), Quantity::whole(units), p,
            (ExactAmount(p) * Quantity::whole(units)).roundCents()};
}

Row report(const QString& number, const char* vat = "21") {
    Row r;
    for (const QString& c : reportColumns()) r.insert(c, c + QStringLiteral("-") + number);
    r.insert(QStringLiteral("NParte"), number);
    r.insert(QStringLiteral("Fecha"), QStringLiteral("2024-03-05"));
    r.insert(QStringLiteral("Id_Ase"), 3);
    r.insert(QStringLiteral("IVA"), QString::fromUtf8(vat).toDouble());
    return r;
}

int count(Database& db, const char* sql) {
    return db.scalar(QString::fromUtf8(sql)).toInt();
}

// A stored report with two lines: 100,00 and 2 × 12,25.
struct Stored {
    TempHome home;
    Database& db = home.db();
    Stored() {
        home.session().setToday(QDate(2024, 3, 9));
        saveReport(db, report(QStringLiteral("PG03/00001")));
        replaceLines(db, QStringLiteral("PG03/00001"),
                     {line("SALIDA", 1, "100"), line("DIAS DE DEPÓSITO", 2, "12,25")});
    }
};

TEST(TowReports, ManualLinesAsTyped) {
    // units, text, price, error, amount of the accepted line
    const std::array<const char*, 5> cases[] = {
        {"2", "GRUA", "10,5", "", "21,00"},
        {"1,5", "GRUA", "3.33", "", "5,00"},  // 4,995 rounds away from zero
        {"1", " ", "1", kIncompleteLine, ""},
        {"1", "GRUA", "diez", kLineNotNumeric, ""},
    };
    for (const auto& [units, texto, price, error, amount] : cases) {
        const ManualLine m = readManualLine(QString::fromUtf8(units), QString::fromUtf8(texto),
                                            QString::fromUtf8(price));
        EXPECT_EQ(m.error, QString::fromUtf8(error)) << units << " " << price;
        EXPECT_EQ(m.line ? m.line->importe.format() : QString(), QString::fromUtf8(amount));
    }
}

TEST(TowReports, SaveInvoiceRemoveTheInvoiceAndDelete) {
    Stored s;
    const QString first = QStringLiteral("PG03/00001");
    SCOPED_TRACE("every column is written; saving again replaces the same row");
    const Row want = report(first);
    for (const QString& c : reportColumns()) {
        const QString expected =
            c == QLatin1String("NFactura") ? QStringLiteral("No") : want.value(c).toString();
        EXPECT_EQ(loadReport(s.db, first)->value(c).toString(), expected) << c.toStdString();
    }
    const qint64 id = s.db.scalar("SELECT Id FROM Partes").toLongLong();
    Row edited = want;
    edited.insert(QStringLiteral("Matricula"), QStringLiteral("1234BCD"));
    EXPECT_EQ(saveReport(s.db, edited, id), id);
    EXPECT_EQ(count(s.db, "SELECT COUNT(*) FROM Partes"), 1);
    EXPECT_EQ(loadReport(s.db, first)->value("Matricula").toString(), "1234BCD");

    SCOPED_TRACE("invoiced at the report's VAT");
    EXPECT_EQ(checkInvoice(s.db, first), QString());
    const QString fv = invoice(s.home.session(), first);
    // Base 124,50 at 21 %: 26,145 -> 26,15.
    EXPECT_EQ(s.db.scalar("SELECT Total || ' ' || Id_Cli || ' ' || Fecha FROM Facturas "
                          "WHERE Id_Fac = ?",
                          {fv})
                  .toString(),
              "150.65 0 2024-03-09");
    EXPECT_EQ(loadReport(s.db, first)->value("NFactura").toString(), fv);
    EXPECT_EQ(loadReport(s.db, first)->value("FechaFactura").toString(), "2024-03-09");
    EXPECT_EQ(checkInvoice(s.db, first), QString::fromUtf8(kAlreadyInvoiced));
    // A report without lines is not invoiced.
    saveReport(s.db, report(QStringLiteral("PG03/00002")));
    EXPECT_EQ(checkInvoice(s.db, "PG03/00002"), QString::fromUtf8(kNoLinesToInvoice));

    SCOPED_TRACE("removing the invoice frees its number");
    removeInvoice(s.db, first);
    EXPECT_EQ(count(s.db, "SELECT COUNT(*) FROM Facturas"), 0);
    EXPECT_EQ(loadReport(s.db, first)->value("NFactura").toString(), "No");
    EXPECT_TRUE(loadReport(s.db, first)->value("FechaFactura").isNull());
    EXPECT_EQ(nextInvoiceNumber(s.home.session()), fv);

    SCOPED_TRACE("replacing lines is all or nothing; deleting takes the report's lines");
    replaceLines(s.db, first, {line("OTRA", 1, "5")});
    EXPECT_EQ(loadLines(s.db, first), std::vector<TowLine>{line("OTRA", 1, "5")});
    s.db.exec(
        "CREATE TRIGGER fail_line BEFORE INSERT ON LineasPartes WHEN NEW.Texto = 'MALA' "
        "BEGIN SELECT RAISE(ABORT, 'disco lleno'); END");
    EXPECT_THROW(replaceLines(s.db, first, {line("BUENA", 1, "1"), line("MALA", 1, "1")}), DbError);
    EXPECT_EQ(loadLines(s.db, first), std::vector<TowLine>{line("OTRA", 1, "5")});
    replaceLines(s.db, QStringLiteral("PG03/00002"), {line("UNA", 1, "1")});
    deleteReport(s.db, first);
    EXPECT_EQ(count(s.db, "SELECT COUNT(*) FROM Partes"), 1);
    EXPECT_EQ(count(s.db, "SELECT COUNT(*) FROM LineasPartes WHERE NParte <> 'PG03/00002'"), 0);
    EXPECT_EQ(count(s.db, "SELECT COUNT(*) FROM LineasPartes"), 1);
}

TEST(TowReports, InvoiceNumbersSkipNumbersInUse) {
    TempHome home;
    home.session().setToday(QDate(2024, 3, 9));
    // Another month's numbers do not count.
    home.db().insert("INSERT INTO Facturas (Id_Fac, Total) VALUES ('FV24/02/00009', 1)");
    EXPECT_EQ(nextInvoiceNumber(home.session()), "FV24/03/00001");
    // A counter sale took the next one: skipped.
    home.db().insert("INSERT INTO Facturas (Id_Fac, Total) VALUES ('FV24/03/00004', 1)");
    for (const char* n : {"FV24/03/00005", "FV24/03/00006"})
        home.db().insert(
            "INSERT INTO Albaranes (Id_Alb, Fecha, NFactura) VALUES (?, '2024-03-01', ?)",
            {QString::fromUtf8(n) + "-AR", QString::fromUtf8(n)});
    EXPECT_EQ(nextInvoiceNumber(home.session()), "FV24/03/00007");
}

}  // namespace
