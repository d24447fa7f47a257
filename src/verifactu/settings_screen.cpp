#include "verifactu/settings_screen.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <stdexcept>

#include "controls/command_bar.h"
#include "controls/form_fields.h"
#include "controls/keyboard_classes.h"
#include "data/database.h"
#include "verifactu/send_monitor.h"

namespace torvane {

namespace vf = verifactu;

ConfigFacturacion::ConfigFacturacion(Session& session, Services& services, vf::SendMonitor* sending,
                                     QWidget* parent)
    : QWidget(parent), session_(session), services_(services), sending_(sending) {
    setObjectName(QStringLiteral("ConfigFacturacion"));
    setWindowTitle(QStringLiteral("Registros de facturación"));
    auto* layout = new QVBoxLayout(this);
    QGridLayout* grid = addFormGrid(layout);

    enabled_ = new QCheckBox(QStringLiteral("Registrar cada factura emitida"), this);
    enabled_->setObjectName(QStringLiteral("ChkActivo"));
    addCaptioned(this, grid, 0, 0, QStringLiteral("Registros:"), enabled_);

    mode_ = new QComboBox(this);
    mode_->setObjectName(QStringLiteral("CboModo"));
    mode_->addItems(vf::modes());
    addCaptioned(this, grid, 1, 0, QStringLiteral("Modo:"), mode_);

    auto* certificateRow = new QWidget(this);
    auto* rowLayout = new QHBoxLayout(certificateRow);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    certificate_ = new QLineEdit(certificateRow);
    certificate_->setObjectName(QStringLiteral("TxtCertificado"));
    auto* browse = new QPushButton(QStringLiteral("Examinar..."), certificateRow);
    browse->setObjectName(QStringLiteral("CmdCertificado"));
    connect(browse, &QPushButton::clicked, this, [this] { chooseCertificate(); });
    rowLayout->addWidget(certificate_, 1);
    rowLayout->addWidget(browse);
    addCaptioned(this, grid, 2, 0, QStringLiteral("Certificado:"), certificateRow);

    addFields(this, grid, {{"Tipo de IVA (%):", "TxtTipoIva", 3, 0, 1, 80}});
    vatRate_ = findChild<QLineEdit*>(QStringLiteral("TxtTipoIva"));
    applyKeyClasses(this, {{KeyClass::K8, "TxtTipoIva"}});

    auto* help = new QLabel(
        QStringLiteral("En modo VERI*FACTU cada registro se envía a la Agencia Tributaria; en "
                       "modo NO VERI*FACTU se guardan en el programa. La contraseña del "
                       "certificado no se guarda: se pide al enviar. El tipo de IVA se aplica "
                       "a las facturas nuevas; las ya hechas conservan el suyo."),
        this);
    help->setWordWrap(true);
    layout->addWidget(help);
    // Every record with where its sending stands: a rejected invoice is found here again.
    layout->addWidget(new QLabel(QStringLiteral("Registros de facturación:"), this));
    records_ = new DataGrid(QStringLiteral("MSHRegistros"), this);
    records_->setColumns(vf::recordListColumns());
    layout->addWidget(records_, 1);
    if (sending_)
        connect(sending_, &vf::SendMonitor::statusChanged, this, [this] { listRecords(); });
    layout->addWidget(new CommandBar(
        this, {{QStringLiteral("CmdGuardar"), QStringLiteral("Guardar"), [this] { save(); }},
               {QStringLiteral("CmdEnviar"), QStringLiteral("Enviar ahora"), [this] { sendNow(); }},
               {QStringLiteral("Command6"), QStringLiteral("Salir"), [this] { close(); }}}));
    setMinimumSize(820, 560);
    load();
}

void ConfigFacturacion::load() {
    vf::Settings s;
    try {
        s = vf::loadSettings(session_.db());
    } catch (const DbError& e) {
        services_.dialogs().critical(e.message());
    }
    const vf::SettingsInput in = vf::inputOf(s);
    enabled_->setChecked(in.enabled);
    // Once on, the records stay on: the chain of the workshop's invoices must not break.
    enabled_->setEnabled(!in.enabled);
    const int mode = mode_->findText(in.mode);
    mode_->setCurrentIndex(mode < 0 ? 0 : mode);
    certificate_->setText(in.certificate);
    vatRate_->setText(in.vatRate);
    // Sending by hand follows what is saved, not what is being typed.
    if (auto* send = findChild<QPushButton*>(QStringLiteral("CmdEnviar")))
        send->setEnabled(sending_ && s.sentToAgency());
    listRecords();
}

void ConfigFacturacion::listRecords() {
    std::optional<SqlStatement> list;
    try {
        list = vf::recordList(vf::loadSettings(session_.db()).sentToAgency());
    } catch (const DbError&) {
        // Told by load(); the list stays empty.
    }
    records_->runOrClear(session_.db(), services_.dialogs(), list);
}

void ConfigFacturacion::sendNow() {
    if (sending_) sending_->sendNow();
}

vf::SettingsInput ConfigFacturacion::input() const {
    return {enabled_->isChecked(), mode_->currentText(), certificate_->text(), vatRate_->text()};
}

void ConfigFacturacion::chooseCertificate() {
    const QString path = services_.dialogs().openFile(
        QStringLiteral("Certificado de la empresa"),
        QStringLiteral("Certificado PKCS#12 (*.p12, *.pfx)|*.p12;*.pfx"));
    if (!path.isEmpty()) certificate_->setText(path);
}

bool ConfigFacturacion::save() {
    Dialogs& dialogs = services_.dialogs();
    try {
        const vf::Checked c = vf::check(input(), vf::loadSettings(session_.db()));
        if (!c.settings) {
            dialogs.critical(c.refusal);
            return false;
        }
        if (c.switchesOn && !dialogs.question(QString::fromUtf8(vf::kConfirmSwitchOn)))
            return false;
        vf::saveSettings(session_.db(), *c.settings);
    } catch (const DbError& e) {
        dialogs.critical(QStringLiteral("No se ha podido guardar la configuración: ") +
                         e.message());
        return false;
    } catch (const std::invalid_argument& e) {
        dialogs.critical(QString::fromUtf8(e.what()));
        return false;
    }
    load();
    dialogs.information(QString::fromUtf8(vf::kSaved));
    // Sending from now on: its password is asked while the user is here.
    if (sending_) sending_->askPassword(true);
    return true;
}

}  // namespace torvane
