#pragma once

#include <QDate>
#include <QListWidget>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "controls/data_grid.h"
#include "core/services.h"
#include "core/session.h"
#include "core/sql_statement.h"

namespace torvane {

// The invoicing screens that gather work orders: a grid of candidates (MshOdts), the
// chosen numbers (List1) with Cmd adding the grid's row and KewlButtons1 removing the
// chosen entry, CmdFacturar and CmdSalir. The invoice number and date come from the list.
class ChosenWorkOrders : public QWidget {
    Q_OBJECT
  public:
    QStringList chosen() const;

  protected:
    ChosenWorkOrders(Session& session, Services& services, const QString& objectName,
                     const QString& title, const QString& invoiceNumber, const QDate& invoiceDate,
                     QWidget* parent);
    // Fills the grid; called by the subclass once it is built.
    void list(const QList<GridColumn>& columns, const SqlStatement& statement);
    // What CmdFacturar does with the chosen numbers (never empty).
    virtual void invoice(const QStringList& workOrders) = 0;

    Session& session_;
    Services& services_;
    Dialogs& dialogs_;
    const QString invoiceNumber_;
    const QDate invoiceDate_;

  private:
    void add();
    void removeChosen();

    DataGrid* grid_;
    QListWidget* list1_;
};

}  // namespace torvane
