#include "controls/header_sort.h"

#include <QHeaderView>

#include "controls/data_grid.h"

namespace torvane {

SqlStatement sortedOn(const SqlStatement& statement, int column, bool ascending) {
    return {QStringLiteral("SELECT * FROM (%1) ORDER BY %2 %3")
                .arg(statement.sql)
                .arg(column + 1)
                .arg(ascending ? QStringLiteral("ASC") : QStringLiteral("DESC")),
            statement.params};
}

HeaderSort::HeaderSort(DataGrid* grid, std::function<void(const SqlStatement&)> run)
    : QObject(grid), grid_(grid), run_(std::move(run)) {
    grid->horizontalHeader()->setSectionsClickable(true);
    connect(grid->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &HeaderSort::onHeaderClicked);
}

void HeaderSort::show(const SqlStatement& statement) {
    statement_ = statement;
    ascending_ = true;
    run_(statement_);
}

void HeaderSort::clear() {
    statement_ = {};
    ascending_ = true;
    grid_->clearRows();
}

void HeaderSort::onHeaderClicked(int column) {
    if (statement_.sql.isEmpty() || grid_->rowCount() == 0) return;
    run_(sortedOn(statement_, column, ascending_));
    ascending_ = !ascending_;
}

}  // namespace torvane
