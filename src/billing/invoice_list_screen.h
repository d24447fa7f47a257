#pragma once

#include <functional>

#include "controls/search_screen.h"
#include "core/grid_column.h"

namespace torvane {

// A list of one kind of invoice, found by customer name or by number, that reprints or
// deletes (without asking) the selected invoice. Free and commission invoices use it.
class InvoiceListScreen : public SearchScreen {
    Q_OBJECT
  public:
    struct Kind {
        QString name;
        QString title;
        std::function<SqlStatement(int option, const QString& typed)> query;
        QList<GridColumn> columns;
        std::function<QString(const QString& number)> formula;
        QString reportFile;
        // Deletes the selected invoice, given its number and its row's Id.
        std::function<void(Database& db, const QString& number, qint64 id)> remove;
    };
    InvoiceListScreen(Session& session, Services& services, Kind kind, QWidget* parent);

  private:
    void imprimir();
    void eliminar();
    Kind kind_;
};

}  // namespace torvane
