#include "sales/venta_recambios.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "controls/command_bar.h"
#include "controls/form_fields.h"
#include "controls/keyboard_classes.h"
#include "controls/screen.h"
#include "core/db_errors.h"
#include "core/field_binding.h"
#include "core/format.h"
#include "masters/alta_articulos.h"
#include "masters/articles.h"
#include "masters/busqueda_articulos.h"
#include "reports/informes.h"
#include "verifactu/records.h"

namespace torvane {

namespace {

const QString kCloseQuestion = QStringLiteral("¿Desea guardar los cambios realizados?");

QString quantityText(Quantity q) {
    return boundText(q.toDouble(), false);
}

QString plainMoney(Money m) {
    return m.toPlainString().replace(QLatin1Char('.'), QLatin1Char(','));
}

}  // namespace

OpcEntrada* saleDateEntry(QWidget* parent, const QString& objectName, Session& session,
                          Dialogs& dialogs) {
    auto* date = new OpcEntrada(parent);
    date->setObjectName(objectName);
    date->setTypeInput(OpcEntrada::Date);
    date->setAllowEmpty(false);
    date->setDialogs(&dialogs);
    date->setTodaySource([&session] { return session.today(); });
    date->setText(formatDate(session.today()));
    return date;
}

VentaRecambios::VentaRecambios(Session& session, Services& services, QWidget* parent)
    : QWidget(parent), session_(session), services_(services), dialogs_(services.dialogs()) {
    setObjectName(QStringLiteral("VentaRecambios"));
    setWindowTitle(QStringLiteral("Venta de recambios"));
    auto* layout = new QVBoxLayout(this);

    auto* head = addFormGrid(layout);
    addField(this, head, 0, 0, QStringLiteral("Albarán:"), QStringLiteral("TxtNAlbaran"));
    addField(this, head, 0, 2, QStringLiteral("Factura:"), QStringLiteral("TxtNFactura"));
    date_ = saleDateEntry(this, QStringLiteral("OpcFecha"), session_, dialogs_);
    addCaptioned(this, head, 1, 0, QStringLiteral("Fecha:"), date_);
    addField(this, head, 2, 0, QStringLiteral("Cliente:"), QStringLiteral("Text2"));
    addField(this, head, 2, 2, QString(), QStringLiteral("Text4"));
    addField(this, head, 3, 0, QStringLiteral("NOTAS:"), QStringLiteral("Text1"), 3);
    for (const char* name : {"TxtNAlbaran", "TxtNFactura", "Text2", "Text4"})
        field(name)->setReadOnly(true);

    auto* entry = new QGridLayout;
    layout->addLayout(entry);
    buildLineEntry(entry);

    lines_ = new LineTableModel({{LineField::Code, QStringLiteral("Codigo"), false},
                                 {LineField::Description, QStringLiteral("Descripcion"), false},
                                 {LineField::Units, QStringLiteral("Unidades"), false},
                                 {LineField::Price, QStringLiteral("Precio"), false},
                                 {LineField::Discount, QStringLiteral("Dto"), false},
                                 {LineField::Amount, QStringLiteral("Importe"), false}},
                                DeletedLines::Hidden, this);
    grid_ = new LineTable(QStringLiteral("MSHSalidas"), lines_, this);
    grid_->setToolTip(QStringLiteral("Haga doble clik para Editar o pulse Supr para Eliminar."));
    grid_->setColumnWidth(1, 320);
    grid_->setDeleteHandler([this](int row) { deleteLine(row); });
    connect(grid_, &LineTable::lineActivated, this, [this](int row) { editLine(row); });
    connect(lines_, &LineTableModel::totalsChanged, this, [this] { showTotals(); });
    layout->addWidget(grid_, 1);

    auto* foot = addFormGrid(layout);
    addField(this, foot, 0, 0, QStringLiteral("Total:"), QStringLiteral("TxtTotal"));
    addField(this, foot, 0, 2, QStringLiteral("IVA:"), QStringLiteral("TxtIVA"));
    addField(this, foot, 1, 2, QStringLiteral("IMPORTE:"), QStringLiteral("TxtImporte"));
    for (const char* name : {"TxtTotal", "TxtIVA", "TxtImporte"}) field(name)->setReadOnly(true);

    layout->addWidget(new CommandBar(this, commands()));
    applyKeyClasses(this, {{KeyClass::K4, "Text1 TxtArticulo TxtCodArt"},
                           {KeyClass::K5, "TxtPrecUnidad"},
                           {KeyClass::K6, "TxtUnidades"},
                           {KeyClass::K3, "TxtDescArt"}});
    showFreeLine();
    resize(900, 640);
}

void VentaRecambios::buildLineEntry(QGridLayout* grid) {
    addField(this, grid, 0, 0, QStringLiteral("Código:"), QStringLiteral("TxtCodArt"));
    addField(this, grid, 0, 2, QStringLiteral("Artículo:"), QStringLiteral("TxtArticulo"), 3);
    addField(this, grid, 1, 0, QStringLiteral("Unidades:"), QStringLiteral("TxtUnidades"));
    addField(this, grid, 1, 2, QStringLiteral("Precio:"), QStringLiteral("TxtPrecUnidad"));
    addField(this, grid, 1, 4, QStringLiteral("Dto. %:"), QStringLiteral("TxtDescArt"));
    addField(this, grid, 2, 0, QStringLiteral("Stock:"), QStringLiteral("TxtStock"));
    field("TxtStock")->setReadOnly(true);
    fromStock_ = new QLabel(QStringLiteral("Salida desde almacen"), this);
    fromStock_->setObjectName(QStringLiteral("LabelDesdeAlmacen"));
    noStock_ = new QLabel(QStringLiteral("Salida sin control de almacen"), this);
    noStock_->setObjectName(QStringLiteral("LabelSinAlmacen"));
    grid->addWidget(fromStock_, 2, 2, 1, 2);
    grid->addWidget(noStock_, 2, 2, 1, 2);
    auto* buttons = new CommandBar(
        this,
        {{QStringLiteral("KewlButtons5"), QStringLiteral("Añadir línea"), [this] { addLine(); }},
         {QStringLiteral("CmdBuscarCli"), QStringLiteral("Buscar artículo"),
          [this] { searchArticle(); }}});
    grid->addWidget(buttons, 2, 4, 1, 2);

    QLineEdit* code = field("TxtCodArt");
    connect(code, &QLineEdit::editingFinished, this, [this] { leaveCode(); });
    // An empty discount becomes 0 when the field is entered.
    QLineEdit* discount = field("TxtDescArt");
    connect(qApp, &QApplication::focusChanged, this, [discount](QWidget*, QWidget* now) {
        if (now == discount && discount->text().isEmpty()) discount->setText(QStringLiteral("0"));
    });
}

QList<CommandRow> VentaRecambios::commands() {
    return {
        {QStringLiteral("CmdGuardar"), QStringLiteral("Guardar"), [this] { saveAndClose(); }},
        {QStringLiteral("CmdAlbaran"), QStringLiteral("Impr. albaran"), [this] { printNote(); }},
        {QStringLiteral("CmdFacturar"), QStringLiteral("Facturar"),
         [this] { invoice(QStringLiteral("\\qarvofacventa.rpt"), true); }},
        {QStringLiteral("KewlButtons1"), QStringLiteral("Factura interna"),
         [this] { invoice(QStringLiteral("\\qarvofacventai.rpt"), true); }},
        {QStringLiteral("KewlButtons2"), QStringLiteral("Ticket"),
         [this] { invoice(QStringLiteral("\\TICKETVENTA.rpt"), false); }},
        {QStringLiteral("Command6"), QStringLiteral("Salir"), [this] { close(); }}};
}

QLineEdit* VentaRecambios::field(const char* name) const {
    return findChild<QLineEdit*>(QString::fromLatin1(name));
}

void VentaRecambios::startNew(qint64 customerId) {
    customerId_ = customerId;
    newNote_ = true;
    linesAtOpen_ = 0;
    std::optional<sales::SaleCustomer> customer;
    reportingDbErrors(dialogs_, [&] {
        customer = sales::customerOf(session_.db(), customerId);
        number_ = sales::startNewNote(session_);
    });
    field("TxtNAlbaran")->setText(number_);
    field("TxtNFactura")->setText(QString::fromLatin1(sales::kNotInvoiced));
    date_->setText(formatDate(session_.today()));
    if (customer) {
        field("Text2")->setText(customer->code);
        field("Text4")->setText(customer->name);
    }
    reloadLines();
}

void VentaRecambios::openNote(const QString& number) {
    std::optional<sales::NoteHeader> header;
    std::optional<sales::SaleCustomer> customer;
    reportingDbErrors(dialogs_, [&] {
        header = sales::noteByNumber(session_.db(), number);
        if (header) customer = sales::customerOf(session_.db(), header->customerId);
        linesAtOpen_ = int(sales::linesOf(session_.db(), number).size());
    });
    if (!header) return;
    number_ = header->number;
    customerId_ = header->customerId;
    newNote_ = false;
    field("TxtNAlbaran")->setText(number_);
    field("TxtNFactura")->setText(header->invoice);
    date_->setText(formatDate(header->date));
    field("Text1")->setText(header->notes);
    if (customer) {
        field("Text2")->setText(customer->code);
        field("Text4")->setText(customer->name);
    }
    reloadLines();
}

void VentaRecambios::takeArticle(const ArticleChoice& choice) {
    field("TxtCodArt")->setText(choice.code);
    lookUpArticle(true);
}

void VentaRecambios::takeNewArticle(const NewArticle& article) {
    setEnabled(true);
    if (!article.saved) return;
    field("TxtCodArt")->setText(article.code);
    lookUpArticle(true);
}

bool VentaRecambios::lookUpArticle(bool tellNoStock) {
    const QString code = field("TxtCodArt")->text().trimmed();
    if (code.isEmpty()) return false;
    std::optional<articles::Article> article;
    if (!reportingDbErrors(dialogs_,
                           [&] { article = articles::articleByCode(session_.db(), code); }) ||
        !article)
        return false;
    articleId_ = article->id;
    fromStock_->setVisible(true);
    noStock_->setVisible(false);
    field("TxtArticulo")->setText(article->description);
    field("TxtPrecUnidad")->setText(plainMoney(article->price));
    field("TxtDescArt")->setText(QStringLiteral("0"));
    field("TxtStock")->setText(quantityText(article->stock));
    if (tellNoStock && article->stock <= Quantity())
        dialogs_.information(QString::fromUtf8(sales::kNoStock));
    field("TxtUnidades")->setText(QStringLiteral("1"));
    return true;
}

void VentaRecambios::leaveCode() {
    const QString code = field("TxtCodArt")->text().trimmed();
    if (!code.isEmpty() && lookUpArticle(true)) return;
    if (!code.isEmpty() &&
        dialogs_.question(QStringLiteral("No existe ningún articulo en la base de datos con este "
                                         "código. ¿Desea crearlo ahora?"),
                          QStringLiteral("Articulo no registrado"))) {
        auto* create = new AltaArticulos(session_, services_);
        openScreen(this, create);
        create->setCode(code);
    }
    showFreeLine();
    if (!code.isEmpty() && !lineOpened_) {
        field("TxtArticulo")->clear();
        field("TxtPrecUnidad")->clear();
        field("TxtDescArt")->clear();
    }
    field("TxtUnidades")->setText(QStringLiteral("1"));
}

void VentaRecambios::showFreeLine() {
    articleId_ = 0;
    fromStock_->setVisible(false);
    noStock_->setVisible(true);
    field("TxtStock")->clear();
}

void VentaRecambios::clearLineFields() {
    for (const char* name :
         {"TxtCodArt", "TxtArticulo", "TxtUnidades", "TxtPrecUnidad", "TxtDescArt"})
        field(name)->clear();
    editingLineId_ = QVariant();
    showFreeLine();
}

void VentaRecambios::addLine() {
    const sales::LineCheck check = sales::checkLine(
        {field("TxtCodArt")->text(), field("TxtArticulo")->text(), field("TxtUnidades")->text(),
         field("TxtPrecUnidad")->text(), field("TxtDescArt")->text()});
    if (!check.line) {
        dialogs_.critical(check.message);
        return;
    }
    sales::SaleLine line;
    line.articleId = noStock_->isVisible() ? 0 : articleId_;
    line.line = *check.line;
    line.line.id = editingLineId_;
    if (!sales::reportingRefusals(dialogs_,
                                  [&] { sales::storeLine(session_.db(), number_, line); }))
        return;
    saved_ = false;
    clearLineFields();
    reloadLines();
    grid_->scrollToBottom();
    field("TxtCodArt")->setFocus();
}

void VentaRecambios::editLine(int row) {
    const DocumentLine line = lines_->lineAt(row);
    editingLineId_ = line.id;
    lineOpened_ = true;
    field("TxtCodArt")->setText(line.code);
    if (!lookUpArticle(false)) showFreeLine();
    field("TxtArticulo")->setText(line.description);
    field("TxtUnidades")->setText(quantityText(line.units));
    field("TxtPrecUnidad")->setText(plainMoney(line.price));
    field("TxtDescArt")->setText(quantityText(line.discount));
}

void VentaRecambios::deleteLine(int row) {
    const QVariant id = lines_->lineAt(row).id;
    if (id.isValid()) deleted_ << id.toLongLong();
    if (id == editingLineId_) clearLineFields();
    lines_->markDeleted(row);
    saved_ = false;
}

void VentaRecambios::reloadLines() {
    std::vector<DocumentLine> shown;
    reportingDbErrors(dialogs_, [&] {
        for (sales::SaleLine& s : sales::linesOf(session_.db(), number_)) {
            s.line.deleted = deleted_.contains(s.line.id.toLongLong());
            shown.push_back(std::move(s.line));
        }
    });
    lines_->setLines(std::move(shown));
}

void VentaRecambios::showTotals() {
    const sales::SaleTotals t = sales::totalsOf(lines_->lines(), verifactu::vatRate(session_.db()));
    field("TxtTotal")->setText(t.sum.format());
    field("TxtIVA")->setText(t.vat.format());
    field("TxtImporte")->setText(t.total.format());
}

bool VentaRecambios::hasVisibleLines() const {
    return lines_->totals().lines > 0;
}

std::optional<sales::NoteHeader> VentaRecambios::headerFromFields() {
    const auto date = parseDisplayDate(date_->text());
    if (!date) {
        dialogs_.critical(QStringLiteral("La fecha no es válida"));
        date_->setFocus();
        return std::nullopt;
    }
    sales::NoteHeader h;
    h.number = number_;
    h.date = *date;
    h.customerId = customerId_;
    h.invoice = field("TxtNFactura")->text();
    h.notes = field("Text1")->text();
    return h;
}

bool VentaRecambios::saveNote() {
    if (!hasVisibleLines()) {
        dialogs_.critical(QString::fromUtf8(sales::kNoLines));
        return false;
    }
    const auto header = headerFromFields();
    if (!header) return false;
    if (!sales::reportingRefusals(dialogs_,
                                  [&] { sales::saveNote(session_.db(), *header, deleted_); }))
        return false;
    saved_ = true;
    return true;
}

void VentaRecambios::saveAndClose() {
    if (saveNote()) close();
}

void VentaRecambios::printNote() {
    if (!saveNote()) return;
    Informes::ImprimirInforme(session_, services_, sales::noteFormula(number_),
                              QStringLiteral("\\qarvoalbventa.rpt"), true);
    close();
}

void VentaRecambios::invoice(const QString& report, bool preview) {
    if (field("TxtNFactura")->text() != QLatin1String(sales::kNotInvoiced)) {
        dialogs_.critical(QString::fromUtf8(sales::kAlreadyInvoiced));
        return;
    }
    if (!hasVisibleLines()) {
        dialogs_.critical(QString::fromUtf8(sales::kNoLines));
        return;
    }
    const auto header = headerFromFields();
    if (!header) return;
    const bool paid = dialogs_.question(QString::fromUtf8(sales::kMarkPaid));
    QString number;
    if (!sales::reportingRefusals(
            dialogs_, [&] { number = sales::invoiceSale(session_, *header, deleted_, paid); }))
        return;
    field("TxtNFactura")->setText(number);
    saved_ = true;
    Informes::ImprimirInforme(session_, services_, sales::noteFormula(number_), report, preview);
    close();
}

void VentaRecambios::searchArticle() {
    openScreen(this, new BusquedaArticulos(session_, services_));
}

void VentaRecambios::closeEvent(QCloseEvent* event) {
    if (!saved_ && !number_.isEmpty()) {
        if (dialogs_.question(kCloseQuestion)) {
            if (!saveNote()) {
                event->ignore();
                return;
            }
        } else {
            // Closing goes on whatever the database says.
            try {
                sales::discardVisit(session_.db(), number_, linesAtOpen_, newNote_);
            } catch (const DbError&) {
            }
        }
    }
    QWidget::closeEvent(event);
}

}  // namespace torvane
