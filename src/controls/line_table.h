#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>
#include <vector>

#include "core/document_lines.h"

namespace torvane {

// Text shows DocumentLine::texts[LineColumn::text], read only. Position: the line's place
// in the document's list (1, 2, ...), deleted lines counted.
enum class LineField {
    Code,
    Description,
    Units,
    Price,
    Discount,
    Amount,
    Text,
    Position,
    WorkOrder
};

// A column of a document's line grid, as the editor declares it.
struct LineColumn {
    LineField field;
    QString caption;
    bool editable = true;  // Amount, Text and Position never are
    int text = 0;          // the index into DocumentLine::texts of a Text column
};

// How lines marked deleted are shown: struck out (kept until the document is
// saved) or hidden.
enum class DeletedLines { StruckOut, Hidden };

// The editable lines of a document: plain structs, not SQL. Lines are added,
// edited in place (typed numbers parsed exactly; bad text is refused and the
// value kept) and marked deleted; totals come from lineTotals in core.
class LineTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    LineTableModel(QList<LineColumn> columns, DeletedLines deleted, QObject* parent = nullptr);

    void setLines(std::vector<DocumentLine> lines);
    const std::vector<DocumentLine>& lines() const { return lines_; }
    // Adds a line at the end; returns its row.
    int addLine(DocumentLine line = {});
    // The line shown on row.
    const DocumentLine& lineAt(int row) const { return lines_[lineIndex(row)]; }
    void markDeleted(int row, bool deleted = true);
    LineTotals totals() const { return lineTotals(lines_); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    LineField fieldOf(int column) const { return columns_[column].field; }
    // The lines marked deleted that are stored (their ids).
    QList<qint64> deletedIds() const;

  Q_SIGNALS:
    void totalsChanged();

  private:
    int lineIndex(int row) const;
    void rebuildRows();

    QList<LineColumn> columns_;
    DeletedLines deleted_;
    std::vector<DocumentLine> lines_;
    std::vector<int> rows_;  // line index of each visible row
};

// The grid of a document's lines: editors with the keyboard classes (K4 upper
// case for texts, K8 numbers with "," for amounts and quantities), double-click
// edits a cell (lineActivated for a read-only one), Supr deletes the current
// line through the delete handler (by default it is marked deleted).
class LineTable : public QTableView {
    Q_OBJECT
  public:
    LineTable(const QString& objectName, LineTableModel* model, QWidget* parent = nullptr);
    LineTableModel* lineModel() const { return model_; }
    void setDeleteHandler(std::function<void(int row)> handler) { delete_ = std::move(handler); }

  Q_SIGNALS:
    void lineActivated(int row);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    LineTableModel* model_;
    std::function<void(int row)> delete_;
};

}  // namespace torvane
