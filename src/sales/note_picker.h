#pragma once

#include <QDate>
#include <QListWidget>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "controls/data_grid.h"
#include "core/services.h"
#include "core/session.h"

namespace torvane {

// The notes not yet invoiced, picked into List1 to invoice them: choosing a row
// moves its note into the list and hides the row; choosing a list entry gives
// the row back. Uni and Multi Factura differ only in what invoicing does.
class NotePicker : public QWidget {
    Q_OBJECT
  public:
    NotePicker(Session& session, Services& services, const QString& gridName, const QString& number,
               const QDate& date, QWidget* parent = nullptr);

    QStringList chosen() const;
    DataGrid* grid() const { return grid_; }

  protected:
    void list(const SqlStatement& statement);
    // Runs when CmdFacturar is clicked with at least one note chosen.
    virtual void invoice() = 0;

    Session& session_;
    Services& services_;
    Dialogs& dialogs_;
    QString number_;
    QDate date_;

  private:
    void choose(int row);
    void giveBack(QListWidgetItem* item);

    DataGrid* grid_ = nullptr;
    QListWidget* list_ = nullptr;
};

// One invoice for the notes chosen among the customer's pending ones.
class UnifacturaV : public NotePicker {
    Q_OBJECT
  public:
    UnifacturaV(Session& session, Services& services, qint64 customerId, const QString& number,
                const QDate& date, QWidget* parent = nullptr);

  protected:
    void invoice() override;

  private:
    qint64 customerId_;
};

// One invoice for each note chosen, numbered one after the other.
class MultiFacturaV : public NotePicker {
    Q_OBJECT
  public:
    MultiFacturaV(Session& session, Services& services, const QString& number, const QDate& date,
                  QWidget* parent = nullptr);

  protected:
    void invoice() override;
};

}  // namespace torvane
