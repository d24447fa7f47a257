#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

#include "controls/line_table.h"
#include "masters/screen_fixture.h"
#include "workorders/odts.h"
#include "workorders/work_order_fixture.h"
#include "workorders/work_order_handoffs.h"

namespace torvane::testing {
namespace {

class OdtsScreenTest : public ScreenTest {
  protected:
    void SetUp() override {
        home.session().setToday(QDate(2026, 3, 5));
        vehicle = addCustomerWithVehicle(db());
        addOperator(db(), "1", "PEPE", "MECANICA");
        addOperator(db(), "2", "LUIS", "CHAPA");
        addDepartment(db(), "MECANICA", 30);
        addDepartment(db(), "CHAPA", 38.5);
        addArticle(db(), "FIL", "FILTRO", 10, 1, 12.5);
        addArticle(db(), "ZERO", "ESCOBILLA", 0, 1, 7);
        registerWorkOrderEditor(home.session(), services);
    }

    // A new work order as the customer screen asks for it.
    ODTS* openNew() {
        NewWorkOrderRequest r;
        r.vehicleId = vehicle;
        r.numbering = WorkOrderNumbering::ProbeLoop;
        EXPECT_TRUE(services.handoffs().workOrders.open(r));
        return editor();
    }
    ODTS* editor() {
        auto* w = qobject_cast<ODTS*>(openWindow("ODTS"));
        EXPECT_NE(w, nullptr) << "the editor is not open";
        if (w) activate(w);
        return w;
    }
    static void activate(QWidget* w) {
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w));
    }
    static LineTable* grid(QWidget* form, const char* name) {
        return control<LineTable>(form, name);
    }
    static QString cell(QWidget* form, const char* name, int row, int column) {
        return cellText(grid(form, name), row, column);
    }
    static void addJob(QWidget* form, const QString& text) {
        typeCombo(form, "Combo2", text);
        QTest::keyClick(control<QComboBox>(form, "Combo2")->lineEdit(), Qt::Key_Return);
    }
    QString totals(QWidget* form) {
        return textOf(form, "TxtTotal") + " " + textOf(form, "TxtIVA") + " " +
               textOf(form, "TxtImporte");
    }

    qint64 vehicle = 0;
};

// A whole work order as a user makes it, then reopened from the database. Amounts, rounding
// and stock rules are the WorkOrderLines and WorkOrderTest tests'; here the controls reach them.
TEST_F(OdtsScreenTest, WholeWorkOrderStoredAndReopened) {
    ODTS* s = openNew();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(textOf(s, "TxtNODT"), "ODT/0001");
    EXPECT_EQ(textOf(s, "Text3"), "1234-BCD");

    setText(s, "txtKm", "12a3000");
    EXPECT_EQ(textOf(s, "txtKm"), "123000");
    addJob(s, "cambio aceite");
    addJob(s, "");  // Enter on an empty entry adds nothing
    addJob(s, "frenos");
    EXPECT_EQ(rowsOf(grid(s, "MSHFlexGrid1")), 2);
    EXPECT_TRUE(control<QLineEdit>(s, "TxtNODT")->isReadOnly());

    // Labour by operator and department.
    selectTab(s, "SSTab1", 1);
    chooseItem(s, "Combo1", "PEPE");
    EXPECT_EQ(textOf(s, "TxtCodigoOperario"), "1");
    EXPECT_EQ(textOf(s, "TxtPrecioHr"), "30,00");
    chooseItem(s, "ComboDepartamento", "CHAPA");
    EXPECT_EQ(textOf(s, "TxtPrecioHr"), "38,50");
    typeCombo(s, "Combo4", "revision");
    setText(s, "TxtTReal", "3.25");
    setText(s, "TxtTFact", "2");
    click(s, "KewlButtons4");
    EXPECT_EQ(cell(s, "MSHTrabajosRealizados", 0, 9), "77,00");

    // Materials: a known code fills the line, one without stock says so.
    selectTab(s, "SSTab1", 2);
    setText(s, "TxtCodArt", "fil");
    EXPECT_EQ(textOf(s, "TxtArticulo"), "FILTRO");
    EXPECT_EQ(textOf(s, "TxtPrecUnidad"), "12,50");
    setText(s, "TxtUnidades", "5");
    click(s, "KewlButtons5");
    setText(s, "TxtCodArt", "ZERO");
    EXPECT_TRUE(lastMessageIs(dialogs, "No hay ninguna unidad del artículo en stock",
                              Dialogs::Icon::Information));
    click(s, "KewlButtons5");

    // An unknown code: the quick creation opens and hands the new article back.
    setText(s, "TxtCodArt", "NUEVA");
    dialogs.answerYes();
    control<QLineEdit>(s, "TxtUnidades")->setFocus();
    EXPECT_EQ(dialogs.entries().back().title, "Articulo no registrado");
    QWidget* alta = openWindow("AltaArticulos");
    ASSERT_NE(alta, nullptr);
    alta->close();
    settle();
    addArticle(db(), "NUEVA", "BOMBILLA", 4, 1, 3);
    services.handoffs().articleTargets.created(
        NewArticle{true, "NUEVA", "BOMBILLA", Money::whole(3), {}});
    activate(s);
    EXPECT_EQ(textOf(s, "TxtArticulo"), "BOMBILLA");
    click(s, "KewlButtons5");

    // Supr hides the line and takes it out of the totals at once; it stays stored.
    pressDelete(grid(s, "MSHMateriales"), 1);   // ZERO
    EXPECT_EQ(totals(s), "65,50 10,48 75,98");  // 62,50 + 3
    EXPECT_EQ(count("SELECT count(*) FROM MaterialesODT"), 3);

    // The whole work order on the first tab: 77 + 65,50.
    selectTab(s, "SSTab1", 0);
    EXPECT_EQ(totals(s), "142,50 22,80 165,30");
    pressDelete(grid(s, "MSHFlexGrid1"), 1);

    // Saved and printed: the workshop copy (with the jobs to do) and the customer copy.
    dialogs.clear();
    dialogs.answerYes();
    click(s, "CmdGuardar");
    EXPECT_EQ(dialogs.texts(), (QStringList{"ODT Guardada con éxito", "¿Desea imprimirla ahora?"}));
    settle();
    EXPECT_EQ(openWindow("ODTS"), nullptr);
    QWidget* print = openWindow("FrmImprODT");
    ASSERT_NE(print, nullptr);
    control<QCheckBox>(print, "ChkCliente")->setChecked(true);
    click(print, "CmdAceptar");
    settle();
    EXPECT_EQ(openWindow("FrmImprODT"), nullptr);
    ASSERT_EQ(services.output.jobs().size(), 2u) << dialogs.texts().join(" / ").toStdString();
    EXPECT_TRUE(services.output.jobs()[0].report.toText().contains("CAMBIO ACEITE"));
    EXPECT_EQ(count("SELECT Kilometros FROM ODTS"), 123000);

    // Reopened as the list opens it: every grid is filled again.
    const qint64 id = db().scalar("SELECT Id_ODT FROM ODTS").toLongLong();
    EXPECT_TRUE(services.handoffs().workOrders.edit(EditWorkOrderRequest{nullptr, id}));
    ODTS* again = editor();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(cell(again, "MSHFlexGrid1", 0, 2), "CAMBIO ACEITE");
    EXPECT_EQ(totals(again), "142,50 22,80 165,30");
    dialogs.answerNo();  // nothing to keep
    again->close();
    settle();
    EXPECT_EQ(count("SELECT count(*) FROM MaterialesODT"), 2);
    EXPECT_TRUE(dialogs.allAnswersUsed());
}

// Refusals keep the screen; closing a new work order without saving leaves nothing.
TEST_F(OdtsScreenTest, RefusalsKeepTheScreenAndClosingWithoutSavingLeavesNothing) {
    db().exec("INSERT INTO ODTS (NODT, NFactura) VALUES ('ODT/0009', 'No')");
    ODTS* s = openNew();
    ASSERT_NE(s, nullptr);
    dialogs.clear();
    setText(s, "TxtNODT", "odt/0009");
    control<QLineEdit>(s, "txtKm")->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(
        lastMessageIs(dialogs, "La orden de trabajo ODT/0009 ya existe", Dialogs::Icon::Critical));
    EXPECT_EQ(QApplication::focusWidget(), control<QWidget>(s, "TxtNODT"));
    setText(s, "TxtNODT", "ODT/0001");
    click(s, "CmdGuardar");
    EXPECT_EQ(dialogs.lastText(), "Compruebe los KM del vehículo");
    setText(s, "txtKm", "5000");
    addJob(s, "RUIDO");
    pressDelete(grid(s, "MSHFlexGrid1"), 0);
    // Saving from the close question, refused again: the screen stays with its lines.
    dialogs.answerYes();
    s->close();
    EXPECT_EQ(dialogs.lastText(), "No hay trabajos a realizar");
    EXPECT_TRUE(s->isVisible());
    EXPECT_EQ(count("SELECT count(*) FROM TrabajosRealizar_ODT"), 1);
    dialogs.clear();
    dialogs.answerNo();
    click(s, "Command6");
    settle();
    EXPECT_EQ(dialogs.texts(), QStringList{"¿Desea guardar esta ODT?"});
    EXPECT_EQ(openWindow("ODTS"), nullptr);
    EXPECT_EQ(count("SELECT count(*) FROM ODTS"), 1);  // the earlier one only
    EXPECT_EQ(count("SELECT count(*) FROM TrabajosRealizar_ODT"), 0);
}

// The document check (its order is EditorDocumentCheck's; both commands share it); a delivery note
// saves quietly, numbers the work order and keeps the editor; the invoice is stored (as
// EditorInvoicing checks), printed and the editor closed, and is not opened again.
TEST_F(OdtsScreenTest, EditorDeliveryNoteThenInvoice) {
    ODTS* s = openNew();
    ASSERT_NE(s, nullptr);
    addJob(s, "REVISION");
    dialogs.clear();
    click(s, "CmdFacturar");
    EXPECT_TRUE(
        lastMessageIs(dialogs, "Compruebe los Kilómetros del vehículo", Dialogs::Icon::Critical));
    EXPECT_EQ(count("SELECT count(*) FROM ODTS"), 0);
    setText(s, "txtKm", "4500");
    selectTab(s, "SSTab1", 3);
    setText(s, "Text9", "REVISION COMPLETA");
    setText(s, "Text10", "1");
    setText(s, "Text11", "100");
    click(s, "KewlButtons6");

    dialogs.clear();
    click(s, "CmdAlbaran");
    settle();
    EXPECT_TRUE(dialogs.entries().empty()) << dialogs.lastText().toStdString();
    const QString note = db().scalar("SELECT NAlbaran FROM ODTS").toString();
    EXPECT_TRUE(note.startsWith("AL")) << note.toStdString();
    EXPECT_EQ(textOf(s, "TxtNAlbaran"), note);
    EXPECT_EQ(s->exitDate(), QDate(2026, 3, 5));  // the quiet save dates the exit
    ASSERT_EQ(services.output.jobs().size(), 1u);
    EXPECT_EQ(openWindow("ODTS"), s);

    dialogs.answerYes();  // paid
    click(s, "CmdFacturar");
    settle();
    EXPECT_EQ(dialogs.texts(), QStringList{"¿Marcar como pagada?"});
    EXPECT_EQ(count("SELECT count(*) FROM Cobros"), 1);
    ASSERT_EQ(services.output.jobs().size(), 2u);
    EXPECT_TRUE(services.output.jobs().back().preview);
    EXPECT_EQ(openWindow("ODTS"), nullptr);

    // Invoiced, it is not opened again.
    const qint64 id = db().scalar("SELECT Id_ODT FROM ODTS").toLongLong();
    EXPECT_TRUE(services.handoffs().workOrders.edit(EditWorkOrderRequest{nullptr, id}));
    EXPECT_EQ(openWindow("ODTS"), nullptr);
    EXPECT_EQ(dialogs.lastText(), "No se puede editar una Orden de Trabajo ya facturada");
}

}  // namespace
}  // namespace torvane::testing
