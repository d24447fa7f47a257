#pragma once

#include <QObject>
#include <functional>

#include "core/sql_statement.h"

namespace torvane {

class DataGrid;

// The statement's rows ordered on one of its columns (0-based).
SqlStatement sortedOn(const SqlStatement& statement, int column, bool ascending);

// A click in a grid's header sorts it on the clicked column; successive clicks
// alternate ascending and descending, starting with ascending. The grid's
// query is run again through `run` (which reports database errors).
class HeaderSort : public QObject {
    Q_OBJECT
  public:
    HeaderSort(DataGrid* grid, std::function<void(const SqlStatement&)> run);

    // Shows a new query in stored order; the next click sorts ascending again.
    void show(const SqlStatement& statement);
    void clear();

  private:
    void onHeaderClicked(int column);

    DataGrid* grid_;
    std::function<void(const SqlStatement&)> run_;
    SqlStatement statement_;
    bool ascending_ = true;
};

}  // namespace torvane
