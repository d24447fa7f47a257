#include <gtest/gtest.h>
#include <tuple>

#include "support/typed_numbers.h"
#include "workorders/wolist_fixture.h"
#include "workorders/work_order.h"
#include "workorders/work_order_invoicing.h"
#include "workorders/work_order_list.h"

namespace torvane::testing {
namespace {

namespace ol = torvane::odtlist;
namespace inv = torvane::invoicing;

QStringList numbersOf(Database& db, const SqlStatement& s) {
    QStringList out;
    for (const Row& r : db.rows(s.sql, s.params)) out << r.value("NODT").toString();
    return out;
}

// A small workshop: ordinary, internal and estimate work orders, billed and not.
class ListQueries : public WorkOrderListTest {
  protected:
    void SetUp() override {
        const qint64 ana = insertCustomer(db(), "ANA PEREZ");
        const qint64 bea = insertCustomer(db(), "BEATRIZ");
        const qint64 v1 = insertVehicle(db(), ana, "A1234BC", "SEAT", "IBIZA");
        const qint64 v2 = insertVehicle(db(), bea, "BA9876Z", "FORD", "FOCUS");
        // number, customer, vehicle, date, internal, nominal, invoice, delivery note, estimate
        const OrderRow orders[] = {
            {"ODT/0001", ana, v1, "2008-03-01"},
            {"ODT/0002", ana, v1, "2008-03-03", "No", "0", "FR08/03/00001"},
            {"ODT/0003", bea, v2, "2008-03-02", "Si"},
            {"ODT/0004", bea, v2, "2008-02-15", "Si", "0", "FR08/02/00003"},
            {"TEMP0005", bea, v2, "2008-03-04", "No", "0", "No", "No", true},
            {"ODT/0006", ana, v1, "2008-03-05", "No", "0", "No", "No", true},
        };
        for (const OrderRow& o : orders) insertOrder(db(), o);
    }
};

TEST_F(ListQueries, OpeningEachTabNewestFirst) {
    EXPECT_EQ(numbersOf(db(), ol::ordinaryOpen()),
              (QStringList{"ODT/0006", "TEMP0005", "ODT/0002", "ODT/0001"}));
    EXPECT_EQ(numbersOf(db(), ol::estimatesOpen()), (QStringList{"ODT/0006", "TEMP0005"}));
    EXPECT_EQ(numbersOf(db(), ol::internalOpen(ol::Filter::All)),
              (QStringList{"ODT/0003", "ODT/0004"}));
    EXPECT_EQ(numbersOf(db(), ol::internalOpen(ol::Filter::Billed)), QStringList{"ODT/0004"});
    EXPECT_EQ(numbersOf(db(), ol::internalOpen(ol::Filter::Unbilled)), QStringList{"ODT/0003"});
}

TEST_F(ListQueries, OrdinarySearches) {
    using F = ol::Field;
    using M = ol::Filter;
    const std::tuple<F, const char*, M, QStringList> cases[] = {
        // Prefix matches, not "contains".
        {F::Plate, "A", M::All, {"ODT/0006", "ODT/0002", "ODT/0001"}},
        {F::Plate, "a1", M::Billed, {"ODT/0002"}},
        {F::Number, "TEMP", M::Unbilled, {"TEMP0005"}},
        {F::Customer, "BEA", M::All, {"TEMP0005"}},
        {F::Customer, "PEREZ", M::All, {}},
        {F::Model, "FOC", M::All, {"TEMP0005"}},
        // The date search shows internal work orders too.
        {F::Date, "0", M::All, {"ODT/0006", "TEMP0005", "ODT/0002", "ODT/0003", "ODT/0001"}},
        {F::Date, "%/02", M::All, {"ODT/0004"}},
    };
    for (const auto& [field, typed, filter, expected] : cases)
        EXPECT_EQ(numbersOf(db(), ol::ordinarySearch(db(), field, typed, filter)), expected)
            << int(field) << " " << typed;
}

// The estimates tab finds only TEMP numbers; the internal tab has its own filters.
TEST_F(ListQueries, EstimateAndInternalSearches) {
    using M = ol::Filter;
    const std::tuple<bool, int, const char*, M, QStringList> cases[] = {
        {false, 3, "ODT", M::All, {}},
        {false, 3, "TEMP", M::All, {"TEMP0005"}},
        {false, 2, "BA", M::All, {"TEMP0005"}},
        // The customer search lists every work order of the customers found.
        {false, 0, "ANA", M::All, {"ODT/0006", "ODT/0002", "ODT/0001"}},
        {true, 0, "ODT", M::Unbilled, {"ODT/0003"}},
        {true, 1, "BA", M::Billed, {"ODT/0004"}},
        {true, 3, "BEA", M::All, {"ODT/0003", "ODT/0004"}},
    };
    for (const auto& [internal, option, typed, filter, expected] : cases) {
        const auto s = internal ? ol::internalSearch(db(), option, typed, filter)
                                : ol::estimatesSearch(db(), option, typed);
        ASSERT_TRUE(s);
        EXPECT_EQ(numbersOf(db(), *s), expected) << internal << option << " " << typed;
    }
    // The date searches have no query of their own there.
    EXPECT_FALSE(ol::estimatesSearch(db(), 1, "01"));
    EXPECT_FALSE(ol::internalSearch(db(), 2, "01", M::All));
}

TEST_F(ListQueries, ProposedNumberFollowsTheGreatestOfThePrefix) {
    EXPECT_EQ(ol::proposedInvoiceNumber(session()), "FR08/03/00002");
    db().exec("UPDATE ODTS SET NFactura = 'FR08/03/00010' WHERE NODT = 'ODT/0001'");
    EXPECT_EQ(ol::proposedInvoiceNumber(session()), "FR08/03/00011");
}

// Many matching rows take a walk (of the dates, or of the internal orders) instead of the
// index: the rows are still those a plain query gives, newest first.
TEST_F(WorkOrderListTest, BroadSearchesWalkToTheSameRows) {
    const qint64 c = insertCustomer(db(), "FLOTA");
    Database::Transaction t(db());
    for (int i = 0; i < ol::kSelectiveLimit + 30; ++i) {
        const qint64 v = insertVehicle(db(), c, QStringLiteral("B%1").arg(i, 4, 10, QChar('0')));
        insertOrder(db(), {.number = QStringLiteral("ODT/%1").arg(i, 5, 10, QChar('0')),
                           .customer = c,
                           .vehicle = v,
                           .date = QDate(2008, 1, 1).addDays(i * 3 % 1201).toString(Qt::ISODate),
                           .internal = i % 5 ? "No" : "Si",
                           .invoice = i % 3 ? "No" : "FR"});
    }
    t.commit();
    auto plain = [&](const char* where) {
        return numbersOf(db(), {QStringLiteral("SELECT NODT FROM ODTS JOIN Vehiculos ON Id_Veh = "
                                               "Id_Coche WHERE %1 ORDER BY Fecha DESC, Id_ODT DESC")
                                    .arg(where),
                                {}});
    };
    EXPECT_EQ(
        numbersOf(db(), ol::ordinarySearch(db(), ol::Field::Plate, "B", ol::Filter::Unbilled)),
        plain("Interna = 'No' AND NFactura = 'No'"));
    EXPECT_EQ(numbersOf(db(), *ol::internalSearch(db(), 0, "ODT/", ol::Filter::Billed)),
              plain("Interna = 'Si' AND NFactura <> 'No'"));
    EXPECT_EQ(numbersOf(db(), ol::ordinarySearch(db(), ol::Field::Date, "0", ol::Filter::All)),
              plain("strftime('%d/%m/%Y', Fecha) LIKE '0%'"));
}

TEST(EditorDocumentCheck, JobsComeBeforeKilometres) {
    const std::tuple<bool, const char*, const char*> cases[] = {
        {false, "", "No hay trabajos a realizar"},
        {true, "", "Compruebe los Kilómetros del vehículo"},
        {true, "   ", "Compruebe los Kilómetros del vehículo"},
        {true, "0", ""},
    };
    for (const auto& [jobs, km, message] : cases)
        EXPECT_EQ(inv::checkEditorDocument(jobs, QString::fromUtf8(km)), QString::fromUtf8(message))
            << jobs << km;
}

TEST(SelectionFormulas, OneOrSeveralWorkOrders) {
    EXPECT_EQ(inv::workOrderFormula("ODT/0007"), "{ODTS.NODT} ='ODT/0007'");
    EXPECT_EQ(inv::workOrderFormula("O'B"), "{ODTS.NODT} ='O''B'");
}

class EditorInvoicing : public WorkOrderListTest {
  protected:
    void SetUp() override {
        const qint64 c = insertCustomer(db(), "ANA");
        insertOrder(db(), {.number = "ODT/0001", .customer = c, .vehicle = 1});
    }
    // Invoices a base of 10 on 4 March (the day before today), paid unless told.
    inv::Result invoice(const char* workOrder, inv::StoreWorkOrder store = {}, bool paid = true) {
        return inv::invoiceFromEditor(session(), {.workOrder = workOrder,
                                                  .exitDate = QDate(2008, 3, 4),
                                                  .base = euros("10"),
                                                  .paid = paid,
                                                  .storeWorkOrder = std::move(store)});
    }
};

TEST_F(EditorInvoicing, PaidAndUnpaid) {
    for (const bool paid : {false, true}) {
        db().exec("UPDATE ODTS SET NFactura = 'No'");
        const inv::Result r = invoice("ODT/0001", {}, paid);
        ASSERT_TRUE(r) << r.refusal.toStdString();
        EXPECT_EQ(count("SELECT count(*) FROM FacturasODT WHERE NFactura = ? AND Fecha = "
                        "'2008-03-04' AND Base = 10 AND IVA = 1.6 AND Importe = 11.6",
                        {r.numbers.value(0)}),
                  1);
        EXPECT_EQ(money("SELECT Pagado FROM FacturasODT WHERE NFactura = ?", {r.numbers.value(0)}),
                  paid ? euros("11,60") : Money());
    }
    EXPECT_EQ(count("SELECT count(*) FROM Cobros WHERE NFactura = 'FR08/03/00002' AND "
                    "Cantidad = 11.6 AND Fecha = '2008-03-04'"),
              1);
    EXPECT_EQ(count("SELECT count(*) FROM Cobros"), 1);
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

// The next number of the month is Consumers' and ListInvoicing's test.
TEST_F(EditorInvoicing, DeliveryNoteNumbersTheStoredWorkOrder) {
    const inv::Result r = inv::deliveryNoteFromEditor(session(), "ODT/0001");
    ASSERT_TRUE(r);
    EXPECT_EQ(r.numbers, QStringList{"AL08/03/00001"});
    EXPECT_EQ(text("SELECT NAlbaran FROM ODTS WHERE NODT = 'ODT/0001'"), "AL08/03/00001");
    EXPECT_EQ(r.formula, "{ODTS.NODT}='ODT/0001'");
    EXPECT_FALSE(inv::deliveryNoteFromEditor(session(), "ODT/0404"));
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
    const std::tuple<qint64, const char*, const char*> cases[] = {
        {0, "FR08/03/00020", "Ningún registro activo"},
        {3, "FR08/03/00020", "Ya se ha facturado esta ODT, no puede volver a facturarla"},
        {1, "FR08/02/00001", "El número de factura FR08/02/00001 ya está en uso."},
        {1, "fr08/02/00001", "El número de factura fr08/02/00001 ya está en uso."},
        {1, "FR08/03/00099", "El número de factura FR08/03/00099 ya está en uso."},
        {1, "", "Escriba el número de la factura."},
    };
    for (const auto& [id, number, message] : cases) {
        EXPECT_EQ(inv::checkListInvoice(db(), id, number), QString::fromUtf8(message));
        const inv::Result r = inv::invoiceFromList(
            session(),
            {.workOrderId = id, .number = number, .date = QDate(2008, 3, 5), .paid = true});
        EXPECT_EQ(r.refusal, QString::fromUtf8(message)) << number;
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
              euros("418,47"));
    EXPECT_EQ(r.formula, "{ODTS.NODT} like [\"ODT/0001\",\"ODT/0002\",\"ODT/0004\"]");
}

TEST_F(ListInvoicing, UniFacturaRefusesAsAWhole) {
    const std::tuple<QStringList, const char*, const char*> cases[] = {
        {{"ODT/0001", "ODT/0003"}, "FR08/03/00001", "La ODT ODT/0003 ya está facturada."},
        {{"ODT/0001", "ODT/0404"},
         "FR08/03/00001",
         "La orden de trabajo ODT/0404 no está guardada."},
        {{"ODT/0001", "ODT/0002"},
         "FR08/02/00001",
         "El número de factura FR08/02/00001 ya está en uso."},
    };
    for (const auto& [orders, number, message] : cases) {
        EXPECT_EQ(together(orders, number).refusal, QString::fromUtf8(message));
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
              euros("38,66"));
    EXPECT_EQ(money("SELECT Base FROM FacturasODT WHERE NFactura = 'FR08/03/00004'"),
              euros("250,50"));
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
    EXPECT_EQ(workorders::lineCounts(db(), "ODT/0001"), (std::array<int, 4>{0, 0, 0, 0}));
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
