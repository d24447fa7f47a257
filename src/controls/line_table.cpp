#include "controls/line_table.h"

#include <QFont>
#include <QKeyEvent>
#include <QLineEdit>

#include "controls/keyboard_classes.h"
#include "core/field_binding.h"

namespace torvane {

namespace {

bool isNumber(LineField f) {
    return f == LineField::Units || f == LineField::Price || f == LineField::Discount ||
           f == LineField::Amount;
}

QString quantityText(Quantity q) {
    return boundText(q.toDouble(), false);
}

// Editors with the keyboard class of their column.
class LineDelegate : public QStyledItemDelegate {
  public:
    LineDelegate(LineTableModel* model, QObject* parent)
        : QStyledItemDelegate(parent), model_(model) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        auto* edit = new QLineEdit(parent);
        applyKeyClass(edit,
                      isNumber(model_->fieldOf(index.column())) ? KeyClass::K8 : KeyClass::K4);
        return edit;
    }

  private:
    LineTableModel* model_;
};

}  // namespace

LineTableModel::LineTableModel(QList<LineColumn> columns, DeletedLines deleted, QObject* parent)
    : QAbstractTableModel(parent), columns_(std::move(columns)), deleted_(deleted) {}

void LineTableModel::rebuildRows() {
    rows_.clear();
    for (int i = 0; i < int(lines_.size()); ++i)
        if (deleted_ == DeletedLines::StruckOut || !lines_[i].deleted) rows_.push_back(i);
}

int LineTableModel::lineIndex(int row) const {
    return rows_[row];
}

void LineTableModel::setLines(std::vector<DocumentLine> lines) {
    beginResetModel();
    lines_ = std::move(lines);
    rebuildRows();
    endResetModel();
    Q_EMIT totalsChanged();
}

int LineTableModel::addLine(DocumentLine line) {
    const int row = rowCount();
    const bool shown = deleted_ == DeletedLines::StruckOut || !line.deleted;
    if (shown) beginInsertRows({}, row, row);
    lines_.push_back(std::move(line));
    rebuildRows();
    if (shown) endInsertRows();
    Q_EMIT totalsChanged();
    return shown ? row : -1;
}

void LineTableModel::markDeleted(int row, bool deleted) {
    if (row < 0 || row >= rowCount()) return;
    const int line = lineIndex(row);
    if (lines_[line].deleted == deleted) return;
    if (deleted_ == DeletedLines::Hidden && deleted) {
        beginRemoveRows({}, row, row);
        lines_[line].deleted = true;
        rebuildRows();
        endRemoveRows();
    } else {
        lines_[line].deleted = deleted;
        Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1));
    }
    Q_EMIT totalsChanged();
}

QList<qint64> LineTableModel::deletedIds() const {
    QList<qint64> ids;
    for (const DocumentLine& line : lines_)
        if (line.deleted && line.id.isValid() && !line.id.isNull()) ids << line.id.toLongLong();
    return ids;
}

int LineTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int LineTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant LineTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
    const DocumentLine& line = lineAt(index.row());
    const LineField field = fieldOf(index.column());
    if (role == Qt::FontRole && line.deleted) {
        QFont f;
        f.setStrikeOut(true);
        return f;
    }
    if (role == Qt::TextAlignmentRole)
        return isNumber(field) ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    switch (field) {
        case LineField::Code:
            return line.code;
        case LineField::Description:
            return line.description;
        case LineField::Units:
            return quantityText(line.units);
        case LineField::Price:
            return line.price.format();
        case LineField::Discount:
            return quantityText(line.discount);
        case LineField::Amount:
            return line.amount().format();
        case LineField::Text:
            return line.texts.value(columns_[index.column()].text);
        case LineField::Position:
            return lineIndex(index.row()) + 1;
        case LineField::WorkOrder:
            return line.workOrder;
    }
    return {};
}

bool LineTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) return false;
    DocumentLine& line = lines_[lineIndex(index.row())];
    const QString text = value.toString().trimmed();
    switch (fieldOf(index.column())) {
        case LineField::Code:
            line.code = text;
            break;
        case LineField::Description:
            line.description = text;
            break;
        case LineField::Units:
        case LineField::Discount: {
            const auto q = text.isEmpty() ? Quantity() : Quantity::parse(text);
            if (!q) return false;
            (fieldOf(index.column()) == LineField::Units ? line.units : line.discount) = *q;
            break;
        }
        case LineField::Price: {
            const auto m = text.isEmpty() ? Money() : Money::parse(text);
            if (!m) return false;
            line.price = *m;
            break;
        }
        case LineField::WorkOrder:
            line.workOrder = text;
            break;
        case LineField::Amount:
        case LineField::Text:
        case LineField::Position:
            return false;
    }
    // The amount column follows units, price and discount.
    Q_EMIT dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
    Q_EMIT totalsChanged();
    return true;
}

Qt::ItemFlags LineTableModel::flags(const QModelIndex& index) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const LineColumn& c = columns_[index.column()];
    if (c.editable && c.field != LineField::Amount && c.field != LineField::Text &&
        c.field != LineField::Position && !lineAt(index.row()).deleted)
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant LineTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < columnCount())
        return columns_[section].caption;
    return QAbstractTableModel::headerData(section, orientation, role);
}

LineTable::LineTable(const QString& objectName, LineTableModel* model, QWidget* parent)
    : QTableView(parent), model_(model) {
    setObjectName(objectName);
    setModel(model);
    setItemDelegate(new LineDelegate(model, this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    delete_ = [this](int row) { model_->markDeleted(row); };
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& i) {
        if (!(model_->flags(i) & Qt::ItemIsEditable)) Q_EMIT lineActivated(i.row());
    });
}

void LineTable::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && state() != QAbstractItemView::EditingState &&
        currentIndex().isValid()) {
        if (delete_) delete_(currentIndex().row());
        return;
    }
    QTableView::keyPressEvent(event);
}

}  // namespace torvane
