#pragma once

#include <QWidget>

#include "controls/data_grid.h"
#include "core/record_mode.h"
#include "core/services.h"
#include "core/session.h"

namespace torvane {

// The tow report list: every report with its lines below, and per report edit,
// invoice (to the insurer), print, remove the invoice and delete.
class GestorPartes : public QWidget {
    Q_OBJECT
  public:
    GestorPartes(Session& session, Services& services, QWidget* parent = nullptr);

    void requery();

  private:
    QString selected() const;
    QString selectedInvoice() const;
    void followRow();
    void editar();
    void eliminarFactura();
    void eliminarParte();
    void facturar();
    void imprimirFactura();
    void imprimirParte();

    Session& session_;
    Services& services_;
    RecordMode mode_;
    DataGrid* partes_ = nullptr;
    DataGrid* lineas_ = nullptr;
};

}  // namespace torvane
