#include "tow/partes_grua.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "controls/command_bar.h"
#include "controls/form_fields.h"
#include "controls/keyboard_classes.h"
#include "controls/screen.h"
#include "core/format.h"
#include "core/numbering.h"
#include "masters/busqueda_clientes.h"
#include "masters/busqueda_vehiculos.h"
#include "reports/informes.h"
#include "tow/tow_reports.h"
#include "verifactu/settings.h"

namespace torvane {

namespace {

const QString kCaller = QStringLiteral("PartesGrua");
const char* const kNoInsurer = "Seleccione primero la compañia.";

// The controls each stored column comes from, in the stored order (NFactura excepted).
struct Bound {
    const char* column;
    const char* control;
};
constexpr Bound kBound[] = {{"NParte", "Text1_0"},
                            {"Referencia", "Text1_1"},
                            {"Fecha", "Text1_2"},
                            {"Compañia", "Combo1"},
                            {"Matricula", "Text1_6"},
                            {"Marca", "Text1_7"},
                            {"Modelo", "Text1_8"},
                            {"Color", "Text1_9"},
                            {"TipoVehiculo", "Combo2"},
                            {"OtroVehiculo", "Text1_10"},
                            {"Conductor", "Text1_19"},
                            {"TipoDia", "Combo3"},
                            {"TipoSalida", "Combo4"},
                            {"Desde", "Text1_20"},
                            {"Hasta", "Text1_21"},
                            {"Kilometros", "Text1_22"},
                            {"TiempoEspera", "OpcEntrada1"},
                            {"TiempoRescate", "OpcEntrada2"},
                            {"DiasDeposito", "Text1_23"},
                            {"Nombre", "Text1_11"},
                            {"Direccion", "Text1_12"},
                            {"Localidad", "Text1_14"},
                            {"Provincia", "Text1_15"},
                            {"CP", "Text1_13"},
                            {"Telefono", "Text1_16"},
                            {"Movil", "Text1_17"},
                            {"Fax", "Text1_18"},
                            {"Observaciones", "Text2"},
                            {"Id_Ase", "Text1_27"},
                            {"IVA", "Text1_24"}};

}  // namespace

PartesGrua::PartesGrua(Session& session, Services& services, bool proposeNumber, QWidget* parent)
    : QWidget(parent), session_(session), services_(services) {
    setObjectName(kCaller);
    setWindowTitle(QStringLiteral("Partes de Grúa"));
    auto* layout = new QVBoxLayout(this);

    auto* head = addFormGrid(layout);
    addFields(this, head,
              {{"Nº Parte:", "Text1_0", 0, 0, 1, 140}, {"Referencia:", "Text1_1", 0, 2}});
    opc_[3] = new OpcEntrada(this);
    opc_[3]->setObjectName(QStringLiteral("OpcEntrada3"));
    opc_[3]->setTypeInput(OpcEntrada::Date);
    opc_[3]->setDialogs(&services.dialogs());
    opc_[3]->setTodaySource([&session] { return session.today(); });
    addCaptioned(this, head, 1, 0, QStringLiteral("Fecha:"), opc_[3]);
    addHiddenField(this, QStringLiteral("Text1_2"));
    connect(opc_[3], &OpcEntrada::textChanged, this,
            [this] { text1(2)->setText(opc_[3]->text()); });
    for (int i = 1; i <= 4; ++i) {
        combo_[i] = new QComboBox(this);
        combo_[i]->setObjectName(QStringLiteral("Combo%1").arg(i));
    }
    addCaptioned(this, head, 1, 2, QStringLiteral("Compañia:"), combo_[1]);
    addHiddenField(this, QStringLiteral("Text1_27"));

    auto* vehicle = addFormGrid(layout);
    addFields(this, vehicle,
              {{"Matrícula:", "Text1_6", 0, 0, 1, 120},
               {"Marca:", "Text1_7", 0, 2},
               {"Modelo:", "Text1_8", 1, 0},
               {"Color:", "Text1_9", 1, 2},
               {"Otro vehículo:", "Text1_10", 2, 0}});
    addCaptioned(this, vehicle, 2, 2, QStringLiteral("Tipo vehículo:"), combo_[2]);

    auto* owner = addFormGrid(layout);
    addFields(this, owner,
              {{"Propietario:", "Text1_11", 0, 0},
               {"Dirección:", "Text1_12", 0, 2},
               {"C.P.:", "Text1_13", 1, 0, 1, 80},
               {"Localidad:", "Text1_14", 1, 2},
               {"Provincia:", "Text1_15", 2, 0},
               {"Teléfono:", "Text1_16", 2, 2},
               {"Móvil:", "Text1_17", 3, 0},
               {"Fax:", "Text1_18", 3, 2}});
    txtIdCli_ = addHiddenField(this, QStringLiteral("txtIdCli"));

    auto* job = addFormGrid(layout);
    addFields(this, job,
              {{"Autor del servicio:", "Text1_19", 0, 0},
               {"Desde:", "Text1_20", 1, 0},
               {"Hasta:", "Text1_21", 1, 2},
               {"Nº Km:", "Text1_22", 2, 0, 1, 80},
               {"Dias Deposito:", "Text1_23", 2, 2, 1, 80},
               {"I.V.A.", "Text1_24", 5, 0, 1, 60}});
    addCaptioned(this, job, 0, 2, QStringLiteral("Tipo servicio:"), combo_[3]);
    addCaptioned(this, job, 3, 0, QStringLiteral("Tipo Salida:"), combo_[4]);
    for (int i = 1; i <= 2; ++i) {
        opc_[i] = new OpcEntrada(this);
        opc_[i]->setObjectName(QStringLiteral("OpcEntrada%1").arg(i));
        opc_[i]->setTypeInput(OpcEntrada::Time);
        opc_[i]->setDialogs(&services.dialogs());
        opc_[i]->setText(QStringLiteral("00:00"));
    }
    addCaptioned(this, job, 4, 0, QStringLiteral("Tpo. Espera:"), opc_[1]);
    addCaptioned(this, job, 4, 2, QStringLiteral("Tpo. Rescate:"), opc_[2]);
    check1_ = new QCheckBox(QStringLiteral("Usar porcentaje en Festivo / Nocturno"), this);
    check1_->setObjectName(QStringLiteral("Check1"));
    job->addWidget(check1_, 3, 2, 1, 2);
    text2_ = new QPlainTextEdit(this);
    text2_->setObjectName(QStringLiteral("Text2"));
    text2_->setMaximumHeight(60);
    addCaptioned(this, job, 5, 2, QStringLiteral("Observaciones:"), text2_);

    auto* manual = addFormGrid(layout);
    addFields(this, manual,
              {{"Und.:", "Text1_3", 0, 0, 1, 70},
               {"Concepto:", "Text1_4", 0, 2},
               {"Precio Und::", "Text1_5", 1, 0, 1, 90}});

    lines_ = new DataGrid(QStringLiteral("MSHLineas"), this);
    lines_->setColumns(tow::lineColumns());
    layout->addWidget(lines_, 1);

    combo_[2]->addItems({QString::fromUtf8(tow::kCar), QString::fromUtf8(tow::kVan)});
    combo_[3]->addItems(
        {QString::fromUtf8(tow::kWorkingDay), QString::fromUtf8(tow::kHolidayNight)});
    combo_[4]->addItems({QString::fromUtf8(tow::kUrban), QString::fromUtf8(tow::kRoad),
                         QString::fromUtf8(tow::kLongDistance)});
    for (int i = 1; i <= 4; ++i) combo_[i]->setCurrentIndex(-1);
    applyKeyClasses(this, {{KeyClass::K2, "Text2"}});

    using When = RecordMode::When;
    layout->addWidget(new CommandBar(
        this,
        {{QStringLiteral("CmdBuscar"), QStringLiteral("Propietario"), [this] { buscarCliente(); }},
         {QStringLiteral("cmdBuscarVehiculo"), QStringLiteral("Vehículo"),
          [this] { buscarVehiculo(); }},
         {QStringLiteral("KewlButtons2"), QStringLiteral("Generar líneas"), [this] { generar(); }},
         {QStringLiteral("KewlButtons4"), QStringLiteral("Añadir línea"),
          [this] { anadirLinea(); }},
         {QStringLiteral("KewlButtons1"), QStringLiteral("Guardar"), [this] { guardar(); },
          When::Edit},
         {QStringLiteral("CmdCancelar"), QStringLiteral("Cancelar"), [this] { cancelar(); }},
         {QStringLiteral("Command6"), QStringLiteral("Salir"), [this] { close(); }}},
        &mode_));
    mode_.setMode(RecordMode::Mode::Browse);

    connect(combo_[1], &QComboBox::currentIndexChanged, this, [this] { chooseInsurer(); });
    connect(text1(27), &QLineEdit::textChanged, this, [this] {
        try {
            tariff_ = insurers::loadTariff(session_.db(), text1(27)->text().toLongLong());
        } catch (const DbError& e) {
            services_.dialogs().critical(e.message());
        }
    });

    try {
        for (const tow::Insurer& a : tow::insurerList(session.db()))
            combo_[1]->addItem(a.nombre, a.id);
        combo_[1]->setCurrentIndex(-1);
        if (proposeNumber)
            text1(0)->setText(
                nextDocumentNumber(session, services.dialogs(), NumberConsumer::TowReportScreen));
    } catch (const DbError& e) {
        services.dialogs().critical(e.message());
    }
    opc_[3]->setText(formatDate(session.today()));
    text1(2)->setText(opc_[3]->text());
    text1(24)->setText(verifactu::rateText(verifactu::vatRate(session.db())));
    resize(780, 820);
}

QLineEdit* PartesGrua::text1(int index) const {
    return findChild<QLineEdit*>(QStringLiteral("Text1_%1").arg(index));
}

QString PartesGrua::number() const {
    return text1(0)->text();
}

void PartesGrua::setNumber(const QString& number) {
    text1(0)->setText(number);
}

void PartesGrua::chooseInsurer() {
    const QVariant id = combo_[1]->currentData();
    text1(27)->setText(id.isValid() ? id.toString() : QString());
}

void PartesGrua::buscarCliente() {
    if (text1(27)->text().isEmpty()) {
        services_.dialogs().critical(QString::fromUtf8(kNoInsurer));
        return;
    }
    openScreen(this, new BusquedaClientes(session_, services_, this, kCaller));
}

void PartesGrua::buscarVehiculo() {
    if (text1(27)->text().isEmpty()) {
        services_.dialogs().critical(QString::fromUtf8(kNoInsurer));
        return;
    }
    if (text1(11)->text().trimmed().isEmpty()) {
        services_.dialogs().critical(
            QStringLiteral("Introduzca primero el propietario del vehículo."));
        return;
    }
    // With no stored owner id the search lists every vehicle.
    const QVariant owner =
        txtIdCli_->text().isEmpty() ? QVariant() : QVariant(txtIdCli_->text().toLongLong());
    openScreen(this, new BusquedaVehiculos(session_, services_, this,
                                           BusquedaVehiculos::Use::WorkOrder, owner));
}

void PartesGrua::setCustomer(qint64 customerId) {
    try {
        const QStringList fields = tow::ownerFields(session_.db(), customerId);
        if (fields.isEmpty()) return;
        txtIdCli_->setText(QString::number(customerId));
        for (int i = 0; i < fields.size(); ++i) text1(11 + i)->setText(fields.at(i));
    } catch (const DbError& e) {
        services_.dialogs().critical(e.message());
    }
}

void PartesGrua::setVehicle(const VehicleChoice& choice) {
    try {
        const QStringList fields = tow::vehicleFields(session_.db(), choice.vehicleId);
        for (int i = 0; i < fields.size(); ++i) text1(6 + i)->setText(fields.at(i));
    } catch (const DbError& e) {
        services_.dialogs().critical(e.message());
    }
}

void PartesGrua::generar() {
    const std::pair<bool, const char*> checks[] = {
        {text1(27)->text().isEmpty(), "Debe seleccionar la compañia"},
        {combo_[2]->currentText().isEmpty(), "Debe seleccionar el tipo de vehículo"},
        {combo_[3]->currentText().isEmpty(), "Debe seleccionar el tipo de servicio"},
        {combo_[4]->currentText().isEmpty(), "Debe seleccionar el tipo de salida"}};
    for (const auto& [failed, message] : checks) {
        if (!failed) continue;
        services_.dialogs().critical(QString::fromUtf8(message));
        return;
    }
    tow::TowJob job;
    job.vehicle = combo_[2]->currentText();
    job.day = combo_[3]->currentText();
    job.exit = combo_[4]->currentText();
    job.percentage = check1_->isChecked();
    job.km = text1(22)->text();
    job.waitTime = opc_[1]->text();
    job.rescueTime = opc_[2]->text();
    job.storageDays = text1(23)->text();
    const tow::Pricing priced = tow::priceJob(tariff_, job);
    if (!priced.error.isEmpty()) {
        services_.dialogs().critical(priced.error);
        return;
    }
    try {
        if (tow::hasLines(session_.db(), number()) &&
            !services_.dialogs().question(
                QStringLiteral("Ya se han generado lineas, ¿desea volver a crearlas?")))
            return;
        tow::replaceLines(session_.db(), number(), priced.lines);
    } catch (const DbError& e) {
        services_.dialogs().critical(e.message());
        return;
    }
    reloadLines();
    mode_.setMode(RecordMode::Mode::Edit);
}

void PartesGrua::anadirLinea() {
    if (text1(27)->text().isEmpty()) {
        services_.dialogs().critical(QString::fromUtf8(kNoInsurer));
        return;
    }
    const tow::ManualLine m =
        tow::readManualLine(text1(3)->text(), text1(4)->text(), text1(5)->text());
    if (!m.line) {
        services_.dialogs().critical(m.error);
        return;
    }
    try {
        tow::appendLine(session_.db(), number(), *m.line);
    } catch (const DbError& e) {
        services_.dialogs().critical(e.message());
        return;
    }
    for (int i : {3, 4, 5}) text1(i)->clear();
    reloadLines();
    mode_.setMode(RecordMode::Mode::Edit);
}

void PartesGrua::reloadLines() {
    lines_->run(session_.db(), tow::linesStatement(number()), services_.dialogs());
}

void PartesGrua::guardar() {
    Row values;
    for (const Bound& b : kBound) {
        const QString control = QString::fromUtf8(b.control);
        QVariant v;
        if (auto* e = findChild<QLineEdit*>(control)) v = e->text();
        if (auto* c = findChild<QComboBox*>(control)) v = c->currentText();
        if (auto* o = findChild<OpcEntrada*>(control)) v = o->text();
        if (control == QLatin1String("Text2")) v = text2_->toPlainText();
        values.insert(QString::fromUtf8(b.column), v);
    }
    const auto date = parseDisplayDate(text1(2)->text());
    values.insert(QStringLiteral("Fecha"), date ? toIsoDate(*date) : QString());
    values.insert(QStringLiteral("Id_Ase"), text1(27)->text().toLongLong());
    const auto vat = tow::readNumber(text1(24)->text());
    values.insert(QStringLiteral("IVA"), vat.value_or(Quantity()).toDb());
    try {
        storedId_ = tow::saveReport(session_.db(), values, storedId_);
    } catch (const DbError& e) {
        services_.dialogs().critical(e.message());
        return;
    }
    saved_ = true;
    Q_EMIT reportSaved(number());
    Informes::ImprimirInforme(session_, services_, tow::reportFormula(number()),
                              QString::fromLatin1(tow::kReportFile), true);
    close();
}

bool PartesGrua::restoreLines() {
    try {
        tow::replaceLines(session_.db(), number(), copy_);
    } catch (const DbError& e) {
        services_.dialogs().critical(e.message());
        return false;
    }
    restored_ = true;
    return true;
}

void PartesGrua::cancelar() {
    if (!restoreLines()) return;
    close();
}

void PartesGrua::closeEvent(QCloseEvent* event) {
    if (!saved_ && !restored_ && !restoreLines()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

bool PartesGrua::editReport(const QString& number) {
    std::optional<Row> row;
    try {
        row = tow::loadReport(session_.db(), number);
        if (!row) return false;
        if (row->value(QStringLiteral("NFactura")).toString() != QLatin1String(tow::kNotInvoiced)) {
            services_.dialogs().critical(QString::fromUtf8(tow::kInvoicedNotEdited));
            return false;
        }
        copy_ = tow::loadLines(session_.db(), number);
    } catch (const DbError& e) {
        services_.dialogs().critical(e.message());
        return false;
    }
    storedId_ = row->value(QStringLiteral("Id")).toLongLong();
    const qint64 insurer = row->value(QStringLiteral("Id_Ase")).toLongLong();
    combo_[1]->setCurrentIndex(combo_[1]->findData(insurer));
    for (const Bound& b : kBound) {
        const QString control = QString::fromUtf8(b.control);
        const QString value = row->value(QString::fromUtf8(b.column)).toString();
        if (control == QLatin1String("Combo1") || control == QLatin1String("Text1_27")) continue;
        if (auto* e = findChild<QLineEdit*>(control)) e->setText(value);
        if (auto* c = findChild<QComboBox*>(control)) c->setCurrentIndex(c->findText(value));
        if (auto* o = findChild<OpcEntrada*>(control)) o->setText(value);
    }
    opc_[3]->setText(formatDate(row->value(QStringLiteral("Fecha"))));
    text1(2)->setText(opc_[3]->text());
    text2_->setPlainText(row->value(QStringLiteral("Observaciones")).toString());
    text1(24)->setText(tow::formatPercent(Money::fromDb(row->value(QStringLiteral("IVA")))));
    bool surcharge = false;
    for (const tow::TowLine& l : copy_)
        surcharge = surcharge || l.texto.startsWith(QString::fromUtf8(tow::kSurchargePrefix));
    check1_->setChecked(surcharge);
    reloadLines();
    mode_.setMode(RecordMode::Mode::Edit);
    return true;
}

}  // namespace torvane
