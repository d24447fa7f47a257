#pragma once

#include <QBoxLayout>
#include <QList>
#include <QSqlQueryModel>
#include <QString>
#include <QTableView>
#include <QVariant>
#include <functional>
#include <optional>

#include "core/dialogs.h"
#include "core/grid_column.h"
#include "core/session.h"
#include "core/sql_statement.h"
#include "data/database.h"

namespace torvane {

// A query model that fetches rows as the view scrolls and formats money and
// date columns. Columns are described by field name, so "select *" queries
// need only describe the columns that are not plain text.
class GridModel : public QSqlQueryModel {
    Q_OBJECT
  public:
    explicit GridModel(QObject* parent = nullptr);

    void setColumns(const QList<GridColumn>& columns);
    const QList<GridColumn>& columns() const { return columns_; }

    // Runs the statement with its parameters bound; throws DbError.
    void run(Database& db, const SqlStatement& statement);
    void clearRows();

    int fieldIndex(const QString& field) const;
    ColumnKind kindOf(int column) const;
    // The stored value, unformatted.
    QVariant rawValue(int row, const QString& field) const;
    // Every row, fetching the rest of the query (small results only).
    int fetchAllRows();
    // Rows the screen has marked, drawn in the selection colours with bold text;
    // marked(row) is asked as rows are drawn. marksChanged() redraws them.
    void setRowMarks(std::function<bool(int row)> marked) { marked_ = std::move(marked); }
    void marksChanged();

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    void fetchMore(const QModelIndex& parent = QModelIndex()) override;

  private:
    const GridColumn* describe(int column) const;
    QList<GridColumn> columns_;
    std::function<bool(int row)> marked_;
    bool settingQuery_ = false;
};

// The read-only grid of the screens ("MSH..." controls): whole-row selection,
// one current row, lazily fetched rows.
class DataGrid : public QTableView {
    Q_OBJECT
  public:
    explicit DataGrid(const QString& objectName, QWidget* parent = nullptr);

    GridModel* gridModel() const { return model_; }
    void setColumns(const QList<GridColumn>& columns);

    // Re-runs the grid's query; the first row becomes current (none when empty).
    void run(Database& db, const SqlStatement& statement);
    // The same; a database error is told through dialogs and leaves no rows.
    bool run(Database& db, const SqlStatement& statement, Dialogs& dialogs);
    void clearRows();
    // Runs the statement; a database error is told and leaves the grid empty.
    // An invalid statement (no record to list) empties it.
    void runOrClear(Database& db, Dialogs& dialogs, const std::optional<SqlStatement>& statement);

    int rowCount() const { return model_->rowCount(); }
    int currentRowIndex() const;  // -1 when no row
    QVariant value(int row, const QString& field) const { return model_->rawValue(row, field); }
    QVariant currentValue(const QString& field) const;
    // The row's text as shown (formatted), for tests and copying.
    QString displayText(int row, const QString& field) const;
    void setCurrentRowIndex(int row);
    // Makes current the first row whose field holds value, fetching further
    // rows as needed; false when no row has it.
    bool selectWhere(const QString& field, const QVariant& value);

  Q_SIGNALS:
    // The current row changed (by click, keys or a new query); -1 when empty.
    void currentRowChanged(int row);
    // Double-click or Enter on a row.
    void rowActivated(int row);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void applyLayout();
    GridModel* model_;
};

// A grid named objectName showing columns, with its caption above it (none when
// empty), added to `into`.
DataGrid* addGrid(QWidget* owner, QBoxLayout* into, const QString& caption,
                  const QString& objectName, const QList<GridColumn>& columns, int stretch = 1);

// Keeps detail showing the rows that go with the selected row of master: the
// statement for the master's `field` value; no rows while nothing is selected.
void followSelection(DataGrid* master, const QString& field, DataGrid* detail,
                     std::function<SqlStatement(const QVariant& value)> statement, Session& session,
                     Dialogs& dialogs);

// A captioned grid listing what goes with the selected row of another.
struct DetailGrid {
    QString caption;
    QString objectName;
    QList<GridColumn> columns;
    std::function<SqlStatement(const QVariant& value)> statement;
};
// Two detail grids side by side (a work order's jobs and materials), following the
// field of master's selected row.
void addDetailPair(QWidget* owner, QBoxLayout* into, DataGrid* master, const QString& field,
                   const DetailGrid& left, const DetailGrid& right, Session& session,
                   Dialogs& dialogs);

}  // namespace torvane
