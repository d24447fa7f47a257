#include "billing/recibos.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "billing/receipts.h"
#include "controls/command_bar.h"
#include "controls/form_fields.h"
#include "controls/keyboard_classes.h"
#include "controls/screen.h"
#include "core/format.h"
#include "masters/busqueda_clientes.h"

namespace torvane {

namespace {

QString rowName(const char* array, int index) {
    return QStringLiteral("%1_%2").arg(QString::fromLatin1(array)).arg(index);
}

}  // namespace

Recibos::Recibos(Session& session, Services& services, qint64 customerId, QWidget* parent)
    : QWidget(parent), session_(session), services_(services) {
    setObjectName(QStringLiteral("Recibos"));
    setWindowTitle(QStringLiteral("Recibos bancarios"));
    auto* layout = new QVBoxLayout(this);

    auto* head = addFormGrid(layout);
    addFields(this, head,
              {{"Cliente:", "TxtCodigo", 0, 0, 1, 90},
               {"Nombre:", "TxtNombre", 0, 2},
               {"Banco:", "txtBanco", 1, 0},
               {"Sucursal:", "txtSucursal", 1, 2},
               {"Nº cuenta:", "txtNumCuenta", 2, 0},
               {"Día de pago:", "txtDiaPago", 2, 2, 1, 50}});
    addHiddenField(this, QStringLiteral("TxtIdCli"));
    for (const char* name : {"TxtCodigo", "TxtNombre"})
        field(QString::fromLatin1(name))->setReadOnly(true);
    applyKeyClasses(this, {{KeyClass::K9, "txtDiaPago"}});

    auto* grids = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    grids->addLayout(left);
    grids->addLayout(right);
    layout->addLayout(grids, 1);
    rep_ = addGrid(this, left, QStringLiteral("Facturas de reparaciones"),
                   QStringLiteral("MSHReparaciones"), receipts::unpaidColumns());
    rec_ = addGrid(this, right, QStringLiteral("Facturas de recambios"),
                   QStringLiteral("MSHRecambios"), receipts::unpaidColumns());
    for (DataGrid* g : {rep_, rec_}) {
        // A click marks or unmarks the row; the marking is the grid's selection.
        g->setSelectionMode(QAbstractItemView::MultiSelection);
        connect(g->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                [this] { markingChanged(); });
    }

    auto* foot = addFormGrid(layout);
    total_label_ = new QLabel(formatMoney(Money()), this);
    total_label_->setObjectName(QStringLiteral("LblTotal"));
    addCaptioned(this, foot, 0, 0, QStringLiteral("Total marcado:"), total_label_);
    fecha_ = new OpcEntrada(this);
    fecha_->setObjectName(QStringLiteral("OpcFecha"));
    fecha_->setTypeInput(OpcEntrada::Date);
    fecha_->setDialogs(&services.dialogs());
    fecha_->setTodaySource([&session] { return session.today(); });
    fecha_->setText(formatDate(session.today()));
    addCaptioned(this, foot, 0, 2, QStringLiteral("Fecha:"), fecha_);
    terms_ = new QComboBox(this);
    terms_->setObjectName(QStringLiteral("ComboFormaPago"));
    terms_->addItems(receipts::termsNames());
    terms_->setCurrentIndex(-1);
    addCaptioned(this, foot, 1, 0, QStringLiteral("Forma de pago:"), terms_);

    frame_ = new QGroupBox(QStringLiteral("Recibos"), this);
    frame_->setObjectName(QStringLiteral("Frame1"));
    auto* rows = new QGridLayout(frame_);
    for (int k = 0; k < receipts::kMaxReceipts; ++k) {
        const char* arrays[] = {"TxtRecibo", "TxtVencimiento", "TxtImporte"};
        for (int c = 0; c < 3; ++c) {
            auto* e = new QLineEdit(frame_);
            e->setObjectName(rowName(arrays[c], k));
            e->setReadOnly(true);
            if (c == 2) e->setAlignment(Qt::AlignRight);
            rows->addWidget(e, k, c);
        }
    }
    layout->addWidget(frame_);

    layout->addWidget(new CommandBar(
        this,
        {{QStringLiteral("CmdBuscar"), QStringLiteral("Buscar cliente"), [this] { buscar(); }},
         {QStringLiteral("CmdCrearRecibos"), QStringLiteral("Crear recibos"), [this] { crear(); }},
         {QStringLiteral("CmdSalir"), QStringLiteral("Salir"), [this] { close(); }}}));

    connect(fecha_, &OpcEntrada::textChanged, this, [this] { paymentDayChanged(); });
    connect(terms_, &QComboBox::currentIndexChanged, this, [this] { regenerate(); });
    connect(field(QStringLiteral("txtDiaPago")), &QLineEdit::textEdited, this,
            [this] { paymentDayChanged(); });
    setCustomer(customerId);
    resize(820, 620);
}

QLineEdit* Recibos::field(const QString& name) const {
    return findChild<QLineEdit*>(name);
}

void Recibos::setCustomer(qint64 customerId) {
    try {
        const auto c = receipts::customer(session_.db(), customerId);
        if (!c) return;
        field(QStringLiteral("TxtIdCli"))->setText(QString::number(c->id));
        field(QStringLiteral("TxtCodigo"))->setText(c->codigo);
        field(QStringLiteral("TxtNombre"))->setText(c->nombre);
        field(QStringLiteral("txtBanco"))->setText(c->banco);
        field(QStringLiteral("txtSucursal"))->setText(c->sucursal);
        field(QStringLiteral("txtNumCuenta"))->setText(c->cuenta);
        field(QStringLiteral("txtDiaPago"))->setText(c->diaPago);
        rep_->run(session_.db(), receipts::unpaidWorkOrderInvoices(customerId));
        rec_->run(session_.db(), receipts::unpaidPartsInvoices(customerId));
        rep_->gridModel()->fetchAllRows();
        rec_->gridModel()->fetchAllRows();
    } catch (const DbError& e) {
        services_.dialogs().critical(e.message());
    }
    for (DataGrid* g : {rep_, rec_}) g->clearSelection();
    markingChanged();
    paymentDayChanged();
}

void Recibos::toggle(DataGrid* grid, int row) {
    if (row < 0 || row >= grid->rowCount()) return;
    grid->selectionModel()->select(grid->model()->index(row, 0),
                                   QItemSelectionModel::Toggle | QItemSelectionModel::Rows);
}

QList<int> Recibos::markedRows(DataGrid* grid) {
    QList<int> rows;
    for (const QModelIndex& i : grid->selectionModel()->selectedRows()) rows << i.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void Recibos::markingChanged() {
    Money sum;
    for (DataGrid* g : {rep_, rec_})
        for (int r : markedRows(g)) sum += Money::fromDb(g->value(r, QStringLiteral("Importe")));
    total_ = sum;
    total_label_->setText(formatMoney(total_));
    regenerate();
}

QStringList Recibos::markedInvoices() const {
    QStringList out;
    for (DataGrid* g : {rep_, rec_})
        for (int r : markedRows(g)) out << g->value(r, QStringLiteral("NFactura")).toString();
    return out;
}

void Recibos::paymentDayChanged() {
    const auto issue = parseDisplayDate(fecha_->text());
    if (!issue) return;
    const auto day = receipts::readPaymentDay(field(QStringLiteral("txtDiaPago"))->text(), *issue);
    if (!day) {
        services_.dialogs().critical(QString::fromUtf8(receipts::kImpossibleDay));
        field(QStringLiteral("txtDiaPago"))->setFocus();
        return;
    }
    paymentDay_ = *day;
    regenerate();
}

void Recibos::regenerate() {
    const auto issue = parseDisplayDate(fecha_->text());
    if (!issue || !receipts::dueDays(terms_->currentText())) return;
    std::vector<receipts::Row> rows;
    try {
        rows = receipts::rows(session_, terms_->currentText(), *issue, paymentDay_, total_);
    } catch (const DbError& e) {
        services_.dialogs().critical(e.message());
        return;
    }
    for (int k = 0; k < receipts::kMaxReceipts; ++k) {
        const bool shown = k < int(rows.size());
        const receipts::Row r = shown ? rows[std::size_t(k)] : receipts::Row{};
        field(rowName("TxtRecibo", k))->setText(r.number);
        field(rowName("TxtVencimiento", k))->setText(r.due);
        field(rowName("TxtImporte", k))->setText(shown ? formatMoney(r.amount) : QString());
        for (const char* a : {"TxtRecibo", "TxtVencimiento", "TxtImporte"})
            field(rowName(a, k))->setVisible(shown);
    }
}

void Recibos::crear() {
    const auto issue = parseDisplayDate(fecha_->text());
    const QStringList invoices = markedInvoices();
    if (invoices.isEmpty() || !issue || !receipts::dueDays(terms_->currentText())) {
        services_.dialogs().critical(QString::fromUtf8(receipts::kNothingToStore));
        return;
    }
    try {
        Database& db = session_.db();
        if (receipts::anyInReceipts(db, invoices) &&
            !services_.dialogs().question(QString::fromUtf8(receipts::kAlreadyInReceipts)))
            return;
        const auto rows =
            receipts::rows(session_, terms_->currentText(), *issue, paymentDay_, total_);
        const receipts::Payer payer{field(QStringLiteral("TxtIdCli"))->text().toLongLong(),
                                    field(QStringLiteral("txtBanco"))->text(),
                                    field(QStringLiteral("txtSucursal"))->text(),
                                    field(QStringLiteral("txtNumCuenta"))->text()};
        receipts::store(session_, *issue, rows, payer, invoices);
    } catch (const DbError& e) {
        services_.dialogs().critical(e.message());
    }
    regenerate();
}

void Recibos::buscar() {
    openScreen(this, new BusquedaClientes(session_, services_, this, QStringLiteral("Recibos")));
}

}  // namespace torvane
