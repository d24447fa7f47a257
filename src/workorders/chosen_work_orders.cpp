#include "workorders/chosen_work_orders.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "controls/command_bar.h"
#include "workorders/work_order_invoicing.h"

namespace torvane {

ChosenWorkOrders::ChosenWorkOrders(Session& session, Services& services, const QString& objectName,
                                   const QString& title, const QString& invoiceNumber,
                                   const QDate& invoiceDate, QWidget* parent)
    : QWidget(parent),
      session_(session),
      services_(services),
      dialogs_(services.dialogs()),
      invoiceNumber_(invoiceNumber),
      invoiceDate_(invoiceDate) {
    setObjectName(objectName);
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("Factura %1 del %2")
                       .arg(invoiceNumber, invoiceDate.toString(QStringLiteral("dd/MM/yyyy"))),
                   this));
    auto* row = new QHBoxLayout;
    layout->addLayout(row, 1);
    grid_ = new DataGrid(QStringLiteral("MshOdts"), this);
    row->addWidget(grid_, 3);
    list1_ = new QListWidget(this);
    list1_->setObjectName(QStringLiteral("List1"));
    row->addWidget(list1_, 1);
    connect(grid_, &DataGrid::rowActivated, this, [this] { add(); });
    layout->addWidget(new CommandBar(
        this,
        {{QStringLiteral("Cmd"), QStringLiteral("Añadir"), [this] { add(); }},
         {QStringLiteral("KewlButtons1"), QStringLiteral("Quitar"), [this] { removeChosen(); }},
         {QStringLiteral("CmdFacturar"), QStringLiteral("Facturar"),
          [this] {
              const QStringList numbers = chosen();
              if (numbers.isEmpty()) {
                  dialogs_.critical(QString::fromUtf8(invoicing::kNoActiveRecord));
                  return;
              }
              invoice(numbers);
          }},
         {QStringLiteral("CmdSalir"), QStringLiteral("Salir"), [this] { close(); }}}));
    resize(860, 480);
}

void ChosenWorkOrders::list(const QList<GridColumn>& columns, const SqlStatement& statement) {
    grid_->setColumns(columns);
    grid_->run(session_.db(), statement, dialogs_);
}

QStringList ChosenWorkOrders::chosen() const {
    QStringList out;
    for (int i = 0; i < list1_->count(); ++i) out << list1_->item(i)->text();
    return out;
}

void ChosenWorkOrders::add() {
    const QString number = grid_->currentValue(QStringLiteral("NODT")).toString();
    if (number.isEmpty()) {
        dialogs_.critical(QString::fromUtf8(invoicing::kNoActiveRecord));
        return;
    }
    // A work order goes on an invoice once.
    if (!chosen().contains(number)) list1_->addItem(number);
}

void ChosenWorkOrders::removeChosen() {
    delete list1_->takeItem(list1_->currentRow());
}

}  // namespace torvane
