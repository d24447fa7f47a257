#include "masters/articulos.h"

#include <QEvent>
#include <QFocusEvent>
#include <QVBoxLayout>

#include "controls/command_bar.h"
#include "controls/form_fields.h"
#include "controls/screen.h"
#include "core/db_errors.h"
#include "core/numbering.h"
#include "masters/article_form.h"
#include "masters/articles.h"
#include "masters/busqueda_articulos.h"
#include "masters/named_list_screen.h"

namespace torvane {

using Action = RecordController::Action;
using When = RecordMode::When;

Articulos::Articulos(Session& session, Services& services, QWidget* parent)
    : RecordScreen(session, services, parent) {
    setObjectName(QStringLiteral("Articulos"));
    setWindowTitle(QStringLiteral("Artículos"));
    auto* layout = new QVBoxLayout(this);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("SSTab1"));
    layout->addWidget(tabs_, 1);
    generalTab_ = new QWidget(tabs_);
    auto* history = new QWidget(tabs_);
    tabs_->addTab(generalTab_, QStringLiteral("General"));
    tabs_->addTab(history, QStringLiteral("Historial"));
    buildGeneralTab(generalTab_);
    buildHistoryTab(history);
    setUpRecord();
    record_->open();
    resize(820, 560);
}

void Articulos::buildGeneralTab(QWidget* tab) {
    auto* outer = new QVBoxLayout(tab);
    QGridLayout* grid = addFormGrid(outer);
    addHiddenField(tab, QStringLiteral("TxtId"));
    form_ = new ArticleForm(tab, grid, session_, dialogs_);
    code_ = tab->findChild<QLineEdit*>(QStringLiteral("TxtCodigo"));
    code_->installEventFilter(this);
    lowStock_ = new QLabel(QString::fromUtf8(articles::kLowStockFile), tab);
    lowStock_->setObjectName(QStringLiteral("Label3"));
    lowStock_->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
    lowStock_->setVisible(false);
    grid->addWidget(lowStock_, 6, 2, 1, 2);
    for (const char* name : {"txtStockA", "txtStockM"})
        connect(tab->findChild<QLineEdit*>(QString::fromLatin1(name)), &QLineEdit::textChanged,
                this, &Articulos::updateLowStock);
    outer->addStretch();
}

void Articulos::buildHistoryTab(QWidget* tab) {
    auto* outer = new QVBoxLayout(tab);
    auto* inner = new QTabWidget(tab);
    inner->setObjectName(QStringLiteral("SSTab2"));
    outer->addWidget(inner);
    auto run = [this](DataGrid* grid) {
        return [this, grid](const SqlStatement& statement) {
            grid->run(session_.db(), statement, dialogs_);
        };
    };
    auto addHistory = [&](const QString& caption, const QString& name,
                          const QList<GridColumn>& columns) {
        auto* page = new QWidget(inner);
        inner->addTab(page, caption);
        DataGrid* grid = addGrid(page, new QVBoxLayout(page), {}, name, columns);
        return new HeaderSort(grid, run(grid));
    };
    entries_ = addHistory(QStringLiteral("Entradas"), QStringLiteral("MSHEntradas"),
                          articles::entryColumns());
    sales_ = addHistory(QStringLiteral("Venta recambios"), QStringLiteral("MSHRecambios"),
                        articles::saleColumns());
    uses_ = addHistory(QStringLiteral("Reparaciones"), QStringLiteral("MSHReparaciones"),
                       articles::workOrderUseColumns());
}

void Articulos::setUpRecord() {
    RecordController::Setup setup;
    setup.table = QStringLiteral("Articulos");
    setup.keyColumn = QStringLiteral("Id_Art");
    setup.keys = articles::articleKeys();
    setup.fields = articles::articleFields();
    setup.lockedControls = form_->comboNames();
    setup.keyField = QStringLiteral("TxtId");
    setup.firstField = QStringLiteral("txtDescripcion");
    setup.deleteQuestion = QStringLiteral("Seguro que quiere eliminar el artículo ");
    setup.deleteQuestionField = QStringLiteral("txtDescripcion");
    setup.allDeletedMessage = QStringLiteral("Se han eliminado todos los artículos");
    setup.tabs = tabs_;
    setup.historyTab = 1;

    RecordController::Hooks hooks;
    hooks.propose = [this]() -> std::optional<Row> {
        Row row{{QStringLiteral("Codigo"), nextArticleCode(session_)}};
        form_->showNames({});
        return row;
    };
    hooks.check = [this](const Row& values) {
        QString problem = articles::checkArticle(values);
        if (problem.isEmpty() &&
            articles::codeTakenByAnother(session_.db(),
                                         values.value(QStringLiteral("Codigo")).toString(),
                                         record_->isNew() ? QVariant() : record_->currentKey()))
            problem = QString::fromUtf8(articles::kDuplicateCode);
        return problem;
    };
    hooks.save = [this](const QVariant& key, const Row& values) -> QVariant {
        return articles::saveArticle(session_.db(), key, form_->withNames(values));
    };
    hooks.remove = [this](const QVariant& key) {
        articles::deleteArticle(session_.db(), key.toLongLong());
        return QString();
    };
    hooks.shown = [this](const Row& row) { shown(row); };
    hooks.editing = [this] {
        form_->fillCombos();
        if (record_->isNew()) code_->setFocus();
    };
    record_ = new RecordController(this, session_, dialogs_, setup, hooks);

    auto openNames = [this](const named_lists::NamedList& list) {
        auto* screen = new NamedListScreen(session_, services_, list);
        // Names added there are offered at once.
        connect(screen, &QObject::destroyed, form_, [this] {
            if (record_->isEditing()) form_->fillCombos();
        });
        openScreen(this, screen);
    };
    QList<CommandRow> rows = {
        record_->command(Action::New, QStringLiteral("CmdNuevo"), QStringLiteral("Nuevo"))};
    rows += record_->editCommands();
    rows += {
        {QStringLiteral("CmdBuscarArt"), QStringLiteral("Buscar"),
         [this] { openScreen(this, new BusquedaArticulos(session_, services_)); },
         When::BrowseWithRecord},
        {QStringLiteral("CmdNuevaFamilia"), QStringLiteral("Familias"),
         [openNames] { openNames(named_lists::families()); }, When::Edit},
        {QStringLiteral("CmdNuevaUbicacion"), QStringLiteral("Ubicaciones"),
         [openNames] { openNames(named_lists::warehouses()); }, When::Edit},
        {QStringLiteral("CmdSalir"), QStringLiteral("Salir"), [this] { close(); }, When::Browse},
    };
    auto* bar = record_->commandBar(this, rows);
    bar->setObjectName(QStringLiteral("FrameComandos"));
    layout()->addWidget(bar);
}

void Articulos::shown(const Row& row) {
    if (record_ && record_->isEditing()) return;
    form_->showNames(row);
    updateLowStock();
    const QVariant id = row.value(QStringLiteral("Id_Art"));
    if (!id.isValid()) {
        for (HeaderSort* grid : {entries_, sales_, uses_}) grid->clear();
        return;
    }
    entries_->show(articles::entriesOf(id.toLongLong()));
    sales_->show(articles::salesOf(id.toLongLong()));
    uses_->show(articles::workOrderUsesOf(row.value(QStringLiteral("Codigo")).toString()));
}

void Articulos::updateLowStock() {
    auto text = [this](const char* name) {
        return generalTab_->findChild<QLineEdit*>(QString::fromLatin1(name))->text();
    };
    lowStock_->setVisible(articles::isLowStock(text("txtStockA"), text("txtStockM")));
}

void Articulos::checkDuplicateCode() {
    if (!record_->isEditing()) return;
    bool taken = false;
    reportingDbErrors(dialogs_, [&] {
        taken = articles::codeTakenByAnother(session_.db(), code_->text(),
                                             record_->isNew() ? QVariant() : record_->currentKey());
    });
    if (!taken) return;
    dialogs_.critical(QString::fromUtf8(articles::kDuplicateCode));
    code_->setFocus();
}

bool Articulos::eventFilter(QObject* watched, QEvent* event) {
    if (watched == code_ && event->type() == QEvent::FocusOut) {
        // Leaving for a message box or a menu is not leaving the field.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            checkDuplicateCode();
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace torvane
