#include "controls/data_grid.h"

#include <QBoxLayout>
#include <QFont>
#include <QLabel>
#include <QPalette>

#include <QHeaderView>
#include <QKeyEvent>
#include <QSqlRecord>

#include "core/db_errors.h"
#include "core/format.h"

namespace torvane {

GridModel::GridModel(QObject* parent) : QSqlQueryModel(parent) {}

void GridModel::setColumns(const QList<GridColumn>& columns) {
    columns_ = columns;
    if (columnCount() > 0) Q_EMIT headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void GridModel::run(Database& db, const SqlStatement& statement) {
    QSqlQuery q = db.exec(statement.sql, statement.params);
    // The base class reads the first rows inside its model reset, announcing
    // them as inserted while the reset is open; read them after it instead.
    settingQuery_ = true;
    setQuery(std::move(q));
    settingQuery_ = false;
    if (canFetchMore()) fetchMore();
}

void GridModel::fetchMore(const QModelIndex& parent) {
    if (settingQuery_) return;
    QSqlQueryModel::fetchMore(parent);
}

void GridModel::clearRows() {
    clear();
}

int GridModel::fieldIndex(const QString& field) const {
    return record().indexOf(field);
}

const GridColumn* GridModel::describe(int column) const {
    const QString name = record().fieldName(column);
    for (const GridColumn& c : columns_)
        if (c.field.compare(name, Qt::CaseInsensitive) == 0) return &c;
    return nullptr;
}

ColumnKind GridModel::kindOf(int column) const {
    const GridColumn* c = describe(column);
    return c ? c->kind : ColumnKind::Text;
}

QVariant GridModel::rawValue(int row, const QString& field) const {
    const int column = fieldIndex(field);
    if (row < 0 || row >= rowCount() || column < 0) return {};
    return QSqlQueryModel::data(index(row, column), Qt::DisplayRole);
}

void GridModel::marksChanged() {
    if (rowCount() > 0 && columnCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                           {Qt::FontRole, Qt::BackgroundRole, Qt::ForegroundRole});
}

int GridModel::fetchAllRows() {
    while (canFetchMore()) fetchMore();
    return rowCount();
}

namespace {

QString numberText(const QVariant& v) {
    const double d = v.toDouble();
    if (d == static_cast<double>(static_cast<long long>(d)))
        return QString::number(static_cast<long long>(d));
    return QString::number(d, 'f', 2).replace(QLatin1Char('.'), QLatin1Char(','));
}

}  // namespace

QVariant GridModel::data(const QModelIndex& idx, int role) const {
    if (!idx.isValid()) return {};
    const ColumnKind kind = kindOf(idx.column());
    if (role == Qt::TextAlignmentRole) {
        if (kind == ColumnKind::Money || kind == ColumnKind::Number)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    }
    if (marked_ &&
        (role == Qt::FontRole || role == Qt::BackgroundRole || role == Qt::ForegroundRole) &&
        marked_(idx.row())) {
        if (role == Qt::FontRole) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        const QPalette palette;
        return role == Qt::BackgroundRole
                   ? palette.color(QPalette::Active, QPalette::Highlight)
                   : palette.color(QPalette::Active, QPalette::HighlightedText);
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return QSqlQueryModel::data(idx, role);
    const QVariant v = QSqlQueryModel::data(idx, Qt::DisplayRole);
    if (v.isNull()) return QString();
    switch (kind) {
        case ColumnKind::Money:
            return formatMoney(v.toDouble());
        case ColumnKind::Date:
            return formatDate(v);
        case ColumnKind::Number:
            return numberText(v);
        default:
            return v.toString();
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        const GridColumn* c = describe(section);
        if (c && !c->caption.isEmpty()) return c->caption;
    }
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole) {
        const ColumnKind kind = kindOf(section);
        if (kind == ColumnKind::Money || kind == ColumnKind::Number)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return QSqlQueryModel::headerData(section, orientation, role);
}

DataGrid::DataGrid(const QString& objectName, QWidget* parent)
    : QTableView(parent), model_(new GridModel(this)) {
    setObjectName(objectName);
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(true);
    setWordWrap(false);
    verticalHeader()->setVisible(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setHighlightSections(false);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) {
                Q_EMIT currentRowChanged(current.isValid() ? current.row() : -1);
            });
    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& i) { Q_EMIT rowActivated(i.row()); });
}

void DataGrid::setColumns(const QList<GridColumn>& columns) {
    model_->setColumns(columns);
    applyLayout();
}

void DataGrid::applyLayout() {
    const int n = model_->columnCount();
    bool anyFree = false;
    for (int c = 0; c < n; ++c) {
        const QString name = model_->record().fieldName(c);
        const GridColumn* d = nullptr;
        for (const GridColumn& gc : model_->columns())
            if (gc.field.compare(name, Qt::CaseInsensitive) == 0) d = &gc;
        setColumnHidden(c, d && d->kind == ColumnKind::Hidden);
        if (d && d->width > 0)
            setColumnWidth(c, d->width);
        else
            anyFree = true;
    }
    if (anyFree) {
        // Columns without a set width follow their caption and the first rows.
        for (int c = 0; c < n; ++c) {
            bool fixed = false;
            for (const GridColumn& gc : model_->columns())
                if (gc.width > 0 &&
                    gc.field.compare(model_->record().fieldName(c), Qt::CaseInsensitive) == 0)
                    fixed = true;
            if (!fixed && !isColumnHidden(c)) resizeColumnToContents(c);
        }
    }
}

void DataGrid::runOrClear(Database& db, Dialogs& dialogs,
                          const std::optional<SqlStatement>& statement) {
    if (statement)
        run(db, *statement, dialogs);
    else
        clearRows();
}

void DataGrid::run(Database& db, const SqlStatement& statement) {
    model_->run(db, statement);
    applyLayout();
    if (model_->rowCount() > 0)
        setCurrentRowIndex(0);
    else
        Q_EMIT currentRowChanged(-1);
}

bool DataGrid::run(Database& db, const SqlStatement& statement, Dialogs& dialogs) {
    if (reportingDbErrors(dialogs, [&] { run(db, statement); })) return true;
    clearRows();
    return false;
}

void DataGrid::clearRows() {
    model_->clearRows();
    Q_EMIT currentRowChanged(-1);
}

int DataGrid::currentRowIndex() const {
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() : -1;
}

QVariant DataGrid::currentValue(const QString& field) const {
    return model_->rawValue(currentRowIndex(), field);
}

QString DataGrid::displayText(int row, const QString& field) const {
    const int column = model_->fieldIndex(field);
    if (column < 0) return {};
    return model_->data(model_->index(row, column), Qt::DisplayRole).toString();
}

void DataGrid::setCurrentRowIndex(int row) {
    if (row < 0 || row >= model_->rowCount()) return;
    int column = 0;
    while (column < model_->columnCount() - 1 && isColumnHidden(column)) ++column;
    const QModelIndex i = model_->index(row, column);
    if (currentIndex() == i) return;
    setCurrentIndex(i);
    scrollTo(i);
}

bool DataGrid::selectWhere(const QString& field, const QVariant& value) {
    const int column = model_->fieldIndex(field);
    if (column < 0) return false;
    for (int row = 0;; ++row) {
        if (row >= model_->rowCount()) {
            if (!model_->canFetchMore()) return false;
            model_->fetchMore();
            if (row >= model_->rowCount()) return false;
        }
        const QVariant v = model_->rawValue(row, field);
        if (v == value || v.toString() == value.toString()) {
            setCurrentRowIndex(row);
            return true;
        }
    }
}

void DataGrid::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        currentRowIndex() >= 0) {
        Q_EMIT rowActivated(currentRowIndex());
        return;
    }
    QTableView::keyPressEvent(event);
}

DataGrid* addGrid(QWidget* owner, QBoxLayout* into, const QString& caption,
                  const QString& objectName, const QList<GridColumn>& columns, int stretch) {
    if (!caption.isEmpty()) into->addWidget(new QLabel(caption, owner));
    auto* grid = new DataGrid(objectName, owner);
    grid->setColumns(columns);
    into->addWidget(grid, stretch);
    return grid;
}

void followSelection(DataGrid* master, const QString& field, DataGrid* detail,
                     std::function<SqlStatement(const QVariant& value)> statement, Session& session,
                     Dialogs& dialogs) {
    QObject::connect(
        master, &DataGrid::currentRowChanged, detail, [=, &session, &dialogs](int row) {
            if (row < 0)
                detail->clearRows();
            else
                detail->run(session.db(), statement(master->value(row, field)), dialogs);
        });
}

void addDetailPair(QWidget* owner, QBoxLayout* into, DataGrid* master, const QString& field,
                   const DetailGrid& left, const DetailGrid& right, Session& session,
                   Dialogs& dialogs) {
    auto* pair = new QHBoxLayout;
    for (const DetailGrid* d : {&left, &right}) {
        auto* column = new QVBoxLayout;
        DataGrid* grid = addGrid(owner, column, d->caption, d->objectName, d->columns);
        followSelection(master, field, grid, d->statement, session, dialogs);
        pair->addLayout(column);
    }
    into->addLayout(pair, 1);
}

}  // namespace torvane
