#include "tow/tow_reports.h"

#include <gtest/gtest.h>

#include "core/session.h"
#include "support/temp_home.h"

using namespace torvane;
using namespace torvane::testing;
using namespace torvane::tow;

namespace {

TowLine line(const char* text, int units, const char* price) {
    const Money p = *Money::parse(QString::fromUtf8(price));
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
    struct Case {
        const char *units, *texto, *price;
        const char* error;
        const char* amount;
    };
    const Case cases[] = {
        {"2", "GRUA", "10,5", "", "21,00"},
        {"1,5", "GRUA", "3.33", "", "5,00"},  // 4,995 rounds away from zero
        {"", "GRUA", "1", kIncompleteLine, ""},
        {"1", " ", "1", kIncompleteLine, ""},
        {"1", "GRUA", "", kIncompleteLine, ""},
        {"dos", "GRUA", "1", kLineNotNumeric, ""},
        {"1", "GRUA", "diez", kLineNotNumeric, ""},
    };
    for (const Case& c : cases) {
        const ManualLine m = readManualLine(QString::fromUtf8(c.units), QString::fromUtf8(c.texto),
                                            QString::fromUtf8(c.price));
        EXPECT_EQ(m.error, QString::fromUtf8(c.error)) << c.units << " " << c.price;
        EXPECT_EQ(m.line ? m.line->importe.format() : QString(), QString::fromUtf8(c.amount));
    }
}

TEST(TowReports, ReplacingLinesIsAllOrNothing) {
    Stored s;
    const auto before = loadLines(s.db, QStringLiteral("PG03/00001"));
    ASSERT_EQ(before.size(), 2u);
    // A new set replaces every old line.
    replaceLines(s.db, QStringLiteral("PG03/00001"), {line("OTRA", 1, "5")});
    EXPECT_EQ(loadLines(s.db, QStringLiteral("PG03/00001")),
              std::vector<TowLine>{line("OTRA", 1, "5")});
    // A failing write leaves the lines there were.
    s.db.exec(
        "CREATE TRIGGER fail_line BEFORE INSERT ON LineasPartes WHEN NEW.Texto = 'MALA' "
        "BEGIN SELECT RAISE(ABORT, 'disco lleno'); END");
    EXPECT_THROW(replaceLines(s.db, QStringLiteral("PG03/00001"),
                              {line("BUENA", 1, "1"), line("MALA", 1, "1")}),
                 DbError);
    EXPECT_EQ(loadLines(s.db, QStringLiteral("PG03/00001")),
              std::vector<TowLine>{line("OTRA", 1, "5")});
}

TEST(TowReports, SaveWritesEveryColumnAndReplacesTheSameRow) {
    TempHome home;
    Database& db = home.db();
    const qint64 id = saveReport(db, report(QStringLiteral("PG03/00001")));
    auto stored = loadReport(db, QStringLiteral("PG03/00001"));
    ASSERT_TRUE(stored);
    const Row want = report(QStringLiteral("PG03/00001"));
    for (const QString& c : reportColumns()) {
        const QString expected =
            c == QLatin1String("NFactura") ? QStringLiteral("No") : want.value(c).toString();
        EXPECT_EQ(stored->value(c).toString(), expected) << c.toStdString();
    }
    Row edited = want;
    edited.insert(QStringLiteral("Matricula"), QStringLiteral("1234BCD"));
    EXPECT_EQ(saveReport(db, edited, id), id);
    EXPECT_EQ(count(db, "SELECT COUNT(*) FROM Partes"), 1);
    EXPECT_EQ(loadReport(db, QStringLiteral("PG03/00001"))->value("Matricula").toString(),
              "1234BCD");
}

TEST(TowReports, InvoiceAtTheReportsVat) {
    Stored s;
    EXPECT_EQ(checkInvoice(s.db, QStringLiteral("PG03/00001")), QString());
    const QString fv = invoice(s.home.session(), QStringLiteral("PG03/00001"));
    // Base 124,50 at 21 %: 26,145 -> 26,15.
    EXPECT_EQ(s.db.scalar("SELECT Total || ' ' || Id_Cli || ' ' || Fecha FROM Facturas "
                          "WHERE Id_Fac = ?",
                          {fv})
                  .toString(),
              "150.65 0 2024-03-09");
    const auto rep = loadReport(s.db, QStringLiteral("PG03/00001"));
    EXPECT_EQ(rep->value("NFactura").toString(), fv);
    EXPECT_EQ(rep->value("FechaFactura").toString(), "2024-03-09");
    EXPECT_EQ(checkInvoice(s.db, QStringLiteral("PG03/00001")),
              QString::fromUtf8(kAlreadyInvoiced));
}

TEST(TowReports, InvoiceNumbersSkipNumbersInUse) {
    struct Case {
        QStringList facturas, albaranes;
        const char* next;
    };
    const Case cases[] = {
        {{}, {}, "FV24/03/00001"},
        {{"FV24/03/00004"}, {}, "FV24/03/00005"},
        // A counter sale took the next one: skipped.
        {{"FV24/03/00004"}, {"FV24/03/00005", "FV24/03/00006"}, "FV24/03/00007"},
        {{}, {"FV24/03/00001"}, "FV24/03/00002"},
        // Another month's numbers do not count.
        {{"FV24/02/00009"}, {}, "FV24/03/00001"},
    };
    for (const Case& c : cases) {
        TempHome home;
        home.session().setToday(QDate(2024, 3, 9));
        for (const QString& n : c.facturas)
            home.db().insert(
                "INSERT INTO Facturas (Id_Fac, Fecha, Id_Cli, Total, Pagado) "
                "VALUES (?, '2024-03-01', 1, 1, 0)",
                {n});
        for (const QString& n : c.albaranes)
            home.db().insert(
                "INSERT INTO Albaranes (Id_Alb, Fecha, NFactura) VALUES (?, "
                "'2024-03-01', ?)",
                {n + "-AR", n});
        EXPECT_EQ(nextInvoiceNumber(home.session()), QString::fromUtf8(c.next))
            << c.facturas.join(',').toStdString() << " / " << c.albaranes.join(',').toStdString();
    }
}

TEST(TowReports, InvoicingRefusals) {
    Stored s;
    EXPECT_EQ(checkInvoice(s.db, QStringLiteral("PG03/00002")),
              QString::fromUtf8(kNoLinesToInvoice));
    saveReport(s.db, report(QStringLiteral("PG03/00002")));
    EXPECT_EQ(checkInvoice(s.db, QStringLiteral("PG03/00002")),
              QString::fromUtf8(kNoLinesToInvoice));
}

// Each write step fails on its last statement: nothing it did before stays.
TEST(TowReports, FailingWritesLeaveTheDatabaseUnchanged) {
    struct Case {
        const char* name;
        bool invoicedFirst;
        const char* trigger;
        std::function<void(Stored&)> step;
    };
    const Case cases[] = {
        {"invoice", false,
         "CREATE TRIGGER f BEFORE UPDATE ON Partes BEGIN SELECT RAISE(ABORT, 'x'); END",
         [](Stored& s) { invoice(s.home.session(), QStringLiteral("PG03/00001")); }},
        {"remove invoice", true,
         "CREATE TRIGGER f BEFORE UPDATE ON Partes BEGIN SELECT RAISE(ABORT, 'x'); END",
         [](Stored& s) { removeInvoice(s.db, QStringLiteral("PG03/00001")); }},
        {"delete", false,
         "CREATE TRIGGER f BEFORE DELETE ON Partes BEGIN SELECT RAISE(ABORT, 'x'); END",
         [](Stored& s) { deleteReport(s.db, QStringLiteral("PG03/00001")); }},
    };
    const char* snapshot =
        "SELECT (SELECT COUNT(*) FROM Facturas) || '/' || (SELECT COUNT(*) FROM LineasPartes) "
        "|| '/' || (SELECT COUNT(*) FROM Partes) || '/' || "
        "(SELECT NFactura || '/' || IFNULL(FechaFactura, '') FROM Partes)";
    for (const Case& c : cases) {
        Stored s;
        if (c.invoicedFirst) invoice(s.home.session(), QStringLiteral("PG03/00001"));
        const QString before = s.db.scalar(QString::fromUtf8(snapshot)).toString();
        s.db.exec(QString::fromUtf8(c.trigger));
        EXPECT_THROW(c.step(s), DbError) << c.name;
        EXPECT_EQ(s.db.scalar(QString::fromUtf8(snapshot)).toString(), before) << c.name;
    }
}

TEST(TowReports, RemovingTheInvoiceAndDeletingTheReport) {
    Stored s;
    const QString fv = invoice(s.home.session(), QStringLiteral("PG03/00001"));
    removeInvoice(s.db, QStringLiteral("PG03/00001"));
    EXPECT_EQ(count(s.db, "SELECT COUNT(*) FROM Facturas"), 0);
    const auto rep = loadReport(s.db, QStringLiteral("PG03/00001"));
    EXPECT_EQ(rep->value("NFactura").toString(), "No");
    EXPECT_TRUE(rep->value("FechaFactura").isNull());
    // The freed number is proposed again.
    EXPECT_EQ(nextInvoiceNumber(s.home.session()), fv);

    saveReport(s.db, report(QStringLiteral("PG03/00002")));
    replaceLines(s.db, QStringLiteral("PG03/00002"), {line("OTRA", 1, "1")});
    deleteReport(s.db, QStringLiteral("PG03/00001"));
    EXPECT_EQ(count(s.db, "SELECT COUNT(*) FROM Partes"), 1);
    EXPECT_EQ(count(s.db, "SELECT COUNT(*) FROM LineasPartes"), 1);
    EXPECT_EQ(count(s.db, "SELECT COUNT(*) FROM LineasPartes WHERE NParte = 'PG03/00002'"), 1);
}

}  // namespace
