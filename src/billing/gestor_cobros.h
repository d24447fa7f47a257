#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QTabWidget>
#include <QWidget>

#include "billing/collections.h"
#include "controls/data_grid.h"
#include "core/record_mode.h"
#include "core/services.h"
#include "core/session.h"

namespace torvane {

// The collections list: work-order invoices (tab 0, MSHFactRep) and parts-sale
// invoices (tab 1, MSHFactRec) with what is paid and what is due. Text1 searches the
// visible tab by customer name; CmdCobrar opens the payments of the selected invoice
// of the visible tab, with the list hidden until they close.
class GestorCobros : public QWidget {
    Q_OBJECT
  public:
    GestorCobros(Session& session, Services& services, QWidget* parent = nullptr);

    collections::InvoiceKind visibleKind() const;
    // Re-queries the visible tab for the text in Text1.
    void requery();
    // Both tabs again, as they were last searched (back from the payments).
    void reload();

  private:
    DataGrid* grid(collections::InvoiceKind kind) const;
    void run(collections::InvoiceKind kind, const QString& typed);
    void followRows();
    void cobrar();

    Session& session_;
    Services& services_;
    RecordMode mode_;
    QTabWidget* tabs_ = nullptr;
    DataGrid* rep_ = nullptr;
    DataGrid* rec_ = nullptr;
    QLineEdit* text1_ = nullptr;
    QLineEdit* factRep_ = nullptr;
    QLineEdit* factRec_ = nullptr;
    QString searched_[2];
};

}  // namespace torvane
