#pragma once

#include <QRadioButton>
#include <QWidget>

#include "controls/command_bar.h"
#include "controls/data_grid.h"
#include "core/services.h"
#include "core/session.h"

namespace torvane {

// The stored receipts, newest first. Clicks highlight rows; one highlighted receipt can
// be deleted; every highlighted one (or every one) is printed, one job each.
class ListadoRecibos : public QWidget {
    Q_OBJECT
  public:
    ListadoRecibos(Session& session, Services& services, QWidget* parent = nullptr);

    void requery();
    // The keys of the rows to act on.
    QList<qint64> selectedIds() const;

  private:
    void eliminar();
    void imprimir();
    void limpiar();

    Session& session_;
    Services& services_;
    DataGrid* grid_ = nullptr;
    QRadioButton* manual_ = nullptr;
    QRadioButton* todos_ = nullptr;
    CommandBar* commands_ = nullptr;
};

}  // namespace torvane
