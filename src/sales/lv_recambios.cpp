#include "sales/lv_recambios.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "controls/keyboard_classes.h"
#include "controls/screen.h"
#include "core/format.h"
#include "core/mimsgbox.h"
#include "reports/informes.h"
#include "sales/counter_sale.h"
#include "sales/note_picker.h"
#include "sales/venta_recambios.h"

namespace torvane {

using When = RecordMode::When;

LVRecambios::LVRecambios(Session& session, Services& services, OpenCounterSale counterSale,
                         QWidget* parent)
    : SearchScreen(session, services, parent), counterSale_(std::move(counterSale)) {
    setObjectName(QStringLiteral("LVRecambios"));
    setWindowTitle(QStringLiteral("Albaranes y Facturas de recambios"));
    grid()->setObjectName(QStringLiteral("MSHSalidas"));
    if (auto* frame = findChild<QGroupBox*>(QStringLiteral("Frame1")))
        frame->setTitle(QStringLiteral("Búsqueda por:"));

    auto* stateBox = new QGroupBox(QStringLiteral("Mostrar:"), this);
    auto* stateRow = new QHBoxLayout(stateBox);
    const QStringList captions = sales::noteStateCaptions();
    for (int i = 0; i < captions.size(); ++i) {
        auto* b = new QRadioButton(captions[i], stateBox);
        b->setObjectName(QStringLiteral("Option2_%1").arg(i));
        b->setChecked(i == 0);
        stateRow->addWidget(b);
        states_ << b;
        connect(b, &QRadioButton::toggled, this, [this](bool on) {
            if (on) requery();
        });
    }
    stateRow->addStretch();

    auto* next = new QWidget(this);
    auto* nextRow = new QHBoxLayout(next);
    nextRow->addWidget(new QLabel(QStringLiteral("Proximo nº factura:"), next));
    proxFact_ = new QLineEdit(next);
    proxFact_->setObjectName(QStringLiteral("txtProxFact"));
    applyKeyClass(proxFact_, KeyClass::K4);
    nextRow->addWidget(proxFact_);
    nextRow->addWidget(new QLabel(QStringLiteral("Fecha próxima fact:"), next));
    proxFecha_ = saleDateEntry(next, QStringLiteral("OpcProxFecha"), session_, dialogs_);
    nextRow->addWidget(proxFecha_);
    nextRow->addStretch();
    connect(proxFact_, &QLineEdit::editingFinished, this, [this] { checkNumber(); });

    auto* top = static_cast<QVBoxLayout*>(layout());
    top->insertWidget(1, stateBox);
    top->insertWidget(2, next);

    setOptions(sales::searchColumnCaptions(), [this](int option, const QString& typed) {
        return sales::listSearch(session_.db(), sales::SearchColumn(option), state(), typed);
    });
    setColumns(sales::listColumns());
    setIdField(QStringLiteral("Albaran"));
    setCommands(commands());
    refresh();
    resize(980, 600);
}

QList<CommandRow> LVRecambios::commands() {
    const auto row = [](const char* name, const char* caption, std::function<void()> run) {
        return CommandRow{QString::fromLatin1(name), QString::fromUtf8(caption), std::move(run),
                          When::BrowseWithRecord};
    };
    return {
        row("CmdEditar", "Editar Albaran", [this] { edit(); }),
        row("CmdFacturar", "Facturar", [this] { invoiceOne(); }),
        row("CmdFacturasPendientes", "Uni Factura", [this] { invoicePending(); }),
        row("CmdMultiFactura", "Multi Factura", [this] { multiInvoice(); }),
        row("CmdImprimir", "Imprimir Factura",
            [this] { print(QStringLiteral("\\qarvofacventa.rpt"), true, true); }),
        row("KewlButtons9", "Factura interna",
            [this] { print(QStringLiteral("\\qarvofacventai.rpt"), true, true); }),
        row("KewlButtons2", "Ticket",
            [this] { print(QStringLiteral("\\TICKETVENTA.rpt"), true, false); }),
        row("CmdImprimirAlb", "Imprimir Albaran",
            [this] { print(QStringLiteral("\\qarvoalbventa.rpt"), false, true); }),
        row("CmdEliminar", "Eliminar Albaran", [this] { deleteNote(); }),
        row("CmdEliminarFact", "Eliminar Factura", [this] { deleteInvoice(); }),
        {QStringLiteral("CmdSalir"), QStringLiteral("Salir"), [this] { close(); }, When::Browse}};
}

void LVRecambios::refresh() {
    requery();
    reportingDbErrors(dialogs_,
                      [&] { proxFact_->setText(sales::proposedInvoiceNumber(session_)); });
    proxFecha_->setText(formatDate(session_.today()));
}

sales::NoteState LVRecambios::state() const {
    for (int i = 0; i < states_.size(); ++i)
        if (states_[i]->isChecked()) return sales::NoteState(i);
    return sales::NoteState::Todos;
}

QString LVRecambios::note() const {
    return selectedId();
}

QString LVRecambios::invoiceOfRow() const {
    return grid()->currentValue(QStringLiteral("Factura")).toString();
}

std::optional<QDate> LVRecambios::invoiceDate() {
    const auto date = parseDisplayDate(proxFecha_->text());
    if (!date) dialogs_.critical(QStringLiteral("La fecha no es válida"));
    return date;
}

bool LVRecambios::numberFree() {
    QString problem;
    if (!reportingDbErrors(dialogs_, [&] {
            problem = sales::checkTypedNumber(session_.db(), proxFact_->text().trimmed());
        }))
        return false;
    if (problem.isEmpty()) return true;
    dialogs_.critical(problem);
    reportingDbErrors(dialogs_,
                      [&] { proxFact_->setText(sales::proposedInvoiceNumber(session_)); });
    proxFact_->setFocus();
    return false;
}

void LVRecambios::checkNumber() {
    if (proxFact_->text().trimmed().isEmpty()) return;
    numberFree();
}

bool LVRecambios::refusedWhenInvoiced(const char* message) {
    if (invoiceOfRow() == QLatin1String(sales::kNotInvoiced)) return false;
    dialogs_.critical(QString::fromUtf8(message));
    return true;
}

void LVRecambios::edit() {
    if (refusedWhenInvoiced(sales::kNotEditable)) return;
    const QString number = note();
    openCounterSale(session_, services_, counterSale_, callerOf(this))->openNote(number);
    close();
}

void LVRecambios::invoiceOne() {
    if (refusedWhenInvoiced(sales::kAlreadyInvoiced)) return;
    const auto date = invoiceDate();
    if (!date || !numberFree()) return;
    const QString number = note();
    const bool paid = dialogs_.question(QString::fromUtf8(sales::kMarkPaid));
    if (!sales::reportingRefusals(dialogs_, [&] {
            sales::invoiceNote(session_.db(), number, proxFact_->text().trimmed(), *date, paid);
        }))
        return;
    if (dialogs_.question(QString::fromUtf8(sales::kPrintNow)))
        Informes::ImprimirInforme(session_, services_, sales::noteFormula(number),
                                  QStringLiteral("\\qarvofacventa.rpt"), true);
    refresh();
}

void LVRecambios::invoicePending() {
    const qint64 customer = grid()->currentValue(QStringLiteral("Id_Cli")).toLongLong();
    QStringList pending;
    if (!reportingDbErrors(dialogs_,
                           [&] { pending = sales::pendingNotesOf(session_.db(), customer); }))
        return;
    if (pending.size() < 2) {
        dialogs_.information(QString::fromUtf8(sales::kOnlyOnePending));
        return;
    }
    const auto date = invoiceDate();
    if (!date || !numberFree()) return;
    const QString number = proxFact_->text().trimmed();
    if (MiMsgbox(dialogs_, QString::fromUtf8(sales::kAllOrChoose), QString(),
                 QStringLiteral("Todas"), QStringLiteral("Seleccionar")) == kMsgBoxYes) {
        const bool paid = dialogs_.question(QString::fromUtf8(sales::kMarkPaid));
        if (!sales::reportingRefusals(dialogs_, [&] {
                sales::invoiceTogether(session_.db(), pending, customer, number, *date, paid);
            }))
            return;
        Informes::ImprimirInforme(session_, services_, sales::notesFormula(pending),
                                  QStringLiteral("\\qarvofacventa2.rpt"), true);
        refresh();
        return;
    }
    auto* pick = new UnifacturaV(session_, services_, customer, number, *date);
    connect(pick, &QObject::destroyed, this, [this] { refresh(); });
    openScreen(this, pick);
}

void LVRecambios::multiInvoice() {
    const auto date = invoiceDate();
    if (!date || !numberFree()) return;
    openScreenInstead(this,
                      new MultiFacturaV(session_, services_, proxFact_->text().trimmed(), *date));
}

void LVRecambios::print(const QString& report, bool needsInvoice, bool preview) {
    if (needsInvoice && invoiceOfRow() == QLatin1String(sales::kNotInvoiced)) {
        dialogs_.message(QString::fromUtf8(sales::kInvoiceFirst));
        return;
    }
    Informes::ImprimirInforme(session_, services_, sales::noteFormula(note()), report, preview);
}

void LVRecambios::deleteNote() {
    if (!dialogs_.question(QString::fromUtf8(sales::kDeleteNoteQuestion))) return;
    const QString number = note();
    if (sales::reportingRefusals(dialogs_, [&] { sales::deleteNote(session_.db(), number); }))
        requery();
}

void LVRecambios::deleteInvoice() {
    const QString invoice = invoiceOfRow();
    if (invoice == QLatin1String(sales::kNotInvoiced)) {
        dialogs_.message(QString::fromUtf8(sales::kNoInvoice));
        return;
    }
    if (sales::reportingRefusals(dialogs_, [&] { sales::deleteInvoice(session_.db(), invoice); }))
        refresh();
}

}  // namespace torvane
