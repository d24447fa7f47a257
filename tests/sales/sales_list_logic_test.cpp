#include <gtest/gtest.h>

#include <QSqlQuery>

#include "sales/counter_sale.h"
#include "sales/sales_list.h"
#include "sales_fixture.h"
#include "support/temp_home.h"

using namespace torvane;
using namespace torvane::testing;
using namespace torvane::sales;

namespace {

class SalesList : public ::testing::Test {
  protected:
    void SetUp() override {
        home.session().setToday(QDate(2008, 3, 5));
        ana = addCustomer(db(), "C1", "ANA LOPEZ", "11111111H");
        bea = addCustomer(db(), "C2", "BEATRIZ RUIZ", "22222222J");
    }
    Database& db() { return home.db(); }
    int count(const char* sql, const QVariantList& p = {}) { return db().scalar(sql, p).toInt(); }
    QStringList listed(const SqlStatement& s) {
        QStringList out;
        QSqlQuery q = db().exec(s.sql, s.params);
        while (q.next()) out << q.value("Albaran").toString();
        return out;
    }

    TempHome home;
    qint64 ana = 0;
    qint64 bea = 0;
};

TEST_F(SalesList, SearchByColumnAndState) {
    const QString n1 = addSavedNote(home.session(), ana, "10", QDate(2008, 3, 1));
    const QString n2 = addSavedNote(home.session(), bea, "20", QDate(2008, 3, 3));
    const QString n3 = addSavedNote(home.session(), ana, "30", QDate(2008, 3, 2));
    invoiceNote(db(), n3, "FV08/03/00001", QDate(2008, 3, 4), false);
    // A header without lines is not listed.
    db().exec(
        "INSERT INTO Albaranes (Id_Alb, Id_Cli, NFactura, Fecha) VALUES "
        "('AR08/03/00099', ?, 'No', '2008-03-09')",
        {ana});
    using C = SearchColumn;
    using S = NoteState;
    struct Case {
        C column;
        S state;
        const char* typed;
        QStringList expected;  // newest first
    };
    const Case cases[] = {
        {C::Albaran, S::Todos, "", {n3, n2, n1}},  // n3 took its invoice date
        {C::Albaran, S::Todos, "ar08/03/00002", {n2}},
        {C::Factura, S::Todos, "FV", {n3}},
        {C::Cliente, S::Todos, "ANA", {n3, n1}},
        {C::Cliente, S::SinFacturar, "ANA", {n1}},
        {C::Cliente, S::Facturadas, "", {n3}},
        {C::NIF, S::Todos, "2222", {n2}},
        {C::NIF, S::SinFacturar, "", {n2, n1}},
        {C::Cliente, S::Todos, "ZZ", {}},
        {C::Cliente, S::Todos, "AN'A", {}},  // a quote is just a character
    };
    for (const Case& c : cases)
        EXPECT_EQ(listed(listSearch(db(), c.column, c.state, c.typed)), c.expected)
            << int(c.column) << " " << int(c.state) << " " << c.typed;
    EXPECT_EQ(listed(listAll()), (QStringList{n3, n2, n1}));
}

TEST_F(SalesList, ManyMatchingNotesAreListedNewestFirstToo) {
    const QString recent = addSavedNote(home.session(), ana, "10", QDate(2008, 3, 1));
    {
        Database::Transaction t(db());
        for (int i = 0; i < 3500; ++i) {
            const QString n = QStringLiteral("AR07/01/%1").arg(i, 5, 10, QLatin1Char('0'));
            db().exec(
                "INSERT INTO Albaranes (Id_Alb, Fecha, Id_Cli, NFactura, Total) "
                "VALUES (?, '2007-01-15', ?, 'No', 1)",
                {n, i % 2 ? ana : bea});
            db().exec(
                "INSERT INTO Salidas (Id_Alb, Id_Art, Cantidad, Precio, Dto) "
                "VALUES (?, 0, 1, 1, 0)",
                {n});
        }
        t.commit();
    }
    struct Case {
        SearchColumn column;
        NoteState state;
        const char* typed;
        int rows;
    };
    const Case cases[] = {
        {SearchColumn::Albaran, NoteState::Todos, "AR", 3501},
        {SearchColumn::Cliente, NoteState::SinFacturar, "ANA", 1751},
        {SearchColumn::Albaran, NoteState::Todos, "AR08", 1},
    };
    for (const Case& c : cases) {
        const QStringList notes = listed(listSearch(db(), c.column, c.state, c.typed));
        EXPECT_EQ(notes.size(), c.rows) << c.typed;
        ASSERT_FALSE(notes.isEmpty());
        EXPECT_EQ(notes.first(), recent) << c.typed;
    }
}

TEST_F(SalesList, ProposalStartsAtOneAndFollowsTheLastInvoice) {
    EXPECT_EQ(proposedInvoiceNumber(home.session()), "FV08/03/00001");
    const QString n1 = addSavedNote(home.session(), ana, "10");
    invoiceNote(db(), n1, proposedInvoiceNumber(home.session()), QDate(2008, 3, 5), false);
    EXPECT_EQ(proposedInvoiceNumber(home.session()), "FV08/03/00002");
    EXPECT_EQ(checkTypedNumber(db(), "FV08/03/00001"),
              "El número de factura FV08/03/00001 ya está en uso.");
    EXPECT_EQ(checkTypedNumber(db(), "FV08/03/00002"), "");
}

TEST_F(SalesList, OneNoteInvoiceTakesTheDateAndRefusesRepeats) {
    const QString n1 = addSavedNote(home.session(), ana, "10", QDate(2008, 3, 1));
    const QString n2 = addSavedNote(home.session(), ana, "10", QDate(2008, 3, 1));
    invoiceNote(db(), n1, "FV08/03/00001", QDate(2008, 3, 20), true);
    EXPECT_EQ(db().scalar("SELECT Fecha FROM Albaranes WHERE Id_Alb = ?", {n1}).toString(),
              "2008-03-20");
    EXPECT_EQ(db().scalar("SELECT Pagado FROM Facturas").toDouble(), 11.6);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Cobros WHERE Fecha = '2008-03-20' AND Cantidad = 11.6"),
              1);
    struct Case {
        QString note;
        const char* invoice;
        const char* message;
    };
    const Case cases[] = {
        {n1, "FV08/03/00002", "Esta venta ya se ha facturado."},
        {n2, "FV08/03/00001", "El número de factura FV08/03/00001 ya está en uso."},
    };
    for (const Case& c : cases) {
        try {
            invoiceNote(db(), c.note, c.invoice, QDate(2008, 3, 21), false);
            ADD_FAILURE() << c.message;
        } catch (const Refused& r) {
            EXPECT_EQ(r.message(), QString::fromUtf8(c.message));
        }
    }
    EXPECT_EQ(count("SELECT COUNT(*) FROM Facturas"), 1);
    EXPECT_EQ(invoiceOf(db(), n2), "No");
}

TEST_F(SalesList, SeveralNotesOneInvoice) {
    const QString n1 = addSavedNote(home.session(), ana, "10");     // 11,60
    const QString n2 = addSavedNote(home.session(), ana, "20,01");  // 23,21
    const QString n3 = addSavedNote(home.session(), ana, "0,5");    // 0,58
    const QString other = addSavedNote(home.session(), bea, "5");
    EXPECT_EQ(pendingNotesOf(db(), ana), (QStringList{n1, n2, n3}));
    const Money total =
        invoiceTogether(db(), {n1, n3}, ana, "FV08/03/00001", QDate(2008, 3, 6), true);
    EXPECT_EQ(total.format(), "12,18");
    EXPECT_EQ(db().scalar("SELECT Total FROM Facturas").toDouble(), 12.18);
    EXPECT_EQ(db().scalar("SELECT Pagado FROM Facturas").toDouble(), 12.18);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Cobros"), 1);
    EXPECT_EQ(pendingNotesOf(db(), ana), QStringList{n2});
    EXPECT_EQ(notesFormula({n1, n3}), "{Albaranes.Id_Alb} like [\"" + n1 + "\",\"" + n3 + "\"]");

    // A note of another customer, or one already invoiced, refuses the whole invoice.
    for (const QStringList& notes : {QStringList{n2, other}, QStringList{n2, n1}}) {
        EXPECT_THROW(invoiceTogether(db(), notes, ana, "FV08/03/00002", QDate(2008, 3, 6), false),
                     Refused);
        EXPECT_EQ(invoiceOf(db(), n2), "No");
        EXPECT_EQ(count("SELECT COUNT(*) FROM Facturas"), 1);
    }
}

TEST_F(SalesList, MultiInvoiceGivesConsecutiveNumbersAndRecomputedTotals) {
    const QString n1 = addSavedNote(home.session(), ana, "99,59");
    const QString n2 = addSavedNote(home.session(), bea, "10");
    // A stored Total that differs from Nominal + 16 % (written by hand) is recomputed.
    db().exec("UPDATE Albaranes SET Total = 1 WHERE Id_Alb = ?", {n2});
    const QStringList numbers = invoiceEach(home.session(), {n2, n1}, "FV08/03/00005",
                                            QDate(2008, 3, 7), true, QDate(2008, 3, 5));
    EXPECT_EQ(numbers, (QStringList{"FV08/03/00005", "FV08/03/00006"}));
    EXPECT_EQ(invoiceOf(db(), n2), "FV08/03/00005");
    EXPECT_EQ(invoiceOf(db(), n1), "FV08/03/00006");
    QStringList invoices;
    for (const Row& r : db().rows("SELECT f.*, c.Fecha AS Cobro FROM Facturas f JOIN Cobros c "
                                  "ON c.NFactura = f.Id_Fac ORDER BY f.Id_Fac"))
        invoices << QStringList{r.value("Id_Cli").toString(), r.value("Total").toString(),
                                r.value("Pagado").toString(), r.value("Fecha").toString(),
                                r.value("Cobro").toString()}
                        .join(' ');
    EXPECT_EQ(invoices,
              (QStringList{QStringLiteral("%1 11.6 11.6 2008-03-07 2008-03-05").arg(bea),
                           QStringLiteral("%1 115.52 115.52 2008-03-07 2008-03-05").arg(ana)}));
}

TEST_F(SalesList, DeletingNotesAndInvoices) {
    const qint64 art = addArticle(db(), "A1", "FILTRO", 5);
    const QString n1 = startNewNote(home.session());
    storeLine(db(), n1, saleLine(art, "A1", "2", "10"));
    NoteHeader h;
    h.number = n1;
    h.date = QDate(2008, 3, 5);
    h.customerId = ana;
    saveNote(db(), h, {});
    const QString n2 = addSavedNote(home.session(), ana, "10");
    const QString n3 = addSavedNote(home.session(), ana, "10");
    invoiceTogether(db(), {n1, n2, n3}, ana, "FV08/03/00001", QDate(2008, 3, 5), true);
    db().exec(
        "INSERT INTO Cobros (NFactura, Fecha, Cantidad) VALUES ('FV08/03/00001', "
        "'2008-03-06', 1)");

    // Removing the invoice frees its three notes and takes every payment with it.
    deleteInvoice(db(), "FV08/03/00001");
    for (const QString& n : {n1, n2, n3}) EXPECT_EQ(invoiceOf(db(), n), "No") << n.toStdString();
    EXPECT_EQ(count("SELECT COUNT(*) FROM Facturas"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Cobros"), 0);
    EXPECT_THROW(deleteInvoice(db(), "No"), Refused);

    // Removing an invoiced note: its lines, itself and its invoice row; the stock,
    // the payment and the other note of the invoice stay.
    invoiceTogether(db(), {n1, n2}, ana, "FV08/03/00002", QDate(2008, 3, 5), true);
    deleteNote(db(), n1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Salidas WHERE Id_Alb = ?", {n1}), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Albaranes WHERE Id_Alb = ?", {n1}), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Facturas"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Cobros WHERE NFactura = 'FV08/03/00002'"), 1);
    EXPECT_EQ(invoiceOf(db(), n2), "FV08/03/00002");
    EXPECT_EQ(stockOf(db(), art), 3);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Salidas"), 2);  // n2 and n3 keep theirs
}

}  // namespace
