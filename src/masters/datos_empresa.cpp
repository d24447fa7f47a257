#include "masters/datos_empresa.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "controls/keyboard_classes.h"
#include "controls/record_screen_binder.h"
#include "controls/tax_id_field.h"
#include "core/database_setup.h"

namespace torvane {

namespace {

struct FieldDef {
    const char* control;
    const char* column;
    const char* caption;
};

// The eleven fields in screen order.
constexpr FieldDef kFields[] = {
    {"txtNombre", "Nombre", "Nombre:"},
    {"TxtNif", "Nif", "NIF / CIF:"},
    {"TxtTitular", "Titular", "Titular:"},
    {"txtCalle", "Direccion", "Calle / Barrio..."},
    {"TxtCP", "CP", "Cód. Postal:"},
    {"txtLocalidad", "Localidad", "Localidad:"},
    {"txtProvincia", "Provincia", "Provincia:"},
    {"txtTelefono", "Telefono", "Teléfono:"},
    {"txtFax", "Fax", "Fax:"},
    {"TxtIVA", "IVA", "IVA que aplica:"},
    {"TxtRegistro", "Registro", "Registro Industrial:"},
};

const QString kMissingFields = QStringLiteral("Debe completar todos los campos");

QLabel* caption(const char* text, QWidget* parent) {
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

}  // namespace

DatosEmpresa::DatosEmpresa(Session& session, Services& services, QWidget* parent)
    : QWidget(parent), session_(session), services_(services), dialogs_(services.dialogs()) {
    setObjectName(QStringLiteral("DatosEmpresa"));
    setWindowTitle(QStringLiteral("Datos de la Empresa"));
    buildForm();
    QList<FieldBinding> bindings;
    for (const auto& f : kFields) bindings.append(FieldBinding{f.control, f.column});
    fields_ = BoundFields(this, bindings);

    const QStringList locked =
        fields_.controlNames() +
        QStringList{QStringLiteral("OptNIF"), QStringLiteral("OptCIF"), QStringLiteral("OptLIBRE")};
    mode_.configure({QStringLiteral("CmdModificar"), QStringLiteral("CmdSalir")}, {},
                    {QStringLiteral("CmdGuardar"), QStringLiteral("CmdCancelar")});
    new RecordScreenBinder(this, &mode_, locked);

    load();
}

void DatosEmpresa::buildForm() {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    auto makeField = [&](const FieldDef& def) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(def.control));
        return e;
    };
    auto fieldNamed = [&](const char* control) -> const FieldDef& {
        for (const auto& f : kFields)
            if (qstrcmp(f.control, control) == 0) return f;
        return kFields[0];
    };

    // Long fields span the whole width; short numeric ones share a row.
    int row = 0;
    auto wide = [&](const char* control) {
        const FieldDef& def = fieldNamed(control);
        grid->addWidget(caption(def.caption, this), row, 0);
        grid->addWidget(makeField(def), row, 1, 1, 3);
        ++row;
    };
    auto pair = [&](const char* left, const char* right, int leftWidth) {
        const FieldDef& l = fieldNamed(left);
        const FieldDef& r = fieldNamed(right);
        grid->addWidget(caption(l.caption, this), row, 0);
        QLineEdit* le = makeField(l);
        if (leftWidth > 0) le->setMaximumWidth(leftWidth);
        grid->addWidget(le, row, 1);
        grid->addWidget(caption(r.caption, this), row, 2);
        grid->addWidget(makeField(r), row, 3);
        ++row;
    };

    wide("txtNombre");
    {
        const FieldDef& def = fieldNamed("TxtNif");
        grid->addWidget(caption(def.caption, this), row, 0);
        auto* box = new QHBoxLayout;
        QLineEdit* nif = makeField(def);
        nif->setMaximumWidth(160);
        box->addWidget(nif);
        box->addSpacing(12);
        for (const char* name : {"OptNIF", "OptCIF", "OptLIBRE"}) {
            auto* opt = new QRadioButton(QString::fromLatin1(name + 3), this);
            opt->setObjectName(QString::fromLatin1(name));
            box->addWidget(opt);
        }
        box->addStretch();
        grid->addLayout(box, row, 1, 1, 3);
        ++row;
    }
    wide("TxtTitular");
    wide("txtCalle");
    pair("TxtCP", "txtLocalidad", 90);
    wide("txtProvincia");
    pair("txtTelefono", "txtFax", 0);
    {
        const FieldDef& def = fieldNamed("TxtIVA");
        grid->addWidget(caption(def.caption, this), row, 0);
        QLineEdit* iva = makeField(def);
        iva->setMaximumWidth(60);
        grid->addWidget(iva, row, 1, Qt::AlignLeft);
        ++row;
    }
    wide("TxtRegistro");
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    const std::pair<const char*, const char*> commands[] = {{"CmdModificar", "&Modificar"},
                                                            {"CmdGuardar", "&Guardar"},
                                                            {"CmdCancelar", "&Cancelar"},
                                                            {"CmdSalir", "&Salir"}};
    for (const auto& [name, text] : commands) {
        auto* b = new QPushButton(QString::fromLatin1(text), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(16, 16, 16, 12);
    outer->addLayout(grid);
    outer->addSpacing(12);
    outer->addLayout(buttons);
    setMinimumWidth(560);

    applyKeyClasses(this, {{KeyClass::K4,
                            {QStringLiteral("txtNombre"), QStringLiteral("TxtTitular"),
                             QStringLiteral("txtCalle"), QStringLiteral("txtLocalidad"),
                             QStringLiteral("txtProvincia")}},
                           {KeyClass::K3,
                            {QStringLiteral("TxtCP"), QStringLiteral("txtTelefono"),
                             QStringLiteral("txtFax"), QStringLiteral("TxtIVA")}},
                           {KeyClass::K2, {QStringLiteral("TxtNif")}}});
    // Checks only what the user asks for: a stored id is not re-checked on its own.
    findChild<QRadioButton*>(QStringLiteral("OptLIBRE"))->setChecked(true);
    TaxIdField::attach(this, dialogs_, QStringLiteral("TxtTitular"));

    connect(findChild<QPushButton*>(QStringLiteral("CmdModificar")), &QPushButton::clicked, this,
            &DatosEmpresa::startEditing);
    connect(findChild<QPushButton*>(QStringLiteral("CmdGuardar")), &QPushButton::clicked, this,
            &DatosEmpresa::save);
    connect(findChild<QPushButton*>(QStringLiteral("CmdCancelar")), &QPushButton::clicked, this,
            &DatosEmpresa::cancel);
    connect(findChild<QPushButton*>(QStringLiteral("CmdSalir")), &QPushButton::clicked, this,
            &QWidget::close);
}

void DatosEmpresa::load() {
    std::optional<CompanyData> data;
    try {
        data = loadCompanyData(session_.db());
    } catch (const DbError& e) {
        dialogs_.critical(QStringLiteral("No se pueden leer los datos de la empresa: ") +
                          e.message());
    }
    newRow_ = !data.has_value();
    fields_.setTexts(data.value_or(CompanyData{}));
    // An empty table gets a new row straight away, so the user can start typing.
    mode_.setMode(newRow_ ? RecordMode::Mode::Edit : RecordMode::Mode::Browse);
}

bool DatosEmpresa::refuseIfIncomplete() {
    if (companyDataComplete(fields_.texts())) return false;
    dialogs_.message(kMissingFields);
    return true;
}

void DatosEmpresa::startEditing() {
    mode_.setMode(RecordMode::Mode::Edit);
    fields_.edit(QStringLiteral("Nombre"))->setFocus();
}

bool DatosEmpresa::save() {
    if (refuseIfIncomplete()) return false;
    QString error;
    if (!saveCompanyData(session_.db(), fields_.texts(), &error)) {
        dialogs_.critical(QStringLiteral("No se han podido guardar los datos de la empresa: ") +
                          error);
        return false;
    }
    std::optional<QString> name;
    try {
        name = readCompanyName(session_.db());
    } catch (const DbError&) {
        name = fields_.texts().value(QStringLiteral("Nombre"));
    }
    load();
    session_.setCompanyName(name.value_or(QString()));
    Q_EMIT saved();
    return true;
}

void DatosEmpresa::cancel() {
    // The company data cannot be left incomplete by cancelling.
    if (refuseIfIncomplete()) return;
    load();
    if (newRow_) mode_.setMode(RecordMode::Mode::Browse);
}

void DatosEmpresa::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted()) Q_EMIT closed();
}

}  // namespace torvane
