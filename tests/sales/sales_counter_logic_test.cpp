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
    const auto row = db().firstRow("SELECT * FROM Albaranes WHERE Id_Alb = ?", {number});
    ASSERT_TRUE(row);
    EXPECT_EQ(row->value("Suma").toDouble(), 7);
    EXPECT_EQ(row->value("Nominal").toDouble(), 7);
    EXPECT_EQ(row->value("IVA").toDouble(), 1.12);
    EXPECT_EQ(row->value("Total").toDouble(), 8.12);
    EXPECT_EQ(row->value("Notas").toString(), "URGENTE");
    EXPECT_EQ(row->value("NFactura").toString(), "No");
    EXPECT_EQ(row->value("Fecha").toString(), "2008-03-05");
}

TEST_F(CounterSale, ClosingWithoutSavingUndoesOnlyTheVisit) {
    struct Case {
        const char* name;
        bool stored;           // the note was saved before this visit with one line of 2
        bool deleteOldInGrid;  // the old line is deleted in the grid during the visit
        int linesLeft;
        double stockLeft;
        bool headerLeft;
    };
    const Case cases[] = {
        {"new note", false, false, 0, 5, false},
        {"stored, line added", true, false, 1, 3, true},
        {"stored, old line deleted in grid", true, true, 1, 3, true},
    };
    for (const Case& c : cases) {
        TempHome h;
        h.session().setToday(QDate(2008, 3, 5));
        Database& d = h.db();
        const qint64 cli = addCustomer(d, "C", "X");
        const qint64 art = addArticle(d, "A1", "FILTRO", 5);
        const QString number = startNewNote(h.session());
        int atOpen = 0;
        if (c.stored) {
            storeLine(d, number, saleLine(art, "A1", "2", "10"));
            NoteHeader hd;
            hd.number = number;
            hd.date = QDate(2008, 3, 5);
            hd.customerId = cli;
            saveNote(d, hd, {});
            atOpen = 1;
        }
        storeLine(d, number, saleLine(art, "A1", "1", "10"));  // the visit's line
        // A grid deletion is not written until the note is saved.
        discardVisit(d, number, atOpen, !c.stored);
        EXPECT_EQ(d.scalar("SELECT COUNT(*) FROM Salidas").toInt(), c.linesLeft) << c.name;
        EXPECT_EQ(stockOf(d, art), c.stockLeft) << c.name;
        EXPECT_EQ(d.scalar("SELECT COUNT(*) FROM Albaranes").toInt(), c.headerLeft ? 1 : 0)
            << c.name;
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
    struct Case {
        const char* name;
        bool paid;
        double pagado;
        int payments;
    };
    const Case cases[] = {{"paid", true, 20.88, 1}, {"not paid", false, 0, 0}};
    for (const Case& c : cases) {
        TempHome h;
        h.session().setToday(QDate(2008, 3, 5));
        Database& d = h.db();
        const qint64 cli = addCustomer(d, "C", "X");
        const QString number = startNewNote(h.session());
        storeLine(d, number, saleLine(0, "", "2", "10", "10"));
        NoteHeader hd;
        hd.number = number;
        hd.date = QDate(2008, 3, 4);
        hd.customerId = cli;
        const QString invoice = invoiceSale(h.session(), hd, {}, c.paid);
        EXPECT_EQ(invoice, "FV08/03/00001") << c.name;  // the first of the series: counter 1
        const auto f = d.firstRow("SELECT * FROM Facturas");
        ASSERT_TRUE(f);
        EXPECT_EQ(f->value("Id_Fac").toString(), invoice);
        EXPECT_EQ(f->value("Total").toDouble(), 20.88);
        EXPECT_EQ(f->value("Pagado").toDouble(), c.pagado) << c.name;
        EXPECT_EQ(f->value("Fecha").toString(), "2008-03-04");
        EXPECT_EQ(f->value("Id_Cli").toLongLong(), cli);
        EXPECT_EQ(d.scalar("SELECT COUNT(*) FROM Cobros WHERE NFactura = ? AND Cantidad = 20.88 "
                           "AND Fecha = '2008-03-04'",
                           {invoice})
                      .toInt(),
                  c.payments)
            << c.name;
        EXPECT_EQ(invoiceOf(d, number), invoice);
        EXPECT_EQ(d.scalar("SELECT Total FROM Albaranes").toDouble(), 20.88);
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
