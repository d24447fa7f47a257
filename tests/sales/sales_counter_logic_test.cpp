#include <gtest/gtest.h>

#include "core/numbering.h"
#include "sales/counter_sale.h"
#include "sales_fixture.h"
#include "support/temp_home.h"

using namespace torvane;
using namespace torvane::testing;
using namespace torvane::sales;

namespace {

class CounterSale : public ::testing::Test {
  protected:
    void SetUp() override {
        home.session().setToday(QDate(2008, 3, 5));
        customer = addCustomer(db(), "C1", "TALLERES PEREZ");
    }
    Database& db() { return home.db(); }
    NoteHeader header(const QString& number) {
        NoteHeader h;
        h.number = number;
        h.date = QDate(2008, 3, 5);
        h.customerId = customer;
        h.notes = "URGENTE";
        return h;
    }
    int count(const char* sql, const QVariantList& p = {}) { return db().scalar(sql, p).toInt(); }

    TempHome home;
    qint64 customer = 0;
};

TEST(SaleTotals, LinesAsShownAndVatToCents) {
    struct Case {
        std::vector<std::array<const char*, 3>> lines;  // units, price, discount
        const char* sum;
        const char* vat;
        const char* total;
    };
    const Case cases[] = {
        {{{"2", "10", "10"}}, "18,00", "2,88", "20,88"},
        {{{"1", "110,65", "10"}}, "99,59", "15,93", "115,52"},
        // Each line rounds to cents before the sum: 0,335 + 0,335 shows 0,34 + 0,34.
        {{{"1", "0,335", "0"}, {"1", "0,335", "0"}}, "0,68", "0,11", "0,79"},
        {{{"3,25", "38,50", "0"}, {"-1", "10", "0"}}, "115,13", "18,42", "133,55"},
        {{{"-2", "10", "0"}}, "-20,00", "-3,20", "-23,20"},
        {{}, "0,00", "0,00", "0,00"},
    };
    for (const Case& c : cases) {
        std::vector<DocumentLine> lines;
        for (const auto& l : c.lines) lines.push_back(saleLine(0, "X", l[0], l[1], l[2]).line);
        const SaleTotals t = totalsOf(lines, Quantity::whole(16));
        EXPECT_EQ(t.sum.format(), c.sum);
        EXPECT_EQ(t.vat.format(), c.vat) << c.sum;
        EXPECT_EQ(t.total.format(), c.total) << c.sum;
    }
}

TEST(SaleLineCheck, MessagesAndExactValues) {
    struct Case {
        TypedLine typed;
        const char* message;  // empty: accepted
        const char* amount;
    };
    const Case cases[] = {
        {{"A1", "FILTRO", "2", "10,00", "10"}, "", "18,00"},
        {{"", "TORNILLO", "-1", "1,50", ""}, "", "-1,50"},  // empty discount is 0
        {{"A1", "", "2", "10", "0"}, "Debe completar todos los campos", ""},
        {{"A1", "FILTRO", "", "10", "0"}, "Debe completar todos los campos", ""},
        {{"A1", "FILTRO", "1", "", "0"}, "Debe completar todos los campos", ""},
        {{"A1", "FILTRO", "1", "10", "101"}, "El descuento no puede ser mayor de 100", ""},
        {{"A1", "FILTRO", "1", "10", "100"}, "", "0,00"},
        {{"A1", "FILTRO", "1,2,3", "10", "0"}, "Las unidades no son válidas: 1,2,3", ""},
        {{"A1", "FILTRO", "1", "diez", "0"}, "El precio no es válido: diez", ""},
    };
    for (const Case& c : cases) {
        const LineCheck check = checkLine(c.typed);
        EXPECT_EQ(check.message, QString::fromUtf8(c.message)) << c.typed.description.toStdString();
        EXPECT_EQ(check.line.has_value(), !*c.message);
        if (check.line) {
            EXPECT_EQ(check.line->amount().format(), c.amount);
        }
    }
}

// One article with 5 units through a visit: each step and the stock it leaves.
TEST_F(CounterSale, StockFollowsEveryLineStep) {
    const qint64 art = addArticle(db(), "A1", "FILTRO", 5);
    const qint64 other = addArticle(db(), "B1", "BUJIA", 5);
    const QString number = startNewNote(home.session());
    EXPECT_EQ(number, "AR08/03/00001");

    const qint64 line = storeLine(db(), number, saleLine(art, "A1", "2", "10"));
    EXPECT_EQ(stockOf(db(), art), 3);
    storeLine(db(), number, saleLine(art, "A1", "5", "10", "0", line));  // edit: difference
    EXPECT_EQ(stockOf(db(), art), 0);
    storeLine(db(), number, saleLine(art, "A1", "-1", "10", "0", line));  // a return
    EXPECT_EQ(stockOf(db(), art), 6);
    storeLine(db(), number, saleLine(other, "B1", "2", "4", "0", line));  // another article
    EXPECT_EQ(stockOf(db(), art), 5);
    EXPECT_EQ(stockOf(db(), other), 3);
    storeLine(db(), number, saleLine(0, "", "7", "1"));  // free line
    EXPECT_EQ(stockOf(db(), other), 3);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Salidas WHERE Id_Alb = ? AND Id_Art = 0", {number}), 1);

    const SaleTotals t = saveNote(db(), header(number), {line});
    EXPECT_EQ(stockOf(db(), other), 5);  // the deleted line gave its units back
    EXPECT_EQ(t.sum.format(), "7,00");
    EXPECT_EQ(
        db().scalar("SELECT Suma || ' ' || Nominal || ' ' || IVA || ' ' || Total || ' ' || "
                    "Notas || ' ' || NFactura || ' ' || Fecha FROM Albaranes WHERE Id_Alb = ?",
                    {number})
            .toString(),
        "7.0 7.0 1.12 8.12 URGENTE No 2008-03-05");
}

TEST_F(CounterSale, ClosingWithoutSavingUndoesOnlyTheVisit) {
    // A new note, and a note saved before this visit with one line of 2; each on its own
    // article.
    for (const bool stored : {false, true}) {
        const qint64 art = addArticle(db(), stored ? "A2" : "A1", "FILTRO", 5);
        const QString number = startNewNote(home.session());
        if (stored) {
            storeLine(db(), number, saleLine(art, "A2", "2", "10"));
            saveNote(db(), header(number), {});
        }
        storeLine(db(), number, saleLine(art, "A1", "1", "10"));  // the visit's line
        discardVisit(db(), number, stored ? 1 : 0, !stored);
        EXPECT_EQ(count("SELECT COUNT(*) FROM Salidas WHERE Id_Alb = ?", {number}), stored ? 1 : 0);
        EXPECT_EQ(stockOf(db(), art), stored ? 3 : 5);
        EXPECT_EQ(count("SELECT COUNT(*) FROM Albaranes WHERE Id_Alb = ?", {number}),
                  stored ? 1 : 0);
    }
}

TEST_F(CounterSale, SavingRefusesANoteWithoutLinesAndWritesNothing) {
    const qint64 art = addArticle(db(), "A1", "FILTRO", 5);
    const QString number = startNewNote(home.session());
    const qint64 line = storeLine(db(), number, saleLine(art, "A1", "2", "10"));
    try {
        saveNote(db(), header(number), {line});
        FAIL() << "saved without lines";
    } catch (const Refused& r) {
        EXPECT_EQ(r.message(), "No hay detalles de venta");
    }
    EXPECT_EQ(count("SELECT COUNT(*) FROM Albaranes"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Salidas"), 1);
    EXPECT_EQ(stockOf(db(), art), 3);
}

TEST_F(CounterSale, LinesLeftWithoutHeaderAreGivenBackWhenTheNumberIsTakenAgain) {
    const qint64 art = addArticle(db(), "A1", "FILTRO", 5);
    const QString number = startNewNote(home.session());
    storeLine(db(), number, saleLine(art, "A1", "2", "10"));
    // The program stopped here: lines stored, header never written.
    EXPECT_EQ(startNewNote(home.session()), number);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Salidas"), 0);
    EXPECT_EQ(stockOf(db(), art), 5);
}

TEST_F(CounterSale, InvoicingFromTheSale) {
    for (const bool paid : {true, false}) {
        const QString number = startNewNote(home.session());
        storeLine(db(), number, saleLine(0, "", "2", "10", "10"));
        NoteHeader h = header(number);
        h.date = QDate(2008, 3, 4);
        const QString invoice = invoiceSale(home.session(), h, {}, paid);
        // The first of the series is counter 1.
        EXPECT_EQ(invoice, paid ? "FV08/03/00001" : "FV08/03/00002");
        EXPECT_EQ(db().scalar("SELECT Total || ' ' || Fecha || ' ' || Id_Cli FROM Facturas "
                              "WHERE Id_Fac = ?",
                              {invoice})
                      .toString(),
                  QStringLiteral("20.88 2008-03-04 %1").arg(customer));
        EXPECT_EQ(db().scalar("SELECT Pagado FROM Facturas WHERE Id_Fac = ?", {invoice}).toDouble(),
                  paid ? 20.88 : 0);
        EXPECT_EQ(count("SELECT COUNT(*) FROM Cobros WHERE NFactura = ? AND Cantidad = 20.88 AND "
                        "Fecha = '2008-03-04'",
                        {invoice}),
                  paid ? 1 : 0);
        EXPECT_EQ(invoiceOf(db(), number), invoice);
        EXPECT_EQ(db().scalar("SELECT Total FROM Albaranes WHERE Id_Alb = ?", {number}).toDouble(),
                  20.88);
    }
}

TEST_F(CounterSale, InvoicingRefusals) {
    const QString number = startNewNote(home.session());
    const qint64 line = storeLine(db(), number, saleLine(0, "", "1", "10"));
    NoteHeader invoiced = header(number);
    invoiced.invoice = "FV08/03/00007";
    struct Case {
        NoteHeader header;
        QList<qint64> deleted;
        const char* message;
    };
    const Case cases[] = {
        {invoiced, {}, "Esta venta ya se ha facturado."},
        {header(number), {line}, "No hay detalles de venta"},
    };
    for (const Case& c : cases) {
        try {
            invoiceSale(home.session(), c.header, c.deleted, true);
            ADD_FAILURE() << c.message;
        } catch (const Refused& r) {
            EXPECT_EQ(r.message(), QString::fromUtf8(c.message));
        }
    }
    EXPECT_EQ(count("SELECT COUNT(*) FROM Facturas"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Cobros"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Albaranes"), 0);
}

TEST_F(CounterSale, InvoiceNumberNeverRepeatsAUsedOne) {
    // Notes invoiced out of order: the last stored note carries 00001, 00002 is used.
    const QString a = addSavedNote(home.session(), customer, "10");
    const QString b = addSavedNote(home.session(), customer, "10");
    db().exec("UPDATE Albaranes SET NFactura = 'FV08/03/00002' WHERE Id_Alb = ?", {a});
    db().exec("UPDATE Albaranes SET NFactura = 'FV08/03/00001' WHERE Id_Alb = ?", {b});
    db().exec(
        "INSERT INTO Facturas (Id_Fac, Total) VALUES ('FV08/03/00002', 1), "
        "('FV08/03/00001', 1)");
    const QString c = startNewNote(home.session());
    storeLine(db(), c, saleLine(0, "", "1", "10"));
    EXPECT_EQ(invoiceSale(home.session(), header(c), {}, false), "FV08/03/00003");
}

}  // namespace
