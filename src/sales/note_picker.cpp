#include "sales/note_picker.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "controls/command_bar.h"
#include "reports/informes.h"
#include "sales/counter_sale.h"
#include "sales/sales_list.h"

namespace torvane {

namespace {
const QString kMarkPaidLower = QStringLiteral("¿Marcar como pagada?");
}

NotePicker::NotePicker(Session& session, Services& services, const QString& gridName,
                       const QString& number, const QDate& date, QWidget* parent)
    : QWidget(parent),
      session_(session),
      services_(services),
      dialogs_(services.dialogs()),
      number_(number),
      date_(date) {
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    layout->addLayout(row, 1);
    grid_ = new DataGrid(gridName, this);
    grid_->setColumns(sales::pendingColumns());
    row->addWidget(grid_, 3);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("List1"));
    row->addWidget(list_, 1);
    connect(grid_, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& i) { choose(i.row()); });
    connect(grid_, &DataGrid::rowActivated, this, [this](int r) { choose(r); });
    connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* i) { giveBack(i); });
    layout->addWidget(new CommandBar(
        this, {{QStringLiteral("CmdFacturar"), QStringLiteral("Facturar"),
                [this] {
                    if (chosen().isEmpty())
                        dialogs_.critical(QStringLiteral("No hay ningún albarán seleccionado"));
                    else
                        invoice();
                }},
               {QStringLiteral("CmdSalir"), QStringLiteral("Salir"), [this] { close(); }}}));
    resize(720, 420);
}

QStringList NotePicker::chosen() const {
    QStringList out;
    for (int i = 0; i < list_->count(); ++i) out << list_->item(i)->text();
    return out;
}

void NotePicker::list(const SqlStatement& statement) {
    grid_->run(session_.db(), statement, dialogs_);
    grid_->gridModel()->fetchAllRows();
}

void NotePicker::choose(int row) {
    if (row < 0 || grid_->isRowHidden(row)) return;
    list_->addItem(grid_->value(row, QStringLiteral("Albaran")).toString());
    grid_->setRowHidden(row, true);
}

void NotePicker::giveBack(QListWidgetItem* item) {
    const QString note = item->text();
    delete list_->takeItem(list_->row(item));
    for (int r = 0; r < grid_->rowCount(); ++r)
        if (grid_->value(r, QStringLiteral("Albaran")).toString() == note)
            grid_->setRowHidden(r, false);
}

UnifacturaV::UnifacturaV(Session& session, Services& services, qint64 customerId,
                         const QString& number, const QDate& date, QWidget* parent)
    : NotePicker(session, services, QStringLiteral("MshOdts"), number, date, parent),
      customerId_(customerId) {
    setObjectName(QStringLiteral("UnifacturaV"));
    setWindowTitle(QStringLiteral("UniFactura"));
    list(sales::pendingOf(customerId));
}

void UnifacturaV::invoice() {
    const QStringList notes = chosen();
    const bool paid = dialogs_.question(kMarkPaidLower);
    if (!sales::reportingRefusals(dialogs_, [&] {
            sales::invoiceTogether(session_.db(), notes, customerId_, number_, date_, paid);
        }))
        return;
    Informes::ImprimirInforme(session_, services_, sales::notesFormula(notes),
                              QStringLiteral("\\QARVOFACVENTA2.rpt"), true);
    close();
}

MultiFacturaV::MultiFacturaV(Session& session, Services& services, const QString& number,
                             const QDate& date, QWidget* parent)
    : NotePicker(session, services, QStringLiteral("MSHOdts"), number, date, parent) {
    setObjectName(QStringLiteral("MultiFacturaV"));
    setWindowTitle(QStringLiteral("MultiFactura"));
    list(sales::allPending());
}

void MultiFacturaV::invoice() {
    const QStringList notes = chosen();
    const bool paid = dialogs_.question(kMarkPaidLower);
    if (!sales::reportingRefusals(dialogs_, [&] {
            sales::invoiceEach(session_, notes, number_, date_, paid, session_.today());
        }))
        return;
    for (const QString& note : notes)
        Informes::ImprimirInforme(session_, services_, sales::noteFormula(note),
                                  QStringLiteral("\\qarvofacventa.rpt"), true);
    close();
}

}  // namespace torvane
