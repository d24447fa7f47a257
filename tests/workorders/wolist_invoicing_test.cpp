#include <gtest/gtest.h>

#include "workorders/wolist_fixture.h"
#include "workorders/work_order_invoicing.h"

namespace torvane::testing {
namespace {

namespace inv = torvane::invoicing;

Money m(const char* text) {
    return Money::parse(QString::fromUtf8(text)).value();
}

// The rounding itself is Money's; here the VAT is rounded and the total keeps the base as is.
TEST(InvoiceAmounts, VatIsSixteenPercentRoundedToTheCent) {
    struct Case {
        const char* base;
        const char* vat;
        const char* total;
    };
    const Case cases[] = {
        {"100", "16", "116"},
        // 16 % never falls on half a cent exactly: just over and just under it.
        {"0,0313", "0,01", "0,0413"},
        {"0,0312", "0", "0,0312"},
        {"-0,0313", "-0,01", "-0,0413"},
    };
    for (const Case& c : cases) {
        const inv::Amounts a = inv::amountsFor(m(c.base), Quantity::whole(16));
        EXPECT_EQ(a.vat, m(c.vat)) << c.base;
        EXPECT_EQ(a.total, m(c.total)) << c.base;
    }
}

TEST(EditorDocumentCheck, JobsComeBeforeKilometres) {
    struct Case {
        bool jobs;
        const char* km;
        const char* message;
    };
    const Case cases[] = {
        {false, "", "No hay trabajos a realizar"},
        {true, "", "Compruebe los Kilómetros del vehículo"},
        {true, "   ", "Compruebe los Kilómetros del vehículo"},
        {true, "0", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(inv::checkEditorDocument(c.jobs, QString::fromUtf8(c.km)),
                  QString::fromUtf8(c.message))
            << c.jobs << c.km;
}

TEST(SelectionFormulas, OneOrSeveralWorkOrders) {
    EXPECT_EQ(inv::workOrderFormula("ODT/0007"), "{ODTS.NODT} ='ODT/0007'");
    EXPECT_EQ(inv::workOrdersFormula({"N1", "N2"}), "{ODTS.NODT} like [\"N1\",\"N2\"]");
    EXPECT_EQ(inv::workOrderFormula("O'B"), "{ODTS.NODT} ='O''B'");
}

class EditorInvoicing : public WorkOrderListTest {
  protected:
    void SetUp() override {
        const qint64 c = insertCustomer(db(), "ANA");
        insertOrder(db(), {.number = "ODT/0001", .customer = c, .vehicle = 1});
    }
    // Invoices a base of 10 on 5 March, paid.
    inv::Result invoice(const char* workOrder, inv::StoreWorkOrder store = {}) {
        return inv::invoiceFromEditor(session(), {.workOrder = workOrder,
                                                  .exitDate = QDate(2008, 3, 5),
                                                  .base = m("10"),
                                                  .paid = true,
                                                  .storeWorkOrder = std::move(store)});
    }
};

TEST_F(EditorInvoicing, BaseHundredPaidAndUnpaid) {
    struct Case {
        bool paid;
        const char* pagado;
        int payments;
    };
    for (const Case& c : {Case{true, "116", 1}, Case{false, "0", 0}}) {
        db().exec("DELETE FROM FacturasODT");
        db().exec("DELETE FROM Cobros");
        db().exec("UPDATE ODTS SET NFactura = 'No'");
        const inv::Result r = inv::invoiceFromEditor(session(), {.workOrder = "ODT/0001",
                                                                 .exitDate = QDate(2008, 3, 4),
                                                                 .base = m("100"),
                                                                 .paid = c.paid});
        ASSERT_TRUE(r) << r.refusal.toStdString();
        ASSERT_EQ(r.numbers, QStringList{"FR08/03/00001"});
        EXPECT_EQ(count("SELECT count(*) FROM FacturasODT WHERE NFactura = 'FR08/03/00001' AND "
                        "Fecha = '2008-03-04' AND Base = 100 AND IVA = 16 AND Importe = 116"),
                  1);
        EXPECT_EQ(money("SELECT Pagado FROM FacturasODT"), m(c.pagado));
        EXPECT_EQ(count("SELECT count(*) FROM Cobros WHERE NFactura = 'FR08/03/00001' AND "
                        "Cantidad = 116 AND Fecha = '2008-03-04'"),
                  c.payments);
    }
}

TEST_F(EditorInvoicing, RefusalsStoreNothingAndTheNumberFollowsTheLastRow) {
    // The next number already carried by a work order, and a work order not stored.
    insertOrder(db(), {.number = "ODT/0009", .invoice = "FR08/03/00001"});
    EXPECT_EQ(invoice("ODT/0001").refusal, "El número de factura FR08/03/00001 ya está en uso.");
    db().exec("UPDATE ODTS SET NFactura = 'No' WHERE NODT = 'ODT/0009'");
    EXPECT_FALSE(invoice("ODT/0404"));
    EXPECT_EQ(count("SELECT count(*) FROM FacturasODT"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM Cobros"), 0);
    EXPECT_EQ(invoiceOf("ODT/0001"), "No");

    // The number continues the last invoice row of the month's prefix.
    db().exec("INSERT INTO FacturasODT (NFactura, Fecha) VALUES ('FR08/02/00040', '2008-02-28')");
    db().exec("INSERT INTO FacturasODT (NFactura, Fecha) VALUES ('FR08/03/00007', '2008-03-01')");
    EXPECT_EQ(invoice("ODT/0001").numbers, QStringList{"FR08/03/00008"});
}

TEST_F(EditorInvoicing, QuietSaveRunsInsideTheTransaction) {
    // The editor stores its header inside the step; a failing save leaves no invoice.
    QString seen;
    ASSERT_TRUE(invoice("ODT/0001", [&](Database& d, const QString& number) {
        seen = number;
        d.exec("UPDATE ODTS SET Kilometros = 4321 WHERE NODT = 'ODT/0001'");
    }));
    EXPECT_EQ(seen, "FR08/03/00001");
    EXPECT_EQ(count("SELECT Kilometros FROM ODTS WHERE NODT = 'ODT/0001'"), 4321);

    EXPECT_THROW(invoice("ODT/0001",
                         [](Database& d, const QString&) { d.exec("UPDATE NoSuchTable SET x=1"); }),
                 DbError);
    EXPECT_EQ(count("SELECT count(*) FROM FacturasODT"), 1);
    EXPECT_EQ(count("SELECT count(*) FROM Cobros"), 1);
}

TEST_F(EditorInvoicing, EveryDeliveryNoteTakesTheNextNumber) {
    for (const char* expected : {"AL08/03/00001", "AL08/03/00002"}) {
        const inv::Result r = inv::deliveryNoteFromEditor(session(), "ODT/0001");
        ASSERT_TRUE(r);
        EXPECT_EQ(r.numbers, QStringList{expected});
        EXPECT_EQ(text("SELECT NAlbaran FROM ODTS WHERE NODT = 'ODT/0001'"), expected);
        EXPECT_EQ(r.formula, "{ODTS.NODT}='ODT/0001'");
    }
    EXPECT_FALSE(inv::deliveryNoteFromEditor(session(), "ODT/0404"));
}

TEST(PrintTargets, EachInvoiceCommandPrintsItsFile) {
    EXPECT_EQ(inv::printTarget(inv::InvoiceDocument::Invoice).file, "\\QARVOFACODT.rpt");
    EXPECT_TRUE(inv::printTarget(inv::InvoiceDocument::Invoice).preview);
    EXPECT_EQ(inv::printTarget(inv::InvoiceDocument::Internal).file, "\\QARVOFACODTI.rpt");
    EXPECT_TRUE(inv::printTarget(inv::InvoiceDocument::Internal).preview);
    EXPECT_EQ(inv::printTarget(inv::InvoiceDocument::Ticket).file, "\\TICKETODT.rpt");
    EXPECT_FALSE(inv::printTarget(inv::InvoiceDocument::Ticket).preview);
}

// Three customers' work orders for the list paths.
class ListInvoicing : public WorkOrderListTest {
  protected:
    void SetUp() override {
        ana = insertCustomer(db(), "ANA");
        luis = insertCustomer(db(), "LUIS");
        a1 = insertOrder(db(), {.number = "ODT/0001", .customer = ana, .nominal = "250,50"});
        a2 = insertOrder(db(), {.number = "ODT/0002", .customer = ana, .nominal = "100"});
        insertOrder(
            db(),
            {.number = "ODT/0003", .customer = ana, .nominal = "70", .invoice = "FR08/02/00001"});
        a4 = insertOrder(
            db(), {.number = "ODT/0004", .customer = ana, .internal = "Si", .nominal = "10,25"});
        l1 = insertOrder(db(), {.number = "ODT/0005", .customer = luis, .nominal = "33,33"});
    }
    // Invoices the work orders together, paid, on 5 March.
    inv::Result together(const QStringList& orders, const QString& number) {
        return inv::invoiceTogether(
            session(),
            {.workOrders = orders, .number = number, .date = QDate(2008, 3, 5), .paid = true});
    }
    qint64 ana = 0, luis = 0, a1 = 0, a2 = 0, a4 = 0, l1 = 0;
};

TEST_F(ListInvoicing, ListInvoiceRefusalsThenTheStoredNominal) {
    db().exec("INSERT INTO FacturasODT (NFactura) VALUES ('FR08/03/00099')");
    struct Case {
        qint64 id;
        const char* number;
        const char* message;
    };
    const Case cases[] = {
        {0, "FR08/03/00020", "Ningún registro activo"},
        {3, "FR08/03/00020", "Ya se ha facturado esta ODT, no puede volver a facturarla"},
        {1, "FR08/02/00001", "El número de factura FR08/02/00001 ya está en uso."},
        {1, "fr08/02/00001", "El número de factura fr08/02/00001 ya está en uso."},
        {1, "FR08/03/00099", "El número de factura FR08/03/00099 ya está en uso."},
        {1, "", "Escriba el número de la factura."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(inv::checkListInvoice(db(), c.id, c.number), QString::fromUtf8(c.message));
        const inv::Result r = inv::invoiceFromList(
            session(),
            {.workOrderId = c.id, .number = c.number, .date = QDate(2008, 3, 5), .paid = true});
        EXPECT_EQ(r.refusal, QString::fromUtf8(c.message)) << c.number;
    }
    EXPECT_EQ(count("SELECT count(*) FROM FacturasODT"), 1);
    EXPECT_EQ(count("SELECT count(*) FROM Cobros"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM ODTS WHERE NFactura = 'No'"), 4);

    // Accepted, it takes the stored nominal.
    // Lines that no longer add up to the saved amount do not matter.
    db().exec(
        "INSERT INTO MaterialesODT (NODT, Unidades, Precio, Dto) VALUES ('ODT/0001', 1, "
        "999, 0)");
    const inv::Result r = inv::invoiceFromList(
        session(),
        {.workOrderId = a1, .number = "FR08/03/00020", .date = QDate(2008, 3, 1), .paid = true});
    ASSERT_TRUE(r) << r.refusal.toStdString();
    EXPECT_EQ(count("SELECT count(*) FROM FacturasODT WHERE Base = 250.5 AND IVA = 40.08 AND "
                    "Importe = 290.58 AND Pagado = Importe AND Fecha = '2008-03-01'"),
              1);
    // The payment is dated the day it is booked.
    EXPECT_EQ(text("SELECT Fecha FROM Cobros"), "2008-03-05");
    EXPECT_EQ(invoiceOf("ODT/0001"), "FR08/03/00020");
}

TEST_F(ListInvoicing, UniFacturaAllWritesOneNumberIntoEveryPendingOrder) {
    const auto pending = inv::pendingOfCustomerOf(db(), "ODT/0002");
    ASSERT_TRUE(pending);
    EXPECT_EQ(pending->customerId, ana);
    // Internal ones included, invoiced ones and other customers' left out.
    EXPECT_EQ(pending->workOrders, (QStringList{"ODT/0001", "ODT/0002", "ODT/0004"}));

    const inv::Result r = together(pending->workOrders, "FR08/03/00001");
    ASSERT_TRUE(r) << r.refusal.toStdString();
    for (const char* n : {"ODT/0001", "ODT/0002", "ODT/0004"})
        EXPECT_EQ(invoiceOf(n), "FR08/03/00001") << n;
    EXPECT_EQ(invoiceOf("ODT/0005"), "No");
    EXPECT_EQ(count("SELECT count(*) FROM FacturasODT WHERE Base = 360.75 AND IVA = 57.72 AND "
                    "Importe = 418.47"),
              1);
    EXPECT_EQ(money("SELECT sum(Cantidad) FROM Cobros WHERE NFactura = 'FR08/03/00001'"),
              m("418,47"));
    EXPECT_EQ(r.formula, "{ODTS.NODT} like [\"ODT/0001\",\"ODT/0002\",\"ODT/0004\"]");
}

TEST_F(ListInvoicing, UniFacturaRefusesAsAWhole) {
    struct Case {
        QStringList orders;
        const char* number;
        const char* message;
    };
    const Case cases[] = {
        {{"ODT/0001", "ODT/0003"}, "FR08/03/00001", "La ODT ODT/0003 ya está facturada."},
        {{"ODT/0001", "ODT/0404"},
         "FR08/03/00001",
         "La orden de trabajo ODT/0404 no está guardada."},
        {{"ODT/0001", "ODT/0002"},
         "FR08/02/00001",
         "El número de factura FR08/02/00001 ya está en uso."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(together(c.orders, c.number).refusal, QString::fromUtf8(c.message));
        EXPECT_EQ(invoiceOf("ODT/0001"), "No");
    }
    EXPECT_EQ(count("SELECT count(*) FROM FacturasODT"), 0);
}

TEST_F(ListInvoicing, MultiFacturaGivesConsecutiveNumbersFromTheProposal) {
    // An older number of the month is stored: the proposal the user accepted wins.
    db().exec("UPDATE ODTS SET NFactura = 'FR08/03/00002' WHERE NODT = 'ODT/0003'");
    ASSERT_TRUE(inv::anyPendingWorkOrder(db()));
    // A later number already taken stores nothing.
    db().exec("INSERT INTO FacturasODT (NFactura) VALUES ('FR08/03/00009')");
    EXPECT_EQ(inv::invoiceEach(session(), {.workOrders = {"ODT/0005", "ODT/0001"},
                                           .firstNumber = "FR08/03/00008",
                                           .date = QDate(2008, 3, 31),
                                           .paid = false})
                  .refusal,
              "El número de factura FR08/03/00009 ya está en uso.");
    EXPECT_EQ(invoiceOf("ODT/0005"), "No");
    EXPECT_EQ(count("SELECT count(*) FROM FacturasODT"), 1);

    const inv::Result r =
        inv::invoiceEach(session(), {.workOrders = {"ODT/0005", "ODT/0001", "ODT/0002"},
                                     .firstNumber = "FR08/03/00003",
                                     .date = QDate(2008, 3, 31),
                                     .paid = true});
    ASSERT_TRUE(r) << r.refusal.toStdString();
    EXPECT_EQ(r.numbers, (QStringList{"FR08/03/00003", "FR08/03/00004", "FR08/03/00005"}));
    EXPECT_EQ(invoiceOf("ODT/0005"), "FR08/03/00003");
    EXPECT_EQ(invoiceOf("ODT/0002"), "FR08/03/00005");
    EXPECT_EQ(money("SELECT Importe FROM FacturasODT WHERE NFactura = 'FR08/03/00003'"),
              m("38,66"));
    EXPECT_EQ(money("SELECT Base FROM FacturasODT WHERE NFactura = 'FR08/03/00004'"), m("250,50"));
    // One paid answer for all.
    EXPECT_EQ(count("SELECT count(*) FROM Cobros"), 3);
    EXPECT_EQ(count("SELECT count(*) FROM FacturasODT WHERE Pagado = Importe AND "
                    "Fecha = '2008-03-31'"),
              3);
}

TEST_F(ListInvoicing, RemovingOrDeletingAJointInvoicesOrders) {
    ASSERT_TRUE(together({"ODT/0001", "ODT/0002"}, "FR08/03/00001"));
    // A later part payment of the same invoice.
    db().exec(
        "INSERT INTO Cobros (NFactura, Fecha, Cantidad) VALUES ('FR08/03/00001', "
        "'2008-03-06', 5)");
    const inv::Result r = inv::removeInvoice(db(), a2);
    ASSERT_TRUE(r);
    EXPECT_EQ(invoiceOf("ODT/0001"), "No");
    EXPECT_EQ(invoiceOf("ODT/0002"), "No");
    EXPECT_EQ(invoiceOf("ODT/0003"), "FR08/02/00001");
    EXPECT_EQ(count("SELECT count(*) FROM Cobros"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM FacturasODT"), 0);

    const inv::Result none = inv::removeInvoice(db(), a2);
    EXPECT_EQ(none.refusal, "La ODT seleccionada no tiene factura");
    EXPECT_EQ(none.icon, Dialogs::Icon::None);

    // Invoiced together again, deleting one order keeps the other's number.
    ASSERT_TRUE(together({"ODT/0001", "ODT/0002"}, "FR08/03/00001"));
    db().exec("INSERT INTO Articulos (Codigo, StockInicial) VALUES ('A1', 7)");
    for (const char* table : {"TrabajosRealizar_ODT", "TrabajosRealizadosODT", "MaterialesODT"})
        db().exec(QStringLiteral("INSERT INTO %1 (NODT) VALUES ('ODT/0001')").arg(table));
    db().exec("INSERT INTO LineasLibresODT (nODT) VALUES ('ODT/0001')");
    db().exec("INSERT INTO MaterialesODT (NODT, NArticulo, Unidades) VALUES ('ODT/0002', 'A1', 2)");

    ASSERT_TRUE(inv::deleteWorkOrder(db(), a1));
    EXPECT_EQ(count("SELECT count(*) FROM ODTS WHERE NODT = 'ODT/0001'"), 0);
    EXPECT_EQ(invoiceOf("ODT/0002"), "FR08/03/00001");
    EXPECT_EQ(count("SELECT count(*) FROM FacturasODT"), 0);
    // The number stays with ODT/0002, and so does its payment.
    EXPECT_EQ(count("SELECT count(*) FROM Cobros"), 1);
    for (const char* sql :
         {"SELECT count(*) FROM TrabajosRealizar_ODT", "SELECT count(*) FROM TrabajosRealizadosODT",
          "SELECT count(*) FROM LineasLibresODT"})
        EXPECT_EQ(count(sql), 0) << sql;
    EXPECT_EQ(count("SELECT count(*) FROM MaterialesODT"), 1);
    EXPECT_EQ(count("SELECT StockInicial FROM Articulos"), 7);

    // The last order of the number goes: its payments go with it.
    ASSERT_TRUE(inv::deleteWorkOrder(db(), a2));
    EXPECT_EQ(count("SELECT count(*) FROM Cobros"), 0);
    EXPECT_EQ(count("SELECT StockInicial FROM Articulos"), 7);
    EXPECT_EQ(inv::deleteWorkOrder(db(), a2).refusal, "Ningún registro activo");
}

TEST_F(ListInvoicing, DeletingAnInternalOrderLeavesItsLines) {
    db().exec("INSERT INTO MaterialesODT (NODT) VALUES ('ODT/0004')");
    ASSERT_TRUE(inv::deleteInternalWorkOrder(db(), a4));
    EXPECT_EQ(count("SELECT count(*) FROM ODTS WHERE NODT = 'ODT/0004'"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM MaterialesODT"), 1);
}

TEST_F(ListInvoicing, DeliveryNotesFromTheList) {
    // A second note replaces the first.
    for (const char* expected : {"AL08/03/00001", "AL08/03/00002"}) {
        const inv::Result r = inv::createDeliveryNote(session(), a1);
        ASSERT_TRUE(r);
        EXPECT_EQ(text("SELECT NAlbaran FROM ODTS WHERE Id_ODT = ?", {a1}), expected);
    }
    EXPECT_EQ(inv::createDeliveryNote(session(), 3).refusal,
              "No se puede crear el albarán después de haber facturado");

    db().exec("INSERT INTO Albaranes (Id_Alb) VALUES ('AL08/03/00002')");
    ASSERT_TRUE(inv::removeDeliveryNote(db(), a1));
    EXPECT_EQ(text("SELECT NAlbaran FROM ODTS WHERE Id_ODT = ?", {a1}), "No");
    EXPECT_EQ(count("SELECT count(*) FROM Albaranes"), 0);
    const inv::Result none = inv::removeDeliveryNote(db(), a1);
    EXPECT_EQ(none.refusal, "La ODT seleccionada no tiene albaran");
    EXPECT_EQ(none.icon, Dialogs::Icon::None);
}

}  // namespace
}  // namespace torvane::testing
