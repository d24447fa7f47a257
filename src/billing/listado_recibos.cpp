#include "billing/listado_recibos.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "billing/receipts.h"
#include "reports/informes.h"

namespace torvane {

ListadoRecibos::ListadoRecibos(Session& session, Services& services, QWidget* parent)
    : QWidget(parent), session_(session), services_(services) {
    setObjectName(QStringLiteral("ListadoRecibos"));
    setWindowTitle(QStringLiteral("Listado de recibos"));
    auto* layout = new QVBoxLayout(this);
    grid_ = addGrid(this, layout, {}, QStringLiteral("MSHRecibos"), receipts::listColumns());
    // Each click toggles the row's highlight.
    grid_->setSelectionMode(QAbstractItemView::MultiSelection);

    auto* options = new QHBoxLayout;
    manual_ = new QRadioButton(QStringLiteral("Selección manual"), this);
    manual_->setObjectName(QStringLiteral("OptionManual"));
    todos_ = new QRadioButton(QStringLiteral("Todos"), this);
    todos_->setObjectName(QStringLiteral("OptionTodos"));
    manual_->setChecked(true);
    auto* clear = new QPushButton(QStringLiteral("Limpiar selección"), this);
    clear->setObjectName(QStringLiteral("KewlButtons1"));
    options->addWidget(manual_);
    options->addWidget(todos_);
    options->addStretch(1);
    options->addWidget(clear);
    layout->addLayout(options);
    connect(todos_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) grid_->selectAll();
    });
    connect(clear, &QPushButton::clicked, this, [this] { limpiar(); });

    commands_ = new CommandBar(
        this, {{QStringLiteral("CmdImprimir"), QStringLiteral("Imprimir"), [this] { imprimir(); }},
               {QStringLiteral("CmdEliminar"), QStringLiteral("Eliminar"), [this] { eliminar(); }},
               {QStringLiteral("CmdSalir"), QStringLiteral("Salir"), [this] { close(); }}});
    layout->addWidget(commands_);
    requery();
    resize(900, 520);
}

void ListadoRecibos::requery() {
    grid_->run(session_.db(), receipts::list(), services_.dialogs());
    grid_->gridModel()->fetchAllRows();
    grid_->clearSelection();
    const bool any = grid_->rowCount() > 0;
    for (const char* name : {"CmdImprimir", "CmdEliminar"})
        commands_->button(QString::fromLatin1(name))->setEnabled(any);
}

QList<qint64> ListadoRecibos::selectedIds() const {
    QList<int> rows;
    if (todos_->isChecked())
        for (int r = 0; r < grid_->rowCount(); ++r) rows << r;
    else
        for (const QModelIndex& i : grid_->selectionModel()->selectedRows()) rows << i.row();
    std::sort(rows.begin(), rows.end());
    QList<qint64> ids;
    for (int r : rows) ids << grid_->value(r, QStringLiteral("Id")).toLongLong();
    return ids;
}

void ListadoRecibos::limpiar() {
    grid_->clearSelection();
    manual_->setChecked(true);
}

void ListadoRecibos::eliminar() {
    const QList<qint64> ids = selectedIds();
    if (ids.isEmpty()) {
        services_.dialogs().critical(QString::fromUtf8(receipts::kNoneSelected));
        return;
    }
    if (ids.size() > 1) {
        services_.dialogs().critical(QString::fromUtf8(receipts::kSeveralSelected));
        return;
    }
    try {
        receipts::remove(session_.db(), ids.first());
    } catch (const DbError& e) {
        services_.dialogs().critical(e.message());
    }
    requery();
}

void ListadoRecibos::imprimir() {
    // Receipts go straight to the printer, one job per receipt.
    for (qint64 id : selectedIds())
        Informes::ImprimirInforme(session_, services_, receipts::reportFormula(id),
                                  QString::fromLatin1(receipts::kReportFile), false);
}

}  // namespace torvane
