#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

#include "billing/listado_recibos.h"
#include "billing/recibos.h"
#include "billing_fixture.h"
#include "masters/screen_fixture.h"

using namespace torvane;
using namespace torvane::testing;

namespace {

class ReceiptScreens : public ScreenTest {
  protected:
    void SetUp() override {
        home.session().setToday(QDate(2008, 1, 15));
        garcia = addClient(db(), "GARCIA", "0007");
        db().exec(
            "UPDATE Clientes SET Banco = 'BANCO X', Sucursal = '0049', NumeroCuenta = '1234', "
            "DiaDePago = '5' WHERE Id_Cli = ?",
            {garcia});
        addWorkOrderInvoice(db(), "FR08/01/00001", "2008-01-02", garcia, eur(60), {}, 2);
        addWorkOrderInvoice(db(), "FR08/01/00002", "2008-01-03", garcia, eur(15));
        addPartsInvoice(db(), "FV08/01/00001", "2008-01-04", garcia, eur(25), {eur(25)});
    }

    // The three receipt rows as shown, hidden rows left out.
    QString shownRows(QWidget* form) {
        QStringList out;
        for (int k = 0; k < 3; ++k)
            if (control<QWidget>(form, QStringLiteral("TxtRecibo_%1").arg(k))->isVisible())
                out << QStringLiteral("%1 %2 %3")
                           .arg(textOf(form, QStringLiteral("TxtRecibo_%1").arg(k)),
                                textOf(form, QStringLiteral("TxtVencimiento_%1").arg(k)),
                                textOf(form, QStringLiteral("TxtImporte_%1").arg(k)));
        return out.join(QStringLiteral(" | "));
    }

    qint64 garcia = 0;
};

}  // namespace

TEST_F(ReceiptScreens, MarkTermsDayStoreAndList) {
    EXPECT_FALSE(enabled(open<ListadoRecibos>().get(), "CmdEliminar"));  // nothing to delete
    auto form = open<Recibos>(garcia);
    EXPECT_EQ(textOf(form.get(), "TxtNombre"), "GARCIA");
    EXPECT_EQ(textOf(form.get(), "txtBanco"), "BANCO X");
    EXPECT_EQ(textOf(form.get(), "txtDiaPago"), "5");
    click(form.get(), "CmdCrearRecibos");
    EXPECT_EQ(dialogs.lastText(), "Debe marcar alguna factura y elegir la forma de pago");
    dialogs.clear();
    auto* rep = control<DataGrid>(form.get(), "MSHReparaciones");
    auto* rec = control<DataGrid>(form.get(), "MSHRecambios");
    // One row per invoice, whatever the number of work orders.
    ASSERT_EQ(rep->rowCount(), 2);
    ASSERT_EQ(rec->rowCount(), 1);
    clickRow(rep, 0);
    clickRow(rec, 0);
    EXPECT_EQ(control<QLabel>(form.get(), "LblTotal")->text(), "85,00");
    clickRow(rep, 1);
    clickRow(rep, 0);  // unmarks
    EXPECT_EQ(control<QLabel>(form.get(), "LblTotal")->text(), "40,00");
    clickRow(rep, 0);
    EXPECT_EQ(control<QLabel>(form.get(), "LblTotal")->text(), "100,00");

    auto* terms = control<QComboBox>(form.get(), "ComboFormaPago");
    EXPECT_EQ(terms->count(), 8);
    // How the day and the terms give the dates is the Receipts tests'; typing a day redraws.
    control<QLineEdit>(form.get(), "txtDiaPago")->clear();
    type(form.get(), "txtDiaPago", "3");
    terms->setCurrentText("30-60 DÍAS");
    EXPECT_EQ(shownRows(form.get()), "08/01/00001 3/02/2008 50,00 | 08/01/00002 3/03/2008 50,00");
    EXPECT_TRUE(dialogs.entries().empty()) << dialogs.lastText().toStdString();

    click(form.get(), "CmdCrearRecibos");
    // How the rows are stored is the Receipts tests'; the screen hands over payer and invoices.
    EXPECT_EQ(db().scalar("SELECT group_concat(NRecibo || ' ' || NCuenta || ' ' || NFactura, ';') "
                          "FROM Recibos")
                  .toString(),
              "08/01/00001 1234 FR08/01/00001, FR08/01/00002, FV08/01/00001;"
              "08/01/00002 1234 FR08/01/00001, FR08/01/00002, FV08/01/00001");
    EXPECT_EQ(textOf(form.get(), "TxtRecibo_0"), "08/01/00003");
    // The invoices are not paid by a receipt.
    EXPECT_EQ(count("SELECT COUNT(*) FROM FacturasODT WHERE Pagado = 0"), 2);

    // The same invoices again: asked, and No stores nothing.
    dialogs.answerNo();
    click(form.get(), "CmdCrearRecibos");
    EXPECT_EQ(dialogs.lastText(), "Alguna factura ya tiene recibos. ¿Desea crearlos igualmente?");
    EXPECT_EQ(count("SELECT COUNT(*) FROM Recibos"), 2);
    dialogs.answerYes();
    click(form.get(), "CmdCrearRecibos");
    EXPECT_EQ(db().scalar("SELECT group_concat(NRecibo, ';') FROM Recibos WHERE Id > 2").toString(),
              "08/01/00003;08/01/00004");

    // Day 32 is refused and the rows stay as they were.
    dialogs.clear();
    type(form.get(), "txtDiaPago", "2");
    EXPECT_EQ(dialogs.lastText(), "El nº de dia que ha introducido no es posible");
    EXPECT_EQ(dialogs.entries().back().icon, Dialogs::Icon::Critical);
    EXPECT_EQ(shownRows(form.get()), "08/01/00005 3/02/2008 50,00 | 08/01/00006 3/03/2008 50,00");

    SCOPED_TRACE("the list: refusals, one job per highlighted receipt, all of them");
    auto list = open<ListadoRecibos>();
    auto* grid = control<DataGrid>(list.get(), "MSHRecibos");
    ASSERT_EQ(grid->rowCount(), 4);
    const size_t jobs = services.output.jobs().size();
    click(list.get(), "CmdEliminar");
    EXPECT_EQ(dialogs.lastText(), "No hay ningún recibo seleccionado");
    EXPECT_EQ(dialogs.entries().back().icon, Dialogs::Icon::Critical);
    clickRow(grid, 0);
    clickRow(grid, 2);
    click(list.get(), "CmdEliminar");
    EXPECT_EQ(dialogs.lastText(), "No se pueden eliminar varios recibos a la vez");
    EXPECT_EQ(count("SELECT COUNT(*) FROM Recibos"), 4);

    click(list.get(), "CmdImprimir");
    ASSERT_EQ(services.output.jobs().size(), jobs + 2) << dialogs.lastText().toStdString();
    EXPECT_EQ(services.output.jobs().back().report.name.toLower(), "qarvorecibo.rpt");
    EXPECT_FALSE(services.output.jobs().back().preview);

    clickRow(grid, 0);  // a second click removes the highlight
    const QString kept = grid->displayText(0, "NRecibo");
    click(list.get(), "CmdEliminar");
    EXPECT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Recibos WHERE NRecibo = ?", {kept}), 1);

    control<QRadioButton>(list.get(), "OptionTodos")->setChecked(true);
    click(list.get(), "CmdImprimir");
    EXPECT_EQ(services.output.jobs().size(), jobs + 5);
    click(list.get(), "KewlButtons1");
    EXPECT_TRUE(control<QRadioButton>(list.get(), "OptionManual")->isChecked());
}
