#include "workorders/frm_impr_odt.h"

#include <QCheckBox>
#include <QLabel>
#include <QVBoxLayout>

#include "controls/command_bar.h"
#include "reports/informes.h"

namespace torvane {

namespace {

QCheckBox* addCheck(QWidget* owner, QBoxLayout* into, const QString& caption, const char* name,
                    bool checked) {
    auto* check = new QCheckBox(caption, owner);
    check->setObjectName(QString::fromLatin1(name));
    check->setChecked(checked);
    into->addWidget(check);
    return check;
}

}  // namespace

FrmImprODT::FrmImprODT(Session& session, Services& services, const QString& number, QWidget* parent)
    : QWidget(parent), session_(session), services_(services), number_(number) {
    setObjectName(QStringLiteral("FrmImprODT"));
    setWindowTitle(QStringLiteral("Imprimir ODT"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("Orden de trabajo: ") + number, this);
    label->setObjectName(QStringLiteral("LblNODT"));
    layout->addWidget(label);
    addCheck(this, layout, QStringLiteral("Copia para el taller"), "ChkTaller", true);
    addCheck(this, layout, QStringLiteral("Copia para el cliente"), "ChkCliente", false);
    addCheck(this, layout, QStringLiteral("Vista previa"), "ChkPrevis", true);
    layout->addWidget(new CommandBar(
        this, {{QStringLiteral("CmdAceptar"), QStringLiteral("Aceptar"), [this] { accept(); }},
               {QStringLiteral("CmdCancelar"), QStringLiteral("Cancelar"), [this] { close(); }}}));
}

void FrmImprODT::accept() {
    auto checked = [this](const char* name) {
        const auto* c = findChild<QCheckBox*>(QString::fromLatin1(name));
        return c && c->isChecked();
    };
    const bool preview = checked("ChkPrevis");
    if (checked("ChkTaller"))
        Informes::ImprimirHojaODT(session_, services_, number_,
                                  QStringLiteral("/QARVOODTTALLER.rpt"), preview);
    if (checked("ChkCliente"))
        Informes::ImprimirInformeSimple(
            session_, services_, QStringLiteral("{ODTS.NODT}='") + number_ + QStringLiteral("'"),
            QStringLiteral("/qarvoodtcli.rpt"), preview);
    close();
}

}  // namespace torvane
