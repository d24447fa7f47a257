#include "billing/gestor_cobros.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "billing/entregas.h"
#include "controls/command_bar.h"
#include "controls/form_fields.h"
#include "controls/keyboard_classes.h"
#include "controls/screen.h"

namespace torvane {

using collections::InvoiceKind;

GestorCobros::GestorCobros(Session& session, Services& services, QWidget* parent)
    : QWidget(parent), session_(session), services_(services) {
    setObjectName(QStringLiteral("GestorCobros"));
    setWindowTitle(QStringLiteral("Gestión de cobros"));
    auto* layout = new QVBoxLayout(this);

    auto* searchRow = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("Cliente:"), this);
    text1_ = new QLineEdit(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    label->setBuddy(text1_);
    applyKeyClass(text1_, KeyClass::K2);
    searchRow->addWidget(label);
    searchRow->addWidget(text1_, 1);
    layout->addLayout(searchRow);

    tabs_ = addTabs(
        this, layout,
        {QStringLiteral("Facturas de reparaciones"), QStringLiteral("Facturas de recambios")});
    DataGrid** grids[] = {&rep_, &rec_};
    const char* names[] = {"MSHFactRep", "MSHFactRec"};
    for (int i = 0; i < 2; ++i) {
        auto* page = new QVBoxLayout(tabs_->widget(i));
        *grids[i] =
            addGrid(this, page, {}, QString::fromLatin1(names[i]), collections::invoiceColumns());
        connect(*grids[i], &DataGrid::currentRowChanged, this, [this] { followRows(); });
    }
    factRep_ = addHiddenField(this, QStringLiteral("TxtFactRep"));
    factRec_ = addHiddenField(this, QStringLiteral("TxtFactRec"));

    using When = RecordMode::When;
    layout->addWidget(new CommandBar(
        this,
        {{QStringLiteral("CmdCobrar"), QStringLiteral("Cobrar"), [this] { cobrar(); },
          When::BrowseWithRecord},
         {QStringLiteral("Command2"), QStringLiteral("Salir"), [this] { close(); }, When::Always}},
        &mode_));

    connect(text1_, &QLineEdit::textChanged, this, [this] { requery(); });
    connect(tabs_, &QTabWidget::currentChanged, this, [this] { followRows(); });
    connect(rep_, &DataGrid::rowActivated, this, [this] {
        if (mode_.isEnabled(QStringLiteral("CmdCobrar"))) cobrar();
    });
    run(InvoiceKind::WorkOrder, {});
    run(InvoiceKind::PartsSale, {});
    resize(820, 520);
}

InvoiceKind GestorCobros::visibleKind() const {
    return tabs_->currentIndex() == 1 ? InvoiceKind::PartsSale : InvoiceKind::WorkOrder;
}

DataGrid* GestorCobros::grid(InvoiceKind kind) const {
    return kind == InvoiceKind::PartsSale ? rec_ : rep_;
}

void GestorCobros::run(InvoiceKind kind, const QString& typed) {
    searched_[int(kind)] = typed;
    grid(kind)->run(session_.db(), collections::invoiceList(session_.db(), kind, typed),
                    services_.dialogs());
    followRows();
}

void GestorCobros::requery() {
    run(visibleKind(), text1_->text());
}

void GestorCobros::reload() {
    for (InvoiceKind kind : {InvoiceKind::WorkOrder, InvoiceKind::PartsSale}) {
        DataGrid* g = grid(kind);
        const QVariant current = g->currentValue(QStringLiteral("Id"));
        run(kind, searched_[int(kind)]);
        if (current.isValid()) g->selectWhere(QStringLiteral("Id"), current);
    }
}

// The invoice numbers of the selected rows, and Cobrar only on a row of the visible tab.
void GestorCobros::followRows() {
    if (!rep_ || !rec_) return;
    factRep_->setText(rep_->currentValue(QStringLiteral("NFactura")).toString());
    factRec_->setText(rec_->currentValue(QStringLiteral("NFactura")).toString());
    mode_.setHasRecords(grid(visibleKind())->currentRowIndex() >= 0);
}

void GestorCobros::cobrar() {
    const InvoiceKind kind = visibleKind();
    const QString number = (kind == InvoiceKind::PartsSale ? factRec_ : factRep_)->text();
    if (number.isEmpty()) return;
    auto* payments = new Entregas(session_, services_, kind, number);
    hide();
    QPointer<GestorCobros> self(this);
    connect(payments, &QObject::destroyed, this, [self] {
        if (!self) return;
        self->reload();
        self->show();
    });
    openScreen(this, payments);
}

}  // namespace torvane
