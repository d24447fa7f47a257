#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

#include "controls/data_grid.h"
#include "core/services.h"
#include "core/session.h"
#include "verifactu/settings.h"

namespace torvane {
namespace verifactu {
class SendMonitor;
}

// The invoice-records settings: records switched on, their mode, the company's certificate
// and the VAT rate every invoice is made with. Switching the records on is asked for once
// and cannot be undone here.
class ConfigFacturacion : public QWidget {
    Q_OBJECT
  public:
    // `sending` is the program's background sending ("Enviar ahora"); none in some tests.
    ConfigFacturacion(Session& session, Services& services,
                      verifactu::SendMonitor* sending = nullptr, QWidget* parent = nullptr);

    // CmdGuardar: false when refused, not confirmed or failed (the fields keep what was typed).
    bool save();
    // CmdCertificado: the PKCS#12 file chosen with the file dialog.
    void chooseCertificate();
    // CmdEnviar: the pending records sent now, with the settings as saved.
    void sendNow();

  private:
    void load();
    void listRecords();
    verifactu::SettingsInput input() const;

    Session& session_;
    Services& services_;
    verifactu::SendMonitor* sending_ = nullptr;
    QCheckBox* enabled_ = nullptr;
    QComboBox* mode_ = nullptr;
    QLineEdit* certificate_ = nullptr;
    QLineEdit* vatRate_ = nullptr;
    DataGrid* records_ = nullptr;
};

}  // namespace torvane
