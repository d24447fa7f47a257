#include "purchasing/compras.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

#include "controls/command_bar.h"
#include "controls/form_fields.h"
#include "controls/keyboard_classes.h"
#include "controls/opc_entrada.h"
#include "controls/screen.h"
#include "core/db_errors.h"
#include "core/field_binding.h"
#include "core/format.h"
#include "masters/alta_articulos.h"
#include "masters/busqueda_articulos.h"
#include "purchasing/purchases.h"
#include "workorders/busqueda_odts.h"

namespace torvane {

namespace {

QString quantityText(Quantity q) {
    return boundText(q.toDouble(), false);
}

QString priceText(Money m) {
    return m.toPlainString().replace(QLatin1Char('.'), QLatin1Char(','));
}

QPushButton* button(QWidget* owner, const char* name, const char* caption) {
    auto* b = new QPushButton(QString::fromUtf8(caption), owner);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

}  // namespace

Compras::Compras(Session& session, Services& services, qint64 supplierId, QWidget* parent)
    : QWidget(parent), session_(session), services_(services), dialogs_(services.dialogs()) {
    setObjectName(QStringLiteral("Compras"));
    setWindowTitle(QStringLiteral("Compras"));
    auto* layout = new QVBoxLayout(this);

    QGridLayout* head = addFormGrid(layout);
    addFields(this, head,
              {{"Nº Entrada:", "TxtEntrada", 0, 0, 1, 160},
               {"Nº Albarán:", "TxtNAlbaran", 0, 2, 1, 160}});
    fecha_ = new OpcEntrada(this);
    fecha_->setObjectName(QStringLiteral("OpcFecha"));
    fecha_->setTypeInput(OpcEntrada::Date);
    fecha_->setDialogs(&dialogs_);
    fecha_->setTodaySource([&session] { return session.today(); });
    fecha_->setMaximumWidth(110);
    addCaptioned(this, head, 1, 0, QStringLiteral("Fecha:"), fecha_);

    auto* supplierBox = new QGroupBox(QStringLiteral("Proveedor:"), this);
    auto* supplierGrid = new QGridLayout(supplierBox);
    addFields(supplierBox, supplierGrid,
              {{"Código:", "Text2", 0, 0, 1, 100}, {"Nombre:", "Text4", 0, 2, 1}});
    addHiddenField(supplierBox, QStringLiteral("TxtId_Pro"));
    layout->addWidget(supplierBox);

    auto* odtRow = new QHBoxLayout;
    auto* odt = new QLineEdit(this);
    odt->setObjectName(QStringLiteral("TxtOdt"));
    auto* odtLabel = new QLabel(QStringLiteral("Enviar a la ODT:"), this);
    odtLabel->setBuddy(odt);
    odtRow->addWidget(odtLabel);
    odtRow->addWidget(odt);
    QPushButton* buscarOdt = button(this, "CmdBuscarODT", "Buscar ODT");
    odtRow->addWidget(buscarOdt);
    odtRow->addStretch();
    layout->addLayout(odtRow);

    auto* entry = new QGridLayout;
    const char* captions[] = {"Código", "", "Artículo", "Unidades", "Precio", "Dto", "Stock", ""};
    for (int i = 0; i < 8; ++i)
        if (*captions[i]) entry->addWidget(new QLabel(QString::fromUtf8(captions[i]), this), 0, i);
    const char* names[] = {"TxtCodArt",     "TxtArticulo", "TxtUnidades",
                           "TxtPrecUnidad", "TxtDescArt",  "TxtStock"};
    const int columns[] = {0, 2, 3, 4, 5, 6};
    for (int i = 0; i < 6; ++i) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(names[i]));
        entry->addWidget(e, 1, columns[i]);
        if (i >= 2) e->setMaximumWidth(90);
    }
    field("TxtCodArt")->setMaximumWidth(120);
    entry->setColumnStretch(2, 1);
    QPushButton* buscarArt = button(this, "CmdBuscarCli", "...");
    buscarArt->setMaximumWidth(30);
    entry->addWidget(buscarArt, 1, 1);
    QPushButton* add = button(this, "KewlButtons5", "Añadir");
    entry->addWidget(add, 1, 7);
    field("TxtStock")->setReadOnly(true);
    field("TxtStock")->setFocusPolicy(Qt::NoFocus);
    layout->addLayout(entry);

    lines_ = new LineTableModel({{LineField::Position, QString(), false},
                                 {LineField::Code, QStringLiteral("Codigo"), false},
                                 {LineField::Description, QStringLiteral("Articulo"), false},
                                 {LineField::Units, QStringLiteral("Unidades"), false},
                                 {LineField::Price, QStringLiteral("Precio"), false},
                                 {LineField::Discount, QStringLiteral("Dto"), false},
                                 {LineField::Amount, QStringLiteral("Importe"), false},
                                 {LineField::WorkOrder, QStringLiteral("ODT"), false}},
                                DeletedLines::Hidden, this);
    grid_ = new LineTable(QStringLiteral("MSHEntradas"), lines_, this);
    grid_->setColumnWidth(0, 30);
    grid_->setColumnWidth(2, 220);
    for (int c : {3, 4, 5, 6}) grid_->setColumnWidth(c, c == 5 ? 45 : 80);
    grid_->verticalHeader()->setVisible(false);
    layout->addWidget(grid_, 1);

    auto* foot = new QHBoxLayout;
    foot->addStretch();
    auto* total = new QLineEdit(this);
    total->setObjectName(QStringLiteral("TxtTotal"));
    total->setReadOnly(true);
    total->setFocusPolicy(Qt::NoFocus);
    total->setAlignment(Qt::AlignRight);
    foot->addWidget(new QLabel(QStringLiteral("TOTAL:"), this));
    foot->addWidget(total);
    layout->addLayout(foot);
    layout->addWidget(new CommandBar(
        this, {{QStringLiteral("CmdGuardar"), QStringLiteral("Guardar"), [this] { save(); }},
               {QStringLiteral("Command6"), QStringLiteral("Salir"), [this] { close(); }}}));

    for (const char* name : {"Text2", "Text4"}) field(name)->setReadOnly(true);
    applyKeyClasses(
        this, QList<QPair<KeyClass, const char*>>{
                  {KeyClass::K4, "Text2 Text4 TxtArticulo TxtCodArt TxtEntrada TxtNAlbaran TxtOdt"},
                  {KeyClass::K6, "TxtUnidades"},
                  {KeyClass::K5, "TxtPrecUnidad"},
                  {KeyClass::K3, "TxtDescArt"}});
    setTabOrder(field("TxtEntrada"), field("TxtNAlbaran"));
    setTabOrder(field("TxtNAlbaran"), fecha_->maskEdit());
    setTabOrder(fecha_->maskEdit(), odt);
    setTabOrder(odt, field("TxtCodArt"));
    setTabOrder(field("TxtCodArt"), field("TxtArticulo"));
    setTabOrder(field("TxtArticulo"), field("TxtUnidades"));
    setTabOrder(field("TxtUnidades"), field("TxtPrecUnidad"));
    setTabOrder(field("TxtPrecUnidad"), field("TxtDescArt"));
    setTabOrder(field("TxtDescArt"), add);

    // Checks on leaving a field run once per text: the message box that tells the problem
    // takes the focus away again.
    const auto onLeave = [this](QLineEdit* edit, void (Compras::*check)()) {
        auto checked = std::make_shared<QString>();
        connect(edit, &QLineEdit::editingFinished, this, [this, edit, checked, check] {
            if (edit->text() == *checked) return;
            *checked = edit->text();
            (this->*check)();
        });
    };
    onLeave(field("TxtEntrada"), &Compras::checkEntryNumber);
    onLeave(odt, &Compras::checkWorkOrder);
    onLeave(field("TxtCodArt"), &Compras::codeLeft);
    connect(field("TxtCodArt"), &QLineEdit::textChanged, this,
            [this](const QString& code) { lookUpArticle(code); });
    connect(add, &QPushButton::clicked, this, [this] { addLine(); });
    connect(buscarArt, &QPushButton::clicked, this,
            [this] { openScreen(this, new BusquedaArticulos(session_, services_)); });
    connect(buscarOdt, &QPushButton::clicked, this, [this] {
        QPointer<QLineEdit> target = field("TxtOdt");
        openScreen(this, new BusquedaODTS(session_, services_, [target](const QString& number) {
                       if (target) target->setText(number);
                   }));
    });
    connect(lines_, &LineTableModel::totalsChanged, this, [this] { showTotal(); });
    connect(grid_, &LineTable::lineActivated, this, [this](int row) { editLine(row); });

    fecha_->setText(formatDate(session_.today()));
    reportingDbErrors(dialogs_, [&] {
        if (const auto s = purchases::supplierById(session_.db(), supplierId)) {
            field("Text2")->setText(s->code);
            field("Text4")->setText(s->name);
            field("TxtId_Pro")->setText(QString::number(s->id));
        }
        field("TxtEntrada")->setText(purchases::proposeEntryNumber(session_));
    });
    showTotal();
    resize(820, 560);
    // A proposed number already in use (a number typed earlier by hand) is told at once.
    QMetaObject::invokeMethod(
        this, [this] { checkEntryNumber(); }, Qt::QueuedConnection);
}

QLineEdit* Compras::field(const char* name) const {
    return findChild<QLineEdit*>(QString::fromLatin1(name));
}

void Compras::checkEntryNumber() {
    const QString number = field("TxtEntrada")->text().trimmed();
    if (number.isEmpty()) return;
    bool inUse = false;
    if (!reportingDbErrors(dialogs_,
                           [&] { inUse = purchases::entryNumberInUse(session_.db(), number); }))
        return;
    if (!inUse) return;
    dialogs_.critical(QString::fromUtf8(purchases::kEntryInUse));
    field("TxtEntrada")->setFocus();
}

void Compras::checkWorkOrder() {
    const QString number = field("TxtOdt")->text().trimmed();
    if (number.isEmpty()) return;
    auto state = purchases::WorkOrderState::Open;
    if (!reportingDbErrors(dialogs_,
                           [&] { state = purchases::workOrderState(session_.db(), number); }))
        return;
    if (state != purchases::WorkOrderState::Missing) return;
    dialogs_.critical(QString::fromUtf8(purchases::kNoWorkOrder));
    field("TxtOdt")->setFocus();
}

void Compras::lookUpArticle(const QString& code) {
    article_.reset();
    field("TxtStock")->clear();
    if (code.trimmed().isEmpty()) return;
    reportingDbErrors(dialogs_,
                      [&] { article_ = articles::articleByCode(session_.db(), code.trimmed()); });
    if (!article_) return;
    field("TxtArticulo")->setText(article_->description);
    field("TxtPrecUnidad")->setText(priceText(article_->price));
    field("TxtDescArt")->setText(QStringLiteral("0"));
    field("TxtStock")->setText(quantityText(article_->stock));
    if (article_->stock <= Quantity() && !restoring_)
        dialogs_.information(QString::fromUtf8(purchases::kNoStock));
    field("TxtUnidades")->setText(QStringLiteral("1"));
}

void Compras::codeLeft() {
    const QString code = field("TxtCodArt")->text().trimmed();
    if (code.isEmpty() || article_) return;
    askToCreate(code);
}

bool Compras::askToCreate(const QString& code) {
    for (const char* name : {"TxtArticulo", "TxtPrecUnidad", "TxtDescArt"}) field(name)->clear();
    if (!dialogs_.question(QString::fromUtf8(purchases::kUnknownArticle))) return false;
    auto* alta = new AltaArticulos(session_, services_);
    openScreen(this, alta);
    alta->setCode(code);
    return true;
}

void Compras::chooseArticle(const ArticleChoice& choice) {
    field("TxtCodArt")->setText(choice.code);
    field("TxtCodArt")->setFocus();
}

void Compras::articleCreated(const NewArticle& created) {
    if (!created.saved) return;
    {
        const QSignalBlocker block(field("TxtCodArt"));
        field("TxtCodArt")->setText(created.code);
    }
    reportingDbErrors(dialogs_,
                      [&] { article_ = articles::articleByCode(session_.db(), created.code); });
    field("TxtArticulo")->setText(created.description);
    field("TxtPrecUnidad")->setText(priceText(created.price));
    field("TxtDescArt")->setText(quantityText(created.discount));
    field("TxtStock")->setText(article_ ? quantityText(article_->stock) : QString());
    if (field("TxtUnidades")->text().isEmpty()) field("TxtUnidades")->setText(QStringLiteral("1"));
}

void Compras::addLine() {
    purchases::LineEntry entry;
    entry.code = field("TxtCodArt")->text();
    entry.description = field("TxtArticulo")->text();
    entry.units = field("TxtUnidades")->text();
    entry.price = field("TxtPrecUnidad")->text();
    entry.discount = field("TxtDescArt")->text();
    entry.workOrder = field("TxtOdt")->text();
    purchases::CheckedLine checked = purchases::checkLine(entry);
    if (!checked.problem.isEmpty()) {
        dialogs_.critical(checked.problem);
        return;
    }
    // Only catalogue articles are bought: an unknown code asks again to create it.
    if (!article_ || article_->code.compare(checked.line.code, Qt::CaseInsensitive) != 0) {
        askToCreate(checked.line.code);
        return;
    }
    if (!checked.line.workOrder.isEmpty()) {
        auto state = purchases::WorkOrderState::Open;
        if (!reportingDbErrors(dialogs_, [&] {
                state = purchases::workOrderState(session_.db(), checked.line.workOrder);
            }))
            return;
        if (const QString refusal = purchases::workOrderRefusal(state); !refusal.isEmpty()) {
            dialogs_.critical(refusal);
            field("TxtOdt")->setFocus();
            return;
        }
    }
    checked.line.articleId = article_->id;
    checked.line.code = article_->code;
    lines_->addLine(checked.line);
    clearEntry();
    field("TxtCodArt")->setFocus();
}

void Compras::editLine(int row) {
    const DocumentLine line = lines_->lineAt(row);
    restoring_ = true;
    field("TxtCodArt")->setText(line.code);
    restoring_ = false;
    field("TxtArticulo")->setText(line.description);
    field("TxtUnidades")->setText(quantityText(line.units));
    field("TxtPrecUnidad")->setText(priceText(line.price));
    field("TxtDescArt")->setText(quantityText(line.discount));
    field("TxtOdt")->setText(line.workOrder);
    lines_->markDeleted(row);
    field("TxtUnidades")->setFocus();
}

void Compras::clearEntry() {
    const QSignalBlocker block(field("TxtCodArt"));
    for (const char* name :
         {"TxtCodArt", "TxtArticulo", "TxtUnidades", "TxtPrecUnidad", "TxtDescArt", "TxtStock"})
        field(name)->clear();
    article_.reset();
}

void Compras::showTotal() {
    field("TxtTotal")->setText(lines_->totals().amount.format());
}

bool Compras::save() {
    purchases::Header header;
    header.number = field("TxtEntrada")->text();
    header.delivery = field("TxtNAlbaran")->text();
    header.date = parseDisplayDate(fecha_->text()).value_or(QDate());
    if (!field("TxtId_Pro")->text().isEmpty())
        header.supplierId = field("TxtId_Pro")->text().toLongLong();
    QString problem;
    if (!reportingDbErrors(dialogs_, [&] {
            problem = purchases::checkPurchase(session_.db(), header, lines_->lines());
        }))
        return false;
    if (!problem.isEmpty()) {
        dialogs_.critical(problem);
        if (problem == QString::fromUtf8(purchases::kEntryInUse)) field("TxtEntrada")->setFocus();
        return false;
    }
    if (!reportingDbErrors(
            dialogs_, [&] { purchases::savePurchase(session_.db(), header, lines_->lines()); }))
        return false;
    saved_ = true;
    close();
    return true;
}

void Compras::closeEvent(QCloseEvent* event) {
    // Nothing is stored before saving, so leaving without saving writes nothing.
    if (!saved_ && dialogs_.question(QString::fromUtf8(purchases::kSaveQuestion)) && !save()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

}  // namespace torvane
