#pragma once

#include <QWidget>

#include "controls/bound_fields.h"
#include "core/record_mode.h"
#include "core/services.h"
#include "core/session.h"
#include "masters/company_data.h"

namespace torvane {

// The company-data screen: the single row of DatosEmpresa, in browse or edit mode.
class DatosEmpresa : public QWidget {
    Q_OBJECT
  public:
    DatosEmpresa(Session& session, Services& services, QWidget* parent = nullptr);

    // The commands, also callable by whoever opens the screen (start-up opens it editing).
    void startEditing();  // CmdModificar
    bool save();          // CmdGuardar
    void cancel();        // CmdCancelar

    RecordMode& mode() { return mode_; }
    // True while the fields show a row that is not stored yet.
    bool isNewRow() const { return newRow_; }

  Q_SIGNALS:
    // The row was written and the session holds the new company name.
    void saved();
    // The window is closing (saved or not).
    void closed();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildForm();
    void load();
    bool refuseIfIncomplete();

    Session& session_;
    Services& services_;
    Dialogs& dialogs_;
    RecordMode mode_;
    BoundFields fields_;
    bool newRow_ = false;
};

}  // namespace torvane
